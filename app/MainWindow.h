#pragma once

#include <QMainWindow>

namespace m7410 {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
};

} // namespace m7410

// The PC file box: the four buttons that save and load one group or all 20 presets as files.
#pragma once

#include <QGroupBox>

#include <array>

class QPushButton;

namespace m7410 {

// The four buttons that copy parameter sets between the unit and files on the PC.
class FileBox : public QGroupBox {
    Q_OBJECT
public:
    enum Button { SaveOne, LoadOne, SaveTwenty, LoadTwenty };
    static constexpr int Width = 124;
    static constexpr int Height = 134;

    explicit FileBox(QWidget* parent = nullptr);

    QPushButton* button(Button b) const { return buttons.at(b); }

private:
    std::array<QPushButton*, 4> buttons{};
};

} // namespace m7410

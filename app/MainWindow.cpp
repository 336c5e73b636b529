#include "app/MainWindow.h"

namespace m7410 {

namespace {
constexpr int WindowWidth = 750;
constexpr int WindowHeight = 689;
} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle("M_7410");
    resize(WindowWidth, WindowHeight);
}

} // namespace m7410

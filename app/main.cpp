#include "app/MainWindow.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("m7410");
    QApplication::setApplicationVersion(M7410_VERSION);

    QCommandLineParser parser;
    parser.setApplicationDescription("Control program for the M_7410 loudspeaker processor.");
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption demo("demo", "Plug in a simulated unit as a virtual USB device.");
    QCommandLineOption port("port", "Add PATH as the last serial port of the list.", "PATH");
    parser.addOption(demo);
    parser.addOption(port);
    parser.process(app);

    m7410::MainWindow window;
    window.show();
    return QApplication::exec();
}

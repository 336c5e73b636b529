#include "app/DemoUnit.h"
#include "app/MainWindow.h"
#include "app/SplashScreen.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QImageReader>

#include "support/RealClock.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct Options {
    bool demo = false;
    QStringList ports;
};

Options parseOptions(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription("Control program for the M_7410 loudspeaker processor.");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption demo("demo", "Plug in a simulated unit as a virtual USB device.");
    const QCommandLineOption port("port", "Add PATH as the last serial port of the list.", "PATH");
    parser.addOption(demo);
    parser.addOption(port);
    parser.process(app);
    return {parser.isSet(demo), parser.values(port)};
}

// --help and --version must work without a display, so they never create the GUI.
bool wantsTextOnly(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        for (const char* opt : {"-h", "--help", "-?", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argv[i], opt) == 0) return true;
        }
    }
    return false;
}

void describe() {
    QCoreApplication::setApplicationName("m7410");
    QCoreApplication::setApplicationVersion(M7410_VERSION);
}

// The logo beside the program. Without it the program still starts, only without the splash.
QImage readLogo(const QString& dir) {
    QImageReader reader(dir + QStringLiteral("/logo.bmp"));
    QImage logo = reader.read();
    if (logo.isNull()) {
        std::fprintf(stderr, "m7410: %s: %s; starting without the logo\n",
                     qPrintable(reader.fileName()), qPrintable(reader.errorString()));
    }
    return logo;
}

} // namespace

int main(int argc, char* argv[]) {
    if (wantsTextOnly(argc, argv)) {
        QCoreApplication app(argc, argv);
        describe();
        parseOptions(app); // prints and exits
        return 0;
    }
    QApplication app(argc, argv);
    describe();
    QApplication::setStyle(QStringLiteral("Fusion"));
    const Options options = parseOptions(app);

    m7410::RealClock clock;
    std::unique_ptr<m7410::DemoUnit> demo;
    m7410::WindowOptions window;
    window.programDir = QCoreApplication::applicationDirPath();
    window.logo = readLogo(window.programDir);
    window.extraPorts = options.ports;
    window.clock = &clock;
    if (options.demo) {
        demo = std::make_unique<m7410::DemoUnit>(clock, true);
        window.hidBackend = &demo->backend();
    }

    std::unique_ptr<m7410::SplashScreen> splash;
    if (!window.logo.isNull()) {
        splash = std::make_unique<m7410::SplashScreen>(window.logo);
        splash->showAndWait();
    }
    m7410::MainWindow mainWindow(window);
    splash.reset();
    mainWindow.show();
    return QApplication::exec();
}

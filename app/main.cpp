#include "app/MainWindow.h"
#include "app/SetupCheck.h"
#include "app/SplashScreen.h"
#include "app/TopGroup.h"
#include "demo/DemoUnit.h"
#include "settings/LogoFile.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPushButton>
#include <QSerialPortInfo>

#include "link/HidapiBackend.h"
#include "support/RealClock.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct Options {
    bool demo = false;
    bool check = false;
    bool connect = false;
    QStringList ports;
};

Options parseOptions(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription("Control program for the M_7410 loudspeaker processor.");
    parser.addHelpOption();
    const QCommandLineOption version({"v", "version"},
                                     "Show the version and those of Qt and hidapi.");
    const QCommandLineOption check(
        "check",
        "Show the unit's USB nodes, the serial ports and the program folder, without a display.");
    parser.addOption(version);
    parser.addOption(check);
    const QCommandLineOption demo("demo", "Plug in a simulated unit as a virtual USB device.");
    const QCommandLineOption port("port", "Add PATH as the last serial port of the list.", "PATH");
    parser.addOption(demo);
    parser.addOption(port);
    // For scripts and unattended desks: the window opens already connecting.
    const QCommandLineOption connect("connect", "Press \"Connect\" once the window is open.");
    parser.addOption(connect);
    parser.process(app);
    if (parser.isSet(version)) {
        std::printf("m7410 %s (%s)\n", M7410_VERSION, qPrintable(m7410::SetupCheck::versions()));
        std::exit(0);
    }
    return {parser.isSet(demo), parser.isSet(check), parser.isSet(connect), parser.values(port)};
}

// --help, --version and --check must work without a display, so they never create the GUI.
bool wantsTextOnly(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        for (const char* opt : {"-h", "--help", "-?", "--help-all", "-v", "--version", "--check"}) {
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
    const QString path = dir + QStringLiteral("/logo.bmp");
    QString reason;
    QImage logo = m7410::readLogoFile(path, reason);
    if (logo.isNull()) {
        std::fprintf(stderr, "m7410: %s: %s; starting without the logo\n", qPrintable(path),
                     qPrintable(reason));
    }
    return logo;
}

// Exit 0 only when the unit could be opened.
int runCheck(const Options& options) {
    m7410::RealClock clock;
    std::unique_ptr<m7410::DemoUnit> demo;
    std::unique_ptr<m7410::HidapiBackend> system;
    m7410::HidBackend* hid = nullptr;
    if (options.demo) {
        demo = std::make_unique<m7410::DemoUnit>(clock, false);
        hid = &demo->backend();
    } else {
        system = std::make_unique<m7410::HidapiBackend>();
        hid = system.get();
    }
    QStringList ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        ports << info.systemLocation();
    ports << options.ports;
    const auto result = m7410::SetupCheck::run(*hid, ports, QCoreApplication::applicationDirPath());
    std::fputs(result.text.c_str(), stdout);
    return result.unitOpens ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    if (wantsTextOnly(argc, argv)) {
        QCoreApplication app(argc, argv);
        describe();
        const Options options = parseOptions(app); // --help and --version print and exit
        return runCheck(options);
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
    window.serveUnit = true;
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
    if (options.connect) {
        QMetaObject::invokeMethod(mainWindow.topGroup()->connectButton(), &QPushButton::click,
                                  Qt::QueuedConnection);
    }
    return QApplication::exec();
}

// m7410-sim: the simulated unit on a pseudo-terminal, for the serial path.
#include "sim/SimStreamFace.h"
#include "sim/SimUnit.h"
#include "sim/tool/PtyServer.h"
#include "support/HexText.h"
#include "support/RealClock.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <iostream>

using namespace m7410;
using namespace m7410::sim;

namespace {

std::string spaced(const Bytes& bytes) {
    const std::string hex = toHex(bytes);
    std::string out;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        if (i) out += ' ';
        out += hex.substr(i, 2);
    }
    return out;
}

struct Options {
    bool quiet = false;
    int latency = 5;
    int late = 0;
    bool silent = false;
    bool noNames = false;
    QStringList drops;
    int split = 0;
    unsigned seed = 1;
    int merge = 0;
    int garbage = 0;
    int cutAfter = -1;
    int bytesPerSecond = 960;
    int corruptPreset = 0;
};

bool readInt(const QCommandLineParser& p, const QCommandLineOption& o, int& out, int min) {
    if (!p.isSet(o)) return true;
    bool ok = false;
    const int v = p.value(o).toInt(&ok);
    if (!ok || v < min) {
        std::cerr << "m7410-sim: bad value for --" << o.names().first().toStdString() << "\n";
        return false;
    }
    out = v;
    return true;
}

bool parse(const QCoreApplication& app, Options& o) {
    QCommandLineParser p;
    p.setApplicationDescription(
        "Simulated M_7410 unit on a pseudo-terminal. Prints the terminal's path on the first "
        "line of standard output, then serves the unit on it at 9600 8N1 until interrupted. "
        "Frames received (<-) and sent (->) are logged in hex on standard error.");
    p.addHelpOption();
    p.addVersionOption();
    const QCommandLineOption quiet("quiet", "Do not log frames.");
    const QCommandLineOption latency("latency", "Reply after MS milliseconds (default 5).", "MS");
    const QCommandLineOption late("late", "Answer every request MS milliseconds late.", "MS");
    const QCommandLineOption silent("silent", "Never answer.");
    const QCommandLineOption noNames("no-names", "Answer everything but the names request.");
    const QCommandLineOption drop("drop",
                                  "Drop the next COUNT (default 1) replies with command code "
                                  "CODE (hex; 0 is the store acknowledgement). Repeatable.",
                                  "CODE[:COUNT]");
    const QCommandLineOption split("split", "Send replies in random pieces of 1..N bytes.", "N");
    const QCommandLineOption seed("seed", "Seed for --split (default 1).", "SEED");
    const QCommandLineOption merge("merge", "Send output in lumps every MS milliseconds.", "MS");
    const QCommandLineOption garbage("garbage", "Send N garbage bytes before every reply.", "N");
    const QCommandLineOption cut("cut-after", "Go dead after sending N bytes.", "N");
    const QCommandLineOption fast("no-pacing", "Send replies at once instead of at line speed.");
    const QCommandLineOption corrupt("corrupt-preset",
                                     "Store preset slot N (1..20) with one parameter changed "
                                     "whenever it is written.",
                                     "N");
    p.addOptions({quiet, latency, late, silent, noNames, drop, split, seed, merge, garbage, cut,
                  fast, corrupt});
    p.process(app);
    o.quiet = p.isSet(quiet);
    o.silent = p.isSet(silent);
    o.noNames = p.isSet(noNames);
    o.drops = p.values(drop);
    if (p.isSet(fast)) o.bytesPerSecond = 0;
    int s = 1;
    const bool ok = readInt(p, latency, o.latency, 0) && readInt(p, late, o.late, 0) &&
                    readInt(p, split, o.split, 1) && readInt(p, seed, s, 0) &&
                    readInt(p, merge, o.merge, 1) && readInt(p, garbage, o.garbage, 1) &&
                    readInt(p, cut, o.cutAfter, 0) && readInt(p, corrupt, o.corruptPreset, 0);
    o.seed = static_cast<unsigned>(s);
    return ok;
}

bool applyDrops(const QStringList& drops, SimUnit::Faults& faults) {
    for (const QString& d : drops) {
        const QStringList parts = d.split(':');
        bool okCode = false;
        bool okCount = true;
        const int code = parts[0].toInt(&okCode, 16);
        const int count = parts.size() > 1 ? parts[1].toInt(&okCount) : 1;
        if (!okCode || !okCount || code < 0 || code > 0xFF || count < 1 || parts.size() > 2) {
            std::cerr << "m7410-sim: bad value for --drop: " << d.toStdString() << "\n";
            return false;
        }
        faults.drop[static_cast<uint8_t>(code)] += count;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("m7410-sim");
    QCoreApplication::setApplicationVersion(M7410_VERSION);
    Options o;
    if (!parse(app, o)) return 2;

    RealClock clock;
    SimUnit unit;
    SimUnit::Faults& faults = unit.faults();
    faults.latencyMs = o.latency + o.late;
    faults.silent = o.silent;
    faults.answerNames = !o.noNames;
    faults.corruptPresetWrite = o.corruptPreset;
    if (!applyDrops(o.drops, faults)) return 2;

    SimStreamFace face(unit, clock);
    face.setBytesPerSecond(o.bytesPerSecond);
    if (o.split > 0) face.setSplitBatches(o.split, o.seed);
    face.setMergeWindowMs(o.merge);
    face.setGarbageBytes(o.garbage);
    face.setCutAfterBytes(o.cutAfter);

    if (!o.quiet) {
        unit.onFrameReceived = [](const Bytes& f) { std::cerr << "<- " << spaced(f) << "\n"; };
        unit.onReplySent = [](const Bytes& f) { std::cerr << "-> " << spaced(f) << "\n"; };
        unit.onMalformed = [](const Bytes& b, std::string_view why) {
            std::cerr << "!! " << why << ": " << spaced(b) << "\n";
        };
    }

    PtyServer pty;
    if (!pty.open()) {
        std::cerr << "m7410-sim: " << pty.errorText() << "\n";
        return 1;
    }
    pty.onRead = [&face](const uint8_t* b, std::size_t n) { face.write(b, n); };
    face.onOutput = [&pty](const std::vector<uint8_t>& b) { pty.write(b); };

    std::cout << pty.slavePath() << std::endl;
    return QCoreApplication::exec();
}

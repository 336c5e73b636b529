#pragma once

#include "PresetRigs.h"

#include "model/EqBand.h"

#include <memory>

namespace m7410::test {

// Faults that live in how the bytes travel rather than in the unit, each face with its own.
enum class FaceFault {
    Garbage,  // stray bytes, or a report that is no message header, before every reply
    Reshaped, // serial: replies cut and lumped at random; USB: a reply stalls mid-way
    Unplug,   // the cable goes halfway through a transfer
};

// The engine, the preset and file boxes and the simulated unit, whatever the face between
// the application and the unit; the faces below supply their wiring and their faults.
struct FaultRig {
    FaultRig(VirtualClock& clock, sim::SimUnit& unit, RecordingView& view, Session& s,
             Connection& connection)
        : clock(clock), unit(unit), view(view), s(s), connection(connection) {}
    virtual ~FaultRig() = default;
    FaultRig(const FaultRig&) = delete;
    FaultRig& operator=(const FaultRig&) = delete;

    virtual void injectOnFace(FaceFault fault) = 0;
    // Whether exchanges still succeed through this fault, link up and files whole.
    virtual bool copesWith(FaceFault fault) const = 0;
    // Every face fault off and the cable in, as the user finds the unit after a failure.
    virtual void healFace() = 0;

    VirtualClock& clock;
    sim::SimUnit& unit;
    RecordingView& view;
    Session& s;
    Connection& connection;
    DevicePresets presets{s};
    PresetFiles files{s};
    QTemporaryDir dir;
    std::string goodOne = dir.filePath("good1").toStdString();
    std::string goodTwenty = dir.filePath("good20").toStdString();
    std::string written = dir.filePath("written").toStdString();

    void connect() {
        connection.Button3Click();
        clock.advance(3000);
    }
    bool unitMatchesModel() const {
        return encodeBlock(s.model(), unit.currentSet()) == unit.currentSet();
    }
    // Files a fault-free session writes, as references and as sources for the loads.
    void prepareFiles() {
        view.savePath = goodOne;
        files.saveOneGroupToPc();
        clock.advance(3000);
        view.savePath = goodTwenty;
        files.saveTwentyGroupsToPc();
        clock.advance(20000);
        view.savePath = written;
    }
    // The EQ page's "0 dB" button on a channel, as the window runs it: locked behind the
    // progress box until the send step has sent the channel's six band messages.
    void zeroDb(int channel) {
        view.showProgress(0);
        view.setPanelsEnabled(EditingPanels, false);
        s.scheduler().beginBandProgress(channel);
        for (int row = 0; row < EqRowsPerChannel; ++row) {
            const int band = bandAddress(channel, row);
            s.model().band(band).setGainInForce(EqGainZeroIndex);
            s.builders().QueueEqBandMessage(band);
        }
    }
};

struct SerialFaultRig : SerialRig, FaultRig {
    SerialFaultRig()
        : FaultRig(SerialRig::clock, SerialRig::unit, SerialRig::view, SerialRig::s,
                   SerialRig::connection) {}

    void injectOnFace(FaceFault fault) override {
        switch (fault) {
        case FaceFault::Garbage:
            face.setGarbageBytes(40);
            break;
        case FaceFault::Reshaped:
            face.setSplitBatches(5, 11);
            face.setMergeWindowMs(40);
            break;
        case FaceFault::Unplug:
            face.setCutAfterBytes(30);
            break;
        }
    }
    // Noise ahead of a reply spoils the text the reply lands in; a reshaped stream does not.
    bool copesWith(FaceFault fault) const override { return fault == FaceFault::Reshaped; }
    void healFace() override {
        face.setGarbageBytes(0);
        face.setSplitBatches(0);
        face.setMergeWindowMs(0);
        face.replug();
    }
};

struct HidFaultRig : HidRig, FaultRig {
    // Each pause stays under the 500 ms a half-received message is kept, while a whole reply
    // takes longer than that; a block reply still arrives within the 800 ms of start-up.
    static constexpr int StallMs = 300;

    HidFaultRig()
        : FaultRig(HidRig::clock, HidRig::unit, HidRig::view, app->session, app->connection) {}

    void injectOnFace(FaceFault fault) override {
        switch (fault) {
        case FaceFault::Garbage:
            face.setGarbageReports(true);
            break;
        case FaceFault::Reshaped:
            face.setReplyPausesMs(StallMs);
            break;
        case FaceFault::Unplug:
            // After the next reply's header report, or within the next block write.
            face.unplugAfterInputReports(1);
            face.unplugAfterOutputReports(3);
            break;
        }
    }
    // A report that is no message header is dropped on its own.
    bool copesWith(FaceFault fault) const override { return fault != FaceFault::Unplug; }
    void healFace() override {
        face.setGarbageReports(false);
        face.setReplyPausesMs(0);
        face.unplugAfterInputReports(-1);
        face.unplugAfterOutputReports(-1);
        if (!face.isPlugged()) {
            plugUnit();
            HidRig::clock.advance(10); // the arrival
        }
    }
};

} // namespace m7410::test

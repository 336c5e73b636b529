// What the user is editing now, shared by the rows, the pages and the graph.
#pragma once

#include <QString>

#include <cstdint>

namespace m7410 {

inline constexpr int NoPage = -1;
inline constexpr int PageEq = 0;
inline constexpr int PageLimiter = 1;
inline constexpr int PageDelay = 2;
inline constexpr int PageGain = 3;
inline constexpr int NoChannel = -1;

// What the user is editing right now, shared by the rows, the pages and the graph.
struct EditState {
    int32_t currentChannel = NoChannel;
    int32_t currentPage = NoPage;
    int32_t currentBand = 0;
    // Set while code moves a slider, so its change handler does not take it for a user edit.
    int32_t updatingControls = 0;
    // Set only while one HPF/LPF/EQ page replaces another, so the shared panel stays up.
    bool keepEqPanel = false;
    bool dragging = false;

    // The text a numeric field had when it was entered: an unchanged field commits nothing and
    // an unparsable one returns to it.
    QString entryText;
    int32_t captureOnEntry = 1;

    void enterField(const QString& text) {
        if (captureOnEntry == 1) {
            entryText = text;
            captureOnEntry = 0;
        }
    }
    void leaveField() { captureOnEntry = 1; }
};

} // namespace m7410

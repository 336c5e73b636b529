// The gain fader's pictures and the rows of its track.
#pragma once

#include <QImage>

namespace m7410 {

inline constexpr int FaderWidth = 163;
inline constexpr int FaderHeight = 250;
inline constexpr int KnobWidth = 12;
inline constexpr int KnobHeight = 13;
inline constexpr int KnobLeft = 73;
// The track runs from +5.0 dB at row 26 to -20.0 dB at row 205.
inline constexpr int TrackTop = 26;
inline constexpr int TrackBottom = 205;

// The fader's pictures, drawn once: the track with its scale, the knob and the pressed knob.
QImage faderTrackPicture();
QImage knobPicture(bool pressed);

// The knob's reference row for a gain in dB: +5.0 gives 26, -20.0 gives 205.
int knobRowForGain(double dB);

} // namespace m7410

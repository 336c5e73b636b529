// Heights and positions that follow from the channel mode: how many output rows show and where the
// EQ page and the boxes sit.
#pragma once

namespace m7410 {

// Where the channel mode puts things: the channel group's height (which cuts off the output
// rows beyond it), the top of the EQ page and of the boxes shown over it, the window's height
// and the top of the file box, which moves up beside a shorter channel group.
struct ChannelModeLayout {
    int groupHeight;
    int eqTop;
    int windowHeight;
    int fileBoxTop;

    // Modes 1, 2 and 3 show that many output rows; any other value keeps the design layout.
    static ChannelModeLayout of(int channelMode);
};

} // namespace m7410

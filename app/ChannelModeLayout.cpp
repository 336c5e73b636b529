#include "app/ChannelModeLayout.h"

namespace m7410 {

namespace {

constexpr ChannelModeLayout Layouts[4] = {
    {134, 232, 753, 98}, // the design layout, all rows
    {70, 168, 689, 2},
    {102, 200, 721, 34},
    {134, 232, 753, 98},
};

} // namespace

ChannelModeLayout ChannelModeLayout::of(int channelMode) {
    return Layouts[channelMode >= 1 && channelMode <= 3 ? channelMode : 0];
}

} // namespace m7410

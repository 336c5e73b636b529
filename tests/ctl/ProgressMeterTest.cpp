// The progress bar: only when enabled, counting what was reported, wiped at the end.
#include "ctl/ProgressMeter.h"

#include <gtest/gtest.h>

#include <sstream>

namespace m7410::test {

TEST(CtlProgressMeter, ABarOnATerminalOnlyTrueToTheCountAndGoneAtTheEnd) {
    std::ostringstream piped;
    {
        ProgressMeter meter(piped, false);
        meter.begin("reading presets", 20);
        meter.update(20);
    }
    EXPECT_EQ(piped.str(), "");

    std::ostringstream terminal;
    ProgressMeter meter(terminal, true);
    meter.begin("reading presets", 20);
    meter.update(5);
    meter.update(5); // nothing new: not drawn again
    const std::string bar(ProgressMeter::BarWidth / 4, '#');
    EXPECT_EQ(terminal.str(), "\rreading presets [" + std::string(ProgressMeter::BarWidth, ' ') +
                                  "] 0/20\rreading presets [" + bar +
                                  std::string(ProgressMeter::BarWidth - bar.size(), ' ') +
                                  "] 5/20");
    // Stalled at 5: the bar never claims more, and leaves nothing behind.
    meter.end();
    EXPECT_TRUE(terminal.str().ends_with("] 5/20\r\x1b[K"));
    EXPECT_EQ(terminal.str().find("20/20"), std::string::npos);
    EXPECT_FALSE(meter.active());
    meter.update(6);
    EXPECT_TRUE(terminal.str().ends_with("\r\x1b[K"));
}

} // namespace m7410::test

// Splitting batch lines into words: quotes, comments, empty names and unclosed quotes.
#include "ctl/BatchLine.h"

#include <gtest/gtest.h>

namespace m7410::test {

using Words = std::vector<std::string>;

TEST(CtlBatchLine, SplitsLikeAShellWithoutExpandingAnything) {
    std::string error;
    EXPECT_EQ(splitBatchLine("  set high.eq1.gain -3\r", error),
              (Words{"set", "high.eq1.gain", "-3"}));
    EXPECT_EQ(splitBatchLine("store 3 \"Main Hall\"", error), (Words{"store", "3", "Main Hall"}));
    EXPECT_EQ(splitBatchLine("store 3 'it''s' # a comment", error), (Words{"store", "3", "its"}));
    EXPECT_EQ(splitBatchLine(R"(store 4 "say \"hi\" \\ $HOME")", error),
              (Words{"store", "4", R"(say "hi" \ $HOME)"}));
    // An empty name stays a word, so the command can refuse it.
    EXPECT_EQ(splitBatchLine("store 8 \"\"", error), (Words{"store", "8", ""}));
    EXPECT_EQ(splitBatchLine("set main.eq1.type PEQ#not a comment", error),
              (Words{"set", "main.eq1.type", "PEQ#not", "a", "comment"}));
    EXPECT_EQ(splitBatchLine("   # only a comment", error), Words{});
    EXPECT_EQ(splitBatchLine("", error), Words{});

    EXPECT_EQ(splitBatchLine("store 8 \"Club", error), std::nullopt);
    EXPECT_EQ(error, "no closing \" on the line");
    EXPECT_EQ(splitBatchLine("store 8 'Club", error), std::nullopt);
}

} // namespace m7410::test

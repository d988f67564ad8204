#include "common/seconds.h"
#include "common/quote.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace {

TEST(FormatSeconds, RoundsToHundredthsInWholeNumbersForAnyCount) {
    constexpr int64_t kLargest = std::numeric_limits<int64_t>::max();
    const struct {
        int64_t steps;
        const char* text;
    } cases[] = {{0, "0.00"},
                 {1, "0.02"},
                 {3, "0.05"},
                 {59, "0.98"},
                 {60, "1.00"},
                 {739, "12.32"},
                 {741, "12.35"},
                 {216000, "3600.00"},
                 {-5, "0.00"},
                 {92233720368547759, "1537228672809129.32"},
                 {kLargest, "153722867280912930.12"}};
    for (const auto& c : cases) {
        char out[32];
        EXPECT_EQ(std::string(Common::FormatSeconds(c.steps, 60, out, sizeof out)), c.text) << c.steps;
    }
}

TEST(Quote, KeepsAQuotedPieceOnOneLineAndShort) {
    EXPECT_EQ(Common::Quote("room"), "'room'");
    EXPECT_EQ(Common::Quote("a\nb\tc\x7f"), "'a?b?c?'");
    EXPECT_EQ(Common::Quote(std::string(41, 'x')), "'" + std::string(40, 'x') + "...'");
    EXPECT_EQ(Common::Shown("abcdef", 3), "abc...");
}

}  // namespace

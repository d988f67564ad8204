#include "stagewalk_check/suggestion.h"

#include <gtest/gtest.h>

namespace {

using StagewalkCheck::EditDistance;
using StagewalkCheck::Nearest;

TEST(EditDistanceTest, CountsTheCommonTypos) {
    struct Case {
        const char* a;
        const char* b;
        int distance;
    };
    const Case cases[] = {
        {"width", "width", 0}, {"widht", "width", 1},  // two neighbours swapped count once
        {"Width", "width", 0}, {"hight", "height", 1}, {"fulscreen", "fullscreen", 1},
        {"", "map", 3},        {"bitmap", "model", 6}, {"ab", "ba", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EditDistance(c.a, c.b), c.distance) << c.a << " / " << c.b;
        EXPECT_EQ(EditDistance(c.b, c.a), c.distance) << c.b << " / " << c.a;
    }
}

TEST(NearestTest, SuggestsOnlyCloseNames) {
    const std::vector<std::string> keys = {"width", "height", "fullscreen"};
    struct Case {
        const char* word;
        const char* expected;
    };
    const Case cases[] = {
        {"widht", "width"}, {"heigth", "height"},
        {"WIDTH", "width"}, {"fulscren", "fullscreen"},  // two edits are fine for a long name
        {"wdt", ""},                                     // two edits are too many for a short one
        {"width", ""},                                   // a known name needs no suggestion
        {"depth", ""},      {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(Nearest(c.word, keys), c.expected) << c.word;
}

TEST(NearestTest, TheCloserOfTwoCandidatesWins) {
    EXPECT_EQ(Nearest("mode", {"map", "model"}), "model");
    EXPECT_EQ(Nearest("mapp", {"map", "mapx"}), "map");  // equal distance: the first listed
}

}  // namespace

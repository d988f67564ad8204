#include "application/finish_area.h"

#include "collision/actor.h"
#include "markup/tml_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using Application::Actor;
using Application::FinishArea;

std::unique_ptr<Tml::Document> Parse(const std::string& body) {
    return std::unique_ptr<Tml::Document>(Tml::ParseDocument("@ tangly-ml-v-020\n" + body, "level.tml"));
}

// x 0.25..0.75, z -2.125..-1.125 at y 0.5 in model units: x 2..6, z -17..-9 at y 4 in the world.
const char* const kFinish =
    "{ finish\n! west 0.25\n! east 0.75\n! north -2.125\n! south -1.125\n! floor 0.5\n}\n";

Actor At(float x, float y, float z, bool onGround = true) {
    Actor actor;
    actor.position = {x, y, z};
    actor.onGround = onGround;
    return actor;
}

TEST(FinishAreaTest, HoldsAnActorStandingOnTheRectangleEdgesIncluded) {
    const auto document = Parse(std::string("{ level\n") + kFinish + "}\n");
    const FinishArea area = FinishArea::FromDocument(document.get());
    const struct {
        const char* what;
        Actor actor;
        bool held;
    } cases[] = {
        {"middle", At(4, 4, -13), true},
        {"west edge", At(2, 4, -13), true},
        {"east edge", At(6, 4, -13), true},
        {"north-west corner", At(2, 4, -17), true},
        {"south edge", At(4, 4, -9), true},
        {"west of it", At(1.99f, 4, -13), false},
        {"south of it", At(4, 4, -8.99f), false},
        {"just above the floor", At(4, 4.04f, -13), true},
        {"just below the floor", At(4, 3.96f, -13), true},
        {"a floor above", At(4, 4.06f, -13), false},
        {"a floor below", At(4, 3.94f, -13), false},
        {"in the air over it", At(4, 4, -13, false), false},
    };
    for (const auto& c : cases) EXPECT_EQ(area.Holds(c.actor), c.held) << c.what;
}

TEST(FinishAreaTest, WithoutAReadableFinishTheAreaIsEmpty) {
    const struct {
        const char* what;
        std::string body;
    } cases[] = {
        {"no finish", "{ level\n}\n"},
        {"finish outside the level node", kFinish},
        {"a number that is none",
         "{ level\n{ finish\n! west a\n! east 1\n! north 0\n! south 1\n! floor 0\n}\n}\n"},
        {"a number missing", "{ level\n{ finish\n! west 0\n! east 1\n! north 0\n! south 1\n}\n}\n"},
        {"west past east", "{ level\n{ finish\n! west 1\n! east 0\n! north 0\n! south 1\n! floor 0\n}\n}\n"},
        {"text after a number",
         "{ level\n{ finish\n! west 0\n! east 1x\n! north 0\n! south 1\n! floor 0\n}\n}\n"},
    };
    EXPECT_TRUE(FinishArea::FromDocument(nullptr).Empty());
    for (const auto& c : cases) EXPECT_TRUE(FinishArea::FromDocument(Parse(c.body).get()).Empty()) << c.what;
    const auto good = Parse(std::string("{ level\n") + kFinish + "}\n");
    EXPECT_FALSE(FinishArea::FromDocument(good.get()).Empty());
}

}  // namespace

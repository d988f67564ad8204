#include "check_test_util.h"
#include "engine/assets/model_conversion.h"
#include "stagewalk_check/obj_layout.h"
#include "stagewalk_check/room_check.h"
#include "stagewalk_check/surround_check.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <cctype>
#include <iterator>
#include <memory>
#include <set>
#include <sstream>

namespace {

using namespace CheckTests;

// Lines 1-4: corners of a floor quad around the spawn point (0.0125, -1.875 in model units),
// counter-clockwise seen from above; line 5 its normal and uv.
const std::string kFloor = "v -1 0 -3\nv -1 0 1\nv 1 0 1\nv 1 0 -3\nvn 0 1 0\nvt 0 0\n";

struct Expected {
    Severity severity;
    int line;
    const char* words;
};

Diagnostics CheckRoomText(const std::string& text) {
    std::unique_ptr<Engine::ModelData> model(Engine::ConvertObjFromMemory(text, "room.obj"));
    Diagnostics out;
    StagewalkCheck::CheckRoom(*model, StagewalkCheck::ObjLayout(text, *model), "room.obj", out);
    return out;
}

TEST(RoomCheckTest, EachRuleIsReportedAtTheLineThatBreaksIt) {
    struct Case {
        const char* name;
        std::string obj;
        std::vector<Expected> expected;
    };
    const Case cases[] = {
        {"quads, a pentagon and a slab with its underside are clean",
         kFloor + "o Room\nf 1 2 3 4\nv 2 0 0\nv 3 0 0\nv 3.5 0 1\nv 2.5 0 2\nv 2 0 1\nf -1 -2 -3 -4 -5\n" +
             "v 0 0.5 0\nv 0 0.5 1\nv 1 0.5 1\nf -3 -2 -1\nf -1 -2 -3\n",
         {}},
        {"a wall leaning by a little after a pentagon holds as a wall",
         kFloor + "v 2 0 0\nv 3 0 0\nv 3.5 0 1\nv 2.5 0 2\nv 2 0 1\nf -1 -2 -3 -4 -5\n" +
             "v 5 0 5\nv 6 0 5\nv 6 1 5.01\nv 5 1 5.01\nf -4 -3 -2 -1\nf 1 2 3 4\n",
         {}},
        {"objects after the first are named",
         kFloor + "o Floor\nf 1 2 3 4\ng Walls\nf 1 3 2\n",
         {{Severity::Error, 9, "object 'Walls' is drawn but never collided with"}}},
        {"no floor straight below the spawn point",
         "v 5 0 5\nv 5 0 6\nv 6 0 6\nf 1 2 3\n",
         {{Severity::Error, 0,
           "no floor below the spawn point (0.1, 10, -15), at (0.0125, 1.25, -1.875) in model "
           "units: the player falls until the respawn, for ever"}}},
        {"a face flattened to a line by the height rounding, and a corner beyond the float range",
         kFloor + "f 1 2 3 4\nv 5 0 5\nv 6 0 5\nv 6 0.0005 5\nf -3 -2 -1\nv 1e39 0 0\nf -1 1 2\n",
         {{Severity::Error, 11, "has no area"}, {Severity::Error, 13, "not a finite number"}}},
        {"a wall whose halves have the floor between them in the file is walked through",
         kFloor + "v -1 0 -2.5\nv 1 0 -2.5\nv 1 0.125 -2.5\nv -1 0.125 -2.5\nf 5 7 8\nf 1 2 3 4\nf 5 6 7\n",
         {{Severity::Error, 11,
           "at 60 frames a second, passes through it: a floor it stands on comes after it"}}},
        {"two walls meeting at a corner whose ends lean, so no upright edge holds it",
         kFloor +
             "f 1 2 3 4\nv 0.25 0 -1.5\nv 0.5 0 -1.5\nv 0.5 0.25 -1.5\nv 0.265625 0.25 -1.5\nf 5 6 7 8\n" +
             "v 0.25 0 -1.25\nv 0.25 0.25 -1.25\nv 0.25 0.25 -1.484375\nf 5 9 10 11\n",
         {{Severity::Error, 12,
           "walking into this wall's corner at (0.25, 0, -1.5) in model units on a slant from"}}},
        {"a floor split along a diagonal that neither half holds",
         kFloor + "f 1 2 3\nf 3 4 1\n",
         {{Severity::Error, 7,
           "standing still on this floor at (0, 0, -1) in model units sinks through it"}}},
        {"a floor over the void wound to face down; a ceiling above the floor is fine",
         kFloor +
             "f 1 2 3 4\nv 5 0 5\nv 6 0 5\nv 6 0 6\nf -3 -2 -1\nv 0 1 0\nv 0 1 -1\nv 1 1 -1\nf -3 -2 -1\n",
         {{Severity::Warning, 11, "this floor faces down (its corners run clockwise seen from above)"}}},
    };
    for (const Case& c : cases) {
        const Diagnostics out = CheckRoomText(c.obj);
        EXPECT_EQ(out.All().size(), c.expected.size()) << c.name << "\n" << Dump(out);
        for (const Expected& e : c.expected) {
            EXPECT_TRUE(Has(out, e.severity, e.line, e.words)) << c.name << ": " << e.words << "\n"
                                                               << Dump(out);
        }
    }
}

// Every face of the shipped room wound the other way: floors facing down, walls facing away. Doing
// what each finding says once, reversing the faces it names, gives a clean room.
TEST(RoomCheckTest, ReversedWindingsAreMendedInOneRound) {
    std::vector<std::string> lines;
    std::istringstream in(TestSupport::ReadFile(STAGEWALK_SOURCE_DIR "/game/data/room2.obj"));
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("f ", 0) == 0) {
            std::istringstream corners(line.substr(2));
            std::vector<std::string> c{std::istream_iterator<std::string>(corners), {}};
            line = "f " + c[2] + " " + c[1] + " " + c[0];
        }
        lines.push_back(line);
    }
    auto text = [&] {
        std::string joined;
        for (const std::string& line : lines) joined += line + "\n";
        return joined;
    };
    const Diagnostics first = CheckRoomText(text());
    ASSERT_GT(first.ErrorCount(), 20) << Dump(first);
    std::set<int> reverse;
    for (const auto& finding : first.All()) {
        const std::string& m = finding.message;
        const size_t advice = m.rfind("reverse");
        ASSERT_NE(advice, std::string::npos) << m;
        // "reverse its corners", "... of this face", "... of the faces at lines 3 and 7 (f 3 2 1 ...)".
        std::istringstream named(m.substr(advice, m.find("(f", advice) - advice));
        size_t before = reverse.size();
        for (std::string word; named >> word;)
            if (std::isdigit(static_cast<unsigned char>(word[0]))) reverse.insert(std::stoi(word));
        if (reverse.size() == before && m.find("lines", advice) == std::string::npos)
            reverse.insert(finding.line);
    }
    for (int line : reverse) {
        std::istringstream corners(lines[line - 1].substr(2));
        std::vector<std::string> c{std::istream_iterator<std::string>(corners), {}};
        lines[line - 1] = "f " + c[2] + " " + c[1] + " " + c[0];
    }
    const Diagnostics second = CheckRoomText(text());
    EXPECT_EQ(second.All().size(), 0u) << Dump(second);
}

TEST(SurroundCheckTest, CornersPastTheFarPlaneAreWarnedWithTheirDistance) {
    struct Case {
        StagewalkCheck::Surround which;
        const char* obj;
        int warnings;
        const char* words;
    };
    using StagewalkCheck::Surround;
    const Case cases[] = {
        // The shipped box's top corner: 194 from the eye, inside.
        {Surround::Skybox, "v 0.875 0.625 0.875\nv -0.875 0.625 0.875\nv 0 0.625 -0.875\nf 1 2 3\n", 0, ""},
        {Surround::Skybox, "v 1 1 1\nv -1 1 1\nv 0 1 -1\nf 1 2 3\nf 3 2 1\n", 2,
         "sky box corner (1, 1, 1) lies 240.2 from the eye, past the far plane at 200"},
        // Straight above, beyond the pitch limit: the view turns only 72 degrees up towards it.
        {Surround::Skybox, "v 0 1.3 0\nv 0.1 1.3 0\nv 0 1.3 0.1\nf 1 2 3\n", 0, ""},
        // The backdrop keeps its height: its lowest rim lies farthest from an eye on the highest floor.
        // 250 out and 50 - 22 - 87.5 = -59.5 below the eye: 257.
        {Surround::Backdrop, "v 0 -0.875 2.5\nv 0 -0.125 1\nv 0.5 -0.125 1\nf 1 2 3\n", 1,
         "backdrop corner (0, -0.875, 2.5) lies 257 from the eye"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Engine::ModelData> model(Engine::ConvertObjFromMemory(c.obj, "surround.obj"));
        Diagnostics out;
        StagewalkCheck::CheckSurround(*model, StagewalkCheck::ObjLayout(c.obj, *model), c.which,
                                      {2.0f, 22.0f}, "surround.obj", out);
        EXPECT_EQ(out.WarningCount(), c.warnings) << c.obj << Dump(out);
        if (c.warnings > 0) {
            EXPECT_TRUE(Has(out, Severity::Warning, 4, c.words)) << Dump(out);
        }
    }
}

}  // namespace

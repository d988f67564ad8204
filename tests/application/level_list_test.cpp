#include "application/level_list.h"

#include "markup/tml_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using Application::LevelList;
using Engine::AssetEntry;

LevelList Read(const std::string& body) {
    const std::unique_ptr<Tml::Document> manifest(
        Tml::ParseDocument("@ tangly-ml-v-020\n" + body, "assets.tml"));
    return LevelList::Read(*manifest);
}

std::string Names(const LevelList& list) {
    std::string names;
    for (const Application::Level& level : list.All()) names += (names.empty() ? "" : " ") + level.name;
    return names;
}

TEST(LevelListTest, ReadsTheLevelsInOrderAndSkipsThoseTheGameCannotName) {
    const struct {
        const char* what;
        std::string body;
        const char* names;
    } cases[] = {
        {"no list: the one level of old", "{ list\n{ model\n! name room2\n! path r.obj\n}\n}\n", "room2"},
        {"an empty list counts as none", "{ levels\n}\n", "room2"},
        {"in order, across roots",
         "{ levels\n{ level\n! name b\n! room rb\n}\n}\n{ levels\n{ level\n! name a\n! room ra\n}\n}\n",
         "b a"},
        {"no name, no room, a name twice, not a word",
         "{ levels\n{ level\n! room r\n}\n{ level\n! name x\n}\n{ level\n! name ok\n! room r\n}\n"
         "{ level\n! name ok\n! room s\n}\n{ level\n! name \"two words\"\n! room r\n}\n"
         "{ level\n! name -x\n! room r\n}\n}\n",
         "ok"},
        {"level nodes outside a levels root are not read", "{ list\n{ level\n! name a\n! room r\n}\n}\n",
         "room2"},
    };
    for (const auto& c : cases) EXPECT_EQ(Names(Read(c.body)), c.names) << c.what;
    EXPECT_TRUE(Read("").Implicit());
    const LevelList list = Read(
        "{ levels\n{ level\n! name tower\n! room room2\n! data d\n}\n"
        "{ level\n! name yard\n! title \"The yard\"\n! room yard\n}\n}\n");
    EXPECT_FALSE(list.Implicit());
    EXPECT_EQ(list.At(0).title, "tower") << "the name stands in for a missing title";
    EXPECT_EQ(list.At(1).title, "The yard");
    EXPECT_EQ(list.At(1).data, "");
    EXPECT_EQ(list.IndexOf("yard"), 1);
    EXPECT_EQ(list.IndexOf("Yard"), -1);
}

TEST(LevelListTest, AStartLoadsWhatTheLevelsShareAndTheLevelPlayedOnly) {
    const LevelList list = Read(
        "{ levels\n{ level\n! name a\n! room ra\n! data da\n}\n"
        "{ level\n! name b\n! room rb\n}\n}\n");
    const std::vector<AssetEntry> entries = {
        {"font16", "bitmap", "f.png"}, {"ra", "model", "a.obj"},  {"da", "markup", "a.tml"},
        {"rb", "model", "b.obj"},      {"db", "markup", "b.tml"}, {"ra", "bitmap", "same name, other kind"},
    };
    const auto names = [](const std::vector<AssetEntry>& plan) {
        std::string text;
        for (const AssetEntry& entry : plan) text += entry.kind.substr(0, 2) + ":" + entry.name + " ";
        return text;
    };
    EXPECT_EQ(names(list.PlanFor(entries, 0)), "bi:font16 mo:ra ma:da ma:db bi:ra ");
    EXPECT_EQ(names(list.PlanFor(entries, 1)), "bi:font16 mo:rb ma:db bi:ra ");
    EXPECT_EQ(names(list.EntriesOf(entries, 0)), "mo:ra ma:da ");
    EXPECT_EQ(names(list.EntriesOf(entries, 1)), "mo:rb ");
}

}  // namespace

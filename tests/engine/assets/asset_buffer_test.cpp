#include "engine/assets/asset_buffer.h"

#include "markup/tml_reader.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

using Engine::AssetBuffer;
using Engine::AssetEntry;

std::vector<AssetEntry> Plan(const std::string& body) {
    const std::unique_ptr<Tml::Document> manifest(
        Tml::ParseDocument("@ tangly-ml-v-020\n" + body, "assets.tml"));
    return AssetBuffer(*manifest, nullptr).GetEntries();
}

std::string Describe(const std::vector<AssetEntry>& entries) {
    std::string text;
    for (const AssetEntry& e : entries) text += e.kind + ":" + e.name + "@" + e.path + " ";
    return text;
}

struct ManifestCase {
    const char* what;
    const char* body;
    const char* plan;
};

TEST(AssetBuffer, ManifestWalk) {
    const ManifestCase cases[] = {
        {"prefix, kinds and order across kinds",
         "{ list\n! workdir data\n{ bitmap\n! name a\n! path a.png\n}\n{ model\n! name m\n! path m.obj\n}\n"
         "{ map\n! name t\n! path t.tmx\n}\n{ bitmap\n! name b\n! path b.png\n}\n}\n",
         "bitmap:a@data/a.png model:m@data/m.obj map:t@data/t.tmx bitmap:b@data/b.png "},
        {"a second list without workdir keeps the first list's prefix",
         "{ list\n! workdir one\n{ bitmap\n! name a\n! path a.png\n}\n}\n"
         "{ list\n{ bitmap\n! name b\n! path b.png\n}\n}\n",
         "bitmap:a@one/a.png bitmap:b@one/b.png "},
        {"no workdir at all: paths as written", "{ list\n{ bitmap\n! name a\n! path x/a.png\n}\n}\n",
         "bitmap:a@x/a.png "},
        {"missing name or path carries over; the first missing name is empty",
         "{ list\n{ bitmap\n! path a.png\n}\n{ bitmap\n! name b\n}\n{ model\n! path m.obj\n}\n}\n",
         "bitmap:@a.png bitmap:b@a.png model:b@m.obj "},
        {"workdir after the children still applies; the last workdir wins",
         "{ list\n{ bitmap\n! name a\n! path a.png\n}\n! workdir late\n! workdir later\n}\n",
         "bitmap:a@later/a.png "},
        {"other kinds yield nothing but change the carried strings",
         "{ list\n{ font\n! name s\n! path s.ttf\n}\n{ bitmap\n}\n}\n", "bitmap:s@s.ttf "},
        {"nested lists and deeper nodes are ignored",
         "{ list\n{ list\n! workdir deep\n{ bitmap\n! name hidden\n! path h.png\n}\n}\n"
         "{ bitmap\n! name a\n! path a.png\n{ bitmap\n! name inner\n}\n}\n}\n",
         "bitmap:a@a.png "},
        {"other root nodes are ignored", "{ lists\n{ bitmap\n! name a\n! path a.png\n}\n}\n", ""},
        {"a path is built with the prefix of its own time",
         "{ list\n! workdir one\n{ bitmap\n! name a\n! path a.png\n}\n}\n"
         "{ list\n! workdir two\n{ bitmap\n! name b\n}\n}\n",
         "bitmap:a@one/a.png bitmap:b@one/a.png "},
        {"empty manifest", "", ""},
    };
    for (const ManifestCase& c : cases) {
        EXPECT_EQ(Describe(Plan(c.body)), c.plan) << c.what;
    }
}

TEST(AssetBuffer, CountsAndCursorStartAtZero) {
    const std::unique_ptr<Tml::Document> manifest(Tml::ParseDocument(
        "@ tangly-ml-v-020\n{ list\n{ bitmap\n! name a\n! path a\n}\n{ model\n! name b\n! path b\n}\n}\n",
        "m"));
    AssetBuffer buffer(*manifest, nullptr);
    EXPECT_EQ(buffer.GetEntryCount(), 2u);
    EXPECT_EQ(buffer.GetNextIndex(), 0u);
    AssetBuffer empty;
    EXPECT_EQ(empty.GetEntryCount(), 0u);
    EXPECT_TRUE(empty.LoadNext());  // nothing to do
}

TEST(AssetBuffer, ManifestFiles) {
    TestSupport::ScratchDir dir;
    EXPECT_EQ(AssetBuffer(dir.File("missing.tml"), nullptr).GetEntryCount(), 0u);
    const std::string bad = dir.Write("bad.tml", "{ list\n}\n");
    try {
        AssetBuffer(bad, nullptr);
        FAIL() << "expected the header error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "Header missing in " + bad + "!");
    }
}

}  // namespace

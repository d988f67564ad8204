#include "tmxparser/tmxparser.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using TmxParser::TmxMap;

std::string MapXml(const std::string& inner, const std::string& size = "width=\"3\" height=\"2\"") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map version=\"1.0\" orientation=\"orthogonal\" " +
           size + " tilewidth=\"16\" tileheight=\"16\">\n" + inner + "\n</map>\n";
}

std::string Layer(const std::string& data, const std::string& name = "ground") {
    return "<layer name=\"" + name + "\" width=\"3\" height=\"2\"><data encoding=\"csv\">" + data +
           "</data></layer>";
}

class TmxLoad : public testing::Test {
protected:
    // Loads `content` from a file named `name`; the loader must never throw.
    std::unique_ptr<TmxMap> Load(const std::string& content, const std::string& name = "a.tmx") {
        path = dir.Write(name, content);
        TmxMap* map = nullptr;
        EXPECT_NO_THROW(map = TmxParser::LoadTmxMap(path));
        return std::unique_ptr<TmxMap>(map);
    }

    TestSupport::ScratchDir dir;
    std::string path;
};

TEST_F(TmxLoad, ThreeByTwoMapWithEverythingElseSkipped) {
    auto map = Load(MapXml(
        "<tileset firstgid=\"1\" name=\"t\"><image source=\"t.png\"/></tileset>\n"
        "<properties><property name=\"music\" value=\"calm\"/><property name=\"sky\" "
        "value=\"red\"/></properties>\n"
        "<layer name=\"ground\" width=\"3\" height=\"2\"><properties><property name=\"x\" value=\"y\"/>"
        "</properties><data encoding=\"csv\">\n1,2,3,\n4,5,6\n</data></layer>\n"
        "<objectgroup name=\"things\"><object id=\"1\" x=\"0\" y=\"0\"/></objectgroup>"));
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(TmxParser::GetError(), "");
    EXPECT_EQ(map->width, 3u);
    EXPECT_EQ(map->height, 2u);
    ASSERT_EQ(map->GetLayerCount(), 1u);
    EXPECT_EQ(map->layers[0].name, "ground");
    EXPECT_EQ(map->layers[0].tiles, (std::vector<uint32_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(map->GetTile(0, 2, 1), 6u);
    ASSERT_EQ(map->properties.size(), 2u);  // the layer's own property is not a map property
    EXPECT_EQ(map->GetPropertyValue("sky"), "red");
}

TEST_F(TmxLoad, MapWithoutSizeIsZeroByZero) {
    auto map = Load(MapXml(Layer("1,2,3,4,5,6"), ""));
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->width, 0u);
    EXPECT_EQ(map->height, 0u);
    EXPECT_EQ(map->GetLayerCount(), 1u);
    EXPECT_EQ(map->GetTile(0, 0, 0), 0u);
}

TEST_F(TmxLoad, DataReadAsCsvWithOrWithoutEncodingAndWithLineBreaks) {
    for (const std::string& data :
         {std::string("<data encoding=\"csv\">1,2,3,4,5,6</data>"), std::string("<data>1,2,3,4,5,6</data>"),
          std::string("<data encoding=\"csv\">\n1,\n2,\n3,\r\n4,\r\n5,\t6\n\n</data>"),
          std::string("<data compression=\"zlib\" encoding=\"csv\">1,2,3,4,5,6</data>")}) {
        SCOPED_TRACE(data);
        auto map = Load(MapXml("<layer name=\"g\">" + data + "</layer>"));
        ASSERT_NE(map, nullptr);
        ASSERT_EQ(map->GetLayerCount(), 1u);
        EXPECT_EQ(map->layers[0].tiles, (std::vector<uint32_t>{1, 2, 3, 4, 5, 6}));
    }
}

TEST_F(TmxLoad, LayerCountFollowsDataElements) {
    auto map =
        Load(MapXml("<layer name=\"empty\"/><layer name=\"twice\"><data>1</data><data>2,3</data></layer>"));
    ASSERT_NE(map, nullptr);
    ASSERT_EQ(map->GetLayerCount(), 2u);
    EXPECT_EQ(map->layers[0].name, "twice");
    EXPECT_EQ(map->layers[1].name, "twice");
    EXPECT_EQ(map->layers[0].tiles, (std::vector<uint32_t>{1}));
    EXPECT_EQ(map->layers[1].tiles, (std::vector<uint32_t>{2, 3}));
}

TEST_F(TmxLoad, PropertiesKeepFileOrderDuplicatesAndMissingAttributes) {
    auto map =
        Load(MapXml("<properties><property name=\"a\" value=\"1\"/><property name=\"a\" value=\"2\"/>"
                    "<property name=\"only\"/><property/><note name=\"n\" value=\"v\"/></properties>"));
    ASSERT_NE(map, nullptr);
    ASSERT_EQ(map->properties.size(), 4u);
    EXPECT_EQ(map->GetPropertyValue("a"), "1");
    EXPECT_EQ(map->properties[1].value, "2");
    EXPECT_EQ(map->properties[2].key + "=" + map->properties[2].value, "only=");
    EXPECT_EQ(map->properties[3].key + "=" + map->properties[3].value, "=");
}

TEST_F(TmxLoad, SignedValuesAreStoredAsUnsigned) {
    auto map = Load(MapXml(Layer("-1,0,2147483647,-2147483648,12abc,7")));
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->layers[0].tiles, (std::vector<uint32_t>{4294967295u, 0, 2147483647u, 2147483648u, 12, 7}));
}

TEST_F(TmxLoad, LeadingByteOrderMarkIsSkipped) {
    auto map = Load("\xEF\xBB\xBF" + MapXml(Layer("1")));
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->GetLayerCount(), 1u);
}

TEST_F(TmxLoad, NonCsvEncodingFailsNamingTheLayer) {
    for (const std::string encoding : {"base64", "CSV", ""}) {
        auto map = Load(MapXml("<layer name=\"walls\"><data encoding=\"" + encoding + "\">1</data></layer>"));
        EXPECT_EQ(map, nullptr);
        EXPECT_EQ(TmxParser::GetError(), "Error in layer 'walls': the encoding must be 'csv'!");
    }
}

TEST_F(TmxLoad, MissingFileAndDirectoryFail) {
    const std::string missing = dir.File("maps/../nowhere.tmx");
    EXPECT_EQ(TmxParser::LoadTmxMap(missing), nullptr);
    EXPECT_EQ(TmxParser::GetError(), "Failed to open file in " + missing);
    EXPECT_EQ(TmxParser::LoadTmxMap(dir.Path()), nullptr);
    EXPECT_EQ(TmxParser::GetError(), "Failed to open file in " + dir.Path());
}

TEST_F(TmxLoad, SuccessClearsTheLastError) {
    EXPECT_EQ(TmxParser::LoadTmxMap(dir.File("missing.tmx")), nullptr);
    EXPECT_NE(TmxParser::GetError(), "");
    auto map = Load(MapXml(Layer("1")));
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(TmxParser::GetError(), "");
}

struct BadFile {
    const char* what;
    std::string content;
    std::string error;  // with "$" standing for the file's path
};

class TmxLoadFails : public TmxLoad, public testing::WithParamInterface<BadFile> {};

TEST_P(TmxLoadFails, ReturnsNullWithAClearError) {
    auto map = Load(GetParam().content, "maps/bad.tmx");
    EXPECT_EQ(map, nullptr);
    std::string expected = GetParam().error;
    expected.replace(expected.find('$'), 1, path);
    EXPECT_EQ(TmxParser::GetError(), expected);
    // From memory the same text fails the same way, naming the path it is given.
    EXPECT_EQ(TmxParser::LoadTmxMapFromMemory(GetParam().content, path), nullptr);
    EXPECT_EQ(TmxParser::GetError(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, TmxLoadFails,
    testing::Values(
        BadFile{"trailing comma", MapXml(Layer("1,2,3,")),
                "Invalid number '' in $ (layer 'ground', field 4)"},
        BadFile{"empty field", MapXml(Layer("1,,3")), "Invalid number '' in $ (layer 'ground', field 2)"},
        BadFile{"empty data", MapXml(Layer("")), "Invalid number '' in $ (layer 'ground', field 1)"},
        BadFile{"letters", MapXml(Layer("1,\n x1 ,3")), "Invalid number 'x1' in $ (layer 'ground', field 2)"},
        BadFile{"flip flag", MapXml(Layer("1,2147483649")),
                "Number out of range '2147483649' in $ (layer 'ground', field 2)"},
        BadFile{"width", MapXml("", "width=\"wide\" height=\"2\""), "Invalid number 'wide' in $ (width)"},
        BadFile{"height", MapXml("", "width=\"3\" height=\"99999999999\""),
                "Number out of range '99999999999' in $ (height)"},
        BadFile{"unclosed tag", "<map width=\"3\"<layer/></map>",
                "Malformed XML in $: expected > at byte 14"},
        BadFile{"cut short", "<map><layer>", "Malformed XML in $: unexpected end of data at byte 12"}),
    [](const testing::TestParamInfo<BadFile>& info) {
        std::string name = info.param.what;
        for (char& c : name) c = c == ' ' ? '_' : c;
        return name;
    });

TEST_F(TmxLoad, FailureAfterPartialReadHandsOutNothing) {
    // The first layer loads before the second one fails; the map is dropped whole.
    auto map =
        Load(MapXml(Layer("1,2,3") + "<properties><property name=\"p\"/></properties>" + Layer("4,x")));
    EXPECT_EQ(map, nullptr);
    EXPECT_NE(TmxParser::GetError().find("Invalid number 'x'"), std::string::npos);
}

TEST_F(TmxLoad, PathologicalNestingIsRejectedBeforeParsing) {
    std::string deep;
    for (int i = 0; i < 200000; ++i) deep += "<a>";
    auto map = Load("<map>" + deep);
    EXPECT_EQ(map, nullptr);
    EXPECT_EQ(TmxParser::GetError(), "Malformed XML in " + path +
                                         ": elements nested deeper than 2000 levels at byte " +
                                         std::to_string(5 + 1999 * 3));

    std::string nested = "<map>";
    for (int i = 0; i < 1999; ++i) nested += "<a>";
    for (int i = 0; i < 1999; ++i) nested += "</a>";
    EXPECT_NE(Load(nested + "</map>"), nullptr);
}

TEST_F(TmxLoad, MemoryEntryReadsLikeTheFile) {
    const std::string content = MapXml("<properties><property name=\"p\" value=\"v\"/></properties>" +
                                       Layer("1,2,3,\n4,5,6") + Layer("7") + "<!-- c --><tileset/>");
    auto fromFile = Load(content);
    const std::unique_ptr<TmxMap> fromMemory(TmxParser::LoadTmxMapFromMemory(content, "mem.tmx"));
    ASSERT_NE(fromFile, nullptr);
    ASSERT_NE(fromMemory, nullptr);
    EXPECT_EQ(TmxParser::GetError(), "");
    EXPECT_EQ(fromMemory->width, fromFile->width);
    EXPECT_EQ(fromMemory->height, fromFile->height);
    ASSERT_EQ(fromMemory->GetLayerCount(), 2u);
    for (unsigned layer = 0; layer < 2; ++layer)
        EXPECT_EQ(fromMemory->layers[layer].tiles, fromFile->layers[layer].tiles);
    EXPECT_EQ(fromMemory->GetPropertyValue("p"), "v");
    // Text without a terminating NUL and with NULs inside: the parser sees only the bytes given.
    const std::string withNul = std::string("<map width=\"1\" height=\"1\"/>\0<junk", 33);
    EXPECT_NE(std::unique_ptr<TmxMap>(TmxParser::LoadTmxMapFromMemory(withNul, "nul.tmx")), nullptr);
}

TEST_F(TmxLoad, ThousandByThousandLayer) {
    constexpr int kSide = 1000;
    std::string csv;
    csv.reserve(kSide * kSide * 7);
    for (int i = 0; i < kSide * kSide; ++i) {
        csv += std::to_string(i % 100000);
        csv += (i % kSide == kSide - 1) ? (i + 1 < kSide * kSide ? ",\n" : "\n") : ",";
    }
    auto map = Load(MapXml(Layer(csv), "width=\"1000\" height=\"1000\""));
    ASSERT_NE(map, nullptr);
    ASSERT_EQ(map->layers[0].tiles.size(), 1000000u);
    EXPECT_EQ(map->GetTile(0, 0, 0), 0u);
    EXPECT_EQ(map->GetTile(0, 999, 0), 999u);
    EXPECT_EQ(map->GetTile(0, 0, 1), 1000u);
    EXPECT_EQ(map->GetTile(0, 999, 999), 999999u % 100000u);
}

}  // namespace

#include "tmx_format.h"

#include "common/strict_number.h"
#include "common/whole_file.h"

#include "level_error.h"
#include "tmxparser/xml_nesting.h"

#include <rapidxml/rapidxml.hpp>

#include <cmath>

namespace AssetGenerator {

namespace {

using Node = rapidxml::xml_node<char>;

// The loader's own limit: deeper files are refused by it, and rapidxml would recurse that deep here.
constexpr std::size_t kMaxNesting = 2000;
constexpr std::size_t kMaxMapBytes = std::size_t{1} << 30;  // as the game's map loader reads
const char* const kTiledFormat = "in Tiled: Map > Map Properties > Tile Layer Format: CSV, then save again";

std::string Attribute(const Node* node, const char* name, const char* otherwise = "") {
    const rapidxml::xml_attribute<char>* attribute = node->first_attribute(name);
    return attribute ? std::string(attribute->value(), attribute->value_size()) : otherwise;
}

bool HasChild(const Node* node, const char* name) { return node->first_node(name) != nullptr; }

bool HasCdata(const Node* node) {
    for (const Node* child = node->first_node(); child; child = child->next_sibling()) {
        if (child->type() == rapidxml::node_cdata) return true;
    }
    return false;
}

// A whole decimal number, or `otherwise`.
long Number(const std::string& text, long otherwise) {
    long value = 0;
    return Common::StrictNumber::ParseWhole(text, value) ? value : otherwise;
}

// A number of pixels as the editor writes it (Tiled writes fractions too), or an error naming `what`.
double Pixels(const std::string& path, const std::string& what, const std::string& text) {
    double value = 0.0;
    if (!Common::StrictNumber::ParseFinite(text, value)) {
        throw LevelError(path, what + " is '" + text + "', not a number of pixels");
    }
    return value;
}

// The spawn objects of one object layer, and a note for the objects left out.
void ReadObjectLayer(const std::string& path, const Node* layer, TmxFormat& format) {
    const std::string name = Attribute(layer, "name");
    const std::string where = "object layer '" + name + "'";
    const double offsetX = Pixels(path, where + ": offsetx", Attribute(layer, "offsetx", "0"));
    const double offsetY = Pixels(path, where + ": offsety", Attribute(layer, "offsety", "0"));
    int others = 0;
    for (const Node* object = layer->first_node("object"); object; object = object->next_sibling("object")) {
        // Tiled 1.9 writes the object's class as "class", other versions as "type".
        const std::string kind = Attribute(object, "class", Attribute(object, "type").c_str());
        if (kind != "spawn") {
            ++others;
            continue;
        }
        const std::string objectName = Attribute(object, "name");
        SpawnObject spawn;
        spawn.label = "object " + Attribute(object, "id", "?") +
                      (objectName.empty() ? "" : " '" + objectName + "'") + ", " + where;
        auto refuse = [&](const std::string& what) {
            throw LevelError(path, "spawn point (" + spawn.label + "): " + what);
        };
        if (Attribute(layer, "visible", "1") == "0") {
            refuse(
                "its layer is hidden in the editor (visible=\"0\"), but the spawn is used shown or hidden: "
                "show the layer");
        }
        for (const char* shape : {"polygon", "polyline", "text"}) {
            if (HasChild(object, shape))
                refuse(std::string("is a ") + shape + "; make it a point (Insert Point)");
        }
        if (!Attribute(object, "gid").empty()) refuse("is a tile object; make it a point (Insert Point)");
        const bool point = HasChild(object, "point");
        const double width =
            point ? 0
                  : Pixels(path, "spawn point (" + spawn.label + "): width", Attribute(object, "width", "0"));
        const double height = point ? 0
                                    : Pixels(path, "spawn point (" + spawn.label + "): height",
                                             Attribute(object, "height", "0"));
        if (!point && Pixels(path, "spawn point (" + spawn.label + "): rotation",
                             Attribute(object, "rotation", "0")) != 0) {
            refuse(
                "is a rotated rectangle; make it a point (Insert Point), and set where the player looks with "
                "its property 'facing'");
        }
        // A rectangle or an ellipse marks the spawn with its centre.
        spawn.x = offsetX +
                  Pixels(path, "spawn point (" + spawn.label + "): x", Attribute(object, "x", "0")) +
                  width / 2;
        spawn.y = offsetY +
                  Pixels(path, "spawn point (" + spawn.label + "): y", Attribute(object, "y", "0")) +
                  height / 2;
        if (const Node* properties = object->first_node("properties")) {
            for (const Node* property = properties->first_node("property"); property;
                 property = property->next_sibling("property")) {
                const std::string key = Attribute(property, "name");
                if (key != "facing") {
                    refuse("unknown property '" + key +
                           "' (the spawn knows 'facing', where the player looks)");
                }
                spawn.facing = Attribute(property, "value");
            }
        }
        format.spawns.push_back(spawn);
    }
    if (others > 0) {
        format.notes.push_back(EscapeControls(
            path + ": " + where + ": " + std::to_string(others) + (others == 1 ? " object" : " objects") +
            " left out of the level (levels read one object, the point of class 'spawn')"));
    }
}

// The map's tile edge in pixels, which object positions are measured in; Tiled always writes it.
double TileEdge(const std::string& path, const Node* map, const char* name) {
    const std::string text = Attribute(map, name, "32");
    const long value = Number(text, 0);
    if (value < 1 || value > 0xffff) {
        throw LevelError(path, std::string("the map's ") + name + " is '" + text +
                                   "'; it takes a whole number of pixels from 1");
    }
    return static_cast<double>(value);
}

void CheckData(const std::string& path, const std::string& layer, const Node* data) {
    const std::string encoding = Attribute(data, "encoding"), compression = Attribute(data, "compression");
    if (HasChild(data, "chunk")) {
        throw LevelError(path, layer,
                         "stored in chunks, as an infinite map keeps its layers, which the game's map loader "
                         "does not read (in Tiled: untick Map > Map Properties > Infinite, then save again)");
    }
    if (encoding.empty() && HasChild(data, "tile")) {
        throw LevelError(path, layer,
                         "stored in Tiled's XML layer format, which the game's map loader does not read (" +
                             std::string(kTiledFormat) + ")");
    }
    if (!encoding.empty() && encoding != "csv") {
        throw LevelError(path, layer,
                         "stored as " + encoding + (compression.empty() ? "" : " (" + compression + ")") +
                             "; the game's map loader reads CSV only (" + kTiledFormat + ")");
    }
    if (!compression.empty()) {
        throw LevelError(path, layer,
                         "has compression=\"" + compression +
                             "\" on CSV tiles, which are never compressed: remove the attribute (" +
                             kTiledFormat + ")");
    }
    if (HasCdata(data)) {
        throw LevelError(path, layer,
                         "its tiles are inside a CDATA section, which the game's map loader does not read: "
                         "write them as plain CSV text");
    }
}

void CheckLayer(const std::string& path, const Node* layer, const std::string& mapWidth,
                const std::string& mapHeight) {
    const std::string name = Attribute(layer, "name");
    for (const Node* data = layer->first_node("data"); data; data = data->next_sibling("data")) {
        CheckData(path, name, data);
    }
    // A layer without a size of its own takes the map's.
    const std::string width = Attribute(layer, "width", mapWidth.c_str());
    const std::string height = Attribute(layer, "height", mapHeight.c_str());
    if ((width != mapWidth && Number(width, -1) != Number(mapWidth, -2)) ||
        (height != mapHeight && Number(height, -1) != Number(mapHeight, -2))) {
        throw LevelError(path, name,
                         "is " + width + " x " + height + " tiles, but the map is " + mapWidth + " x " +
                             mapHeight +
                             ": give the layer the map's width and height (in Tiled: Map > "
                             "Resize Map, or fix the layer's width and height in the file)");
    }
    if (Attribute(layer, "visible", "1") == "0") {
        throw LevelError(path, name,
                         "is hidden in the editor (visible=\"0\"), but levels build every layer, shown or "
                         "hidden: show it, or delete it if it is not part of the level");
    }
}

TmxFormat CheckMap(const std::string& path, const Node* map) {
    const std::string root(map->name(), map->name_size());
    if (root != "map") {
        throw LevelError(path, "the root element is <" + root +
                                   ">, not <map>: this is no TMX map (a tile set file, perhaps); open the "
                                   "map itself");
    }
    const std::string orientation = Attribute(map, "orientation", "orthogonal");
    if (orientation != "orthogonal") {
        throw LevelError(path, "the map is " + orientation +
                                   "; levels are orthogonal maps (in Tiled: Map > Map Properties > "
                                   "Orientation: Orthogonal)");
    }
    if (Attribute(map, "infinite", "0") != "0") {
        throw LevelError(path,
                         "the map is infinite, and keeps its layers in chunks, which the game's map loader "
                         "does not read (in Tiled: untick Map > Map Properties > Infinite, then save again)");
    }
    const std::string width = Attribute(map, "width"), height = Attribute(map, "height");
    TmxFormat format;
    format.tileWidth = TileEdge(path, map, "tilewidth");
    format.tileHeight = TileEdge(path, map, "tileheight");
    long firstgid = 1;
    int tilesets = 0;
    for (const Node* child = map->first_node(); child; child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element) continue;
        const std::string kind(child->name(), child->name_size());
        if (kind == "tileset") {
            ++tilesets;
            const std::string text = Attribute(child, "firstgid", "1");
            firstgid = Number(text, 0);
            if (firstgid < 1 || firstgid > 0x1fffffff) {
                throw LevelError(path, "the tile set's firstgid is '" + text + "'; it takes a number from 1");
            }
        } else if (kind == "layer") {
            CheckLayer(path, child, width, height);
        } else if (kind == "objectgroup") {
            ReadObjectLayer(path, child, format);
        } else if (kind == "imagelayer") {
            format.notes.push_back(EscapeControls(path + ": image layer '" + Attribute(child, "name") +
                                                  "' left out of the level (levels are built from the tile "
                                                  "layers 'height' and 'shape')"));
        } else if (kind == "group") {
            throw LevelError(path, "layer group '" + Attribute(child, "name") +
                                       "': the game's map loader reads only layers outside groups (move its "
                                       "layers out of the group)");
        }
    }
    if (tilesets > 1) {
        throw LevelError(path,
                         "the map has " + std::to_string(tilesets) +
                             " tile sets; levels use one, level_tiles.png (remove the others in Tiled's "
                             "Tilesets view)");
    }
    format.firstTile = static_cast<uint32_t>(firstgid);
    return format;
}

}  // namespace

TmxFormat ReadTmxFormat(const std::string& path) {
    Common::WholeFile file = Common::ReadWholeFile(path, kMaxMapBytes);
    if (file.status != Common::WholeFile::Status::Read) return {};
    std::string& text = file.text;
    if (text.size() >= 2 &&
        ((text[0] == '\xff' && text[1] == '\xfe') || (text[0] == '\xfe' && text[1] == '\xff'))) {
        throw LevelError(path,
                         "the file is UTF-16 text; the game's map loader reads UTF-8: save it as UTF-8");
    }
    std::size_t offset = 0;  // the string keeps a NUL after its text, where the parser stops
    if (TmxParser::NestingExceeds(text.data(), text.size(), kMaxNesting, offset)) return {};
    rapidxml::xml_document<char> document;
    try {
        document.parse<0>(text.data());
    } catch (const rapidxml::parse_error&) {
        return {};
    }
    const Node* map = document.first_node();
    if (map == nullptr) return {};
    if (const Node* second = map->next_sibling()) {
        throw LevelError(path, "a second top-level element <" +
                                   std::string(second->name(), second->name_size()) + "> after <" +
                                   std::string(map->name(), map->name_size()) +
                                   ">: a map file holds one <map>");
    }
    return CheckMap(path, map);
}

}  // namespace AssetGenerator

#include "tmxparser/tmxparser.h"

#include "common/quote.h"
#include "common/whole_file.h"
#include "tmxparser/tmx_csv.h"
#include "tmxparser/xml_nesting.h"

#include <rapidxml/rapidxml.hpp>

#include <cstddef>
#include <cstdint>
#include <exception>
#include <new>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

namespace TmxParser {

namespace {

using XmlDocument = rapidxml::xml_document<char>;
using XmlNode = rapidxml::xml_node<char>;
using XmlAttribute = rapidxml::xml_attribute<char>;

// Working state of the current load.
TmxMap* mpointer = nullptr;
XmlDocument* doc = nullptr;
bool errTriggered = false;
std::string err;
TileFailure tileFailure;

// rapidxml recurses once per nesting level (a few hundred bytes of stack each); TMX files nest about
// five levels, so this rejects only hostile input while staying far from any thread's stack limit.
constexpr std::size_t kMaxNesting = 2000;
// A map file larger than this is not read: a map of 4000 x 4000 tiles is about a hundred MiB.
constexpr std::size_t kMaxFileBytes = std::size_t{1} << 30;

// A failure found while reading the document; its text becomes GetError().
class LoadFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

void ReleaseState() {
    delete doc;
    doc = nullptr;
    delete mpointer;
    mpointer = nullptr;
}

std::string_view NameOf(const XmlNode* node) { return std::string_view(node->name(), node->name_size()); }
std::string_view NameOf(const XmlAttribute* attr) {
    return std::string_view(attr->name(), attr->name_size());
}
std::string ValueOf(const XmlAttribute* attr) { return std::string(attr->value(), attr->value_size()); }

// The bad number as it stood in the file, without surrounding white space.
std::string Trimmed(const char* first, const char* last) {
    const std::string_view blanks = " \t\n\v\f\r";
    std::string_view text(first, static_cast<std::size_t>(last - first));
    const std::size_t begin = text.find_first_not_of(blanks);
    text = begin == std::string_view::npos ? std::string_view() : text.substr(begin);
    return std::string(text.substr(0, text.find_last_not_of(blanks) + 1));
}

std::string NumberError(NumberStatus status, const char* first, const char* last, const std::string& path,
                        const std::string& where) {
    const char* problem = status == NumberStatus::OutOfRange ? "Number out of range " : "Invalid number ";
    return problem + Common::Quote(Trimmed(first, last)) + " in " + path + " (" + where + ")";
}

uint32_t ReadSize(const XmlAttribute* attr, const std::string& path, const char* which) {
    const char* first = attr->value();
    const char* last = first + attr->value_size();
    int32_t value = 0;
    const NumberStatus status = Common::ReadLeadingInt(first, last, value);
    if (status != NumberStatus::Ok) throw LoadFailure(NumberError(status, first, last, path, which));
    return static_cast<uint32_t>(value);
}

void ReadProperties(const XmlNode* properties) {
    for (const XmlNode* node = properties->first_node(); node; node = node->next_sibling()) {
        if (node->type() != rapidxml::node_element || NameOf(node) != "property") continue;
        KeyValuePair pair;
        for (const XmlAttribute* attr = node->first_attribute(); attr; attr = attr->next_attribute()) {
            if (NameOf(attr) == "name") pair.key = ValueOf(attr);
            if (NameOf(attr) == "value") pair.value = ValueOf(attr);
        }
        mpointer->PushProperty(std::move(pair));
    }
}

void ReadLayer(const XmlNode* element, const std::string& path) {
    TmxLayer layer;
    for (const XmlAttribute* attr = element->first_attribute(); attr; attr = attr->next_attribute()) {
        if (NameOf(attr) == "name") layer.name = ValueOf(attr);
    }
    for (const XmlNode* data = element->first_node(); data; data = data->next_sibling()) {
        if (data->type() != rapidxml::node_element || NameOf(data) != "data") continue;
        for (const XmlAttribute* attr = data->first_attribute(); attr; attr = attr->next_attribute()) {
            if (NameOf(attr) == "encoding" && ValueOf(attr) != "csv") {
                throw LoadFailure("Error in layer '" + layer.name + "': the encoding must be 'csv'!");
            }
        }
        CsvFailure failure;
        if (SplitCsv(data->value(), data->value_size(), layer.tiles, failure) != NumberStatus::Ok) {
            const std::string where =
                "layer '" + layer.name + "', field " + std::to_string(failure.fieldNumber);
            tileFailure = {true, layer.name, failure.fieldNumber - 1, mpointer->width,
                           Common::Shown(Trimmed(failure.fieldBegin, failure.fieldEnd))};
            throw LoadFailure(NumberError(failure.status, failure.fieldBegin, failure.fieldEnd, path, where));
        }
        // The tiles move into the map (the next "data" child reads its own); the name is copied.
        mpointer->PushLayer(TmxLayer{std::move(layer.tiles), layer.name});
    }
}

void ReadDocument(const std::string& path) {
    for (const XmlNode* root = doc->first_node(); root; root = root->next_sibling()) {
        if (root->type() != rapidxml::node_element) continue;
        for (const XmlAttribute* attr = root->first_attribute(); attr; attr = attr->next_attribute()) {
            if (NameOf(attr) == "width") mpointer->width = ReadSize(attr, path, "width");
            if (NameOf(attr) == "height") mpointer->height = ReadSize(attr, path, "height");
        }
        for (const XmlNode* child = root->first_node(); child; child = child->next_sibling()) {
            if (child->type() != rapidxml::node_element) continue;
            if (NameOf(child) == "properties") ReadProperties(child);
            if (NameOf(child) == "layer") ReadLayer(child, path);
        }
    }
}

// Parses `buffer` in place into `doc` (up to the NUL a string keeps after its text); syntax errors
// become LoadFailure with the parser's message and the byte where it stopped.
void ParseBuffer(std::string& buffer, const std::string& path) {
    const std::size_t size = buffer.size();
    std::size_t offset = 0;
    if (NestingExceeds(buffer.data(), size, kMaxNesting, offset)) {
        throw LoadFailure("Malformed XML in " + path + ": elements nested deeper than " +
                          std::to_string(kMaxNesting) + " levels at byte " + std::to_string(offset));
    }
    try {
        doc->parse<0>(buffer.data());
    } catch (const rapidxml::parse_error& e) {
        const char* where = e.where<char>();
        std::string message = "Malformed XML in " + path + ": " + e.what();
        if (where >= buffer.data() && where <= buffer.data() + size) {
            message += " at byte " + std::to_string(where - buffer.data());
        }
        throw LoadFailure(message);
    }
}

// Parses `buffer` (in place) and builds the map; every failure, whatever its
// kind, becomes a null return with the reason in `err`.
TmxMap* LoadBuffer(std::string& buffer, const std::string& path) {
    try {
        ParseBuffer(buffer, path);
        ReadDocument(path);
        delete doc;
        doc = nullptr;
        return std::exchange(mpointer, nullptr);
    } catch (const LoadFailure& failure) {
        ReleaseState();
        err = failure.what();
    } catch (const std::bad_alloc&) {
        ReleaseState();
        err = "Out of memory while loading " + path;
    } catch (const std::exception& e) {
        ReleaseState();
        err = "Failed to load " + path + ": " + e.what();
    }
    return nullptr;
}

// Fresh working state for a new load; false (with `err` set) when even that cannot be allocated.
bool BeginLoad(const std::string& path) {
    ReleaseState();
    err.clear();
    errTriggered = false;
    tileFailure = TileFailure();
    try {
        mpointer = new TmxMap();
        doc = new XmlDocument();
        return true;
    } catch (const std::bad_alloc&) {
        ReleaseState();
        err = "Out of memory while loading " + path;
        return false;
    }
}

}  // namespace

TmxMap* LoadTmxMap(std::string path) {
    if (!BeginLoad(path)) return nullptr;
    Common::WholeFile file;
    try {
        file = Common::ReadWholeFile(path, kMaxFileBytes);
    } catch (const std::exception&) {
        ReleaseState();
        err = "Out of memory while loading " + path;
        return nullptr;
    }
    if (file.status != Common::WholeFile::Status::Read) {
        errTriggered = true;
        ReleaseState();
        err = "Failed to open file in " + path;
        return nullptr;
    }
    return LoadBuffer(file.text, path);
}

TmxMap* LoadTmxMapFromMemory(std::string_view text, const std::string& path) {
    if (!BeginLoad(path)) return nullptr;
    std::string buffer;
    try {
        buffer.assign(text);
    } catch (const std::exception&) {
        ReleaseState();
        err = "Out of memory while loading " + path;
        return nullptr;
    }
    return LoadBuffer(buffer, path);
}

std::string GetError() { return err; }

TileFailure GetTileFailure() { return tileFailure; }

}  // namespace TmxParser

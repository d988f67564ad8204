#include "tmxparser/tmxparser.h"

#include "tmxparser/tmx_csv.h"
#include "tmxparser/xml_nesting.h"

#include <rapidxml/rapidxml.hpp>

#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>
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
// Longest piece of a bad number quoted in an error text.
constexpr std::size_t kMaxQuoted = 40;

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

// The bad number as it stood in the file, without surrounding white space and cut to a sane length.
std::string Quote(const char* first, const char* last) {
    const std::string_view blanks = " \t\n\v\f\r";
    std::string_view text(first, static_cast<std::size_t>(last - first));
    const std::size_t begin = text.find_first_not_of(blanks);
    text = begin == std::string_view::npos ? std::string_view() : text.substr(begin);
    text = text.substr(0, text.find_last_not_of(blanks) + 1);
    if (text.size() <= kMaxQuoted) return std::string(text);
    return std::string(text.substr(0, kMaxQuoted)) + "...";
}

std::string NumberError(NumberStatus status, const char* first, const char* last, const std::string& path,
                        const std::string& where) {
    const char* problem = status == NumberStatus::OutOfRange ? "Number out of range '" : "Invalid number '";
    return problem + Quote(first, last) + "' in " + path + " (" + where + ")";
}

// Reads the whole file plus the terminating NUL rapidxml parses up to; false when it cannot be opened
// or read (a directory opens but cannot be read).
bool ReadWholeFile(const std::string& path, std::vector<char>& buffer) {
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) return false;
    // One allocation of the right size for a regular file (the size is only a hint: reading goes on
    // to the end whatever it says); anything else is read in chunks.
    std::error_code error;
    std::size_t expected = 0;
    if (std::filesystem::is_regular_file(path, error)) {
        const std::uintmax_t size = std::filesystem::file_size(path, error);
        if (!error) expected = static_cast<std::size_t>(size);
    }
    constexpr std::size_t kChunk = 1 << 16;
    std::size_t used = 0;
    for (std::size_t want = expected + 1; in; want = kChunk) {
        buffer.resize(used + want);
        in.read(buffer.data() + used, static_cast<std::streamsize>(want));
        used += static_cast<std::size_t>(in.gcount());
    }
    if (in.bad()) return false;
    buffer.resize(used + 1);
    buffer[used] = '\0';
    return true;
}

uint32_t ReadSize(const XmlAttribute* attr, const std::string& path, const char* which) {
    const char* first = attr->value();
    const char* last = first + attr->value_size();
    int32_t value = 0;
    const NumberStatus status = ReadInt(first, last, value);
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
                           Quote(failure.fieldBegin, failure.fieldEnd)};
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

// Parses `buffer` (NUL-terminated) in place into `doc`; syntax errors become LoadFailure with the
// parser's message and the byte where it stopped.
void ParseBuffer(std::vector<char>& buffer, const std::string& path) {
    const std::size_t size = buffer.size() - 1;
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

// Parses `buffer` (NUL-terminated, parsed in place) and builds the map; every failure, whatever its
// kind, becomes a null return with the reason in `err`.
TmxMap* LoadBuffer(std::vector<char>& buffer, const std::string& path) {
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
    std::vector<char> buffer;
    try {
        if (!ReadWholeFile(path, buffer)) {
            errTriggered = true;
            err = "Failed to open file in " + path;
        }
    } catch (const std::exception&) {
        ReleaseState();
        err = "Out of memory while loading " + path;
        return nullptr;
    }
    if (errTriggered) {
        ReleaseState();
        return nullptr;
    }
    return LoadBuffer(buffer, path);
}

TmxMap* LoadTmxMapFromMemory(std::string_view text, const std::string& path) {
    if (!BeginLoad(path)) return nullptr;
    std::vector<char> buffer;
    try {
        buffer.reserve(text.size() + 1);
        buffer.assign(text.begin(), text.end());
        buffer.push_back('\0');
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

// The one failure of the level tools: a line naming the map file and, where they apply, the layer and
// the tile (column, row) at fault. Text taken from the file (names, numbers, paths) may hold line
// breaks or other control characters, so the whole line is escaped: it stays one line however odd
// the file. Thrown by the level reader and the geometry; any thread.
#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>

namespace AssetGenerator {

// `text` with control characters written as \n, \r, \t or \xNN (and the backslash as \\).
inline std::string EscapeControls(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", byte);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

class LevelError : public std::runtime_error {
public:
    LevelError(const std::string& file, const std::string& layer, int column, int row,
               const std::string& what)
        : std::runtime_error(EscapeControls(file + ": layer '" + layer + "', tile (" +
                                            std::to_string(column) + "," + std::to_string(row) +
                                            "): " + what)) {}
    LevelError(const std::string& file, const std::string& layer, const std::string& what)
        : std::runtime_error(EscapeControls(file + ": layer '" + layer + "': " + what)) {}
    LevelError(const std::string& file, const std::string& what)
        : std::runtime_error(EscapeControls(file + ": " + what)) {}
};

}  // namespace AssetGenerator

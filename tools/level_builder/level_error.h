// The one failure of the level tools: a line naming the map file and, where they apply, the layer and
// the tile (column, row) at fault. Thrown by the level reader and the geometry; any thread.
#pragma once

#include <stdexcept>
#include <string>

namespace AssetGenerator {

class LevelError : public std::runtime_error {
public:
    LevelError(const std::string& file, const std::string& layer, int column, int row,
               const std::string& what)
        : std::runtime_error(file + ": layer '" + layer + "', tile (" + std::to_string(column) + "," +
                             std::to_string(row) + "): " + what) {}
    LevelError(const std::string& file, const std::string& layer, const std::string& what)
        : std::runtime_error(file + ": layer '" + layer + "': " + what) {}
    LevelError(const std::string& file, const std::string& what) : std::runtime_error(file + ": " + what) {}
};

}  // namespace AssetGenerator

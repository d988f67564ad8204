#include "level_data.h"

#include "application/level_markup.h"
#include "markup/tml_reader.h"
#include "obj_writer.h"
#include "tile_rectangles.h"

#include <filesystem>

namespace AssetGenerator {

namespace Keys = Application::LevelMarkup;

std::string MakeLevelData(const LevelMap& map, const std::string& name) {
    std::string text = std::string("@ ") + Tml::kVersion + "\n# " + name +
                       ": where the player starts and where runs end, in model units (x from west to east, "
                       "z from north to south, y up; yaw in degrees, 0 facing south, 90 east)\n{ " +
                       Keys::Root + "\n";
    auto attribute = [&text](const char* key, double value) {
        text += std::string("\t\t! ") + key + " " + FormatNumber(value) + "\n";
    };
    const LevelSpawn& spawn = map.Spawn();
    text += std::string("\t{ ") + Keys::Spawn + "\n";
    attribute(Keys::X, spawn.x);
    attribute(Keys::Y, spawn.y);
    attribute(Keys::Z, spawn.z);
    attribute(Keys::Yaw, spawn.yaw);
    text += "\t}\n";
    auto isFinish = [](const LevelCell& cell) { return cell.shape == Shape::Finish; };
    ForEachTileRectangle(map, isFinish, [&](int column, int row, int w, int d, int h) {
        text += std::string("\t{ ") + Keys::Finish + "\n";
        attribute(Keys::West, map.X(column));
        attribute(Keys::East, map.X(column + w));
        attribute(Keys::North, map.Z(row));
        attribute(Keys::South, map.Z(row + d));
        attribute(Keys::Floor, map.Y(h));
        text += "\t}\n";
    });
    return text + "}\n";
}

std::string LevelDataPath(const std::string& objPath) {
    const std::filesystem::path obj(objPath);
    return (obj.parent_path() / (obj.stem().string() + ".level.tml")).string();
}

}  // namespace AssetGenerator

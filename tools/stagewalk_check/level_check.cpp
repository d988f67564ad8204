#include "stagewalk_check/level_check.h"

#include "application/finish_area.h"
#include "application/level_markup.h"
#include "application/stage.h"
#include "engine/assets/asset_kinds.h"
#include "stagewalk_check/document_check.h"
#include "stagewalk_check/floor_grid.h"
#include "stagewalk_check/room_check.h"
#include "stagewalk_check/suggestion.h"

#include <array>
#include <cmath>
#include <optional>

namespace StagewalkCheck {

namespace {

namespace Keys = Application::LevelMarkup;
using Application::CollisionTriangle;

const std::vector<std::string> kFinishKeys = {Keys::West, Keys::East, Keys::North, Keys::South, Keys::Floor};
const std::vector<std::string> kSpawnKeys = {Keys::X, Keys::Y, Keys::Z, Keys::Yaw};

// The room's floors that face up, with a grid to find those over a point.
class RoomFloors {
public:
    explicit RoomFloors(const Engine::MeshData& room)
        : triangles(PreparedTriangles(room)), grid(UpFloors()) {}

    // A floor of the room lies within the game's tolerance of world height `y` at (x, z).
    bool At(float x, float y, float z) const {
        bool found = false;
        grid.ForEachNear(x, z, [&](const CollisionTriangle& t) {
            if (!found && CoversFromAbove(t, {x, y, z}) &&
                std::fabs(FloorHeightAt(t, x, z) - y) <= Application::FinishArea::FloorTolerance)
                found = true;
        });
        return found;
    }

private:
    FloorGrid UpFloors() const {
        std::vector<const CollisionTriangle*> up;
        for (const CollisionTriangle& t : triangles) {
            if (FacesUp(t)) up.push_back(&t);
        }
        return FloorGrid(up);
    }

    std::vector<CollisionTriangle> triangles;
    FloorGrid grid;
};

class LevelWalk {
public:
    LevelWalk(const std::string& file, const Engine::MeshData* room, Diagnostics& out)
        : file(file), out(out) {
        if (room) floors.emplace(*room);
    }

    void Root(const Tml::Node& root) {
        if (root.Name() != Keys::Root) {
            out.Warning(file, root.Line(),
                        "unknown root node " + Quote(root.Name()) + " is ignored" +
                            DidYouMean(root.Name(), {Keys::Root}));
            return;
        }
        for (const Tml::Attribute& attribute : root.Attributes()) {
            out.Warning(file, attribute.line,
                        "unknown key " + Quote(attribute.key) + " in " + Quote(Keys::Root) + " is ignored");
        }
        for (const Tml::Node* child : root.Children()) {
            if (child->Name() == Keys::Finish) {
                Finish(*child);
            } else if (child->Name() == Keys::Spawn) {
                Spawn(*child);
            } else {
                out.Warning(file, child->Line(),
                            "unknown node " + Quote(child->Name()) + " in " + Quote(Keys::Root) +
                                " is ignored" + DidYouMean(child->Name(), {Keys::Finish, Keys::Spawn}));
            }
        }
    }

    bool HasFinish() const { return finishes > 0; }

private:
    // A spawn gives x, y and z, and yaw if it likes; the game takes the first whole one and starts
    // a level without one where it always started.
    void Spawn(const Tml::Node& node) {
        if (spawnLine > 0) {
            out.Warning(file, node.Line(),
                        "a second spawn (the first is at line " + std::to_string(spawnLine) +
                            "): the game starts at the first that reads");
            return;
        }
        spawnLine = node.Line();
        std::array<bool, 4> given{};  // in the order of kSpawnKeys
        bool readable = true;
        for (const Tml::Attribute& attribute : node.Attributes()) {
            size_t key = 0;
            while (key < kSpawnKeys.size() && kSpawnKeys[key] != attribute.key) ++key;
            if (key == kSpawnKeys.size()) {
                out.Warning(file, attribute.line,
                            "unknown key " + Quote(attribute.key) + " in " + Quote(Keys::Spawn) +
                                DidYouMean(attribute.key, kSpawnKeys));
                continue;
            }
            given[key] = true;
            if (!Keys::ReadNumber(attribute.value)) {
                out.Error(file, attribute.line,
                          Quote(attribute.key) + " is " + Quote(attribute.value) +
                              ", not a number: the game skips this spawn and starts at its default");
                readable = false;
            }
        }
        for (size_t key = 0; key < 3 && readable; ++key) {
            if (given[key]) continue;
            out.Error(file, node.Line(),
                      "spawn has no " + Quote(kSpawnKeys[key]) +
                          ": the game skips it and starts at its default (a spawn gives x, y and z, "
                          "and may give yaw)");
            readable = false;
        }
    }

    void Finish(const Tml::Node& node) {
        ++finishes;
        std::array<std::optional<double>, 5> value;  // in the order of kFinishKeys
        bool readable = true;
        for (const Tml::Attribute& attribute : node.Attributes()) {
            size_t key = 0;
            while (key < kFinishKeys.size() && kFinishKeys[key] != attribute.key) ++key;
            if (key == kFinishKeys.size()) {
                out.Warning(file, attribute.line,
                            "unknown key " + Quote(attribute.key) + " in " + Quote(Keys::Finish) +
                                DidYouMean(attribute.key, kFinishKeys));
                continue;
            }
            value[key] = Keys::ReadNumber(attribute.value);
            if (!value[key]) {
                out.Error(file, attribute.line,
                          Quote(attribute.key) + " is " + Quote(attribute.value) +
                              ", not a number: the game skips this finish");
                readable = false;
            }
        }
        for (size_t key = 0; key < kFinishKeys.size(); ++key) {
            if (value[key] || !readable) continue;
            out.Error(file, node.Line(),
                      "finish has no " + Quote(kFinishKeys[key]) + ": the game skips it (a finish gives " +
                          "west, east, north, south and floor)");
            readable = false;
        }
        if (!readable) return;
        const double west = *value[0], east = *value[1], north = *value[2], south = *value[3],
                     floor = *value[4];
        if (!(west < east) || !(north < south)) {
            const bool x = !(west < east);
            out.Error(file, node.Line(),
                      std::string("finish: ") +
                          (x ? "west " + Number(west) + " is not less than east " + Number(east)
                             : "north " + Number(north) + " is not less than south " + Number(south)) +
                          ": the rectangle is empty and the game skips it");
            return;
        }
        if (floors) Floored(node, west, east, north, south, floor);
    }

    // The floor under the rectangle's middle and just inside its corners, in world units as the
    // game tests the feet.
    void Floored(const Tml::Node& node, double west, double east, double north, double south, double floor) {
        const double insetX = (east - west) * 0.01, insetZ = (south - north) * 0.01;
        const double xs[] = {(west + east) / 2, west + insetX, east - insetX, west + insetX, east - insetX};
        const double zs[] = {(north + south) / 2, north + insetZ, north + insetZ, south - insetZ,
                             south - insetZ};
        const float scale = Application::Stage::RoomScale;
        for (size_t i = 0; i < std::size(xs); ++i) {
            if (floors->At(static_cast<float>(xs[i] * scale), static_cast<float>(floor * scale),
                           static_cast<float>(zs[i] * scale)))
                continue;
            out.Error(file, node.Line(),
                      "finish: the room has no floor at y " + Number(floor) + " under (" + Number(xs[i]) +
                          ", " + Number(zs[i]) +
                          ") (model units): it floats in the air, and no run ends on it");
            return;
        }
    }

    const std::string& file;
    Diagnostics& out;
    std::optional<RoomFloors> floors;
    int finishes = 0;
    int spawnLine = 0;
};

}  // namespace

void CheckLevelDocument(const Tml::Document& level, const std::string& file, const Engine::MeshData* room,
                        Diagnostics& out) {
    LevelWalk walk(file, room, out);
    for (const Tml::Node* root : level.RootNodes()) walk.Root(*root);
}

void CheckLevelData(const std::vector<PlannedEntry>& plan, const std::string& data, const GameFolder& folder,
                    const Engine::MeshData* room, Diagnostics& out) {
    for (const PlannedEntry& planned : plan) {
        const Engine::AssetEntry& entry = planned.entry;
        if (entry.kind != Engine::AssetKind::Markup || entry.name != data) continue;
        // The game looks names up in manifest order: the first entry is the one it uses.
        if (!planned.hasPath || !folder.IsFile(entry.path)) return;
        // A refused header is reported with the asset files, at the manifest's entry.
        Diagnostics markup;
        const CheckedDocument level = CheckDocument(folder, entry.path, markup);
        if (level.state != DocumentState::Loaded) return;
        for (const Diagnostic& d : markup.All()) {
            if (d.severity == Severity::Error)
                out.Error(d.file, d.line, d.message);
            else
                out.Warning(d.file, d.line, d.message);
        }
        CheckLevelDocument(*level.document, entry.path, room, out);
        return;
    }
}

}  // namespace StagewalkCheck

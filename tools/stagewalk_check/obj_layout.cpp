#include "stagewalk_check/obj_layout.h"

#include "common/leading_int.h"
#include "engine/assets/model_conversion.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <string_view>

namespace StagewalkCheck {

namespace {

constexpr size_t FloatsPerTriangle = 9;

// One "f" line: its number and the position index of each corner (0-based; -1 when the corner
// names no position the file has).
struct Face {
    int line = 0;
    std::vector<long> corners;
};

struct Segment {
    int line = 0;
    std::string name;
    std::vector<Face> faces;
};

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The statement keyword ("v", "f", "o", ...) and what follows it, as the library splits a line.
bool Statement(std::string_view line, std::string_view keyword, std::string_view& rest) {
    line = Trim(line);
    if (line.size() <= keyword.size() || line.substr(0, keyword.size()) != keyword) return false;
    const char after = line[keyword.size()];
    if (after != ' ' && after != '\t') return false;
    rest = Trim(line.substr(keyword.size()));
    return true;
}

// Corner position indices of a face: 1-based, or negative counting back from the last "v" so far.
std::vector<long> Corners(std::string_view rest, long positionsSoFar) {
    std::vector<long> corners;
    while (!rest.empty()) {
        const size_t end = rest.find_first_of(" \t");
        const std::string_view token = rest.substr(0, end);
        int32_t index = 0;  // no number: no corner
        Common::ReadLeadingInt(token.data(), token.data() + token.size(), index);
        corners.push_back(index > 0 ? index - 1 : index < 0 ? positionsSoFar + index : -1);
        rest = end == std::string_view::npos ? std::string_view() : Trim(rest.substr(end));
    }
    return corners;
}

// How many triangles the engine's loader makes of `face`: polygons are split by the library's own
// triangulation, which depends on the corners' positions, so the face is converted on its own.
size_t TriangleCount(const Face& face, const std::vector<std::string_view>& positions) {
    if (face.corners.size() < 3) return 0;
    if (face.corners.size() == 3) return 1;
    // A quad is cut along a diagonal into two, unless a corner lies outside the file's positions.
    const auto inside = [&positions](long corner) {
        return corner >= 0 && static_cast<size_t>(corner) < positions.size();
    };
    if (face.corners.size() == 4)
        return std::all_of(face.corners.begin(), face.corners.end(), inside) ? 2 : 0;
    std::string text;
    std::string indices;
    long next = 1;
    for (const long corner : face.corners) {
        if (inside(corner)) {
            text.append(positions[static_cast<size_t>(corner)]).append("\n");
            indices += " " + std::to_string(next++);
        } else {
            indices += " 1000000";  // keeps the corner out of range, as it is in the file
        }
    }
    text += "f" + indices + "\n";
    try {
        std::unique_ptr<Engine::ModelData> model(Engine::ConvertObjFromMemory(text, "face"));
        return model->empty() ? 0 : (*model)[0]->positions.size() / FloatsPerTriangle;
    } catch (const std::exception&) {
        return 0;
    }
}

}  // namespace

ObjLayout::ObjLayout(const std::string& text, const Engine::ModelData& model) {
    std::vector<std::string_view> positions;  // the "v" lines, verbatim
    std::vector<Segment> segments(1);         // faces before any "o"/"g" line form the first
    std::string_view all(text);
    int number = 0;
    for (size_t at = 0; at <= all.size();) {
        size_t end = all.find_first_of("\r\n", at);
        if (end == std::string_view::npos) end = all.size();
        const std::string_view line = all.substr(at, end - at);
        ++number;
        at = end + ((end + 1 < all.size() && all[end] == '\r' && all[end + 1] == '\n') ? 2 : 1);
        std::string_view rest;
        if (Statement(line, "v", rest)) {
            positions.push_back(Trim(line));
        } else if (Statement(line, "f", rest)) {
            segments.back().faces.push_back(Face{number, Corners(rest, static_cast<long>(positions.size()))});
        } else if (Statement(line, "o", rest) || Statement(line, "g", rest)) {
            segments.push_back(Segment{number, std::string(rest), {}});
        }
    }

    // The library starts a shape at every "o" and "g" line; the engine keeps those with triangles.
    for (const Segment& segment : segments) {
        Object object{segment.line, segment.name, {}};
        for (const Face& face : segment.faces) {
            object.triangleLines.insert(object.triangleLines.end(), TriangleCount(face, positions),
                                        face.line);
        }
        if (!object.triangleLines.empty()) meshes.push_back(std::move(object));
    }
    if (meshes.size() != model.size()) {
        meshes.clear();
        return;
    }
    reliable = true;
    for (size_t i = 0; reliable && i < meshes.size(); ++i) {
        reliable = meshes[i].triangleLines.size() == model[i]->positions.size() / FloatsPerTriangle;
    }
    if (!reliable) {
        for (Object& object : meshes) object.triangleLines.clear();
    }
}

int ObjLayout::ObjectLine(size_t mesh) const { return mesh < meshes.size() ? meshes[mesh].line : 0; }

std::string ObjLayout::ObjectName(size_t mesh) const {
    return mesh < meshes.size() ? meshes[mesh].name : std::string();
}

int ObjLayout::FaceLine(size_t mesh, size_t triangle) const {
    if (mesh >= meshes.size() || triangle >= meshes[mesh].triangleLines.size()) return 0;
    return meshes[mesh].triangleLines[triangle];
}

}  // namespace StagewalkCheck

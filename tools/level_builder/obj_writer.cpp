#include "obj_writer.h"

#include "common/atomic_file.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace AssetGenerator {

std::string FormatNumber(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6f", value);
    std::string text = buffer;
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    if (text == "-0" || text.empty()) text = "0";
    return text;
}

ObjWriter::ObjWriter(std::string comment) : comment(std::move(comment)) {}

void ObjWriter::BeginObject(const std::string& name) { groups.push_back({name, {}}); }

int ObjWriter::Intern(std::map<std::string, int>& index, std::vector<std::string>& lines,
                      const std::string& text) {
    auto found = index.find(text);
    if (found != index.end()) return found->second;
    lines.push_back(text);
    const int number = static_cast<int>(lines.size());  // OBJ indices start at 1
    index.emplace(text, number);
    return number;
}

void ObjWriter::AddTriangle(const Corner& a, const Corner& b, const Corner& c, const glm::dvec3& normal) {
    const double length = glm::length(normal);
    if (!(length > 0.0)) throw std::runtime_error("triangle normal has no direction");
    const glm::dvec3 unit = normal / length;
    const glm::dvec3 winding = glm::cross(b.position - a.position, c.position - a.position);
    if (!(glm::dot(winding, unit) > 0.0))
        throw std::runtime_error("triangle corners are not counter-clockwise around its normal");
    if (groups.empty()) BeginObject("default");
    Face face{};
    const Corner* corners[3] = {&a, &b, &c};
    const std::string normalText =
        "vn " + FormatNumber(unit.x) + " " + FormatNumber(unit.y) + " " + FormatNumber(unit.z);
    for (int i = 0; i < 3; ++i) {
        const Corner& corner = *corners[i];
        face.position[i] =
            Intern(positionIndex, positionLines,
                   "v " + FormatNumber(corner.position.x) + " " + FormatNumber(corner.position.y) + " " +
                       FormatNumber(corner.position.z));
        face.uv[i] =
            Intern(uvIndex, uvLines, "vt " + FormatNumber(corner.uv.x) + " " + FormatNumber(corner.uv.y));
        face.normal[i] = Intern(normalIndex, normalLines, normalText);
    }
    groups.back().faces.push_back(face);
    ++triangleCount;
}

void ObjWriter::AddPolygon(std::vector<Corner> corners, const glm::dvec3& facing) {
    if (corners.size() < 3) throw std::runtime_error("a polygon needs three corners");
    glm::dvec3 normal(0.0);  // Newell's method: robust for any planar polygon
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const glm::dvec3& p = corners[i].position;
        const glm::dvec3& q = corners[(i + 1) % corners.size()].position;
        normal += glm::dvec3((p.y - q.y) * (p.z + q.z), (p.z - q.z) * (p.x + q.x), (p.x - q.x) * (p.y + q.y));
    }
    if (glm::dot(normal, facing) < 0.0) {
        std::reverse(corners.begin(), corners.end());
        normal = -normal;
    }
    for (std::size_t i = 1; i + 1 < corners.size(); ++i)
        AddTriangle(corners[0], corners[i], corners[i + 1], normal);
}

std::string ObjWriter::ToString() const {
    std::string out = "# " + comment + "\n";
    for (const std::string& line : positionLines) out += line + "\n";
    for (const std::string& line : uvLines) out += line + "\n";
    for (const std::string& line : normalLines) out += line + "\n";
    for (const Group& group : groups) {
        out += "o " + group.name + "\n";
        for (const Face& face : group.faces) {
            out += "f";
            for (int i = 0; i < 3; ++i)
                out += " " + std::to_string(face.position[i]) + "/" + std::to_string(face.uv[i]) + "/" +
                       std::to_string(face.normal[i]);
            out += "\n";
        }
    }
    return out;
}

void ObjWriter::Write(const std::string& path) const { WriteFileAtomically(path, ToString()); }

void WriteFileAtomically(const std::string& path, const std::string& text) {
    WriteFilesAtomically({{path, text}});
}

void WriteFilesAtomically(const std::vector<std::pair<std::string, std::string>>& files) {
    std::string error;
    if (!Common::WriteFilesAtomically(files, error)) throw std::runtime_error("cannot write " + error);
}

}  // namespace AssetGenerator

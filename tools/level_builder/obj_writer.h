// Collects triangles with positions, texture coordinates and normals and writes them as Wavefront
// OBJ text with every corner as v/vt/vn. Identical values share one line, and equal numbers are always
// printed as the same text, so corners meant to coincide read back as bit-identical floats.
// Shared by the asset generator and the level builder; owned by whoever fills it; one thread.
#pragma once

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace AssetGenerator {

struct Corner {
    glm::dvec3 position;
    glm::dvec2 uv;
};

class ObjWriter {
public:
    explicit ObjWriter(std::string comment);  // written as "# ..." at the top of the file

    // Starts a new "o" group; faces added before the first one go to a group named "default".
    void BeginObject(const std::string& name);
    // Appends a triangle whose front (counter-clockwise corners) faces along `normal`, which is
    // normalised here; throws std::runtime_error when the winding and the normal disagree.
    void AddTriangle(const Corner& a, const Corner& b, const Corner& c, const glm::dvec3& normal);
    // Appends a convex planar polygon (corners in order around it, either direction) as a triangle fan
    // from its first corner, wound so that its front faces the side `facing` points to.
    void AddPolygon(std::vector<Corner> corners, const glm::dvec3& facing);
    int TriangleCount() const { return triangleCount; }  // triangles added so far
    std::string ToString() const;                        // the whole file
    void Write(const std::string& path) const;           // atomically; throws std::runtime_error on failure

private:
    struct Face {
        int position[3];
        int uv[3];
        int normal[3];
    };
    struct Group {
        std::string name;
        std::vector<Face> faces;
    };

    // Index (1-based) of `text` in `lines`, appending it when new.
    int Intern(std::map<std::string, int>& index, std::vector<std::string>& lines, const std::string& text);

    std::string comment;
    std::map<std::string, int> positionIndex, uvIndex, normalIndex;
    std::vector<std::string> positionLines, uvLines, normalLines;
    std::vector<Group> groups;
    int triangleCount = 0;
};

std::string FormatNumber(double value);  // shortest fixed text with at most 6 decimals; never "-0"
// Common::WriteFilesAtomically for the tools, which report by exception: std::runtime_error
// "cannot write PATH: reason", and nothing changes at any of the paths.
void WriteFileAtomically(const std::string& path, const std::string& text);
void WriteFilesAtomically(const std::vector<std::pair<std::string, std::string>>& files);

}  // namespace AssetGenerator

// The checker's room walks (CheckRoomWalks: every wall and corner approached, every floor seam
// stood on) over generated pillar rooms of about 5,000 and 80,000 faces: a floor of square tiles,
// one face each, with a pillar (four sides and a top) on each but the one under the spawn point.
// Their time should grow with the faces, no faster.
#include "engine/assets/model_conversion.h"
#include "stagewalk_check/diagnostics.h"
#include "stagewalk_check/obj_layout.h"
#include "stagewalk_check/walk_check.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

namespace {

struct PillarRoom {
    std::string text;
    size_t faces = 0;
};

// At least `faces` faces, in model units, centred on the spawn point's tile.
PillarRoom MakePillarRoom(size_t faces) {
    const double tile = 0.5, half = 0.0625, height = 0.25;
    const long side = static_cast<long>(std::ceil(std::sqrt(static_cast<double>(faces) / 6.0)));
    PillarRoom room{"o Pillars\n", 0};
    std::string& text = room.text;
    long vertices = 0;
    char line[128];
    auto corner = [&](double x, double y, double z) {
        std::snprintf(line, sizeof line, "v %.6f %.6f %.6f\n", x, y, z);
        text += line;
        return ++vertices;
    };
    auto face = [&](std::initializer_list<long> corners) {
        ++room.faces;
        text += "f";
        for (long c : corners) text += " " + std::to_string(c);
        text += "\n";
    };
    for (long i = 0; i < side; ++i) {
        for (long j = 0; j < side; ++j) {
            const double x = (static_cast<double>(i - side / 2)) * tile,
                         z = -1.875 + (static_cast<double>(j - side / 2)) * tile;
            const long a = corner(x - tile / 2, 0, z - tile / 2), b = corner(x - tile / 2, 0, z + tile / 2);
            const long c = corner(x + tile / 2, 0, z + tile / 2), d = corner(x + tile / 2, 0, z - tile / 2);
            face({a, b, c, d});
            if (i == side / 2 && j == side / 2) continue;  // the spawn point's tile
            long low[4], high[4];
            const double dx[4] = {-half, half, half, -half}, dz[4] = {-half, -half, half, half};
            for (int k = 0; k < 4; ++k) low[k] = corner(x + dx[k], 0, z + dz[k]);
            for (int k = 0; k < 4; ++k) high[k] = corner(x + dx[k], height, z + dz[k]);
            face({high[0], high[3], high[2], high[1]});
            for (int k = 0; k < 4; ++k) face({low[k], high[k], high[(k + 1) % 4], low[(k + 1) % 4]});
        }
    }
    return room;
}

void CheckerPillarRoom(benchmark::State& state) {
    const PillarRoom pillars = MakePillarRoom(static_cast<size_t>(state.range(0)));
    const std::unique_ptr<Engine::ModelData> room(Engine::ConvertObjFromMemory(pillars.text, "pillars.obj"));
    const StagewalkCheck::ObjLayout layout(pillars.text, *room);
    size_t findings = 0;
    for (auto _ : state) {
        StagewalkCheck::Diagnostics out;
        StagewalkCheck::CheckRoomWalks(*room, layout, "pillars.obj", out);
        findings = out.All().size();
    }
    state.counters["faces"] = static_cast<double>(pillars.faces);
    state.counters["triangles"] = static_cast<double>((*room)[0]->positions.size() / 9);
    state.counters["findings"] = static_cast<double>(findings);
}

BENCHMARK(CheckerPillarRoom)->Arg(5000)->Arg(80000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();

// Loader benchmarks: the tile-map loader and the OBJ conversion, each against its library doing only
// its own part on the same generated file, at 1x, 2x and 4x the input size so that growth shows.
// Fixture files are written once per size into a temporary directory removed at exit.
#include "engine/assets/model_conversion.h"
#include "tmxparser/tmxparser.h"

#include <benchmark/benchmark.h>
#include <tiny_obj_loader.h>
#include <rapidxml/rapidxml.hpp>

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class BenchDir {
public:
    BenchDir() {
        std::string pattern = (fs::temp_directory_path() / "stagewalk-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a benchmark directory");
        path = pattern;
    }
    ~BenchDir() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    fs::path path;
};

// Writes the file made by `make` once per name and returns its path and size.
std::pair<std::string, std::size_t> Fixture(const std::string& name, std::string (*make)(int), int scale) {
    static BenchDir dir;
    static std::map<std::string, std::pair<std::string, std::size_t>> made;
    const std::string key = name + std::to_string(scale);
    auto found = made.find(key);
    if (found != made.end()) return found->second;
    const std::string content = make(scale);
    const std::string file = (dir.path / key).string();
    std::ofstream(file, std::ios::binary) << content;
    return made[key] = {file, content.size()};
}

// A 1000-column CSV layer of 1000 * scale rows.
std::string MakeTmx(int scale) {
    const int columns = 1000, rows = 1000 * scale;
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map width=\"" + std::to_string(columns) +
                      "\" height=\"" + std::to_string(rows) +
                      "\">\n<layer name=\"ground\"><data encoding=\"csv\">\n";
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) {
            xml += std::to_string((x * 7 + y * 13) % 4096 + 1);
            if (x + 1 < columns || y + 1 < rows) xml += ',';
        }
        xml += '\n';
    }
    return xml + "</data></layer>\n</map>\n";
}

// A grid of 224 * scale by 224 quads, written as two v/vt/vn triangles each (about 100 000 per scale).
std::string MakeObj(int scale) {
    const int columns = 224, rows = 224 * scale;
    std::string obj;
    for (int z = 0; z <= rows; ++z) {
        for (int x = 0; x <= columns; ++x) {
            obj += "v " + std::to_string(x) + " " + std::to_string((x * z) % 7 * 0.0123) + " " +
                   std::to_string(z) + "\n";
            obj += "vt " + std::to_string(x / 224.0) + " " + std::to_string(z / 224.0) + "\n";
            obj += "vn 0 1 0\n";
        }
    }
    for (int z = 0; z < rows; ++z) {
        for (int x = 0; x < columns; ++x) {
            const int a = z * (columns + 1) + x + 1, b = a + 1, c = a + columns + 1, d = c + 1;
            const int corners[6] = {a, b, d, a, d, c};
            for (int i = 0; i < 6; ++i) {
                const std::string n = std::to_string(corners[i]);
                obj += (i % 3 == 0 ? "f " : " ") + n + "/" + n + "/" + n + (i % 3 == 2 ? "\n" : "");
            }
        }
    }
    return obj;
}

void LoadTmxMap(benchmark::State& state) {
    const auto [path, size] = Fixture("map", MakeTmx, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::unique_ptr<TmxParser::TmxMap> map(TmxParser::LoadTmxMap(path));
        if (!map) state.SkipWithError(TmxParser::GetError().c_str());
        benchmark::DoNotOptimize(map.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
    state.SetComplexityN(static_cast<int64_t>(size));
}

// The least a loader has to do: read the file, parse it with rapidxml, convert every number.
void RapidxmlAndFromChars(benchmark::State& state) {
    const auto [path, size] = Fixture("map", MakeTmx, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        std::vector<char> buffer(size + 1, '\0');
        in.read(buffer.data(), static_cast<std::streamsize>(size));
        rapidxml::xml_document<char> doc;
        doc.parse<0>(buffer.data());
        const rapidxml::xml_node<char>* data = doc.first_node()->first_node("layer")->first_node("data");
        std::vector<uint32_t> tiles;
        tiles.reserve(static_cast<std::size_t>(state.range(0)) * 1000 * 1000);
        const char* p = data->value();
        const char* const end = p + data->value_size();
        while (p < end) {
            int value = 0;
            const auto result = std::from_chars(p, end, value);
            if (result.ec == std::errc()) tiles.push_back(static_cast<uint32_t>(value));
            p = result.ptr + 1;  // past the comma or line break
            while (p < end && (*p == '\n' || *p == ',')) ++p;
        }
        benchmark::DoNotOptimize(tiles.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
    state.SetComplexityN(static_cast<int64_t>(size));
}

void ConvertObj(benchmark::State& state) {
    const auto [path, size] = Fixture("model", MakeObj, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::unique_ptr<Engine::ModelData> model(Engine::ConvertObj(path));
        benchmark::DoNotOptimize(model.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
    state.SetComplexityN(static_cast<int64_t>(size));
}

void TinyobjLoadObj(benchmark::State& state) {
    const auto [path, size] = Fixture("model", MakeObj, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        tinyobj::attrib_t attrib;
        std::vector<tinyobj::shape_t> shapes;
        std::vector<tinyobj::material_t> materials;
        std::string warn, err;
        if (!tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, path.c_str(), nullptr, true)) {
            state.SkipWithError(err.c_str());
        }
        benchmark::DoNotOptimize(shapes.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
    state.SetComplexityN(static_cast<int64_t>(size));
}

BENCHMARK(LoadTmxMap)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(RapidxmlAndFromChars)
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(ConvertObj)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(TinyobjLoadObj)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();

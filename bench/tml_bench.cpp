// Reading tml documents from memory: 10 KB, 1 MB and 10 MB of realistic markup (a header, comment
// lines, nested nodes, attributes with plain and quoted values, tab indentation, a few statements
// sharing a line), and 1, 2 and 4 MB to show that reading grows linearly.
#include "markup/tml_reader.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

namespace {

std::string MakeDocument(size_t bytes) {
    std::string text = "@ tangly-ml-v-020\n# generated for reading benchmarks\n";
    unsigned n = 0;
    while (text.size() < bytes) {
        const std::string id = std::to_string(n++);
        text += "{ level" + id + "\n";
        text += "\t# a comment line inside the level\n";
        text += "\t! name \"Level number " + id + " of the city\"\n";
        text += "\t! gravity 0.5\n\t! fog 7.5\n";
        for (int room = 0; room < 4; ++room) {
            text += "\t{ room\n";
            text += "\t\t! model room" + std::to_string(room) + ".obj\n";
            text += "\t\t! title \"A room with a view; and a long quoted title\"\n";
            text += "\t\t{ light\n\t\t\t! color 1.0,0.9,0.8\n\t\t\t! range 12\n\t\t}\n";
            text += "\t\t{ spawn ; ! x " + std::to_string(room * 3) + " ; ! z -15 ; }\n";
            text += "\t}\n";
        }
        text += "}\n";
    }
    return text;
}

const std::string& Document(size_t bytes) {
    static std::map<size_t, std::string> made;
    std::string& text = made[bytes];
    if (text.empty()) text = MakeDocument(bytes);
    return text;
}

void TmlParse(benchmark::State& state) {
    const std::string& text = Document(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        std::unique_ptr<Tml::Document> document(Tml::ParseDocument(text, "bench.tml"));
        benchmark::DoNotOptimize(document.get());
        // Releasing the tree is not reading; it is timed on its own below.
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.SetComplexityN(static_cast<int64_t>(text.size()));
}

// Reading and releasing together, for comparison with the reading alone.
void TmlParseAndRelease(benchmark::State& state) {
    const std::string& text = Document(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        std::unique_ptr<Tml::Document> document(Tml::ParseDocument(text, "bench.tml"));
        benchmark::DoNotOptimize(document.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

BENCHMARK(TmlParseAndRelease)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(TmlParse)->Arg(10 << 10)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(TmlParse)
    ->Name("TmlParseScaling")
    ->Arg(1 << 20)
    ->Arg(2 << 20)
    ->Arg(4 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

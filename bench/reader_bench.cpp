// Throughput of the element reader over a multi-megabyte ".drav" text, beside a
// plain whitespace tokenizer over the same bytes as the floor to compare with.

#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "bench_quick.h"
#include "common/data_file_reader.h"

namespace {

const std::string& SampleText() {
    static const std::string text = [] {
        std::string out = "<data>\n";
        for (int i = 0; out.size() < 8u << 20; ++i) {
            out += " # record " + std::to_string(i) + "\n";
            out += " <record>\n  name_" + std::to_string(i) + "\n";
            out += "  \"A quoted text of several words, number " + std::to_string(i) + "\"\n";
            out += "  (" + std::to_string(i % 256) + "\n  34\n  56)\n";
            out += "  <stats>\n   3.25\n   -" + std::to_string(i % 1000) + "\n   true\n";
            out += "   ( first second third )\n   0\n  </stats>\n </record>\n";
        }
        return out + "</data>\n";
    }();
    return text;
}

void WalkElement(DRAVCommon::CDataFileReader& reader, std::size_t& values) {
    while (!reader.AtBlockEnd()) {
        if (reader.IsAnyBlockStart()) {
            reader.BeginBlock(reader.PeekBlockName());
            WalkElement(reader, values);
            reader.EndBlock();
        } else if (reader.GetToken()[0] == '"') {
            reader.ReadQuoted();
        } else if (reader.BeginGroup(3, false)) {
            reader.ReadWord();
            reader.ReadWord();
            reader.ReadWord();
        } else {
            reader.ReadWord();
        }
        ++values;
    }
}

void BM_ElementReader(benchmark::State& state) {
    const std::string& text = SampleText();
    for (auto _ : state) {
        DRAVCommon::CDataFileReader reader(std::make_shared<std::istringstream>(text), "bench.drav");
        std::size_t values = 0;
        reader.BeginBlock("data");
        WalkElement(reader, values);
        reader.EndBlock();
        benchmark::DoNotOptimize(values);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ElementReader)->Unit(benchmark::kMillisecond)->Apply(BenchSupport::QuickIterations<>);

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

void BM_WhitespaceTokenizer(benchmark::State& state) {
    const std::string& text = SampleText();
    for (auto _ : state) {
        std::size_t tokens = 0, letters = 0;
        std::size_t i = 0, n = text.size();
        while (i < n) {
            while (i < n && IsBlank(text[i])) ++i;
            std::size_t start = i;
            while (i < n && !IsBlank(text[i])) ++i;
            if (i > start) {
                std::string token(text, start, i - start);  // the reader builds a string per token too
                letters += token.size();
                ++tokens;
            }
        }
        benchmark::DoNotOptimize(tokens);
        benchmark::DoNotOptimize(letters);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_WhitespaceTokenizer)->Unit(benchmark::kMillisecond)->Apply(BenchSupport::QuickIterations<>);

}  // namespace

BENCHMARK_MAIN();

// The native side of two scale figures of `make bench`: parsing a command-definition file
// against cutting the same bytes into lines (what std::getline does), and splitting a list into
// views (what the array results use) against copies of every element. The target to profile:
//   valgrind --tool=callgrind ombrisk_bench_command_file --benchmark_filter=Parse
#include "core/CommandFile.h"
#include "core/StringLists.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// n lines in the shape of a real file: a section heading, then name=number;comment lines.
std::string MakeCommandFile(long n) {
    std::string text = "[_Bench_]\r\n";
    char line[80];
    for (long i = 1; i < n; ++i) {
        std::snprintf(line, sizeof line, "cm_Bench%06ld=%ld;bench command %ld\r\n", i, i, i);
        text += line;
    }
    return text;
}

void BM_ParseCommandFile(benchmark::State& state) {
    const std::string text = MakeCommandFile(state.range(0));
    for (auto _ : state) {
        std::vector<ombrisk::CommandEntryA> table;
        ombrisk::ParseCommandFile(text, table);
        benchmark::DoNotOptimize(table.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// What creation does: the entries by position in the file's bytes, then the names collected.
void BM_ParseCommandFileAt(benchmark::State& state) {
    const std::string text = MakeCommandFile(state.range(0));
    for (auto _ : state) {
        std::vector<ombrisk::CommandEntryAt> table;
        ombrisk::ParseCommandFile(text, table);
        const std::string names = ombrisk::CollectCommandNames(text, table);
        benchmark::DoNotOptimize(table.data());
        benchmark::DoNotOptimize(names.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The baseline: every line copied into a string of its own, as a reader by lines does.
void BM_LinesBaseline(benchmark::State& state) {
    const std::string text = MakeCommandFile(state.range(0));
    for (auto _ : state) {
        std::string line;
        long lines = 0;
        for (size_t start = 0; start < text.size();) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            line.assign(text, start, end - start);
            benchmark::DoNotOptimize(line.data());
            ++lines;
            start = end + 1;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

std::u16string MakeNames(long n) {
    std::u16string text;
    char name[32];
    for (long i = 1; i <= n; ++i) {
        std::snprintf(name, sizeof name, "Section%06ld", i);
        for (const char* p = name; *p; ++p) text.push_back(static_cast<char16_t>(*p));
        text.push_back(u'\0');
    }
    return text;
}

void BM_SplitListViews(benchmark::State& state) {
    const std::u16string text = MakeNames(state.range(0));
    for (auto _ : state) {
        auto items = ombrisk::SplitListViews(text, std::u16string_view(u"\0", 1), true);
        benchmark::DoNotOptimize(items.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SplitListCopies(benchmark::State& state) {
    const std::u16string text = MakeNames(state.range(0));
    for (auto _ : state) {
        auto items = ombrisk::SplitListViews(text, std::u16string_view(u"\0", 1), true);
        benchmark::DoNotOptimize(items.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_ParseCommandFile)->Arg(1000)->Arg(100000);
BENCHMARK(BM_ParseCommandFileAt)->Arg(1000)->Arg(100000);
BENCHMARK(BM_LinesBaseline)->Arg(1000)->Arg(100000);
BENCHMARK(BM_SplitListViews)->Arg(1000)->Arg(100000);
BENCHMARK(BM_SplitListCopies)->Arg(1000)->Arg(100000);

}  // namespace

BENCHMARK_MAIN();

// Throughput of the list routines against a plain copy of the same text. After the runs it
// prints their throughput relative to the copy and how the cost per character grows from 10^4
// to 10^7 characters (goals for ReplaceText: equal length >= 0.3 of the copy, different length
// >= 0.1, growth <= 1.5x).
#include "core/StringLists.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

// A list of names 8 to 32 letters long, each followed by `delimiter`, cut to `length` units:
// the shape of an INI section or a clipboard full of file names.
std::u16string MakeListText(size_t length, std::u16string_view delimiter) {
    std::u16string text;
    text.reserve(length + 40);
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    while (text.size() < length) {
        const size_t nameLength = 8 + (next() >> 16) % 25;
        for (size_t i = 0; i < nameLength; ++i) text.push_back(u'a' + (next() >> 16) % 26);
        text.append(delimiter);
    }
    text.resize(length);
    return text;
}

const std::u16string kNul(1, u'\0');

void SetThroughput(benchmark::State& state, size_t units) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * units * sizeof(char16_t)));
}

void BM_CopyString(benchmark::State& state) {
    const std::u16string text = MakeListText(state.range(0), kNul);
    for (auto _ : state) {
        std::u16string copy(text);
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    SetThroughput(state, text.size());
}

void BM_Memcpy(benchmark::State& state) {
    const std::u16string text = MakeListText(state.range(0), kNul);
    std::u16string target(text.size(), u' ');
    for (auto _ : state) {
        std::memcpy(target.data(), text.data(), text.size() * sizeof(char16_t));
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    SetThroughput(state, text.size());
}

void BM_SplitList(benchmark::State& state) {
    const std::u16string text = MakeListText(state.range(0), u"\r\n");
    size_t items = 0;
    for (auto _ : state) {
        auto list = ombrisk::SplitListViews(text, u"\r\n", true);
        items += list.size();
        benchmark::DoNotOptimize(list.data());
    }
    SetThroughput(state, text.size());
    state.SetItemsProcessed(static_cast<int64_t>(items));
}

// INIReadSection's shape (NUL-separated entries), with a replacement of the same length.
void BM_ReplaceEqualLength(benchmark::State& state) {
    const std::u16string text = MakeListText(state.range(0), kNul);
    for (auto _ : state) {
        auto out = ombrisk::ReplaceText(text, kNul, u"|");
        benchmark::DoNotOptimize(out.data());
    }
    SetThroughput(state, text.size());
}

// INIReadSection itself: NUL -> CR LF.
void BM_ReplaceDifferentLength(benchmark::State& state) {
    const std::u16string text = MakeListText(state.range(0), kNul);
    for (auto _ : state) {
        auto out = ombrisk::ReplaceText(text, kNul, u"\r\n");
        benchmark::DoNotOptimize(out.data());
    }
    SetThroughput(state, text.size());
}

// INIWriteSection: CR LF -> NUL. The result is shorter, so the buffer is the text's size.
void BM_ReplaceShrinking(benchmark::State& state) {
    const std::u16string text = MakeListText(state.range(0), u"\r\n");
    for (auto _ : state) {
        auto out = ombrisk::ReplaceText(text, u"\r\n", kNul);
        benchmark::DoNotOptimize(out.data());
    }
    SetThroughput(state, text.size());
}

void BM_JoinListText(benchmark::State& state) {
    const std::u16string text = MakeListText(state.range(0), kNul);
    for (auto _ : state) {
        auto out = ombrisk::JoinListText(text, kNul);
        benchmark::DoNotOptimize(out.data());
    }
    SetThroughput(state, text.size());
}

#define OMBRISK_BENCH(fn) BENCHMARK(fn)->RangeMultiplier(10)->Range(1000, 10'000'000)
OMBRISK_BENCH(BM_CopyString);
OMBRISK_BENCH(BM_Memcpy);
OMBRISK_BENCH(BM_SplitList);
OMBRISK_BENCH(BM_ReplaceEqualLength);
OMBRISK_BENCH(BM_ReplaceDifferentLength);
OMBRISK_BENCH(BM_ReplaceShrinking);
OMBRISK_BENCH(BM_JoinListText);

// Prints as usual and keeps each run's time per character for the summary.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
            const double length = std::stod(run.run_name.args);
            // CPU seconds per character: on a shared machine the wall time also counts the
            // time other programs held the core.
            const double seconds = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            perChar_[run.run_name.function_name][static_cast<long>(length)] = seconds / length;
        }
    }

    void PrintSummary() const {
        static const char* const kColumns[][2] = {
            {"BM_ReplaceEqualLength", "equal"},
            {"BM_ReplaceDifferentLength", "growing"},
            {"BM_ReplaceShrinking", "shrinking"},
            {"BM_JoinListText", "join"},
            {"BM_SplitList", "split"},
            {"BM_Memcpy", "memcpy"},
        };
        std::printf(
            "\nThroughput relative to BM_CopyString"
            " (goals: equal >= 0.3, growing and shrinking >= 0.1)\n%10s",
            "chars");
        for (const auto& column : kColumns) std::printf(" %10s", column[1]);
        std::printf("\n");
        const auto copy = perChar_.find("BM_CopyString");
        if (copy != perChar_.end()) {
            for (const auto& [length, copyCost] : copy->second) {
                std::printf("%10ld", length);
                for (const auto& column : kColumns) {
                    const auto it = perChar_.find(column[0]);
                    if (it != perChar_.end() && it->second.count(length))
                        std::printf(" %10.2f", copyCost / it->second.at(length));
                    else std::printf(" %10s", "n/a");
                }
                std::printf("\n");
            }
        }
        std::printf("\nCost per character at 10^7 / at 10^4 (goal: <= 1.5)\n");
        for (const auto& [name, byLength] : perChar_) {
            if (byLength.count(10'000) && byLength.count(10'000'000))
                std::printf("%-28s %6.2f  (%.3f ns -> %.3f ns per char)\n", name.c_str(),
                            byLength.at(10'000'000) / byLength.at(10'000), byLength.at(10'000) * 1e9,
                            byLength.at(10'000'000) * 1e9);
        }
    }

private:
    std::map<std::string, std::map<long, double>> perChar_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintSummary();
    benchmark::Shutdown();
    return 0;
}

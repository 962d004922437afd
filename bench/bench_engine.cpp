// The engine from four texts to every text the window shows, and each number
// service alone, in nanoseconds per operation.

#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "checks/input_checks.h"
#include "engine/judge.h"
#include "numbers/number_text.h"

using namespace ambrelay;

namespace {

// Varied counts, as typed: worked examples, grouped numbers, fractions.
const std::array<CountTexts, 6> kInputs = {{
    {"1000", "100", "1000", "130"},
    {"1000", "120", "1000", "100"},
    {"200", "30", "180", "20"},
    {"12,500", "1,250", "12,500", "1,625"},
    {"1e6", "100000", "1e6", "100001"},
    {"12.5", "2", "1000", "130"},
}};

void FullPath(benchmark::State& state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        const CountTexts& in = kInputs[i++ % kInputs.size()];
        bool stopped = RunInputChecks(in).has_value();
        if (!stopped) {
            Judgement judgement = Judge(ReadCounts(in));
            benchmark::DoNotOptimize(judgement);
        }
        benchmark::DoNotOptimize(stopped);
    }
}
BENCHMARK(FullPath);

void IsNumericAlone(benchmark::State& state)
{
    const std::string text = "1,234,567.5";
    for (auto _ : state) {
        benchmark::DoNotOptimize(IsNumeric(text));
    }
}
BENCHMARK(IsNumericAlone);

void ReadNumberAlone(benchmark::State& state)
{
    const std::string text = "12,500";
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadNumber(text));
    }
}
BENCHMARK(ReadNumberAlone);

void RoundDecimalAlone(benchmark::State& state)
{
    double x = 0.0178599999999999;
    for (auto _ : state) {
        benchmark::DoNotOptimize(RoundDecimal(x, 5));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(RoundDecimalAlone);

void NumberToTextAlone(benchmark::State& state)
{
    double x = 98.21399999999999;
    for (auto _ : state) {
        benchmark::DoNotOptimize(NumberToText(x));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(NumberToTextAlone);

}  // namespace

BENCHMARK_MAIN();

// The engine from four texts to every text the window shows, and each number
// service alone, in nanoseconds per operation.

#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "checks/input_checks.h"
#include "engine/calculation.h"
#include "engine/result_display.h"
#include "numbers/number_text.h"

using namespace ambrelay;

namespace {

// Varied counts, as typed: worked examples, grouped numbers, fractions.
const std::array<InputTexts, 6> kInputs = {{
    {"1000", "1000", "100", "130"},
    {"1000", "1000", "120", "100"},
    {"200", "180", "30", "20"},
    {"12,500", "12,500", "1,250", "1,625"},
    {"1e6", "1e6", "100000", "100001"},
    {"12.5", "1000", "2", "130"},
}};

void FullPath(benchmark::State& state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        const InputTexts& in = kInputs[i++ % kInputs.size()];
        bool stopped = CheckBlanks(in).failed || CheckInverse(in).failed || CheckNumerics(in).failed;
        if (!stopped) {
            const ZStatOutcome outcome = Calculate(ReadNumber(in.views1), ReadNumber(in.responses1),
                                                   ReadNumber(in.views2), ReadNumber(in.responses2));
            if (!outcome.failure) {
                ResultTexts texts = TextsOf(outcome.result);
                benchmark::DoNotOptimize(texts);
                benchmark::DoNotOptimize(MarkerForShownRatios(texts.ratio1, texts.ratio2));
                benchmark::DoNotOptimize(outcome.result.VerdictText.data());
            }
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

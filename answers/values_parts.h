#pragma once
// A frame of values too large for one machine, read in parts (a cluster's
// partitions) and never gathered: each part's rows summarised apart, test
// by test, into what merges (counts, sums and co-moments), and the parts
// merged in their order into what one reading of every row gives. Caps at
// pooled percentiles take three passes over the rows: the first counts the
// values in buckets of their bit patterns, the second gathers the values of
// the buckets that hold the ranks, the third summarises the values capped.
// Without caps one pass does.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <string_view>
#include <vector>

#include "answers/values_frame.h"
#include "engine/quantile_in_parts.h"

namespace ambrelay {

enum class ValuesPass : std::uint8_t { Count, Gather, Summarise };

class ValuesParts {
public:
    // A part of the first pass.
    explicit ValuesParts(const ValuesRequest& request);

    // The rows of a part, counted on from the rows it read before; every
    // pass reads the same rows in the same parts.
    void Read(const tables::ValuesFrame& frame, const tables::FrameLabels* tests, const ValuesRequest& request);
    // The part after this one: its rows counted on from these.
    void Merge(const ValuesParts& later);

    ValuesPass Pass() const { return pass_; }
    // Whether these parts, every one of a pass merged, hold the answers.
    bool Last() const { return pass_ == ValuesPass::Summarise; }
    // An empty part of the next pass, from every part of this pass merged:
    // the labels found, and the buckets to gather or the caps found.
    ValuesParts Next(const ValuesRequest& request) const;
    // Every test answered, once every part of the last pass is merged.
    std::vector<FrameTest> Answers(const ValuesRequest& request) const;

    // RowsChangedBetweenPasses when this pass read other rows than the
    // first: a frame read anew for each pass that changed meanwhile.
    std::optional<Problem> RowsChanged() const;

    std::string ToBytes() const;
    // Nothing for bytes that another build (or nothing of this kind) wrote,
    // or that do not hang together.
    static std::optional<ValuesParts> FromBytes(std::string_view bytes);

private:
    ValuesParts() = default;

    // One cap's percentile among the values counted: where it lies, and
    // the buckets that hold its two values.
    struct CapRanks {
        bool counted = false;  // some value counts: the cap has a value
        QuantilePlace place;
        BucketCounts::Holder low, high;

        template <typename Visit>
        void Fields(Visit& visit)
        {
            visit(counted, place, low, high);
        }
    };

    struct TestPart {
        std::string label;
        tables::ValuesTally tally{"", ""};
        ValuesCollector values{false, CapRequest{}, false};   // summarised
        std::vector<BucketCounts> valueCounts, covariateCounts;  // counted, by version
        BucketValues valuesGathered, covariatesGathered;         // gathered
        std::array<CapRanks, 3> ranks{};                         // upper, lower, the covariate's

        template <typename Visit>
        void Fields(Visit& visit)
        {
            visit(label, tally, values, valueCounts, covariateCounts, valuesGathered, covariatesGathered, ranks);
        }
    };

    std::size_t TestOf(std::string_view label);
    bool Whole() const;

    ValuesPass pass_ = ValuesPass::Summarise;
    std::size_t rows_ = 0;
    std::optional<std::size_t> firstRows_;  // the rows of the first pass, from the second on
    TestPart blank_;  // a test met for the first time starts as this
    std::vector<TestPart> tests_;
    std::unordered_map<std::string, std::size_t> places_;  // of tests_, by label: found at once

public:
    template <typename Visit>
    void Fields(Visit& visit)
    {
        visit(pass_, rows_, firstRows_, blank_, tests_);
    }
};

}  // namespace ambrelay

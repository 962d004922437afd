#include "answers/values_parts.h"

#include <algorithm>
#include <numeric>

#include "answers/part_bytes.h"

namespace ambrelay {
namespace {

// The caps' percents, in the order of the ranks: upper, lower, the covariate's.
std::array<std::optional<double>, 3> PercentsOf(const tables::ValuesLayout& layout)
{
    const CapRequest& caps = layout.caps;
    return {caps.upperPercent, caps.lowerPercent,
            layout.Covariate() ? caps.covariateUpperPercent : std::optional<double>()};
}

constexpr std::string_view kBytesMark = "ambrelay values parts 2\n";

}  // namespace

ValuesParts::ValuesParts(const ValuesRequest& request)
{
    const tables::ValuesLayout& layout = request.layout;
    const auto percents = PercentsOf(layout);
    const bool caps = std::any_of(percents.begin(), percents.end(), [](const auto& p) { return p.has_value(); });
    pass_ = caps ? ValuesPass::Count : ValuesPass::Summarise;
    blank_.tally = tables::ValuesTally::ForPart(layout.group, layout.control);
    blank_.values = ValuesCollector(layout.Ratio(), layout.caps, layout.Covariate());
}

std::size_t ValuesParts::TestOf(std::string_view label)
{
    if (places_.size() != tests_.size()) {
        // Parts read from bytes or seeded for the next pass find their tests anew.
        places_.clear();
        for (std::size_t t = 0; t < tests_.size(); ++t) {
            places_.emplace(tests_[t].label, t);
        }
    }
    const auto [at, added] = places_.emplace(std::string(label), tests_.size());
    if (added) {
        tests_.push_back(blank_);
        tests_.back().label = label;
    }
    return at->second;
}

bool ValuesParts::Whole() const
{
    const auto whole = [](const TestPart& t) {
        return t.tally.Whole() && t.valueCounts.size() == t.covariateCounts.size()
               && t.valueCounts.size() <= t.tally.Labels().size() && t.values.Versions() <= t.tally.Labels().size();
    };
    return pass_ <= ValuesPass::Summarise && whole(blank_) && std::all_of(tests_.begin(), tests_.end(), whole);
}

std::optional<Problem> ValuesParts::RowsChanged() const
{
    if (!firstRows_ || *firstRows_ == rows_) {
        return std::nullopt;
    }
    Problem problem(Reason::RowsChangedBetweenPasses);
    problem.count = rows_;
    problem.expected = *firstRows_;
    return problem;
}

void ValuesParts::Read(const tables::ValuesFrame& frame, const tables::FrameLabels* tests,
                       const ValuesRequest& request)
{
    const TestPlaces places(tests, frame.rows);
    // A test met from now on says its problems as a frame's, or as one test's of many.
    blank_.tally.Source(tests ? NameKind::None : NameKind::Argument);
    std::vector<std::size_t> testAt;
    for (std::size_t t = 0; t < places.Size(); ++t) {
        testAt.push_back(TestOf(places.Label(t)));
    }
    const bool ignoreZeros = request.layout.caps.ignoreZeros;
    const auto percents = PercentsOf(request.layout);
    const bool valueCaps = percents[0] || percents[1], covariateCap = percents[2].has_value();
    const auto counts = [ignoreZeros](double x) { return !(ignoreZeros && x == 0); };
    for (std::size_t row = 0; row < frame.rows; ++row) {
        TestPart& test = tests_[testAt[places.Of(row)]];
        const tables::RowCells cells = frame.Cells(row);
        const auto version = test.tally.Add(tables::LineOfRow(rows_ + row), frame.group.At(row), cells);
        if (!version) {
            continue;
        }
        const double value = *cells.cells[0], covariate = *cells.cells[2];
        switch (pass_) {
        case ValuesPass::Count:
            if (test.valueCounts.size() <= *version) {
                test.valueCounts.resize(*version + 1);
                test.covariateCounts.resize(*version + 1);
            }
            if (valueCaps && counts(value)) {
                test.valueCounts[*version].Add(value);
            }
            if (covariateCap && counts(covariate)) {
                test.covariateCounts[*version].Add(covariate);
            }
            break;
        case ValuesPass::Gather:
            if (counts(value)) {
                test.valuesGathered.Add(value);
            }
            if (covariateCap && counts(covariate)) {
                test.covariatesGathered.Add(covariate);
            }
            break;
        case ValuesPass::Summarise:
            test.values.Add(*version, value, *cells.cells[1], covariate, *cells.cells[3]);
            break;
        }
    }
    rows_ += frame.rows;
}

void ValuesParts::Merge(const ValuesParts& later)
{
    for (const TestPart& from : later.tests_) {
        TestPart& into = tests_[TestOf(from.label)];
        const std::vector<std::size_t> placeOf = into.tally.Merge(from.tally, static_cast<long>(rows_));
        switch (pass_) {
        case ValuesPass::Count:
            for (std::size_t v = 0; v < from.valueCounts.size(); ++v) {
                if (placeOf[v] == kNoPlace) {
                    continue;  // its rows are left out
                }
                if (into.valueCounts.size() <= placeOf[v]) {
                    into.valueCounts.resize(placeOf[v] + 1);
                    into.covariateCounts.resize(placeOf[v] + 1);
                }
                into.valueCounts[placeOf[v]].Merge(from.valueCounts[v]);
                into.covariateCounts[placeOf[v]].Merge(from.covariateCounts[v]);
            }
            break;
        case ValuesPass::Gather:
            into.valuesGathered.Merge(from.valuesGathered);
            into.covariatesGathered.Merge(from.covariatesGathered);
            break;
        case ValuesPass::Summarise:
            into.values.Merge(from.values, placeOf);
            break;
        }
    }
    rows_ += later.rows_;
}

ValuesParts ValuesParts::Next(const ValuesRequest& request) const
{
    const tables::ValuesLayout& layout = request.layout;
    const auto percents = PercentsOf(layout);
    ValuesParts next;
    next.pass_ = pass_ == ValuesPass::Count ? ValuesPass::Gather : ValuesPass::Summarise;
    next.firstRows_ = firstRows_.value_or(rows_);
    next.blank_ = blank_;
    for (const TestPart& test : tests_) {
        TestPart seeded;
        seeded.label = test.label;
        // Every label the rows have is known now: one beyond the most a test compares stays left out.
        const std::vector<std::string> labels = test.tally.Trimmed().Labels();
        seeded.tally = tables::ValuesTally(layout.group, layout.control, labels);
        seeded.tally.Source(test.tally.Source());
        seeded.ranks = test.ranks;
        if (pass_ == ValuesPass::Count) {
            std::vector<std::uint32_t> buckets[2];
            for (std::size_t cap = 0; cap < percents.size(); ++cap) {
                if (!percents[cap]) {
                    continue;
                }
                const std::vector<BucketCounts>& counts = cap < 2 ? test.valueCounts : test.covariateCounts;
                std::vector<const BucketCounts*> lists;
                std::uint64_t total = 0;
                for (std::size_t v = 0; v < counts.size() && v < labels.size(); ++v) {
                    lists.push_back(&counts[v]);
                    total += counts[v].Total();
                }
                CapRanks& ranks = seeded.ranks[cap];
                ranks.counted = total > 0;
                if (!ranks.counted) {
                    continue;
                }
                ranks.place = PlaceOf(total, *percents[cap] / 100);
                ranks.low = BucketCounts::HolderOf(lists, ranks.place.low);
                ranks.high = ranks.place.fraction == 0 ? ranks.low : BucketCounts::HolderOf(lists, ranks.place.low + 1);
                buckets[cap < 2 ? 0 : 1].insert(buckets[cap < 2 ? 0 : 1].end(), {ranks.low.bucket, ranks.high.bucket});
            }
            seeded.valuesGathered = BucketValues(buckets[0]);
            seeded.covariatesGathered = BucketValues(buckets[1]);
        } else {
            std::optional<double> at[3];
            for (std::size_t cap = 0; cap < percents.size(); ++cap) {
                const CapRanks& ranks = test.ranks[cap];
                if (!percents[cap] || !ranks.counted) {
                    continue;
                }
                const std::vector<const BucketValues*> lists{cap < 2 ? &test.valuesGathered : &test.covariatesGathered};
                const double low = BucketValues::ValueAt(lists, ranks.low, ranks.place.low);
                const double high =
                    ranks.place.fraction == 0 ? low : BucketValues::ValueAt(lists, ranks.high, ranks.place.low + 1);
                at[cap] = Interpolated(low, high, ranks.place.fraction);
            }
            const FoundCaps found{CapsAt(at[0], at[1]), CapsAt(at[2], std::nullopt)};
            seeded.values = ValuesCollector(layout.Ratio(), layout.caps, layout.Covariate(), found);
        }
        next.tests_.push_back(std::move(seeded));
    }
    return next;
}

std::vector<FrameTest> ValuesParts::Answers(const ValuesRequest& request) const
{
    std::vector<FrameTest> answers;
    for (const TestPart& test : tests_) {
        const tables::ValuesTally tally = test.tally.Trimmed();
        ValuesCollector values = test.values;
        const std::size_t kept = tally.Labels().size(), met = test.tally.Labels().size();
        if (kept < met) {
            // Read in one pass without caps: the versions beyond the most compared are dropped.
            std::vector<std::size_t> placeOf(met, kNoPlace);
            std::iota(placeOf.begin(), placeOf.begin() + static_cast<std::ptrdiff_t>(kept), std::size_t{0});
            values = blank_.values;
            values.Merge(test.values, placeOf);
        }
        answers.push_back({test.label, AnswerOfTally(tally, values, request)});
    }
    return answers;
}

std::string ValuesParts::ToBytes() const
{
    std::string bytes(kBytesMark);
    BytesOut out(bytes);
    out(*this);
    return bytes;
}

std::optional<ValuesParts> ValuesParts::FromBytes(std::string_view bytes)
{
    if (!bytes.starts_with(kBytesMark)) {
        return std::nullopt;
    }
    bytes.remove_prefix(kBytesMark.size());
    ValuesParts parts;
    BytesIn in(bytes);
    in(parts);
    if (!in.Whole() || !parts.Whole()) {
        return std::nullopt;
    }
    return parts;
}

}  // namespace ambrelay

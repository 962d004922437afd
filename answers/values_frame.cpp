#include "answers/values_frame.h"

#include <limits>

namespace ambrelay {

TestPlaces::TestPlaces(const tables::FrameLabels* tests, std::size_t rows)
{
    if (!tests) {
        labels_.emplace_back();
        return;
    }
    constexpr std::size_t kUnmet = std::numeric_limits<std::size_t>::max();
    std::vector<std::size_t> byCode(tests->texts->size() + 1, kUnmet);  // a missing label's code last
    places_.resize(rows);
    for (std::size_t row = 0; row < rows; ++row) {
        const std::int64_t code = tests->codes[row];
        std::size_t& place = byCode[code < 0 ? byCode.size() - 1 : static_cast<std::size_t>(code)];
        if (place == kUnmet) {
            place = labels_.size();
            labels_.emplace_back(tests->At(row));
        }
        places_[row] = place;
    }
}

Outcome<ValuesAnswer> AnswerOfTally(const tables::ValuesTally& tally, ValuesCollector& values,
                                    const ValuesRequest& request)
{
    Outcome<tables::ValuesRead> read = tally.Finish();
    if (!read) {
        return read.Failure();
    }
    if (!read->versions) {
        read->result = values.Finish(read->labels.size());
    }
    return Recompared(ValuesAnswer{request, std::move(*read), Reason::NoValueRows}, request.options, request.family);
}

std::vector<FrameTest> CompareValuesFrame(const tables::ValuesFrame& frame, const tables::FrameLabels* tests,
                                          const ValuesRequest& request)
{
    const tables::ValuesLayout& layout = request.layout;
    const TestPlaces places(tests, frame.rows);
    std::vector<tables::ValuesTally> tallies;
    std::vector<ValuesCollector> values;
    for (std::size_t t = 0; t < places.Size(); ++t) {
        tallies.emplace_back(frame.group.name, layout.control);
        tallies.back().Source(tests ? NameKind::None : NameKind::Argument);
        values.emplace_back(layout.Ratio(), layout.caps, layout.Covariate());
    }
    for (std::size_t row = 0; row < frame.rows; ++row) {
        const std::size_t t = places.Of(row);
        const tables::RowCells cells = frame.Cells(row);
        if (const auto version = tallies[t].Add(tables::LineOfRow(row), frame.group.At(row), cells)) {
            values[t].Add(*version, *cells.cells[0], *cells.cells[1], *cells.cells[2], *cells.cells[3]);
        }
    }
    std::vector<FrameTest> answers;
    for (std::size_t t = 0; t < places.Size(); ++t) {
        answers.push_back({places.Label(t), AnswerOfTally(tallies[t], values[t], request)});
    }
    return answers;
}

}  // namespace ambrelay

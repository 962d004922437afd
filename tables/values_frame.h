#pragma once
// A frame's columns in the roles a file of values gives its columns (the
// version's label, the value or a ratio's two, the covariate or its two),
// each row read by a file's rules, so that a frame and a file of the same
// rows give the same answer. The memory is the caller's.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tables/values_tally.h"

namespace ambrelay::tables {

// A column of numbers (NaN blank) or of texts, read as a file's cells are.
struct FrameCells {
    const double* numbers = nullptr;
    const std::vector<std::string>* texts = nullptr;
    std::string name;

    // The cell at `row`, 0 when blank, as `blank` says; `absent` for a
    // column not given.
    Outcome<double> Read(std::size_t row, double absent, bool& blank) const;
};

// A column of labels as codes into their texts (as pandas factorises
// them): -1 for a missing label.
struct FrameLabels {
    const std::int64_t* codes = nullptr;
    const std::vector<std::string>* texts = nullptr;
    std::string name;

    std::string_view At(std::size_t row) const
    {
        const std::int64_t code = codes[row];
        return code < 0 ? std::string_view() : std::string_view((*texts)[static_cast<std::size_t>(code)]);
    }
};

struct ValuesFrame {
    std::size_t rows = 0;
    FrameLabels group;
    FrameCells value, denominator, covariate, covariateDenominator;  // only those the layout has

    // The row's cells as a file's row gives them.
    RowCells Cells(std::size_t row) const;
};

// A frame's row in a tally: a row's line is its place in the frame plus 1,
// as a file's first line is 1.
inline long LineOfRow(std::size_t row) { return static_cast<long>(row) + 1; }

}  // namespace ambrelay::tables

#include "tables/values_frame.h"

#include <cmath>

#include "checks/given_values.h"
#include "tables/table_reader.h"

namespace ambrelay::tables {

Outcome<double> FrameCells::Read(std::size_t row, double absent, bool& blank) const
{
    blank = false;
    if (numbers) {
        const double x = numbers[row];
        blank = std::isnan(x);
        return blank ? Outcome<double>(0.0) : GivenNumber(x, Origin::Column(name));
    }
    if (texts) {
        const std::string& text = (*texts)[row];
        blank = BlankCell(text);
        // Read as a script's texts are read by every function of the package:
        // a file's decimal mark is an option of the file, which a frame has not.
        return blank ? Outcome<double>(0.0) : ReadGiven(text, Origin::Column(name));
    }
    return absent;
}

RowCells ValuesFrame::Cells(std::size_t row) const
{
    RowCells cells;
    bool blank = false;
    cells.cells[0] = value.Read(row, 0, cells.valueBlank);
    cells.cells[1] = denominator.Read(row, 1, blank);
    cells.cells[2] = covariate.Read(row, 0, cells.covariateBlank);
    cells.cells[3] = covariateDenominator.Read(row, 1, blank);
    return cells;
}

}  // namespace ambrelay::tables

#include "tables/values_reading.h"

#include "tables/column_lookup.h"

namespace ambrelay::tables {
namespace {

// A file of values that the table reader cannot start on.
Problem FileProblem(Problem problem)
{
    if (problem.reason == Reason::EmptyTable) {
        problem.reason = Reason::EmptyValuesFile;
    }
    return problem;
}

}  // namespace

Outcome<std::vector<std::string>> ReadHeader(std::istream& in, const Dialect& dialect)
{
    TableReader reader(in, dialect);
    if (auto problem = reader.Start()) {
        return FileProblem(*problem);
    }
    return reader.Names();
}

Outcome<ValuesRead> ReadValues(std::istream& in, const ValuesLayout& o, const std::atomic<bool>* stop)
{
    TableReader reader(in, o.dialect);
    if (auto problem = reader.Start()) {
        return FileProblem(*problem);
    }
    const std::vector<std::string>& names = reader.Names();
    const bool ratio = o.Ratio();
    const Outcome<std::size_t> group = FindColumn(names, o.group, !o.dialect.header);
    const Outcome<std::size_t> value = FindColumn(names, ratio ? o.numerator : o.value, !o.dialect.header);
    const Outcome<std::size_t> denominator = ratio ? FindColumn(names, o.denominator, !o.dialect.header) : value;
    const bool covariate = o.Covariate(), covariateRatio = o.CovariateRatio();
    const Outcome<std::size_t> before =
        covariate ? FindColumn(names, covariateRatio ? o.covariateNumerator : o.covariate, !o.dialect.header) : value;
    const Outcome<std::size_t> beforeDenominator =
        covariateRatio ? FindColumn(names, o.covariateDenominator, !o.dialect.header) : value;
    for (const Outcome<std::size_t>* column : {&group, &value, &denominator, &before, &beforeDenominator}) {
        if (!*column) {
            return column->Failure();
        }
    }

    ValuesCollector values(ratio, o.caps, covariate);
    ValuesTally tally(names[*group], o.control);
    TableRow row;
    for (unsigned long n = 0; reader.Next(row); ++n) {
        if (stop && n % 65536 == 0 && stop->load(std::memory_order_relaxed)) {
            return Problem(Reason::ReadingStopped);
        }
        if (row.problem) {
            tally.LeaveOut(std::move(*row.problem));
            continue;
        }
        // A blank value is a user without a purchase: 0.
        const auto number = [&](std::size_t at) -> Outcome<double> {
            const std::string& text = row.fields[at];
            return BlankCell(text) ? Outcome<double>(0.0) : ReadCell(text, reader.Found().decimalComma, names[at]);
        };
        RowCells cells;
        cells.cells = {
            number(*value),
            ratio ? number(*denominator) : Outcome<double>(1.0),
            covariate ? number(*before) : Outcome<double>(0.0),
            covariateRatio ? number(*beforeDenominator) : Outcome<double>(1.0),
        };
        cells.valueBlank = BlankCell(row.fields[*value]);
        cells.covariateBlank = covariate && BlankCell(row.fields[*before]);
        if (const std::optional<std::size_t> version = tally.Add(row.line, row.fields[*group], cells)) {
            values.Add(*version, *cells.cells[0], *cells.cells[1], *cells.cells[2], *cells.cells[3]);
        }
    }
    Outcome<ValuesRead> read = tally.Finish();
    if (read && !read->versions) {
        read->result = values.Finish(read->labels.size());
    }
    return read;
}

}  // namespace ambrelay::tables

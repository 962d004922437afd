#include "tables/values_reading.h"

#include <algorithm>

#include "engine/multiple_comparisons.h"
#include "tables/column_lookup.h"

namespace ambrelay::tables {
namespace {

// The versions' labels as the rows name them: the control's first (or the
// first label in the file), then each other in the order it is met; and
// whether the control asked for was met at all.
class Labels {
public:
    explicit Labels(const std::string& control)
    {
        if (!control.empty()) {
            labels_.push_back(control);
        }
    }

    // The label's place, or -1 for one beyond the most a test compares.
    int VersionOf(const std::string& label)
    {
        const auto at = std::find(labels_.begin(), labels_.end(), label);
        if (at != labels_.end()) {
            firstMet_ = firstMet_ || at == labels_.begin();
            return static_cast<int>(at - labels_.begin());
        }
        if (labels_.size() == kMostVersions) {
            return -1;
        }
        firstMet_ = firstMet_ || labels_.empty();
        labels_.push_back(label);
        return static_cast<int>(labels_.size() - 1);
    }

    const std::vector<std::string>& All() const { return labels_; }
    // Whether a row named the first label, the control's where one was asked for.
    bool FirstMet() const { return firstMet_; }

private:
    std::vector<std::string> labels_;
    bool firstMet_ = false;
};

}  // namespace

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
    ValuesRead read;
    Labels labels(o.control);
    std::vector<double> rows;  // counted, by version
    const auto leaveOut = [&](Problem problem) {
        if (read.firstRowsLeftOut.size() < kRowProblemsNamed) {
            read.firstRowsLeftOut.push_back(std::move(problem));
        }
        ++read.rowsLeftOut;
    };
    TableRow row;
    for (unsigned long n = 0; reader.Next(row); ++n) {
        if (stop && n % 65536 == 0 && stop->load(std::memory_order_relaxed)) {
            return Problem(Reason::ReadingStopped);
        }
        if (row.problem) {
            leaveOut(std::move(*row.problem));
            continue;
        }
        const std::string& label = row.fields[*group];
        if (BlankCell(label)) {
            Problem unlabelled(Reason::NoVersionLabel, NameKind::Column, names[*group]);
            unlabelled.line = row.line;
            leaveOut(std::move(unlabelled));
            continue;
        }
        // The label is the version's even on a row whose value cannot be read.
        const int version = labels.VersionOf(label);
        if (version < 0) {
            Problem many(Reason::TooManyVersions, NameKind::Column, names[*group], label);
            many.count = kMostVersions + 1;
            many.expected = kMostVersions;
            many.line = row.line;
            leaveOut(std::move(many));
            continue;
        }
        // A blank value is a user without a purchase: 0.
        const auto number = [&](std::size_t at) -> Outcome<double> {
            const std::string& text = row.fields[at];
            return BlankCell(text) ? Outcome<double>(0.0) : ReadCell(text, reader.Found().decimalComma, names[at]);
        };
        const Outcome<double> cells[] = {
            number(*value),
            ratio ? number(*denominator) : Outcome<double>(1.0),
            covariate ? number(*before) : Outcome<double>(0.0),
            covariateRatio ? number(*beforeDenominator) : Outcome<double>(1.0),
        };
        const auto unread = std::find_if(std::begin(cells), std::end(cells), [](const auto& c) { return !c; });
        if (unread != std::end(cells)) {
            Problem problem = unread->Failure();
            problem.line = row.line;
            leaveOut(std::move(problem));
            continue;
        }
        read.blanks += BlankCell(row.fields[*value]) ? 1 : 0;
        read.covariateBlanks += covariate && BlankCell(row.fields[*before]) ? 1 : 0;
        rows.resize(std::max(rows.size(), static_cast<std::size_t>(version) + 1));
        ++rows[static_cast<std::size_t>(version)];
        values.Add(static_cast<std::size_t>(version), *cells[0], *cells[1], *cells[2], *cells[3]);
    }
    if (!o.control.empty() && !labels.FirstMet()) {
        // Every other row would have been another version: the one reason is said once.
        Problem missing(Reason::NoSuchVersion, NameKind::Column, names[*group], o.control);
        missing.names = labels.All();
        missing.names.erase(missing.names.begin());
        return missing;
    }
    read.labels = labels.All();
    const bool controlCounted = !rows.empty() && rows[0] > 0;
    if (read.labels.size() < 2 || !controlCounted) {
        if (!o.control.empty()) {
            read.versions = Problem(Reason::ControlAndOtherNeeded, NameKind::Column, names[*group], o.control);
        } else if (read.labels.empty()) {
            read.versions = Problem(Reason::NoValueRows);
        } else {
            read.versions = Problem(Reason::OneVersionOnly, NameKind::Column, names[*group]);
            read.versions->names = {read.labels[0]};
        }
        return read;
    }
    read.result = values.Finish(read.labels.size());
    return read;
}

}  // namespace ambrelay::tables

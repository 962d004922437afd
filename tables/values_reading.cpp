#include "tables/values_reading.h"

#include <algorithm>

#include "tables/column_lookup.h"

namespace ambrelay::tables {
namespace {

// The versions' labels as the rows name them: A's (the control, or the first
// label in the file), B's (the first other one), and every label met, for a
// file that lacks the control asked for.
class Labels {
public:
    explicit Labels(const std::string& control)
    {
        if (!control.empty()) {
            label_[0] = control;
            named_[0] = true;
        }
    }

    // 0 for A, 1 for B, -1 for a third version.
    int VersionOf(const std::string& label)
    {
        Meet(label);
        for (int v = 0; v < 2; ++v) {
            if (named_[v] && label == label_[v]) {
                firstMet_ = firstMet_ || v == 0;
                return v;
            }
        }
        for (int v = 0; v < 2; ++v) {
            if (!named_[v]) {
                label_[v] = label;
                named_[v] = true;
                firstMet_ = firstMet_ || v == 0;
                return v;
            }
        }
        return -1;
    }

    const std::string& operator[](int v) const { return label_[v]; }
    bool Named(int v) const { return named_[v]; }
    // Whether a row named A's label, the control's where one was asked for.
    bool FirstMet() const { return firstMet_; }
    const std::vector<std::string>& AllMet() const { return met_; }

private:
    void Meet(const std::string& label)
    {
        // Enough to name them in a message; a file of thousands of labels
        // has its version column wrong, and says so with the first few.
        if (met_.size() < 20 && std::find(met_.begin(), met_.end(), label) == met_.end()) {
            met_.push_back(label);
        }
    }

    std::string label_[2];
    bool named_[2] = {false, false};
    bool firstMet_ = false;
    std::vector<std::string> met_;
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
    for (const Outcome<std::size_t>* column : {&group, &value, &denominator}) {
        if (!*column) {
            return column->Failure();
        }
    }

    ValuesCollector values(ratio, o.caps);
    ValuesRead read;
    Labels labels(o.control);
    double rows[2] = {0, 0};
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
            Problem third(Reason::ThirdVersion, NameKind::Column, names[*group], label);
            third.names = {labels[0], labels[1]};
            third.line = row.line;
            leaveOut(std::move(third));
            continue;
        }
        // A blank value is a user without a purchase: 0.
        const auto number = [&](std::size_t at) -> Outcome<double> {
            const std::string& text = row.fields[at];
            return BlankCell(text) ? Outcome<double>(0.0) : ReadCell(text, reader.Found().decimalComma, names[at]);
        };
        const Outcome<double> x = number(*value);
        const Outcome<double> y = ratio ? number(*denominator) : Outcome<double>(1.0);
        if (!x || !y) {
            Problem problem = (x ? y : x).Failure();
            problem.line = row.line;
            leaveOut(std::move(problem));
            continue;
        }
        read.blanks += BlankCell(row.fields[*value]) ? 1 : 0;
        ++rows[version];
        values.Add(version == 0 ? Version::A : Version::B, *x, *y);
    }
    if (!o.control.empty() && !labels.FirstMet()) {
        // Every other row would have been a third version: the one reason is said once.
        Problem missing(Reason::NoSuchVersion, NameKind::Column, names[*group], o.control);
        missing.names = labels.AllMet();
        return missing;
    }
    read.labels[0] = labels[0];
    read.labels[1] = labels[1];
    if (!labels.Named(1) || rows[0] == 0) {
        if (!o.control.empty()) {
            read.versions = Problem(Reason::ControlAndOtherNeeded, NameKind::Column, names[*group], o.control);
        } else if (!labels.Named(0)) {
            read.versions = Problem(Reason::NoValueRows);
        } else {
            read.versions = Problem(Reason::OneVersionOnly, NameKind::Column, names[*group]);
            read.versions->names = {labels[0]};
        }
        return read;
    }
    read.result = values.Finish();
    return read;
}

}  // namespace ambrelay::tables

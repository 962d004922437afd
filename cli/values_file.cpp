#include "cli/values_file.h"

#include <ostream>

#include "cli/csv.h"
#include "cli/judge_output.h"
#include "cli/messages.h"
#include "cli/table_columns.h"
#include "figures/means_figures.h"
#include "figures/reasons.h"
#include "numbers/number_text.h"

namespace ambrelay::cli {
namespace {

// A value as the number services read it: the decimal comma, where it is in
// force, becomes a point and the point a thousands mark.
std::optional<double> ValueOf(std::string text, bool decimalComma)
{
    if (decimalComma) {
        for (char& c : text) {
            c = c == ',' ? '.' : c == '.' ? ',' : c;
        }
    }
    if (!IsNumeric(text)) {
        return std::nullopt;
    }
    return ReadNumber(text);
}

bool Blank(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

}  // namespace

int CompareValues(std::istream& in, const ValuesOptions& o, std::ostream& out, std::ostream& err)
{
    csv::Reader reader(in);
    std::string header;
    long headerLine = 0;
    if (!csv::NextFilled(reader, header, headerLine)) {
        return Usage(err, says::EmptyTable(true));
    }
    const char delimiter = o.delimiter.value_or(csv::HeaderDelimiter(header));
    const bool decimalComma = o.decimalComma.value_or(delimiter == ';');
    reader.SetDelimiter(delimiter);
    const std::vector<std::string> names = csv::SplitRecord(header, delimiter);
    const bool ratio = !o.numerator.empty();
    std::string problem;
    const auto column = [&](const std::string& wanted) { return FindColumn(names, wanted, false, true, problem); };
    const std::optional<std::size_t> group = column(o.group);
    const std::optional<std::size_t> value = group ? column(ratio ? o.numerator : o.value) : std::nullopt;
    const std::optional<std::size_t> denominator = value && ratio ? column(o.denominator) : value;
    if (!denominator) {
        return Usage(err, problem);
    }

    ValuesCollector values(ratio, o.caps);
    std::string labels[2];
    bool named[2] = {false, false};
    if (!o.control.empty()) {
        labels[0] = o.control;
        named[0] = true;
    }
    double blanks = 0;
    double rows[2] = {0, 0};
    bool anyFailed = false;
    const auto fail = [&](long line, const std::string& why) {
        err << RowProblemLine(line, why);
        anyFailed = true;
    };
    csv::Row row;
    while (reader.Next(row)) {
        if (row.blank) {
            continue;
        }
        const std::size_t needed = std::max({*group, *value, *denominator}) + 1;
        if (row.fields.size() < needed) {
            fail(row.line, says::FieldCount(row.fields.size(), names.size()));
            continue;
        }
        // A blank value is a user without a purchase: 0.
        const auto read = [&](std::size_t at, double& into) {
            const std::string& text = row.fields[at];
            if (Blank(text)) {
                into = 0;
                return true;
            }
            const std::optional<double> number = ValueOf(text, decimalComma);
            if (!number) {
                fail(row.line, says::NotANumberIn(text, names[at]));
                return false;
            }
            into = *number;
            return true;
        };
        // The label is the version's even on a row whose value cannot be read.
        const std::string& label = row.fields[*group];
        int version = label == labels[0] && named[0] ? 0 : label == labels[1] && named[1] ? 1 : -1;
        if (version < 0) {
            version = !named[0] ? 0 : !named[1] ? 1 : -1;
            if (version < 0) {
                fail(row.line, says::ThirdVersion(label, labels[0], labels[1]));
                continue;
            }
            labels[version] = label;
            named[version] = true;
        }
        double x = 0, y = 1;
        if (!read(*value, x) || (ratio && !read(*denominator, y))) {
            continue;
        }
        blanks += Blank(row.fields[*value]) ? 1 : 0;
        ++rows[version];
        values.Add(version == 0 ? Version::A : Version::B, x, y);
    }
    if (!named[1] || rows[0] == 0) {
        return Usage(err, says::TwoVersionsNeeded(o.control, labels[0], named[0]));
    }
    ValuesCollector::Result result = values.Finish();
    if (!result.a || !result.b) {
        return NoResult(err, ReasonText((result.a ? result.b : result.a).Failure().reason));
    }
    const MeansRequest request{*result.a, *result.b, o.better, ratio, o.looking.plannedObservations,
                               o.looking.margin};
    const auto answer = AnswerMeans(request, o.json ? Wording::NumbersOnly : Wording::ForPeople);
    if (!answer) {
        return NoResult(err, ReasonText(answer.Failure().reason));
    }
    ValuesReport report{labels[0], labels[1], result.skewnessA, result.skewnessB, blanks, result.caps,
                        o.caps.upperPercent, o.caps.lowerPercent};
    const auto extra = AnswerValues(report, o.json ? Wording::NumbersOnly : Wording::ForPeople);
    const std::vector<Warning> warnings = ValuesWarnings(request, report);
    if (o.json) {
        Json j;
        PutFigures(j, ValuesFigureKinds(), extra.All(), NamesOf(ValuesFigureKinds()));
        PutFigures(j, MeansFigureKinds(), answer->All(), NamesOf(MeansFigureKinds()));
        j["warnings"] = WarningsJson(warnings);
        out << j.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
    } else {
        std::vector<Figure> all = extra.All();
        all.insert(all.end(), answer->All().begin(), answer->All().end());
        out << FiguresText(all, warnings);
    }
    return anyFailed ? kNoResult : kResult;
}

}  // namespace ambrelay::cli

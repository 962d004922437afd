#include "cli/table_rows.h"

#include <algorithm>
#include <span>
#include <vector>

#include "checks/input_checks.h"
#include "cli/messages.h"
#include "cli/table_columns.h"
#include "figures/reasons.h"
#include "numbers/number_text.h"

namespace ambrelay::cli {
namespace {

// The two decimal marks trade places, so that a text written with a decimal
// comma reads as the number services read numbers.
std::string SwapMarks(std::string text)
{
    for (char& c : text) {
        c = c == ',' ? '.' : c == '.' ? ',' : c;
    }
    return text;
}

// Why a count cannot be read: it is no number where the file's decimal mark
// is in force, though it would be one with the other mark. Never a guess.
std::optional<std::string> Ambiguity(const std::string& text, const std::string& column, bool decimalComma)
{
    if (IsNumeric(decimalComma ? SwapMarks(text) : text) || !IsNumeric(decimalComma ? text : SwapMarks(text))) {
        return std::nullopt;
    }
    return says::OtherDecimalMark(text, column, decimalComma);
}

// Why a row has no result, in the window's words; nothing for a judged row.
std::optional<std::string> Judged(const TableSettings& t, const csv::Row& row, Judgement& judgement)
{
    const std::size_t width = t.inputNames.size();
    if (row.fields.size() != width) {
        return says::FieldCount(row.fields.size(), width);
    }
    CountTexts texts;
    std::string* const into[4] = {&texts.views1, &texts.responses1, &texts.views2, &texts.responses2};
    for (int i = 0; i < 4; ++i) {
        const std::string& text = row.fields[t.columns.at[i]];
        if (const auto unclear = Ambiguity(text, t.inputNames[t.columns.at[i]], t.decimalComma)) {
            return unclear;
        }
        *into[i] = t.decimalComma ? SwapMarks(text) : text;
    }
    if (const auto failure = RunInputChecks(texts)) {
        return failure->outcome.message;
    }
    judgement = Judge(ReadCounts(texts), t.judge);
    if (!judgement.Finished()) {
        return ReasonText(judgement.result.Failure().reason);
    }
    return std::nullopt;
}

}  // namespace

void WriteRow(const TableSettings& t, const csv::Row& row, const std::optional<std::string>& problem,
              std::string& out, std::string& errors, FigureList<JudgementFigure>& list)
{
    Judgement judgement;
    std::optional<std::string> error = problem ? problem : Judged(t, row, judgement);
    if (error) {
        errors += RowProblemLine(row.line, *error);
    }
    static const std::vector<Figure> none;
    const std::vector<Figure>& figures =
        !error && FillJudgementFigures(judgement, Wording::NumbersOnly, list) ? list.All() : none;
    const std::span<const FigureKind> kinds = JudgementFigureKinds();
    // Every field the row had, as many as the header names at least.
    const std::size_t width = t.inputNames.size();
    const std::size_t carried = std::max(width, row.fields.size());
    if (t.format == Format::Json) {
        out.push_back('{');
        for (std::size_t i = 0; i < carried; ++i) {
            if (i > 0) {
                out.push_back(',');
            }
            AppendJsonKey(out, i < width ? std::string_view(t.inputNames[i]) : std::string_view(ExtraName(i)));
            if (i < row.fields.size()) {
                AppendJsonText(out, row.fields[i]);
            } else {
                out += "null";
            }
        }
        AppendFigureJsonFields(out, kinds, figures, t.resultNames);
        out.push_back(',');
        AppendJsonKey(out, t.resultNames.warnings);
        AppendWarningsJson(out, error ? std::vector<Warning>() : JudgementWarnings(judgement));
        out.push_back(',');
        AppendJsonKey(out, t.resultNames.error);
        if (error) {
            AppendJsonText(out, *error);
        } else {
            out += "null";
        }
        out += "}\n";
        return;
    }
    // A table's warnings are their codes: their sentences are never built.
    for (std::size_t i = 0; i < carried; ++i) {
        if (i > 0) {
            out.push_back(t.delimiter);
        }
        csv::AppendField(out, i < row.fields.size() ? std::string_view(row.fields[i]) : std::string_view(),
                         t.delimiter);
    }
    AppendFigureCsv(out, kinds, figures, t.decimalComma ? ',' : '.', t.delimiter);
    out.push_back(t.delimiter);
    csv::AppendField(out, error ? std::string() : WarningCodes(judgement.Figures().warnings), t.delimiter);
    out.push_back(t.delimiter);
    csv::AppendField(out, error.value_or(std::string()), t.delimiter);
    out += "\r\n";
}

}  // namespace ambrelay::cli

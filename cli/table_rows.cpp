#include "cli/table_rows.h"

#include <algorithm>
#include <span>
#include <vector>

#include "cli/messages.h"
#include "cli/table_columns.h"
#include "figures/judge_row.h"
#include "figures/means_figures.h"
#include "figures/reasons.h"
#include "figures/table_words.h"
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

// The texts of the row's number columns, the decimal marks as the number
// services read them; why not, when a text is ambiguous or the row is short.
std::optional<std::string> ColumnTexts(const TableSettings& t, const csv::Row& row, std::string* into)
{
    const std::size_t width = t.inputNames.size();
    if (row.fields.size() != width) {
        return FieldCountText(row.fields.size(), width);
    }
    for (std::size_t i = 0; i < t.columns.count; ++i) {
        const std::string& text = row.fields[t.columns.at[i]];
        if (const auto unclear = Ambiguity(text, t.inputNames[t.columns.at[i]], t.decimalComma)) {
            return unclear;
        }
        into[i] = t.decimalComma ? SwapMarks(text) : text;
    }
    return std::nullopt;
}

// Why a row has no result, in the window's words; nothing for a judged row.
std::optional<std::string> Judged(const TableSettings& t, const csv::Row& row, Judgement& judgement)
{
    std::string read[4];
    if (auto problem = ColumnTexts(t, row, read)) {
        return problem;
    }
    return JudgeTexts({std::move(read[0]), std::move(read[1]), std::move(read[2]), std::move(read[3])}, t.judge,
                      judgement);
}

// The same for a row of averages: its six summaries, compared.
std::optional<std::string> Compared(const TableSettings& t, const csv::Row& row, MeansRequest& request,
                                    Outcome<FigureList<MeansFigure>>& answer)
{
    std::string read[6];
    if (auto problem = ColumnTexts(t, row, read)) {
        return problem;
    }
    double numbers[6];
    for (std::size_t i = 0; i < 6; ++i) {
        if (!IsNumeric(read[i])) {
            return NotANumberText(row.fields[t.columns.at[i]], t.inputNames[t.columns.at[i]]);
        }
        numbers[i] = ReadNumber(read[i]);
    }
    request = {{numbers[0], numbers[1], numbers[2]},
               {numbers[3], numbers[4], numbers[5]},
               t.better,
               false,
               t.judge.plannedObservations,
               t.judge.margin};
    answer = AnswerMeans(request, Wording::NumbersOnly);
    if (!answer) {
        return ReasonText(answer.Failure().reason);
    }
    return std::nullopt;
}

// The row's own fields, then its figures, warnings and error. `warnings`
// gives the warnings when JSON needs their words; CSV writes `codes`.
template <typename Warnings>
void WriteResult(const TableSettings& t, const csv::Row& row, std::span<const FigureKind> kinds,
                 const std::vector<Figure>& figures, const std::vector<WarningCode>& codes, Warnings warnings,
                 const std::optional<std::string>& error, std::string& out)
{
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
        AppendWarningsJson(out, error ? std::vector<Warning>() : warnings());
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
    csv::AppendField(out, error ? std::string() : WarningCodes(codes), t.delimiter);
    out.push_back(t.delimiter);
    csv::AppendField(out, error.value_or(std::string()), t.delimiter);
    out += "\r\n";
}

void WriteMeansRow(const TableSettings& t, const csv::Row& row, const std::optional<std::string>& problem,
                   std::string& out, std::string& errors)
{
    MeansRequest request;
    Outcome<FigureList<MeansFigure>> answer = Reason::NoNumber;
    const std::optional<std::string> error = problem ? problem : Compared(t, row, request, answer);
    if (error) {
        errors += RowProblemLine(row.line, *error);
    }
    static const std::vector<Figure> none;
    std::vector<WarningCode> codes;
    std::vector<Warning> warnings;
    if (!error) {
        warnings = MeansWarnings(request);
        for (const Warning& w : warnings) {
            codes.push_back(w.code);
        }
    }
    WriteResult(t, row, MeansFigureKinds(), error ? none : answer->All(), codes, [&] { return warnings; }, error,
                out);
}

}  // namespace

void WriteRow(const TableSettings& t, const csv::Row& row, const std::optional<std::string>& problem,
              std::string& out, std::string& errors, FigureList<JudgementFigure>& list)
{
    if (t.kind == TableKind::Means) {
        WriteMeansRow(t, row, problem, out, errors);
        return;
    }
    Judgement judgement;
    std::optional<std::string> error = problem ? problem : Judged(t, row, judgement);
    if (error) {
        errors += RowProblemLine(row.line, *error);
    }
    static const std::vector<Figure> none;
    const std::vector<Figure>& figures =
        !error && FillJudgementFigures(judgement, Wording::NumbersOnly, list) ? list.All() : none;
    static const std::vector<WarningCode> noCodes;
    WriteResult(t, row, JudgementFigureKinds(), figures, error ? noCodes : judgement.Figures().warnings,
                [&] { return JudgementWarnings(judgement); }, error, out);
}

}  // namespace ambrelay::cli

#include "cli/values_file.h"

#include <ostream>

#include "cli/judge_output.h"
#include "cli/messages.h"
#include "figures/means_figures.h"
#include "figures/reasons.h"
#include "figures/table_words.h"

namespace ambrelay::cli {

int CompareValues(std::istream& in, const ValuesOptions& o, std::ostream& out, std::ostream& err)
{
    const auto read = tables::ReadValues(in, o.layout, [&](const tables::ValuesProblem& problem) {
        err << RowProblemLine(problem.line, ValuesProblemText(problem));
    });
    if (const auto* problem = std::get_if<tables::ValuesProblem>(&read)) {
        return Usage(err, ValuesProblemText(*problem));
    }
    const tables::ValuesRead& file = std::get<tables::ValuesRead>(read);
    const ValuesCollector::Result& result = file.result;
    if (!result.a || !result.b) {
        return NoResult(err, ReasonText((result.a ? result.b : result.a).Failure().reason));
    }
    const MeansRequest request{*result.a, *result.b, o.better, o.layout.Ratio(), o.looking.plannedObservations,
                               o.looking.margin};
    const auto answer = AnswerMeans(request, o.json ? Wording::NumbersOnly : Wording::ForPeople);
    if (!answer) {
        return NoResult(err, ReasonText(answer.Failure().reason));
    }
    const ValuesReport report{file.labels[0], file.labels[1], result.skewnessA, result.skewnessB, file.blanks,
                              result.caps,    o.layout.caps.upperPercent, o.layout.caps.lowerPercent};
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
    return file.rowProblems > 0 ? kNoResult : kResult;
}

}  // namespace ambrelay::cli

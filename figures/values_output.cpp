#include "figures/values_output.h"

#include "figures/covariate_figures.h"
#include "figures/figure_text.h"
#include "figures/machine_text.h"
#include "figures/means_figures.h"
#include "figures/problem_words.h"
#include "figures/versions_figures.h"

namespace ambrelay {

std::string ValuesJson(const ValuesAnswer& answer)
{
    const MeansVersionsAnswer& versions = *answer.versions;
    const bool two = versions.Versions() == 2;
    const bool covariate = answer.request.layout.Covariate();
    std::string text;
    JsonWriter json(text, true);
    if (!two) {
        json.BeginObject();
        json.Key("comparisons");
        json.BeginArray();
    }
    for (std::size_t c = 0; c < versions.comparisons.size(); ++c) {
        json.BeginObject();
        WriteFigures(json, ValuesFigureKinds(), ValuesFigures(answer, c, Wording::NumbersOnly).All(),
                     NamesOf(ValuesFigureKinds()));
        if (!two) {
            WriteFigures(json, VersionFigureKinds(), VersionFigures(versions, c, Wording::NumbersOnly).All(),
                         NamesOf(VersionFigureKinds()));
        }
        WriteFigures(json, MeansFigureKinds(), ComparisonFigures(versions, c, Wording::NumbersOnly).All(),
                     NamesOf(MeansFigureKinds()));
        if (covariate) {
            WriteFigures(json, CovariateFigureKinds(), CovariateFigures(answer, c, Wording::NumbersOnly).All(),
                         NamesOf(CovariateFigureKinds()));
        }
        json.Key("warnings");
        WriteWarnings(json, ValuesWarnings(answer, c));
        json.EndObject();
    }
    if (!two) {
        json.EndArray();
        json.Key("warnings");
        WriteWarnings(json, VersionsWarnings(versions));
        json.EndObject();
    }
    return text;
}

std::vector<std::span<const FigureKind>> ValuesRowKinds(bool covariate)
{
    std::vector<std::span<const FigureKind>> kinds{ValuesFigureKinds(), VersionFigureKinds(), MeansFigureKinds()};
    if (covariate) {
        kinds.push_back(CovariateFigureKinds());
    }
    return kinds;
}

std::vector<Figure> ValuesRowFigures(const ValuesAnswer& answer, std::size_t c)
{
    const MeansVersionsAnswer& versions = *answer.versions;
    std::vector<Figure> row = ValuesFigures(answer, c, Wording::NumbersOnly).All();
    for (const std::vector<Figure>& more :
         {VersionFigures(versions, c, Wording::NumbersOnly).All(), ComparisonFigures(versions, c, Wording::NumbersOnly).All()}) {
        row.insert(row.end(), more.begin(), more.end());
    }
    if (answer.request.layout.Covariate()) {
        const std::vector<Figure> covariate = CovariateFigures(answer, c, Wording::NumbersOnly).All();
        row.insert(row.end(), covariate.begin(), covariate.end());
    }
    return row;
}

std::vector<Warning> ValuesRowWarnings(const ValuesAnswer& answer, std::size_t c)
{
    std::vector<Warning> warnings;
    if (answer.versions->Versions() > 2) {
        warnings = VersionsWarnings(*answer.versions);
    }
    const std::vector<Warning> own = ValuesWarnings(answer, c);
    warnings.insert(warnings.end(), own.begin(), own.end());
    return warnings;
}

std::string FrameRowsLeftOutText(const std::vector<Problem>& named, std::size_t count)
{
    std::string text;
    for (const Problem& problem : named) {
        text += "row " + std::to_string(problem.line - 1) + ": " + ProblemText(problem) + "\n";
    }
    if (count > named.size()) {
        const double more = static_cast<double>(count - named.size());
        text += "and " + Grouped(more) + " more " + (more == 1 ? "row " : "rows ") + "were left out\n";
    }
    return text;
}

}  // namespace ambrelay

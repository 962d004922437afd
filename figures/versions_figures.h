#pragma once
// A test of more than two versions as figures: for each version compared
// with the control, what its comparison's own figures cannot say (the
// family it belongs to, its adjusted p value, whether it beats the control,
// its chance to be the best, the split across every version), worded once
// for every door.

#include <span>
#include <string>
#include <vector>

#include "answers/values_answer.h"
#include "answers/versions_answer.h"
#include "figures/figures.h"
#include "figures/means_figures.h"
#include "figures/report_formats.h"

namespace ambrelay {

enum class VersionFigure {
    Control, Versions, Adjustment, PAdjusted, BeatsControl, ChanceToBeBest, ControlChanceToBeBest, IntervalLevel,
    SplitChiSquare, SplitP,
    Count
};

std::span<const FigureKind> VersionFigureKinds();

// The figures of the comparison at `comparison` (its place among the answer's comparisons).
FigureList<VersionFigure> VersionFigures(const RatesVersionsAnswer& answer, std::size_t comparison,
                                         Wording wording = Wording::ForPeople);
FigureList<VersionFigure> VersionFigures(const MeansVersionsAnswer& answer, std::size_t comparison,
                                         Wording wording = Wording::ForPeople);

// A comparison's own figures. Of more than two versions, the one ahead goes
// by its label and the answer names both; the window's two-version verdict
// is left without a value, as its bands and sentences judge two only.
FigureList<JudgementFigure> ComparisonFigures(const RatesVersionsAnswer& answer, std::size_t comparison,
                                              Wording wording = Wording::ForPeople);

FigureList<MeansFigure> ComparisonFigures(const MeansVersionsAnswer& answer, std::size_t comparison,
                                          Wording wording = Wording::ForPeople);

// The test's warnings: a split across every version far from the one intended.
std::vector<Warning> VersionsWarnings(const RatesVersionsAnswer& answer);
std::vector<Warning> VersionsWarnings(const MeansVersionsAnswer& answer);

// A comparison in a sentence: "C responded 10.2% more often than A; with 3
// versions compared, p = 0.0214 after Holm's correction."
std::string VersionsSentence(const RatesVersionsAnswer& answer, std::size_t comparison);
std::string VersionsSentence(const MeansVersionsAnswer& answer, std::size_t comparison);

// "C against A, the control:", the heading of a comparison's figures.
template <typename Answer>
std::string ComparisonHeading(const VersionsAnswer<Answer>& answer, std::size_t comparison)
{
    return answer.labels[answer.comparisons[comparison].version] + " against " + answer.labels[answer.control]
           + ", the control:";
}

// Each version against the control as a section of a report: its heading,
// the family's figures and the comparison's own; of a file of values, the
// file's figures and warnings first.
std::vector<ReportSection> VersionsSections(const RatesVersionsAnswer& answer);
std::vector<ReportSection> VersionsSections(const MeansVersionsAnswer& answer);
std::vector<ReportSection> ValuesVersionsSections(const ValuesAnswer& answer);

// A file of values of more than two versions in plain words, as a terminal
// and Copy give it: the test's warnings, then each version against the
// control under its heading, with its figures and its own warnings.
std::string ValuesVersionsText(const ValuesAnswer& answer);

// "Holm's correction", "no correction".
std::string AdjustmentWords(Adjustment adjustment);

}  // namespace ambrelay

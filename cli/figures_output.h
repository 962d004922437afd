#pragma once
// A plan's or a split check's answer as the command line writes it: each
// figure on a line, rounded, for a person; JSON, unrounded, for a program.

#include <span>
#include <vector>

#include "cli/command.h"
#include "cli/problems.h"
#include "figures/figures.h"

namespace ambrelay::cli {

// A list of figures, with its kinds.
struct KindsAndFigures {
    std::span<const FigureKind> kinds;
    std::vector<Figure> figures;
};

// One list of figures or more, one after the other.
void WriteFigures(std::span<const KindsAndFigures> lists, bool json, std::ostream& out);

// The answer's figures and any more lists after them, or its problem; the exit status.
template <typename Id>
int WriteAnswer(std::span<const FigureKind> kinds, const Outcome<FigureList<Id>>& answer, bool json, Streams& s,
                std::vector<KindsAndFigures> more = {})
{
    if (!answer) {
        return Fail(s.err, answer.Failure());
    }
    more.insert(more.begin(), KindsAndFigures{kinds, answer->All()});
    WriteFigures(more, json, s.out);
    return kResult;
}

}  // namespace ambrelay::cli

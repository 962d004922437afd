#pragma once
// A plan's or a split check's answer as the command line writes it: each
// figure on a line, rounded, for a person; JSON, unrounded, for a program.

#include <span>
#include <vector>

#include "cli/command.h"
#include "cli/problems.h"
#include "figures/figures.h"

namespace ambrelay::cli {

void WriteFigures(std::span<const FigureKind> kinds, const std::vector<Figure>& figures, bool json, std::ostream& out);

// The answer's figures, or its problem; the exit status.
template <typename Id>
int WriteAnswer(std::span<const FigureKind> kinds, const Outcome<FigureList<Id>>& answer, bool json, Streams& s)
{
    if (!answer) {
        return Fail(s.err, answer.Failure());
    }
    WriteFigures(kinds, answer->All(), json, s.out);
    return kResult;
}

}  // namespace ambrelay::cli

#pragma once
// Figure lists as the command line writes them: plain text for a person,
// JSON and CSV fields for programs. Every key of a list's kinds is written
// whatever the input, with one type: its value, or null when it has none.

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "engine/figures.h"

namespace ambrelay::cli {

using Json = nlohmann::ordered_json;

// A figure's value: a number (whole counts as whole numbers), a pair of
// numbers for versions A and B, a text, true or false, or null.
Json FigureJson(const Figure& figure);

// The names a list of kinds writes, in order: each key, then its interval's
// key where it has one. CSV gives an interval two columns, "_low" and "_high".
std::vector<std::string> FigureKeys(const std::vector<FigureKind>& kinds, bool csv);

// Every kind's key and interval key into `o` under `names` (as FigureKeys
// gives them, or renamed), from `figures`, or null for all when it is empty.
void PutFigures(Json& o, const std::vector<FigureKind>& kinds, const std::vector<Figure>& figures,
                const std::vector<std::string>& names);

// The CSV fields of `figures`, one a name of FigureKeys(kinds, true): numbers
// exactly as the double holds them, with `decimalMark`; empty where there is
// no value.
void AppendFigureFields(std::vector<std::string>& fields, const std::vector<FigureKind>& kinds,
                        const std::vector<Figure>& figures, char decimalMark);

// The warnings' codes for a CSV field, separated by semicolons.
std::string WarningCodes(const std::vector<Warning>& warnings);

// The warnings as JSON: an array of {code, message}, empty when none.
Json WarningsJson(const std::vector<Warning>& warnings);

// One judgement: the counts as read, every figure, the warnings.
Json JudgementJson(const Judgement& judgement);

// A number exactly as the double holds it, in the fewest digits that read back.
std::string ExactNumber(double x);

}  // namespace ambrelay::cli

#pragma once
// Figure lists as the command line writes them: plain text for a person,
// JSON and CSV fields for programs. Every key of a list's kinds is written
// whatever the input, with one type: its value, or null when it has none.

#include <nlohmann/json.hpp>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "figures/figures.h"

namespace ambrelay::cli {

using Json = nlohmann::ordered_json;

enum class Format { Json, Csv };

// The names one kind is written under: its key, and its interval's key in
// JSON or the keys of the interval's two ends in CSV ("_low", "_high").
struct KindNames {
    std::string value;
    std::string interval;   // JSON; empty without an interval
    std::string low, high;  // CSV; empty without an interval
};

// Every name a list of kinds writes, then the warnings and the error, as a
// table's results are named.
struct OutputNames {
    std::vector<KindNames> kinds;  // by the kind's place in its list
    std::string warnings = "warnings";
    std::string error = "error";

    // In the order they are written.
    std::vector<std::string> All(Format format) const;
    // Each name prefixed with "ambrelay_" while an input column (or an
    // earlier name) has it already, case aside.
    void KeepClearOf(const std::vector<std::string>& inputNames, Format format);
};

OutputNames NamesOf(std::span<const FigureKind> kinds);

// A figure's value: a number (whole counts as whole numbers), a pair of
// numbers for versions A and B, a text, true or false, or null.
Json FigureJson(const Figure& figure);

// Every kind's value and interval into `o` under its names, from `figures`,
// or null for all when it is empty.
void PutFigures(Json& o, std::span<const FigureKind> kinds, const std::vector<Figure>& figures,
                const OutputNames& names);

// JSON written straight onto `out`, byte for byte as the library's own dump
// of the same values, without a document built per row.
// A string in quotes, escaped where it must be.
void AppendJsonText(std::string& out, std::string_view text);
// A string and a colon.
void AppendJsonKey(std::string& out, std::string_view key);
// What PutFigures puts, as `,"key":value` pairs.
void AppendFigureJsonFields(std::string& out, std::span<const FigureKind> kinds, const std::vector<Figure>& figures,
                            const OutputNames& names);
// What WarningsJson(warnings).dump() writes.
void AppendWarningsJson(std::string& out, const std::vector<Warning>& warnings);

// The CSV fields of `figures`, each after a delimiter, in the order of
// OutputNames::All: numbers exactly as the double holds them, with
// `decimalMark`; empty where there is no value (or no figures at all).
void AppendFigureCsv(std::string& out, std::span<const FigureKind> kinds, const std::vector<Figure>& figures,
                     char decimalMark, char delimiter);

// The warnings' codes for a CSV field, separated by semicolons.
std::string WarningCodes(const std::vector<WarningCode>& warnings);

// The warnings as JSON: an array of {code, message}, empty when none.
Json WarningsJson(const std::vector<Warning>& warnings);

// One judgement: the counts as read, every figure, the warnings.
Json JudgementJson(const Judgement& judgement);

// A number exactly as the double holds it, in the fewest digits that read back.
std::string ExactNumber(double x);

}  // namespace ambrelay::cli

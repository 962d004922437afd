#pragma once
// Figures as programs read them: CSV fields and JSON, every number in the
// fewest digits that read back to the same double (whole counts as whole
// numbers), and every key of a list's kinds written whatever the input,
// with one type: its value, or null when it has none. One writer serves a
// table's lines and a single answer alike.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "figures/figures.h"
#include "figures/number_writer.h"

namespace ambrelay {

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

// JSON onto a text: indented by two blanks a level for a person's terminal,
// or all on one line for a table's JSON lines.
class JsonWriter {
public:
    JsonWriter(std::string& out, bool indented) : out_(out), indented_(indented) {}

    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }
    void Key(std::string_view key);
    // A key of the program's own, printable ASCII without quotes or
    // backslashes (a figure's name, possibly prefixed): written as it is.
    void OwnKey(std::string_view key);
    void Text(std::string_view text);
    // Whole counts (and days) as integers; anything not finite as null.
    void Number(double x, Unit unit = Unit::Ratio);
    void Bool(bool yes);
    void Null();

private:
    void Open(char bracket);
    void Close(char bracket);
    void BeforeValue();
    void NewLine();
    void Quoted(std::string_view text);

    std::string& out_;
    bool indented_;
    std::vector<bool> filled_;  // by level: whether it holds anything yet
    bool afterKey_ = false;
};

// Every kind's value and interval under its names, from `figures` (found by
// the kind's id, so `kinds` may be a choice of a list), or null for all when
// there are none.
void WriteFigures(JsonWriter& json, std::span<const FigureKind> kinds, const std::vector<Figure>& figures,
                  const OutputNames& names);

// The warnings: an array of {code, message}, empty when none.
void WriteWarnings(JsonWriter& json, const std::vector<Warning>& warnings);

// The CSV fields of `figures`, each after a delimiter, in the order of
// OutputNames::All: numbers exactly as the double holds them, with
// `decimalMark`, whole counts as whole numbers; empty where there is no
// value (or no figures at all).
void AppendFigureCsv(std::string& out, std::span<const FigureKind> kinds, const std::vector<Figure>& figures,
                     char decimalMark, char delimiter);

// The warnings' codes for a CSV field, separated by semicolons.
std::string WarningCodes(const std::vector<WarningCode>& warnings);

}  // namespace ambrelay

#include "figures/machine_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <nlohmann/json.hpp>
#include <set>

#include "numbers/counts.h"
#include "tables/csv.h"

namespace ambrelay {
namespace {

// Whole counts (and days) are written as integers; every other number keeps
// its point or exponent.
bool WritesWhole(double x, Unit unit) { return (unit == Unit::Count || unit == Unit::Days) && WholeCount(x); }

// Whether every byte is printable ASCII other than a quote or a backslash,
// eight bytes at a time: the sentences of a table's JSON lines run to
// hundreds of bytes a row.
bool PlainAscii(std::string_view text)
{
    constexpr std::uint64_t ones = 0x0101010101010101ull;
    constexpr std::uint64_t highs = 0x8080808080808080ull;
    const auto zeroIn = [&](std::uint64_t w) { return (w - ones) & ~w & highs; };
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t w;
        std::memcpy(&w, text.data() + i, 8);
        // A byte of 0x80 or more, below 0x20 or above 0x7e, a quote or a backslash.
        const std::uint64_t beyond = w & highs;
        const std::uint64_t below = (w - ones * 0x20) & ~w & highs;
        const std::uint64_t above = (w + ones * (0x7f - 0x7e)) & highs;
        if ((beyond | below | above | zeroIn(w ^ (ones * '"')) | zeroIn(w ^ (ones * '\\'))) != 0) {
            return false;
        }
    }
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < 0x20 || c > 0x7e || c == '"' || c == '\\') {
            return false;
        }
    }
    return true;
}

}  // namespace

void JsonWriter::NewLine()
{
    if (indented_) {
        out_.push_back('\n');
        out_.append(2 * filled_.size(), ' ');
    }
}

void JsonWriter::BeforeValue()
{
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!filled_.empty()) {
        if (filled_.back()) {
            out_.push_back(',');
        }
        filled_.back() = true;
        NewLine();
    }
}

void JsonWriter::Open(char bracket)
{
    BeforeValue();
    out_.push_back(bracket);
    filled_.push_back(false);
}

void JsonWriter::Close(char bracket)
{
    const bool filled = filled_.back();
    filled_.pop_back();
    if (filled) {
        NewLine();
    }
    out_.push_back(bracket);
}

void JsonWriter::Key(std::string_view key)
{
    BeforeValue();
    Quoted(key);
    out_ += indented_ ? ": " : ":";
    afterKey_ = true;
}

void JsonWriter::OwnKey(std::string_view key)
{
    BeforeValue();
    out_.push_back('"');
    out_ += key;
    out_ += indented_ ? "\": " : "\":";
    afterKey_ = true;
}

void JsonWriter::Text(std::string_view text)
{
    BeforeValue();
    Quoted(text);
}

void JsonWriter::Quoted(std::string_view text)
{
    // Printable ASCII needs no escape; anything else is escaped (or its
    // invalid bytes replaced) by the library itself.
    if (!PlainAscii(text)) {
        out_ += nlohmann::json(std::string(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        return;
    }
    out_.push_back('"');
    out_ += text;
    out_.push_back('"');
}

void JsonWriter::Number(double x, Unit unit)
{
    BeforeValue();
    char buffer[kNumberRoom];
    if (!std::isfinite(x)) {
        out_ += "null";
    } else if (WritesWhole(x, unit)) {
        out_.append(buffer, WriteWhole(buffer, x));
    } else {
        out_.append(buffer, WriteNumber(buffer, x, NumberLayout::Json));
    }
}

void JsonWriter::Bool(bool yes)
{
    BeforeValue();
    out_ += yes ? "true" : "false";
}

void JsonWriter::Null()
{
    BeforeValue();
    out_ += "null";
}

void WriteFigures(JsonWriter& j, std::span<const FigureKind> kinds, const std::vector<Figure>& figures,
                  const OutputNames& names)
{
    const auto pair = [&](double first, double second, Unit unit) {
        j.BeginArray();
        j.Number(first, unit);
        j.Number(second, unit);
        j.EndArray();
    };
    for (std::size_t at = 0; at < kinds.size(); ++at) {
        const FigureKind& kind = kinds[at];
        const Figure* f = figures.empty() ? nullptr : &figures[static_cast<std::size_t>(kind.id)];
        const KindNames& n = names.kinds[at];  // by the place in the list written, which may be a choice
        j.OwnKey(n.value);
        if (!f || std::holds_alternative<std::monostate>(f->value)) {
            j.Null();
        } else if (const double* x = std::get_if<double>(&f->value)) {
            j.Number(*x, kind.unit);
        } else if (const std::string* text = std::get_if<std::string>(&f->value)) {
            j.Text(*text);
        } else if (const bool* yes = std::get_if<bool>(&f->value)) {
            j.Bool(*yes);
        } else if (const VersionPair* both = std::get_if<VersionPair>(&f->value)) {
            pair(both->first, both->second, kind.unit);
        }
        if (!n.interval.empty()) {
            j.OwnKey(n.interval);
            if (f && f->interval) {
                pair(f->interval->low, f->interval->high, Unit::Ratio);  // an interval's ends are never counts
            } else {
                j.Null();
            }
        }
    }
}

void WriteWarnings(JsonWriter& j, const std::vector<Warning>& warnings)
{
    j.BeginArray();
    for (const Warning& w : warnings) {
        j.BeginObject();
        j.OwnKey("code");
        j.Text(WarningCodeName(w.code));
        j.OwnKey("message");
        j.Text(w.message);
        j.EndObject();
    }
    j.EndArray();
}

OutputNames NamesOf(std::span<const FigureKind> kinds)
{
    OutputNames names;
    for (const FigureKind& kind : kinds) {
        KindNames n{kind.key, kind.intervalKey, {}, {}};
        if (*kind.intervalKey) {
            n.low = n.interval + "_low";
            n.high = n.interval + "_high";
        }
        names.kinds.push_back(std::move(n));
    }
    return names;
}

std::vector<std::string> OutputNames::All(Format format) const
{
    std::vector<std::string> all;
    for (const KindNames& n : kinds) {
        all.push_back(n.value);
        if (format == Format::Json && !n.interval.empty()) {
            all.push_back(n.interval);
        } else if (format == Format::Csv && !n.low.empty()) {
            all.push_back(n.low);
            all.push_back(n.high);
        }
    }
    all.push_back(warnings);
    all.push_back(error);
    return all;
}

void OutputNames::KeepClearOf(const std::vector<std::string>& inputNames, Format format)
{
    const auto lower = [](std::string text) {
        for (char& c : text) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return text;
    };
    std::set<std::string> taken;
    for (const std::string& name : inputNames) {
        taken.insert(lower(name));
    }
    const auto claim = [&](std::string& name) {
        if (name.empty()) {
            return;
        }
        while (taken.count(lower(name))) {
            name = "ambrelay_" + name;
        }
        taken.insert(lower(name));
    };
    for (KindNames& n : kinds) {
        claim(n.value);
        claim(format == Format::Json ? n.interval : n.low);
        if (format == Format::Csv) {
            claim(n.high);
        }
    }
    claim(warnings);
    claim(error);
}

void AppendFigureCsv(std::string& out, std::span<const FigureKind> kinds, const std::vector<Figure>& figures,
                     char decimalMark, char delimiter)
{
    // Numbers are written into one buffer on the stack, never a string of their own.
    const auto number = [&](double x, Unit unit) {
        char buffer[kNumberRoom];
        char* const end = !std::isfinite(x)          ? std::to_chars(buffer, buffer + sizeof buffer, x).ptr
                          : WritesWhole(x, unit) ? WriteWhole(buffer, x)
                                                 : WriteNumber(buffer, x, NumberLayout::Shortest);
        if (decimalMark != '.') {
            std::replace(buffer, end, '.', decimalMark);
        }
        const std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
        // A number holds no quote, blank or line break: only a decimal mark
        // that is also the delimiter needs quoting.
        if (decimalMark == delimiter) {
            csv::AppendField(out, text, delimiter);
        } else {
            out += text;
        }
    };
    for (const FigureKind& kind : kinds) {
        const Figure* f = figures.empty() ? nullptr : &figures[static_cast<std::size_t>(kind.id)];
        out.push_back(delimiter);
        if (!f) {
        } else if (const double* x = std::get_if<double>(&f->value)) {
            number(*x, kind.unit);
        } else if (const std::string* text = std::get_if<std::string>(&f->value)) {
            csv::AppendField(out, *text, delimiter);
        } else if (const bool* yes = std::get_if<bool>(&f->value)) {
            out += *yes ? "true" : "false";
        } else if (const VersionPair* pair = std::get_if<VersionPair>(&f->value)) {
            // Both in one field: a semicolon between them, quoted where it is the delimiter.
            std::string both;
            std::swap(both, out);
            number(pair->first, kind.unit);
            out.push_back(';');
            number(pair->second, kind.unit);
            std::swap(both, out);
            csv::AppendField(out, both, delimiter);
        }
        if (*kind.intervalKey) {
            out.push_back(delimiter);
            if (f && f->interval) {
                number(f->interval->low, Unit::Ratio);  // an interval's ends are never counts
            }
            out.push_back(delimiter);
            if (f && f->interval) {
                number(f->interval->high, Unit::Ratio);
            }
        }
    }
}

std::string WarningCodes(const std::vector<WarningCode>& warnings)
{
    std::string codes;
    for (const WarningCode code : warnings) {
        codes += (codes.empty() ? "" : ";") + WarningCodeName(code);
    }
    return codes;
}

}  // namespace ambrelay

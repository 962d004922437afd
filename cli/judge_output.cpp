#include "cli/judge_output.h"

#include "tables/csv.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <set>

namespace ambrelay::cli {
namespace {

// A whole count as a JSON integer; doubles carry every whole number exactly
// up to 2^53.
Json NumberJson(double x, Unit unit)
{
    if ((unit == Unit::Count || unit == Unit::Days) && std::floor(x) == x && std::fabs(x) <= 9007199254740992.0) {
        return Json(static_cast<long long>(x));
    }
    return Json(x);
}

// A number as NumberJson(x, unit).dump() writes it.
void AppendJsonNumber(std::string& out, double x, Unit unit)
{
    char buffer[64];
    if (!std::isfinite(x)) {
        out += "null";
    } else if ((unit == Unit::Count || unit == Unit::Days) && std::floor(x) == x
               && std::fabs(x) <= 9007199254740992.0) {
        out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(x)).ptr);
    } else {
        out.append(buffer, nlohmann::detail::to_chars(buffer, buffer + sizeof buffer, x));
    }
}

void AppendJsonPair(std::string& out, double first, double second, Unit unit)
{
    out.push_back('[');
    AppendJsonNumber(out, first, unit);
    out.push_back(',');
    AppendJsonNumber(out, second, unit);
    out.push_back(']');
}

}  // namespace

void AppendJsonText(std::string& out, std::string_view text)
{
    // Printable ASCII needs no escape; anything else is escaped (or its
    // invalid bytes replaced) by the library itself.
    const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
        return c >= 0x20 && c <= 0x7e && c != '"' && c != '\\';
    });
    if (!plain) {
        out += Json(std::string(text)).dump(-1, ' ', false, Json::error_handler_t::replace);
        return;
    }
    out.push_back('"');
    out += text;
    out.push_back('"');
}

void AppendJsonKey(std::string& out, std::string_view key)
{
    AppendJsonText(out, key);
    out.push_back(':');
}

void AppendFigureJsonFields(std::string& out, std::span<const FigureKind> kinds, const std::vector<Figure>& figures,
                            const OutputNames& names)
{
    for (const FigureKind& kind : kinds) {
        const Figure* f = figures.empty() ? nullptr : &figures[static_cast<std::size_t>(kind.id)];
        const KindNames& n = names.kinds[static_cast<std::size_t>(kind.id)];
        out.push_back(',');
        AppendJsonKey(out, n.value);
        if (!f || std::holds_alternative<std::monostate>(f->value)) {
            out += "null";
        } else if (const double* x = std::get_if<double>(&f->value)) {
            AppendJsonNumber(out, *x, kind.unit);
        } else if (const std::string* text = std::get_if<std::string>(&f->value)) {
            AppendJsonText(out, *text);
        } else if (const bool* yes = std::get_if<bool>(&f->value)) {
            out += *yes ? "true" : "false";
        } else if (const VersionPair* pair = std::get_if<VersionPair>(&f->value)) {
            AppendJsonPair(out, pair->first, pair->second, kind.unit);
        }
        if (!n.interval.empty()) {
            out.push_back(',');
            AppendJsonKey(out, n.interval);
            if (f && f->interval) {
                // An interval's ends are never counts.
                AppendJsonPair(out, f->interval->low, f->interval->high, Unit::Ratio);
            } else {
                out += "null";
            }
        }
    }
}

void AppendWarningsJson(std::string& out, const std::vector<Warning>& warnings)
{
    out.push_back('[');
    for (const Warning& w : warnings) {
        out += &w == warnings.data() ? "{" : ",{";
        AppendJsonKey(out, "code");
        AppendJsonText(out, WarningCodeName(w.code));
        out.push_back(',');
        AppendJsonKey(out, "message");
        AppendJsonText(out, w.message);
        out.push_back('}');
    }
    out.push_back(']');
}

std::string ExactNumber(double x)
{
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, x);
    return std::string(buffer, written.ptr);
}

Json FigureJson(const Figure& f)
{
    const Unit unit = f.kind->unit;
    if (const double* x = std::get_if<double>(&f.value)) {
        return NumberJson(*x, unit);
    }
    if (const VersionPair* pair = std::get_if<VersionPair>(&f.value)) {
        return Json{NumberJson(pair->first, unit), NumberJson(pair->second, unit)};
    }
    if (const std::string* text = std::get_if<std::string>(&f.value)) {
        return Json(*text);
    }
    if (const bool* yes = std::get_if<bool>(&f.value)) {
        return Json(*yes);
    }
    return Json(nullptr);
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

void PutFigures(Json& o, std::span<const FigureKind> kinds, const std::vector<Figure>& figures,
                const OutputNames& names)
{
    for (const FigureKind& kind : kinds) {
        const Figure* f = figures.empty() ? nullptr : &figures[static_cast<std::size_t>(kind.id)];
        const KindNames& n = names.kinds[static_cast<std::size_t>(kind.id)];
        o[n.value] = f ? FigureJson(*f) : Json(nullptr);
        if (!n.interval.empty()) {
            o[n.interval] = f && f->interval ? Json{f->interval->low, f->interval->high} : Json(nullptr);
        }
    }
}

void AppendFigureCsv(std::string& out, std::span<const FigureKind> kinds, const std::vector<Figure>& figures,
                     char decimalMark, char delimiter)
{
    // Numbers are written into one buffer on the stack, never a string of their own.
    const auto number = [&](double x) {
        char buffer[64];
        const auto written = std::to_chars(buffer, buffer + sizeof buffer, x);
        if (decimalMark != '.') {
            std::replace(buffer, written.ptr, '.', decimalMark);
        }
        const std::string_view text(buffer, static_cast<std::size_t>(written.ptr - buffer));
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
            number(*x);
        } else if (const std::string* text = std::get_if<std::string>(&f->value)) {
            csv::AppendField(out, *text, delimiter);
        } else if (const bool* yes = std::get_if<bool>(&f->value)) {
            out += *yes ? "true" : "false";
        } else if (const VersionPair* pair = std::get_if<VersionPair>(&f->value)) {
            // Both in one field: a semicolon between them, quoted where it is the delimiter.
            std::string both;
            std::swap(both, out);
            number(pair->first);
            out.push_back(';');
            number(pair->second);
            std::swap(both, out);
            csv::AppendField(out, both, delimiter);
        }
        if (*kind.intervalKey) {
            out.push_back(delimiter);
            if (f && f->interval) {
                number(f->interval->low);
            }
            out.push_back(delimiter);
            if (f && f->interval) {
                number(f->interval->high);
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

Json WarningsJson(const std::vector<Warning>& warnings)
{
    Json list = Json::array();
    for (const Warning& w : warnings) {
        list.push_back({{"code", WarningCodeName(w.code)}, {"message", w.message}});
    }
    return list;
}

Json JudgementJson(const Judgement& j)
{
    Json o;
    o["views1"] = NumberJson(j.counts.views1, Unit::Count);
    o["responses1"] = NumberJson(j.counts.responses1, Unit::Count);
    o["views2"] = NumberJson(j.counts.views2, Unit::Count);
    o["responses2"] = NumberJson(j.counts.responses2, Unit::Count);
    const std::span<const FigureKind> kinds = JudgementFigureKinds();
    PutFigures(o, kinds, JudgementFigures(j, Wording::NumbersOnly).All(), NamesOf(kinds));
    o["warnings"] = WarningsJson(JudgementWarnings(j));
    return o;
}

}  // namespace ambrelay::cli

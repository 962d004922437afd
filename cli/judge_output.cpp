#include "cli/judge_output.h"

#include <charconv>
#include <cmath>

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

std::string WithMark(std::string number, char decimalMark)
{
    if (decimalMark != '.') {
        for (char& c : number) {
            c = c == '.' ? decimalMark : c;
        }
    }
    return number;
}

}  // namespace

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

std::vector<std::string> FigureKeys(const std::vector<FigureKind>& kinds, bool csv)
{
    std::vector<std::string> keys;
    for (const FigureKind& kind : kinds) {
        keys.emplace_back(kind.key);
        if (*kind.intervalKey && csv) {
            keys.push_back(std::string(kind.intervalKey) + "_low");
            keys.push_back(std::string(kind.intervalKey) + "_high");
        } else if (*kind.intervalKey) {
            keys.emplace_back(kind.intervalKey);
        }
    }
    return keys;
}

void PutFigures(Json& o, const std::vector<FigureKind>& kinds, const std::vector<Figure>& figures,
                const std::vector<std::string>& names)
{
    std::size_t name = 0;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const Figure* f = i < figures.size() ? &figures[i] : nullptr;
        o[names[name++]] = f ? FigureJson(*f) : Json(nullptr);
        if (*kinds[i].intervalKey) {
            o[names[name++]] = f && f->interval ? Json{f->interval->low, f->interval->high} : Json(nullptr);
        }
    }
}

void AppendFigureFields(std::vector<std::string>& fields, const std::vector<FigureKind>& kinds,
                        const std::vector<Figure>& figures, char decimalMark)
{
    const auto number = [&](double x) { return WithMark(ExactNumber(x), decimalMark); };
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const Figure* f = i < figures.size() ? &figures[i] : nullptr;
        if (!f) {
            fields.emplace_back();
        } else if (const double* x = std::get_if<double>(&f->value)) {
            fields.push_back(number(*x));
        } else if (const std::string* text = std::get_if<std::string>(&f->value)) {
            fields.push_back(*text);
        } else if (const bool* yes = std::get_if<bool>(&f->value)) {
            fields.emplace_back(*yes ? "true" : "false");
        } else if (const VersionPair* pair = std::get_if<VersionPair>(&f->value)) {
            fields.push_back(number(pair->first) + ";" + number(pair->second));
        } else {
            fields.emplace_back();
        }
        if (*kinds[i].intervalKey) {
            const bool known = f && f->interval;
            fields.push_back(known ? number(f->interval->low) : std::string());
            fields.push_back(known ? number(f->interval->high) : std::string());
        }
    }
}

std::string WarningCodes(const std::vector<Warning>& warnings)
{
    std::string codes;
    for (const Warning& w : warnings) {
        codes += (codes.empty() ? "" : ";") + WarningCodeName(w.code);
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
    const std::vector<FigureKind>& kinds = JudgementFigureKinds();
    PutFigures(o, kinds, JudgementFigures(j, Wording::NumbersOnly), FigureKeys(kinds, false));
    o["warnings"] = WarningsJson(j.insights ? j.insights->warnings : std::vector<Warning>());
    return o;
}

}  // namespace ambrelay::cli

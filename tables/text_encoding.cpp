#include "tables/text_encoding.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace ambrelay::tables {
namespace {

// Windows-1252's characters for the bytes 0x80 to 0x9F; 0 where the byte
// is undefined (it then stands for the control character of its number).
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// The next character of valid UTF-8 at `i`, which moves past it.
char32_t NextCharacter(std::string_view s, std::size_t& i)
{
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(s[at]); };
    const unsigned char lead = byte(i);
    const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (int k = 1; k < length && i + k < s.size(); ++k) {
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    i += length;
    return c;
}

}  // namespace

std::optional<Encoding> EncodingNamed(std::string_view name)
{
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    if (lower == "utf-8" || lower == "utf8") {
        return Encoding::Utf8;
    }
    if (lower == "utf-16" || lower == "utf16" || lower == "utf-16le") {
        return Encoding::Utf16LE;
    }
    if (lower == "utf-16be") {
        return Encoding::Utf16BE;
    }
    if (lower == "windows-1252" || lower == "cp1252" || lower == "latin1") {
        return Encoding::Windows1252;
    }
    return std::nullopt;
}

std::string_view ByteOrderMark(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8:
        return "\xEF\xBB\xBF";
    case Encoding::Utf16LE:
        return "\xFF\xFE";
    case Encoding::Utf16BE:
        return "\xFE\xFF";
    case Encoding::Windows1252:
        break;
    }
    return {};
}

Utf8Check CheckUtf8(std::string_view s)
{
    Utf8Check check;
    for (std::size_t i = 0; i < s.size();) {
        const auto lead = static_cast<unsigned char>(s[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        check.beyondAscii = true;
        const int length = lead >= 0xC2 && lead < 0xE0 ? 2 : lead >= 0xE0 && lead < 0xF0 ? 3
                           : lead >= 0xF0 && lead < 0xF5                               ? 4
                                                                                       : 0;
        if (length == 0 || i + length > s.size()) {
            check.valid = false;
            return check;
        }
        for (int k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) {
                check.valid = false;
                return check;
            }
        }
        // Overlong forms and surrogates are not UTF-8.
        const auto second = static_cast<unsigned char>(s[i + 1]);
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) || (lead == 0xF0 && second < 0x90)
            || (lead == 0xF4 && second >= 0x90)) {
            check.valid = false;
            return check;
        }
        i += length;
    }
    return check;
}

std::string Windows1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (const char b : bytes) {
        const auto c = static_cast<unsigned char>(b);
        if (c >= 0x80 && c < 0xA0) {
            const char32_t mapped = kHighControls[c - 0x80];
            AppendUtf8(out, mapped ? mapped : c);
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

std::string FromUtf8(std::string_view utf8, Encoding encoding)
{
    if (encoding == Encoding::Utf8) {
        return std::string(utf8);
    }
    std::string out;
    out.reserve(encoding == Encoding::Windows1252 ? utf8.size() : utf8.size() * 2);
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = NextCharacter(utf8, i);
        if (encoding == Encoding::Windows1252) {
            if (c < 0x80 || (c >= 0xA0 && c < 0x100)) {
                out.push_back(static_cast<char>(c));
            } else if (c < 0xA0) {
                out.push_back(static_cast<char>(c));  // an undefined byte, back as it came
            } else {
                const auto at = std::find(kHighControls.begin(), kHighControls.end(), c);
                out.push_back(at == kHighControls.end() ? '?' : static_cast<char>(0x80 + (at - kHighControls.begin())));
            }
            continue;
        }
        const auto unit = [&](char16_t u) {
            const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
            out.push_back(encoding == Encoding::Utf16BE ? high : low);
            out.push_back(encoding == Encoding::Utf16BE ? low : high);
        };
        if (c >= 0x10000) {
            unit(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            unit(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            unit(static_cast<char16_t>(c));
        }
    }
    return out;
}

int Utf16Reader::ReadUnit()
{
    const int first = source_.sbumpc();
    if (first == traits_type::eof()) {
        return -1;
    }
    const int second = source_.sbumpc();
    if (second == traits_type::eof()) {
        return 0xFFFD;  // half a unit at the end
    }
    return bigEndian_ ? (first << 8) | second : (second << 8) | first;
}

Utf16Reader::int_type Utf16Reader::underflow()
{
    std::string text;
    while (text.size() + 4 <= sizeof buffer_) {
        int unit = ReadUnit();
        if (unit < 0) {
            break;
        }
        char32_t c = static_cast<char32_t>(unit);
        if (unit >= 0xD800 && unit < 0xDC00) {
            const int low = ReadUnit();
            c = low >= 0xDC00 && low < 0xE000 ? 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00) : 0xFFFD;
        } else if (unit >= 0xDC00 && unit < 0xE000) {
            c = 0xFFFD;
        }
        AppendUtf8(text, c);
    }
    if (text.empty()) {
        return traits_type::eof();
    }
    std::copy(text.begin(), text.end(), buffer_);
    setg(buffer_, buffer_, buffer_ + text.size());
    return traits_type::to_int_type(buffer_[0]);
}

}  // namespace ambrelay::tables

#pragma once
// The encodings spreadsheet programs write tables in. Everything inside the
// program is UTF-8; a table is turned into UTF-8 as it is read and its
// CSV output back into the table's own encoding as it is written, so a
// spreadsheet opens the output as it opened the input.

#include <optional>
#include <streambuf>
#include <string>
#include <string_view>

namespace ambrelay::tables {

enum class Encoding {
    Utf8,
    Utf16LE,
    Utf16BE,
    Windows1252,  // what Excel writes as "CSV" on a Western European Windows
};

// "utf-8", "utf-16", "windows-1252" (and "cp1252", "latin1" for the last);
// nothing for any other name.
std::optional<Encoding> EncodingNamed(std::string_view name);

// The byte order mark that starts a text in this encoding, if it has one.
std::string_view ByteOrderMark(Encoding encoding);

// Whether the bytes are UTF-8, and whether any of them lies beyond ASCII.
struct Utf8Check {
    bool valid = true;
    bool beyondAscii = false;
};
Utf8Check CheckUtf8(std::string_view bytes);

// Windows-1252 bytes as UTF-8. The five bytes Windows-1252 leaves undefined
// become the control characters of the same number, so they come back
// unchanged when written out again.
std::string Windows1252ToUtf8(std::string_view bytes);

// UTF-8 as the encoding's bytes; a character Windows-1252 has no byte for
// becomes "?".
std::string FromUtf8(std::string_view utf8, Encoding encoding);

// A stream buffer that reads UTF-16 from another and gives its text as
// UTF-8; an unpaired surrogate reads as U+FFFD.
class Utf16Reader final : public std::streambuf {
public:
    Utf16Reader(std::streambuf& source, bool bigEndian) : source_(source), bigEndian_(bigEndian) {}

protected:
    int_type underflow() override;

private:
    int ReadUnit();

    std::streambuf& source_;
    bool bigEndian_;
    char buffer_[4096];
};

}  // namespace ambrelay::tables

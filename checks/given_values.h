#pragma once
// A value as a command line, a table's cell or a script hands it over: read
// with the window's number reader, or found missing or no number, with a
// problem that says where it was given. And a test's four counts checked as
// every door but the window checks them: the window keeps its own order of
// checks, the others name the count that is not a number before comparing
// responses with views.

#include <optional>
#include <string>
#include <string_view>

#include "engine/outcome.h"
#include "numbers/counts.h"

namespace ambrelay {

// Where a value was given, so its problem can say so: a table's column or a
// script's argument by name, or one of the four counts as the window's boxes
// name them (a command line's four counts are read as the boxes are).
struct Origin {
    NameKind kind = NameKind::None;
    std::string name;
    std::optional<Input> input;

    static Origin Column(std::string name) { return {NameKind::Column, std::move(name), std::nullopt}; }
    static Origin Argument(std::string name) { return {NameKind::Argument, std::move(name), std::nullopt}; }
    static Origin Option(std::string name) { return {NameKind::Option, std::move(name), std::nullopt}; }
    static Origin Box(Input box) { return {NameKind::None, {}, box}; }
};

// The problem of a value given at `from`.
Problem ProblemAt(Reason reason, const Origin& from, std::string text = {});

// A text: missing when empty (or only blanks, except in a box, where blanks
// are text), else the number it shows, else no number.
Outcome<double> ReadGiven(std::string_view text, const Origin& from);

// A number a script handed over: NaN is missing, an infinity no number.
Outcome<double> GivenNumber(double x, const Origin& from);

// Views 1, responses 1, views 2 and responses 2 as read: the first that is
// missing, then the first that is no number, in the window's order of boxes
// (views 1, views 2, responses 1, responses 2); then the responses of each
// version against its views.
Outcome<Counts> CheckCounts(const Outcome<double>& views1, const Outcome<double>& responses1,
                            const Outcome<double>& views2, const Outcome<double>& responses2);

}  // namespace ambrelay

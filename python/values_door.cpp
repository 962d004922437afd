#include "python/values_door.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <deque>
#include <limits>

#include "answers/values_frame.h"
#include "answers/values_parts.h"
#include "checks/amounts.h"
#include "figures/problem_words.h"
#include "figures/values_output.h"
#include "python/batch.h"

namespace py = pybind11;

namespace ambrelay::python {
namespace {

using Numbers = py::array_t<double, py::array::c_style | py::array::forcecast>;
using Codes = py::array_t<std::int64_t, py::array::c_style | py::array::forcecast>;

// An option's value as the command line reads it; ValueError with its words when it cannot be one.
template <typename T>
T Or(const Outcome<T>& read)
{
    if (!read) {
        throw py::value_error(ProblemText(read.Failure()));
    }
    return *read;
}

std::string Text(const py::dict& options, const char* key)
{
    return options.contains(key) && !options[key].is_none() ? options[key].cast<std::string>() : std::string();
}

// The options as means --values reads its own, each named as the argument it came in.
ValuesRequest RequestOf(const py::dict& o)
{
    ValuesRequest request;
    tables::ValuesLayout& l = request.layout;
    l.group = Text(o, "group");
    l.value = Text(o, "value");
    l.numerator = Text(o, "numerator");
    l.denominator = Text(o, "denominator");
    l.covariate = Text(o, "covariate");
    l.covariateNumerator = Text(o, "covariate_numerator");
    l.covariateDenominator = Text(o, "covariate_denominator");
    l.control = Text(o, "control");
    for (const auto& [name, into] : {std::pair{"cap", &l.caps.upperPercent}, std::pair{"cap_lower", &l.caps.lowerPercent},
                                     std::pair{"cap_covariate", &l.caps.covariateUpperPercent}}) {
        if (const std::string text = Text(o, name); !text.empty()) {
            *into = Or(ReadPercentile(text, Origin::Argument(name)));
        }
    }
    l.caps.ignoreZeros = o.contains("ignore_zeros") && o["ignore_zeros"].cast<bool>();
    MeansOptions& options = request.options;
    options.better = o.contains("lower_is_better") && o["lower_is_better"].cast<bool>() ? Better::Lower : Better::Higher;
    if (const std::string planned = Text(o, "planned"); !planned.empty()) {
        options.plannedObservations = Or(ReadPlanned(planned, Origin::Argument("planned")));
    }
    if (const std::string margin = Text(o, "margin"); !margin.empty()) {
        options.margin = Or(ReadMargin(margin, MarginKind::RelativePercent, Origin::Argument("margin")));
    } else if (const std::string units = Text(o, "margin_units"); !units.empty()) {
        options.margin = Or(ReadMargin(units, MarginKind::Points, Origin::Argument("margin_units")));
    }
    VersionsOptions& family = request.family;
    if (const std::string adjust = Text(o, "adjust"); !adjust.empty()) {
        family.adjustment = Or(ReadAdjustment(adjust, Origin::Argument("adjust")));
    }
    if (const std::string split = Text(o, "split"); !split.empty()) {
        const Origin at = Origin::Argument("split");
        const Split read = Or(ReadSplit(split, at));
        family.sharesPercent = read.sharesPercent;
        // A's share where there are two versions; more shares are for a test of more.
        if (const Outcome<Split> two = SplitFor(read, 2, at)) {
            options.splitPercentA = two->SharePercentA();
        }
    }
    family.control = l.control;
    return request;
}

// A frame's columns, and the memory they lie in while they are read.
class FrameColumns {
public:
    FrameColumns(const py::dict& columns, const ValuesRequest& request)
    {
        const tables::ValuesLayout& l = request.layout;
        frame_.group = Labels(columns["group"], l.group, groupCodes_, groupTexts_);
        frame_.rows = static_cast<std::size_t>(groupCodes_.size());
        frame_.value = Cells(columns, "value", l.Ratio() ? l.numerator : l.value);
        if (l.Ratio()) {
            frame_.denominator = Cells(columns, "denominator", l.denominator);
        }
        if (l.Covariate()) {
            frame_.covariate = Cells(columns, "covariate", l.CovariateRatio() ? l.covariateNumerator : l.covariate);
        }
        if (l.CovariateRatio()) {
            frame_.covariateDenominator = Cells(columns, "covariate_denominator", l.covariateDenominator);
        }
        if (columns.contains("test") && !columns["test"].is_none()) {
            tests_ = Labels(columns["test"], "test", testCodes_, testTexts_);
            if (static_cast<std::size_t>(testCodes_.size()) != frame_.rows) {
                throw py::value_error("the test column differs in length from the group column");
            }
        }
    }

    const tables::ValuesFrame& Frame() const { return frame_; }
    const tables::FrameLabels* Tests() const { return tests_ ? &*tests_ : nullptr; }

private:
    static tables::FrameLabels Labels(const py::handle& given, const std::string& name, Codes& codes,
                                      std::vector<std::string>& texts)
    {
        const auto pair = given.cast<py::tuple>();
        codes = Codes::ensure(pair[0]);
        texts = pair[1].cast<std::vector<std::string>>();
        const std::int64_t* at = codes.data();
        for (py::ssize_t i = 0; i < codes.size(); ++i) {
            if (at[i] >= static_cast<std::int64_t>(texts.size())) {
                throw py::value_error("a label's code beyond its texts in column " + name);
            }
        }
        return {codes.data(), &texts, name};
    }

    tables::FrameCells Cells(const py::dict& columns, const char* role, const std::string& name)
    {
        tables::FrameCells cells;
        cells.name = name;
        const py::handle given = columns[role];
        std::size_t size = 0;
        if (py::isinstance<py::list>(given)) {
            texts_.push_back(given.cast<std::vector<std::string>>());
            cells.texts = &texts_.back();
            size = texts_.back().size();
        } else {
            numbers_.push_back(Numbers::ensure(given));
            if (!numbers_.back()) {
                throw py::type_error(name + " must hold numbers or texts");
            }
            cells.numbers = numbers_.back().data();
            size = static_cast<std::size_t>(numbers_.back().size());
        }
        if (size != frame_.rows) {
            throw py::value_error("the column " + name + " differs in length from the group column");
        }
        return cells;
    }

    tables::ValuesFrame frame_;
    Codes groupCodes_, testCodes_;
    std::vector<std::string> groupTexts_, testTexts_;
    std::optional<tables::FrameLabels> tests_;
    std::deque<Numbers> numbers_;
    std::deque<std::vector<std::string>> texts_;
};

// The rows left out of every test, as one warning's words: the first by
// their places in the frame, then how many more. Empty when none.
std::string RowsLeftOut(const std::vector<FrameTest>& tests)
{
    std::vector<Problem> named;
    std::size_t count = 0;
    for (const FrameTest& test : tests) {
        if (test.answer) {
            const tables::ValuesRead& read = test.answer->read;
            named.insert(named.end(), read.firstRowsLeftOut.begin(), read.firstRowsLeftOut.end());
            count += read.rowsLeftOut;
        }
    }
    std::stable_sort(named.begin(), named.end(), [](const Problem& a, const Problem& b) { return a.line < b.line; });
    if (named.size() > tables::kRowProblemsNamed) {
        named.erase(named.begin() + tables::kRowProblemsNamed, named.end());
    }
    return FrameRowsLeftOutText(named, count);
}

// Why a test has no comparison, or nothing when it has.
std::optional<std::string> ErrorOf(const FrameTest& test)
{
    if (!test.answer) {
        return ProblemText(test.answer.Failure());
    }
    if (!test.answer->versions) {
        return ProblemText(test.answer->versions.Failure());
    }
    return std::nullopt;
}

// One test: the command line's JSON, or why there is none.
py::dict OneTest(const std::vector<FrameTest>& tests)
{
    py::dict result;
    const FrameTest& test = tests.front();
    const std::optional<std::string> error = ErrorOf(test);
    result["json"] = error ? py::object(py::none()) : py::object(py::str(ValuesJson(*test.answer)));
    result["error"] = error ? py::object(py::str(*error)) : py::object(py::none());
    result["rows_left_out"] = RowsLeftOut(tests);
    return result;
}

const char* TypeName(ColumnType type)
{
    return type == ColumnType::Text ? "text" : type == ColumnType::YesNo ? "yes_no" : "number";
}

// Many tests: a row per comparison (a row with the reason for a test with
// none), the test's label first, every figure in the command line's
// columns, then the warnings' codes and the error.
py::dict ByTest(const std::vector<FrameTest>& tests, bool covariate)
{
    const std::vector<std::span<const FigureKind>> kinds = ValuesRowKinds(covariate);
    const std::vector<OutputColumn> columns = ColumnsOf(kinds);
    std::size_t rows = 0;
    for (const FrameTest& test : tests) {
        rows += ErrorOf(test) ? 1 : test.answer->versions->comparisons.size();
    }
    std::vector<Numbers> numbers;
    std::vector<py::list> texts;
    for (const OutputColumn& column : columns) {
        numbers.emplace_back(static_cast<py::ssize_t>(column.type == ColumnType::Text ? 0 : rows));
        texts.emplace_back(column.type == ColumnType::Text ? rows : 0);
    }
    py::list labels(rows), warnings(rows), errors(rows);
    constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
    std::size_t row = 0;
    for (const FrameTest& test : tests) {
        const std::optional<std::string> error = ErrorOf(test);
        const std::size_t comparisons = error ? 1 : test.answer->versions->comparisons.size();
        for (std::size_t c = 0; c < comparisons; ++c, ++row) {
            labels[row] = test.label;
            errors[row] = error ? py::object(py::str(*error)) : py::object(py::none());
            const std::vector<Figure> figures = error ? std::vector<Figure>() : ValuesRowFigures(*test.answer, c);
            std::string codes;
            if (!error) {
                for (const Warning& w : ValuesRowWarnings(*test.answer, c)) {
                    codes += (codes.empty() ? "" : ";") + WarningCodeName(w.code);
                }
            }
            warnings[row] = error ? py::object(py::none()) : py::object(py::str(codes));
            for (std::size_t k = 0; k < columns.size(); ++k) {
                const OutputColumn& column = columns[k];
                const Figure* f = figures.empty() ? nullptr : &figures[column.kind];
                if (column.type == ColumnType::Text) {
                    const std::string* text = f ? std::get_if<std::string>(&f->value) : nullptr;
                    texts[k][row] = text ? py::object(py::str(*text)) : py::object(py::none());
                    continue;
                }
                double x = kNone;
                if (f && column.part > 0) {
                    x = f->interval ? (column.part == 1 ? f->interval->low : f->interval->high) : kNone;
                } else if (const double* number = f ? std::get_if<double>(&f->value) : nullptr) {
                    x = *number;
                } else if (const bool* yes = f ? std::get_if<bool>(&f->value) : nullptr) {
                    x = *yes ? 1 : 0;
                }
                numbers[k].mutable_at(static_cast<py::ssize_t>(row)) = x;
            }
        }
    }
    py::list layout, out;
    for (std::size_t k = 0; k < columns.size(); ++k) {
        const OutputColumn& column = columns[k];
        layout.append(py::make_tuple(column.name, column.jsonKey, TypeName(column.type), column.part));
        out.append(column.type == ColumnType::Text ? py::object(texts[k]) : py::object(numbers[k]));
    }
    py::dict result;
    result["layout"] = layout;
    result["columns"] = out;
    result["tests"] = labels;
    result["warnings"] = warnings;
    result["errors"] = errors;
    result["rows_left_out"] = RowsLeftOut(tests);
    return result;
}

py::dict Rendered(const std::vector<FrameTest>& tests, bool byTest, const ValuesRequest& request)
{
    return byTest ? ByTest(tests, request.layout.Covariate()) : OneTest(tests);
}

}  // namespace

void DefineValues(py::module_& m)
{
    // columns: "group" (codes, texts) as pandas factorises a column, each
    // of "value", "denominator", "covariate" and "covariate_denominator"
    // the layout has (numbers, NaN blank, or texts), "test" when there are
    // many tests; options: means_values()'s keyword arguments.
    m.def(
        "means_values",
        [](const py::dict& columns, const py::dict& options) {
            const ValuesRequest request = RequestOf(options);
            const FrameColumns frame(columns, request);
            std::vector<FrameTest> tests;
            {
                py::gil_scoped_release unlocked;
                tests = CompareValuesFrame(frame.Frame(), frame.Tests(), request);
            }
            return Rendered(tests, frame.Tests() != nullptr, request);
        },
        py::arg("columns"), py::arg("options"));

    py::class_<ValuesParts>(m, "ValuesParts", "What some partitions' users add up to, in one pass of a cluster's.")
        .def("merge",
             [](const ValuesParts& parts, const ValuesParts& later) {
                 ValuesParts merged = parts;
                 merged.Merge(later);
                 return merged;
             })
        .def("last",
             [](const ValuesParts& parts) {
                 // Every pass must have read the rows the first read.
                 if (const std::optional<Problem> changed = parts.RowsChanged()) {
                     throw py::value_error(ProblemText(*changed));
                 }
                 return parts.Last();
             })
        .def("next", [](const ValuesParts& parts, const py::dict& options) { return parts.Next(RequestOf(options)); })
        .def("answers",
             [](const ValuesParts& parts, const py::dict& options, bool byTest) {
                 const ValuesRequest request = RequestOf(options);
                 return Rendered(parts.Answers(request), byTest, request);
             })
        .def(py::pickle([](const ValuesParts& parts) { return py::bytes(parts.ToBytes()); },
                        [](const py::bytes& bytes) {
                            std::optional<ValuesParts> parts = ValuesParts::FromBytes(std::string(bytes));
                            if (!parts) {
                                throw py::value_error("these bytes are no parts of this build of ambrelay");
                            }
                            return std::move(*parts);
                        }));

    // A partition's rows read in a pass: the first when `before` is None,
    // else the pass whose empty part it is.
    m.def(
        "values_part",
        [](const py::dict& columns, const py::dict& options, const std::optional<ValuesParts>& before) {
            const ValuesRequest request = RequestOf(options);
            const FrameColumns frame(columns, request);
            ValuesParts part = before ? *before : ValuesParts(request);
            {
                py::gil_scoped_release unlocked;
                part.Read(frame.Frame(), frame.Tests(), request);
            }
            return part;
        },
        py::arg("columns"), py::arg("options"), py::arg("before"));
}

}  // namespace ambrelay::python

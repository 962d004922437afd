// The compiled half of the Python package: arrays in, the batch on as many
// threads as asked with the interpreter's lock released, columns out. The
// Python half (ambrelay/__init__.py) makes frames and dicts of them.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <memory>


#include "figures/means_figures.h"
#include "figures/plan_figures.h"
#include "figures/reasons.h"
#include "python/batch.h"

namespace py = pybind11;
using namespace ambrelay;
using ambrelay::python::OutputColumn;
using ambrelay::python::ColumnType;
using ambrelay::python::ColumnsOf;
using ambrelay::python::ExactText;
using ambrelay::python::Output;
using ambrelay::python::Settings;
using ambrelay::python::InputColumn;

namespace {

using Array = py::array_t<double, py::array::c_style | py::array::forcecast>;

InputColumn InputOf(const Array& a) { return {a.data(), static_cast<std::size_t>(a.size())}; }

const char* TypeName(ColumnType type)
{
    return type == ColumnType::Text ? "text" : type == ColumnType::YesNo ? "yes_no" : "number";
}

// A margin as the command line reads --margin (kind relative) or
// --margin-points; ValueError with the reason when it cannot be one.
std::optional<Margin> MarginOf(std::optional<double> size, MarginKind kind)
{
    if (!size) {
        return std::nullopt;
    }
    const Outcome<Margin> read = ReadMargin(ExactText(*size), kind);
    if (!read) {
        throw py::value_error(ReasonText(read.Failure()));
    }
    return *read;
}

// A column of texts' codes as a NumPy array of str objects (None where
// there is none), which pandas takes as it is.
py::array TextColumn(const std::int32_t* codes, std::size_t rows, const std::vector<std::vector<py::object>>& made)
{
    py::array column(py::dtype("O"), std::vector<py::ssize_t>{static_cast<py::ssize_t>(rows)});
    auto** cells = static_cast<PyObject**>(column.mutable_data());
    for (std::size_t i = 0; i < rows; ++i) {
        PyObject* cell = codes[i] == python::kNoText
                             ? Py_None
                             : made[static_cast<std::size_t>(codes[i] >> python::kThreadShift)]
                                   [static_cast<std::size_t>(codes[i] & ((1 << python::kThreadShift) - 1))]
                                       .ptr();
        Py_INCREF(cell);
        Py_XDECREF(cells[i]);
        cells[i] = cell;
    }
    return column;
}

// Numbers into arrays the interpreter owns, filled while its lock is
// released; then each thread's distinct texts made into str objects once,
// and the text columns filled with them.
template <typename Run>
py::dict RunBatch(std::span<const FigureKind> kinds, std::size_t rows, Settings settings, Run run)
{
    Output out(ColumnsOf(kinds));
    if (settings.words) {
        out.warningWords.resize(rows);
    }
    py::list layout, columns;
    std::vector<Array> numbers;
    for (std::size_t c = 0; c < out.columns.size(); ++c) {
        const OutputColumn& column = out.columns[c];
        layout.append(py::make_tuple(column.name, column.jsonKey, TypeName(column.type), column.part));
        if (column.type != ColumnType::Text) {
            numbers.emplace_back(static_cast<py::ssize_t>(rows));
            out.numbers[c] = numbers.back().mutable_data();
        }
    }
    // Every row's code is written by the batch: the memory starts unset.
    std::vector<std::unique_ptr<std::int32_t[]>> codes;
    for (std::int32_t*& column : out.codes) {
        codes.emplace_back(new std::int32_t[rows]);
        column = codes.back().get();
    }
    {
        py::gil_scoped_release unlocked;
        run(settings, out);
    }

    std::vector<std::vector<py::object>> made(out.dictionaries.size());
    for (std::size_t thread = 0; thread < made.size(); ++thread) {
        for (const std::string& text : out.dictionaries[thread].Texts()) {
            made[thread].push_back(py::str(text));
        }
    }
    std::vector<py::array> texts;
    for (const auto& column : codes) {
        texts.push_back(TextColumn(column.get(), rows, made));
    }
    std::size_t n = 0, t = 0;
    for (std::size_t c = 0; c < out.columns.size(); ++c) {
        columns.append(out.columns[c].type == ColumnType::Text ? py::object(texts[t++]) : numbers[n++]);
    }
    py::dict result;
    result["layout"] = layout;
    result["columns"] = columns;
    result["warnings"] = texts[t];
    result["errors"] = texts[t + 1];
    if (settings.words) {
        result["warning_words"] = out.warningWords;
    }
    return result;
}

// The rows of inputs that each have one value for every row or one for all.
std::size_t Rows(std::initializer_list<const Array*> arrays)
{
    std::optional<std::size_t> rows;
    for (const Array* a : arrays) {
        const auto size = static_cast<std::size_t>(a->size());
        if (size == 1) {
            continue;
        }
        if (rows && *rows != size) {
            throw py::value_error("the columns differ in length: " + std::to_string(*rows) + " and "
                                  + std::to_string(size) + " rows");
        }
        rows = size;
    }
    return rows.value_or(1);
}

// A plan's figures as the command line's JSON has them.
py::dict FiguresDict(std::span<const FigureKind> kinds, const std::vector<Figure>& figures)
{
    py::dict d;
    for (const FigureKind& k : kinds) {
        const Figure& f = figures[static_cast<std::size_t>(k.id)];
        py::object value = py::none();
        if (const double* x = std::get_if<double>(&f.value)) {
            value = py::float_(*x);
        } else if (const VersionPair* pair = std::get_if<VersionPair>(&f.value)) {
            value = py::cast(std::vector<double>{pair->first, pair->second});
        } else if (const std::string* text = std::get_if<std::string>(&f.value)) {
            value = py::str(*text);
        } else if (const bool* yes = std::get_if<bool>(&f.value)) {
            value = py::bool_(*yes);
        }
        d[k.key] = value;
        if (*k.intervalKey) {
            d[k.intervalKey] =
                f.interval ? py::cast(std::vector<double>{f.interval->low, f.interval->high}) : py::none();
        }
    }
    return d;
}

template <typename Answer>
py::dict PlanAnswer(std::span<const FigureKind> kinds, const Answer& answer)
{
    if (!answer) {
        throw py::value_error(ReasonText(answer.Failure()));
    }
    return FiguresDict(kinds, answer->All());
}

}  // namespace

PYBIND11_MODULE(_ambrelay, m)
{
    m.doc() = "The judge's engine, many rows at a time; see the ambrelay package.";

    m.def(
        "judge",
        [](const Array& v1, const Array& r1, const Array& v2, const Array& r2, const Array& planned,
           std::optional<double> margin, std::optional<double> marginPoints, unsigned jobs, bool words) {
            const std::size_t rows = Rows({&v1, &r1, &v2, &r2, &planned});
            Settings s{InputOf(planned), margin ? MarginOf(margin, MarginKind::RelativePercent)
                                                : MarginOf(marginPoints, MarginKind::Points),
                       jobs, words};
            const InputColumn counts[4] = {InputOf(v1), InputOf(r1), InputOf(v2), InputOf(r2)};
            return RunBatch(JudgementFigureKinds(), rows, s,
                            [&](const Settings& settings, Output& out) {
                                python::JudgeBatch(counts, rows, settings, out);
                            });
        },
        py::arg("views1"), py::arg("responses1"), py::arg("views2"), py::arg("responses2"), py::arg("planned"),
        py::arg("margin"), py::arg("margin_points"), py::arg("jobs"), py::arg("words"));

    m.def(
        "means",
        [](const Array& n1, const Array& mean1, const Array& sd1, const Array& n2, const Array& mean2,
           const Array& sd2, bool lowerIsBetter, const Array& planned, std::optional<double> margin,
           std::optional<double> marginUnits, unsigned jobs, bool words) {
            const std::size_t rows = Rows({&n1, &mean1, &sd1, &n2, &mean2, &sd2, &planned});
            Settings s{InputOf(planned), margin ? MarginOf(margin, MarginKind::RelativePercent)
                                                : MarginOf(marginUnits, MarginKind::Points),
                       jobs, words};
            const InputColumn in[6] = {InputOf(n1), InputOf(mean1), InputOf(sd1),
                                       InputOf(n2), InputOf(mean2), InputOf(sd2)};
            const Better better = lowerIsBetter ? Better::Lower : Better::Higher;
            return RunBatch(MeansFigureKinds(), rows, s, [&](const Settings& settings, Output& out) {
                python::MeansBatch(in, better, rows, settings, out);
            });
        },
        py::arg("n1"), py::arg("mean1"), py::arg("sd1"), py::arg("n2"), py::arg("mean2"), py::arg("sd2"),
        py::arg("lower_is_better"), py::arg("planned"), py::arg("margin"), py::arg("margin_units"), py::arg("jobs"),
        py::arg("words"));

    m.def(
        "srm",
        [](const Array& o1, const Array& o2, const Array& split, unsigned jobs) {
            const std::size_t rows = Rows({&o1, &o2, &split});
            const InputColumn in[3] = {InputOf(o1), InputOf(o2), InputOf(split)};
            return RunBatch(SplitFigureKinds(), rows, Settings{{}, std::nullopt, jobs, false},
                            [&](const Settings& settings, Output& out) {
                                python::SplitBatch(in, rows, settings, out);
                            });
        },
        py::arg("observations1"), py::arg("observations2"), py::arg("split"), py::arg("jobs"));

    m.def(
        "plan_rates",
        [](double baseline, std::optional<double> mde, std::optional<double> observations, bool absolute,
           double alpha, double power, double split, std::optional<double> daily, bool oneSided) {
            PlanRequest request;
            request.settings = {baseline, 0.0, absolute ? EffectKind::Absolute : EffectKind::Relative,
                                alpha,    power, !oneSided, split, daily};
            request.effect = mde;
            request.observationsPerVersion = observations;
            return PlanAnswer(PlanFigureKinds(), AnswerPlan(request));
        },
        py::arg("baseline"), py::arg("mde"), py::arg("observations"), py::arg("absolute"), py::arg("alpha"),
        py::arg("power"), py::arg("split"), py::arg("daily"), py::arg("one_sided"));

    m.def(
        "plan_means",
        [](double sd, double mde, bool absolute, std::optional<double> mean, double alpha, double power,
           std::optional<double> daily, bool oneSided) {
            const MeansPlanRequest request{sd, mde, !absolute, mean, alpha, power, !oneSided, daily};
            return PlanAnswer(MeansPlanFigureKinds(), AnswerMeansPlan(request));
        },
        py::arg("sd"), py::arg("mde"), py::arg("absolute"), py::arg("mean"), py::arg("alpha"), py::arg("power"),
        py::arg("daily"), py::arg("one_sided"));
}

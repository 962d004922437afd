// The compiled half of the Python package: arrays in, the batch on as many
// threads as asked with the interpreter's lock released, columns out. The
// Python half (ambrelay/__init__.py) makes frames and dicts of them.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <deque>
#include <memory>

#include "answers/plan_reading.h"
#include "answers/table_answers.h"
#include "checks/amounts.h"
#include "figures/figure_choice.h"
#include "figures/means_figures.h"
#include "figures/plan_figures.h"
#include "figures/problem_words.h"
#include "figures/versions_figures.h"
#include "python/batch.h"
#include "python/values_door.h"

namespace py = pybind11;
using namespace ambrelay;
using ambrelay::python::OutputColumn;
using ambrelay::python::ColumnType;
using ambrelay::python::ColumnsOf;
using ambrelay::python::Output;
using ambrelay::python::Settings;
using ambrelay::python::InputColumn;

namespace {

using Array = py::array_t<double, py::array::c_style | py::array::forcecast>;

// The inputs of one call: each a column of numbers (a NumPy array) or of
// texts (a list of str, read as every door reads texts), named for the
// words of a row's problem. The memory stays here while the batch runs.
class Inputs {
public:
    explicit Inputs(NameKind kind) : kind_(kind) {}

    InputColumn Add(const py::handle& column, const std::string& name)
    {
        InputColumn in;
        in.origin = {kind_, name, std::nullopt};
        if (py::isinstance<py::list>(column)) {
            texts_.push_back(column.cast<std::vector<std::string>>());
            in.texts = &texts_.back();
            in.size = texts_.back().size();
        } else {
            arrays_.push_back(Array::ensure(column));
            if (!arrays_.back()) {
                throw py::type_error(name + " must hold numbers or texts");
            }
            in.data = arrays_.back().data();
            in.size = static_cast<std::size_t>(arrays_.back().size());
        }
        return in;
    }

private:
    NameKind kind_;
    std::deque<Array> arrays_;
    std::deque<std::vector<std::string>> texts_;
};

const char* TypeName(ColumnType type)
{
    return type == ColumnType::Text ? "text" : type == ColumnType::YesNo ? "yes_no" : "number";
}

// An option's value as the command line reads it; ValueError with the
// command line's words when it cannot be one.
template <typename T>
T Or(const Outcome<T>& read)
{
    if (!read) {
        throw py::value_error(ProblemText(read.Failure()));
    }
    return *read;
}

std::optional<Margin> MarginOf(const std::optional<std::string>& margin, const std::optional<std::string>& points,
                               const char* pointsName)
{
    if (margin) {
        return Or(ReadMargin(*margin, MarginKind::RelativePercent, Origin::Argument("margin")));
    }
    if (points) {
        return Or(ReadMargin(*points, MarginKind::Points, Origin::Argument(pointsName)));
    }
    return std::nullopt;
}

double SplitOf(const std::optional<std::string>& split)
{
    if (!split) {
        return 50;
    }
    const Origin at = Origin::Argument("split");
    return Or(SplitFor(Or(ReadSplit(*split, at)), 2, at)).SharePercentA();
}

// What judge() and means() add to every row: a planned total (a column, or
// one for all), a margin, the intended split.
Settings SettingsOf(Inputs& inputs, const py::object& planned, const std::optional<std::string>& margin,
                    const std::optional<std::string>& points, const char* pointsName,
                    const std::optional<std::string>& split, unsigned jobs, bool words)
{
    Settings s;
    s.planned = inputs.Add(planned, "planned");
    s.margin = MarginOf(margin, points, pointsName);
    s.splitPercentA = SplitOf(split);
    s.jobs = jobs;
    s.words = words;
    return s;
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
py::dict RunBatch(std::vector<OutputColumn> columnsOut, std::size_t rows, Settings settings, Run run)
{
    Output out(std::move(columnsOut));
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
    // No text until the batch writes one: a batch of versions writes fewer rows than come in.
    std::vector<std::unique_ptr<std::int32_t[]>> codes;
    for (std::int32_t*& column : out.codes) {
        codes.emplace_back(new std::int32_t[rows]);
        std::fill_n(codes.back().get(), rows, python::kNoText);
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
std::size_t Rows(std::initializer_list<const InputColumn*> columns)
{
    std::optional<std::size_t> rows;
    for (const InputColumn* c : columns) {
        if (c->size == 1) {
            continue;
        }
        if (rows && *rows != c->size) {
            throw py::value_error("the columns differ in length: " + std::to_string(*rows) + " and "
                                  + std::to_string(c->size) + " rows");
        }
        rows = c->size;
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

// A long frame's tests answered by `batch`, whose rows out are the first
// `count` of every column, each from the row in at its place.
template <typename Batch>
py::dict VersionsBatch(const std::optional<std::vector<std::string>>& tests, const std::vector<std::string>& versions,
                       const py::list& columns, const std::vector<std::string>& names, const py::object& planned,
                       const std::optional<std::string>& margin, const std::optional<std::string>& points,
                       const char* pointsName, const std::optional<std::string>& split, const std::string& control,
                       const std::string& adjust, unsigned jobs, std::span<const FigureKind> comparison, Batch batch)
{
    Inputs inputs(NameKind::Column);
    python::VersionRows in;
    in.tests = tests ? &*tests : nullptr;
    in.versions = &versions;
    in.rows = versions.size();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        in.cells.push_back(inputs.Add(columns[i], names[i]));
    }
    const Settings s = SettingsOf(inputs, planned, margin, points, pointsName, std::nullopt, jobs, false);
    VersionsOptions family;
    family.control = control;
    family.adjustment = Or(ReadAdjustment(adjust, Origin::Argument("adjust")));
    if (split) {
        family.sharesPercent = Or(ReadSplit(*split, Origin::Argument("split"))).sharesPercent;
    }
    py::array_t<std::int64_t> places(static_cast<py::ssize_t>(in.rows));
    std::size_t count = 0;
    py::dict result = RunBatch(ColumnsOf({VersionFigureKinds(), comparison}), in.rows, s,
                               [&](const Settings& settings, Output& out) {
                                   count = batch(in, settings, family, out, places.mutable_data());
                               });
    result["count"] = count;
    result["places"] = places;
    return result;
}

template <typename Answer>
py::dict PlanAnswer(std::span<const FigureKind> kinds, const Answer& answer,
                    std::span<const std::pair<std::span<const FigureKind>, std::vector<Figure>>> more = {})
{
    py::dict d = FiguresDict(kinds, Or(answer).All());
    for (const auto& [moreKinds, figures] : more) {
        d.attr("update")(FiguresDict(moreKinds, figures));
    }
    return d;
}

// A plan of more than two versions: how many, and each comparison's level.
std::vector<std::pair<std::span<const FigureKind>, std::vector<Figure>>> FamilyOf(double alpha, std::size_t versions)
{
    if (versions <= 2) {
        return {};
    }
    return {{FamilyPlanFigureKinds(), FamilyPlanFigures(alpha, versions).All()}};
}

PlanTexts CommonPlanTexts(const std::string& alpha, const std::string& power, const std::optional<std::string>& daily,
                     bool oneSided)
{
    PlanTexts t;
    t.alpha = alpha;
    t.power = power;
    t.daily = daily.value_or("");
    t.oneSided = oneSided;
    return t;
}

}  // namespace

PYBIND11_MODULE(_ambrelay, m)
{
    m.doc() = "The judge's engine, many rows at a time; see the ambrelay package.";
    m.attr("JUDGE_COLUMNS") = py::cast(std::vector<std::string>(kCountNames.begin(), kCountNames.end()));
    m.attr("MEANS_COLUMNS") = py::cast(std::vector<std::string>(kSummaryNames.begin(), kSummaryNames.end()));

    // columns: four (or six) arrays or lists of texts, named `names`, a
    // frame's columns or a call's arguments.
    m.def(
        "judge",
        [](const py::list& columns, const std::vector<std::string>& names, bool fromFrame, const py::object& planned,
           std::optional<std::string> margin, std::optional<std::string> marginPoints,
           std::optional<std::string> split, unsigned jobs, bool words,
           const std::optional<std::vector<std::string>>& figures) {
            Inputs inputs(fromFrame ? NameKind::Column : NameKind::Argument);
            const InputColumn counts[4] = {inputs.Add(columns[0], names[0]), inputs.Add(columns[1], names[1]),
                                           inputs.Add(columns[2], names[2]), inputs.Add(columns[3], names[3])};
            Settings s = SettingsOf(inputs, planned, margin, marginPoints, "margin_points", split, jobs, words);
            // The figures asked for, named as in the output; the inputs' names are allowed.
            std::vector<FigureKind> kinds(JudgementFigureKinds().begin(), JudgementFigureKinds().end());
            if (figures) {
                std::vector<std::string> allowed(kCountNames.begin(), kCountNames.end());
                allowed.insert(allowed.end(), names.begin(), names.end());
                kinds = Or(ChooseFigures(JudgementFigureKinds(), *figures, allowed, Origin::Argument("figures")));
            }
            s.chosen = JudgementChoiceOf(kinds);
            const std::size_t rows = Rows({&counts[0], &counts[1], &counts[2], &counts[3], &s.planned});
            return RunBatch(ColumnsOf({kinds}), rows, s, [&](const Settings& settings, Output& out) {
                python::JudgeBatch(counts, rows, settings, out);
            });
        },
        py::arg("columns"), py::arg("names"), py::arg("from_frame"), py::arg("planned"), py::arg("margin"),
        py::arg("margin_points"), py::arg("split"), py::arg("jobs"), py::arg("words"), py::arg("figures") = py::none());

    m.def(
        "means",
        [](const py::list& columns, const std::vector<std::string>& names, bool fromFrame, bool lowerIsBetter,
           const py::object& planned, std::optional<std::string> margin, std::optional<std::string> marginUnits,
           std::optional<std::string> split, unsigned jobs, bool words) {
            Inputs inputs(fromFrame ? NameKind::Column : NameKind::Argument);
            InputColumn in[6];
            for (std::size_t i = 0; i < 6; ++i) {
                in[i] = inputs.Add(columns[i], names[i]);
            }
            const Settings s = SettingsOf(inputs, planned, margin, marginUnits, "margin_units", split, jobs, words);
            const std::size_t rows = Rows({&in[0], &in[1], &in[2], &in[3], &in[4], &in[5], &s.planned});
            const Better better = lowerIsBetter ? Better::Lower : Better::Higher;
            return RunBatch(ColumnsOf({MeansFigureKinds()}), rows, s, [&](const Settings& settings, Output& out) {
                python::MeansBatch(in, better, rows, settings, out);
            });
        },
        py::arg("columns"), py::arg("names"), py::arg("from_frame"), py::arg("lower_is_better"), py::arg("planned"),
        py::arg("margin"), py::arg("margin_units"), py::arg("split"), py::arg("jobs"), py::arg("words"));

    m.def(
        "srm",
        [](const py::handle& o1, const py::handle& o2, const py::handle& split, unsigned jobs) {
            Inputs inputs(NameKind::Argument);
            const InputColumn in[3] = {inputs.Add(o1, "observations1"), inputs.Add(o2, "observations2"),
                                       inputs.Add(split, "split")};
            Settings s;
            s.jobs = jobs;
            const std::size_t rows = Rows({&in[0], &in[1], &in[2]});
            return RunBatch(ColumnsOf({SplitFigureKinds()}), rows, s, [&](const Settings& settings, Output& out) {
                python::SplitBatch(in, rows, settings, out);
            });
        },
        py::arg("observations1"), py::arg("observations2"), py::arg("split"), py::arg("jobs"));

    // The planner's inputs as texts, read as the command line reads its options.
    m.def(
        "plan_rates",
        [](const std::string& baseline, std::optional<std::string> mde, std::optional<std::string> observations,
           bool absolute, const std::string& alpha, const std::string& power, const std::string& split,
           std::optional<std::string> daily, bool oneSided, const std::string& versions) {
            PlanTexts t = CommonPlanTexts(alpha, power, daily, oneSided);
            t.baseline = baseline;
            t.mde = mde.value_or("");
            t.observations = observations.value_or("");
            t.absolute = absolute;
            t.split = split;
            t.versions = versions;
            const PlanRequest request = Or(ReadRatesPlan(t, NameKind::Argument, ""));
            return PlanAnswer(PlanFigureKinds(), AnswerPlan(request),
                              FamilyOf(request.settings.alpha, request.versions));
        },
        py::arg("baseline"), py::arg("mde"), py::arg("observations"), py::arg("absolute"), py::arg("alpha"),
        py::arg("power"), py::arg("split"), py::arg("daily"), py::arg("one_sided"), py::arg("versions"));

    m.def(
        "plan_means",
        [](const std::string& sd, const std::string& mde, bool absolute, std::optional<std::string> mean,
           const std::string& alpha, const std::string& power, std::optional<std::string> daily, bool oneSided,
           const std::string& versions, std::optional<std::string> correlation) {
            PlanTexts t = CommonPlanTexts(alpha, power, daily, oneSided);
            t.sd = sd;
            t.mde = mde;
            t.absolute = absolute;
            t.mean = mean.value_or("");
            t.versions = versions;
            t.correlation = correlation.value_or("");
            const MeansPlanRequest request = Or(ReadMeansPlan(t, NameKind::Argument, ""));
            auto more = FamilyOf(request.alpha, request.versions);
            if (request.correlation) {
                more.emplace_back(CovariatePlanFigureKinds(), CovariatePlanFigures(request).All());
            }
            return PlanAnswer(MeansPlanFigureKinds(), AnswerMeansPlan(request), more);
        },
        py::arg("sd"), py::arg("mde"), py::arg("absolute"), py::arg("mean"), py::arg("alpha"), py::arg("power"),
        py::arg("daily"), py::arg("one_sided"), py::arg("versions"), py::arg("correlation"));

    // Tests in long form, a row a version: `tests` each row's test (None: one
    // test), `versions` each row's label, `columns` its counts or summaries.
    // Only the first `count` rows of every column go out; `places` names the
    // row in that each came from.
    m.def(
        "judge_versions",
        [](const std::optional<std::vector<std::string>>& tests, const std::vector<std::string>& versions,
           const py::list& columns, const std::vector<std::string>& names, const py::object& planned,
           std::optional<std::string> margin, std::optional<std::string> marginPoints,
           std::optional<std::string> split, const std::string& control, const std::string& adjust, unsigned jobs) {
            return VersionsBatch(tests, versions, columns, names, planned, margin, marginPoints, "margin_points",
                                 split, control, adjust, jobs, {JudgementFigureKinds()},
                                 [](const python::VersionRows& in, const Settings& s, const VersionsOptions& family,
                                    Output& out, std::int64_t* places) {
                                     return python::JudgeVersionsBatch(in, s, family, out, places);
                                 });
        },
        py::arg("tests"), py::arg("versions"), py::arg("columns"), py::arg("names"), py::arg("planned"),
        py::arg("margin"), py::arg("margin_points"), py::arg("split"), py::arg("control"), py::arg("adjust"),
        py::arg("jobs"));

    m.def(
        "means_versions",
        [](const std::optional<std::vector<std::string>>& tests, const std::vector<std::string>& versions,
           const py::list& columns, const std::vector<std::string>& names, bool lowerIsBetter,
           const py::object& planned, std::optional<std::string> margin, std::optional<std::string> marginUnits,
           std::optional<std::string> split, const std::string& control, const std::string& adjust, unsigned jobs) {
            const Better better = lowerIsBetter ? Better::Lower : Better::Higher;
            return VersionsBatch(tests, versions, columns, names, planned, margin, marginUnits, "margin_units", split,
                                 control, adjust, jobs, {MeansFigureKinds()},
                                 [better](const python::VersionRows& in, const Settings& s,
                                          const VersionsOptions& family, Output& out, std::int64_t* places) {
                                     return python::CompareVersionsBatch(in, better, s, family, out, places);
                                 });
        },
        py::arg("tests"), py::arg("versions"), py::arg("columns"), py::arg("names"), py::arg("lower_is_better"),
        py::arg("planned"), py::arg("margin"), py::arg("margin_units"), py::arg("split"), py::arg("control"),
        py::arg("adjust"), py::arg("jobs"));

    ambrelay::python::DefineValues(m);

    // The words for a frame without a column it was asked for.
    m.def(
        "missing_column",
        [](const std::string& wanted, const std::vector<std::string>& names) {
            Problem problem(Reason::NoSuchColumn, NameKind::Argument, wanted, wanted);
            problem.names = names;
            return ProblemText(problem);
        },
        py::arg("wanted"), py::arg("names"));
}

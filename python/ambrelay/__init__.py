"""Judge A/B tests from Python: the same engine, figures and words as the
Ambrelay window and ``ambrelay-cli``.

Give numbers and get a dict of every figure under the command line's JSON
keys; give arrays or pandas Series and get a DataFrame with the command
line's CSV columns, one row a test, computed in C++ over the whole array on
all cores. A row that cannot be judged has its reason in the ``error``
column and no figures; a single test that cannot be judged raises
``ValueError`` with the reason.

>>> import ambrelay
>>> round(ambrelay.judge(1000, 100, 1000, 130)["p_two_sided"], 4)
0.0355

Inputs are read as the window and the command line read them: a number,
or a text such as "12,500"; a missing value and a text that is no number
are a row's problem, named by its argument or column. The window's own
figures, rounded as it shows them, go by names that say so
(``window_p_value`` is the window's one-sided p from its table).

A frame of one row per user is compared by ``means_values()``, as
``ambrelay-cli means --values`` compares a file of them; on a Dask cluster
by ``ambrelay.dask.means_values()``.
"""

from __future__ import annotations

import json
import os
import warnings
from typing import Any, Dict, List, Optional, Sequence, Tuple, Union

import numpy as np
import pandas as pd

from . import _ambrelay

__all__ = [
    "judge",
    "judge_frame",
    "judge_versions",
    "means",
    "means_frame",
    "means_values",
    "means_versions",
    "plan",
    "srm",
    "JUDGE_COLUMNS",
    "MEANS_COLUMNS",
    "VERSION_COUNT_COLUMNS",
    "VERSION_SUMMARY_COLUMNS",
    "RowsLeftOut",
]

JUDGE_COLUMNS = tuple(_ambrelay.JUDGE_COLUMNS)
MEANS_COLUMNS = tuple(_ambrelay.MEANS_COLUMNS)
VERSION_COUNT_COLUMNS = ("views", "responses")
VERSION_SUMMARY_COLUMNS = ("n", "mean", "sd")

Numbers = Union[float, int, str, Sequence[Any], np.ndarray, pd.Series]


def _text(value: Any) -> str:
    """A value as the number reader reads it: a text as it is, a number in
    the fewest digits that read back, nothing as the empty text."""
    if value is None or (isinstance(value, float) and np.isnan(value)) or value is pd.NA:
        return ""
    if isinstance(value, str):
        return value
    if isinstance(value, (bool, np.bool_)):
        return str(int(value))
    if isinstance(value, (int, np.integer)):
        return str(int(value))
    try:
        return repr(float(value))
    except (TypeError, ValueError):
        # A date, a pair or anything else that is no number: its own text,
        # which names a version as it is, or is said to be no number.
        return str(value)


def _column(values: Any) -> Union[np.ndarray, List[str]]:
    """One input for the engine: numbers as float64, one dimension (NaN is
    missing), or, where any value is a text, every value as a text, which
    the engine reads as the command line reads its cells."""
    if values is None:
        return np.full(1, np.nan)
    if isinstance(values, pd.Series):
        # Dates, durations and complex numbers are not read as the numbers
        # NumPy would make of them (nanoseconds, a real part): each cell is
        # its text, and a row whose cell is no number is said to be so.
        if (values.dtype == object or pd.api.types.is_string_dtype(values.dtype)
                or isinstance(values.dtype, pd.CategoricalDtype) or values.dtype.kind in "mMc"):
            return [_text(v) for v in values.astype(object).tolist()]
        return values.to_numpy(dtype=float, na_value=np.nan)
    array = np.asarray(values, dtype=object if isinstance(values, str) else None)
    if array.dtype.kind in "OUS":
        return [_text(v) for v in array.reshape(-1).tolist()]
    return np.ascontiguousarray(array, dtype=float).reshape(-1)


def _option(value: Any) -> Optional[str]:
    """An option's value as the command line takes it: a number or a text
    such as "2%"."""
    return None if value is None else _text(value)


def _flag(name: str, value: Any) -> bool:
    """A yes-or-no option: True or False, never a text that bool() would
    take for True."""
    if isinstance(value, (bool, np.bool_)):
        return bool(value)
    raise ValueError(f"{name} is True or False, not {value!r}")


def _scalar(*values: Any) -> bool:
    return all(v is None or np.ndim(v) == 0 for v in values)


def _jobs(jobs: Optional[int]) -> int:
    return max(1, int(jobs)) if jobs else (os.cpu_count() or 1)


def _columns(result: Dict[str, Any]) -> Dict[str, Any]:
    """The figures as columns: numbers as float64, yes or no as pandas'
    boolean (missing where there is no figure), texts as objects."""
    columns: Dict[str, Any] = {}
    for (name, _key, kind, _part), values in zip(result["layout"], result["columns"]):
        if kind == "yes_no":
            columns[name] = pd.arrays.BooleanArray(values == 1, np.isnan(values))
        else:
            columns[name] = values
    columns["warnings"] = result["warnings"]
    columns["error"] = result["errors"]
    return columns


def _record(inputs: Dict[str, Any], result: Dict[str, Any]) -> Dict[str, Any]:
    """One row as the command line's JSON: an interval as [low, high]."""
    error = result["errors"][0]
    if error is not None:
        raise ValueError(error)
    record: Dict[str, Any] = dict(inputs)
    for (_name, key, kind, part), values in zip(result["layout"], result["columns"]):
        value = values[0]
        if kind == "number" and np.isnan(value):
            value = None
        elif kind == "yes_no":
            value = None if np.isnan(value) else bool(value == 1)
        elif kind == "number":
            value = float(value)
        if part == 0:
            record[key] = value
        elif part == 1:
            record[key] = None if value is None else [value]
        elif record[key] is not None and value is not None:
            record[key].append(value)
        else:
            record[key] = None
    record["warnings"] = [{"code": code, "message": message} for code, message in result["warning_words"][0]]
    return record


def _joined(frame: pd.DataFrame, figures: Dict[str, Any]) -> pd.DataFrame:
    """The frame with the figures' columns on its right, none of them copied.
    A figure named as one of the frame's columns gets the prefix ``ambrelay_``."""
    taken = {str(c).lower() for c in frame.columns}
    columns: Dict[Any, Any] = {}
    for name, values in figures.items():
        while name.lower() in taken:
            name = "ambrelay_" + name
        taken.add(name.lower())
        columns[name] = values
    if frame.columns.is_unique:
        return pd.DataFrame({**{c: frame[c] for c in frame.columns}, **columns}, index=frame.index, copy=False)
    return pd.concat([frame, pd.DataFrame(columns, index=frame.index, copy=False)], axis=1)


def _aligned(values: Sequence[Any]) -> Tuple[List[Any], Optional[pd.Index]]:
    """Inputs given as Series, aligned on their index as pandas aligns them
    (a label one of them lacks is missing there); other arrays go by
    position, and a single value counts for every row."""
    series = [v for v in values if isinstance(v, pd.Series)]
    if not series:
        return list(values), None
    index = series[0].index
    for other in series[1:]:
        if not other.index.equals(index):
            index = index.union(other.index, sort=False)
    return [v.reindex(index) if isinstance(v, pd.Series) and not v.index.equals(index) else v for v in values], index


def _answer(names: Sequence[str], values: Sequence[Any], planned: Any, compute: Any) -> Any:
    """One test as a dict, or a DataFrame of many with their inputs first."""
    scalar = _scalar(*values, planned)
    aligned, index = _aligned([*values, planned])
    columns = [_column(v) for v in aligned[:-1]]
    result = compute(columns, _column(aligned[-1]), scalar)
    if scalar:
        given = {n: float(v) if isinstance(v, (int, float, np.number)) else v for n, v in zip(names, values)}
        return _record(given, result)
    rows = len(result["errors"])
    inputs = {name: np.broadcast_to(np.asarray(c, dtype=object if isinstance(c, list) else float), (rows,))
              for name, c in zip(names, columns)}
    return pd.DataFrame({**inputs, **_columns(result)}, index=index, copy=False)


def _frame_answer(frame: pd.DataFrame, columns: Sequence[str], planned: Any, compute: Any) -> pd.DataFrame:
    """The frame with the figures of its rows joined."""
    names = [str(c) for c in frame.columns]
    for wanted in [*columns, *([planned] if isinstance(planned, str) else [])]:
        if wanted not in frame.columns:
            raise ValueError(_ambrelay.missing_column(str(wanted), names))
    if isinstance(planned, str):
        planned = frame[planned]
    result = compute([_column(frame[c]) for c in columns], _column(planned), False)
    return _joined(frame, _columns(result))


Option = Optional[Union[float, int, str]]


def _judge_of(
    names: Sequence[str],
    from_frame: bool,
    margin: Option,
    margin_points: Option,
    split: Option,
    jobs: Optional[int],
    figures: Optional[Sequence[str]] = None,
) -> Any:
    """The compiled judgement, its options bound."""
    if margin is not None and margin_points is not None:
        raise ValueError("give margin or margin_points, not both")
    if isinstance(figures, str):
        figures = [figures]
    chosen = None if figures is None else [str(f) for f in figures]
    return lambda counts, planned, words: _ambrelay.judge(
        counts, [str(n) for n in names], from_frame, planned, _option(margin), _option(margin_points),
        _option(split), _jobs(jobs), words, chosen
    )


def judge(
    views1: Numbers,
    responses1: Numbers,
    views2: Numbers,
    responses2: Numbers,
    *,
    planned: Optional[Numbers] = None,
    margin: Option = None,
    margin_points: Option = None,
    split: Option = None,
    jobs: Optional[int] = None,
    figures: Optional[Sequence[str]] = None,
) -> Union[Dict[str, Any], pd.DataFrame]:
    """Judges one A/B test of response rates, or many.

    views1, responses1, views2, responses2: how often each version was seen
    and how many responses it drew; numbers or texts ("12,500"), or arrays
    or Series of them (a single value counts for every row; Series are
    aligned on their index, which the result keeps).
    planned: the total observations planned for the test, for the
    peeking-safe p value; a number or one a row.
    margin: "not worse than" by this percent of A's ratio (2 or "2%"; a
    number of 1 or less could be a fraction, so write it "0.5%");
    margin_points: by this many percentage points.
    split: how the observations were meant to split, A's share in percent
    (90, or "90%") or every version's ("90/10"); 50 when not given.
    jobs: threads to use; all cores when not given (1 under Dask).
    figures: only these figures, named as in the output (["p_two_sided",
    "lift_percent"]); nothing else is worked out, and a figure brings its
    interval. Every figure when not given; an unknown name raises
    ValueError.

    With single values, returns a dict of every figure under ``ambrelay-cli
    --json``'s keys (``p_two_sided`` first among the p values an analyst
    reads) and raises ValueError when the test cannot be judged. With
    arrays, returns a DataFrame with ``ambrelay-cli --csv``'s columns.
    """
    compute = _judge_of(JUDGE_COLUMNS, False, margin, margin_points, split, jobs, figures)
    return _answer(JUDGE_COLUMNS, (views1, responses1, views2, responses2), planned, compute)


def judge_frame(
    frame: pd.DataFrame,
    columns: Sequence[str] = JUDGE_COLUMNS,
    *,
    planned: Optional[Union[str, Numbers]] = None,
    margin: Option = None,
    margin_points: Option = None,
    split: Option = None,
    jobs: Optional[int] = None,
    figures: Optional[Sequence[str]] = None,
) -> pd.DataFrame:
    """The frame with every figure of each row's test joined on the right
    (or only those ``figures`` names, as judge() takes them).

    columns: the frame's columns holding views 1, responses 1, views 2 and
    responses 2, in that order. planned: a column name, a number, or one a
    row. A figure whose name the frame already has gets the prefix
    ``ambrelay_``. A row's problem names its column. The other options are
    judge()'s.
    """
    if len(columns) != 4:
        raise ValueError("columns names four columns: views 1, responses 1, views 2 and responses 2")
    compute = _judge_of(columns, True, margin, margin_points, split, jobs, figures)
    return _frame_answer(frame, columns, planned, compute)


def _means_of(
    names: Sequence[str],
    from_frame: bool,
    lower_is_better: bool,
    margin: Option,
    margin_units: Option,
    split: Option,
    jobs: Optional[int],
) -> Any:
    """The compiled comparison of averages, its options bound."""
    if margin is not None and margin_units is not None:
        raise ValueError("give margin or margin_units, not both")
    return lambda summaries, planned, words: _ambrelay.means(
        summaries, [str(n) for n in names], from_frame, lower_is_better, planned, _option(margin),
        _option(margin_units), _option(split), _jobs(jobs), words
    )


def means(
    n1: Numbers,
    mean1: Numbers,
    sd1: Numbers,
    n2: Numbers,
    mean2: Numbers,
    sd2: Numbers,
    *,
    lower_is_better: bool = False,
    planned: Optional[Numbers] = None,
    margin: Option = None,
    margin_units: Option = None,
    split: Option = None,
    jobs: Optional[int] = None,
) -> Union[Dict[str, Any], pd.DataFrame]:
    """Compares two averages (revenue per visitor, order value) by Welch's
    t test, from each version's observations, average and standard
    deviation; single values or arrays, as judge() takes them.

    lower_is_better: for a load time, a cost or refunds. margin: "not worse
    than" by this percent of A's average; margin_units: by this much in the
    metric's own units. split: as judge()'s. Returns a dict under
    ``ambrelay-cli means --json``'s keys, or a DataFrame with its CSV columns.
    """
    compute = _means_of(MEANS_COLUMNS, False, lower_is_better, margin, margin_units, split, jobs)
    return _answer(MEANS_COLUMNS, (n1, mean1, sd1, n2, mean2, sd2), planned, compute)


def means_frame(
    frame: pd.DataFrame,
    columns: Sequence[str] = MEANS_COLUMNS,
    *,
    lower_is_better: bool = False,
    planned: Optional[Union[str, Numbers]] = None,
    margin: Option = None,
    margin_units: Option = None,
    split: Option = None,
    jobs: Optional[int] = None,
) -> pd.DataFrame:
    """The frame with every figure of each row's comparison of averages
    joined on the right. columns: observations, average and standard
    deviation of version 1, then of version 2. The options are means()'s."""
    if len(columns) != 6:
        raise ValueError("columns names six columns: n, mean and sd of version 1, then of version 2")
    compute = _means_of(columns, True, lower_is_better, margin, margin_units, split, jobs)
    return _frame_answer(frame, columns, planned, compute)


def _versions_answer(
    frame: pd.DataFrame, test: Optional[str], version: str, columns: Sequence[str], planned: Any, compute: Any
) -> pd.DataFrame:
    """A long frame's tests answered: a row for each version compared with
    its test's control (that version's own row, and the figures), or each
    row of a test without an answer, with the reason."""
    names = [str(c) for c in frame.columns]
    wanted = [version, *columns, *([test] if test is not None else [])]
    if isinstance(planned, str):
        wanted.append(planned)
    for column in wanted:
        if column not in frame.columns:
            raise ValueError(_ambrelay.missing_column(str(column), names))
    if isinstance(planned, str):
        planned = frame[planned]
    tests = None if test is None else [_text(v) for v in frame[test].tolist()]
    versions = [_text(v) for v in frame[version].tolist()]
    result = compute(tests, versions, [_column(frame[c]) for c in columns], [str(c) for c in columns], _column(planned))
    count = result["count"]
    figures = {name: values[:count] for name, values in _columns(result).items()}
    rows = frame.iloc[result["places"][:count]]
    return _joined(rows, figures)


def judge_versions(
    frame: pd.DataFrame,
    test: Optional[str] = "test",
    version: str = "version",
    columns: Sequence[str] = VERSION_COUNT_COLUMNS,
    *,
    control: Optional[str] = None,
    adjust: str = "holm",
    split: Option = None,
    planned: Optional[Union[str, Numbers]] = None,
    margin: Option = None,
    margin_points: Option = None,
    jobs: Optional[int] = None,
) -> pd.DataFrame:
    """Tests of two or more versions in long form, as a GROUP BY gives them:
    a row a version, with its test (``test``; None, or a frame without that
    column, makes the frame one test), its label (``version``) and its views
    and responses (``columns``).

    Each version is judged against its test's control (the first version of
    the test unless ``control`` names one), with every figure
    ``ambrelay-cli judge --csv`` writes for a table of versions: the two-sided
    p adjusted for the versions compared (``adjust``: holm, hochberg, BH,
    bonferroni or none), whether it beats the control, its chance to be the
    best, and the split across every version (``split``: "50/25/25", equal
    when not given). Returns that version's row of the frame with the
    figures on its right, a row for each version compared; a test without
    an answer gives each of its rows with the reason in ``error``.
    """
    if margin is not None and margin_points is not None:
        raise ValueError("give margin or margin_points, not both")
    if len(columns) != 2:
        raise ValueError("columns names two columns: each version's views and responses")
    test = test if test is not None and test in frame.columns else None
    return _versions_answer(
        frame,
        test,
        version,
        columns,
        planned,
        lambda tests, versions, cells, names, planned_: _ambrelay.judge_versions(
            tests, versions, cells, names, planned_, _option(margin), _option(margin_points), _option(split),
            control or "", adjust, _jobs(jobs)
        ),
    )


def means_versions(
    frame: pd.DataFrame,
    test: Optional[str] = "test",
    version: str = "version",
    columns: Sequence[str] = VERSION_SUMMARY_COLUMNS,
    *,
    control: Optional[str] = None,
    adjust: str = "holm",
    split: Option = None,
    lower_is_better: bool = False,
    planned: Optional[Union[str, Numbers]] = None,
    margin: Option = None,
    margin_units: Option = None,
    jobs: Optional[int] = None,
) -> pd.DataFrame:
    """Averages of two or more versions in long form: each row a version's
    observations, average and standard deviation (``columns``), compared
    as judge_versions() compares rates, by Welch's test. ``lower_is_better``
    for a load time or a cost."""
    if margin is not None and margin_units is not None:
        raise ValueError("give margin or margin_units, not both")
    if len(columns) != 3:
        raise ValueError("columns names three columns: each version's n, mean and sd")
    test = test if test is not None and test in frame.columns else None
    return _versions_answer(
        frame,
        test,
        version,
        columns,
        planned,
        lambda tests, versions, cells, names, planned_: _ambrelay.means_versions(
            tests, versions, cells, names, lower_is_better, planned_, _option(margin), _option(margin_units),
            _option(split), control or "", adjust, _jobs(jobs)
        ),
    )


def srm(
    observations1: Numbers, observations2: Numbers, split: Numbers = 50, *, jobs: Optional[int] = None
) -> Union[Dict[str, Any], pd.DataFrame]:
    """The sample-ratio check: whether the observations of A and B fit the
    intended split: A's share in percent (90, or "90%"), or every version's
    ("90/10"). A dict for single values, a DataFrame for arrays."""
    values = (observations1, observations2, split)
    aligned, index = _aligned(values)
    columns = [_column(v) for v in aligned]
    result = _ambrelay.srm(*columns, _jobs(jobs))
    if _scalar(*values):
        record = _record({}, {**result, "warning_words": [[]]})
        del record["warnings"]
        return record
    figures = _columns(result)
    del figures["warnings"]
    return pd.DataFrame(figures, index=index, copy=False)


def plan(
    *,
    baseline: Option = None,
    mde: Option = None,
    observations: Option = None,
    absolute: bool = False,
    sd: Option = None,
    mean: Option = None,
    alpha: Union[float, str] = 0.05,
    power: Union[float, str] = 0.8,
    split: Union[float, str] = 50,
    daily: Option = None,
    one_sided: bool = False,
    versions: Union[int, str] = 2,
    correlation: Option = None,
) -> Dict[str, Any]:
    """Plans a test, as ``ambrelay-cli plan``: the observations a version
    needs to detect a difference with the given power. Every value is read
    as the command line reads it, numbers or texts alike.

    For rates: baseline, the control's response ratio (0.1 or "10%"), and
    mde, the difference worth detecting in percent of it (20 or "20%"), or
    in percentage points with absolute=True; or observations a version, for
    the smallest difference they detect. For averages: sd, the metric's
    standard deviation, and mde in its units with absolute=True, or in
    percent of mean; correlation, the metric's correlation with what each
    user did before the test, plans for a comparison that takes it out
    (CUPED). alpha and power: fractions or percentages (0.05 or "5%").
    split: A's share in percent. daily: observations a day, for the days the
    test takes. versions: a test of that many, the control among them, each
    compared with it at the level shared among the comparisons. Returns a
    dict under the command line's JSON keys; ValueError when the plan cannot
    be made.
    """
    if sd is not None:
        if baseline is not None or observations is not None or mde is None or _text(split) != "50":
            raise ValueError("a plan of averages takes sd and mde (with mean, or absolute=True)")
        return _ambrelay.plan_means(
            _text(sd), _text(mde), absolute, _option(mean), _text(alpha), _text(power), _option(daily), one_sided,
            _text(versions), _option(correlation)
        )
    if baseline is None or (mde is None) == (observations is None) or mean is not None or correlation is not None:
        raise ValueError("a plan of rates takes baseline and either mde or observations; mean and correlation "
                         "plan averages, with sd")
    return _ambrelay.plan_rates(
        _text(baseline), _option(mde), _option(observations), absolute, _text(alpha), _text(power), _text(split),
        _option(daily), one_sided, _text(versions)
    )


class RowsLeftOut(UserWarning):
    """Rows of users that means_values() could not count: a blank label, a
    value that is no number, a version beyond the most a test compares.
    The message names the first ten by their place in the frame (counted
    from 0, as ``iloc`` counts), as ``ambrelay-cli means --values`` names
    a file's by line, then how many more."""


# The roles of a frame's columns in a comparison of users' values, under the
# keys the compiled module reads them by.
_VALUE_ROLES = ("value", "denominator", "covariate", "covariate_denominator")


def _values_options(
    group: str = "group",
    value: str = "value",
    *,
    numerator: Optional[str] = None,
    denominator: Optional[str] = None,
    covariate: Optional[str] = None,
    covariate_numerator: Optional[str] = None,
    covariate_denominator: Optional[str] = None,
    control: Any = None,
    cap: Option = None,
    cap_lower: Option = None,
    cap_covariate: Option = None,
    ignore_zeros: bool = False,
    lower_is_better: bool = False,
    planned: Option = None,
    margin: Option = None,
    margin_units: Option = None,
    split: Option = None,
    adjust: Optional[str] = None,
    test: Optional[str] = None,
) -> Tuple[Dict[str, Any], Dict[str, Any]]:
    """The options as the compiled module reads them, and each role's
    column of the frame (a ratio's numerator in the value's role)."""
    if (numerator is None) != (denominator is None):
        raise ValueError("a ratio metric takes both numerator and denominator")
    if covariate is not None and covariate_numerator is not None:
        raise ValueError("give covariate or covariate_numerator and covariate_denominator, not both")
    if (covariate_numerator is None) != (covariate_denominator is None):
        raise ValueError("a ratio covariate takes both covariate_numerator and covariate_denominator")
    if cap_covariate is not None and covariate is None and covariate_numerator is None:
        raise ValueError("cap_covariate caps the covariate: give covariate (or covariate_numerator and "
                         "covariate_denominator) too")
    if margin is not None and margin_units is not None:
        raise ValueError("give margin or margin_units, not both")
    roles = {
        "group": group,
        "value": numerator if numerator is not None else value,
        "denominator": denominator,
        "covariate": covariate_numerator if covariate_numerator is not None else covariate,
        "covariate_denominator": covariate_denominator,
        "test": test,
    }
    options = {
        "group": str(group),
        "value": str(value),
        "numerator": _option(numerator),
        "denominator": _option(denominator),
        "covariate": _option(covariate),
        "covariate_numerator": _option(covariate_numerator),
        "covariate_denominator": _option(covariate_denominator),
        "control": _option(control),
        "cap": _option(cap),
        "cap_lower": _option(cap_lower),
        "cap_covariate": _option(cap_covariate),
        "ignore_zeros": _flag("ignore_zeros", ignore_zeros),
        "lower_is_better": _flag("lower_is_better", lower_is_better),
        "planned": _option(planned),
        "margin": _option(margin),
        "margin_units": _option(margin_units),
        "split": _option(split),
        "adjust": _option(adjust),
    }
    return options, {role: column for role, column in roles.items() if column is not None}


def _labels(values: pd.Series) -> Tuple[np.ndarray, List[str]]:
    """A column of labels as pandas factorises it: a code a row (-1 where
    none is given) and each distinct label's text."""
    codes, uniques = pd.factorize(values, sort=False)
    return np.ascontiguousarray(codes, dtype=np.int64), [_text(u) for u in uniques]


def _values_columns(frame: pd.DataFrame, roles: Dict[str, Any]) -> Dict[str, Any]:
    """The frame's columns in their roles, as the compiled module reads
    them; ValueError naming a column the frame lacks."""
    names = [str(c) for c in frame.columns]
    for column in roles.values():
        if column not in frame.columns:
            raise ValueError(_ambrelay.missing_column(str(column), names))
    columns: Dict[str, Any] = {"group": _labels(frame[roles["group"]])}
    if "test" in roles:
        columns["test"] = _labels(frame[roles["test"]])
    for role in _VALUE_ROLES:
        if role in roles:
            columns[role] = _column(frame[roles[role]])
    return columns


def _values_answer(result: Dict[str, Any], test: Optional[str]) -> Union[Dict[str, Any], pd.DataFrame]:
    """The compiled answer as a dict (one test) or a frame (a row per
    comparison of every test), the rows left out said as a warning."""
    if result["rows_left_out"]:
        warnings.warn(result["rows_left_out"].rstrip("\n"), RowsLeftOut, stacklevel=3)
    if test is None:
        if result["error"] is not None:
            raise ValueError(result["error"])
        return json.loads(result["json"])
    tests = pd.DataFrame({test: np.asarray(result["tests"], dtype=object)})
    return _joined(tests, _columns(result))


def means_values(
    frame: pd.DataFrame,
    group: str = "group",
    value: str = "value",
    *,
    numerator: Optional[str] = None,
    denominator: Optional[str] = None,
    covariate: Optional[str] = None,
    covariate_numerator: Optional[str] = None,
    covariate_denominator: Optional[str] = None,
    control: Any = None,
    cap: Option = None,
    cap_lower: Option = None,
    cap_covariate: Option = None,
    ignore_zeros: bool = False,
    lower_is_better: bool = False,
    planned: Option = None,
    margin: Option = None,
    margin_units: Option = None,
    split: Option = None,
    adjust: Optional[str] = None,
    test: Optional[str] = None,
) -> Union[Dict[str, Any], pd.DataFrame]:
    """Compares the versions' averages from a frame of one row per user,
    as ``ambrelay-cli means --values`` compares a file of the same rows:
    ``group`` holds each user's version, ``value`` their value (revenue,
    or 0 and 1 for a conversion); a missing value counts as 0.

    numerator, denominator: a ratio metric (revenue over orders) instead
    of value. covariate: what each user did before the test (the same
    metric measured before, for the same users), which takes its
    predictable part out of the comparison (CUPED); covariate_numerator and
    covariate_denominator for a ratio. control: the control's label
    (default: the first label met). cap, cap_lower: cap the values at these
    percentiles of every version pooled (99.9 or "99.9%"); cap_covariate:
    the covariate at its own; ignore_zeros: take the percentiles over the
    values other than 0. lower_is_better, planned, margin, margin_units:
    as means() takes them. split: every version's intended share ("50/50",
    "50/25/25"); adjust: for more than two versions, the correction of each
    p value (holm, the default, hochberg, BH, bonferroni or none).

    With ``test`` naming a column, each test's users are compared apart.
    Returns, for one test, a dict under ``means --values --json``'s keys
    (two versions a flat object; more, {"comparisons": [...], "warnings":
    [...]}), raising ValueError when there is no comparison; for many, a
    DataFrame with a row per comparison: the test's label, every figure,
    the warnings' codes and ``error`` for a test without a comparison.
    Rows that cannot be counted are said in a RowsLeftOut warning.
    """
    options, roles = _values_options(
        group, value, numerator=numerator, denominator=denominator, covariate=covariate,
        covariate_numerator=covariate_numerator, covariate_denominator=covariate_denominator, control=control,
        cap=cap, cap_lower=cap_lower, cap_covariate=cap_covariate, ignore_zeros=ignore_zeros,
        lower_is_better=lower_is_better, planned=planned, margin=margin, margin_units=margin_units, split=split,
        adjust=adjust, test=test,
    )
    result = _ambrelay.means_values(_values_columns(frame, roles), options)
    return _values_answer(result, test)

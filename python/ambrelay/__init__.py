"""Judge A/B tests from Python: the same engine, figures and words as the
Ambrelay window and ``ambrelay-cli``.

Give numbers and get a dict of every figure under the command line's JSON
keys; give arrays or pandas Series and get a DataFrame with the command
line's CSV columns, one row a test, computed in C++ over the whole array on
all cores. A row that cannot be judged has its reason in the ``error``
column and no figures; a single test that cannot be judged raises
``ValueError`` with the reason.

>>> import ambrelay
>>> ambrelay.judge(1000, 100, 1000, 130)["p_value"]
0.01786
"""

from __future__ import annotations

import os
from typing import Any, Dict, Optional, Sequence, Union

import numpy as np
import pandas as pd

from . import _ambrelay

__all__ = ["judge", "judge_frame", "means", "means_frame", "plan", "srm", "JUDGE_COLUMNS", "MEANS_COLUMNS"]

JUDGE_COLUMNS = ("views1", "responses1", "views2", "responses2")
MEANS_COLUMNS = ("n1", "mean1", "sd1", "n2", "mean2", "sd2")

Numbers = Union[float, int, Sequence[float], np.ndarray, pd.Series]


def _array(values: Any) -> np.ndarray:
    """Numbers as float64, one dimension. A text that is no number becomes
    infinity, which the input checks reject with the command line's words;
    a missing value becomes NaN, which they call missing."""
    if values is None:
        return np.full(1, np.nan)
    if isinstance(values, pd.Series):
        if values.dtype == object or pd.api.types.is_string_dtype(values.dtype):
            numbers = pd.to_numeric(values, errors="coerce").to_numpy(dtype=float, na_value=np.nan)
            numbers[np.isnan(numbers) & values.notna().to_numpy()] = np.inf
            return numbers
        return values.to_numpy(dtype=float, na_value=np.nan)
    array = np.asarray(values)
    if array.dtype.kind in "OUS":
        return _array(pd.Series(array.reshape(-1)))
    return np.ascontiguousarray(array, dtype=float).reshape(-1)


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


def _answer(names: Sequence[str], values: Sequence[Any], planned: Any, compute: Any) -> Any:
    """One test as a dict, or a DataFrame of many with their inputs first."""
    scalar = _scalar(*values, planned)
    arrays = [_array(v) for v in values]
    result = compute(arrays, _array(planned), scalar)
    if scalar:
        return _record(dict(zip(names, (float(a[0]) for a in arrays))), result)
    rows = len(result["errors"])
    inputs = {name: np.broadcast_to(a, (rows,)) for name, a in zip(names, arrays)}
    return pd.DataFrame({**inputs, **_columns(result)}, copy=False)


def _frame_answer(frame: pd.DataFrame, columns: Sequence[str], planned: Any, compute: Any) -> pd.DataFrame:
    """The frame with the figures of its rows joined."""
    if isinstance(planned, str):
        planned = frame[planned]
    result = compute([_array(frame[c]) for c in columns], _array(planned), False)
    return _joined(frame, _columns(result))


def judge(
    views1: Numbers,
    responses1: Numbers,
    views2: Numbers,
    responses2: Numbers,
    *,
    planned: Optional[Numbers] = None,
    margin: Optional[float] = None,
    margin_points: Optional[float] = None,
    jobs: Optional[int] = None,
) -> Union[Dict[str, Any], pd.DataFrame]:
    """Judges one A/B test of response rates, or many.

    views1, responses1, views2, responses2: how often each version was seen
    and how many responses it drew; numbers, or arrays or Series of equal
    length (a single number counts for every row).
    planned: the total observations planned for the test, for the
    peeking-safe p value; a number or one a row.
    margin: "not worse than" by this percent of A's ratio (2 means 2%, as
    ``--margin 2%``); margin_points: by this many percentage points.
    jobs: threads to use; all cores when not given (1 under Dask).

    With numbers, returns a dict of every figure under ``ambrelay-cli
    --json``'s keys and raises ValueError when the test cannot be judged.
    With arrays, returns a DataFrame with ``ambrelay-cli --csv``'s columns.
    """
    if margin is not None and margin_points is not None:
        raise ValueError("give margin or margin_points, not both")
    return _answer(
        JUDGE_COLUMNS,
        (views1, responses1, views2, responses2),
        planned,
        lambda counts, planned, words: _ambrelay.judge(*counts, planned, margin, margin_points, _jobs(jobs), words),
    )


def judge_frame(
    frame: pd.DataFrame,
    columns: Sequence[str] = JUDGE_COLUMNS,
    *,
    planned: Optional[Union[str, Numbers]] = None,
    margin: Optional[float] = None,
    margin_points: Optional[float] = None,
    jobs: Optional[int] = None,
) -> pd.DataFrame:
    """The frame with every figure of each row's test joined on the right.

    columns: the frame's columns holding views 1, responses 1, views 2 and
    responses 2, in that order. planned: a column name, a number, or one a
    row. A figure whose name the frame already has gets the prefix
    ``ambrelay_``. The other options are judge()'s.
    """
    if len(columns) != 4:
        raise ValueError("columns names four columns: views 1, responses 1, views 2 and responses 2")
    if margin is not None and margin_points is not None:
        raise ValueError("give margin or margin_points, not both")
    return _frame_answer(
        frame,
        columns,
        planned,
        lambda counts, planned, words: _ambrelay.judge(*counts, planned, margin, margin_points, _jobs(jobs), words),
    )


def _means_of(
    lower_is_better: bool, margin: Optional[float], margin_units: Optional[float], jobs: Optional[int]
) -> Any:
    """The compiled comparison of averages, its options bound."""
    if margin is not None and margin_units is not None:
        raise ValueError("give margin or margin_units, not both")
    return lambda summaries, planned, words: _ambrelay.means(
        *summaries, lower_is_better, planned, margin, margin_units, _jobs(jobs), words
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
    margin: Optional[float] = None,
    margin_units: Optional[float] = None,
    jobs: Optional[int] = None,
) -> Union[Dict[str, Any], pd.DataFrame]:
    """Compares two averages (revenue per visitor, order value) by Welch's
    t test, from each version's observations, average and standard
    deviation; numbers or arrays, as judge() takes them.

    lower_is_better: for a load time, a cost or refunds. margin: "not worse
    than" by this percent of A's average; margin_units: by this much in the
    metric's own units. Returns a dict under ``ambrelay-cli means --json``'s
    keys, or a DataFrame with its CSV columns.
    """
    compute = _means_of(lower_is_better, margin, margin_units, jobs)
    return _answer(MEANS_COLUMNS, (n1, mean1, sd1, n2, mean2, sd2), planned, compute)


def means_frame(
    frame: pd.DataFrame,
    columns: Sequence[str] = MEANS_COLUMNS,
    *,
    lower_is_better: bool = False,
    planned: Optional[Union[str, Numbers]] = None,
    margin: Optional[float] = None,
    margin_units: Optional[float] = None,
    jobs: Optional[int] = None,
) -> pd.DataFrame:
    """The frame with every figure of each row's comparison of averages
    joined on the right. columns: observations, average and standard
    deviation of version 1, then of version 2. The options are means()'s."""
    if len(columns) != 6:
        raise ValueError("columns names six columns: n, mean and sd of version 1, then of version 2")
    return _frame_answer(frame, columns, planned, _means_of(lower_is_better, margin, margin_units, jobs))


def srm(
    observations1: Numbers, observations2: Numbers, split: Numbers = 50, *, jobs: Optional[int] = None
) -> Union[Dict[str, Any], pd.DataFrame]:
    """The sample-ratio check: whether the observations of A and B fit the
    intended split (A's share in percent). A dict for numbers, a DataFrame
    for arrays."""
    values = (observations1, observations2, split)
    arrays = [_array(v) for v in values]
    result = _ambrelay.srm(*arrays, _jobs(jobs))
    if _scalar(*values):
        record = _record({}, {**result, "warning_words": [[]]})
        del record["warnings"]
        return record
    columns = _columns(result)
    del columns["warnings"]
    return pd.DataFrame(columns, copy=False)


def plan(
    *,
    baseline: Optional[float] = None,
    mde: Optional[float] = None,
    observations: Optional[float] = None,
    absolute: bool = False,
    sd: Optional[float] = None,
    mean: Optional[float] = None,
    alpha: float = 0.05,
    power: float = 0.8,
    split: float = 50,
    daily: Optional[float] = None,
    one_sided: bool = False,
) -> Dict[str, Any]:
    """Plans a test, as ``ambrelay-cli plan``: the observations a version
    needs to detect a difference with the given power.

    For rates: baseline, the control's response ratio (0.1), and mde, the
    difference worth detecting in percent of it (20), or in percentage
    points with absolute=True; or observations a version, for the smallest
    difference they detect. For averages: sd, the metric's standard
    deviation, and mde in its units with absolute=True, or in percent of
    mean. daily: observations a day, for the days the test takes.
    Returns a dict under the command line's JSON keys; ValueError when the
    plan cannot be made.
    """
    if sd is not None:
        if baseline is not None or observations is not None or mde is None or split != 50:
            raise ValueError("a plan of averages takes sd and mde (with mean, or absolute=True)")
        return _ambrelay.plan_means(sd, mde, absolute, mean, alpha, power, daily, one_sided)
    if baseline is None or (mde is None) == (observations is None) or mean is not None:
        raise ValueError("a plan of rates takes baseline and either mde or observations")
    return _ambrelay.plan_rates(baseline, mde, observations, absolute, alpha, power, split, daily, one_sided)

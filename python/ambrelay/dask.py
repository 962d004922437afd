"""Judging a Dask DataFrame partition by partition, on a cluster or on one
machine's processes. Each partition is judged by judge_frame() on one
thread, so the workers, not the threads of one worker, share the cores.

>>> import dask.dataframe as dd
>>> import ambrelay.dask
>>> tests = dd.read_csv("tests-*.csv")
>>> judged = ambrelay.dask.judge(tests).compute()

A frame of one row per user, however large, is compared by
means_values(), which never gathers the users: each partition sums its own.
"""

from __future__ import annotations

from typing import Any, Dict, List, Optional, Sequence, Union

import dask
import dask.dataframe as dd
import pandas as pd

from . import JUDGE_COLUMNS, MEANS_COLUMNS, judge_frame, judge_versions as _judge_versions, means_frame
from . import means_versions as _means_versions
from . import _ambrelay, _values_answer, _values_columns, _values_options


def judge(frame: dd.DataFrame, columns: Sequence[str] = JUDGE_COLUMNS, **options: Any) -> dd.DataFrame:
    """judge_frame() on every partition; the options are judge_frame()'s,
    with jobs 1 unless given."""
    options.setdefault("jobs", 1)
    meta = judge_frame(frame._meta, columns, **options)
    return frame.map_partitions(judge_frame, columns, meta=meta, **options)


def means(frame: dd.DataFrame, columns: Sequence[str] = MEANS_COLUMNS, **options: Any) -> dd.DataFrame:
    """means_frame() on every partition, as judge() does."""
    options.setdefault("jobs", 1)
    meta = means_frame(frame._meta, columns, **options)
    return frame.map_partitions(means_frame, columns, meta=meta, **options)


def _by_test(frame: dd.DataFrame, test: Any, answer: Any, **options: Any) -> dd.DataFrame:
    """`answer` on every partition after every row of a test has reached
    one partition (a frame without the test column is one test, on one
    partition)."""
    options.setdefault("jobs", 1)
    if test is None or test not in frame.columns:
        grouped = frame.repartition(npartitions=1)
    else:
        grouped = frame.shuffle(on=test)
    meta = answer(frame._meta, test, **options)
    return grouped.map_partitions(answer, test, meta=meta, **options)


def judge_versions(frame: dd.DataFrame, test: Any = "test", **options: Any) -> dd.DataFrame:
    """judge_versions() on a cluster: the frame shuffled so that every row of
    a test lies in one partition, then each partition judged; the options
    are judge_versions()'s. The rows come out grouped by partition."""
    return _by_test(frame, test, _judge_versions, **options)


def means_versions(frame: dd.DataFrame, test: Any = "test", **options: Any) -> dd.DataFrame:
    """means_versions() on a cluster, as judge_versions() runs there."""
    return _by_test(frame, test, _means_versions, **options)


def _part(partition: pd.DataFrame, roles: Dict[str, Any], options: Dict[str, Any], before: Any) -> Any:
    """A partition's users summed in one pass."""
    return _ambrelay.values_part(_values_columns(partition, roles), options, before)


def _merged(first: Any, later: Any) -> Any:
    return first.merge(later)


def _pass(parts: List[Any], roles: Dict[str, Any], options: Dict[str, Any], before: Any) -> Any:
    """One pass over every partition: each summed, then merged pairwise in
    the partitions' order, so that a row's place counts on across them."""
    shared = dask.delayed(before, pure=True) if before is not None else None
    summed = [dask.delayed(_part, pure=True)(p, roles, options, shared) for p in parts]
    while len(summed) > 1:
        summed = [
            dask.delayed(_merged, pure=True)(summed[i], summed[i + 1]) if i + 1 < len(summed) else summed[i]
            for i in range(0, len(summed), 2)
        ]
    return dask.compute(summed[0])[0]


def means_values(
    frame: dd.DataFrame, group: str = "group", value: str = "value", **options: Any
) -> Union[Dict[str, Any], pd.DataFrame]:
    """ambrelay.means_values() on a cluster, with the same options and the
    same answer: each partition reduces its users to counts, sums and
    co-moments for each test and version, and only those travel. Caps at
    percentiles take three passes over the data (counts of the values in
    buckets, the values of the buckets that hold the percentile, then the
    sums of the values capped), and no more than those few values travel;
    without caps one pass does. Rows that cannot be counted are named by
    their place in the whole frame, as means_values() names them."""
    settings, roles = _values_options(group, value, **options)
    wanted = list(dict.fromkeys(roles.values()))
    missing = [c for c in wanted if c not in frame.columns]
    if missing:
        raise ValueError(_ambrelay.missing_column(str(missing[0]), [str(c) for c in frame.columns]))
    parts = frame[wanted].to_delayed()
    before: Optional[Any] = None
    while True:
        merged = _pass(parts, roles, settings, before)
        if merged.last():
            break
        before = merged.next(settings)
    return _values_answer(merged.answers(settings, "test" in roles), roles.get("test"))

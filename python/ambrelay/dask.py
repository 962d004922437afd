"""Judging a Dask DataFrame partition by partition, on a cluster or on one
machine's processes. Each partition is judged by judge_frame() on one
thread, so the workers, not the threads of one worker, share the cores.

>>> import dask.dataframe as dd
>>> import ambrelay.dask
>>> tests = dd.read_csv("tests-*.csv")
>>> judged = ambrelay.dask.judge(tests).compute()
"""

from __future__ import annotations

from typing import Any, Sequence

import dask.dataframe as dd

from . import JUDGE_COLUMNS, MEANS_COLUMNS, judge_frame, judge_versions as _judge_versions, means_frame
from . import means_versions as _means_versions


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

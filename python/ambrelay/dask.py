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

from . import JUDGE_COLUMNS, MEANS_COLUMNS, judge_frame, means_frame


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

"""A table split over several CSV files, judged on a local Dask cluster of
two worker processes, equals the same table judged in this process."""

import numpy as np
import pandas as pd
import pytest

import ambrelay
import ambrelay.dask

dd = pytest.importorskip("dask.dataframe")
distributed = pytest.importorskip("distributed")


def test_cluster_equals_one_process(tmp_path):
    random = np.random.default_rng(28)
    views = random.integers(1, 50000, size=(3000, 2))
    table = pd.DataFrame(
        {
            "test": [f"t{i}" for i in range(3000)],
            "views1": views[:, 0],
            "responses1": random.binomial(views[:, 0], 0.05),
            "views2": views[:, 1],
            "responses2": random.binomial(views[:, 1], 0.055),
        }
    )
    table.loc[7, "responses1"] = -1  # a row that cannot be judged travels too
    for part, rows in enumerate(np.array_split(table, 3)):
        rows.to_csv(tmp_path / f"tests-{part}.csv", index=False)
    alone = ambrelay.judge_frame(table)
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None) as cluster:
        with distributed.Client(cluster):
            frame = dd.read_csv(str(tmp_path / "tests-*.csv"))
            assert frame.npartitions == 3
            judged = ambrelay.dask.judge(frame).compute().sort_values("test", key=lambda t: t.str[1:].astype(int))
    judged = judged.reset_index(drop=True)
    pd.testing.assert_frame_equal(judged, alone, check_dtype=False)
    assert judged.loc[7, "error"] == alone.loc[7, "error"] is not None

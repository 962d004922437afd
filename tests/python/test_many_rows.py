"""Many rows: the threads split them in chunks and number their texts each
on their own; whatever the split, every row comes out as one test judged
alone would. Tables of averages and of splits as the command line writes
them."""

import io

import numpy as np
import pandas as pd
import pytest

import ambrelay


@pytest.fixture(scope="module")
def many():
    random = np.random.default_rng(2026)
    views = random.integers(0, 3000, size=(20000, 2)).astype(float)
    responses = random.binomial(views.astype(int), random.uniform(0, 0.3, size=(20000, 2))).astype(float)
    responses[::97, 0] = views[::97, 0] + 1  # more responses than views: the input check's words
    return pd.DataFrame(
        {"views1": views[:, 0], "responses1": responses[:, 0], "views2": views[:, 1], "responses2": responses[:, 1]}
    )


def test_any_number_of_threads_gives_the_same_frame(many):
    one = ambrelay.judge_frame(many, jobs=1)
    for jobs in (2, 3, 8):
        pd.testing.assert_frame_equal(ambrelay.judge_frame(many, jobs=jobs), one)
    assert one["error"].notna().sum() >= len(many) // 97
    assert one["verdict"].nunique() > 50


@pytest.mark.parametrize("row", [0, 4095, 4096, 8191, 12288, 19999])
def test_a_row_of_the_frame_is_the_test_alone(many, row):
    frame = ambrelay.judge_frame(many, jobs=2)
    counts = many.iloc[row].tolist()
    try:
        alone = ambrelay.judge(*counts)
    except ValueError as reason:
        assert frame.loc[row, "error"] == str(reason)
        return
    for key in ("p_two_sided", "window_p_value", "verdict", "winner", "fisher_p_two_sided", "chance_to_beat", "lift_percent"):
        assert frame.loc[row, key] == alone[key] or (alone[key] is None and pd.isna(frame.loc[row, key]))
    assert frame.loc[row, "ratio1_ci_percent_low"] == alone["ratio1_ci_percent"][0]


def test_no_rows():
    empty = ambrelay.judge_frame(pd.DataFrame({c: pd.Series(dtype=float) for c in ambrelay.JUDGE_COLUMNS}))
    assert len(empty) == 0 and {"p_two_sided", "verdict", "error"} <= set(empty.columns)


def test_a_table_of_averages_as_the_csv(cli):
    table = pd.DataFrame(
        [
            (1200, 52.30, 41.7, 1180, 55.90, 44.2),
            (40, 10.0, 3.0, 35, 11.5, 5.0),
            (1, 5, 1, 10, 5, 1),  # one observation
            (10, 5, -1, 10, 6, 1),  # a standard deviation below 0
        ],
        columns=ambrelay.MEANS_COLUMNS,
    )
    status, out, _ = cli("means", "--csv", "-", stdin=table.to_csv(index=False))
    expected = pd.read_csv(io.StringIO(out), keep_default_na=False, na_values=[""], float_precision="round_trip")
    got = ambrelay.means_frame(table)
    assert status == 1 and list(got.columns) == list(expected.columns)
    assert got["error"].fillna("").tolist() == expected["error"].fillna("").tolist()
    assert got["error"].notna().tolist() == [False, False, True, True]
    for column in ("t", "df", "p_two_sided", "lift_percent", "difference_ci_low", "chance_to_beat"):
        assert np.array_equal(got[column].to_numpy(float), expected[column].to_numpy(float), equal_nan=True), column


def test_splits_of_many_tests(cli):
    got = ambrelay.srm([1000, 5000, 10], [1100, 5000, 0], [50, 40, 50])
    for row, (a, b, share) in enumerate([(1000, 1100, 50), (5000, 5000, 40), (10, 0, 50)]):
        expected, _ = cli.json("srm", a, b, "--split", share)
        assert got.loc[row, "p_value"] == expected["p_value"]
        assert got.loc[row, "mismatch"] == expected["mismatch"]

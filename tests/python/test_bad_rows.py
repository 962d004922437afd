"""Rows that cannot be judged: each gets the command line's reason in
`error` and no figures, the others are judged; one test that cannot be
judged raises ValueError with the same words."""

import io

import numpy as np
import pandas as pd
import pytest

import ambrelay

# One table of rows for the command line and the package alike: texts as a
# spreadsheet has them, a missing count, counts that are no number, and
# counts that have no result.
BAD_ROWS = pd.DataFrame(
    {
        "views1": [1000, -5, None, 100, 1000, 10, "12,500", "abc", " "],
        "responses1": [100, 1, 5, 120, 0, "abc", "1,250", 100, 5],
        "views2": [1000, 10, 10, 100, 1000, 10, "12,480", 1000, 10],
        "responses2": [130, 2, 5, 10, 0, 2, "1,625", 130, 5],
    },
    dtype=object,
)


def test_each_row_its_reason(cli):
    status, out, _ = cli("judge", "--csv", "-", stdin=BAD_ROWS.to_csv(index=False))
    expected = pd.read_csv(io.StringIO(out), keep_default_na=False, na_values=[""], float_precision="round_trip")
    got = ambrelay.judge_frame(BAD_ROWS)
    assert status == 1
    assert got["error"].fillna("").tolist() == expected["error"].fillna("").tolist()
    assert got["error"].isna().tolist() == [True, False, False, False, False, False, True, False, False]
    assert got["p_two_sided"].tolist()[6] == expected["p_two_sided"].tolist()[6]
    assert got.loc[0, "window_p_value"] == 0.01786 and got.loc[1:5, "window_p_value"].isna().all()
    assert got.loc[1:5, "verdict"].isna().all() and got.loc[1:5, "warnings"].isna().all()


@pytest.mark.parametrize("counts", [(1000, -5, 1000, 10), (10, 20, 10, 5)])
def test_one_test_raises_with_the_words(cli, counts):
    _, err = cli.json("judge", *counts)
    with pytest.raises(ValueError) as raised:
        ambrelay.judge(*counts)
    assert str(raised.value) == err


# A count that is no number is named by its argument, or its frame's column,
# not by the window's box; a text the command line reads is read alike.
@pytest.mark.parametrize(
    "call,words",
    [
        (lambda: ambrelay.judge("abc", 100, 1000, 130), "'abc' in views1 is not a number"),
        (lambda: ambrelay.judge(1000, None, 1000, 130), "responses1 is missing"),
        (lambda: ambrelay.judge_frame(pd.DataFrame({"A": ["x"], "a": [1], "B": [2], "b": [1]}), ["A", "a", "B", "b"])
         .loc[0, "error"], "'x' in column A is not a number"),
        (lambda: ambrelay.means_frame(pd.DataFrame({c: [5.0] for c in ambrelay.MEANS_COLUMNS}).assign(n1="x"))
         .loc[0, "error"], "'x' in column n1 is not a number"),
        (lambda: ambrelay.means_frame(pd.DataFrame({c: [5.0] for c in ambrelay.MEANS_COLUMNS}).assign(sd2=np.nan))
         .loc[0, "error"], "column sd2 is empty"),
    ],
    ids=["argument", "missing argument", "frame column", "text in a column of averages", "NaN in a column"],
)
def test_a_count_that_is_no_number_is_named(call, words):
    try:
        said = call()
    except ValueError as raised:
        said = str(raised)
    assert said == words


def test_texts_read_as_the_command_line_reads_them(cli):
    expected, _ = cli.json("judge", "12,500", 310, "12,480", 355)
    got = ambrelay.judge("12,500", 310, "12,480", 355)
    assert got["p_two_sided"] == expected["p_two_sided"] and got["verdict"] == expected["verdict"]


def test_a_missing_column_is_named():
    frame = pd.DataFrame({"Views A": [1000], "Clicks A": [100], "Views B": [1000], "Clicks B": [130]})
    with pytest.raises(ValueError, match="the frame has no column named 'views1'; its columns are: Views A, Clicks A"):
        ambrelay.judge_frame(frame)


def test_series_are_aligned_on_their_index():
    views = pd.Series([1000, 1000, 1000], index=["x", "y", "z"])
    responses = pd.Series([130, 120, 100], index=["z", "y", "x"])
    got = ambrelay.judge(views, responses, 1000, 130)
    assert got.index.tolist() == ["x", "y", "z"]
    assert got["responses1"].tolist() == [100, 120, 130]
    assert got.loc["x", "p_two_sided"] == ambrelay.judge(1000, 100, 1000, 130)["p_two_sided"]
    # A label one Series lacks is missing there, as pandas has it.
    partial = ambrelay.judge(views, responses.drop("y"), 1000, 130)
    assert partial.loc["y", "error"] == "responses1 is missing" and partial["error"].isna().sum() == 2


@pytest.mark.parametrize(
    "call,expected",
    [
        (lambda: ambrelay.plan(baseline="10%", mde="20%")["observations_per_version"], [3841, 3841]),
        (lambda: ambrelay.plan(baseline=0.1, mde=20)["observations_per_version"], [3841, 3841]),
        (lambda: ambrelay.srm(900, 100, split="90/10")["mismatch"], False),
        (lambda: ambrelay.srm(900, 100, split=90)["mismatch"], False),
        (lambda: [w["code"] for w in ambrelay.judge(900, 90, 100, 12)["warnings"]], ["sample_ratio_mismatch"]),
        (lambda: ambrelay.judge(900, 90, 100, 12, split=90)["warnings"], []),
        (lambda: ambrelay.means(900, 10, 3, 100, 10.1, 3, split="90/10")["warnings"], []),
    ],
    ids=["percent texts", "a fraction and a percent", "every version's share", "A's share", "a holdout unsaid",
         "a holdout said", "averages"],
)
def test_percents_and_shares_as_the_command_line_reads_them(call, expected):
    assert call() == expected


def test_a_planned_total_per_row():
    got = ambrelay.judge([1000, 1000, 1000], [100] * 3, [1000] * 3, [130] * 3, planned=[5000, -1, np.nan])
    assert got["error"].isna().tolist() == [True, False, True]
    assert got["planned_observations"].tolist()[0] == 5000
    # No total given is the default total, as on the command line.
    assert got["planned_observations"].tolist()[2] == 5000


@pytest.mark.parametrize(
    "call,words",
    [
        (lambda: ambrelay.judge(1000, 100, 1000, 130, margin=100), "margin"),
        (lambda: ambrelay.judge([1, 2], [0, 1], [1, 2, 3], [0, 1, 2]), "differ in length"),
        (lambda: ambrelay.judge(1000, 100, 1000, 130, margin=2, margin_points=1), "not both"),
        (lambda: ambrelay.plan(baseline=0.1), "either mde or observations"),
        (lambda: ambrelay.means(1, 5, 1, 10, 5, 1), "two observations"),
        (lambda: ambrelay.judge(1000, 100, 1000, 130, margin=0.02), "could be 0.02% or 2%"),
        (lambda: ambrelay.plan(baseline=10, mde=20), "baseline takes a fraction such as 0.1"),
        (lambda: ambrelay.srm(1000, 1100, split=0.9), "could be 0.9% or 90%"),
        (lambda: ambrelay.judge(1000, 100, 1000, 130, split="60/30"), "adding up to 100"),
    ],
    ids=["margin of 100%", "columns of two lengths", "two margins", "plan without effect", "one observation",
         "a margin of 0.02", "a baseline of 10", "a share of 0.9", "shares that do not add up"],
)
def test_calls_that_cannot_be_made(call, words):
    with pytest.raises(ValueError, match=words):
        call()


def test_figures_keep_clear_of_the_frames_columns():
    frame = pd.DataFrame({"views1": [1000], "responses1": [100], "views2": [1000], "responses2": [130], "window_z": ["mine"]})
    got = ambrelay.judge_frame(frame)
    assert got["window_z"].tolist() == ["mine"] and got["ambrelay_window_z"].tolist() == [2.1]

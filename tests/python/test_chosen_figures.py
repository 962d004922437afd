"""figures=[...]: only the figures named, in that order, each with the very
values of a run with every figure; the command line's --figures the same;
an unknown name a ValueError in the command line's words."""

import io

import numpy as np
import pandas as pd
import pytest

import ambrelay

TESTS = pd.DataFrame(
    {
        "test": ["clear", "small", "fraction", "equal", "letters"],
        "views1": [1000, 10, 1000.5, 1000, 1000],
        "responses1": [100, 1, 100.5, 100, 100],
        "views2": [1000, 40, 1000, 1000, 1000],
        "responses2": [130, 5, 130, 100, 130],
    }
)

CHOICES = [
    (["p_two_sided", "p_one_sided"], ["p_two_sided", "p_one_sided"]),
    (["lift_ci_percent", "fisher_p_two_sided"], ["lift_percent", "lift_ci_percent_low", "lift_ci_percent_high",
                                                 "fisher_p_two_sided"]),
    (["verdict", "views1", "chance_to_beat"], ["verdict", "chance_to_beat"]),
]


@pytest.mark.parametrize("figures,columns", CHOICES, ids=[",".join(c[0]) for c in CHOICES])
def test_a_frame_with_the_figures_named(figures, columns):
    every = ambrelay.judge_frame(TESTS)
    some = ambrelay.judge_frame(TESTS, figures=figures)
    assert list(some.columns) == [*TESTS.columns, *columns, "warnings", "error"]
    for column in [*columns, "warnings", "error"]:
        pd.testing.assert_series_equal(some[column], every[column], check_exact=True)


@pytest.mark.parametrize("figures,columns", CHOICES, ids=[",".join(c[0]) for c in CHOICES])
def test_the_command_line_writes_the_same(cli, figures, columns):
    table = TESTS.drop(columns="test").iloc[:4]
    status, out, _ = cli("judge", "--csv", "-", "--figures", ",".join(figures), stdin=table.to_csv(index=False))
    expected = pd.read_csv(io.StringIO(out), keep_default_na=False, na_values=[""], float_precision="round_trip")
    got = ambrelay.judge(*(table[c] for c in ambrelay.JUDGE_COLUMNS), figures=figures)
    assert status == 0 and list(got.columns) == list(expected.columns)
    for column in columns:
        if got[column].dtype == object:
            assert got[column].tolist() == expected[column].tolist()
        else:
            assert np.array_equal(got[column].to_numpy(float), expected[column].to_numpy(float), equal_nan=True)


def test_one_test_keeps_only_its_keys():
    got = ambrelay.judge(1000, 100, 1000, 130, figures=["chance_to_beat", "p_two_sided"])
    every = ambrelay.judge(1000, 100, 1000, 130)
    assert list(got) == ["views1", "responses1", "views2", "responses2", "chance_to_beat", "p_two_sided",
                         "warnings"]
    assert got["chance_to_beat"] == every["chance_to_beat"] and got["p_two_sided"] == every["p_two_sided"]


def test_an_unknown_figure_is_named(cli):
    with pytest.raises(ValueError) as raised:
        ambrelay.judge_frame(TESTS, figures=["p_twosided"])
    assert str(raised.value).startswith("'p_twosided' in figures is not a figure; the figures are 'window_ratio1',")
    status, _, err = cli("judge", "1000", "100", "1000", "130", "--figures", "p_twosided")
    assert status == 2 and err.startswith("ambrelay-cli: 'p_twosided' in --figures is not a figure;")

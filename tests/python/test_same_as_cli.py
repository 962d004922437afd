"""The package and ambrelay-cli on the same tests: every figure equal, one
test at a time (JSON) and a table at once (CSV)."""

import io
import math

import numpy as np
import pandas as pd
import pytest

import ambrelay

# views1, responses1, views2, responses2, options: the worked example, a
# small sample, counts with fractions, a tie, a lift of nothing, huge
# counts, looking early, and both kinds of margin.
JUDGE_CASES = [
    ("B wins clearly", (1000, 100, 1000, 130), {}),
    ("small sample", (10, 1, 10, 5), {}),
    ("counts with fractions", (100.5, 10, 200, 30), {}),
    ("equal ratios", (500, 50, 1000, 100), {}),
    ("A never responded", (1000, 0, 1000, 20), {}),
    ("a billion views", (1e9, 5e7, 1.1e9, 5.6e7), {}),
    ("planned total", (10000, 500, 10000, 580), {"planned": 5000}),
    ("not worse, relative", (10000, 500, 10000, 480), {"margin": 10}),
    ("not worse, points", (10000, 500, 10000, 480), {"margin_points": 2, "planned": 20000}),
]

CLI_OPTIONS = {"planned": "--planned", "margin": "--margin", "margin_points": "--margin-points"}


def cli_args(options):
    args = []
    for name, value in options.items():
        args += [CLI_OPTIONS[name], f"{value}%" if name == "margin" else value]
    return args


def same(a, b):
    if isinstance(a, float) and isinstance(b, (int, float)):
        return a == b or (math.isnan(a) and math.isnan(b))
    if isinstance(a, list) and isinstance(b, list):
        return len(a) == len(b) and all(same(x, y) for x, y in zip(a, b))
    return a == b


@pytest.mark.parametrize("name,counts,options", JUDGE_CASES, ids=[c[0] for c in JUDGE_CASES])
def test_one_test_as_the_json(cli, name, counts, options):
    expected, _ = cli.json("judge", *counts, *cli_args(options))
    got = ambrelay.judge(*counts, **options)
    assert list(got) == list(expected)
    assert [k for k in expected if not same(got[k], expected[k])] == []


def test_a_table_as_the_csv(cli):
    table = pd.DataFrame([c[1] for c in JUDGE_CASES], columns=ambrelay.JUDGE_COLUMNS)
    status, out, _ = cli("judge", "--csv", "-", stdin=table.to_csv(index=False))
    expected = pd.read_csv(io.StringIO(out), keep_default_na=False, na_values=[""], float_precision="round_trip")
    got = ambrelay.judge(*(table[c] for c in ambrelay.JUDGE_COLUMNS))
    assert status == 0 and list(got.columns) == list(expected.columns)
    for column in got.columns:
        if column in ("winner", "verdict", "leader", "warnings", "error"):
            assert got[column].fillna("").tolist() == expected[column].fillna("").tolist(), column
        elif column == "non_inferior":
            assert got[column].isna().all() and expected[column].isna().all()
        else:
            assert np.array_equal(got[column].to_numpy(float), expected[column].to_numpy(float), equal_nan=True), column


MEANS_CASES = [
    ("order value", (1200, 52.30, 41.7, 1180, 55.90, 44.2), {}),
    ("small and unequal", (40, 10.0, 3.0, 35, 11.5, 5.0), {"lower_is_better": True}),
    ("with a margin", (5000, 20.0, 8.0, 5000, 19.9, 8.0), {"margin_units": 0.5, "planned": 20000}),
]


@pytest.mark.parametrize("name,summaries,options", MEANS_CASES, ids=[c[0] for c in MEANS_CASES])
def test_averages_as_the_json(cli, name, summaries, options):
    args = ["--lower-is-better"] if options.get("lower_is_better") else []
    if "margin_units" in options:
        args += ["--margin-units", options["margin_units"], "--planned", options["planned"]]
    expected, _ = cli.json("means", *summaries, *args)
    got = ambrelay.means(*summaries, **options)
    assert [k for k in expected if not same(got[k], expected[k])] == []


@pytest.mark.parametrize(
    "args,call",
    [
        (["plan", "--baseline", "0.1", "--mde", "20"], lambda: ambrelay.plan(baseline=0.1, mde=20)),
        (["plan", "--sd", "40", "--mde", "2.5", "--absolute"], lambda: ambrelay.plan(sd=40, mde=2.5, absolute=True)),
        (["srm", "1000", "1100"], lambda: ambrelay.srm(1000, 1100)),
    ],
    ids=["plan rates", "plan averages", "split"],
)
def test_plans_and_splits_as_the_json(cli, args, call):
    expected, _ = cli.json(*args)
    got = call()
    assert [k for k in expected if not same(got[k], expected[k])] == []


def test_the_readme_line():
    assert round(ambrelay.judge(1000, 100, 1000, 130)["p_two_sided"], 4) == 0.0355
    assert ambrelay.plan(sd=40, mde=2.5, absolute=True)["observations_per_version"] == 4020

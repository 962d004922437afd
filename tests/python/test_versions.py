"""Tests of more than two versions from Python: a long frame gives the rows
ambrelay-cli writes for the same long table, a file of each user's values
gives what its versions' summaries give, and a Dask cluster gives what one
process gives."""

import io
import math

import numpy as np
import pandas as pd
import pytest

import ambrelay
import ambrelay.dask

HOMEPAGES = pd.DataFrame(
    {
        "test": ["home", "mail", "home", "mail", "home"],
        "version": ["A", "A", "B", "B", "C"],
        "views": [12500, 5000, 12480, 5000, 12510],
        "responses": [310, 400, 355, 410, 342],
    }
)

AVERAGES = pd.DataFrame(
    {
        "version": ["A", "B", "C", "D"],
        "n": [1000, 1000, 1000, 900],
        "mean": [10.0, 10.4, 10.2, 9.8],
        "sd": [4.0, 4.2, 3.9, 4.1],
    }
)

# The function, its frame, its keyword options, and the command line's own
# command and options for the same.
CASES = [
    ("two tests, each against A", ambrelay.judge_versions, HOMEPAGES, {}, "judge", []),
    ("the control named, Bonferroni", ambrelay.judge_versions, HOMEPAGES.query("test == 'home'"),
     {"control": "C", "adjust": "bonferroni"}, "judge", ["--control", "C", "--adjust", "bonferroni"]),
    ("shares intended", ambrelay.judge_versions, HOMEPAGES.query("test == 'home'"), {"split": "50/25/25"},
     "judge", ["--split", "50/25/25"]),
    ("averages, lower is better, BH", ambrelay.means_versions, AVERAGES,
     {"lower_is_better": True, "adjust": "BH"}, "means", ["--lower-is-better", "--adjust", "BH"]),
]


def same(a, b):
    if pd.isna(a) or pd.isna(b) or a == "" or b == "":
        return (pd.isna(a) or a == "") and (pd.isna(b) or b == "")
    if isinstance(a, (bool, np.bool_)) or isinstance(b, (bool, np.bool_)):
        return str(a).lower() == str(b).lower()
    if isinstance(a, (int, float, np.number)) or isinstance(b, (int, float, np.number)):
        return float(a) == float(b)
    return a == b


@pytest.mark.parametrize("name,function,frame,options,command,args", CASES, ids=[c[0] for c in CASES])
def test_a_long_frame_as_the_long_table(cli, name, function, frame, options, command, args):
    status, out, err = cli(command, "--csv", "-", *args, stdin=frame.to_csv(index=False))
    assert status == 0, err
    expected = pd.read_csv(io.StringIO(out), keep_default_na=False, na_values=[""], float_precision="round_trip")
    got = function(frame, **options).reset_index(drop=True)
    assert len(got) == len(expected) == len(frame) - frame.get("test", pd.Series(["t"] * len(frame))).nunique()
    differ = [
        (column, i)
        for column in expected.columns
        if column not in frame.columns
        for i in range(len(got))
        if not same(got[column][i], expected[column][i])
    ]
    assert differ == [], [(c, i, got[c][i], expected[c][i]) for c, i in differ[:5]]


def test_a_values_file_as_its_summaries(cli, tmp_path):
    random = np.random.default_rng(34)
    users = pd.DataFrame(
        {
            "group": random.choice(["A", "B", "C"], size=3000),
            "revenue": np.round(random.lognormal(2, 1, size=3000), 2),
        }
    )
    users.loc[users.group == "C", "revenue"] *= 1.1
    path = tmp_path / "users.csv"
    users.to_csv(path, index=False)
    status, out, err = cli("means", "--values", path, "--group", "group", "--value", "revenue", "--json")
    assert status == 0, err
    import json

    from_file = json.loads(out)["comparisons"]
    summaries = users.groupby("group", sort=False)["revenue"].agg(["count", "mean", "std"]).reset_index()
    summaries.columns = ["version", "n", "mean", "sd"]
    from_summaries = ambrelay.means_versions(summaries)
    assert [c["label2"] for c in from_file] == list(from_summaries["version"])
    for key in ("p_adjusted", "chance_to_be_best", "difference", "p_two_sided", "split_p_value"):
        for c, value in zip(from_file, from_summaries[key]):
            assert math.isclose(c[key], value, rel_tol=1e-11, abs_tol=1e-15), key


def test_a_cluster_as_one_process():
    dd = pytest.importorskip("dask.dataframe")
    distributed = pytest.importorskip("distributed")
    random = np.random.default_rng(35)
    rows = []
    for t in range(300):
        for v in "ABCD"[: 2 + t % 3]:
            views = int(random.integers(500, 5000))
            rows.append((f"t{t}", v, views, int(random.binomial(views, 0.1))))
    frame = pd.DataFrame(rows, columns=["test", "version", "views", "responses"])
    frame = frame.sample(frac=1, random_state=1).reset_index(drop=True)  # a test's rows apart
    frame.loc[5, "responses"] = -1  # a test without an answer travels too
    alone = ambrelay.judge_versions(frame)
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None) as c:
        with distributed.Client(c):
            spread = ambrelay.dask.judge_versions(dd.from_pandas(frame, npartitions=4)).compute()
    key = ["test", "version"]
    pd.testing.assert_frame_equal(
        spread.sort_values(key).reset_index(drop=True), alone.sort_values(key).reset_index(drop=True),
        check_dtype=False)
    assert alone.loc[alone.test == frame.loc[5, "test"], "error"].notna().all()


@pytest.mark.parametrize(
    "options,words",
    [
        ({"adjust": "dunnett"}, "adjust takes holm, hochberg, BH, bonferroni or none, not 'dunnett'"),
        ({"split": "50/50/50"}, "split takes every version's share in percent, adding up to 100"),
    ],
)
def test_options_said_in_words(options, words):
    with pytest.raises(ValueError, match=words):
        ambrelay.judge_versions(HOMEPAGES, **options)

"""A frame of one row per user compared from Python as ambrelay-cli means
--values compares a file of the same rows: one test the command line's JSON
to the byte, many tests a row per comparison, the rows it cannot count said
by their place; and a Dask cluster's answer equal to one process's."""

import json
import math
import pickle
import warnings

import numpy as np
import pandas as pd
import pytest

import ambrelay
import ambrelay.dask


def users(seed, n=2400, versions="AB", tests=None):
    """Seeded users whose revenue follows what they spent before the test;
    many spend nothing, in steps of a cent as a shop's revenue comes."""
    random = np.random.default_rng(seed)
    before = np.round(random.lognormal(2, 1, n) * (random.random(n) < 0.7), 2)
    frame = pd.DataFrame(
        {
            "variant": random.choice(list(versions), size=n),
            "pre_revenue": before,
            "revenue": np.round(0.6 * before + random.lognormal(1.5, 1, n) * (random.random(n) < 0.5), 2),
            "orders": random.integers(1, 4, n),
            "pre_orders": random.integers(1, 4, n),
        }
    )
    # Each version a few percent above the one before, so that no difference
    # is so near 0 that the rounding of its averages is all of it.
    frame["revenue"] = np.round(frame.revenue * (1 + 0.04 * frame.variant.map(versions.index)), 2)
    if tests:
        frame.insert(0, "test", random.choice(tests, size=n))
    return frame


# A name, the frame's seed and versions, means_values()'s options, and the
# command line's for the same.
CASES = [
    ("plain", 1, "AB", {}, []),
    ("covariate", 2, "AB", {"covariate": "pre_revenue"}, ["--covariate", "pre_revenue"]),
    ("every cap", 3, "AB", {"covariate": "pre_revenue", "cap": "99%", "cap_lower": "1%", "cap_covariate": 95},
     ["--covariate", "pre_revenue", "--cap", "99%", "--cap-lower", "1%", "--cap-covariate", "95"]),
    ("caps over the values not 0", 4, "AB", {"cap": 90, "ignore_zeros": True}, ["--cap", "90", "--ignore-zeros"]),
    ("a ratio and its covariate", 5, "AB",
     {"numerator": "revenue", "denominator": "orders", "covariate_numerator": "pre_revenue",
      "covariate_denominator": "pre_orders", "cap": 99.5},
     ["--numerator", "revenue", "--denominator", "orders", "--covariate-numerator", "pre_revenue",
      "--covariate-denominator", "pre_orders", "--cap", "99.5"]),
    ("three versions, C the control", 6, "ABC",
     {"control": "C", "adjust": "bonferroni", "split": "30/30/40", "covariate": "pre_revenue"},
     ["--control", "C", "--adjust", "bonferroni", "--split", "30/30/40", "--covariate", "pre_revenue"]),
    ("lower is better, planned, a margin", 7, "AB", {"lower_is_better": True, "planned": 10000, "margin": "2%"},
     ["--lower-is-better", "--planned", "10000", "--margin", "2%"]),
    ("a margin in units, a split", 8, "AB", {"margin_units": 0.5, "split": 60}, ["--margin-units", "0.5", "--split", "60"]),
]


@pytest.mark.parametrize("name,seed,versions,options,args", CASES, ids=[c[0] for c in CASES])
def test_one_test_as_the_command_line(cli, tmp_path, name, seed, versions, options, args):
    frame = users(seed, versions=versions)
    frame.loc[frame.index[:7], "revenue"] = np.nan  # a blank value counts as 0 in both
    path = tmp_path / "users.csv"
    frame.to_csv(path, index=False)
    value = [] if "numerator" in options else ["--value", "revenue"]
    expected, err = cli.json("means", "--values", path, "--group", "variant", *value, *args)
    assert expected is not None, err
    got = ambrelay.means_values(frame, group="variant", **({} if "numerator" in options else {"value": "revenue"}),
                                **options)
    assert got == expected
    assert (got.get("blank_values") or got["comparisons"][0]["blank_values"]) == 7


def flattened(comparison):
    """A comparison of the command line's JSON under a frame's column names:
    an interval's ends as two columns."""
    out = {}
    for key, value in comparison.items():
        if isinstance(value, list) and key != "warnings":
            out[key + "_low"], out[key + "_high"] = value
        elif key != "warnings":
            out[key] = value
    return out


def same(a, b):
    if a is None or (isinstance(a, float) and math.isnan(a)):
        return b is None or (isinstance(b, float) and math.isnan(b)) or b is pd.NA
    return bool(a == b)


def test_many_tests_a_row_per_comparison(cli, tmp_path):
    frame = users(9, versions="ABC", tests=["home", "mail", "cart"])
    frame = frame[(frame.test != "mail") | (frame.variant != "C")]  # two versions in one test
    frame = pd.concat([frame, pd.DataFrame({"test": ["lonely"] * 3, "variant": ["A"] * 3, "revenue": [1, 2, 3]})])
    got = ambrelay.means_values(frame, group="variant", value="revenue", covariate="pre_revenue", cap=99, test="test")
    assert list(dict.fromkeys(got.test)) == list(dict.fromkeys(frame.test))  # in the order first met
    for test, rows in got.groupby("test", sort=False):
        own = frame[frame.test == test].drop(columns="test")
        path = tmp_path / f"{test}.csv"
        own.to_csv(path, index=False)
        expected, err = cli.json("means", "--values", path, "--group", "variant", "--value", "revenue",
                                 "--covariate", "pre_revenue", "--cap", "99")
        if expected is None:
            # A file's problem is its test's in a frame of many tests.
            assert [err.endswith(e.replace("the test", "the file")) for e in rows.error] == [True]
            assert rows.p_two_sided.isna().all()
            continue
        comparisons = expected.get("comparisons", [expected])
        assert len(rows) == len(comparisons) and rows.error.isna().all()
        for (_, row), comparison in zip(rows.iterrows(), comparisons):
            differ = [(k, row[k], v) for k, v in flattened(comparison).items() if not same(v, row[k])]
            assert differ == []
            assert row.warnings == ";".join(w["code"] for w in comparison["warnings"])
    assert got.loc[got.test == "lonely", "error"].item() == "the test has only one version, 'A'; a comparison takes two"


def test_rows_it_cannot_count_said_by_their_place(cli, tmp_path):
    frame = users(10).astype({"revenue": object, "pre_revenue": object})
    frame.loc[3, "revenue"] = "abc"
    frame.loc[5, "variant"] = None
    frame.loc[8, "pre_revenue"] = np.inf
    frame.loc[11, "pre_revenue"] = "12,5"
    path = tmp_path / "users.csv"
    frame.to_csv(path, index=False)
    status, out, err = cli("means", "--values", path, "--group", "variant", "--value", "revenue",
                           "--covariate", "pre_revenue", "--json")
    expected = json.loads(out)
    assert status == 1  # an answer, but not of every row
    with pytest.warns(ambrelay.RowsLeftOut) as said:
        got = ambrelay.means_values(frame, group="variant", value="revenue", covariate="pre_revenue")
    assert got == expected and got["rows_left_out"] == 4
    assert str(said[0].message) == (
        "row 3: 'abc' in column revenue is not a number\n"
        "row 5: no version label in column variant\n"
        "row 8: 'inf' in column pre_revenue is not a number\n"
        "row 11: '12,5' in column pre_revenue is not a number")
    # The command line says the same rows by their lines, the header being line 1.
    assert [line.split(": ")[0] for line in err.splitlines()[:4]] == ["line 5", "line 7", "line 10", "line 13"]


def test_many_rows_left_out_counted_after_the_first_ten():
    frame = users(11).astype({"revenue": object})
    frame.loc[frame.index[100:130], "revenue"] = "n/a"
    with pytest.warns(ambrelay.RowsLeftOut, match=r"row 109: .*\nand 20 more rows were left out$"):
        ambrelay.means_values(frame, group="variant", value="revenue")


@pytest.mark.parametrize(
    "options,words",
    [
        ({"value": "spend"}, "the frame has no column named 'spend'; its columns are: variant, pre_revenue, revenue"),
        ({"covariate": "before"}, "the frame has no column named 'before'"),
        ({"cap": "abc"}, "'abc' in cap is not a number"),
        ({"cap_lower": 1}, "cap_lower=1 could be 1% or 100%; give the one you mean as a text with its % sign"),
        ({"control": "Z"}, "'Z'"),
        ({"numerator": "revenue"}, "a ratio metric takes both numerator and denominator"),
        ({"cap_covariate": 99}, "cap_covariate caps the covariate"),
        ({"adjust": "dunnett"}, "adjust takes holm, hochberg, BH, bonferroni or none, not 'dunnett'"),
        ({"ignore_zeros": "no"}, "ignore_zeros is True or False, not 'no'"),
        ({"lower_is_better": 0}, "lower_is_better is True or False, not 0"),
    ],
)
def test_what_cannot_be_compared_said_in_words(options, words):
    with pytest.raises(ValueError, match=words):
        ambrelay.means_values(users(12), group="variant", **{"value": "revenue", **options})


# Cells that are no numbers, whatever their dtype: each row is left out by
# its place and said to be no number, never read as the number NumPy would
# make of it (a date's nanoseconds, a complex number's real part).
@pytest.mark.parametrize(
    "cells,left",
    [
        (pd.Series(pd.to_datetime(np.arange(12), unit="D")), 12),
        (pd.Series(pd.to_timedelta(np.arange(12), unit="s")), 12),
        (pd.Series(np.arange(12) + 1j), 12),
        (pd.Series(pd.Categorical(["1", "x", "3", "4", "5", "6"] * 2)), 2),
        (pd.Series([1, None, 3, pd.Timestamp("2026-01-01"), 5, 6] * 2, dtype=object), 2),
    ],
    ids=["dates", "durations", "complex", "categories", "a date among numbers"],
)
def test_cells_no_number_by_their_dtype(cells, left):
    frame = pd.DataFrame({"variant": list("AB") * 6, "revenue": cells})
    with warnings.catch_warnings(record=True) as said:
        warnings.simplefilter("always")
        if left == len(frame):
            with pytest.raises(ValueError, match="the control 'A'"):
                ambrelay.means_values(frame, group="variant", value="revenue")
        else:
            got = ambrelay.means_values(frame, group="variant", value="revenue")
            assert got["observations1"] + got["observations2"] == len(frame) - left
    words = "\n".join(str(w.message) for w in said if w.category is ambrelay.RowsLeftOut)
    assert words.count("in column revenue is not a number") == min(left, 10)


def test_dates_name_versions_by_their_text():
    frame = pd.DataFrame({"day": pd.to_datetime(["2026-01-01", "2026-01-02"] * 4), "revenue": np.arange(8.0)})
    got = ambrelay.means_values(frame, group="day", value="revenue")
    assert (got["label1"], got["label2"]) == ("2026-01-01 00:00:00", "2026-01-02 00:00:00")


def test_rows_that_change_between_passes_refused():
    frame = users(17)
    options, roles = ambrelay._values_options("variant", "revenue", cap=99)
    first = ambrelay._ambrelay.values_part(ambrelay._values_columns(frame, roles), options, None)
    assert not first.last()
    fewer = ambrelay._ambrelay.values_part(ambrelay._values_columns(frame.iloc[:-5], roles), options,
                                           first.next(options))
    with pytest.raises(ValueError, match=r"the frame gave 2,400 rows in the first pass over it and 2,395 in a later"):
        fewer.last()


def test_one_version_only_raises_the_command_lines_words(cli, tmp_path):
    frame = users(13)
    frame = frame[frame.variant == "A"]
    frame.to_csv(tmp_path / "a.csv", index=False)
    _, err = cli.json("means", "--values", tmp_path / "a.csv", "--group", "variant", "--value", "revenue")
    with pytest.raises(ValueError) as raised:
        ambrelay.means_values(frame, group="variant", value="revenue")
    assert str(raised.value) == err.removeprefix("ambrelay-cli: ").replace("the file", "the frame")
    assert str(raised.value).startswith("the frame has only one version")


def close(a, b, scale=0.0):
    """Equal, numbers to 1e-12 of the larger of the two (or of `scale`)."""
    if a is pd.NA or b is pd.NA or a is None or b is None:
        return a is b
    if isinstance(a, list):
        return len(a) == len(b) and all(close(x, y, scale) for x, y in zip(a, b))
    if isinstance(a, float) and isinstance(b, float):
        return a == b or (math.isnan(a) and math.isnan(b)) or abs(a - b) <= 1e-12 * max(abs(a), abs(b), scale)
    return a == b


def same_comparison(alone, spread):
    """The figures of one comparison equal to 1e-12 relative; but a
    difference of two averages, and what is made of it, to 1e-12 of the
    averages: two averages near each other lose their first digits to the
    subtraction, however their users were added up."""
    averages = [abs(alone[k]) for k in ("average1", "average2", "unadjusted_average1", "unadjusted_average2")
                if alone.get(k) is not None]
    size = max(averages)
    for key, value in alone.items():
        scale = 0.0
        if "difference" in key:
            scale = size
        elif "lift" in key:
            scale = 100 * size / min(averages)
        elif key == "t" and alone["difference"]:
            scale = abs(value) * size / abs(alone["difference"])
        if not close(value, spread[key], scale):
            return False
    return alone.keys() == spread.keys()


@pytest.fixture(scope="module")
def cluster():
    distributed = pytest.importorskip("distributed")
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None) as c:
        with distributed.Client(c) as client:
            yield client


@pytest.mark.parametrize(
    "options",
    [
        {"covariate": "pre_revenue"},
        {"covariate": "pre_revenue", "cap": "99%", "cap_lower": 2, "cap_covariate": 97.5},
        {"numerator": "revenue", "denominator": "orders", "cap": 95, "ignore_zeros": True},
    ],
    ids=["covariate", "caps", "a ratio, caps over values not 0"],
)
def test_a_cluster_as_one_process(cluster, monkeypatch, options):
    dd = pytest.importorskip("dask.dataframe")
    frame = users(14, n=6000, versions="ABC")
    frame.loc[frame.index[::500], "revenue"] = np.nan
    passes = []
    counted = ambrelay.dask._pass
    monkeypatch.setattr(ambrelay.dask, "_pass", lambda *a: passes.append(1) or counted(*a))
    value = {} if "numerator" in options else {"value": "revenue"}
    alone = ambrelay.means_values(frame, group="variant", **value, **options)
    spread = ambrelay.dask.means_values(dd.from_pandas(frame, npartitions=5), group="variant", **value, **options)
    assert [c["label2"] for c in spread["comparisons"]] == [c["label2"] for c in alone["comparisons"]]
    assert all(same_comparison(a, b) for a, b in zip(alone["comparisons"], spread["comparisons"]))
    assert close(spread["warnings"], alone["warnings"])
    assert len(passes) == (3 if any(k.startswith("cap") for k in options) else 1)
    caps = alone["comparisons"][0]
    assert "cap" not in options or caps["capped_upper"] > 0


def test_a_cluster_as_one_process_test_by_test(cluster):
    dd = pytest.importorskip("dask.dataframe")
    frame = users(15, n=5000, versions="ABCD", tests=["home", "mail", "cart"])
    frame.loc[frame.test == "mail", "variant"] = frame.variant.where(frame.variant < "C", "A")
    frame = frame.astype({"revenue": object})
    frame.loc[[17, 2500, 4999], "revenue"] = "abc"  # rows left out in the first and the last partition
    options = {"group": "variant", "value": "revenue", "covariate": "pre_revenue", "cap": 99, "test": "test"}
    with pytest.warns(ambrelay.RowsLeftOut) as one:
        alone = ambrelay.means_values(frame, **options)
    with pytest.warns(ambrelay.RowsLeftOut) as many:
        spread = ambrelay.dask.means_values(dd.from_pandas(frame, npartitions=4), **options)
    assert str(many[0].message) == str(one[0].message)
    assert list(spread.columns) == list(alone.columns) and len(spread) == len(alone) == 3 + 3 + 1
    for (_, one), (_, cluster_row) in zip(alone.iterrows(), spread.iterrows()):
        assert same_comparison(one.to_dict(), cluster_row.to_dict())


def test_parts_travel_as_bytes():
    frame = users(16)
    options, roles = ambrelay._values_options("variant", "revenue", covariate="pre_revenue", cap=99)
    part = ambrelay._ambrelay.values_part(ambrelay._values_columns(frame, roles), options, None)
    again = pickle.loads(pickle.dumps(part))
    nexts = [p.next(options) for p in (part, again)]
    assert pickle.dumps(nexts[0]) == pickle.dumps(nexts[1])
    state = part.__getstate__()
    for cut in (state[:-1], state + b"\0", b"another" + state[7:]):
        with pytest.raises(ValueError, match="no parts of this build"):
            ambrelay._ambrelay.ValuesParts.__new__(ambrelay._ambrelay.ValuesParts).__setstate__(cut)
    with warnings.catch_warnings():
        warnings.simplefilter("error")
        assert ambrelay.means_values(frame, group="variant", value="revenue")["rows_left_out"] == 0


def test_published_check_values():
    """Users whose sums are a published test of what users did before it
    (control n 2,801, ΣY 280, ΣY² 560, ΣX 195, ΣX² 390, ΣXY −18; treatment
    n 2,800, ΣY 205, ΣY² 510, ΣX 110, ΣX² 380, ΣXY −8), in steps of 0.5;
    the figures are R's from the sums."""
    groups = [("control", 0, 0, 2471), ("control", 0, 0.5, 1), ("control", 0, 1.5, 119), ("control", 0, 2, 26),
              ("control", 0.5, -0.5, 72), ("control", 1.5, 0, 8), ("control", 2, 0, 56), ("control", 2.5, 0, 48),
              ("treatment", 0, 0, 2653), ("treatment", 0, 2, 3), ("treatment", 0, 3, 40),
              ("treatment", 0.5, -0.5, 32), ("treatment", 2, 0, 5), ("treatment", 2.5, 0, 44),
              ("treatment", 3, 0, 23)]
    frame = pd.DataFrame([(arm, y, x) for arm, y, x, count in groups for _ in range(count)],
                         columns=["arm", "revenue", "pre_revenue"])
    got = ambrelay.means_values(frame, group="arm", value="revenue", covariate="pre_revenue")
    expected = {"covariate_theta": -0.069566052, "average1": 0.101019, "average2": 0.072159, "df": 5593.0,
                "lift_percent": 39.4187}
    for key, value in expected.items():
        assert got[key] == pytest.approx(value, abs=0.5 * 10 ** -len(repr(value).split(".")[1])), key
    assert got["lift_ci_percent"] == pytest.approx([2.5183, 76.3191], abs=5e-5)

"""The same table judged the way an analyst's pandas script would: read with
read_csv, the pooled z statistic and two-sided p value of statsmodels'
proportions_ztest computed for every row at once, written with to_csv.

    python3 pandas_reference.py IN.csv OUT.csv
"""
import sys

import pandas as pd
from statsmodels.stats.weightstats import _zstat_generic2


def main(source, target):
    table = pd.read_csv(source)
    x1, n1 = table["responses1"], table["views1"]
    x2, n2 = table["responses2"], table["views2"]
    # proportions_ztest for two samples: the pooled ratio's variance over
    # both counts, then the normal distribution's two tails.
    pooled = (x1 + x2) / (n1 + n2)
    spread = (pooled * (1 - pooled) * (1 / n1 + 1 / n2)) ** 0.5
    z, p = _zstat_generic2(x1 / n1 - x2 / n2, spread, "two-sided")
    table["z"] = z
    table["p_two_sided"] = p
    table.to_csv(target, index=False)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])

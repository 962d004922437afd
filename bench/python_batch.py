"""The Python package judging a table in memory, every figure, against the
command line's own work on the same rows (batch_core), and SciPy's Fisher
exact test row by row against the package's. Prints key-value lines.

    python_batch.py TABLE.csv BATCH_CORE
"""

import subprocess
import sys
import time

import pandas as pd
from scipy.stats import fisher_exact

import ambrelay


def best_of(runs, work):
    best = float("inf")
    for _ in range(runs):
        start = time.perf_counter()
        work()
        best = min(best, time.perf_counter() - start)
    return best


def core_seconds(program, table):
    out = subprocess.run([program, table], capture_output=True, text=True, check=True).stdout
    return float(out.split()[1])


table_path, core = sys.argv[1], sys.argv[2]
table = pd.read_csv(table_path)
rows = len(table)
# Taken in turns, three times each, the best of each: a busy moment on a
# shared machine slows one run, not the comparison.
package, command_line = float("inf"), float("inf")
for _ in range(3):
    package = min(package, best_of(1, lambda: ambrelay.judge_frame(table)))
    command_line = min(command_line, core_seconds(core, table_path))
print(f"python_seconds {package:.3f}")
print(f"core_seconds {command_line:.3f}")
print(f"python_over_core {package / command_line:.3f}")

sample = table.head(300)
scipy = best_of(1, lambda: [fisher_exact([[r.responses1, r.views1 - r.responses1], [r.responses2, r.views2 - r.responses2]])
                            for r in sample.itertuples()]) / len(sample)
ours = package / rows
print(f"scipy_fisher_row_us {scipy * 1e6:.1f}")
print(f"python_row_us {ours * 1e6:.2f}")
print(f"fisher_speedup {scipy / ours:.0f}")

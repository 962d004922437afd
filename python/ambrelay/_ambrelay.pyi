# The compiled module's functions, which the package's own functions call.
# An input column is a NumPy array of numbers or a list of texts, which the
# engine reads as the command line reads its cells.
from typing import Any, Dict, List, Optional, Sequence, Union

import numpy as np

Column = Union[np.ndarray, List[str]]

JUDGE_COLUMNS: List[str]
MEANS_COLUMNS: List[str]

def judge(
    columns: Sequence[Column], names: Sequence[str], from_frame: bool, planned: Column, margin: Optional[str],
    margin_points: Optional[str], split: Optional[str], jobs: int, words: bool,
    figures: Optional[Sequence[str]] = None,
) -> Dict[str, Any]: ...
def means(
    columns: Sequence[Column], names: Sequence[str], from_frame: bool, lower_is_better: bool, planned: Column,
    margin: Optional[str], margin_units: Optional[str], split: Optional[str], jobs: int, words: bool,
) -> Dict[str, Any]: ...
def srm(observations1: Column, observations2: Column, split: Column, jobs: int) -> Dict[str, Any]: ...
def plan_rates(
    baseline: str, mde: Optional[str], observations: Optional[str], absolute: bool, alpha: str, power: str,
    split: str, daily: Optional[str], one_sided: bool,
) -> Dict[str, Any]: ...
def plan_means(
    sd: str, mde: str, absolute: bool, mean: Optional[str], alpha: str, power: str, daily: Optional[str],
    one_sided: bool,
) -> Dict[str, Any]: ...
def missing_column(wanted: str, names: Sequence[str]) -> str: ...

# Users' values: "group" as (codes, texts) as pandas factorises a column,
# "value", "denominator", "covariate", "covariate_denominator" as the layout
# has them, "test" for many tests; options under means_values()'s names.
def means_values(columns: Dict[str, Any], options: Dict[str, Any]) -> Dict[str, Any]: ...

class ValuesParts:
    """What some partitions' users add up to, in one pass of a cluster's."""
    def merge(self, later: "ValuesParts") -> "ValuesParts": ...
    def last(self) -> bool: ...
    def next(self, options: Dict[str, Any]) -> "ValuesParts": ...
    def answers(self, options: Dict[str, Any], by_test: bool) -> Dict[str, Any]: ...

def values_part(columns: Dict[str, Any], options: Dict[str, Any], before: Optional[ValuesParts]) -> ValuesParts: ...

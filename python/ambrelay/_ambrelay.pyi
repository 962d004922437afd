# The compiled module's functions, which the package's own functions call.
from typing import Any, Dict, Optional

import numpy as np

def judge(
    views1: np.ndarray, responses1: np.ndarray, views2: np.ndarray, responses2: np.ndarray, planned: np.ndarray,
    margin: Optional[float], margin_points: Optional[float], jobs: int, words: bool,
) -> Dict[str, Any]: ...
def means(
    n1: np.ndarray, mean1: np.ndarray, sd1: np.ndarray, n2: np.ndarray, mean2: np.ndarray, sd2: np.ndarray,
    lower_is_better: bool, planned: np.ndarray, margin: Optional[float], margin_units: Optional[float], jobs: int,
    words: bool,
) -> Dict[str, Any]: ...
def srm(observations1: np.ndarray, observations2: np.ndarray, split: np.ndarray, jobs: int) -> Dict[str, Any]: ...
def plan_rates(
    baseline: float, mde: Optional[float], observations: Optional[float], absolute: bool, alpha: float, power: float,
    split: float, daily: Optional[float], one_sided: bool,
) -> Dict[str, Any]: ...
def plan_means(
    sd: float, mde: float, absolute: bool, mean: Optional[float], alpha: float, power: float, daily: Optional[float],
    one_sided: bool,
) -> Dict[str, Any]: ...

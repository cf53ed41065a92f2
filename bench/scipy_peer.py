#!/usr/bin/env python3
"""A peer for the sampler: SciPy's BSpline, called once on the whole parameter array of the
editor's curve (uniform knots 0, 1, 2, ..., 1024 random points, t = degree, degree + 0.1, ...
in float32 steps), timed beside tavrimo_bench's BM_Sampler and BM_PlainDoubleDeBoor in the
same run. Prints samples per second and the ratios. Not a test: it prints figures.

Needs Debian's python3-scipy, which the test setup does not install: run it with
/usr/bin/python3.

usage: scipy_peer.py --bench build/linux/bench/tavrimo_bench [--repeats 7]"""

import argparse
import json
import subprocess
import sys
import timeit

POINTS = 1024

try:
    import numpy as np
    from scipy.interpolate import BSpline
except ImportError as missing:
    print(f"scipy_peer: {missing.name} is missing: apt-get install python3-scipy, then run "
          "this with /usr/bin/python3")
    sys.exit(1)


def parameters(degree, count):
    """The editor's sequence: float32 steps of 0.1, stopping on the sum before rounding."""
    step = float(np.float32(0.1))
    t = np.float32(degree)
    values = []
    while True:
        values.append(float(t))
        s = float(t) + step
        t = np.float32(s)
        if s > count:
            return np.array(values)


def scipy_rate(degree, repeats):
    rng = np.random.default_rng(20261208)
    points = np.column_stack([rng.integers(0, 640, POINTS), 239 - rng.integers(0, 480, POINTS)])
    spline = BSpline(np.arange(POINTS + degree + 1, dtype=float), points.astype(float), degree)
    ts = parameters(degree, POINTS)
    best = min(timeit.repeat(lambda: spline(ts), number=5, repeat=repeats)) / 5
    return len(ts) / best


def bench_rates(bench, repeats):
    result = subprocess.run([bench, "--benchmark_filter=BM_(Sampler|PlainDoubleDeBoor)/",
                             f"--benchmark_repetitions={repeats}", "--benchmark_format=json"],
                            capture_output=True, text=True, timeout=600, check=True)
    rates = {}
    for run in json.loads(result.stdout)["benchmarks"]:
        if run.get("run_type") == "iteration":
            name = run["name"].split("/")[0], int(run["name"].split("/")[1])
            rates[name] = max(rates.get(name, 0.0), run["items_per_second"])
    return rates


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bench", required=True)
    parser.add_argument("--repeats", type=int, default=7)
    options = parser.parse_args()
    rates = bench_rates(options.bench, options.repeats)
    print(f"best of {options.repeats}, samples per second, {POINTS} points")
    for degree in (3, 9):
        scipy = scipy_rate(degree, options.repeats)
        sampler = rates[("BM_Sampler", degree)]
        plain = rates[("BM_PlainDoubleDeBoor", degree)]
        print(f"degree {degree}: sampler {sampler / 1e6:6.1f} M, SciPy BSpline {scipy / 1e6:6.1f} M, "
              f"plain double de Boor {plain / 1e6:6.1f} M; sampler / SciPy {sampler / scipy:.2f}, "
              f"sampler / plain {sampler / plain:.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())

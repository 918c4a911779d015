#!/usr/bin/python3
"""Reads varnek_bench_numbers' JSON output and sets each number rule beside the standard library.

    bench/numbers/ratios.py RESULTS.json
"""

import json
import sys

YARDSTICKS = {
    "textToNumberTurkish": "fromChars",
    "textToNumberEnglish": "fromChars",
    "numberToTextTurkish": "toChars",
    "numberToTextEnglish": "toChars",
}


def main():
    with open(sys.argv[1]) as results:
        benchmarks = json.load(results)["benchmarks"]
    # With repetitions only the medians count; a single run stands for itself.
    times = {}
    for b in benchmarks:
        if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
            continue
        times[b["run_name"]] = b["cpu_time"]

    print(f"{'benchmark':32}{'ns':>9}{'yardstick ns':>14}{'ratio':>8}")
    worst = {}
    for name, ns in times.items():
        family, _, case = name.partition("/")
        yardstick = YARDSTICKS.get(family)
        if yardstick is None:
            if family not in YARDSTICKS.values():
                print(f"{name:32}{ns:9.1f}")
            continue
        base = times[f"{yardstick}/{case}"]
        ratio = ns / base
        worst[family] = max(worst.get(family, 0), ratio)
        print(f"{name:32}{ns:9.1f}{base:14.1f}{ratio:8.2f}")
    for family, ratio in worst.items():
        print(f"worst ratio, {family}: {ratio:.2f}")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Fails unless two CTest JUnit reports agree: the same tests run and skipped, and inside each Qt Test
program the same rows passed and skipped (with the same reasons).

    same_results.py FIRST.xml SECOND.xml
"""
import re
import sys
import xml.etree.ElementTree as ET

# Qt Test's line for each row: PASS, SKIP (with its reason), FAIL!, XFAIL, XPASS, BPASS...
ROW = re.compile(r"^(PASS|SKIP|FAIL!|XFAIL|XPASS|BPASS|BFAIL|BXPASS|BXFAIL)\s*: ")


def results(path):
    found = {}
    for case in ET.parse(path).getroot().iter("testcase"):
        out = case.find("system-out")
        lines = (out.text or "").splitlines() if out is not None else []
        rows = sorted(line.rstrip() for line in lines if ROW.match(line))
        found[case.get("name")] = (case.get("status"), rows)
    return found


def main():
    first, second = results(sys.argv[1]), results(sys.argv[2])
    differences = []
    for name in sorted(set(first) | set(second)):
        a, b = first.get(name), second.get(name)
        if a == b:
            continue
        if a is None or b is None:
            differences.append(f"{name}: only in {'the second' if a is None else 'the first'} run")
            continue
        if a[0] != b[0]:
            differences.append(f"{name}: {a[0]} in the first run, {b[0]} in the second")
        for row in sorted(set(a[1]) ^ set(b[1])):
            differences.append(f"{name}: {'first' if row in a[1] else 'second'} run only: {row}")
    if differences:
        print("\n".join(differences))
        return 1
    rows = sum(len(r) for _, r in first.values())
    print(f"the same {len(first)} tests and {rows} rows passed and skipped in both runs")
    return 0


if __name__ == "__main__":
    sys.exit(main())

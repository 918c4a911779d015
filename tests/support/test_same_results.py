#!/usr/bin/env python3
"""same_results.py on crafted CTest JUnit reports: it must tell every difference of tests, their
outcomes and their Qt Test rows, and accept two runs that agree."""
import os
import subprocess
import sys
import tempfile
from xml.sax.saxutils import escape

CHECKER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "same_results.py")
PASS, SKIP = "PASS   : tst_x::a(row)", "SKIP   : tst_x::a(row) no font"
OTHER = "PASS   : tst_x::a(other row)"
BOTH = {"tst_x": ("run", [PASS, OTHER]), "layers": ("run", [])}

# (what, first run, second run, whether the checker must accept them)
CASES = [
    ("the same runs", BOTH, BOTH, True),
    ("a row passed in one run and skipped in the other", BOTH,
     {**BOTH, "tst_x": ("run", [SKIP, OTHER])}, False),
    ("a row missing from one run", BOTH, {**BOTH, "tst_x": ("run", [PASS])}, False),
    ("a test missing from the second run", BOTH, {"tst_x": BOTH["tst_x"]}, False),
    ("a test missing from the first run", {"tst_x": BOTH["tst_x"]}, BOTH, False),
    ("a test failed in one run", BOTH, {**BOTH, "layers": ("fail", [])}, False),
]


def report(path, tests):
    cases = "".join(f'<testcase name="{name}" status="{status}"><system-out>'
                    + escape("\n".join(["********* Start testing", *rows, "Totals: ..."]))
                    + "</system-out></testcase>" for name, (status, rows) in tests.items())
    with open(path, "w") as out:
        out.write(f'<?xml version="1.0"?><testsuite tests="{len(tests)}">{cases}</testsuite>')


def main():
    failed = 0
    with tempfile.TemporaryDirectory() as work:
        first, second = os.path.join(work, "first.xml"), os.path.join(work, "second.xml")
        for what, one, two, same in CASES:
            report(first, one)
            report(second, two)
            run = subprocess.run([sys.executable, CHECKER, first, second], capture_output=True, text=True)
            if (run.returncode == 0) != same:
                failed = 1
                print(f"FAIL: {what}: exit {run.returncode}, must be {'accepted' if same else 'rejected'}\n{run.stdout}")
    if not failed:
        print(f"same_results.py judged all {len(CASES)} cases right")
    return failed


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""The checks of scripts/reproduce.sh on crafted input: SHA256SUMS lines that sha256sum would not
write for a folder must be refused, and the copy of the sources for the second build must hold the
files git names (or, outside git, all but build/), each dated now rather than by its old date."""
import os
import shutil
import subprocess
import sys
import tempfile
import time

STEPS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "reproduce-steps.sh")
SUM = "0123456789abcdef" * 4

# (what, SHA256SUMS text, whether the line is as sha256sum writes it)
SUMS = [
    ("two blanks and a name inside the folder", f"{SUM}  varnek_1.6_amd64.deb\n{SUM}  Varnek/varnek.exe\n", True),
    ("one blank", f"{SUM} varnek_1.6_amd64.deb\n", False),
    ("an absolute name", f"{SUM}  /tmp/varnek_1.6_amd64.deb\n", False),
    ("a name out of the folder", f"{SUM}  Varnek/../../varnek.exe\n", False),
    ("binary mode", f"{SUM} *varnek.zip\n", False),
    ("a short sum", f"{SUM[:-1]}  varnek.zip\n", False),
]
# (file, whether the copy holds it), in a git work tree and in sources without git
IN_GIT = [("tracked.txt", True), ("new.txt", True), ("ignored.log", False), ("deleted.txt", False),
          ("build/out.o", False)]
NO_GIT = [("tracked.txt", True), ("new.txt", True), ("ignored.log", True), ("build/out.o", False)]


def steps(call, *args):
    return subprocess.run(["bash", "-c", f'set -euo pipefail; source "$0"; {call} "$@"', STEPS, *args],
                          capture_output=True, text=True)


def sources(root, git):
    os.makedirs(os.path.join(root, "build"))
    for name in ("tracked.txt", "deleted.txt", "new.txt", "ignored.log", "build/out.o", ".gitignore"):
        with open(os.path.join(root, name), "w") as out:
            out.write("*.log\nbuild/\n" if name == ".gitignore" else name)
    if git:
        git_ = ["git", "-C", root, "-c", "user.name=V", "-c", "user.email=v@example.invalid"]
        subprocess.run(git_ + ["init", "-q"], check=True)
        subprocess.run(git_ + ["add", "tracked.txt", "deleted.txt", ".gitignore"], check=True)
        subprocess.run(git_ + ["commit", "-qm", "sources"], check=True)
        os.remove(os.path.join(root, "deleted.txt"))
    for folder, _, files in os.walk(root):
        for name in files:
            os.utime(os.path.join(folder, name), (978307200, 978307200))  # 2001


def main():
    failures = []
    with tempfile.TemporaryDirectory() as work:
        sums = os.path.join(work, "SHA256SUMS")
        for what, text, right in SUMS:
            with open(sums, "w") as out:
                out.write(text)
            if (steps("sums_lines_right", sums).returncode == 0) != right:
                failures.append(f"SHA256SUMS with {what}: {'refused' if right else 'taken'}")
        # Sources without git, as an unpacked archive, have no git to try.
        trees = ((True, IN_GIT), (False, NO_GIT)) if shutil.which("git") else ((False, NO_GIT),)
        for git, expected in trees:
            root, copy = os.path.join(work, f"sources{git}"), os.path.join(work, f"copy{git}")
            sources(root, git)
            os.mkdir(copy)
            started = time.time() - 1
            run = steps("copy_sources", root, copy)
            if run.returncode != 0:
                failures.append(f"copy_sources failed: {run.stderr}")
            for name, held in expected:
                path = os.path.join(copy, name)
                where = "in git" if git else "without git"
                if os.path.exists(path) != held:
                    failures.append(f"the copy {where} {'lacks' if held else 'holds'} {name}")
                elif held and os.path.getmtime(path) < started:
                    failures.append(f"the copy {where} keeps the old date of {name}")
    for failure in failures:
        print("FAIL:", failure)
    if not failures:
        print(f"{len(SUMS)} SHA256SUMS and the copies {'in git and ' * (len(trees) > 1)}without git judged right")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

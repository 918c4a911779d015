#!/usr/bin/env python3
"""deb_dates.py on crafted packages: every date that is not the given one, in the ar members and in
both archives, earlier or later, must fail it; a package dated right must pass."""
import io
import os
import subprocess
import sys
import tarfile
import tempfile

CHECKER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "deb_dates.py")
EPOCH, DAY = 1765000000, 86400


def archive(dates):
    data = io.BytesIO()
    with tarfile.open(fileobj=data, mode="w:gz") as tar:
        for name, mtime in dates.items():
            entry = tarfile.TarInfo(name)
            entry.mtime = mtime
            tar.addfile(entry, io.BytesIO())
    return data.getvalue()


def deb(members):
    """An ar archive of (name, date, bytes)."""
    out = b"!<arch>\n"
    for name, mtime, body in members:
        out += f"{name:<16}{mtime:<12}0     0     100644  {len(body):<10}`\n".encode() + body
        out += b"\n" if len(body) % 2 else b""
    return out


def package(ar=EPOCH, control=EPOCH, data=EPOCH):
    return deb([("debian-binary", ar, b"2.0\n"),
                ("control.tar.gz", EPOCH, archive({"./control": control, "./md5sums": EPOCH})),
                ("data.tar.gz", EPOCH, archive({"./usr/bin/varnek": EPOCH, "./usr/share/doc/": data}))])


# (what, package bytes, whether deb_dates.py must accept it)
CASES = [
    ("every date right", package(), True),
    ("an ar member a day late", package(ar=EPOCH + DAY), False),
    ("a control.tar entry a day early", package(control=EPOCH - DAY), False),
    ("a data.tar entry a day early", package(data=EPOCH - DAY), False),
    ("a data.tar entry a second late", package(data=EPOCH + 1), False),
    ("no archives", deb([("debian-binary", EPOCH, b"2.0\n")]), False),
]


def main():
    failed = 0
    with tempfile.TemporaryDirectory() as work:
        path = os.path.join(work, "varnek.deb")
        for what, content, right in CASES:
            with open(path, "wb") as out:
                out.write(content)
            run = subprocess.run([sys.executable, CHECKER, path, str(EPOCH)], capture_output=True, text=True)
            if (run.returncode == 0) != right:
                failed = 1
                print(f"FAIL: {what}: exit {run.returncode}, must be {'accepted' if right else 'rejected'}\n"
                      f"{run.stdout}{run.stderr}")
    if not failed:
        print(f"deb_dates.py judged all {len(CASES)} cases right")
    return failed


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Fails unless every date in a Debian package is EPOCH: the ar members' and every entry's of its
control and data archives. A build must take the date its caller gives (SOURCE_DATE_EPOCH when
configuring) or else the newest entry of the changelog, never a file's own time.
    deb_dates.py DEB EPOCH"""
import datetime
import io
import sys
import tarfile

deb, epoch = sys.argv[1], int(sys.argv[2])
data = open(deb, "rb").read()
if not data.startswith(b"!<arch>\n"):
    sys.exit(f"FAIL: {deb} is no ar archive")
dates = []  # (what, mtime)
offset = 8
while offset + 60 <= len(data):
    header = data[offset:offset + 60]
    name = header[0:16].decode().strip().rstrip("/")
    size = int(header[48:58])
    dates.append((name, int(header[16:28])))
    body = data[offset + 60:offset + 60 + size]
    if name.startswith(("control.tar", "data.tar")):
        with tarfile.open(fileobj=io.BytesIO(body)) as tar:
            dates += [(f"{name}:{entry.name}", int(entry.mtime)) for entry in tar]
    offset += 60 + size + size % 2

if not any(":" in what for what, _ in dates):
    sys.exit(f"FAIL: {deb} holds no control or data archive")
wrong = [(what, mtime) for what, mtime in dates if mtime != epoch]
when = lambda t: datetime.datetime.fromtimestamp(t, datetime.timezone.utc).isoformat()
if wrong:
    for what, mtime in wrong[:5]:
        print(f"FAIL: {what} is dated {mtime} ({when(mtime)}), not {epoch} ({when(epoch)})")
    sys.exit(f"FAIL: {len(wrong)} of {len(dates)} dates in {deb} are not {epoch}")
print(f"all {len(dates)} dates in the package are {epoch} ({when(epoch)})")

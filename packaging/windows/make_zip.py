#!/usr/bin/python3
"""Zips the folder users run, the same bytes from the same files: entries in name order, each
dated SOURCE_DATE_EPOCH when it is set (else the file's own date), with fixed modes and no owner.

    make_zip.py ZIP FOLDER

The archive holds FOLDER's name as its top folder, as Windows users expect when they unpack it.
"""

import os
import sys
import time
import zipfile


def main():
    zip_path, folder = sys.argv[1:]
    folder = os.path.abspath(folder)
    top = os.path.basename(folder)
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    entries = [top]
    for root, dirs, files in os.walk(folder):
        for name in dirs + files:
            entries.append(os.path.join(top, os.path.relpath(os.path.join(root, name), folder)))
    entries.sort()

    temporary = zip_path + ".part"
    with zipfile.ZipFile(temporary, "w") as archive:
        for entry in entries:
            path = os.path.join(os.path.dirname(folder), entry)
            is_dir = os.path.isdir(path)
            # The zip's dates have no zone and start in 1980.
            seconds = int(epoch) if epoch else int(os.stat(path).st_mtime)
            date = time.gmtime(max(seconds, 315532800))[:6]
            info = zipfile.ZipInfo(entry.replace(os.sep, "/") + ("/" if is_dir else ""), date)
            info.create_system = 3
            info.external_attr = ((0o40755 << 16) | 0x10) if is_dir else (0o100644 << 16)
            if is_dir:
                archive.writestr(info, b"")
            else:
                info.compress_type = zipfile.ZIP_DEFLATED
                with open(path, "rb") as source:
                    archive.writestr(info, source.read(), compresslevel=9)
    os.replace(temporary, zip_path)


if __name__ == "__main__":
    main()

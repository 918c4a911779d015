#!/usr/bin/python3
"""The protections and the fixed date in the PE header of each exe users get.

    pe_header.py --timestamp SECONDS EXE...

Each needs ASLR with the full 64-bit range (DYNAMIC_BASE, HIGH_ENTROPY_VA), data pages that cannot
run (NX_COMPAT), and the build's SOURCE_DATE_EPOCH (the date of the changelog's newest entry) as its
TimeDateStamp, never the time it was built, so that two builds of the same sources give the same
bytes.
"""

import argparse
import sys

import pefile

FLAGS = ("DYNAMIC_BASE", "HIGH_ENTROPY_VA", "NX_COMPAT")


def problems(path, timestamp):
    pe = pefile.PE(path, fast_load=True)
    found = []
    for flag in FLAGS:
        if not pe.OPTIONAL_HEADER.DllCharacteristics & pefile.DLL_CHARACTERISTICS[
                "IMAGE_DLLCHARACTERISTICS_" + flag]:
            found.append(f"{flag} is not set")
    stamp = pe.FILE_HEADER.TimeDateStamp
    if stamp != timestamp:
        found.append(f"TimeDateStamp is {stamp} ({stamp:#010x}), not the build's date {timestamp}")
    return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--timestamp", type=int, required=True)
    parser.add_argument("exe", nargs="+")
    args = parser.parse_args()
    failed = False
    for path in args.exe:
        found = problems(path, args.timestamp)
        if found:
            failed = True
            for problem in found:
                print(f"FAIL: {path}: {problem}")
        else:
            print(f"{path}: {', '.join(FLAGS)}; TimeDateStamp {args.timestamp}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

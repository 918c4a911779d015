#!/usr/bin/python3
"""The installer under Wine: a silent install (/S) puts every file of the program's folder into
C:\\Program Files\\Varnek with an uninstaller, a Start-menu entry and an entry among the installed
programs (with the publisher, home page and size that "Apps & features" shows); the Start-menu entry
starts the installed program, and so does its path, and "Çıkış" ends it (with status 0, seen where
Wine reports it); a silent uninstall takes all of it away again. The installer's and the program's
version resources name the publisher and the copyright. Screenshots and logs go to OUT.

    installer_under_wine.py --installer SETUP.exe --folder DEPLOYED_FOLDER --url HOME_PAGE --out OUT
"""

import argparse
import filecmp
import os
import re
import shutil
import subprocess
import sys
import time

# No __pycache__ in the source tree.
sys.dont_write_bytecode = True

from winesession import (QUIT_BUTTON, WAIT, Failure, Screen, check, drive_c, drive_to_end, find_splash,
                         leftover_processes, press_quit, program_environment, run_checks)

INSTALL_DIR = drive_c("Program Files", "Varnek")
SHORTCUT = drive_c("ProgramData", "Microsoft", "Windows", "Start Menu", "Programs", "Varnek.lnk")
SHORTCUT_WINDOWS = r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Varnek.lnk"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnek"
UNINSTALLER_WINDOWS = r"C:\Program Files\Varnek\kaldir.exe"
PROGRAM_WINDOWS = r"C:\Program Files\Varnek\varnek.exe"
PUBLISHER = "Varnek Geliştirme Ekibi"
COPYRIGHT = "© Varnek Geliştirme Ekibi. Tüm hakları saklıdır."


def wine(arguments, log, environment=None):
    return subprocess.run(["wine", *arguments], stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                          env=environment, timeout=120).returncode


def registry_entry(log):
    result = subprocess.run(["wine", "reg", "query", UNINSTALL_KEY], stdin=subprocess.DEVNULL,
                            capture_output=True, timeout=60)
    log.write(result.stdout + result.stderr)
    return result.returncode == 0, result.stdout.decode("utf-8", "replace")


def registry_values(out, log):
    """The uninstall entry's values, through "reg export": its file is UTF-16, so the Turkish letters
    come back whole, which the console output of "reg query" does not promise."""
    export = os.path.join(os.path.abspath(out), "uninstall-entry.reg")
    if os.path.exists(export):
        os.remove(export)
    status = wine(["reg", "export", UNINSTALL_KEY, "Z:" + export.replace("/", "\\"), "/y"], log)
    check(status == 0 and os.path.isfile(export), f"reg export of the uninstall entry failed ({status})")
    with open(export, "rb") as exported:
        text = exported.read().decode("utf-16")
    values = {}
    for name, raw in re.findall(r'^"((?:[^"\\]|\\.)*)"=(.*?)\r?$', text, re.MULTILINE):
        if raw.startswith("dword:"):
            values[name] = int(raw[len("dword:"):], 16)
        elif raw.startswith('"') and raw.endswith('"'):
            values[name] = re.sub(r"\\(.)", r"\1", raw[1:-1])
        else:
            values[name] = raw
    return values


def version_strings(path, keys):
    """Values of a PE file's version resource (StringFileInfo): each String is its UTF-16 key, NUL,
    padding to a 32-bit boundary, then its UTF-16 value ending in NUL."""
    with open(path, "rb") as exe:
        data = exe.read()
    found = {}
    for key in keys:
        at = data.find(key.encode("utf-16-le") + b"\0\0")
        if at < 0:
            continue
        start = at + 2 * (len(key) + 1)
        start += (-start) % 4
        end = start
        while data[end:end + 2] != b"\0\0":
            end += 2
        found[key] = data[start:end].decode("utf-16-le", "replace")
    return found


def relative_files(folder):
    return sorted(os.path.relpath(os.path.join(top, name), folder)
                  for top, _, names in os.walk(folder) for name in names)


def install(installer, folder, url, out, log):
    # An earlier run that stopped half-way may have left an installation behind.
    shutil.rmtree(INSTALL_DIR, ignore_errors=True)
    check(wine([installer, "/S"], log) == 0, "the silent install failed")
    shipped = relative_files(folder)
    installed = relative_files(INSTALL_DIR)
    check(installed == sorted(shipped + ["kaldir.exe"]),
          f"installed {installed}, expected the folder's {shipped} and kaldir.exe")
    _, mismatch, errors = filecmp.cmpfiles(folder, INSTALL_DIR, shipped, shallow=False)
    check(not mismatch and not errors, f"installed files differ from the folder's: {mismatch + errors}")
    check(os.path.isfile(SHORTCUT), "no Start-menu entry")
    found, text = registry_entry(log)
    check(found and "DisplayName" in text and "kaldir.exe" in text, f"no entry among installed programs:\n{text}")
    values = registry_values(out, log)
    # The installer sums the folder's bytes and keeps whole KiB.
    size = sum(os.path.getsize(os.path.join(INSTALL_DIR, name)) for name in installed) // 1024
    print(f"uninstall entry: Publisher={values.get('Publisher')!r} URLInfoAbout={values.get('URLInfoAbout')!r} "
          f"EstimatedSize={values.get('EstimatedSize')!r} (installed files: {size} KiB)", flush=True)
    check(values.get("Publisher") == PUBLISHER, f"Publisher is {values.get('Publisher')!r}, not {PUBLISHER!r}")
    check(values.get("URLInfoAbout") == url, f"URLInfoAbout is {values.get('URLInfoAbout')!r}, not {url!r}")
    check(values.get("EstimatedSize") == size,
          f"EstimatedSize is {values.get('EstimatedSize')!r} KiB, the installed files {size} KiB")


def check_version_resources(installer, folder):
    expected = {"CompanyName": PUBLISHER, "LegalCopyright": COPYRIGHT}
    for path in (installer, os.path.join(folder, "varnek.exe")):
        found = version_strings(path, expected)
        check(found == expected, f"{os.path.basename(path)}: version resource has {found}, expected {expected}")


def wait_until_no_program(timeout=WAIT):
    deadline = time.monotonic() + timeout
    while leftover_processes() and time.monotonic() < deadline:
        time.sleep(0.2)
    check(not leftover_processes(), f"processes left behind: {leftover_processes()}")


def start_from_start_menu(screen, out, log):
    # "start" opens the shortcut as Explorer would. It cannot wait for what a shortcut starts, so
    # the end shows as the program's process going away; the next check sees the exit status.
    launcher = subprocess.Popen(["wine", "start", SHORTCUT_WINDOWS], env=program_environment(screen),
                                stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT)
    try:
        _, _, x, y, width, height, _ = find_splash(screen)
        colours = screen.screenshot(os.path.join(out, "installed-splash.png"), (x, y, width, height))
        check(colours > 100, f"the splash window shows {colours} colours, not its picture")
        running = leftover_processes()
        check(running, "the splash window shows, but no varnek.exe runs")
        with open(f"/proc/{running[0]}/cmdline", "rb") as cmdline:
            started = cmdline.read().split(b"\0")[0].decode("utf-8", "replace")
        check("Program Files" in started, f"the shortcut started {started}, not the installed program")
        screen.click_centre(x, y, QUIT_BUTTON)
        wait_until_no_program()
    finally:
        if launcher.poll() is None:
            launcher.kill()
        launcher.wait()


def start_installed_program(screen, log):
    process = subprocess.Popen(["wine", PROGRAM_WINDOWS, "-platform", "windows:fontengine=freetype"],
                               env=program_environment(screen), stdin=subprocess.DEVNULL, stdout=log,
                               stderr=subprocess.STDOUT)
    drive_to_end(process, lambda: press_quit(screen))
    wait_until_no_program()


def uninstall(log):
    # The uninstaller copies itself away and returns at once; the copy does the work.
    check(wine([UNINSTALLER_WINDOWS, "/S"], log) == 0, "the silent uninstall failed to start")
    deadline = time.monotonic() + WAIT
    while os.path.exists(INSTALL_DIR) and time.monotonic() < deadline:
        time.sleep(0.2)
    check(not os.path.exists(INSTALL_DIR),
          f"still installed after {WAIT:.0f} s: {relative_files(INSTALL_DIR) if os.path.isdir(INSTALL_DIR) else ''}")
    check(not os.path.exists(SHORTCUT), "the Start-menu entry is still there")
    found, text = registry_entry(log)
    check(not found, f"still among installed programs:\n{text}")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--installer", required=True)
    parser.add_argument("--folder", required=True)
    parser.add_argument("--url", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    screen = Screen()
    installed = False

    def install_step():
        nonlocal installed
        install(args.installer, args.folder, args.url, args.out, log)
        installed = True

    def shortcut_step():
        check(installed, "nothing installed to start")
        start_from_start_menu(screen, args.out, log)

    def program_step():
        check(installed, "nothing installed to start")
        start_installed_program(screen, log)

    def uninstall_step():
        check(installed, "nothing installed to uninstall")
        uninstall(log)

    with open(os.path.join(args.out, "installer.log"), "wb") as log:
        try:
            return run_checks([
                ("version resources of the installer and varnek.exe: publisher, copyright",
                 lambda: check_version_resources(args.installer, args.folder)),
                ("silent install: files, Start-menu entry, installed-programs entry with publisher, home page, size",
                 install_step),
                ("the Start-menu entry starts the installed program; Çıkış ends it", shortcut_step),
                ("the installed program ends through Çıkış with status 0", program_step),
                ("silent uninstall removes the files, the entry and the registry key", uninstall_step),
            ])
        finally:
            screen.close()
            if os.path.isdir(INSTALL_DIR):
                try:
                    uninstall(log)
                except Failure:
                    shutil.rmtree(INSTALL_DIR, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())

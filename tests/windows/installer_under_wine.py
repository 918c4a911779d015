#!/usr/bin/python3
"""The installer under Wine, run by an ordinary user: a silent install (/S) puts every file of the
program's folder into C:\\Program Files\\Varnek with an uninstaller, a Start-menu entry and an entry
among the installed programs (with the publisher, home page and size that "Apps & features" shows),
and makes the four rate files at C:\\ that are missing, empty, keeping a saved one byte for byte; the
Start-menu entry starts the installed program and "Çıkış" ends it. Then C:\\ refuses the user new
files, as Windows does; in the installed program, started by its path, Kaydet in Elle Ayarla still
saves the dollar rate, in place, and Dosya -> Kapat, Evet end it (with status 0, seen where Wine
reports it). There, the rate store run by the test's probe beside the program completes a save
killed after its cut, drops the note of one whose file was emptied since, and puts the old record
back where a write fails. A silent uninstall takes all of it away again but the rate files. The installer's and
the program's version resources name the publisher and the copyright. Screenshots and logs go to
OUT.

Wine runs as the Unix user that starts it, and root's writes are never refused: run as root, every
Wine command runs as user 65534 (through setpriv) in a Wine prefix and a home that user owns, kept
beside the tests' own prefix for the next run.

    installer_under_wine.py --installer SETUP.exe --folder DEPLOYED_FOLDER --url HOME_PAGE --probe RATE_PROBE
                            --out OUT
"""

import argparse
import filecmp
import os
import pwd
import re
import shutil
import stat
import subprocess
import sys
import tempfile
import time

# No __pycache__ in the source tree.
sys.dont_write_bytecode = True

import winesession
from winesession import (QUIT_BUTTON, WAIT, Failure, Screen, check, client_origin, drive_c, drive_to_end,
                         end_through_kapat, find_splash, follow_x_focus, leftover_processes, open_menu,
                         program_environment, run_checks, start_main_window, wine_command, wine_prefix)

ORDINARY_USER = 65534
SHORTCUT_WINDOWS = r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Varnek.lnk"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnek"
UNINSTALLER_WINDOWS = r"C:\Program Files\Varnek\kaldir.exe"
PROGRAM_WINDOWS = r"C:\Program Files\Varnek\varnek.exe"
PROBE_WINDOWS = r"C:\Program Files\Varnek\rate_probe.exe"
DOLLAR_WINDOWS = r"C:\dolarsatilis.txt"
PUBLISHER = "Varnek Geliştirme Ekibi"
COPYRIGHT = "© Varnek Geliştirme Ekibi. Tüm hakları saklıdır."
RATE_FILES = ("dolarsatilis.txt", "marksatilis.txt", "sterlinsatilis.txt", "franksatilis.txt")
SAVED_MARK = b'"1.250,5"\r\n'
DOLLAR_TYPED = ("1", "2", "comma", "5")
DOLLAR_SAVED = bytes.fromhex("22 31 32 2C 35 22 0D 0A")
ACCESS_ERROR = "Dosya erişim hatası"
# (what, the probe's saves, "empty" to empty the file from outside, the file after them, the next
# read, and the file after it)
SAVES_IN_PLACE = (
    ("killed after its cut: the next read completes it",
     [["--in-place", "cut", "save", DOLLAR_WINDOWS, "555"]], b"", "text:555", b'"555"\r\n'),
    ("killed after its cut, the file emptied since: its note is dropped",
     [["--in-place", "cut", "save", DOLLAR_WINDOWS, "555"], "empty"], b"", "none", b""),
    ("its write fails after the cut: the old record comes back",
     [["--in-place", "none", "--fail", "written", "save", DOLLAR_WINDOWS, "555"]], DOLLAR_SAVED, "text:12,5",
     DOLLAR_SAVED),
)
# Elle Ayarla, in logical pixels (twips / 15).
FORM2_TITLE = "Elle Ayarla"
FORM2_CLIENT = (306, 261)
DOLLAR_BOX = (104, 24, 129, 19)
DOLLAR_KAYDET = (104, 48, 49, 17)
TAMAM = (8, 232, 73, 25)


def install_dir():
    return drive_c("Program Files", "Varnek")


def shortcut():
    return drive_c("ProgramData", "Microsoft", "Windows", "Start Menu", "Programs", "Varnek.lnk")


def reachable_by_anyone(path):
    """Whether every folder above path lets any user through."""
    path = os.path.dirname(os.path.abspath(path))
    while True:
        if not os.stat(path).st_mode & stat.S_IXOTH:
            return False
        if path == os.path.dirname(path):
            return True
        path = os.path.dirname(path)


def as_ordinary_user(log):
    """Points Wine at the prefix of an ordinary user, making it on the first run: as root, user
    65534's, through setpriv; otherwise the caller's own. Returns its HOME, which that user can write."""
    base = wine_prefix() + "-user"
    if os.geteuid() == 0 and not reachable_by_anyone(base):
        base = os.path.join(tempfile.gettempdir(), f"varnek-wine-user-{os.getuid()}")
    prefix, home = os.path.join(base, "prefix"), os.path.join(base, "home")
    for folder in (base, prefix, home):
        os.makedirs(folder, exist_ok=True)
        if os.geteuid() == 0:
            os.chown(folder, ORDINARY_USER, ORDINARY_USER)
    if os.geteuid() == 0:
        winesession.as_user[:] = ["setpriv", f"--reuid={ORDINARY_USER}", f"--regid={ORDINARY_USER}", "--clear-groups",
                                  "--"]
    # Nothing of root's: Wine takes the user's home and folders from here.
    for name in [name for name in os.environ if name.startswith("XDG_")]:
        del os.environ[name]
    user = pwd.getpwuid(ORDINARY_USER if os.geteuid() == 0 else os.geteuid()).pw_name
    os.environ.update(WINEPREFIX=prefix, HOME=home, USER=user, LOGNAME=user)
    # An earlier run that stopped half-way may have left C:\ closed.
    if os.path.isdir(drive_c()):
        os.chmod(drive_c(), 0o755)
    started = time.monotonic()
    made = not os.path.isfile(os.path.join(prefix, "system.reg"))
    if made:
        status = subprocess.run([*winesession.as_user, "wineboot", "-i"], stdin=subprocess.DEVNULL, stdout=log,
                                stderr=subprocess.STDOUT, timeout=120).returncode
        check(status == 0, f"wineboot -i failed ({status})")
    # One server for the whole run, as for the other tests; the one that made the prefix must be gone.
    subprocess.run([*winesession.as_user, "wineserver", "-w"], timeout=60)
    subprocess.run([*winesession.as_user, "wineserver", "-p60"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=60)
    follow_x_focus()
    owner = os.stat(prefix).st_uid
    who = subprocess.run([*winesession.as_user, "id"], capture_output=True, text=True, timeout=60).stdout.strip()
    print(f"Wine runs as {who}; its prefix {prefix} belongs to {owner}, "
          f"{'made in' if made else 'kept from an earlier run, ready in'} {time.monotonic() - started:.1f} s",
          flush=True)
    check(owner == os.geteuid() or (os.geteuid() == 0 and owner == ORDINARY_USER), f"{prefix} belongs to {owner}")
    return home


def end_ordinary_user():
    subprocess.run([*winesession.as_user, "wineserver", "-k"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=60)


def wine(arguments, log, environment=None):
    return subprocess.run(wine_command(*arguments), stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                          env=environment, timeout=120).returncode


def registry_entry(log):
    result = subprocess.run(wine_command("reg", "query", UNINSTALL_KEY), stdin=subprocess.DEVNULL,
                            capture_output=True, timeout=60)
    log.write(result.stdout + result.stderr)
    return result.returncode == 0, result.stdout.decode("utf-8", "replace")


def registry_values(home, out, log):
    """The uninstall entry's values, through "reg export": its file is UTF-16, so the Turkish letters
    come back whole, which the console output of "reg query" does not promise. Written where the
    user may write, kept in OUT."""
    export = os.path.join(home, "uninstall-entry.reg")
    if os.path.exists(export):
        os.remove(export)
    status = wine(["reg", "export", UNINSTALL_KEY, "Z:" + export.replace("/", "\\"), "/y"], log)
    check(status == 0 and os.path.isfile(export), f"reg export of the uninstall entry failed ({status})")
    shutil.copyfile(export, os.path.join(out, "uninstall-entry.reg"))
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


def rate_files():
    """The bytes of each rate file at C:\\, None where there is none."""
    found = {}
    for name in RATE_FILES:
        try:
            with open(drive_c(name), "rb") as rates:
                found[name] = rates.read()
        except FileNotFoundError:
            found[name] = None
    return found


def install(installer, folder, url, home, out, log):
    # An earlier run that stopped half-way may have left an installation and rate files behind.
    shutil.rmtree(install_dir(), ignore_errors=True)
    for name in RATE_FILES:
        if os.path.exists(drive_c(name)):
            os.remove(drive_c(name))
    # A rate the user saved before this installation, to be kept.
    with open(drive_c("marksatilis.txt"), "wb") as mark:
        mark.write(SAVED_MARK)
    owner = os.stat(drive_c())
    os.chown(drive_c("marksatilis.txt"), owner.st_uid, owner.st_gid)
    # Where the user may read it, whatever the folders above the build let through.
    copy = os.path.join(home, os.path.basename(installer))
    shutil.copyfile(installer, copy)
    check(wine([copy, "/S"], log) == 0, "the silent install failed")
    os.remove(copy)
    shipped = relative_files(folder)
    installed = relative_files(install_dir())
    check(installed == sorted(shipped + ["kaldir.exe"]),
          f"installed {installed}, expected the folder's {shipped} and kaldir.exe")
    _, mismatch, errors = filecmp.cmpfiles(folder, install_dir(), shipped, shallow=False)
    check(not mismatch and not errors, f"installed files differ from the folder's: {mismatch + errors}")
    check(os.path.isfile(shortcut()), "no Start-menu entry")
    expected = dict.fromkeys(RATE_FILES, b"") | {"marksatilis.txt": SAVED_MARK}
    check(rate_files() == expected, f"rate files at C:\\ after the install: {rate_files()}, expected {expected}")
    found, text = registry_entry(log)
    check(found and "DisplayName" in text and "kaldir.exe" in text, f"no entry among installed programs:\n{text}")
    values = registry_values(home, out, log)
    # The installer sums the folder's bytes and keeps whole KiB.
    size = sum(os.path.getsize(os.path.join(install_dir(), name)) for name in installed) // 1024
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
    launcher = subprocess.Popen(wine_command("start", SHORTCUT_WINDOWS), env=program_environment(screen),
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


def start_installed_program(screen, log, steps):
    """The installed program started by its path, driven by steps() to its end, with status 0."""
    process = subprocess.Popen(wine_command(PROGRAM_WINDOWS, "-platform", "windows:fontengine=freetype"),
                               env=program_environment(screen), stdin=subprocess.DEVNULL, stdout=log,
                               stderr=subprocess.STDOUT)
    drive_to_end(process, steps)
    wait_until_no_program()


def refuse_new_files(log):
    """Takes the write bit off drive_c, then shows that C:\\ refuses the user a new file, through
    Wine as the program would meet it."""
    os.chmod(drive_c(), 0o555)
    probe = drive_c("yeni.txt")
    result = subprocess.run(wine_command("cmd", "/c", r"echo x> C:\yeni.txt"), stdin=subprocess.DEVNULL,
                            capture_output=True, timeout=120)
    log.write(result.stdout + result.stderr)
    said = (result.stdout + result.stderr).decode("utf-8", "replace").strip()
    info = os.stat(drive_c())
    print(f"drive_c mode {stat.filemode(info.st_mode)}, owner {info.st_uid}; "
          f"'echo x> C:\\yeni.txt' under Wine said {said!r} (status "
          f"{result.returncode}), C:\\yeni.txt {'exists' if os.path.exists(probe) else 'was not made'}", flush=True)
    if os.path.exists(probe):
        os.remove(probe)
        raise Failure("C:\\ took a new file: the save below would prove nothing")


def save_dollar_as_ordinary_user(screen, out, log):
    """With C:\\ refusing new files, the installed program: Elle Ayarla, 12,5 in the dollar box,
    Kaydet. The file gets the bytes and keeps its inode (written in place, not replaced), no message
    shows, nothing new appears at C:\\; then Dosya -> Kapat, Evet end the program with status 0."""
    refuse_new_files(log)
    dollar = drive_c("dolarsatilis.txt")
    check(os.path.isfile(dollar), "no C:\\dolarsatilis.txt to write")
    before = sorted(os.listdir(drive_c()))
    inode = os.stat(dollar).st_ino

    def steps():
        main = start_main_window(screen)
        open_menu(screen, main, "g", "Günün Kurları menu")
        screen.key("e")
        form = screen.wait_for(lambda w: w[1] == FORM2_TITLE, "Elle Ayarla")
        left, top = client_origin(form, FORM2_CLIENT)
        screen.focus(form[0])
        screen.click_centre(left, top, DOLLAR_BOX)
        for key in DOLLAR_TYPED:
            screen.key(key)
        shown = {entry[0].id for entry in screen.windows()}

        def new_windows():
            return [entry[1:6] for entry in screen.windows() if entry[0].id not in shown and not entry[6]]

        screen.click_centre(left, top, DOLLAR_KAYDET)
        deadline = time.monotonic() + WAIT
        while time.monotonic() < deadline and not new_windows():
            with open(dollar, "rb") as saved:
                if saved.read() == DOLLAR_SAVED:
                    break
            time.sleep(0.1)
        # A message would show by now.
        time.sleep(1.0)
        new = new_windows()
        if new:
            screen.screenshot(os.path.join(out, "kaydet-message.png"))
        check(not new, f"Kaydet showed {new} (a {ACCESS_ERROR!r} message?); see kaydet-message.png")
        # Tamam first: Elle Ayarla lies over the main window, where the keys for its menu go.
        screen.click_centre(left, top, TAMAM)
        screen.wait_until_gone(lambda w: w[1] == FORM2_TITLE, "Elle Ayarla")
        end_through_kapat(screen, main)

    start_installed_program(screen, log, steps)
    with open(dollar, "rb") as saved:
        bytes_saved = saved.read()
    print(f"C:\\dolarsatilis.txt: {bytes_saved.hex(' ').upper()}, inode {inode} -> {os.stat(dollar).st_ino}",
          flush=True)
    check(bytes_saved == DOLLAR_SAVED, f"C:\\dolarsatilis.txt holds {bytes_saved!r}, not {DOLLAR_SAVED!r}")
    check(os.stat(dollar).st_ino == inode, "C:\\dolarsatilis.txt was replaced, not written in place")
    after = sorted(os.listdir(drive_c()))
    check(after == before, f"C:\\ held {before} and now {after}")


def saves_in_place_as_ordinary_user(probe, log):
    """With C:\\ refusing new files, the rate store run by the test's probe, beside the installed
    program for its DLLs: each row of SAVES_IN_PLACE over the dollar file saved before, which keeps
    its inode, and nothing new at C:\\."""
    refuse_new_files(log)
    copy = os.path.join(install_dir(), "rate_probe.exe")
    shutil.copy(probe, copy)
    if os.geteuid() == 0:
        os.chown(copy, ORDINARY_USER, ORDINARY_USER)
    dollar = drive_c("dolarsatilis.txt")
    before = sorted(os.listdir(drive_c()))
    inode = os.stat(dollar).st_ino

    def run(arguments):
        result = subprocess.run(wine_command(PROBE_WINDOWS, *arguments), stdin=subprocess.DEVNULL,
                                capture_output=True, timeout=120)
        log.write(result.stdout + result.stderr)
        return result.returncode, result.stdout.decode("utf-8", "replace").replace("\r", "").split("\n")[0]

    try:
        for what, steps, left, read, after in SAVES_IN_PLACE:
            with open(dollar, "r+b") as file:
                file.truncate()
                file.write(DOLLAR_SAVED)
            for step in steps:
                if step == "empty":
                    time.sleep(0.05)
                    os.truncate(dollar, 0)
                    continue
                status, outcome = run(step)
                check(status == 9 if "cut" in step else outcome == "FileAccess", f"{what}: {status}, {outcome!r}")
            with open(dollar, "rb") as file:
                before_read = file.read()
            outcome = run(["read", DOLLAR_WINDOWS])[1]
            with open(dollar, "rb") as file:
                now = file.read()
            print(f"{what}: {before_read!r} -> read {outcome!r}, file {now!r}", flush=True)
            check(before_read == left and outcome == read and now == after,
                  f"{what}: file {before_read!r}, read {outcome!r}, file {now!r}")
    finally:
        os.remove(copy)
    check(os.stat(dollar).st_ino == inode, "C:\\dolarsatilis.txt was replaced, not written in place")
    check(sorted(os.listdir(drive_c())) == before, f"C:\\ held {before} and now {sorted(os.listdir(drive_c()))}")


def uninstall(log):
    # Elevated on Windows, the uninstaller could delete at C:\: let it here too.
    os.chmod(drive_c(), 0o755)
    # The uninstaller copies itself away and returns at once; the copy does the work.
    check(wine([UNINSTALLER_WINDOWS, "/S"], log) == 0, "the silent uninstall failed to start")
    deadline = time.monotonic() + WAIT
    while os.path.exists(install_dir()) and time.monotonic() < deadline:
        time.sleep(0.2)
    check(not os.path.exists(install_dir()),
          f"still installed after {WAIT:.0f} s: {relative_files(install_dir()) if os.path.isdir(install_dir()) else ''}")
    check(not os.path.exists(shortcut()), "the Start-menu entry is still there")
    found, text = registry_entry(log)
    check(not found, f"still among installed programs:\n{text}")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--installer", required=True)
    parser.add_argument("--folder", required=True)
    parser.add_argument("--url", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    installed = False

    def install_step():
        nonlocal installed
        install(args.installer, args.folder, args.url, home, args.out, log)
        installed = True

    def shortcut_step():
        check(installed, "nothing installed to start")
        start_from_start_menu(screen, args.out, log)

    def save_step():
        check(installed, "nothing installed to start")
        save_dollar_as_ordinary_user(screen, args.out, log)

    def saves_in_place_step():
        check(installed, "nothing installed to run the probe beside")
        saves_in_place_as_ordinary_user(args.probe, log)

    def uninstall_step():
        check(installed, "nothing installed to uninstall")
        before = rate_files()
        uninstall(log)
        check(None not in before.values() and rate_files() == before,
              f"rate files at C:\\ before the uninstall: {before}, after: {rate_files()}")

    with open(os.path.join(args.out, "installer.log"), "wb") as log:
        home = as_ordinary_user(log)
        screen = Screen()
        screen.out = args.out
        try:
            return run_checks([
                ("version resources of the installer and varnek.exe: publisher, copyright",
                 lambda: check_version_resources(args.installer, args.folder)),
                ("silent install: files, Start-menu entry, installed-programs entry with publisher, home page, size; "
                 "empty rate files at C:\\, the saved one kept", install_step),
                ("the Start-menu entry starts the installed program; Çıkış ends it", shortcut_step),
                ("C:\\ refuses the user a new file; in the installed program, started by its path, Kaydet saves "
                 "the dollar rate in place, no message, nothing new at C:\\; Kapat, Evet end it with status 0",
                 save_step),
                ("saves in place as that user: one killed after its cut completed, its note dropped once the file "
                 "is emptied, a failed write putting the old record back", saves_in_place_step),
                ("silent uninstall removes the files, the entry and the registry key, and leaves the rate files",
                 uninstall_step),
            ])
        finally:
            if os.path.isdir(drive_c()):
                os.chmod(drive_c(), 0o755)
            if os.path.isdir(install_dir()):
                try:
                    uninstall(log)
                except Failure:
                    shutil.rmtree(install_dir(), ignore_errors=True)
            end_ordinary_user()
            screen.close()

if __name__ == "__main__":
    sys.exit(main())

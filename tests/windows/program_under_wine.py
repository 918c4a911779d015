#!/usr/bin/python3
"""The real varnek.exe under Wine, from its zip unpacked into a fresh folder, on an X server of its
own: the splash window shows its picture (screenshots go to OUT), "Çalıştır" opens the main window,
Dosya -> Kapat (Alt+D, K) asks "Dikkat!", and "Evet" ends the program with status 0; a second run ends through
the splash window's "Çıkış". Neither leaves a process behind.

    program_under_wine.py --zip ZIP --out OUT
"""

import argparse
import os
import shutil
import sys
import zipfile

# No __pycache__ in the source tree.
sys.dont_write_bytecode = True

from winesession import (Screen, check, drive_to_end, end_through_kapat, find_splash, follow_x_focus,
                         leftover_processes, press_quit, run_checks, start_main_window, start_program)


def unpack(zip_path, out):
    folder = os.path.join(out, "unpacked")
    shutil.rmtree(folder, ignore_errors=True)
    with zipfile.ZipFile(zip_path) as archive:
        archive.extractall(folder)
    program = os.path.join(folder, "Varnek", "varnek.exe")
    check(os.path.isfile(program), f"{zip_path} holds no Varnek/varnek.exe")
    # Qt's Turkish texts: the program reads them from beside itself.
    check(os.path.isfile(os.path.join(folder, "Varnek", "translations", "qtbase_tr.qm")),
          f"{zip_path} holds no Varnek/translations/qtbase_tr.qm")
    return program


def end_through_kapat_and_evet(screen, program, out):
    def steps():
        _, _, x, y, width, height, _ = find_splash(screen)
        colours = screen.screenshot(os.path.join(out, "splash.png"), (x, y, width, height))
        check(colours > 100, f"the splash window shows {colours} colours, not its picture")
        main = start_main_window(screen)
        screen.wait_until_gone(lambda w: (w[2], w[3]) == (x, y) and w[1] != main[1], "splash window")
        screen.screenshot(os.path.join(out, "main.png"))
        end_through_kapat(screen, main, os.path.join(out, "dikkat.png"))

    with open(os.path.join(out, "kapat-evet.log"), "wb") as log:
        drive_to_end(start_program(screen, program, log), steps)
    check(not leftover_processes(), f"processes left behind: {leftover_processes()}")


def end_through_cikis(screen, program, out):
    with open(os.path.join(out, "cikis.log"), "wb") as log:
        process = start_program(screen, program, log)
        drive_to_end(process, lambda: press_quit(screen))
    check(not leftover_processes(), f"processes left behind: {leftover_processes()}")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--zip", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    program = unpack(args.zip, args.out)
    follow_x_focus()
    screen = Screen()
    screen.out = args.out
    try:
        return run_checks([
            ("Çalıştır, Dosya -> Kapat, Evet ends the program with status 0",
             lambda: end_through_kapat_and_evet(screen, program, args.out)),
            ("Çıkış on the splash window ends the program with status 0",
             lambda: end_through_cikis(screen, program, args.out)),
        ])
    finally:
        screen.close()


if __name__ == "__main__":
    sys.exit(main())

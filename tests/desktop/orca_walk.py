#!/usr/bin/python3
"""Walks the running program by keyboard with Orca listening, and judges what Orca says: the
"SPEECH OUTPUT" lines of its debug log, step by step.

    orca_walk.py PROGRAM        (needs DISPLAY, a window manager and a session bus; see orca.sh)

Each step's words are printed, heard or not, so a failing run shows what was said instead.
"""
import os
import re
import shutil
import subprocess
import sys
import time

STEP_TIMEOUT = 6.0
QUIET = 0.3  # Orca is done with a key once it has said nothing new this long

# Orca itself, started from here rather than by its launcher, which refuses to run beside another
# user's Orca on the same machine (and would have to kill it to take over).
ORCA = """
import sys
from orca import debug
debug.debugLevel = debug.LEVEL_INFO  # where SPEECH OUTPUT is written; more slows Orca down
debug.eventDebugLevel = debug.LEVEL_OFF
debug.debugFile = open(sys.argv[1], 'w', buffering=1)  # read as it is written
from orca import orca
manager = orca.getSettingsManager()
manager.activate(sys.argv[2], {})
sys.path.insert(0, manager.getPrefsDir())
sys.exit(orca.main())
"""

SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*)'(?: voice=\S+)?\s*(?:\{|$)")

# (what is done, keys (text after "type:" is typed), words that must be heard, words that must not)
WALK = [
    ("start", None, ["Varnek", "Çalıştır düğme"], []),
    ("Çalıştır", "space", ["[ TL->Döviz ]"], []),
    ("restore [ TL->Döviz ]", "Return", ["Doların Satılış Fiyatı"], []),
    ("dollar rate", "type:38,5 Tab", ["Para Miktarı: (TL), Dolar"], []),
    ("dollar amount, Enter", "type:1000 Return", ["Sonuç, Dolar: 25,974025974026"], []),
    ("dollar result box", "Tab", ["25,974025974026"], []),
    ("mark rate", "Tab type:2 Tab", ["Para Miktarı: (TL), Mark"], []),
    ("mark amount, Enter", "type:100 Return", ["Sonuç, Mark: 50"], []),
    ("to the sterling amount", "Tab Tab Tab", ["Para Miktarı: (TL), Sterlin"], []),
    ("to the franc amount", "Tab Tab Tab", ["Para Miktarı: (TL), Frank"], []),
    ("Tab wraps", "Tab Tab", ["Doların Satılış Fiyatı", "38,5"], ["[ TL->Döviz ]"]),
    ("dollar rate, where am I", "KP_Enter", ["Doların Satılış Fiyatı", "38,5"], ["[ TL->Döviz ]"]),
    ("dollar amount again", "Tab", ["Para Miktarı: (TL), Dolar", "1000 seçilmiş"], []),
    ("calculator", "alt+e h", ["Hesap Makinesi", "1.Sayı"], []),
    ("long product", "type:999999999 Tab type:999999999 alt+p", ["Sonuç: 9,99999998E+17"], []),
    ("calculator result box", "Tab", ["9,99999998E+17"], []),
    ("calculator result box, where am I", "KP_Enter", ["9,99999998E+17"], ["9,99999998E+1 "]),
    ("division by zero", "shift+Tab type:0 alt+b", ["Sıfır"], []),
    ("message closed", "Return", ["Hesap Makinesi iletişim kutusu"], []),
    ("calculator closed", "alt+F4", ["Varnek Otomasyon v1.6 çerçeve"], []),
    ("Elle Ayarla", "alt+g e", ["Elle Ayarla", "Dolar Satılış Fiyatı"], []),
    ("Kaydet", "type:38,5 Tab Tab Tab Tab space", ["Dolar kaydedildi"], []),
    ("Sil", "Tab Tab space", ["Dolar silindi"], []),
    ("Oku", "shift+Tab space", ["Dolar okundu: 38,5"], []),
    ("Tabloya Yapıştır", "Tab Tab space", ["Kurlar iki çevirme penceresine yapıştırıldı"], []),
    ("Elle Ayarla closed", "alt+F4", ["Varnek Otomasyon v1.6 çerçeve"], []),
    ("Otomatik Ayarla prompt", "alt+g o", ["DOLAR iletişim kutusu", "Doların Satılış Fiyatı?"], []),
    ("prompt cancelled", "Escape", ["MARK iletişim kutusu", "Markın Satılış Fiyatı?"], []),
    ("prompt cancelled", "Escape", ["STERLIN iletişim kutusu"], []),
    ("prompt cancelled", "Escape", ["FRANK iletişim kutusu"], []),
    ("every prompt cancelled", "Escape", ["Varnek Otomasyon v1.6 çerçeve"], []),
    ("Dosya menu", "alt+d", ["Yardım Al soluk"], []),
    ("menu closed", "Escape Escape", ["Para Miktarı: (TL), Dolar"], []),
    ("About", "alt+y h", ["Hakkında iletişim kutusu", "Varnek Serisinin", "TAMAM düğme"], []),
    ("About closed", "Escape", ["Para Miktarı: (TL), Dolar"], []),
    ("Dikkat!", "alt+d k", ["Dikkat!"], []),
]

failures = []


def spoken(log):
    try:
        with open(log, encoding="utf-8", errors="replace") as f:
            return [m.group(1) for m in map(SPOKEN.search, f) if m]
    except FileNotFoundError:
        return []


def settle(log, before, wanted):
    """Orca's words since the first `before`, once it has been quiet a while after saying every wanted
    word (or, with nothing wanted, after the keys), or at STEP_TIMEOUT."""
    deadline = time.monotonic() + STEP_TIMEOUT
    count, still_since = before, time.monotonic()
    while time.monotonic() < deadline:
        words = spoken(log)[before:]
        if before + len(words) != count:
            count, still_since = before + len(words), time.monotonic()
        heard = all(word in " | ".join(words) for word in wanted)
        if heard and time.monotonic() - still_since >= (QUIET if wanted else 2 * QUIET):
            break
        time.sleep(0.1)
    return spoken(log)[before:]


def press(keys):
    # A window that has just closed may hand the keyboard back a second time, a moment later (the
    # window manager, then the program), which would close a menu that opened in between.
    if keys.startswith("alt+"):
        time.sleep(0.5)
    for key in keys.split():
        if key.startswith("type:"):
            subprocess.run(["xdotool", "type", "--delay", "40", key[5:]], check=True)
        elif key.startswith(("alt+", "shift+")):
            # Qt hands each key to the screen reader and back before it acts on it, answers that
            # can come back out of order on a loaded machine: the modifier is held a while.
            modifier, key = key.split("+")
            for args in (["keydown", modifier], ["key", key], ["keyup", modifier]):
                subprocess.run(["xdotool", *args], check=True)
                time.sleep(0.1)
        else:
            subprocess.run(["xdotool", "key", key], check=True)
        # A menu or a window opens a moment after its key.
        time.sleep(0.3 if key.startswith("alt+") or key == "Escape" else 0.1)


def main():
    program = sys.argv[1]
    work = os.environ.get("VARNEK_ORCA_WORK", "/tmp")
    log = os.path.join(work, "orca.log")
    env = dict(os.environ, LANG="tr_TR.UTF-8", LANGUAGE="tr")
    env.pop("LC_ALL", None)
    # Orca tells Qt through the accessibility bus that a screen reader runs; Qt asks at start-up.
    subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                    "org.a11y.Bus.GetAddress"], check=True, stdout=subprocess.DEVNULL)
    # Orca's speech goes to a speech-dispatcher of the walk's own, one it would not start itself.
    speech = subprocess.Popen(["speech-dispatcher", "--run-single", "--timeout", "0", "--config-dir",
                               os.path.join(work, "speech"), "--log-dir", work,
                               "--socket-path", os.path.join(work, "speech-dispatcher", "speechd.sock")],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    socket = os.path.join(work, "speech-dispatcher", "speechd.sock")
    deadline = time.monotonic() + 10
    while not os.path.exists(socket) and speech.poll() is None and time.monotonic() < deadline:
        time.sleep(0.05)
    if not os.path.exists(socket):
        raise SystemExit("FAIL: speech-dispatcher did not start")
    orca = subprocess.Popen([sys.executable, "-c", ORCA, log, os.path.join(work, "orca")], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    program_run = None
    started = time.monotonic()
    try:
        deadline = time.monotonic() + 20
        while not spoken(log) and time.monotonic() < deadline:
            time.sleep(0.1)
        if not spoken(log):
            raise SystemExit("FAIL: Orca said nothing in 20 s")
        heard = len(spoken(log))
        program_run = subprocess.Popen([program], env=dict(env, QT_QPA_PLATFORM="xcb"))
        for what, keys, wanted, unwanted in WALK:
            if keys:
                press(keys)
            words = settle(log, heard, wanted)
            said = " | ".join(words)
            heard += len(words)
            print(f"{what}: {said}")
            failures.extend(f"{what}: heard {word!r}" for word in unwanted if word in said)
            missed = [word for word in wanted if word not in said]
            if missed:
                # Keys sent on would land in whatever window is left: the walk ends here.
                failures.extend(f"{what}: not heard {word!r}" for word in missed)
                break
    finally:
        if program_run:
            program_run.terminate()
            program_run.wait(timeout=10)
        orca.terminate()
        try:
            orca.wait(timeout=5)
        except subprocess.TimeoutExpired:
            orca.kill()
        speech.terminate()
        speech.wait(timeout=5)
        # Orca's whole log, for a look at what it made of each event.
        if os.environ.get("VARNEK_ORCA_LOG"):
            shutil.copy(log, os.environ["VARNEK_ORCA_LOG"])
    print(f"walk took {time.monotonic() - started:.1f} s")
    for failure in failures:
        print("FAIL:", failure)
    if failures:
        raise SystemExit(f"{len(failures)} of the walk's checks failed")
    print("Orca heard everything")


if __name__ == "__main__":
    main()

"""What the checks of the real program under Wine share: an X server of their own, the program's
environment, its windows, clicks and keys through XTest, screenshots, and leftover processes."""

import os
import struct
import subprocess
import time
import zlib

from Xlib import X, XK, display as xdisplay
from Xlib.ext import xtest

WAIT = 30.0
# Logical pixels, from the layout tables (twips / 15).
SPLASH_SIZE = (360, 288)
RUN_BUTTON = (288, 168, 65, 57)
QUIT_BUTTON = (288, 232, 65, 25)
QUESTION_CLIENT = (233, 103)
YES_BUTTON = (80, 64, 65, 25)
MAIN_TITLE = "Varnek Otomasyon v1.6"
QUESTION_TITLE = "Dikkat!"


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


# What runs Wine as another user: empty for the user of the tests, else a command such as setpriv
# that the Wine command follows (installer_under_wine.py sets it).
as_user = []


def wine_command(*arguments):
    return [*as_user, "wine", *arguments]


def wine_prefix():
    """The tests' own Wine prefix, which their caller names: never a user's ~/.wine."""
    prefix = os.environ.get("WINEPREFIX")
    if not prefix:
        raise Failure("WINEPREFIX is not set: the Windows tests run only in a Wine prefix of their own")
    return prefix


def drive_c(*parts):
    return os.path.join(wine_prefix(), "drive_c", *parts)


class Screen:
    """An Xvfb of our own, without a window manager, and one client connection to it."""

    def __init__(self):
        # scripts/xvfb.sh prints the display once the server takes connections, and ends the
        # server when its stdin closes, so it goes with this process however that ends.
        helper = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "xvfb.sh")
        self.server = subprocess.Popen([helper, "--screen", "1024x768x24"],
                                       stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        self.name = self.server.stdout.readline().decode().strip()
        if not self.name:
            raise Failure("Xvfb did not start")
        self.display = xdisplay.Display(self.name)
        check(self.display.has_extension("XTEST"), "Xvfb has no XTEST extension")
        self.root = self.display.screen().root

    def close(self):
        self.display.close()
        self.server.stdin.close()
        self.server.wait()

    def windows(self):
        """(window, title, x, y, width, height, override_redirect) of each top-level window shown."""
        found = []
        for window in self.root.query_tree().children:
            try:
                attributes = window.get_attributes()
                if attributes.map_state != X.IsViewable:
                    continue
                geometry = window.get_geometry()
                title = window.get_wm_name()
            except Exception:  # gone meanwhile
                continue
            if isinstance(title, bytes):
                title = title.decode("utf-8", "replace")
            found.append((window, title or "", geometry.x, geometry.y, geometry.width, geometry.height,
                          bool(attributes.override_redirect)))
        return found

    def wait_for(self, accept, what, timeout=WAIT):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            for entry in self.windows():
                if accept(entry):
                    # Let the window draw itself before anyone looks at it.
                    time.sleep(0.5)
                    return entry
            time.sleep(0.1)
        raise Failure(f"no {what} within {timeout:.0f} s; shown: {[w[1:] for w in self.windows()]}")

    def wait_until_gone(self, accept, what, timeout=WAIT):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if not any(accept(entry) for entry in self.windows()):
                return
            time.sleep(0.1)
        raise Failure(f"{what} still shown after {timeout:.0f} s")

    def click(self, x, y):
        xtest.fake_input(self.display, X.MotionNotify, x=x, y=y)
        self.display.sync()
        time.sleep(0.1)
        xtest.fake_input(self.display, X.ButtonPress, 1)
        self.display.sync()
        time.sleep(0.05)
        xtest.fake_input(self.display, X.ButtonRelease, 1)
        self.display.sync()

    def click_centre(self, left, top, box):
        x, y, width, height = box
        self.click(left + x + width // 2, top + y + height // 2)

    def focus(self, window):
        """Makes a program's window the active one, as a click in its title bar would with a window
        manager. Needs follow_x_focus()."""
        window.set_input_focus(X.RevertToParent, X.CurrentTime)
        self.display.sync()
        time.sleep(0.2)

    def point(self, x, y):
        # Without a window manager the keyboard goes to the window under the pointer.
        xtest.fake_input(self.display, X.MotionNotify, x=x, y=y)
        self.display.sync()
        time.sleep(0.1)

    def key(self, *names):
        """Presses the keys in order and releases them in reverse: key("Alt_L", "d") is Alt+D."""
        codes = [self.display.keysym_to_keycode(XK.string_to_keysym(name)) for name in names]
        for code in codes:
            xtest.fake_input(self.display, X.KeyPress, code)
        self.display.sync()
        time.sleep(0.05)
        for code in reversed(codes):
            xtest.fake_input(self.display, X.KeyRelease, code)
        self.display.sync()

    def screenshot(self, path, area=None):
        """Saves the screen as a PNG; returns how many colours the area (x, y, w, h) holds."""
        geometry = self.root.get_geometry()
        width, height = geometry.width, geometry.height
        data = self.root.get_image(0, 0, width, height, X.ZPixmap, 0xFFFFFFFF).data
        rows = []
        for y in range(height):
            line = data[y * width * 4:(y + 1) * width * 4]
            rgb = bytearray(width * 3)
            rgb[0::3], rgb[1::3], rgb[2::3] = line[2::4], line[1::4], line[0::4]
            rows.append(b"\0" + bytes(rgb))

        def chunk(kind, body):
            return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

        with open(path, "wb") as png:
            png.write(b"\x89PNG\r\n\x1a\n")
            png.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
            png.write(chunk(b"IDAT", zlib.compress(b"".join(rows), 6)))
            png.write(chunk(b"IEND", b""))
        if not area:
            return 0
        left, top, w, h = area
        colours = set()
        for y in range(top, top + h):
            row = rows[y]
            for x in range(left, left + w):
                colours.add(row[1 + 3 * x:4 + 3 * x])
        return len(colours)


def follow_x_focus():
    """Without a window manager nothing tells Wine which window the user turned to, and once the
    active window closes, the next one may never become active: keys and clicks then go nowhere.
    With UseTakeFocus off, Wine activates the window that gets the X input focus (Screen.focus)."""
    subprocess.run(wine_command("reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "UseTakeFocus", "/d", "N",
                                "/f"), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   check=True, timeout=120)


def program_environment(screen, locale="tr_TR.UTF-8"):
    """The caller's environment with a Turkish user, this X server, a quiet Wine, and no Qt
    setting of the tests: the program must find its DLLs and plugins beside itself."""
    environment = {name: value for name, value in os.environ.items()
                   if not name.startswith(("WINEQT_", "QT_", "LC_")) and name not in ("WINEPATH", "LANGUAGE")}
    environment.update(DISPLAY=screen.name, LANG=locale, LC_ALL=locale, WINEDEBUG="-all",
                       WINEDLLOVERRIDES="mscoree=;mshtml=")
    return environment


def start_program(screen, program, log):
    """varnek.exe under Wine with the Windows platform plugin; FreeType draws text Wine shows."""
    return subprocess.Popen(wine_command(program, "-platform", "windows:fontengine=freetype"),
                            env=program_environment(screen), stdin=subprocess.DEVNULL,
                            stdout=log, stderr=subprocess.STDOUT)


def wait_for_end(process, timeout=WAIT):
    try:
        return process.wait(timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
        raise Failure(f"the program did not end within {timeout:.0f} s")


def drive_to_end(process, steps):
    """Runs steps() against the started program and waits for it to end; a program still running
    afterwards, whatever went wrong, is killed. The program must end with status 0."""
    try:
        steps()
        status = wait_for_end(process)
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()
    check(status == 0, f"the program ended with status {status}")


def press_quit(screen):
    """Çıkış on the splash window."""
    _, _, x, y, _, _, _ = find_splash(screen)
    screen.click_centre(x, y, QUIT_BUTTON)


def leftover_processes(name="varnek.exe"):
    """Processes of the program in the tests' own Wine prefix: their command line names it (Wine
    shows it there) and the environment they started with names the prefix. The same program in
    another prefix, a user's own say, is none of the tests' business."""
    prefix = os.path.realpath(os.fsencode(wine_prefix()))
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/cmdline", "rb") as cmdline:
                words = cmdline.read().split(b"\0")
            if not (words and name.encode() in words[0].lower().replace(b"\\", b"/").split(b"/")[-1]):
                continue
            with open(f"/proc/{entry}/environ", "rb") as environ:
                variables = environ.read().split(b"\0")
        except OSError:  # gone meanwhile, or another user's
            continue
        if any(variable.startswith(b"WINEPREFIX=") and os.path.realpath(variable[len(b"WINEPREFIX="):]) == prefix
               for variable in variables):
            found.append(int(entry))
    return found


def find_splash(screen):
    return screen.wait_for(lambda w: (w[4], w[5]) == SPLASH_SIZE and not w[6], "splash window")


def client_origin(window, client_size):
    """Where a window's client area starts on the screen: Wine draws the frame and title bar inside
    the X window when no window manager runs."""
    _, _, x, y, width, height, _ = window
    border = (width - client_size[0]) // 2
    return x + border, y + height - border - client_size[1]


def start_main_window(screen):
    """Çalıştır on the splash window; the main window once it shows."""
    _, _, x, y, _, _, _ = find_splash(screen)
    screen.click_centre(x, y, RUN_BUTTON)
    return screen.wait_for(lambda w: w[1] == MAIN_TITLE, "main window")


def open_menu(screen, main, letter, what):
    """Alt and the menu's own mnemonic, in the main window made active first. Needs follow_x_focus()."""
    screen.focus(main[0])
    screen.point(main[2] + main[4] // 2, main[3] + main[5] // 3)
    screen.key("Alt_L", letter)
    try:
        return screen.wait_for(lambda w: w[6] and w[4] > 50, what, timeout=10)
    except Failure:
        screen.screenshot(os.path.join(screen.out, f"no-{letter}-menu.png"))
        raise


def end_through_kapat(screen, main, shot=None):
    """Dosya -> Kapat (Alt+D, K), then Evet in the Dikkat! question."""
    open_menu(screen, main, "d", "Dosya menu")
    screen.key("k")
    question = screen.wait_for(lambda w: w[1] == QUESTION_TITLE, "Dikkat! question")
    if shot:
        screen.screenshot(shot)
    screen.focus(question[0])
    screen.click_centre(*client_origin(question, QUESTION_CLIENT), YES_BUTTON)


def run_checks(checks):
    """Runs each (name, function); prints a line per check and the closing count; exit status."""
    passed = failed = 0
    for name, function in checks:
        started = time.monotonic()
        try:
            function()
        except Failure as failure:
            failed += 1
            print(f"FAIL {name}: {failure}", flush=True)
        else:
            passed += 1
            print(f"PASS {name} ({time.monotonic() - started:.1f} s)", flush=True)
    print(f"{passed} passed, {failed} failed", flush=True)
    return 0 if failed == 0 else 1

#!/usr/bin/python3
"""Meets the running program through AT-SPI, as a screen reader does: finds its windows by
their titles, checks the names, descriptions and roles of a conversion window's boxes and of
the calculator's operations, and presses buttons through their actions.

    atspi_check.py PROGRAM      (needs DISPLAY and a session bus; see atspi.sh)
"""
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

TIMEOUT = 10.0

# TL-to-currency window, row by row: rate, amount, result; each box is named by its label, and where
# the label repeats on every row (the amount's) by its row's currency too. No description repeats it.
TL_TO_CURRENCY_BOXES = [
    (name, "")
    for currency, rate in [("Dolar", "Doların"), ("Mark", "Markın"), ("Sterlin", "Sterlinin"), ("Frank", "Frankın")]
    for name in (f"{rate} Satılış Fiyatı", f"Para Miktarı: (TL), {currency}", f"Sonuç: ({currency})")
]

OPERATIONS = [("Topla", "Alt+T"), ("Çıkar", "Alt+Ç"), ("Çarp", "Alt+P"), ("Böl", "Alt+B")]
PICTURES = ["Hakkında", "E-posta", "Kapat"]

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message)
    return condition


def poll(find):
    """What find() gives once it gives something, or None after TIMEOUT."""
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        found = find()
        if found is not None:
            return found
        time.sleep(0.05)
    return None


def wait_for(find, what):
    found = poll(find)
    if found is None:
        raise SystemExit(f"FAIL: gave up waiting for {what}")
    return found


def children(item):
    """item's children; none once it has gone (a window closing while the tree is walked)."""
    try:
        return [item.getChildAtIndex(i) for i in range(item.childCount)]
    except GLib.GError:
        return []


def descendants(root):
    for child in children(root):
        if child is not None:
            yield child
            yield from descendants(child)


def find(root, name, role=None):
    for item in descendants(root):
        try:
            if item.name == name and (role is None or item.getRoleName() == role):
                return item
        except GLib.GError:
            continue
    return None


def action_index(item, action):
    actions = item.queryAction()
    for i in range(actions.nActions):
        if actions.getName(i) == action:
            return i
    return None


def press(item):
    index = action_index(item, "Press")
    if index is None:
        raise SystemExit(f"FAIL: {item.getRoleName()} {item.name!r} has no Press action")
    item.queryAction().doAction(index)


def text_of(item):
    return item.queryText().getText(0, -1)


def application(pid):
    for app in children(pyatspi.Registry.getDesktop(0)):
        try:
            if app is not None and app.get_process_id() == pid and app.childCount > 0:
                return app
        except GLib.GError:
            continue
    return None


def check_conversion_window(app):
    window = wait_for(lambda: find(app, "[ TL->Döviz ]", "frame"), "the TL-to-currency window")
    boxes = [item for item in descendants(window) if item.getRoleName() == "text"]
    found = [(box.name, box.description) for box in boxes]
    check(found == TL_TO_CURRENCY_BOXES, f"TL-to-currency boxes: {found}")
    for box in boxes:
        check(box.getState().contains(pyatspi.STATE_EDITABLE), f"box {box.name!r} is not editable")
    first = boxes[0]
    labels = [target.name for relation in first.getRelationSet()
              if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
              for target in (relation.getTarget(i) for i in range(relation.getNTargets()))]
    check("Doların Satılış Fiyatı:" in labels, f"the dollar rate box is labelled by {labels}")


def check_calculator(app):
    menu_item = wait_for(lambda: find(app, "Hesap Makinesi", "menu item"), "the Hesap Makinesi menu item")
    press(menu_item)
    calculator = wait_for(lambda: find(app, "Hesap Makinesi", "dialog"), "the calculator window")

    for name, keys in OPERATIONS:
        item = find(calculator, name)
        if not check(item is not None, f"no {name!r} in the calculator"):
            continue
        check(item.getRoleName() == "push button", f"{name!r} is a {item.getRoleName()}")
        index = action_index(item, "Press")
        if check(index is not None, f"{name!r} has no Press action"):
            check(item.queryAction().getKeyBinding(index) == keys,
                  f"{name!r} is pressed by {item.queryAction().getKeyBinding(index)!r}")
    for name in PICTURES:
        item = find(calculator, name)
        if check(item is not None, f"no picture {name!r} in the calculator"):
            check(item.getRoleName() == "push button", f"picture {name!r} is a {item.getRoleName()}")
            check(action_index(item, "Press") is not None, f"picture {name!r} has no Press action")

    first, second, result = (find(calculator, name, "text") for name in ("1.Sayı", "2.Sayı", "Sonuç"))
    if not check(None not in (first, second, result), "the calculator's three boxes are not all named"):
        return
    first.queryEditableText().setTextContents("7")
    second.queryEditableText().setTextContents("2")
    for operation, expected in [("Topla", "9"), ("Çarp", "14")]:
        press(find(calculator, operation))
        written = poll(lambda: True if text_of(result) == expected else None)
        check(written, f"{operation} of 7 and 2 left {text_of(result)!r} in Sonuç, not {expected!r}")

    press(find(calculator, "Kapat"))
    closed = poll(lambda: True if find(app, "Hesap Makinesi", "dialog") is None else None)
    check(closed, "the Kapat picture did not close the calculator")


def main():
    program = sys.argv[1]
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", LANG="C.UTF-8")
    env.pop("LC_ALL", None)
    process = subprocess.Popen([program], env=env)
    try:
        app = wait_for(lambda: application(process.pid), "the program on the accessibility bus")
        splash = wait_for(lambda: find(app, "Varnek"), "the splash window")
        check(splash.getRoleName() in ("window", "frame"), f"the splash window is a {splash.getRoleName()}")
        run = find(splash, "Çalıştır", "push button")
        check(find(splash, "Çıkış", "push button") is not None, "no Çıkış button on the splash window")
        if run is None:
            raise SystemExit("FAIL: no Çalıştır button on the splash window")
        press(run)
        wait_for(lambda: find(app, "Varnek Otomasyon v1.6", "frame"), "the main window")
        check_conversion_window(app)
        check_calculator(app)
    finally:
        process.terminate()
        process.wait(timeout=TIMEOUT)
    if failures:
        raise SystemExit(f"{len(failures)} accessibility check(s) failed")
    print("accessibility checks passed")


if __name__ == "__main__":
    main()

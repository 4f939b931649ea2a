#!/usr/bin/env python3
"""Reads the program over AT-SPI as a screen reader does.

Usage: read_tray.py PROGRAM TRAY. Runs inside a private session bus and a
virtual display (see run_read_tray.sh). Checks that the tray lists its groups
and texts by name, that a roll by the keyboard renames the focused group and
says so, that the die bar has its seven named dice, and that no accessible
name holds a tab.
"""
import os
import re
import subprocess
import sys
import time
import xml.etree.ElementTree as ET

import pyatspi
from gi.repository import GLib

PROGRAM, TRAY = sys.argv[1], sys.argv[2]
failures = []


def check(ok, what):
    print(("ok    " if ok else "FAIL  ") + what, flush=True)
    if not ok:
        failures.append(what)


def pump(seconds):
    """Lets AT-SPI events arrive for a while."""
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < end:
        while context.iteration(False):
            pass
        time.sleep(0.02)


def wait_for(find, seconds=60):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = find()
        if found:
            return found
        pump(0.2)
    return None


def walk(node, depth=0):
    """Every accessible under `node`, depth first (menus included)."""
    yield node
    if depth > 40:
        return
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def find_app():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == "Clattermat":
            return app
    return None


def key(name):
    subprocess.run(["xdotool", "key", "--clearmodifiers", name], check=True)


heard = []
pyatspi.Registry.registerEventListener(
    lambda event: heard.append((event.type, event.source)),
    "object:property-change:accessible-name")

env = dict(os.environ, ASAN_OPTIONS="detect_leaks=0")
program = subprocess.Popen([PROGRAM, "-nologo", TRAY], env=env)
try:
    app = wait_for(find_app)
    check(app is not None, "the program is on the accessibility bus")
    if app is None:
        sys.exit(1)
    tray_name = os.path.basename(TRAY)
    tray = wait_for(lambda: next((n for n in walk(app) if n.getRole() == pyatspi.ROLE_LIST
                                  and n.name == tray_name), None))
    check(tray is not None, "the tray is a list named " + tray_name)

    # The tray's groups and texts, named as the file has them.
    root = ET.parse(TRAY).getroot()
    titles = sorted(g.get("title", "") for g in root.iter("dicegroup"))
    texts = sorted(t.get("value", "") for t in root.iter("text"))
    items = [tray.getChildAtIndex(i) for i in range(tray.childCount)]
    check(all(i.getRole() == pyatspi.ROLE_LIST_ITEM for i in items), "entities are list items")
    group_names = [i.name for i in items if re.search(r", total -?\d+$", i.name)]
    text_names = sorted(i.name for i in items if i.name not in group_names)
    check(len(items) == len(titles) + len(texts), "%d entities listed" % len(items))
    check(text_names == texts, "texts are named by their text")
    check(all(any(n.startswith(t + ", ") for n in group_names) for t in titles if t),
          "groups are named 'TITLE, DESCRIPTION, total N'")
    print("  first items: " + " | ".join(i.name for i in items[:4]))

    # Tab walks the entities in reading order up to the first group; Space
    # rolls it, and its new name is announced.
    window = subprocess.run(["xdotool", "search", "--sync", "--name", "Clattermat"],
                            capture_output=True, text=True, check=True).stdout.split()[0]
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
    pump(1)

    def focused_item():
        for k in range(tray.childCount):
            item = tray.getChildAtIndex(k)
            if item.getState().contains(pyatspi.STATE_FOCUSED):
                return item
        return None

    focused = None
    for _ in range(tray.childCount):
        key("Tab")
        focused = wait_for(focused_item, 10)
        if focused is None or focused.name in group_names:
            break
    check(focused is not None and focused.name in group_names, "Tab focuses the entities")
    renamed = False
    if focused is not None and focused.name in group_names:
        before = focused.name
        print("  focused: " + before)
        for _ in range(5):  # a roll may show the same total again
            heard.clear()
            key("space")
            pump(1.5)
            if focused.name != before:
                renamed = any(source == focused for _, source in heard)
                print("  after a roll: " + focused.name)
                break
    check(renamed, "a roll renames the focused group and sends the change")

    # The die bar's seven dice.
    nodes = list(walk(app))
    dice = [n for n in nodes if re.fullmatch(r"\d+-sided die", n.name or "")]
    check(sorted(int(n.name.split("-")[0]) for n in dice) == [4, 6, 8, 10, 12, 20, 100],
          "the die bar lists seven named dice")
    check(dice and all(n.getRole() == pyatspi.ROLE_PUSH_BUTTON
                       and n.description == "Add to the tray" for n in dice),
          "its dice are buttons that add to the tray")
    menu_new = [n for n in nodes if n.getRole() == pyatspi.ROLE_MENU_ITEM and n.name == "New"]
    bindings = [n.queryAction().getKeyBinding(0) for n in menu_new[:1]]
    check(bool(menu_new) and "Ctrl+N" in bindings[0],
          "menu items are named by their command, keys apart " + repr(bindings))
    tabbed = [n.name for n in nodes if "\t" in (n.name or "")]
    check(not tabbed, "no accessible name holds a tab " + repr(tabbed[:3]))
    check(program.poll() is None, "the program kept running")
finally:
    program.terminate()
    try:
        program.wait(10)
    except subprocess.TimeoutExpired:
        program.kill()

sys.exit(1 if failures else 0)

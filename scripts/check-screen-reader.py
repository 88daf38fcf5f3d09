#!/usr/bin/python3
"""What a screen reader hears from the window, read through AT-SPI as Orca
reads it. Run by scripts/check-screen-reader.sh, inside a D-Bus session with
a virtual display; drives the window with xdotool and listens to AT-SPI:

  grid      Down in the Antennas grid: focus events come from that grid
            alone (not from the List price table whose row moved with it);
  list      Down in a closed option list: a value-change event from that
            list, and its text (AT-SPI Text) is the option shown;
  headings  the page-two headings' names carry the model number.

Prints "screen-reader: ok: ..." or "screen-reader: FAILED: ..." per check,
then "screen-reader: N passed, M failed", and exits 1 when any failed.

    scripts/check-screen-reader.py <kav_pnb>
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

program = sys.argv[1]
events = []
passed = 0


def listen(event):
    try:
        source = event.source
        parent = source.parent
        events.append((event.type, source.getRoleName(), source.name or "", event.detail1,
                       (parent.name or "") if parent is not None else ""))
    except Exception:  # an object gone by the time it is read
        pass


def key(name):
    subprocess.run(["xdotool", "key", "--delay", "100", name], check=False)


def find(node, test, depth=0):
    if node is None or depth > 40:
        return None
    try:
        if test(node):
            return node
        for i in range(node.childCount):
            found = find(node.getChildAtIndex(i), test, depth + 1)
            if found is not None:
                return found
    except Exception:
        return None
    return None


def every(node, test, depth=0):
    """Every object under `node` that passes `test`."""
    found = []
    if node is None or depth > 40:
        return found
    try:
        if test(node):
            found.append(node)
        for i in range(node.childCount):
            found += every(node.getChildAtIndex(i), test, depth + 1)
    except Exception:  # an object gone while it was read
        pass
    return found


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and find(app, lambda n: n.getRoleName() == "frame" and
                                    n.name == "KAV Part Number Builder"):
            return app
    return None


window = subprocess.Popen([program])
failed = 0


def check(name, ok, detail):
    global failed, passed
    if ok:
        passed += 1
        print(f"screen-reader: ok: {name}")
    else:
        failed += 1
        print(f"screen-reader: FAILED: {name} ({detail})")


def focused(kind):
    return [e for e in events if e[0].startswith("object:state-changed:focused") and e[3] == 1
            and kind(e)]


def until(condition, seconds):
    """Ticks until `condition` holds or `seconds` pass: a loaded machine is
    waited for, never raced."""
    end = time.monotonic() + seconds
    while time.monotonic() < end and not condition():
        yield True


def focus_events():
    return [e for e in events if e[0].startswith("object:state-changed:focused") and e[3] == 1]


def value_events():
    return [e for e in events if e[1] == "combo box" and
            (e[0].startswith("object:property-change:accessible-value") or
             e[0].startswith("object:text-changed"))]


def steps():
    # Page one: the Antennas grid takes the focus, then Down.
    found = {}

    def window_up():
        found["app"] = application()
        return found["app"] is not None and find(found["app"], lambda n: n.name == "Antennas")
    yield from until(window_up, 90)
    app = found.get("app")
    grid = app and find(app, lambda n: n.getRoleName() == "table" and n.name == "Antennas")
    if grid is None:
        check("window", False, "no kav_pnb window with its Antennas grid on the AT-SPI bus")
        return
    grid.queryComponent().grabFocus()
    yield from until(lambda: False, 1.5)
    events.clear()
    key("Down")
    yield from until(focus_events, 30)
    yield from until(lambda: False, 1.5)  # any false event comes with the true one
    others = focused(lambda e: "List price" in (e[2], e[4]))
    mine = focus_events()
    check("grid: Down in the Antennas grid moves the focus there alone",
          not others and mine, f"focus events: {mine[:6]}, from the price table: {others[:3]}")

    # Page two by Enter (the grid's default: Next), then Down in the flange list.
    key("Return")

    def flange_list():
        found["combo"] = find(app, lambda n: n.getRoleName() == "combo box" and
                              n.name == "Flange Options" and
                              n.getState().contains(pyatspi.STATE_SHOWING))
        return found["combo"] is not None
    yield from until(flange_list, 30)
    yield from until(lambda: False, 1.5)
    events.clear()
    key("Down")
    yield from until(value_events, 30)
    combo = found.get("combo")
    shown = ""
    if combo is not None:
        text = combo.queryText()
        shown = text.getText(0, text.characterCount)
    changed = value_events()
    check("list: Down in the flange list says its new value, readable as text",
          combo is not None and shown and changed,
          f"combo {combo is not None}, text '{shown}', events {changed[:4]}")

    names = [label.name for label in every(app, lambda n: n.getRoleName() == "label" and n.name and
                                           n.name.startswith(("Select Customization Options for",
                                                              "New Custom Part Number for")))]
    check("headings: each page-two heading's name carries the model",
          len(names) == 2 and all(name.split()[-1] not in ("for", "") for name in names),
          f"names {names}")


walk = steps()


def tick():
    try:
        next(walk)
        return True
    except StopIteration:
        pass
    except Exception as error:  # a check that cannot go on fails, never hangs
        check("run", False, repr(error))
    pyatspi.Registry.stop()
    return False


pyatspi.Registry.registerEventListener(listen, "object:state-changed:focused",
                                       "object:property-change:accessible-value",
                                       "object:text-changed")
GLib.timeout_add(100, tick)
pyatspi.Registry.start()
window.terminate()
print(f"screen-reader: {passed} passed, {failed} failed", flush=True)
sys.exit(1 if failed else 0)

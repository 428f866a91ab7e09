#!/usr/bin/python3
"""Reads the viewer's accessible tree as a screen reader does, over AT-SPI.

Run inside a session bus of its own (dbus-run-session): starts a virtual display and the viewer
on a copy of the sample panels (the session bus starts the accessibility bus for the first of
them who asks, and ends it with the session), then checks with pyatspi the
picture grid (its cells, a cell's name, the selection after a key press), the tool buttons, the
drive selector, the file list and the preview's status line. Then the live panel window of
console-desk.kvr: a window whose every control is listed with its role, name and value, whose
fader takes a value set over AT-SPI (the event line and the value-change event follow), whose
buttons are pressed by their action, and through whose controls Tab walks. Every wait has a
deadline; the processes it started end with it.

usage: accessibility_tree.py TROVELIN SAMPLES_FOLDER
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

DEADLINE_SECONDS = 20
SECOND_CELL = "Picture 2 of 13, 64 x 16, 4 bits, Preset1.Glyph (TSpeedButton), arena-rig.kvr"


def wait_for(what, probe, seconds=DEADLINE_SECONDS):
    """Polls `probe` until it gives something true; fails naming `what` after the deadline."""
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while True:
        # Events from the bus reach their listeners through the main context.
        while context.pending():
            context.iteration(False)
        try:
            result = probe()
        except Exception:  # the tree changes under us while the window builds
            result = None
        if result:
            return result
        if time.monotonic() > end:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.05)


def start_display(processes):
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24",
                             "-nolisten", "tcp"], pass_fds=[write_end], stderr=subprocess.DEVNULL)
    processes.append(xvfb)
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        number = pipe.readline().strip()
    if not number:
        raise AssertionError("Xvfb did not start")
    return ":" + number


def walk(node, depth=0):
    yield node
    if depth > 40:
        return
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def find(root, role, name=None, predicate=None):
    for node in walk(root):
        if node.getRoleName() == role and (name is None or node.name == name) and (predicate is None or predicate(node)):
            return node
    return None


def viewer_application(process_id):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        application = desktop.getChildAtIndex(i)
        if application is not None and application.get_process_id() == process_id:
            return application
    return None


def state_of(node):
    return node.getState()


def check(application, events):
    frame = wait_for("the main window", lambda: find(application, "frame", "Trovelin for KVR Panel Files"))
    grid = wait_for("the picture grid with 13 pictures",
                    lambda: find(frame, "table", "Pictures", predicate=lambda n: n.childCount >= 13
                                 and n.getChildAtIndex(12).name.startswith("Picture 13 of 13")))
    table = grid.queryTable()
    cells = [grid.getChildAtIndex(i) for i in range(grid.childCount)]
    assert grid.childCount == table.nRows * table.nColumns, (grid.childCount, table.nRows, table.nColumns)
    named = [cell.name for cell in cells if cell.name]
    assert len(named) == 13, named
    assert cells[1].name == SECOND_CELL, cells[1].name
    assert table.getAccessibleAt(0, 1).name == SECOND_CELL

    for button in ("Up one level", "View"):
        assert find(frame, "push button", button) is not None, button + " button"
    drive = find(frame, "combo box")
    assert drive is not None and drive.name, "drive selector"
    files = find(frame, "tree", "Files")
    assert files is not None, "file list"
    assert find(files, "table cell", "arena-rig.kvr") is not None, "file list row"

    # Without a window manager the window takes the keyboard only when given it. The grid then
    # takes the focus, as a click would give it, and a key moves the selection.
    window = subprocess.run(["xdotool", "search", "--sync", "--name", "^Trovelin for KVR Panel Files$"],
                            capture_output=True, text=True, timeout=DEADLINE_SECONDS, check=True)
    window_id = window.stdout.split()[0]
    subprocess.run(["xdotool", "windowfocus", "--sync", window_id], timeout=DEADLINE_SECONDS, check=True)
    grid.queryComponent().grabFocus()
    wait_for("the grid's focus", lambda: state_of(cells[0]).contains(pyatspi.STATE_FOCUSED))
    events.clear()
    subprocess.run(["xdotool", "key", "Right"], timeout=DEADLINE_SECONDS, check=True)
    wait_for("the second cell selected and focused",
             lambda: state_of(cells[1]).contains(pyatspi.STATE_SELECTED)
             and state_of(cells[1]).contains(pyatspi.STATE_FOCUSED))
    assert not state_of(cells[0]).contains(pyatspi.STATE_SELECTED)
    # The move was reported: a screen reader speaks the cell without asking.
    wait_for("the selection and focus events of the second cell",
             lambda: ("object:state-changed:selected", SECOND_CELL) in events
             and ("object:state-changed:focused", SECOND_CELL) in events)

    # Enter opens the preview; its status line reads the picture's place and size.
    subprocess.run(["xdotool", "key", "Return"], timeout=DEADLINE_SECONDS, check=True)
    wait_for("the preview's status line",
             lambda: find(application, "label", predicate=lambda n: n.name.startswith("Picture 2 of 13 "))
             or find(application, "status bar", predicate=lambda n: "Picture 2 of 13" in n.name))


# console-desk.kvr as a screen reader lists it: role, name and value of every control.
DESK_CONTROLS = [
    ("image", "Background", None),
    ("label", "Console", None),
    ("slider", "Fader1", 200),
    ("slider", "Fader2", 128),
    ("slider", "Fader3", 40),
    ("slider", "Crossfade", 100),
    ("dial", "Speed", 90),
    ("dial", "Size", 200),
    ("push button", "S1", None),
    ("push button", "S2", None),
    ("push button", "Red", None),
    ("push button", "Blue", None),
]
DESK_TAB_ORDER = ["Fader1", "Fader2", "Fader3", "Crossfade", "Speed", "Size", "S1", "S2", "Red", "Blue"]


def value_of(node):
    try:
        return round(node.queryValue().currentValue)
    except NotImplementedError:
        return None


def action_index(node, name):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i).lower() == name:  # the bridge gives the names capitalised
            return action, i
    raise AssertionError("no action %s on %s: %s" % (name, node.name, [action.getName(i) for i in range(action.nActions)]))


def check_panel(application, events, values):
    frame = wait_for("the panel window", lambda: find(application, "frame",
                                                      predicate=lambda n: n.name.startswith("console-desk.kvr")))
    panel = wait_for("the panel's controls", lambda: find(frame, "panel", "Panel", predicate=lambda n: n.childCount == 12))
    listed = [(c.getRoleName(), c.name, value_of(c)) for c in (panel.getChildAtIndex(i) for i in range(panel.childCount))]
    for line in listed:
        print("  %-12s %-10s %s" % line)
    assert listed == DESK_CONTROLS, listed
    fader = find(panel, "slider", "Fader1")
    assert fader.queryValue().maximumValue == 255 and fader.queryValue().minimumValue == 0
    assert fader.getState().contains(pyatspi.STATE_FOCUSABLE)
    # Qt 6.4 has no toggle-button role: a toggle is a push button, pressed and checked while down.
    toggle = find(panel, "push button", "Red").getState()
    assert not toggle.contains(pyatspi.STATE_CHECKED) and not toggle.contains(pyatspi.STATE_PRESSED)

    event_line = lambda text: find(frame, "label", text)
    values.clear()
    fader.queryValue().currentValue = 100
    wait_for("the event line of the fader set over AT-SPI", lambda: event_line("Fader1, Change, 100"))
    wait_for("the fader's value-change event", lambda: "Fader1" in values)
    assert value_of(fader) == 100
    action, increase = action_index(fader, "increase")
    action.doAction(increase)
    wait_for("the fader one step up", lambda: event_line("Fader1, Change, 101"))
    action, press = action_index(find(panel, "push button", "S1"), "press")
    action.doAction(press)
    wait_for("the scene button pressed by its action", lambda: event_line("Scene1, Click, up"))

    window = subprocess.run(["xdotool", "search", "--sync", "--name", r"^console-desk\.kvr( |$)"],
                            capture_output=True, text=True, timeout=DEADLINE_SECONDS, check=True)
    subprocess.run(["xdotool", "windowfocus", "--sync", window.stdout.split()[0]], timeout=DEADLINE_SECONDS, check=True)
    # The panel has the keyboard as the window opens; the first Tab reaches its first control.
    for name in DESK_TAB_ORDER:
        subprocess.run(["xdotool", "key", "Tab"], timeout=DEADLINE_SECONDS, check=True)
        wait_for("Tab to " + name, lambda: find_focused(panel) == name)
    wait_for("the focus event of the last control", lambda: ("object:state-changed:focused", "Blue") in events)


def find_focused(root):
    """The name of the innermost focused object below `root` (the panel itself is focused too)."""
    focused = None
    for node in walk(root):
        if node is not root and node.getState().contains(pyatspi.STATE_FOCUSED):
            focused = node.name
    return focused


def main():
    viewer_program, samples = sys.argv[1], sys.argv[2]
    processes = []
    folder = tempfile.mkdtemp(prefix="trovelin-a11y-")
    try:
        panels = os.path.join(folder, "panels")
        os.mkdir(panels)
        for name in sorted(os.listdir(samples)):
            if name.endswith(".kvr"):
                shutil.copy(os.path.join(samples, name), panels)
        environment = dict(os.environ, HOME=folder, XDG_CONFIG_HOME=os.path.join(folder, "config"),
                           XDG_RUNTIME_DIR=folder, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                           NO_AT_BRIDGE="0")
        environment["DISPLAY"] = start_display(processes)
        os.environ["DISPLAY"] = environment["DISPLAY"]
        viewer = subprocess.Popen([viewer_program, panels], env=environment, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL)
        processes.append(viewer)
        events = []

        def heard(event):
            if event.detail1 == 1 and event.source is not None:
                events.append((event.type, event.source.name))

        values = []

        def value_heard(event):
            if event.source is not None:
                values.append(event.source.name)

        pyatspi.Registry.registerEventListener(heard, "object:state-changed:selected",
                                               "object:state-changed:focused")
        pyatspi.Registry.registerEventListener(value_heard, "object:property-change:accessible-value")
        application = wait_for("the viewer on the accessibility bus", lambda: viewer_application(viewer.pid))
        check(application, events)

        panel_viewer = subprocess.Popen([viewer_program, "--panel", os.path.join(panels, "console-desk.kvr")],
                                        env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        processes.append(panel_viewer)
        events.clear()
        check_panel(wait_for("the panel viewer on the accessibility bus", lambda: viewer_application(panel_viewer.pid)),
                    events, values)
        print("accessible tree as expected")
        return 0
    finally:
        for process in reversed(processes):
            if process.poll() is None:
                process.send_signal(signal.SIGTERM)
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())

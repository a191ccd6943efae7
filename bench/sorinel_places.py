#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Sorinel developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Where Sorinel's list entries and video area stand in its window, asked of
the window itself through its accessibility tree:

  dbus-run-session -- bench/sorinel_places.py SORINEL FOLDER

starts SORINEL in FOLDER with its accessibility bridge on, and prints one
JSON object: "entries" (one [x, y, width, height] an entry, in list order)
and "video", both relative to the top-left corner of the window's X window,
then ends it. Exits non-zero when either is not found.

The timed runs start Sorinel without the bridge (it would add its own work
to every click), so this is asked once, of a Sorinel of its own. It runs on
Debian's Python, where python3-pyatspi lives: the benchmarks' other scripts
may run on another.
"""
import json
import os
import subprocess
import sys
import time

try:
    import pyatspi  # answering only: Debian's Python has it
except ImportError:
    pyatspi = None

HERE = os.path.dirname(os.path.abspath(__file__))


def ask(binary, folder):
    """The places, from any Python: this script under a session bus of its
    own. Ends the caller with an error when they are not found, as a table
    without Sorinel's rows would mislead."""
    answer = subprocess.run(["dbus-run-session", "--", "/usr/bin/python3", os.path.join(HERE, "sorinel_places.py"),
                             binary, folder], capture_output=True, text=True, timeout=90)
    found = [line for line in answer.stdout.splitlines() if line.startswith("{")]
    if answer.returncode != 0 or not found:
        sys.stderr.write(answer.stderr)
        sys.exit("sorinel: list entries and video area not found (needs python3-pyatspi and at-spi2-core)")
    # The accessibility registry, started on the private bus, says it runs
    # on the same standard output.
    return json.loads(found[-1])


def application(pid, timeout=20.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            try:
                if app is not None and app.get_process_id() == pid:
                    return app
            except Exception:  # an application leaving the bus meanwhile
                continue
        time.sleep(0.2)
    return None


def walk(node, depth=0):
    yield node
    if depth > 12:
        return
    for child in node:
        if child is not None:
            yield from walk(child, depth + 1)


def extents(node):
    e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return [e.x, e.y, e.width, e.height]


def places(app):
    entries, video = [], None
    for node in walk(app):
        role = node.getRole()
        if role == pyatspi.ROLE_LIST_ITEM and node.name:
            entries.append(extents(node))
        elif role == pyatspi.ROLE_ANIMATION:
            video = extents(node)
    entries.sort(key=lambda e: e[1])
    return entries, video


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    binary, folder = os.path.abspath(sys.argv[1]), sys.argv[2]
    sys.path.insert(0, HERE)
    import screen
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    process = subprocess.Popen([binary], cwd=folder, env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        win = screen.window_of(process.pid)
        app = application(process.pid)
        if not win or not app:
            sys.exit("sorinel_places: %s" % ("no window" if not win else "no accessibility tree on the bus"))
        # The list fills from the folder after the window shows.
        entries, video = [], None
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline and (not entries or not video):
            time.sleep(0.3)
            entries, video = places(app)
        if not entries or not video:
            sys.exit("sorinel_places: %s not found in the accessibility tree"
                     % ("list entries" if not entries else "video area"))

        def relative(box):
            return [box[0] - win[0], box[1] - win[1], box[2], box[3]]

        print(json.dumps({"entries": [relative(e) for e in entries], "video": relative(video)}))
    finally:
        screen.end(process)


if __name__ == "__main__":
    main()

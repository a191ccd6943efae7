#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Sorinel developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The program as a screen reader reads it through AT-SPI: whatever takes the keyboard has a name
and a role, the texts are the window's own, and the list and the time tell what they hold while a
file plays.  usage: screen_reader_test.py PROGRAM MEDIA_DIR  (under dbus-run-session, on an X server)"""
import os, re, shutil, subprocess, sys, tempfile, time
import pyatspi

program, media = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
failures = []


def wait_for(pred, seconds=10):
    end = time.time() + seconds
    while True:
        try:
            value = pred()  # an object not ready yet raises
        except Exception:
            value = None
        if value or time.time() > end:
            return value
        time.sleep(0.1)


def shown(node):
    if not node.getState().contains(pyatspi.STATE_SHOWING):
        return []
    return [node] + [n for k in range(node.childCount) for n in shown(node.getChildAtIndex(k))]


# Roles by their number: the names they are read out with changed between
# at-spi2-core releases ("push button" became "button").
ROLES = {"frame": pyatspi.ROLE_FRAME, "list": pyatspi.ROLE_LIST, "list item": pyatspi.ROLE_LIST_ITEM,
         "push button": pyatspi.ROLE_PUSH_BUTTON, "check box": pyatspi.ROLE_CHECK_BOX, "text": pyatspi.ROLE_TEXT,
         "panel": pyatspi.ROLE_PANEL, "slider": pyatspi.ROLE_SLIDER, "label": pyatspi.ROLE_LABEL}


def find(role, name):
    return next((n for n in shown(app) if n.getRole() == ROLES[role] and n.name == name), None)


folder = tempfile.mkdtemp()
shutil.copy(os.path.join(media, "clip.mpg"), os.path.join(folder, "a.mpg"))
desktop = pyatspi.Registry.getDesktop(0)  # the accessibility bus is up before the program
proc = subprocess.Popen([program], cwd=folder, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                        env=dict(os.environ, QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
try:
    app = wait_for(lambda: next(a for a in desktop if a is not None and a.name == "Sorinel"), 15)
    wait_for(lambda: find("list", "ファイル一覧"))
    for n in shown(app):
        if n.getState().contains(pyatspi.STATE_FOCUSABLE) and (not n.name.strip() or n.getRole() == pyatspi.ROLE_FILLER):
            failures.append("a %s named %r takes the keyboard" % (n.getRoleName(), n.name))
    for role, name in [("frame", "Sorinel！\u3000Ver10.03"), ("list", "ファイル一覧"), ("push button", "フォルダ設定"),
                       ("check box", "ﾙｰﾌﾟ"), ("check box", "ﾗﾝﾀﾞﾑ"), ("check box", "フルスクリーン"),
                       ("check box", "リストループ"), ("text", "開始秒"), ("text", "終了秒"),
                       ("panel", "メディアプレーヤー"), ("push button", "再生"), ("push button", "停止"),
                       ("slider", "再生位置"), ("label", "0:00 / 0:00"), ("push button", "ミュート"), ("slider", "音量")]:
        if find(role, name) is None:
            failures.append("no %s named %r" % (role, name))

    play = find("push button", "再生")
    if play is None:
        raise SystemExit("\n".join(failures))
    play.queryAction().doAction(0)  # as a screen reader presses it
    if not wait_for(lambda: find("list item", "a.mpg").getState().contains(pyatspi.STATE_SELECTED)):
        failures.append("the list does not tell which entry plays")
    if not wait_for(lambda: find("push button", "一時停止")):
        failures.append("the play button does not tell that it now pauses")
    # The 4 s clip starts 0.54 s into its stream, which newer engines take off
    # its duration.
    if not wait_for(lambda: next(n for n in shown(app) if n.getRole() == pyatspi.ROLE_LABEL and re.fullmatch("0:0[1-4] / 0:0[34]", n.name))):
        failures.append("the time does not read on")
finally:
    proc.terminate()
    proc.wait()
    shutil.rmtree(folder)
print("\n".join(failures) or "passed")
sys.exit(1 if failures else 0)

#!/usr/bin/python3
"""The program as a screen reader meets it, through the AT-SPI tree on a
private session bus: every control that takes the keyboard has a name and a
role, the texts are the window's own Japanese ones (the transport buttons are
named by what they do), and the list and the time tell what they hold as the
program plays.

usage: screen_reader_test.py PROGRAM MEDIA_DIR   (under dbus-run-session and an X server)"""
import os, shutil, subprocess, sys, tempfile, time

import pyatspi

program, media = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAILED:", what)


def wait_for(pred, seconds):
    """pred() once it holds, or its last answer; an object that is not ready yet answers None."""
    def ask():
        try:
            return pred()
        except Exception:
            return None
    end = time.time() + seconds
    while time.time() < end:
        value = ask()
        if value:
            return value
        time.sleep(0.1)
    return ask()


def nodes(node):
    """Every accessible below node that is on the screen, node first."""
    try:
        if not node.getState().contains(pyatspi.STATE_SHOWING):
            return []
        found = [node]
        for k in range(node.childCount):
            found += nodes(node.getChildAtIndex(k))
        return found
    except Exception:  # a child that went away meanwhile
        return []


def find(app, role, name):
    return next((n for n in nodes(app) if n.getRoleName() == role and n.name == name), None)


folder = tempfile.mkdtemp()
for source, name in (("clip.mpg", "a.mpg"), ("clip.mov", "b.mov")):
    shutil.copy(os.path.join(media, source), os.path.join(folder, name))

desktop = pyatspi.Registry.getDesktop(0)  # starts the accessibility bus before the program
env = dict(os.environ, QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
proc = subprocess.Popen([program], cwd=folder, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
try:
    app = wait_for(lambda: next((a for a in desktop if a is not None and a.name == "Sorinel"), None), 15)
    check(app is not None, "the program is not in the accessibility tree")
    if app is None:
        sys.exit(1)
    wait_for(lambda: find(app, "list", "ファイル一覧"), 10)

    shown = nodes(app)
    # Whatever takes the keyboard says what it is.
    for n in shown:
        if n.getState().contains(pyatspi.STATE_FOCUSABLE):
            check(n.name.strip() != "", "a %s without a name" % n.getRoleName())
            check(n.getRoleName() not in ("filler", "unknown"), "%r has no role of its own" % n.name)
    expected = [("frame", "Sorinel！\u3000Ver10.03"), ("list", "ファイル一覧"), ("push button", "フォルダ設定"),
                ("check box", "ﾙｰﾌﾟ"), ("check box", "ﾗﾝﾀﾞﾑ"), ("check box", "フルスクリーン"),
                ("check box", "リストループ"), ("text", "開始秒"), ("text", "終了秒"),
                ("panel", "メディアプレーヤー"), ("tool bar", "再生操作"), ("push button", "再生"),
                ("push button", "停止"), ("slider", "再生位置"), ("label", "0:00 / 0:00"),
                ("push button", "ミュート"), ("slider", "音量")]
    for role, name in expected:
        check(find(app, role, name) is not None, "no %s named %r" % (role, name))

    # 再生 as a screen reader presses it: the first entry plays, the list
    # tells which entry is selected, the button now pauses, and the time
    # reads on.
    play = find(app, "push button", "再生")
    if play is not None:
        play.queryAction().doAction(0)
    def selected():
        entries = nodes(find(app, "list", "ファイル一覧"))[1:]
        return [n.name for n in entries if n.getState().contains(pyatspi.STATE_SELECTED)]
    check(wait_for(lambda: selected() == ["a.mpg"], 10),
          "the list does not tell that a.mpg is selected")
    check(wait_for(lambda: find(app, "push button", "一時停止"), 10) is not None, "the play button did not become 一時停止")
    label = wait_for(lambda: next((n for n in nodes(app) if n.getRoleName() == "label"
                                   and n.name.startswith("0:0") and not n.name.startswith("0:00")), None), 10)
    check(label is not None and label.name.endswith(" / 0:04"), "the time does not read on: %r"
          % [n.name for n in nodes(app) if n.getRoleName() == "label"])
finally:
    proc.terminate()
    proc.wait()
    shutil.rmtree(folder)

print("%d failure(s)" % len(failures))
sys.exit(1 if failures else 0)

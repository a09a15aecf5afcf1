#!/usr/bin/env python3
"""The real program under Xvfb, typed into with xdotool, its state folder in a temporary folder:
values typed and then killed with SIGKILL are in the recovery file a second later; the next start
offers them back, Return restores them, and a value typed just before SIGTERM, or before "退出"
(Ctrl+E), is written as the program ends. A file named on the command line opens (the work typed
into it then belongs to it); one that cannot be read is told in a message box.

Usage: check_recovery.py PROGRAM SCREENSHOT_TOOL"""

import json
import os
import signal
import subprocess
import sys
import tempfile
import time

PROGRAM, SCREENSHOT = sys.argv[1], sys.argv[2]
TIMEOUT = 30  # seconds for anything to happen; a passing run takes a few
temp = tempfile.TemporaryDirectory()
state = os.path.join(temp.name, "quillon")
env = dict(os.environ, XDG_STATE_HOME=temp.name)
env.pop("QT_QPA_PLATFORM", None)


def fail(message):
    sys.exit(f"check_recovery: {message}")


def wait_for(what, test):
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        if result := test():
            return result
        time.sleep(0.1)
    fail(f"no {what} after {TIMEOUT} s")


def run(*command):
    return subprocess.run(command, env=env, capture_output=True, text=True, timeout=TIMEOUT)


def windows(title, *options):
    return lambda: run("xdotool", "search", *options, "--name", title).stdout.split()


def start(*arguments):
    program = subprocess.Popen([PROGRAM, *arguments], env=env)
    wait_for("main window", windows("Quillon"))
    time.sleep(1)  # the earlier runs' work is looked for after the first paint
    return program


def ended(program):
    try:
        return program.wait(TIMEOUT)
    except subprocess.TimeoutExpired:
        fail("the program did not end")


def type_into(name, text):
    run("xdotool", "mousemove", *at[name], "click", "1", "key", "End", "type", "--delay", "50",
        text)


def restore_by_keyboard():
    # Without a window manager nothing gives the new window the keyboard: as one would.
    offer = wait_for("offer of the last run's work", windows("恢复上次的工作"))
    run("xdotool", "windowfocus", "--sync", offer[0], "key", "Return")


def expect(pid, group1, group2, path=""):
    with open(os.path.join(state, f"recovery-{pid}.quillon"), encoding="utf-8") as file:
        kept = json.load(file)
    with open(os.path.join(state, f"recovery-{pid}.path"), encoding="utf-8") as file:
        found = ([row for row in kept["group1"] if row], [row for row in kept["group2"] if row],
                 file.read())
    if found != (group1, group2, path):
        fail(f"run {pid} kept {found}, not {(group1, group2, path)}")


def gone(pid):
    wait_for("removal of the restored run's work",
             lambda: not os.path.exists(os.path.join(state, f"recovery-{pid}.quillon")))


# An X server on a display no other uses; -noreset, or it refuses connections for a moment each
# time its last client leaves.
for number in range(100 + os.getpid() % 400, 600):
    if os.path.exists(f"/tmp/.X{number}-lock"):
        continue
    env["DISPLAY"] = f":{number}"
    xvfb = subprocess.Popen(["Xvfb", env["DISPLAY"], "-screen", "0", "1280x1024x24", "-noreset",
                             "-nolisten", "tcp"], stderr=subprocess.DEVNULL)
    if wait_for("X server", lambda: xvfb.poll() is not None or
                run("xdotool", "getmouselocation").returncode == 0) and xvfb.poll() is None:
        break
else:
    fail("no X server started")

program = None
try:
    where = run(SCREENSHOT, "--where", "Text1(0)", "Text1(1)", "Text2(0)").stdout
    at = {name: (x, y) for name, x, y in (line.split() for line in where.splitlines())}

    program = start()
    if windows("恢复上次的工作")():
        fail("work offered at the first start")
    type_into("Text1(0)", "12.5")
    type_into("Text2(0)", "11.25")
    time.sleep(1.5)
    program.kill()
    ended(program)
    expect(program.pid, ["12.5"], ["11.25"])

    # Restored, the work is this run's own at once, and the killed run's file goes.
    killed, program = program.pid, start()
    restore_by_keyboard()
    wait_for("restored work", lambda: os.path.exists(
        os.path.join(state, f"recovery-{program.pid}.path")))
    expect(program.pid, ["12.5"], ["11.25"])
    gone(killed)
    type_into("Text1(1)", "14")
    program.send_signal(signal.SIGTERM)
    if ended(program) != 0:
        fail("SIGTERM did not end the program normally")
    expect(program.pid, ["12.5", "14"], ["11.25"])

    terminated, program = program.pid, start()
    restore_by_keyboard()
    type_into("Text2(0)", "9")
    run("xdotool", "key", "ctrl+e")
    if ended(program) != 0:
        fail("退出 did not end the program normally")
    expect(program.pid, ["12.5", "14"], ["11.259"])
    gone(terminated)

    analysis = os.path.join(temp.name, "随访 1.quillon")
    with open(analysis, "w", encoding="utf-8") as file:
        json.dump({"group1": ["3", "4"], "group2": ["6"]}, file)
    program = start(analysis)
    type_into("Text2(0)", "5")
    time.sleep(1.5)
    expect(program.pid, ["3", "4"], ["65"], analysis)
    program.kill()
    ended(program)

    with open(analysis, "w", encoding="utf-8") as file:
        file.write('{"group1": [')
    program = start(analysis)
    # The main window and the message box over it.
    wait_for("message box", lambda: len(windows("Quillon", "--onlyvisible")()) == 2)
finally:
    if program is not None and program.poll() is None:
        program.kill()
    xvfb.terminate()
    xvfb.wait()

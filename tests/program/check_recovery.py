#!/usr/bin/env python3
"""The real program under Xvfb, typed into with xdotool, with its state folder in a temporary
folder: values typed and then killed with SIGKILL are in the recovery file a second later; the
next start offers them back, Return restores them, and a value typed just before SIGTERM is
written as the program ends; after "退出" (Ctrl+E) the work of that run is kept as well. A file
named on the command line opens (the work typed into it then belongs to it); one that cannot be
read is told in a message box.

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


def fail(message):
    sys.exit(f"check_recovery: {message}")


def wait_for(what, test):
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        result = test()
        if result:
            return result
        time.sleep(0.1)
    fail(f"no {what} after {TIMEOUT} s")


def start_xvfb():
    """An X server on a display number no other is using; tried until one starts."""
    for number in range(100 + os.getpid() % 400, 600):
        if os.path.exists(f"/tmp/.X{number}-lock"):
            continue
        display = f":{number}"
        # -noreset: the server would otherwise reset, refusing connections for a moment, each
        # time its last client leaves.
        xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x1024x24", "-noreset",
                                 "-nolisten", "tcp"], stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + TIMEOUT
        while xvfb.poll() is None and time.monotonic() < deadline:
            reached = subprocess.run(["xdotool", "getmouselocation"], capture_output=True,
                                     env=dict(os.environ, DISPLAY=display))
            if reached.returncode == 0:
                return xvfb, display
            time.sleep(0.1)
        xvfb.kill()
        xvfb.wait()
    fail("no X server started")


def main():
    temp = tempfile.TemporaryDirectory()
    state = os.path.join(temp.name, "state", "quillon")
    xvfb, display = start_xvfb()
    env = dict(os.environ, DISPLAY=display, XDG_STATE_HOME=os.path.join(temp.name, "state"))
    env.pop("QT_QPA_PLATFORM", None)
    program = None
    try:
        names = ["Text1(0)", "Text1(1)", "Text2(0)"]
        where = subprocess.run([SCREENSHOT, "--where", *names], env=env, capture_output=True,
                               text=True, check=True, timeout=TIMEOUT).stdout
        at = {name: (x, y) for name, x, y in (line.split() for line in where.splitlines())}

        def xdotool(*args):
            return subprocess.run(["xdotool", *args], env=env, check=True, capture_output=True,
                                  text=True, timeout=TIMEOUT).stdout

        def window_named(title, *options):
            return lambda: subprocess.run(["xdotool", "search", *options, "--name", title],
                                          env=env, capture_output=True, text=True).stdout.split()

        def start(*arguments):
            started = subprocess.Popen([PROGRAM, *arguments], env=env)
            wait_for("main window", window_named("Quillon"))
            time.sleep(1)  # the earlier runs' work is looked for after the first paint
            return started

        def type_into(name, text):
            xdotool("mousemove", *at[name], "click", "1")
            xdotool("key", "End")
            xdotool("type", "--delay", "50", text)

        def restore_by_keyboard(what):
            # Without a window manager nothing gives the new window the keyboard: as one would.
            offer = wait_for(what, window_named("恢复上次的工作"))
            xdotool("windowfocus", "--sync", offer[0])
            xdotool("key", "Return")

        def recovery(pid):
            with open(os.path.join(state, f"recovery-{pid}.quillon"), encoding="utf-8") as file:
                saved = json.load(file)
            return [row for row in saved["group1"] if row], [row for row in saved["group2"] if row]

        def expect(pid, group1, group2):
            found = recovery(pid)
            if found != (group1, group2):
                fail(f"run {pid} kept {found}, not {(group1, group2)}")

        def gone(pid):
            wait_for("removal of the restored run's file", lambda: not os.path.exists(
                os.path.join(state, f"recovery-{pid}.quillon")))

        def ended(process):
            try:
                return process.wait(TIMEOUT)
            except subprocess.TimeoutExpired:
                fail("the program did not end")

        # Typed, and killed after a second and a half: the values are kept.
        program = start()
        if window_named("恢复上次的工作")():
            fail("work offered at the first start")
        type_into("Text1(0)", "12.5")
        type_into("Text2(0)", "11.25")
        time.sleep(1.5)
        program.kill()
        ended(program)
        killed = program.pid
        expect(killed, ["12.5"], ["11.25"])

        # The next start offers them; Return restores them into the window, which keeps them as
        # its own work at once, and the killed run's file goes.
        program = start()
        restore_by_keyboard("offer of the killed run's work")
        wait_for("restored work", lambda: os.path.exists(
            os.path.join(state, f"recovery-{program.pid}.quillon")))
        expect(program.pid, ["12.5"], ["11.25"])
        gone(killed)

        # A value typed straight before SIGTERM is written as the program ends.
        type_into("Text1(1)", "14")
        program.send_signal(signal.SIGTERM)
        if ended(program) != 0:
            fail("SIGTERM did not end the program normally")
        expect(program.pid, ["12.5", "14"], ["11.25"])

        # Restored once more, a value typed straight before "退出" is written at exit.
        terminated = program.pid
        program = start()
        restore_by_keyboard("offer of the ended run's work")
        type_into("Text2(0)", "9")
        xdotool("key", "ctrl+e")
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
        expect(program.pid, ["3", "4"], ["65"])
        with open(os.path.join(state, f"recovery-{program.pid}.path"), encoding="utf-8") as file:
            if file.read() != analysis:
                fail("the work typed into the opened file does not belong to it")
        program.kill()
        ended(program)

        with open(analysis, "w", encoding="utf-8") as file:
            file.write("{\"group1\": [")
        program = start(analysis)
        # The main window and the message box over it.
        wait_for("message box", lambda: len(window_named("Quillon", "--onlyvisible")()) == 2)
        program.kill()
        ended(program)
        program = None
    finally:
        if program is not None and program.poll() is None:
            program.kill()
        xvfb.terminate()
        xvfb.wait()


main()

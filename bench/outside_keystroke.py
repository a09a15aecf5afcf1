#!/usr/bin/env python3
"""A keystroke as the user feels it, measured from outside the program on a real X server.

    bench/outside_keystroke.py [build folder]     (needs scripts/deps.sh --outside)

Starts Xvfb and the program, pastes two columns of 32,776 values into the grid (the clipboard is
filled with xclip), opens the results report beside the main window, and in each of the three
sample analyses types keys into a grid box with xdotool: "5", then Backspace, in turn. Each
keystroke is timed from just before xdotool sends it until the program and the X server have
both stopped using the processor (read from /proc/<pid>/schedstat, in nanoseconds): the key's
events handled, the results and the report rebuilt and both windows painted. Prints the median
and the largest of the keystrokes in each analysis, and the median of a Shift key pressed the
same way, which changes nothing: what xdotool, the X server and the wait cost by themselves.
"""

import os
import statistics
import subprocess
import sys
import time

ROWS = 32776
KEYSTROKES = 20
QUIET = 0.05  # seconds without any processor use that count as settled


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    display = ":73"
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1920x1080x24", "-nolisten", "tcp"],
                            stderr=subprocess.DEVNULL)
    env = dict(os.environ, DISPLAY=display)
    env.pop("QT_QPA_PLATFORM", None)
    time.sleep(1)
    program = None
    try:
        names = ["Command1(0)", "Command1(1)", "Command1(2)", "Text1(0)"]
        where = subprocess.run([f"{build}/tools/quillon-screenshot", "--where", *names], env=env,
                               capture_output=True, text=True, check=True).stdout
        at = {name: (x, y) for name, x, y in (line.split() for line in where.splitlines())}

        def xdotool(*args):
            subprocess.run(["xdotool", *args], env=env, check=True)

        busy_at_start = 0

        def busy():
            total = 0
            for pid in (program.pid, xvfb.pid):
                with open(f"/proc/{pid}/schedstat") as stat:
                    total += int(stat.read().split()[0])
            return total

        def settled(start, sender=None):
            """The moment of the last processor use after start, once QUIET has passed and the
            sender (the xdotool process sending the key, polled meanwhile) has finished."""
            last, before = start, busy_at_start
            while True:
                now, used = time.monotonic(), busy()
                if used != before:
                    before, last = used, now
                elif now - last > QUIET and (sender is None or sender.poll() is not None):
                    return last
                time.sleep(0.0005)

        def key(name):
            """Sends one key and returns how long until the program and X have settled."""
            nonlocal busy_at_start
            busy_at_start = busy()
            start = time.monotonic()
            sender = subprocess.Popen(["xdotool", "key", name], env=env)
            end = settled(start, sender)
            return (end - start) * 1000

        def click(name):
            xdotool("mousemove", *at[name], "click", "1")
            wait()

        def wait():
            nonlocal busy_at_start
            busy_at_start = busy()
            settled(time.monotonic())

        lines = "".join(f"{10000000 + row * 7919 % 1000}.{row % 10}\t"
                        f"{10000000 + (row * 7919 + 13) % 1000}.{row % 10}\n"
                        for row in range(ROWS))
        clipboard = subprocess.Popen(["xclip", "-selection", "clipboard", "-i"], env=env,
                                     stdin=subprocess.PIPE, text=True)
        clipboard.communicate(lines)

        program = subprocess.Popen([f"{build}/app/quillon"], env=env, stderr=subprocess.DEVNULL)
        time.sleep(2)
        wait()
        click("Text1(0)")
        xdotool("key", "ctrl+r")
        wait()
        # Without a window manager the report opens over the main window: move it beside it.
        report = subprocess.run(["xdotool", "search", "--name", "结果报告"], env=env,
                                capture_output=True, text=True, check=True).stdout.split()[-1]
        xdotool("windowmove", report, "1250", "0")
        for mode, analysis in enumerate(["two-sample", "paired", "correlation"]):
            click(f"Command1({mode})")
            click("Text1(0)")
            xdotool("key", "ctrl+v")
            wait()
            click("Text1(0)")
            xdotool("key", "End")
            wait()
            times, idle = [], []
            for stroke in range(KEYSTROKES):
                times.append(key("5" if stroke % 2 == 0 else "BackSpace"))
                # The same for Shift, which changes nothing: what xdotool and the X server
                # cost by themselves.
                idle.append(key("shift"))
            print(f"{analysis}: median {statistics.median(times):.1f} ms, "
                  f"largest {max(times):.1f} ms over {KEYSTROKES} keystrokes at {ROWS} rows; "
                  f"a Shift key alone {statistics.median(idle):.1f} ms")
    finally:
        if program is not None:
            program.kill()
        xvfb.kill()


if __name__ == "__main__":
    main()

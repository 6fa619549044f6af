"""Commands from scripts against their anchors in the same run, under Wine
with a window manager: a /capture handed to a Kirasoe that runs, from the
command's start to its exit with the file written, next to the quick
capture's hotkey to the file; and a /capture with no Kirasoe running next to
Wine starting an empty program plus the quick capture."""
import os
import shutil
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from kirasoe_e2e import BIN, WINE_RUN, App, ensure_harness, probe, wait_for, windows_path, wine_env, xdotool  # noqa

AREA = (100, 100, 640, 480)
RUNS = 7


def timed(args):
    t0 = time.monotonic()
    done = subprocess.run(args, env=wine_env(), stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
    assert done.returncode == 0, done.stderr
    return (time.monotonic() - t0) * 1000


def main():
    ensure_harness()
    x, y, w, h = AREA
    cleanups = []
    app = App(ini="[Data]\r\nX=600\r\nY=600\r\nSnapX=%d\r\nSnapY=%d\r\nSnapW=%d\r\nSnapH=%d\r\nLineC=0\r\nLFType=5\r\n"
              "LFName=bench\r\n" % (x * 15, y * 15, w * 15, h * 15))
    try:
        shutil.copy(os.path.join(BIN, "kirasoe.com"), app.dir)
        out = os.path.join(app.dir, "out")
        os.makedirs(out)
        with open(app.ini, "ab") as f:
            f.write(("LFPath=%s\r\n" % windows_path(out)).encode("cp932"))
        command = [WINE_RUN, os.path.join(app.dir, "kirasoe.com"), "/capture"]
        app.start()
        app.window("Camera")
        # The hotkey is pressed where the user works: in another program.
        target = App(exe="target.exe").start()
        cleanups.append(target.cleanup)
        wait_for(lambda: any(w["class"] == "KirasoeTarget" and w["visible"] for w in target.windows()), what="target")
        xdotool("mousemove", 850, 700)
        xdotool("click", 1)
        time.sleep(1)
        quick, warm = [], []
        for _ in range(RUNS):
            before = len(os.listdir(out))
            t0 = time.monotonic()
            xdotool("key", "ctrl+shift+Print")
            wait_for(lambda: len(os.listdir(out)) > before, timeout=30, interval=0.005, what="the quick capture's file")
            quick.append((time.monotonic() - t0) * 1000)
            time.sleep(1)
            warm.append(timed(command))
            time.sleep(1)
        app.close()
        empty = [timed([WINE_RUN, os.path.join(BIN, "empty.exe")]) for _ in range(RUNS)]
        windowed = [timed([WINE_RUN, os.path.join(BIN, "empty.exe"), "window"]) for _ in range(RUNS)]
        cold = [timed(command) for _ in range(RUNS)]
        q, wm, e, ew, c = (statistics.median(v) for v in (quick, warm, empty, windowed, cold))
        print("quick capture 640x480 PNG, hotkey to file: median %.0f ms" % q)
        print("an empty program started by Wine: median %.0f ms; one that makes a window: %.0f ms" % (e, ew))
        print("/capture handed to the Kirasoe that runs, start to exit: median %.0f ms; ratio to the quick capture "
              "%.2f, to the empty program with a window + the quick capture %.2f" % (wm, wm / q, wm / (ew + q)))
        print("/capture with no Kirasoe running, start to exit: median %.0f ms; ratio to the empty program + the quick "
              "capture %.2f, to the empty program with a window + the quick capture %.2f" % (c, c / (e + q), c / (ew + q)))
    finally:
        app.cleanup()
        for cleanup in cleanups:
            cleanup()


if __name__ == "__main__":
    main()

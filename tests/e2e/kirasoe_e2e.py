"""Drives the real kirasoe.exe under Wine on the harness's virtual screen.

Each App runs in a fresh folder of its own (the exe, imgctl.dll unless left
out, and an optional kirasoe.ini), so that every scenario starts from a known
settings file. Windows are inspected from the Windows side with probe.exe and
the mouse is driven with xdotool.
"""
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BIN = os.environ.get("KIRASOE_BIN", os.path.join(ROOT, "build", "mingw", "bin"))
DPI = int(os.environ.get("KIRASOE_DPI", "96"))
MONITORS = int(os.environ.get("KIRASOE_MONITORS", "1"))
# "english": a Windows whose language is not Japanese (its own prefix, on the second screen).
LOCALE = os.environ.get("KIRASOE_LOCALE", "")
# "b": the second screen and prefix of the same scale (96 or 120 dpi).
LANE = "b" if os.environ.get("KIRASOE_LANE") == "b" else ""
TPP = 1440 / DPI  # twips per pixel
WINE_RUN = os.path.join(ROOT, "scripts", "wine-run")


def twips(px):
    """A position on screen as the settings file keeps it."""
    return int(round(px * TPP))


def at_one_scale(dpi, reason):
    """For a scenario the scale plays no part in: it runs on one of the two
    screens only, so that they share the work."""
    return unittest.skipIf(DPI != dpi, reason)


def wine_env():
    env = dict(os.environ)
    env["KIRASOE_DPI"] = str(DPI)
    return env


def wine_prefix():
    """The Wine prefix the programs of this test run in."""
    name = "multi" if MONITORS == 2 else "english" if LOCALE == "english" else "dpi%d%s" % (DPI, LANE)
    return os.path.join(ROOT, "build", "wine", name)


def ensure_harness():
    """Starts the virtual screen and Wine only when they are not running: a
    second wineboot on a live prefix restarts Wine's services under the tests."""
    harness = os.path.join(ROOT, "scripts", "harness")
    if subprocess.run([harness, "status"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode != 0:
        subprocess.run([harness, "start"], check=True,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    name = ("display-multi" if MONITORS == 2 else "display-scaled" if DPI != 96 or LOCALE == "english"
            else "display") + ("-" + LANE if LANE else "")
    with open(os.path.join(ROOT, "build", "harness", name)) as f:
        os.environ["DISPLAY"] = f.read().strip()


def probe_async(*args):
    """Starts the probe and returns a function that waits for its answer."""
    out = tempfile.NamedTemporaryFile(delete=False)
    proc = subprocess.Popen([WINE_RUN, os.path.join(BIN, "probe.exe"), *map(str, args)], env=wine_env(),
                            stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.DEVNULL)

    def result():
        proc.wait(timeout=60)
        with open(out.name, "rb") as f:
            text = f.read().decode("utf-8")
        os.unlink(out.name)
        return json.loads(text)
    return result


def probe(*args):
    for attempt in range(2):  # a Wine program start can fail now and then; once more
        out = subprocess.run([WINE_RUN, os.path.join(BIN, "probe.exe"), *map(str, args)], env=wine_env(),
                             stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        if out.returncode == 0:
            return json.loads(out.stdout.decode("utf-8"))
        retried("probe %s failed (%d)" % (args[0], out.returncode))
        time.sleep(0.5)
    raise RuntimeError("probe %s failed (%d): %s" % (args, out.returncode, out.stderr.decode(errors="replace")))


def retried(what):
    """Says on the test's output that a step had to be given again, so that
    the runs show how often a retry that stays in the tests is needed."""
    sys.stderr.write("RETRY: %s\n" % what)
    sys.stderr.flush()


def wait_for(predicate, timeout=15.0, interval=0.1, what="condition"):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(interval)


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True, timeout=30)


def drag(points, button=1, pause=0.05):
    """Presses at the first point, moves through the others, releases at the last."""
    (x0, y0), rest = points[0], points[1:]
    xdotool("mousemove", x0 - 3, y0 - 3)
    time.sleep(pause)
    xdotool("mousemove", x0, y0)
    time.sleep(0.3)
    xdotool("mousedown", button)
    time.sleep(0.2)
    for x, y in rest:
        xdotool("mousemove", x, y)
        time.sleep(pause)
    time.sleep(0.3)
    xdotool("mouseup", button)
    time.sleep(0.3)


def quick_capture(camera):
    """Hovers the camera coming from below and Shift+double-clicks it."""
    xdotool("mousemove", camera[0], camera[1] + 20)
    time.sleep(0.2)
    xdotool("mousemove", *camera)
    time.sleep(0.4)
    xdotool("keydown", "shift")
    xdotool("click", "--repeat", 2, "--delay", 60, 1)
    xdotool("keyup", "shift")


class Screen:
    """A screenshot of the virtual screen: pixel(x, y) -> (r, g, b)."""

    def __init__(self):
        out = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], capture_output=True,
                             check=True, timeout=30).stdout
        # P6\n<w> <h>\n255\n<data>
        parts = out.split(b"\n", 3)
        self.width, self.height = map(int, parts[1].split())
        self.data = parts[3]

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])


def set_background(rgb):
    """Colours the root window, which shows wherever no window covers it."""
    subprocess.run(["xsetroot", "-solid", "#%02x%02x%02x" % rgb], check=True, timeout=10)


def pattern_pixel(x, y):
    """The test pattern that set_pattern_background puts on the screen."""
    return ((x * 7 + y * 3) & 255, (x ^ y) & 255, (x * y + x) & 255)


def set_pattern_background():
    """Fills the root window with a pattern the X server repaints by itself,
    so whatever our windows uncover is exact at once."""
    w, h = Screen().width, Screen().height
    path = os.path.join(ROOT, "build", "harness", "pattern-%dx%d.ppm" % (w, h))
    if not os.path.exists(path):
        rows = bytearray()
        for y in range(h):
            rows += b"".join(bytes(pattern_pixel(x, y)) for x in range(w))
        # Written whole under another name first: a test on the other screen
        # may want the same picture at the same time.
        part = "%s.%d" % (path, os.getpid())
        with open(part, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (w, h) + bytes(rows))
        os.replace(part, path)
    subprocess.run(["display", "-window", "root", path], timeout=30,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    assert Screen().pixel(3, 5) == pattern_pixel(3, 5), "pattern on the screen"


def read_bmp(path):
    """A 24-bit or 16-colour BMP as rows of (r, g, b), top-down."""
    import struct
    with open(path, "rb") as f:
        b = f.read()
    offset, = struct.unpack_from("<I", b, 10)
    header, w, h, _, bits = struct.unpack_from("<IiiHH", b, 14)
    stride = ((w * bits + 31) // 32) * 4
    palette = [tuple(b[14 + header + i * 4:14 + header + i * 4 + 3][::-1]) for i in range(16)]
    step = bits // 8
    rows = []
    for y in range(abs(h)):
        row = offset + stride * (abs(h) - 1 - y if h > 0 else y)
        if bits in (24, 32):
            rows.append([tuple(b[row + x * step:row + x * step + 3][::-1]) for x in range(w)])
        else:
            rows.append([palette[(b[row + x // 2] >> (0 if x % 2 else 4)) & 15] for x in range(w)])
    return rows


def decode_image(path):
    """Any image file as rows of (r, g, b), decoded by ImageMagick."""
    out = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], capture_output=True, check=True, timeout=30).stdout
    parts = out.split(b"\n", 3)
    w, h = map(int, parts[1].split())
    data = parts[3]
    return [[tuple(data[(y * w + x) * 3:(y * w + x) * 3 + 3]) for x in range(w)] for y in range(h)]


def windows_path(path):
    """The path as programs inside Wine see it."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def read_ini(path):
    """The settings file as (key, value) lines of section Data, in file order."""
    with open(path, "rb") as f:
        raw = f.read()
    text = raw.decode("cp932")
    lines = text.split("\r\n")
    assert lines[0] == "[Data]", lines
    assert lines[-1] == "", "the file ends with CRLF"
    return [tuple(line.split("=", 1)) for line in lines[1:-1]]


class App:
    """One run of kirasoe.exe in a folder of its own."""

    def __init__(self, ini=None, with_dll=True, exe="kirasoe.exe", args=(), cwd=None, env=None):
        self.args = [str(a) for a in args]
        self.cwd = cwd
        self.extra_env = env or {}
        self.dir = tempfile.mkdtemp(prefix="kirasoe-e2e-", dir=os.path.join(ROOT, "build"))
        self.exe = exe
        shutil.copy(os.path.join(BIN, exe), self.dir)
        if with_dll:
            shutil.copy(os.path.join(BIN, "imgctl.dll"), self.dir)
        self.ini = os.path.join(self.dir, "kirasoe.ini")
        if ini is not None:
            with open(self.ini, "wb") as f:
                f.write(ini if isinstance(ini, bytes) else ini.encode("cp932"))
        self.proc = None

    def start(self):
        self.proc = subprocess.Popen([WINE_RUN, os.path.join(self.dir, self.exe)] + self.args,
                                     cwd=self.cwd or self.dir, env=dict(wine_env(), **self.extra_env),
                                     stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                     start_new_session=True)
        return self

    def windows(self):
        return probe("windows", os.path.basename(self.dir) + "\\" + self.exe)

    def window(self, cls):
        """The visible window of a form class (Camera, Frame, ...), waiting for it."""
        seen = []

        def find():
            seen[:] = self.windows()
            for w in seen:
                if w["class"] == "Kirasoe." + cls and w["visible"]:
                    return w
            return None
        try:
            # A start under the full suite's load once took longer than 15 s.
            return wait_for(find, timeout=30, what="window " + cls)
        except AssertionError:
            # What there was instead, for a failure that does not come back.
            state = "running" if self.running() else "ended with %s" % self.proc.poll()
            raise AssertionError("no visible window %s; the program %s; its windows: %s" % (
                cls, state, [(w["class"], w["visible"], w["rect"]) for w in seen]))

    def settled(self, cls, rect):
        """The window of a form once it has reached `rect` (start-up shows
        windows before it places them); fails with the last rectangle seen."""
        seen = []

        def check():
            w = self.window(cls)
            seen.append(w["rect"])
            return w if w["rect"] == list(rect) else None
        try:
            return wait_for(check, timeout=10, what="%s at %s" % (cls, rect))
        except AssertionError:
            raise AssertionError("%s stayed at %s, expected %s" % (cls, seen[-1] if seen else None, list(rect)))

    def message_box(self, title=None, timeout=15):
        """A visible dialog of the program (a message box, or the save dialog by its title)."""
        def find():
            for w in self.windows():
                if w["class"] == "#32770" and w["visible"] and (title is None or w["title"] == title):
                    return w
            return None
        return wait_for(find, timeout=timeout, what="dialog %s" % (title or ""))

    def capture(self, camera=(53, 50), tries=1, title="ファイルを保存する"):
        """Hovers the camera coming from below, double-clicks it and returns the save dialog."""
        for attempt in range(tries):
            xdotool("mousemove", camera[0], camera[1] + 20)
            time.sleep(0.2)
            xdotool("mousemove", *camera)
            time.sleep(0.4)
            xdotool("click", "--repeat", 2, "--delay", 60, 1)
            try:
                return self.message_box(title, timeout=30 if attempt + 1 == tries else 8)
            except AssertionError:
                # What the program showed instead, for a failure that does not come back.
                shown = [(w["class"], w["visible"], w["rect"], w["foreground"]) for w in self.windows()]
                if attempt + 1 == tries:
                    raise AssertionError("a double-click on the camera opened no save dialog; windows: %s" % shown)
                retried("a double-click on the camera opened no save dialog; windows: %s" % shown)

    def menus(self):
        """The popup menus the program shows."""
        return [w for w in self.windows() if w["class"] == "#32768" and w["visible"]]

    def open_menu(self, keys, camera=(53, 50)):
        """Right-clicks the camera and goes through the menu with `keys`.
        With a window manager Wine misses a click from xdotool now and then:
        a click that opened nothing is given again."""
        for attempt in range(5):
            xdotool("mousemove", camera[0], camera[1] + 15)
            time.sleep(0.1)
            xdotool("mousemove", *camera)
            time.sleep(0.3)
            xdotool("click", 3)
            try:
                wait_for(self.menus, timeout=6 if attempt < 4 else 15, what="popup menu")
                break
            except AssertionError:
                if attempt == 4:
                    raise
                retried("a right-click on the camera opened no menu")
        for k in keys:
            xdotool("key", k)
            time.sleep(0.12)

    def choose(self, keys, camera=(53, 50)):
        """A menu command: the menu opened, gone through with `keys`, closed."""
        self.open_menu(keys, camera)
        wait_for(lambda: not self.menus(), what="menu closed")

    def label(self):
        """The text of the label of a watch or a recording, or None when it is hidden."""
        return next((w["title"] for w in self.windows() if w["class"] == "Kirasoe.WatchLabel" and w["visible"]), None)

    def no_dialog(self):
        wait_for(lambda: not any(w["class"] == "#32770" and w["visible"] for w in self.windows()),
                 what="no dialog open")

    def close(self):
        """A close request from the system to the main window."""
        probe("close", self.window("Camera")["hwnd"])
        return self.wait_exit()

    def wait_exit(self, timeout=20):
        return self.proc.wait(timeout=timeout)

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def cleanup(self):
        """Ends the program (politely first) and waits until its process and
        windows are gone, so that the next test sees a clean screen."""
        if self.proc is None:
            shutil.rmtree(self.dir, ignore_errors=True)
            return
        if self.running():
            try:
                for w in self.windows():
                    if w["class"] == "Kirasoe.Camera":
                        probe("close", w["hwnd"])
                self.proc.wait(timeout=5)
            except Exception:
                pass
        # Wine renames the program's process, so end it through its process
        # group, which also holds the launcher.
        group = self.proc.pid
        try:
            os.killpg(group, signal.SIGKILL)
        except ProcessLookupError:
            pass
        self.proc.wait()

        def gone():
            try:
                os.killpg(group, 0)
                return False
            except ProcessLookupError:
                return True
        wait_for(gone, timeout=10, what="the program to end")
        shutil.rmtree(self.dir, ignore_errors=True)


class E2ETestCase(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        ensure_harness()
        cls.metrics = probe("metrics")
        assert cls.metrics["dpi"] == DPI, cls.metrics

    def app(self, **kwargs):
        a = App(**kwargs)
        self.addCleanup(a.cleanup)
        return a

    def app_saving_to(self, ini, folder):
        """An app (not started yet) whose remembered folder for saving is
        `folder`, a new folder inside its own."""
        a = self.app(ini=ini)
        a.folder = os.path.join(a.dir, folder)
        os.makedirs(a.folder)
        with open(a.ini, "ab") as f:
            f.write(("LFPath=%s\r\n" % windows_path(a.folder)).encode("cp932"))
        return a

    def window_manager(self):
        """A window manager for the rest of the test, as on a desktop: without
        one Wine waits up to a second for each window a picture hides."""
        wm = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: (wm.kill(), wm.wait()))
        time.sleep(1.0)

    def helper_program(self, exe, args, cls):
        """One of the test programs (slides, counter) showing its window of class `cls`."""
        program = App(exe=exe, args=args)
        self.addCleanup(program.cleanup)
        program.start()
        wait_for(lambda: any(w["class"] == cls and w["visible"] for w in program.windows()), what=exe)
        return program

    def app_framing(self, area, data="", sections="", lftype=5):
        """A started app whose frame lies on `area` (x, y, w, h), its camera
        at (40, 40), its pictures going to a new folder as PNG (or the type
        `lftype` names); `data` adds
        keys to [Data], `sections` adds sections of its own ("{folder}" in them
        is that folder)."""
        x, y, w, h = area
        ini = ("[Data]\r\nX=%d\r\nY=%d\r\nSnapX=%d\r\nSnapY=%d\r\nSnapW=%d\r\nSnapH=%d\r\nLineC=0\r\nLFType=%d\r\n"
               % (twips(40), twips(40), twips(x), twips(y), twips(w), twips(h), lftype)) + data
        app = self.app_saving_to(ini, "out")
        with open(app.ini, "ab") as f:  # after the folder, which goes to [Data]
            f.write(sections.replace("{folder}", windows_path(app.folder)).encode("cp932"))
        app.start()
        app.settled("Frame", [x, y, x + w, y + h])
        return app

    def target_in_front(self):
        """A window of another program that has the focus: where the user works."""
        tgt = App(exe="target.exe")
        self.addCleanup(tgt.cleanup)
        tgt.start()
        w = wait_for(lambda: next((w for w in tgt.windows() if w["class"] == "KirasoeTarget" and w["visible"]),
                                  None), what="target shown")
        r = w["rect"]
        xdotool("mousemove", (r[0] + r[2]) // 2, (r[1] + r[3]) // 2)
        time.sleep(0.2)
        xdotool("click", 1)
        w = wait_for(lambda: next((w for w in tgt.windows() if w["class"] == "KirasoeTarget" and w["foreground"]),
                                  None), what="target in front")
        return tgt, w

    def px(self, twips):
        """Twips to whole pixels, as the program's windows are placed."""
        return round(twips / TPP)


def main():
    unittest.main(verbosity=2)

"""Watching the frame: a picture of each settled change of the area and of
nothing else (a caret, a clock, a spinner, the pointer, a change that goes
back, noise that never settles), pictures at an interval, both ways to stop,
a folder that refuses writing, and settings-file values out of reach."""
import os
import subprocess
import time

from kirasoe_e2e import (at_one_scale, decode_image, E2ETestCase, main, probe, wait_for, xdotool)

CAMERA = (53, 50)
AREA = (300, 200, 400, 300)
FRAME_MENU = ["Down"] * 3 + ["Right"]
CHANGES, INTERVALS = 5, 6  # the items below the submenu's first
CORNER = (10, 10, 150, 45)  # the slides' caret, clock and spinner


def slide_pixel(k, x, y, w=AREA[2]):
    """The slides program's slide k at (x, y) of its window."""
    if (y // 10) % 4 == 0 and 40 <= x < w - 40 and (x // 6) % 3 != 0:
        return (250, 250, 250)
    return [(200, 40, 40), (40, 160, 60), (40, 60, 200)][k]


class Watch(E2ETestCase):
    def start(self, mode, extra="", with_window_manager=True):
        if with_window_manager:
            self.window_manager()
        x, y, w, h = AREA
        self.slides = self.helper_program("slides.exe", (x, y, w, h, mode), "KirasoeSlides")
        return self.app_framing(AREA, data="LFName=slide\r\n", sections=extra)

    def choose(self, app, keys):
        app.choose(FRAME_MENU + keys, CAMERA)

    def pictures(self, app):
        return sorted(f for f in os.listdir(app.folder) if f.startswith("slide_"))

    def expect_slide(self, path, k):
        rows = wait_for(lambda: os.path.getsize(path) > 0 and decode_image(path), what=path)
        x0, y0, x1, y1 = CORNER
        bad = [(x, y) for y in range(AREA[3]) for x in range(AREA[2])
               if not (x0 <= x < x1 and y0 <= y < y1) and rows[y][x] != slide_pixel(k, x, y)]
        self.assertEqual(bad[:10], [], "%s: %d pixels are not slide %d" % (path, len(bad), k))

    def test_each_settled_change_is_saved_once_and_nothing_else(self):
        app = self.start("changes")
        self.choose(app, ["Down"] * CHANGES + ["Return"])
        wait_for(lambda: self.pictures(app) == ["slide_001.png"], what="the area as it stands")
        self.assertEqual(app.label(), "変化を監視中 1枚")
        go = time.monotonic()
        open(os.path.join(self.slides.dir, "go"), "w").close()
        # B stands from 3.8 s on: the pointer moves over it meanwhile.
        time.sleep(4.5)
        for i in range(10):
            xdotool("mousemove", AREA[0] + 30 + i * 30, AREA[1] + 100 + i * 10)
            time.sleep(0.1)
        # Noise from 14 s to 18 s: never settled.
        time.sleep(max(0, go + 16 - time.monotonic()))
        self.assertEqual(app.label(), "変化中")
        time.sleep(max(0, go + 22 - time.monotonic()))
        self.assertEqual(self.pictures(app), ["slide_001.png", "slide_002.png", "slide_003.png"])
        for name, k in (("slide_001.png", 0), ("slide_002.png", 1), ("slide_003.png", 0)):
            self.expect_slide(os.path.join(app.folder, name), k)
        self.assertEqual(app.label(), "変化を監視中 3枚")
        # A press on the camera ends it: posted, as a click arrives (with a
        # window manager Wine misses a click from xdotool now and then).
        camera = app.window("Camera")
        probe("click", camera["hwnd"], CAMERA[0] - camera["rect"][0], CAMERA[1] - camera["rect"][1])
        wait_for(lambda: app.label() is None, what="the label gone")

    @at_one_scale(96, "the interval does not depend on the scale")
    def test_pictures_at_each_interval_until_the_item_again_and_hostile_values(self):
        app = self.start("still", "[Watch]\r\nSettleMs=abc\r\nMinChangedPixels=-3\r\nInterval=7\r\n")
        # Whatever the user has on the clipboard stays there: a watch writes files only.
        probe("settext", "before")
        self.choose(app, ["Down"] * INTERVALS + ["Right", "Return"])  # 5秒ごと
        began = time.monotonic()
        wait_for(lambda: self.pictures(app) == ["slide_001.png"], what="the first at once")
        self.assertLess(time.monotonic() - began, 3)
        # Nothing of ours is hidden for a picture: the frame stands outside
        # the area, and the camera is not over it.
        hidden = probe("hidden", max(1, began + 10.5 - time.monotonic()), app.window("Camera")["hwnd"],
                       app.window("Frame")["hwnd"])
        self.assertEqual(hidden, {"hidden": False})
        time.sleep(max(0, began + 11.5 - time.monotonic()))
        self.assertEqual(len(self.pictures(app)), 3, "at 0, 5 and 10 s")
        self.assertEqual(app.label(), "5秒ごとに撮影中 3枚")
        self.assertEqual(probe("clipboard", "Z:\\tmp\\kirasoe-watch-clipboard.bmp").get("text"), "before")
        self.choose(app, ["Down"] * INTERVALS + ["Right", "Return"])  # the same again ends it
        wait_for(lambda: app.label() is None, what="the label gone")
        time.sleep(6)
        self.assertEqual(len(self.pictures(app)), 3)
        self.expect_slide(os.path.join(app.folder, "slide_003.png"), 0)
        self.assertEqual(app.close(), 0)
        with open(app.ini, "rb") as f:
            text = f.read().decode("cp932")
        self.assertIn("[Watch]\r\nSettleMs=1000\r\nMinChangedPixels=400\r\nInterval=5\r\nMinChangedPerMille=10\r\n",
                      text)

    @at_one_scale(120, "the scale plays no part")
    def test_without_a_window_manager_pictures_come_at_once_and_hide_nothing(self):
        # Without a window manager a hidden window takes Wine up to a second
        # to leave the screen: a picture that hid our four windows took 4 s.
        app = self.start("still", with_window_manager=False)
        self.choose(app, ["Down"] * INTERVALS + ["Right", "Return"])  # 5秒ごと
        began = time.monotonic()
        wait_for(lambda: self.pictures(app) == ["slide_001.png"], what="the first at once")
        hidden = probe("hidden", max(1, began + 5.8 - time.monotonic()), app.window("Camera")["hwnd"],
                       app.window("Frame")["hwnd"])
        self.assertEqual(hidden, {"hidden": False})
        wait_for(lambda: len(self.pictures(app)) == 2, timeout=2, what="the second at 5 s")
        self.assertLess(time.monotonic() - began, 7.5)
        self.expect_slide(os.path.join(app.folder, "slide_002.png"), 0)

    @at_one_scale(120, "the scale plays no part")
    def test_a_folder_that_refuses_writing_stops_the_watch_with_the_reason(self):
        app = self.start("still")
        if subprocess.run(["chattr", "+i", app.folder], stderr=subprocess.DEVNULL).returncode != 0:
            self.skipTest("the file system here cannot make a folder immutable")
        self.addCleanup(subprocess.run, ["chattr", "-i", app.folder])
        self.choose(app, ["Down"] * CHANGES + ["Return"])
        box = app.message_box("Kirasoe")
        texts = [c["text"] for c in probe("dialog", box["hwnd"])["children"]]
        self.assertTrue(any(t.startswith("ファイルを保存できませんでした。") for t in texts), texts)
        probe("press", box["hwnd"], "#1")
        wait_for(lambda: app.label() is None and not any(
            w["class"] == "#32770" and w["visible"] for w in app.windows()), what="the watch ended")
        time.sleep(3)
        self.assertFalse(any(w["class"] == "#32770" and w["visible"] for w in app.windows()), "no second try")
        self.assertEqual(self.pictures(app), [])


if __name__ == "__main__":
    main()

"""Capture through kirasoe.exe: main window drags, the flash, the exact screen
copy on the clipboard (Windows and X sides), focus return, the empty area."""
import os
import subprocess
import tempfile
import time

from kirasoe_e2e import (BIN, DPI, App, at_one_scale, drag, E2ETestCase, main, pattern_pixel, probe,
                         probe_async, read_bmp, read_ini, Screen, set_background, set_pattern_background,
                         twips, wait_for, windows_path, xdotool)

MAIN = (40, 40)         # main window, pixels
CAMERA_SIZE = {96: (28, 25), 120: (35, 31)}[DPI]  # 420 x 375 twips
AREA = (200, 120, 100, 50)  # capture rectangle, pixels


def ini(area=AREA, main_px=MAIN):
    x, y, w, h = area
    return ("[Data]\r\nX=%d\r\nY=%d\r\nSnapX=%d\r\nSnapY=%d\r\nSnapW=%d\r\nSnapH=%d\r\nLineC=0\r\n"
            % (twips(main_px[0]), twips(main_px[1]), twips(x), twips(y), twips(w), twips(h)))


class Capture(E2ETestCase):
    def start(self, area=AREA):
        app = self.app(ini=ini(area)).start()
        app.settled("Camera", [MAIN[0], MAIN[1], MAIN[0] + CAMERA_SIZE[0], MAIN[1] + CAMERA_SIZE[1]])
        if area[2] and area[3]:
            app.settled("Frame", [area[0], area[1], area[0] + area[2], area[1] + area[3]])
        return app

    def double_click_camera(self):
        # Come from elsewhere and hover first, as a user does.
        xdotool("mousemove", MAIN[0] + 13, MAIN[1] + 30)
        time.sleep(0.2)
        xdotool("mousemove", MAIN[0] + 13, MAIN[1] + 10)
        time.sleep(0.4)
        xdotool("click", "--repeat", 2, "--delay", 60, 1)

    def clipboard_pixels(self):
        path = tempfile.mktemp(suffix=".bmp", dir=os.path.join(os.path.dirname(BIN), ""))
        info = probe("clipboard", windows_path(path))
        rows = read_bmp(path) if os.path.exists(path) else None
        if os.path.exists(path):
            os.unlink(path)
        return info, rows

    def test_double_click_copies_exactly_the_framed_pixels(self):
        set_pattern_background()
        # Whatever an earlier program left on the clipboard must not pass for the capture.
        probe("settext", "before")
        app = self.start()
        tgt, target_window = self.target_in_front()
        watch = probe_async("watch", os.path.basename(app.dir), "Kirasoe.Flash", 10)
        self.double_click_camera()
        flash = watch()
        x, y, w, h = AREA
        self.assertEqual(flash["rect"], [x, y, x + w, y + h], "the flash covers the capture rectangle")

        def on_clipboard():
            info, rows = self.clipboard_pixels()
            return (info, rows) if rows else None
        info, rows = wait_for(on_clipboard, what="capture on the clipboard")
        self.assertEqual(info["bitmap"], [w, h])
        self.assertEqual((info["width"], abs(info["height"])), (w, h))
        self.assertIn(2, info["formats"])  # CF_BITMAP
        self.assertIn(8, info["formats"])  # CF_DIB
        bad = [(i, j) for j in range(h) for i in range(w) if rows[j][i] != pattern_pixel(x + i, y + j)]
        self.assertEqual(bad[:20], [], "%d pixels differ" % len(bad))
        for j in range(h):
            for i in range(w):
                self.assertEqual(rows[j][i], pattern_pixel(x + i, y + j), "clipboard pixel %d,%d" % (i, j))

        # The X side sees the same picture.
        bmp = subprocess.run(["xclip", "-selection", "clipboard", "-t", "image/bmp", "-o"], capture_output=True,
                             timeout=20).stdout
        self.assertGreater(len(bmp), 54)
        path = os.path.join(app.dir, "x.bmp")
        with open(path, "wb") as f:
            f.write(bmp)
        xrows = read_bmp(path)
        self.assertEqual((len(xrows[0]), len(xrows)), (w, h))
        self.assertEqual(xrows, rows)

        # Both windows are back; the save dialog waits; after it the target has the focus again.
        self.assertTrue(app.window("Camera")["visible"])
        self.assertTrue(app.window("Frame")["visible"])
        dialog = app.message_box("ファイルを保存する", timeout=30)
        # A double-click meanwhile starts nothing: the dialog keeps it away.
        xdotool("mousemove", MAIN[0] + 13, MAIN[1] + 10)
        xdotool("click", "--repeat", 2, "--delay", 60, 1)
        time.sleep(1)
        self.assertEqual([w["hwnd"] for w in app.windows() if w["class"] == "#32770" and w["visible"]],
                         [dialog["hwnd"]])
        probe("press", dialog["hwnd"], "#2")  # cancel
        app.no_dialog()
        try:
            wait_for(lambda: any(w["foreground"] for w in tgt.windows() if w["class"] == "KirasoeTarget"),
                     what="focus back on the target")
        except AssertionError:
            print("FOREGROUND", [(w["class"], w["title"]) for w in probe("windows") if w["foreground"]])
            raise

        # The frame still follows a corner drag after being hidden and shown again.
        drag([(x + w - 1, y + h - 1)] + [(x + w - 1 + 5 * i, y + h - 1 + 3 * i) for i in range(1, 7)])
        app.settled("Frame", [x, y, x + w - 1 + 30, y + h - 1 + 18])  # the corner under the pointer

    @at_one_scale(120, "the scale plays no part")
    def test_capture_outlives_the_program(self):
        """Nothing asks for the picture until the program has ended: it is
        still there, in both forms."""
        set_pattern_background()
        probe("settext", "before")
        app = self.start()
        dialog = app.capture(camera=(MAIN[0] + 13, MAIN[1] + 10))
        probe("press", dialog["hwnd"], "#2")  # cancel
        app.no_dialog()
        self.assertEqual(app.close(), 0)
        info, rows = self.clipboard_pixels()
        x, y, w, h = AREA
        self.assertEqual(info["bitmap"], [w, h])
        self.assertEqual((info["width"], abs(info["height"])), (w, h))
        self.assertEqual(rows, [[pattern_pixel(x + i, y + j) for i in range(w)] for j in range(h)])

    @at_one_scale(96, "the scale plays no part")
    def test_empty_area_only_shows_the_message(self):
        app = self.start(area=(200, 120, 0, 50))
        probe("settext", "before")
        self.double_click_camera()
        box = app.message_box()
        texts = [c["text"] for c in probe("dialog", box["hwnd"])["children"]]
        self.assertIn("取得エリアが設定されていません", texts)
        probe("press", box["hwnd"], "OK")
        wait_for(lambda: not any(w["class"] == "#32770" and w["visible"] for w in app.windows()), what="closed")
        info, _ = self.clipboard_pixels()
        self.assertEqual(info.get("text"), "before")
        self.assertTrue(app.window("Camera")["visible"])

    @at_one_scale(120, "the scale plays no part")
    def test_main_window_drags_only_when_the_mouse_moves(self):
        app = self.start()
        cx, cy = MAIN[0] + 13, MAIN[1] + 10
        xdotool("mousemove", cx, cy)
        time.sleep(0.3)
        xdotool("click", 1)  # a click without movement never drags
        time.sleep(0.5)
        self.assertEqual(app.window("Camera")["rect"][:2], list(MAIN))

        xdotool("mousedown", 1)
        time.sleep(0.2)
        xdotool("mousemove", cx + 1, cy)  # one pixel starts the drag
        time.sleep(0.2)
        for i in range(1, 6):
            xdotool("mousemove", cx + 1 + 10 * i, cy + 6 * i)
            time.sleep(0.05)
        time.sleep(0.2)
        xdotool("mouseup", 1)
        # The system's move loop starts where the drag started, one pixel on.
        app.settled("Camera", [MAIN[0] + 50, MAIN[1] + 30, MAIN[0] + 50 + CAMERA_SIZE[0],
                              MAIN[1] + 30 + CAMERA_SIZE[1]])
        app.close()
        values = dict(read_ini(app.ini))
        self.assertEqual((values["X"], values["Y"]), (str(twips(MAIN[0] + 50)), str(twips(MAIN[1] + 30))))


class UnderAnotherProgram(E2ETestCase):
    """With a window manager, as on a desktop: another program's window lies
    beneath the flash and the frame."""

    def setUp(self):
        self.wm = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: (self.wm.terminate(), self.wm.wait()))
        time.sleep(1.0)

    clipboard_pixels = Capture.clipboard_pixels

    def test_another_programs_window_beneath_is_copied_exactly(self):
        """The flash and the frame lie over another program's window, which
        has to paint itself again before the copy is taken."""
        set_background((255, 0, 255))
        app = Capture.start(self)
        under = (150, 80, 250, 150)
        pattern = App(exe="target.exe", args=["pattern"] + [str(v) for v in under])
        self.addCleanup(pattern.cleanup)
        pattern.start()
        x, y, w, h = AREA
        wait_for(lambda: Screen().pixel(x + 20, y + 20) == pattern_pixel(x + 20, y + 20), what="pattern window shown")
        for attempt in range(3):
            # The user works in the other program, then goes to the camera.
            xdotool("mousemove", under[0] + 10, under[1] + 10)
            xdotool("click", 1)
            # With openbox the camera once came back from a capture in a
            # corner of the screen, where this double-click missed it: it
            # must stay where it was.
            dialog = app.capture(camera=(MAIN[0] + 13, MAIN[1] + 10))
            info, rows = self.clipboard_pixels()
            self.assertEqual(info["bitmap"], [w, h])
            bad = [(i, j) for j in range(h) for i in range(w) if rows[j][i] != pattern_pixel(x + i, y + j)]
            self.assertEqual(bad[:10], [], "capture %d: %d pixels differ" % (attempt, len(bad)))
            probe("press", dialog["hwnd"], "#2")  # cancel
            app.no_dialog()


if __name__ == "__main__":
    main()

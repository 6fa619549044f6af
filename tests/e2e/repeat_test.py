"""Repeat captures without the trip to the camera: Shift+double-click and the
hotkeys, a numbered series saved without a dialog, the notice, the frame
moved and sized to the pixel with the keys, and the size label."""
import os
import subprocess
import time
import unittest

from kirasoe_e2e import (DPI, E2ETestCase, at_one_scale, decode_image, main, pattern_pixel, probe, probe_async,
                         quick_capture, read_bmp, read_ini, set_pattern_background, wait_for, windows_path, xdotool)

# The camera at (40, 40) and a 100 x 50 rectangle at (200, 120), in twips.
TWIPS = {96: (600, 600, 3000, 1800, 1500, 750), 120: (480, 480, 2400, 1440, 1200, 600)}
CAMERA = (53, 50)
AREA = (200, 120, 100, 50)


class Repeat(E2ETestCase):
    def start(self, folder=None, lftype=5, name="shot"):
        ini = ("[Data]\r\nX=%d\r\nY=%d\r\nSnapX=%d\r\nSnapY=%d\r\nSnapW=%d\r\nSnapH=%d\r\nLineC=0\r\n"
               % TWIPS[DPI]) + "LFType=%d\r\nLFName=%s\r\n" % (lftype, name)
        app = (self.app_saving_to(ini, folder) if folder else self.app(ini=ini)).start()
        app.settled("Frame", [200, 120, 300, 170])
        return app

    def expect_capture(self, path):
        rows = wait_for(lambda: os.path.exists(path) and os.path.getsize(path) > 0 and decode_image(path), what=path)
        x, y, w, h = AREA
        bad = [(i, j) for j in range(h) for i in range(w) if rows[j][i] != pattern_pixel(x + i, y + j)]
        self.assertEqual(bad[:10], [], "%s: %d pixels differ" % (path, len(bad)))

    def visible(self, app, cls):
        return any(w["class"] == "Kirasoe." + cls and w["visible"] for w in app.windows())

    def test_shift_double_click_saves_a_numbered_series_without_a_dialog(self):
        set_pattern_background()
        app = self.start(folder="out")
        with open(os.path.join(app.folder, "shot.png"), "wb") as f:
            f.write(b"not part of the series")
        for n in (1, 2, 3):
            self.quick_capture()
            path = os.path.join(app.folder, "shot_%03d.png" % n)
            self.expect_capture(path)
            self.assertFalse(any(w["class"] == "#32770" for w in app.windows()), "no dialog")
            if n == 1:
                # The notice shows beside the camera and is gone two seconds later.
                wait_for(lambda: self.visible(app, "Notice"), what="notice shown")
                time.sleep(2.0)
                self.assertFalse(self.visible(app, "Notice"), "notice gone")
            else:
                wait_for(lambda: not self.visible(app, "Notice"), timeout=3, what="notice gone")
        self.assertEqual(sorted(os.listdir(app.folder)), ["shot.png", "shot_001.png", "shot_002.png", "shot_003.png"])
        with open(os.path.join(app.folder, "shot.png"), "rb") as f:
            self.assertEqual(f.read(), b"not part of the series")
        self.assertEqual(app.close(), 0)
        values = dict(read_ini(app.ini))
        self.assertEqual((values["LFName"], values["LFType"]), ("shot", "5"))

    @at_one_scale(120, "the scale plays no part")
    def test_hotkeys_capture_from_whatever_program_is_in_front(self):
        set_pattern_background()
        probe("settext", "before")
        app = self.start(folder="keys")
        tgt, _ = self.target_in_front()
        xdotool("key", "shift+Print")
        dialog = app.message_box("ファイルを保存する", timeout=30)
        path = os.path.join(app.dir, "clip.bmp")
        info = probe("clipboard", windows_path(path))
        x, y, w, h = AREA
        self.assertEqual(info["bitmap"], [w, h])
        self.assertEqual(read_bmp(path), [[pattern_pixel(x + i, y + j) for i in range(w)] for j in range(h)])
        probe("press", dialog["hwnd"], "#2")  # cancel
        wait_for(lambda: any(w["foreground"] for w in tgt.windows() if w["class"] == "KirasoeTarget"),
                 what="focus back on the target")
        xdotool("key", "ctrl+shift+Print")
        self.expect_capture(os.path.join(app.folder, "shot_001.png"))
        wait_for(lambda: any(w["foreground"] for w in tgt.windows() if w["class"] == "KirasoeTarget"),
                 what="focus back after the quick capture")

    def test_arrow_keys_move_and_size_the_frame_to_the_pixel(self):
        app = self.start()
        xdotool("mousemove", *CAMERA)
        time.sleep(0.3)
        xdotool("click", 1)  # the camera becomes the active window
        wait_for(lambda: app.window("Camera")["foreground"], what="camera active")
        # Watched from inside Wine: the label shows for a second only.
        watch = probe_async("watch", os.path.basename(app.dir), "Kirasoe.SizeLabel", 10)
        time.sleep(1.0)
        xdotool("key", "--delay", 50, "Right", "Right", "Right", "shift+Down", "shift+Down", "ctrl+Left",
                "ctrl+shift+Right")
        app.settled("Frame", [193, 120, 303, 172])
        self.assertIsNotNone(watch()["rect"], "the size shows while it changes")
        wait_for(lambda: not self.visible(app, "SizeLabel"), timeout=3, what="size label gone")
        self.assertEqual(app.close(), 0)
        values = dict(read_ini(app.ini))
        stored = {96: ("2895", "1800", "1650", "780"), 120: ("2316", "1440", "1320", "624")}[DPI]
        self.assertEqual((values["SnapX"], values["SnapY"], values["SnapW"], values["SnapH"]), stored)

    def test_the_size_label_shows_during_a_drag_and_never_in_a_capture(self):
        set_pattern_background()
        app = self.start(folder="drag")
        corner = (299, 169)
        xdotool("mousemove", corner[0] - 3, corner[1] - 3)
        time.sleep(0.1)
        xdotool("mousemove", *corner)
        time.sleep(0.3)
        xdotool("mousedown", 1)
        time.sleep(0.2)
        for i in range(1, 4):
            xdotool("mousemove", corner[0] - 5 * i, corner[1] - 3 * i)
            time.sleep(0.1)
        wait_for(lambda: self.visible(app, "SizeLabel"), what="size label during the drag")
        xdotool("mouseup", 1)
        app.settled("Frame", [200, 120, 284, 160])  # the corner under the pointer
        # Captured right after: the label is gone before the copy.
        xdotool("mousemove", CAMERA[0], CAMERA[1] + 20)
        xdotool("mousemove", *CAMERA)
        time.sleep(0.2)
        xdotool("keydown", "shift")
        xdotool("click", "--repeat", 2, "--delay", 60, 1)
        xdotool("keyup", "shift")
        path = os.path.join(app.folder, "shot_001.png")
        rows = wait_for(lambda: os.path.exists(path) and os.path.getsize(path) > 0 and decode_image(path), what=path)
        self.assertEqual(rows, [[pattern_pixel(200 + i, 120 + j) for i in range(84)] for j in range(40)])

    @at_one_scale(96, "the scale plays no part")
    def test_a_hotkey_during_a_drag_of_the_frame_does_nothing(self):
        set_pattern_background()
        app = self.start(folder="midrag")
        # The ring moved 20 pixels right and 10 down, then the bottom-right
        # corner to the pointer 15 right and 10 down; both hotkeys pressed half-way.
        for grab, to, settled in (((250, 120), (270, 130), [220, 130, 320, 180]),
                                  ((319, 179), (334, 189), [220, 130, 334, 189])):
            xdotool("mousemove", grab[0] - 2, grab[1] - 2)
            time.sleep(0.1)
            xdotool("mousemove", *grab)
            time.sleep(0.3)
            xdotool("mousedown", 1)
            time.sleep(0.2)
            half = ((grab[0] + to[0]) // 2, (grab[1] + to[1]) // 2)
            xdotool("mousemove", *half)
            time.sleep(0.2)
            xdotool("key", "ctrl+shift+Print")
            xdotool("key", "shift+Print")
            time.sleep(1.0)
            self.assertEqual(os.listdir(app.folder), [], "nothing saved during the drag")
            self.assertFalse(any(w["class"] == "#32770" for w in app.windows()), "no dialog during the drag")
            xdotool("mousemove", *to)
            time.sleep(0.2)
            xdotool("mouseup", 1)
            app.settled("Frame", settled)
        # The drag ended normally: the next hotkey captures the new area.
        self.target_in_front()
        xdotool("key", "ctrl+shift+Print")
        path = os.path.join(app.folder, "shot_001.png")
        rows = wait_for(lambda: os.path.exists(path) and os.path.getsize(path) > 0 and decode_image(path), what=path)
        self.assertEqual(rows, [[pattern_pixel(220 + i, 130 + j) for i in range(114)] for j in range(59)])

    def quick_capture(self):
        quick_capture(CAMERA)

    def message_texts(self, app):
        box = app.message_box("Kirasoe")
        texts = [c["text"] for c in probe("dialog", box["hwnd"])["children"]]
        probe("press", box["hwnd"], "#1")
        return texts

    @unittest.skipIf(DPI != 96, "names and folders do not depend on the scale")
    def test_a_series_name_that_would_reach_elsewhere_is_refused_and_the_dialog_opens(self):
        app = self.start(folder="names", name="..\\up")
        self.quick_capture()
        self.assertIn("ファイル名が正しくありません。\n..\\up", self.message_texts(app))
        dialog = app.message_box("ファイルを保存する", timeout=30)
        probe("press", dialog["hwnd"], "#2")  # cancel
        app.no_dialog()
        self.assertEqual(os.listdir(app.folder), [])
        self.assertFalse(any(n.startswith("up") for n in os.listdir(app.dir)), "nothing written outside the folder")

    @unittest.skipIf(DPI != 96, "names and folders do not depend on the scale")
    def test_a_name_the_file_system_refuses_stops_at_once_with_its_reason(self):
        name = "n" * 250  # with "_001.png" past the 255 characters a file name may have
        app = self.start(folder="long-name", name=name)
        self.quick_capture()
        texts = self.message_texts(app)
        message = next((t for t in texts if t.startswith("ファイルを保存できませんでした。")), "")
        lines = message.split("\n")
        self.assertEqual(lines[1], windows_path(os.path.join(app.folder, name + "_001.png")))
        self.assertGreater(len(lines), 2, "the system's reason follows the path: %r" % message)
        app.no_dialog()
        self.assertEqual(os.listdir(app.folder), [], "one try, and no temporary file left")

    @unittest.skipIf(DPI != 96, "names and folders do not depend on the scale")
    def test_a_series_in_a_folder_past_260_characters(self):
        set_pattern_background()
        app = self.start(folder=os.path.join("a" * 120, "b" * 120))
        self.assertGreater(len(windows_path(app.folder)), 260)
        self.quick_capture()
        self.expect_capture(os.path.join(app.folder, "shot_001.png"))
        self.assertEqual(os.listdir(app.folder), ["shot_001.png"])


if __name__ == "__main__":
    main()

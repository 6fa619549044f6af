"""The submenu 「設定」: the mouse pointer in the picture, the picture as
"PNG" on the clipboard, and hotkeys the user chooses."""
import os
import time

from kirasoe_e2e import (at_one_scale, decode_image, E2ETestCase, main, pattern_pixel, probe, probe_async,
                         quick_capture, read_bmp, set_pattern_background, twips, wait_for, windows_path,
                         xdotool)

CAMERA = (40, 40)  # the camera's top-left
ON_CAMERA = (53, 50)
AREA = (200, 120, 100, 50)
SHIFT, CONTROL, ALT = 4, 2, 1
PRINT_SCREEN = 0x2C


def ini(area=AREA, extra=""):
    x, y, w, h = area
    return ("[Data]\r\nX=%d\r\nY=%d\r\nSnapX=%d\r\nSnapY=%d\r\nSnapW=%d\r\nSnapH=%d\r\nLineC=0\r\nLFType=5\r\n"
            "LFName=shot\r\n%s" % (twips(CAMERA[0]), twips(CAMERA[1]), twips(x), twips(y), twips(w), twips(h), extra))


def settled_file(path):
    return wait_for(lambda: os.path.exists(path) and os.path.getsize(path) > 0 and decode_image(path), what=path)


class Options(E2ETestCase):
    def start(self, area=AREA, extra="", folder="out"):
        app = self.app_saving_to(ini(area, extra), folder).start()
        x, y, w, h = area
        app.settled("Frame", [x, y, x + w, y + h])
        return app

    def settings_item(self, app, downs):
        """Chooses the item `downs` below the first of the submenu 設定."""
        app.open_menu(["Down"] * 4 + ["Right"] + ["Down"] * downs + ["Return"], ON_CAMERA)
        wait_for(lambda: not app.menus(), what="menu closed")


class PointerInPicture(Options):
    def test_the_pointer_is_drawn_at_its_hot_spot_only_when_asked(self):
        """The frame around the camera: the pointer that double-clicks it is
        inside the area when the copy is taken (the camera is hidden then)."""
        set_pattern_background()
        area = (20, 20, 120, 100)
        arrow = probe("pointer")
        hx, hy = arrow["hotspot"]
        for on, number in ((False, 1), (True, 2)):
            app = self.start(area=area, folder="pointer%d" % number)
            if on:
                self.settings_item(app, 0)  # マウスポインタを含める
            quick_capture(ON_CAMERA)
            rows = settled_file(os.path.join(app.folder, "shot_001.png"))
            x0, y0 = ON_CAMERA[0] - hx - area[0], ON_CAMERA[1] - hy - area[1]
            covered = inverted = 0
            for j in range(area[3]):
                for i in range(area[2]):
                    beneath = pattern_pixel(area[0] + i, area[1] + j)
                    cell = "T"
                    if on and 0 <= j - y0 < len(arrow["rows"]) and 0 <= i - x0 < len(arrow["rows"][0]):
                        cell = arrow["rows"][j - y0][i - x0]
                    if cell == "?":
                        continue
                    if cell == "T":
                        want = beneath
                    elif cell == "I":
                        want = tuple(255 - c for c in beneath)
                        inverted += 1
                    else:
                        want = tuple(int(cell[k:k + 2], 16) for k in (1, 3, 5))
                        covered += 1
                    self.assertEqual(rows[j][i], want, "pixel (%d, %d), pointer %s" % (i, j, on))
            if on:
                self.assertGreater(covered + inverted, 20, "the pointer shows")
            self.assertEqual(app.close(), 0)
            if on:
                with open(app.ini, "rb") as f:
                    self.assertIn(b"[Options]\r\nPointer=1\r\n", f.read())


class PngOnTheClipboard(Options):
    @at_one_scale(120, "the scale plays no part")
    def test_a_second_program_reads_png_with_exactly_the_framed_pixels(self):
        set_pattern_background()
        app = self.start()
        dialog = app.capture(ON_CAMERA)
        path = os.path.join(app.dir, "clip.png")
        info = probe("clipboardpng", windows_path(path))
        self.assertGreater(info["size"], 0)
        self.assertIn(info["format"], probe("clipboard", windows_path(os.path.join(app.dir, "clip.bmp")))["formats"])
        x, y, w, h = AREA
        self.assertEqual(decode_image(path), [[pattern_pixel(x + i, y + j) for i in range(w)] for j in range(h)])
        probe("press", dialog["hwnd"], "#2")


class ChosenHotKeys(Options):
    def hotkey_dialog(self, app):
        self.settings_item(app, 1)  # ホットキー...
        d = app.message_box("ホットキー")
        wait_for(lambda: any(w["foreground"] and w["hwnd"] == d["hwnd"] for w in app.windows()), what="focus")
        time.sleep(0.3)
        return d

    def statuses(self, d):
        children = probe("dialog", d["hwnd"])["children"]
        return [c["text"] for c in children if c["text"] == "他のプログラムが使用中です"]

    def expect_capture_by(self, app, keys):
        probe("settext", "before")
        self.target_in_front()  # where the user works: the keys reach Wine through it
        xdotool("key", keys)
        dialog = app.message_box("ファイルを保存する", timeout=30)
        path = os.path.join(app.dir, "clip.bmp")
        probe("clipboard", windows_path(path))
        x, y, w, h = AREA
        self.assertEqual(read_bmp(path), [[pattern_pixel(x + i, y + j) for i in range(w)] for j in range(h)])
        probe("press", dialog["hwnd"], "#2")
        app.no_dialog()

    @at_one_scale(96, "the scale plays no part")
    def test_a_taken_combination_shows_and_another_one_captures_also_after_a_restart(self):
        set_pattern_background()
        # Another program holds the capture's and the selection's combinations.
        for modifiers in (SHIFT, CONTROL):
            self.addCleanup(probe_async("holdhotkey", modifiers, PRINT_SCREEN, 12))
        time.sleep(2.0)
        app = self.start()
        time.sleep(1.0)
        self.assertFalse([w for w in app.windows() if w["class"] == "#32770"], "no message at start")
        d = self.hotkey_dialog(app)
        self.assertEqual(len(self.statuses(d)), 2, "the capture's and the selection's combinations show as taken")
        xdotool("key", "ctrl+alt+p")  # into the first field, which has the focus
        time.sleep(0.3)
        probe("press", d["hwnd"], "OK")
        app.no_dialog()
        # The dialog's owner takes the focus back as it closes, a moment
        # later: a click on another program before that loses the focus to it.
        wait_for(lambda: app.window("Camera")["foreground"], what="the camera in front after the dialog")
        self.expect_capture_by(app, "ctrl+alt+p")
        self.assertEqual(app.close(), 0)
        with open(app.ini, "rb") as f:
            text = f.read()
        self.assertIn(b"[Options]\r\nPointer=0\r\nCaptureKey=Ctrl+Alt+P\r\nQuickKey=Ctrl+Shift+PrintScreen\r\n"
                      b"SelectCaptureKey=Ctrl+PrintScreen\r\nSelectKey=none\r\n", text)
        again = self.app(ini=text).start()
        again.settled("Frame", [AREA[0], AREA[1], AREA[0] + AREA[2], AREA[1] + AREA[3]])
        self.expect_capture_by(again, "ctrl+alt+p")

    @at_one_scale(120, "the scale plays no part")
    def test_a_combination_refused_is_reported_and_the_previous_one_stays(self):
        set_pattern_background()
        app = self.start()
        d = self.hotkey_dialog(app)
        self.assertEqual(self.statuses(d), [])
        xdotool("key", "ctrl+alt+p")
        time.sleep(0.3)
        # Another program takes it while the dialog is open (once it is held,
        # the keys never reach the field).
        holder = probe_async("holdhotkey", CONTROL | ALT, ord("P"), 8)
        self.addCleanup(holder)
        time.sleep(2.0)
        probe("press", d["hwnd"], "OK")
        time.sleep(1.0)
        self.assertEqual(len(self.statuses(d)), 1, "reported in the dialog, which stays open")
        probe("press", d["hwnd"], "#2")
        app.no_dialog()
        wait_for(lambda: app.window("Camera")["foreground"], what="the camera in front after the dialog")
        self.expect_capture_by(app, "shift+Print")


if __name__ == "__main__":
    main()

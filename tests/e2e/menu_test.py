"""The popup menu, the preview window and the version dialog, through kirasoe.exe."""
import os
import subprocess
import time

from kirasoe_e2e import (DPI, E2ETestCase, main, probe, read_ini, Screen, set_background,
                         set_pattern_background, twips, wait_for, xdotool)

MAIN = (40, 40)
AREA = (200, 120, 64, 40)
GREEN = (0, 255, 0)
LINE = {0: (0, 0, 0), 1: (128, 128, 128), 2: (255, 255, 255)}


def ini(line=1, preview=0, extra=""):
    x, y, w, h = AREA
    return ("[Data]\r\nX=%d\r\nY=%d\r\nSnapX=%d\r\nSnapY=%d\r\nSnapW=%d\r\nSnapH=%d\r\nLineC=%d\r\nPreview=%d\r\n%s"
            % (twips(MAIN[0]), twips(MAIN[1]), twips(x), twips(y), twips(w), twips(h), line, preview, extra))


class Menu(E2ETestCase):
    def start(self, **kwargs):
        app = self.app(ini=ini(**kwargs)).start()
        x, y, w, h = AREA
        app.settled("Frame", [x, y, x + w, y + h])
        return app

    def menus(self, app):
        return [w for w in app.windows() if w["class"] == "#32768" and w["visible"]]

    def open_menu(self, app, on="camera"):
        x, y = (MAIN[0] + 13, MAIN[1] + 10) if on == "camera" else (AREA[0] + 30, AREA[1])
        xdotool("mousemove", x, y)
        time.sleep(0.3)
        xdotool("click", 3)
        return wait_for(lambda: self.menus(app), what="popup menu")[0]

    def choose(self, app, keys, on="camera"):
        self.open_menu(app, on)
        for k in keys:
            xdotool("key", k)
            time.sleep(0.15)

    def frame_colour(self):
        time.sleep(0.4)
        return Screen().pixel(AREA[0] + 15, AREA[1])  # the ring, between two handles

    def checked_colour_row(self, app):
        """Opens the colour submenu and tells which of its three items shows a check mark."""
        self.open_menu(app)
        for k in ("Down", "Right"):
            xdotool("key", k)
            time.sleep(0.2)
        sub = wait_for(lambda: len(self.menus(app)) == 2 and self.menus(app), what="colour submenu")
        sub = max(sub, key=lambda m: m["rect"][0])
        time.sleep(0.3)
        shot = Screen()
        l, tp, r, b = sub["rect"]
        band = (b - tp) / 3.0
        rows = []
        for i in range(3):
            dark = sum(1 for yy in range(int(tp + i * band + 2), int(tp + (i + 1) * band - 2))
                       for xx in range(l + 2, l + 18) if sum(shot.pixel(xx, yy)) < 200)
            rows.append(dark > 3)
        xdotool("key", "Escape")
        xdotool("key", "Escape")
        wait_for(lambda: not self.menus(app), what="menu closed")
        return [i for i, on in enumerate(rows) if on]

    def test_colour_items_repaint_the_frame_and_survive_a_restart(self):
        set_background(GREEN)
        app = self.start(line=1)
        self.assertEqual(self.frame_colour(), LINE[1])
        self.assertEqual(self.checked_colour_row(app), [1])
        for index, on in ((2, "camera"), (0, "frame"), (1, "camera"), (2, "frame")):
            self.choose(app, ["Down", "Right"] + ["Down"] * index + ["Return"], on=on)
            wait_for(lambda: not self.menus(app), what="menu closed")
            self.assertEqual(self.frame_colour(), LINE[index])
        self.assertEqual(self.checked_colour_row(app), [2])
        app.close()
        self.assertEqual(dict(read_ini(app.ini))["LineC"], "2")

        again = self.app(ini=open(app.ini, "rb").read()).start()
        again.settled("Frame", [AREA[0], AREA[1], AREA[0] + AREA[2], AREA[1] + AREA[3]])
        self.assertEqual(self.frame_colour(), LINE[2])
        self.assertEqual(self.checked_colour_row(again), [2])

    def capture_until_dialog(self, app):
        return app.capture((MAIN[0] + 13, MAIN[1] + 10))

    def preview(self, app):
        return next((w for w in app.windows() if w["class"] == "Kirasoe.Preview"), None)

    def test_preview_shows_each_capture_while_the_dialog_is_open(self):
        set_pattern_background()
        app = self.start(preview=0)
        self.choose(app, ["Down", "Down", "Return"])  # プレビューの表示 on
        wait_for(lambda: not self.menus(app), what="menu closed")
        dialog = self.capture_until_dialog(app)
        pv = self.preview(app)
        self.assertTrue(pv["visible"])
        self.assertEqual(pv["client"], [AREA[2], AREA[3]], "client area is the picture's size")
        self.assertEqual(pv["title"], "Kirasoe")
        self.assertFalse(pv["toolwindow"])
        self.assertEqual(pv["rect"][:2], [0, 0], "no position stored yet")
        probe("move", pv["hwnd"], 300, 260)  # the user moves it meanwhile
        probe("press", dialog["hwnd"], "#2")  # cancel
        app.no_dialog()
        wait_for(lambda: not self.preview(app)["visible"], what="preview hidden after cancel")

        out = os.path.join(app.dir, "pv")
        os.makedirs(out)
        self.capture_until_dialog(app)
        wait_for(lambda: any(w["foreground"] and w["title"] == "ファイルを保存する" for w in app.windows()),
                 what="dialog focus")
        time.sleep(0.5)
        self.assertEqual(self.preview(app)["rect"][:2], [300, 260], "opens where it was left")
        xdotool("type", "--delay", 40, "Z:" + out.replace("/", "\\") + "\\pic")
        xdotool("key", "Return")
        wait_for(lambda: os.path.exists(os.path.join(out, "pic.bmp")), what="saved")
        wait_for(lambda: not self.preview(app)["visible"], what="preview hidden after saving")

        # 終了: everything is written, the preview's position too.
        self.choose(app, ["Up", "Return"])
        self.assertEqual(app.wait_exit(), 0)
        values = dict(read_ini(app.ini))
        # Keys that were in the file keep their place; new ones follow.
        self.assertEqual(sorted(values), sorted(["X", "Y", "SnapX", "SnapY", "SnapW", "SnapH", "LFName", "LFPath",
                                                 "LFType", "LineC", "Preview", "X2", "Y2"]))
        self.assertEqual(values["Preview"], "1")
        self.assertEqual((values["X2"], values["Y2"]), (str(twips(300)), str(twips(260))))

        again = self.app(ini=open(app.ini, "rb").read()).start()
        again.settled("Frame", [AREA[0], AREA[1], AREA[0] + AREA[2], AREA[1] + AREA[3]])
        self.capture_until_dialog(again)
        self.assertEqual(self.preview(again)["rect"][:2], [300, 260])


class VersionDialog(E2ETestCase):
    """With a window manager, which honours the topmost band on screen."""

    def setUp(self):
        self.wm = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: (self.wm.terminate(), self.wm.wait()))
        time.sleep(1.0)

    def dialog(self, app):
        return wait_for(lambda: next((w for w in app.windows() if w["class"] == "Kirasoe.Version"
                                      and w["visible"]), None), what="version dialog")

    def open_version(self, app):
        Menu.choose(self, app, ["Up", "Up", "Return"])
        return self.dialog(app)

    def menus(self, app):
        return Menu.menus(self, app)

    def open_menu(self, app, on="camera"):
        return Menu.open_menu(self, app, on)

    def test_opens_centred_above_everything_and_closes_every_way(self):
        app = self.app(ini=ini()).start()
        app.window("Frame")
        m = self.metrics
        for close in ("Escape", "Return", "box"):
            d = self.open_version(app)
            self.assertEqual(d["title"], "バージョン情報")
            self.assertTrue(d["topmost"])
            # 3945 x 1125 twips: 263 x 75 pixels at 96 dpi; at 120, 328.75 x 93.75
            # in whole pixels, as every window is placed: 328 x 93.
            self.assertEqual(d["client"], {96: [263, 75], 120: [328, 93]}[DPI])
            frame = app.window("Frame")
            self.assertLess(d["z"], frame["z"], "above the frame")
            cx, cy = (d["rect"][0] + d["rect"][2]) / 2, (d["rect"][1] + d["rect"][3]) / 2
            self.assertLessEqual(abs(cx - m["cx"] / 2), 1)
            self.assertLessEqual(abs(cy - m["cy"] / 2), 1)
            self.assertFalse(app.window("Camera")["enabled"], "modal")
            probe("move", d["hwnd"], 10, 10)  # moved away; it opens centred again
            if close == "box":
                probe("close", d["hwnd"])
            else:
                wait_for(lambda: any(w["foreground"] and w["class"] == "Kirasoe.Version" for w in app.windows()),
                         what="dialog focus")
                xdotool("key", close)
            wait_for(lambda: not any(w["class"] == "Kirasoe.Version" for w in app.windows()), what="closed")
            self.assertTrue(app.window("Camera")["enabled"])


if __name__ == "__main__":
    main()

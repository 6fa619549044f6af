"""The save flow through kirasoe.exe: the dialog, the six file types, what is
remembered, cancel, the overwrite question and a failed write."""
import math
import os
import subprocess
import time

from kirasoe_e2e import (at_one_scale, decode_image, E2ETestCase, main, pattern_pixel, probe, read_ini,
                         set_pattern_background, twips, wait_for, windows_path, xdotool)

MAIN = (40, 40)
TITLE = "ファイルを保存する"
TYPES = ["BMPﾌｧｲﾙ(*.BMP)", "GIFﾌｧｲﾙ(*.GIF)", "JPEG(High)ﾌｧｲﾙ(*.JPG)", "JPEG(Mid)ﾌｧｲﾙ(*.JPG)",
         "JPEG(Low)ﾌｧｲﾙ(*.JPG)", "PNGﾌｧｲﾙ(*.PNG)"]
EXT = [".bmp", ".gif", ".jpg", ".jpg", ".jpg", ".png"]


def psnr(a, b):
    se = n = 0
    for ra, rb in zip(a, b):
        for pa, pb in zip(ra, rb):
            for ca, cb in zip(pa, pb):
                se += (ca - cb) ** 2
                n += 1
    return 99 if se == 0 else 10 * math.log10(255 * 255 * n / se)


class Save(E2ETestCase):
    def start(self, area, lftype=0, lfname="prev", folder=None):
        set_pattern_background()
        x, y, w, h = area
        self.folder = folder
        ini = ("[Data]\r\nX=%d\r\nY=%d\r\nSnapX=%d\r\nSnapY=%d\r\nSnapW=%d\r\nSnapH=%d\r\nLineC=0\r\n"
               "LFType=%d\r\nLFName=%s\r\n" % (twips(MAIN[0]), twips(MAIN[1]), twips(x), twips(y), twips(w), twips(h), lftype, lfname))
        app = self.app(ini=ini)
        self.folder = os.path.join(app.dir, "out")
        os.makedirs(self.folder)
        with open(app.ini, "ab") as f:
            f.write(("LFPath=%s\r\n" % windows_path(self.folder)).encode("cp932"))
        app.start()
        app.settled("Frame", [x, y, x + w, y + h])
        return app

    def capture(self, app):
        dialog = app.capture((MAIN[0] + 13, MAIN[1] + 10))
        wait_for(lambda: any(w["foreground"] and w["title"] == TITLE for w in app.windows()), what="dialog focus")
        time.sleep(0.5)  # keys sent before the dialog has settled are lost
        return dialog

    def dialog_texts(self, dialog):
        return [c["text"] for c in probe("dialog", dialog["hwnd"])["children"]]

    def save_as(self, app, name):
        self.capture(app)
        xdotool("type", "--delay", 40, name)
        xdotool("key", "Return")

    def expect_pixels(self, path, area, exact=True, min_psnr=None):
        x, y, w, h = area
        rows = wait_for(lambda: os.path.exists(path) and decode_image(path), what=path)
        self.assertEqual((len(rows[0]), len(rows)), (w, h))
        want = [[pattern_pixel(x + i, y + j) for i in range(w)] for j in range(h)]
        if exact:
            self.assertEqual(rows, want)
        else:
            self.assertGreater(psnr(rows, want), min_psnr)

    def test_each_type_writes_its_file_with_its_extension(self):
        qualities = {2: 100, 3: 50, 4: 20}
        for lftype in [int(v) for v in os.environ.get("KIRASOE_TYPES", "0 1 2 3 4 5").split()]:
            with self.subTest(type=TYPES[lftype]):
                # At most 256 colours for the GIF, so that it is exact.
                area = (200, 120, 16, 16) if lftype == 1 else (200, 120, 100, 50)
                app = self.start(area, lftype=lftype)
                dialog = self.capture(app)
                self.assertIn(TYPES[lftype], self.dialog_texts(dialog), "the last type is preselected")
                xdotool("type", "--delay", 40, "shot")
                xdotool("key", "Return")
                path = os.path.join(self.folder, "shot" + EXT[lftype])
                if lftype in qualities:
                    self.expect_pixels(path, area, exact=False, min_psnr={100: 35, 50: 12, 20: 10}[qualities[lftype]])
                    q = subprocess.run(["identify", "-format", "%Q", path], capture_output=True, text=True).stdout
                    self.assertEqual(int(q), qualities[lftype])
                else:
                    self.expect_pixels(path, area)
                app.no_dialog()
                app.close()
                values = dict(read_ini(app.ini))
                self.assertEqual((values["LFName"], values["LFPath"], values["LFType"]),
                                 ("shot", windows_path(self.folder), str(lftype)))
                app.cleanup()

    @at_one_scale(96, "the scale plays no part")
    def test_the_next_dialog_opens_with_the_last_choice_and_cancel_changes_nothing(self):
        area = (200, 120, 40, 30)
        app = self.start(area, lftype=0)
        self.save_as(app, "first.png")  # BMP chosen: "first.png.bmp"
        self.expect_pixels(os.path.join(self.folder, "first.png.bmp"), area)
        app.no_dialog()
        dialog = self.capture(app)
        texts = self.dialog_texts(dialog)
        self.assertIn("first.png", texts)
        self.assertIn(TYPES[0], texts)
        xdotool("key", "Escape")
        app.no_dialog()
        app.close()
        values = dict(read_ini(app.ini))
        self.assertEqual((values["LFName"], values["LFType"]), ("first.png", "0"))
        self.assertEqual(sorted(os.listdir(self.folder)), ["first.png.bmp"])

    @at_one_scale(120, "the scale plays no part")
    def test_a_name_the_extension_completes_is_not_overwritten_without_asking(self):
        area = (200, 120, 40, 30)
        app = self.start(area, lftype=5)
        existing = os.path.join(self.folder, "shot.png")
        with open(existing, "wb") as f:
            f.write(b"keep me")
        self.save_as(app, "shot")
        box = wait_for(lambda: next((w for w in app.windows() if w["class"] == "#32770" and w["visible"]
                                     and w["title"] == "Kirasoe"), None), what="overwrite question")
        self.assertIn("shot.png は既に存在します。\n上書きしますか？", self.dialog_texts(box))
        probe("press", box["hwnd"], "#7")  # No
        app.no_dialog()
        with open(existing, "rb") as f:
            self.assertEqual(f.read(), b"keep me")
        app.close()
        values = dict(read_ini(app.ini))
        self.assertEqual((values["LFName"], values["LFType"]), ("prev", "5"))

    @at_one_scale(96, "the scale plays no part")
    def test_a_failed_write_is_reported(self):
        area = (200, 120, 40, 30)
        app = self.start(area, lftype=5)
        os.makedirs(os.path.join(self.folder, "shot.png"))  # a folder where the file should go
        self.save_as(app, "shot")
        question = wait_for(lambda: next((w for w in app.windows() if w["class"] == "#32770" and w["visible"]
                                          and w["title"] == "Kirasoe"), None), what="overwrite question")
        probe("press", question["hwnd"], "#6")  # Yes
        box = wait_for(lambda: next((w for w in app.windows() if w["class"] == "#32770" and w["visible"]
                                     and w["title"] == "Kirasoe" and w["hwnd"] != question["hwnd"]), None),
                       what="failure message")
        expected = "ファイルを保存できませんでした。\n" + windows_path(os.path.join(self.folder, "shot.png")) + "\n"
        message = next((t for t in self.dialog_texts(box) if t.startswith(expected)), None)
        self.assertIsNotNone(message, "the path, and then why: %r" % self.dialog_texts(box))
        self.assertGreater(len(message), len(expected))
        probe("press", box["hwnd"], "#1")
        app.no_dialog()
        self.assertTrue(os.path.isdir(os.path.join(self.folder, "shot.png")))


if __name__ == "__main__":
    main()

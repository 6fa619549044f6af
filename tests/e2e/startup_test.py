"""Start-up and exit of kirasoe.exe: first start, restore, missing library."""
import os
import time

from kirasoe_e2e import DPI, TPP, E2ETestCase, main, probe, read_ini, wait_for

KEYS = ["X", "Y", "SnapX", "SnapY", "SnapW", "SnapH", "LFName", "LFPath", "LFType", "LineC", "Preview"]


# The first start on the harness's 1280 x 1024 screen, worked out by hand:
# at 96 dpi the camera (420 x 375 twips = 28 x 25) is centred at
# (19200 - 420) / 2 = 9390 twips = 626 pixels across and (15810 - 375) / 2 =
# 7717.5 twips, 514 pixels, down the usable height ((1035 + 19) pixels); at
# 120 dpi it is 35 x 31 at 7470 twips = 622 and 6196.5 twips = 516 ((1040 + 24)
# pixels high). The frame is 32 x 32 pixels, 32 pixels right of the camera.
FIRST_START = {
    96: {"camera": [626, 514, 654, 539], "frame": [658, 514, 690, 546],
         "ini": [("X", "9390"), ("Y", "7710"), ("SnapX", "9870"), ("SnapY", "7710"), ("SnapW", "480"),
                 ("SnapH", "480")]},
    120: {"camera": [622, 516, 657, 547], "frame": [654, 516, 686, 548],
          "ini": [("X", "7464"), ("Y", "6192"), ("SnapX", "7848"), ("SnapY", "6192"), ("SnapW", "384"),
                  ("SnapH", "384")]},
}[DPI]


class StartUp(E2ETestCase):
    def setUp(self):
        m = self.metrics
        self.assertEqual((m["cx"], m["cy"]), (1280, 1024), "the screen the expectations were worked out for")

    def test_first_start_centres_the_window_and_puts_the_frame_beside_it(self):
        app = self.app().start()
        frame = app.settled("Frame", FIRST_START["frame"])
        self.assertTrue(frame["topmost"])
        main_win = app.settled("Camera", FIRST_START["camera"])
        self.assertTrue(main_win["topmost"])
        self.assertTrue(main_win["toolwindow"], "no taskbar button")
        self.assertEqual(main_win["title"], "Kirasoe")
        self.assertFalse(os.path.exists(app.ini), "nothing is written before exit")

        self.assertEqual(app.close(), 0)
        self.assertEqual(read_ini(app.ini), FIRST_START["ini"] + [("LFType", "0"), ("LineC", "1"), ("Preview", "0")])

    def test_stored_settings_are_restored_and_written_back(self):
        t = lambda px: int(px * TPP)
        ini = ("[Data]\r\nX=%d\r\nY=%d\r\nSnapX=%d\r\nSnapY=%d\r\nSnapW=%d\r\nSnapH=%d\r\n"
               "LFName=  画像 1  \r\nLFPath=Z:\\tmp\\ｷｬﾌﾟﾁｬ\r\nLFType=4\r\nLineC=2.5\r\nPreview=-1\r\n"
               % (t(100), t(60), t(200), t(120), t(100), t(50)))
        app = self.app(ini=ini).start()
        app.settled("Frame", [200, 120, 300, 170])
        r = app.window("Camera")["rect"]
        app.settled("Camera", [100, 60, 100 + r[2] - r[0], 60 + r[3] - r[1]])
        self.assertEqual(app.close(), 0)
        self.assertEqual(dict(read_ini(app.ini)), {
            "X": str(t(100)), "Y": str(t(60)), "SnapX": str(t(200)), "SnapY": str(t(120)),
            "SnapW": str(t(100)), "SnapH": str(t(50)), "LFName": "画像 1", "LFPath": "Z:\\tmp\\ｷｬﾌﾟﾁｬ",
            "LFType": "4", "LineC": "2", "Preview": "1"})
        self.assertEqual([k for k, _ in read_ini(app.ini)], KEYS, "keys in exit order")

    def test_blank_x_means_first_start_even_with_other_keys(self):
        app = self.app(ini="[Data]\r\nX=   \r\nSnapX=15\r\nSnapW=1500\r\nSnapH=1500\r\nLineC=0\r\n").start()
        app.settled("Frame", FIRST_START["frame"])
        app.settled("Camera", FIRST_START["camera"])
        app.close()
        self.assertEqual(dict(read_ini(app.ini))["LineC"], "1")

    def test_a_number_too_large_for_32_bits_reads_as_a_missing_key(self):
        app = self.app(ini="[Data]\r\nX=1500\r\nY=1500\r\nSnapX=12345678901\r\nSnapY=300\r\n"
                           "SnapW=%d\r\nSnapH=%d\r\n" % (int(40 * TPP), int(30 * TPP))).start()
        app.settled("Frame", [0, round(300 / TPP), 40, round(300 / TPP) + 30])
        self.assertFalse(any(w["class"] == "#32770" for w in app.windows()), "no message box")
        app.close()
        values = dict(read_ini(app.ini))
        self.assertEqual(values["SnapX"], "0")
        self.assertEqual(values["SnapW"], str(int(40 * TPP)))

    def test_missing_image_library_reports_and_ends_without_writing(self):
        original = b"[Data]\r\nX=1500\r\nY=1500\r\nLineC=7\r\n"
        app = self.app(ini=original, with_dll=False).start()
        box = app.message_box()
        self.assertEqual(box["title"], "Kirasoe")
        dialog = probe("dialog", box["hwnd"])
        texts = [c["text"] for c in dialog["children"]]
        self.assertIn("imgctl.dllが組み込まれていません。", texts)
        buttons = [c["text"] for c in dialog["children"] if c["class"].lower() == "button"]
        self.assertEqual(buttons, ["OK"])
        self.assertFalse(any(w["class"].startswith("Kirasoe.") and w["visible"] for w in app.windows()),
                         "no window is shown before the library is found")
        probe("press", box["hwnd"], "OK")
        self.assertEqual(app.wait_exit(), 0)
        with open(app.ini, "rb") as f:
            self.assertEqual(f.read(), original)

    def test_an_image_library_that_cannot_be_loaded_is_said_with_the_reason(self):
        original = b"[Data]\r\nX=1500\r\nY=1500\r\n"
        app = self.app(ini=original, with_dll=False)
        with open(os.path.join(app.dir, "imgctl.dll"), "wb") as f:
            f.write(b"not a library at all")
        app.start()
        box = app.message_box()
        text = "\n".join(c["text"] for c in probe("dialog", box["hwnd"])["children"] if c["text"] and c["text"] != "OK")
        lines = text.split("\n")
        self.assertEqual(lines[0], "imgctl.dllが組み込まれていません。", lines)
        self.assertTrue(lines[1].endswith("\\imgctl.dll"), lines)
        self.assertGreaterEqual(len(lines), 3, "the system's reason follows: %s" % lines)
        probe("press", box["hwnd"], "OK")
        self.assertEqual(app.wait_exit(), 0)
        with open(app.ini, "rb") as f:
            self.assertEqual(f.read(), original)
        with open(os.path.join(app.dir, "kirasoe.log"), encoding="utf-8") as f:
            self.assertIn("image library: ", f.read())


if __name__ == "__main__":
    main()

"""Start-up and exit of kirasoe.exe: first start, restore, missing library."""
import os
import time

from kirasoe_e2e import DPI, TPP, E2ETestCase, main, probe, read_ini, wait_for

KEYS = ["X", "Y", "SnapX", "SnapY", "SnapW", "SnapH", "LFName", "LFPath", "LFType", "LineC", "Preview"]


def half_even(v):
    return round(v)  # Python rounds ties to even


class StartUp(E2ETestCase):
    def expected_first_start(self):
        m = self.metrics
        width, height = half_even(420 / TPP), half_even(375 / TPP)
        screen_w = m["cx"] * TPP
        usable_h = half_even((m["cyfullscreen"] + m["cycaption"]) * TPP)
        left = half_even((screen_w - width * TPP) / 2 / TPP)
        top = half_even((usable_h - height * TPP) / 2 / TPP)
        return left, top, width, height

    def test_first_start_centres_the_window_and_puts_the_frame_beside_it(self):
        app = self.app().start()
        left, top, width, height = self.expected_first_start()
        frame = app.settled("Form3", [left + 32, top, left + 64, top + 32])
        self.assertTrue(frame["topmost"])
        main_win = app.settled("Form1", [left, top, left + width, top + height])
        self.assertTrue(main_win["topmost"])
        self.assertTrue(main_win["toolwindow"], "no taskbar button")
        self.assertEqual(main_win["title"], "Kirasoe")
        self.assertFalse(os.path.exists(app.ini), "nothing is written before exit")

        self.assertEqual(app.close(), 0)
        lines = read_ini(app.ini)
        tw = int(round(32 * TPP))
        self.assertEqual(lines, [
            ("X", str(int(left * TPP))), ("Y", str(int(top * TPP))),
            ("SnapX", str(int(left * TPP) + tw)), ("SnapY", str(int(top * TPP))),
            ("SnapW", str(tw)), ("SnapH", str(tw)),
            ("LFType", "0"), ("LineC", "1"), ("Preview", "0"),
        ])

    def test_stored_settings_are_restored_and_written_back(self):
        t = lambda px: int(px * TPP)
        ini = ("[Data]\r\nX=%d\r\nY=%d\r\nSnapX=%d\r\nSnapY=%d\r\nSnapW=%d\r\nSnapH=%d\r\n"
               "LFName=  画像 1  \r\nLFPath=Z:\\tmp\\ｷｬﾌﾟﾁｬ\r\nLFType=4\r\nLineC=2.5\r\nPreview=-1\r\n"
               % (t(100), t(60), t(200), t(120), t(100), t(50)))
        app = self.app(ini=ini).start()
        app.settled("Form3", [200, 120, 300, 170])
        r = app.window("Form1")["rect"]
        app.settled("Form1", [100, 60, 100 + r[2] - r[0], 60 + r[3] - r[1]])
        self.assertEqual(app.close(), 0)
        self.assertEqual(dict(read_ini(app.ini)), {
            "X": str(t(100)), "Y": str(t(60)), "SnapX": str(t(200)), "SnapY": str(t(120)),
            "SnapW": str(t(100)), "SnapH": str(t(50)), "LFName": "画像 1", "LFPath": "Z:\\tmp\\ｷｬﾌﾟﾁｬ",
            "LFType": "4", "LineC": "2", "Preview": "1"})
        self.assertEqual([k for k, _ in read_ini(app.ini)], KEYS, "keys in exit order")

    def test_blank_x_means_first_start_even_with_other_keys(self):
        app = self.app(ini="[Data]\r\nX=   \r\nSnapX=15\r\nSnapW=1500\r\nSnapH=1500\r\nLineC=0\r\n").start()
        left, top, width, height = self.expected_first_start()
        app.settled("Form3", [left + 32, top, left + 64, top + 32])
        app.settled("Form1", [left, top, left + width, top + height])
        app.close()
        self.assertEqual(dict(read_ini(app.ini))["LineC"], "1")

    def test_a_number_too_large_for_32_bits_reads_as_a_missing_key(self):
        app = self.app(ini="[Data]\r\nX=1500\r\nY=1500\r\nSnapX=12345678901\r\nSnapY=300\r\n"
                           "SnapW=%d\r\nSnapH=%d\r\n" % (int(40 * TPP), int(30 * TPP))).start()
        app.settled("Form3", [0, round(300 / TPP), 40, round(300 / TPP) + 30])
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


if __name__ == "__main__":
    main()

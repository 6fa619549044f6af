"""Kirasoe on a Windows whose language is not Japanese (a Wine prefix with an
English locale): the menu and its submenus, a dialog and a message in
English, a capture saved; then 設定 ▸ 表示言語 ▸ 日本語 turns the next dialog
Japanese without a restart, and the choice is kept in [Options]."""
import difflib
import os
import subprocess
import time

from kirasoe_e2e import (LOCALE, E2ETestCase, main, probe, twips, wait_for, xdotool)

CAMERA = (53, 50)
AREA = (200, 120, 100, 50)


def words_on_screen(rect):
    """The words in `rect` of the screen, as OCR reads them (the menu's
    texts are drawn, not kept in windows another program can read)."""
    x0, y0, x1, y1 = rect
    shot = subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (x1 - x0, y1 - y0, x0, y0),
                           "+repage", "-colorspace", "Gray", "-resize", "400%", "png:-"],
                          capture_output=True, check=True, timeout=30).stdout
    out = subprocess.run(["tesseract", "stdin", "stdout", "--psm", "6"], input=shot, capture_output=True,
                         check=True, timeout=60).stdout.decode("utf-8", "replace")
    return [line.strip() for line in out.splitlines() if line.strip()]


class English(E2ETestCase):
    def setUp(self):
        if LOCALE != "english":
            self.skipTest("runs in the English prefix (KIRASOE_LOCALE=english)")

    def start(self):
        x, y, w, h = AREA
        ini = ("[Data]\r\nX=%d\r\nY=%d\r\nSnapX=%d\r\nSnapY=%d\r\nSnapW=%d\r\nSnapH=%d\r\nLFType=5\r\nLFName=shot\r\n"
               % (twips(40), twips(40), twips(x), twips(y), twips(w), twips(h)))
        app = self.app_saving_to(ini, "out").start()
        app.settled("Frame", [x, y, x + w, y + h])
        return app

    def expect_menu(self, app, count, phrases):
        menus = wait_for(lambda: len(app.menus()) == count and app.menus(), what="%d menus" % count)
        time.sleep(0.4)
        lines = words_on_screen(max(menus, key=lambda m: m["rect"][0])["rect"])
        # The submenu arrows and check marks read as stray signs at either end.
        lines = [line.strip(" >»<«v¥~-—").lower() for line in lines]
        for phrase in phrases:
            best = max((difflib.SequenceMatcher(None, phrase.lower(), line).ratio() for line in lines), default=0)
            self.assertGreaterEqual(best, 0.75, "%r not in the menu: %s" % (phrase, lines))

    def keys(self, *keys):
        for k in keys:
            xdotool("key", k)
            time.sleep(0.15)

    def test_menus_dialog_message_and_capture_in_english_then_japanese_without_a_restart(self):
        app = self.start()
        app.open_menu([], CAMERA)
        self.expect_menu(app, 1, ["Line Colour", "Show Preview", "Frame", "Settings", "About Kirasoe", "Exit"])
        self.keys("Down", "Down", "Down", "Right")
        # The first item is highlighted, which OCR reads poorly.
        self.expect_menu(app, 2, ["Select Area and Capture", "Capture in 3 Seconds", "Capture on Change", "Capture at Intervals",
                                  "Start Recording", "Recording Frame Rate", "Position and Size...",
                                  "Fit to Window", "Save This Frame..."])
        self.keys("Left", "Down", "Right")
        self.expect_menu(app, 2, ["Hotkeys...", "Language", "Edit After Capture"])
        self.keys("Escape", "Escape")
        wait_for(lambda: not app.menus(), what="menu closed")
        # A dialog and a message.
        app.open_menu(["Down"] * 3 + ["Right"] + ["Down"] * 9 + ["Return"], CAMERA)
        dialog = app.message_box("Position and Size")
        texts = [c["text"] for c in probe("dialog", dialog["hwnd"])["children"]]
        for text in ("X:", "Y:", "Width:", "Height:", "OK", "Cancel"):
            self.assertIn(text, texts)
        probe("fill", dialog["hwnd"], "abc")  # X
        probe("press", dialog["hwnd"], "#1")
        box = app.message_box("Kirasoe")
        texts = [c["text"] for c in probe("dialog", box["hwnd"])["children"]]
        self.assertIn("Enter a whole number from -32768 to 32767 for X.", texts)
        probe("press", box["hwnd"], "#1")
        wait_for(lambda: not any(w["hwnd"] == box["hwnd"] and w["visible"] for w in app.windows()),
                 what="message closed")
        probe("press", dialog["hwnd"], "#2")
        app.no_dialog()
        # A capture, saved through the dialog in English.
        app.capture(CAMERA, title="Save As")
        xdotool("key", "Return")
        path = os.path.join(app.folder, "shot.png")
        wait_for(lambda: os.path.exists(path) and os.path.getsize(path) > 0, what=path)
        app.no_dialog()
        # 設定 ▸ 表示言語 ▸ 日本語: the next dialog is Japanese.
        app.open_menu(["Down"] * 4 + ["Right", "Down", "Down", "Right", "Down", "Return"], CAMERA)
        wait_for(lambda: not app.menus(), what="menu closed")
        app.open_menu(["Down"] * 3 + ["Right"] + ["Down"] * 9 + ["Return"], CAMERA)
        dialog = app.message_box("位置とサイズ")
        probe("press", dialog["hwnd"], "#2")
        app.no_dialog()
        self.assertEqual(app.close(), 0)
        with open(app.ini, "rb") as f:
            self.assertIn(b"[Options]\r\n", f.read())
        with open(app.ini, "rb") as f:
            self.assertIn("Language=ja\r\n", f.read().decode("cp932"))


if __name__ == "__main__":
    main()

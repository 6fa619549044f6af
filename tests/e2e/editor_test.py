"""The editor through kirasoe.exe: a capture marked with each tool and saved,
hidden boxes in every file type, undo and redo, 閉じる, コピー, and masks kept
with the frame and applied to quick captures, watch pictures and recordings."""
import os
import subprocess
import tempfile
import time

from kirasoe_e2e import (BIN, decode_image, drag, E2ETestCase, main, pattern_pixel, probe, quick_capture, read_bmp,
                         Screen, set_pattern_background, wait_for, windows_path, xdotool)

CAMERA = (53, 50)
AREA = (200, 150, 300, 200)
RED = (255, 0, 0)
EDIT_AFTER = "[Options]\r\nEditAfterCapture=1\r\n"
SAVE_TITLE = "ファイルを保存する"


def half_red_over(p):
    """The highlighter's red at half strength over pixel `p`."""
    return ((255 + p[0] + 1) // 2, (p[1] + 1) // 2, (p[2] + 1) // 2)


class Editing(E2ETestCase):
    """Starting the program with the editor on, opening it, drawing in it, saving."""

    def start(self, area=AREA, lftype=5, sections=EDIT_AFTER, wm=False, data=""):
        set_pattern_background()
        self.wm = wm
        if wm:
            self.window_manager()
        return self.app_framing(area, data="LFName=shot\r\n" + data, sections=sections, lftype=lftype)

    def open_editor(self, app):
        """Double-clicks the camera and returns the editor's client origin."""
        xdotool("mousemove", CAMERA[0], CAMERA[1] + 20)
        time.sleep(0.2)
        xdotool("mousemove", *CAMERA)
        time.sleep(0.4)
        xdotool("click", "--repeat", 2, "--delay", 60, 1)
        # Without a window manager the capture's windows stepping aside and
        # back take Wine up to a second each: the editor shows after 4-6 s.
        editor = wait_for(lambda: next((w for w in app.windows() if w["class"] == "Kirasoe.Editor"
                                        and w["visible"] and w["foreground"]), None),
                          timeout=30, what="the editor in front")
        self.origin = tuple(editor["clientAt"])
        if self.wm:
            # Keys sent before the window manager has given it the keyboard are lost.
            wait_for(lambda: subprocess.run(["xdotool", "getwindowfocus", "getwindowname"], capture_output=True,
                                            text=True).stdout.strip() == "編集", what="the editor has the keyboard")
        # The pointer rests over the picture, where keys go without a window manager too.
        self.move(5, 5)
        time.sleep(0.3)
        if not self.wm:
            # Without a window manager Wine takes keys for a new window only
            # after a click in it; a click with the rectangle draws nothing.
            xdotool("click", 1)
            time.sleep(0.3)
        return self.origin

    def move(self, x, y):
        xdotool("mousemove", self.origin[0] + x, self.origin[1] + y)

    def key(self, *keys):
        for k in keys:
            xdotool("key", k)
            time.sleep(0.15)

    def draw(self, tool, *points):
        self.key(tool)
        drag([(self.origin[0] + x, self.origin[1] + y) for x, y in points])

    def click(self, tool, x, y):
        self.key(tool)
        self.move(x, y)
        time.sleep(0.2)
        xdotool("click", 1)
        time.sleep(0.3)

    def save(self, app, name, again=True):
        if again:
            self.key("ctrl+s")
        # The name filled in and 保存 clicked as a user does: without a window
        # manager typed keys go to whatever window is under the pointer.
        dialog = app.message_box(SAVE_TITLE)
        wait_for(lambda: any(w["foreground"] and w["title"] == SAVE_TITLE for w in app.windows()), what="dialog focus")
        probe("fill", dialog["hwnd"], name)
        probe("press", dialog["hwnd"], "#1")

    def saved(self, app, name):
        path = os.path.join(app.folder, name)
        return wait_for(lambda: os.path.exists(path) and os.path.getsize(path) > 0 and decode_image(path), what=path)

    def original(self, x, y, area=AREA):
        return pattern_pixel(area[0] + x, area[1] + y)

    def changed(self, rows, area=AREA, offset=(0, 0)):
        """The pixels that are not the capture's: {(x, y): rgb}."""
        return {(x, y): p for y, row in enumerate(rows) for x, p in enumerate(row)
                if p != self.original(x + offset[0], y + offset[1], area)}

    def clipboard(self):
        path = tempfile.mktemp(suffix=".bmp", dir=os.path.join(os.path.dirname(BIN), ""))
        probe("clipboard", windows_path(path))
        try:
            return read_bmp(path)
        finally:
            os.unlink(path)



class Editor(Editing):
    def test_each_tool_draws_where_it_was_used_and_nowhere_else(self):
        app = self.start()
        self.open_editor(app)
        self.draw("r", (10, 10), (60, 40))
        self.draw("l", (80, 10), (130, 10))
        self.draw("a", (80, 40), (130, 40))
        self.draw("p", (150, 10), (170, 30), (190, 10))
        self.draw("h", (10, 60), (100, 60))
        self.click("b", 0, 0)  # a click with a box tool draws nothing
        self.draw("b", (10, 100), (60, 130))
        self.click("n", 230, 60)
        self.click("n", 270, 60)
        self.click("t", 150, 60)  # typed where it goes, kept with Enter
        xdotool("type", "--delay", 60, "AbC")
        xdotool("key", "Return")
        time.sleep(0.3)
        self.click("t", 150, 150)  # and dropped with Esc
        xdotool("type", "--delay", 60, "gone")
        xdotool("key", "Escape")
        time.sleep(0.3)
        self.move(5, 5)
        shown = Screen()
        self.save(app, "marked")
        rows = self.saved(app, "marked.png")
        self.assertEqual((len(rows[0]), len(rows)), (AREA[2], AREA[3]))
        # What the editor showed at 100 % is the file, pixel for pixel.
        ox, oy = self.origin
        self.assertEqual([[shown.pixel(ox + x, oy + y) for x in range(AREA[2])] for y in range(AREA[3])], rows)
        # Width 3: a line covers the pixel drawn and one on each side.
        for x, y in [(10, 10), (60, 40), (35, 10), (35, 11), (11, 25), (60, 25)]:
            self.assertEqual(rows[y][x], RED, ("rectangle", x, y))
        self.assertEqual(rows[25][35], self.original(35, 25), "a rectangle is not filled")
        for x in (80, 100, 130):
            self.assertEqual(rows[10][x], RED, ("line", x))
            self.assertEqual(rows[9][x], RED, ("line", x))
        self.assertEqual(rows[13][100], self.original(100, 13))
        self.assertEqual(rows[40][100], RED, "arrow")
        # Its head: 18 pixels back from the tip at 30 degrees either side.
        self.assertEqual(rows[31][114], RED, "arrow's head")
        self.assertEqual(rows[49][114], RED, "arrow's head")
        for x, y in [(150, 10), (160, 20), (170, 30), (180, 20), (190, 10)]:
            self.assertEqual(rows[y][x], RED, ("pen", x, y))
        for x in (10, 50, 100):
            self.assertEqual(rows[60][x], half_red_over(self.original(x, 60)), ("highlighter", x))
        for x, y in [(10, 100), (35, 115), (60, 130)]:
            self.assertEqual(rows[y][x], RED, ("hidden", x, y))
        # A disc of radius 14 at width 3, its figure in white.
        for cx in (230, 270):
            self.assertEqual(rows[60][cx - 13], RED, ("number", cx))
            self.assertEqual(rows[60][cx - 15], self.original(cx - 15, 60))
            self.assertIn((255, 255, 255), [rows[y][x] for y in range(52, 69) for x in range(cx - 6, cx + 7)])
        # Text 24 pixels high in red, from where it was clicked.
        text = [(x, y) for y in range(60, 84) for x in range(150, 200) if rows[y][x] == RED]
        self.assertGreater(len(text), 20, "the letters are drawn")
        self.assertGreaterEqual(min(x for x, _ in text), 150)
        # Every other pixel is the capture's.
        boxes = [(8, 8, 63, 43), (78, 8, 133, 12), (78, 20, 133, 60), (148, 8, 192, 32), (8, 58, 102, 62),
                 (10, 100, 61, 131), (216, 46, 245, 75), (256, 46, 285, 75), (150, 60, 215, 84)]
        for (x, y) in self.changed(rows):
            self.assertTrue(any(l <= x < r and t <= y < b for l, t, r, b in boxes), ("stray pixel", x, y))
        app.no_dialog()

    def test_undo_redo_a_crop_and_the_preview_of_what_is_saved(self):
        app = self.start(data="Preview=1\r\n")
        self.open_editor(app)
        self.draw("r", (10, 10), (60, 40))
        self.draw("l", (80, 10), (130, 10))
        self.key("ctrl+z", "ctrl+z", "ctrl+y")  # the rectangle is back, the line is not
        self.draw("c", (5, 5), (150, 100))
        self.key("ctrl+s")
        self.assertEqual(app.window("Preview")["client"], [146, 96], "the preview shows the cropped picture")
        self.save(app, "undone", again=False)
        rows = self.saved(app, "undone.png")
        self.assertEqual((len(rows[0]), len(rows)), (146, 96), "the crop keeps both corners")
        self.assertEqual(rows[5][5], RED)
        self.assertEqual(rows[5][80], self.original(85, 10), "the line was undone")
        self.assertEqual(set(self.changed(rows, offset=(5, 5))) - {
            (x, y) for y in range(3, 38) for x in range(3, 58)}, set())

    def test_a_mark_selected_moved_resized_and_deleted(self):
        app = self.start()
        self.open_editor(app)
        self.draw("r", (10, 10), (60, 40))
        self.draw("v", (10, 25), (110, 75))  # its left side, 100 right and 50 down
        drag([(self.origin[0] + 161, self.origin[1] + 91), (self.origin[0] + 181, self.origin[1] + 101)])  # a handle
        self.draw("l", (10, 150), (100, 150))
        self.click("v", 50, 150)
        self.key("Delete")
        self.save(app, "edited")
        rows = self.saved(app, "edited.png")
        for x, y in [(110, 60), (181, 101), (150, 60), (110, 90), (181, 80)]:
            self.assertEqual(rows[y][x], RED, (x, y))
        for x, y in [(10, 10), (60, 40), (161, 91), (50, 150)]:
            self.assertEqual(rows[y][x], self.original(x, y), (x, y))

    def test_copy_puts_the_marks_on_the_clipboard_and_a_close_of_the_program_ends_it(self):
        app = self.start()
        self.open_editor(app)
        self.draw("b", (0, 0), (20, 20))
        self.key("ctrl+c")
        time.sleep(0.5)
        rows = self.clipboard()
        self.assertEqual((len(rows[0]), len(rows)), (AREA[2], AREA[3]))
        self.assertEqual(rows[0][0], RED)
        self.assertEqual(rows[21][21], self.original(21, 21))
        self.assertEqual(app.close(), 0, "a close while the editor is open ends the program")

    def test_a_hidden_box_leaves_nothing_of_the_original_in_any_file_type(self):
        box = (20, 30, 80, 70)
        types = [(5, "png"), (0, "bmp"), (1, "gif"), (2, "jpg")]
        only = os.environ.get("KIRASOE_TYPES")
        for lftype, ext in [t for t in types if not only or t[1] in only.split()]:
            with self.subTest(ext=ext):
                area = (200, 150, 16, 16) if ext == "gif" else AREA
                b = (2, 3, 10, 12) if ext == "gif" else box
                app = self.start(area=area, lftype=lftype)
                self.open_editor(app)
                self.draw("b", (b[0], b[1]), (b[2] - 1, b[3] - 1))
                self.save(app, "hidden")
                rows = self.saved(app, "hidden." + ext)
                worst = 0
                for y in range(b[1], b[3]):
                    for x in range(b[0], b[2]):
                        self.assertNotEqual(rows[y][x], self.original(x, y, area), (ext, x, y))
                        worst = max(worst, max(abs(c - r) for c, r in zip(rows[y][x], RED)))
                # JPEG at 100: the codec's own error on a flat box next to a busy picture.
                self.assertLessEqual(worst, 24 if ext == "jpg" else 0, ext)
                app.cleanup()


    def test_the_setting_opens_it_and_a_close_of_the_editor_goes_on_unmarked(self):
        app = self.start(sections="")
        app.choose(["Down"] * 4 + ["Right", "Up", "Return"], CAMERA)  # 設定 ▸ 撮影後に編集する, the last item
        self.open_editor(app)
        self.draw("b", (0, 0), (20, 20))
        probe("close", app.window("Editor")["hwnd"])  # as 閉じる
        self.save(app, "plain", again=False)
        self.assertEqual(self.changed(self.saved(app, "plain.png")), {})
        app.no_dialog()
        self.assertEqual(app.close(), 0)
        with open(app.ini, "rb") as f:
            self.assertIn(b"EditAfterCapture=1\r\n", f.read())


class Masks(Editing):
    FRAME_MENU = ["Down"] * 3 + ["Right"]
    MASK = (10, 10, 41, 31)  # the hidden box drawn from (10, 10) to (40, 30)

    def shot(self, app, name, area=AREA):
        """The picture `name` once written: every pixel under the mask is red, every other the screen's."""
        path = os.path.join(app.folder, name)
        rows = wait_for(lambda: os.path.exists(path) and os.path.getsize(path) > 0 and decode_image(path), what=path)
        self.check(rows, name)

    def check(self, rows, what):
        l, t, r, b = self.MASK
        self.assertEqual({(x, y) for (x, y), p in self.changed(rows).items()},
                         {(x, y) for y in range(t, b) for x in range(l, r)}, what)
        self.assertEqual(rows[t][l], RED, what)

    def test_a_box_kept_with_the_frame_hides_its_part_of_every_later_picture(self):
        app = self.start(sections=EDIT_AFTER + "[Record]\r\nFolder={folder}\r\nType=1\r\n")
        with open(app.ini, "rb") as f:
            self.assertNotIn(b"[Masks]", f.read())
        self.open_editor(app)
        self.draw("b", (10, 10), (40, 30))
        self.key("ctrl+m", "Escape")  # kept with the frame; the capture goes on without marks
        probe("press", app.message_box(SAVE_TITLE)["hwnd"], "#2")
        app.no_dialog()
        # The frame shows it as stripes inside the area, within the mask.
        frame = app.window("Frame")
        handle = 5  # the ring's handles reach this far in
        inside = [r for r in probe("region", frame["hwnd"])["rects"] if r[0] >= handle and r[1] >= handle
                  and r[2] <= AREA[2] - handle and r[3] <= AREA[3] - handle]
        self.assertTrue(inside)
        self.assertTrue(all(10 <= r[0] and r[2] <= 41 and 10 <= r[1] and r[3] <= 31 for r in inside), inside)
        # A quick capture (by its hotkey, from another program), a watch
        # picture and a recording's frames.
        self.target_in_front()
        xdotool("key", "ctrl+shift+Print")
        self.shot(app, "shot_001.png")
        app.choose(self.FRAME_MENU + ["Down"] * 6 + ["Right", "Return"], CAMERA)  # every 5 seconds
        self.shot(app, "shot_002.png")
        app.choose(self.FRAME_MENU + ["Down"] * 6 + ["Right", "Return"], CAMERA)
        wait_for(lambda: app.label() is None, what="the watch ended")
        app.choose(self.FRAME_MENU + ["Down"] * 7 + ["Return"], CAMERA)
        wait_for(lambda: (app.label() or "").startswith("● "), what="the recording's label")
        time.sleep(1.5)
        camera = app.window("Camera")
        probe("click", camera["hwnd"], CAMERA[0] - camera["rect"][0], CAMERA[1] - camera["rect"][1])
        dialog = app.message_box("録画を保存する", timeout=20)
        probe("fill", dialog["hwnd"], "clip")
        probe("press", dialog["hwnd"], "#1")
        path = os.path.join(app.folder, "clip.png")
        wait_for(lambda: os.path.exists(path), what=path)
        from record_test import frames_of
        frames, _ = frames_of(path)
        for i, (pixels, _) in enumerate(frames):
            self.check([pixels[y * AREA[2]:(y + 1) * AREA[2]] for y in range(AREA[3])], "frame %d" % i)
        self.assertEqual(app.close(), 0)
        with open(app.ini, "rb") as f:
            self.assertIn(b"[Masks]\r\nMask1=10,10,31,21,FF0000\r\n", f.read())

    def test_kept_masks_come_back_and_the_menu_removes_them(self):
        app = self.start(sections="[Masks]\r\nMask1=10,10,31,21,FF0000\r\n")
        quick_capture(CAMERA)
        self.shot(app, "shot_001.png")
        app.choose(self.FRAME_MENU + ["Up", "Return"], CAMERA)  # 隠す範囲を消す, the last item
        quick_capture(CAMERA)
        path = os.path.join(app.folder, "shot_002.png")
        rows = wait_for(lambda: os.path.exists(path) and os.path.getsize(path) > 0 and decode_image(path), what=path)
        self.assertEqual(self.changed(rows), {})
        self.assertEqual(app.close(), 0)
        with open(app.ini, "rb") as f:
            self.assertNotIn(b"Mask1=", f.read())


if __name__ == "__main__":
    main()

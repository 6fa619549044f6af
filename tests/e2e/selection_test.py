"""One drag marks a new area: the frame takes exactly the pixels dragged
over, 「範囲を選んで撮影」 captures them from the screen held still, the
keyboard alone does the same, Esc and a right click change nothing, a click
takes another program's window, and the magnifier shows the screen's own
pixels. At 96, 120 and 144 dpi, and on two monitors, the left one at
negative coordinates (KIRASOE_MONITORS=2: Windows x = X x - 800)."""
import os
import time
import unittest

from kirasoe_e2e import (DPI, MONITORS, E2ETestCase, decode_image, main, pattern_pixel, probe, read_bmp,
                         Screen, set_background, set_pattern_background, twips, wait_for, windows_path, xdotool)

OFFSET = 800 if MONITORS == 2 else 0
AREA = (200, 120, 100, 50)
CAMERA = (53, 50)
# Another program's window the user works in: on the left monitor when
# there are two.
WINDOW = (-700, 100, 300, 200) if MONITORS == 2 else (600, 400, 300, 200)
ZOOM = {96: 8, 120: 10, 144: 12}.get(DPI, 8)  # the magnifier's pixels per screen pixel


def on_one_screen(reason):
    """Runs at 96 dpi on one monitor only: neither the scale nor a second
    monitor plays a part."""
    return unittest.skipUnless(DPI == 96 and MONITORS == 1, reason)


def without_scale(reason):
    """Runs at 96 dpi, on one monitor and on two."""
    return unittest.skipUnless(DPI == 96, reason)


def to_x(wx, wy):
    """A point of Windows' screen as X sees it."""
    return wx + OFFSET, wy


def move(wx, wy):
    xdotool("mousemove", *to_x(wx, wy))
    time.sleep(0.15)


def rect(x, y, w, h):
    return [x, y, x + w, y + h]


class Selection(E2ETestCase):
    def start(self, area=AREA):
        # 「範囲を選ぶ」 has no combination at first.
        app = self.app_framing(area, data="LFName=shot\r\n", sections="[Options]\r\nSelectKey=Ctrl+Alt+S\r\n")
        # The window the user works in, in front: the hotkeys reach Wine through it.
        target = self.helper_program("target.exe", ("window",) + WINDOW, "KirasoeFitTarget")
        x, y, w, h = WINDOW
        move(x + w // 2, y + h - 20)
        xdotool("click", 1)
        self.target = target
        self.front = wait_for(lambda: next((w for w in target.windows() if w["foreground"]), None), what="in front")
        return app

    def selector(self, app):
        """The windows that show the screen held, one over each monitor."""
        return [w for w in app.windows() if w["class"] == "Kirasoe.Selection" and w["visible"]]

    def select(self, app, keys="ctrl+alt+s"):
        # Without a window manager the keys go to the window under the
        # pointer: the one the user works in.
        x, y, w, h = WINDOW
        move(x + w // 2, y + h - 20)
        far = to_x(5, 300)
        before = Screen().pixel(*far)
        xdotool("key", keys)
        monitors = sorted(m["rect"] for m in probe("metrics")["monitors"])
        wait_for(lambda: sorted(w["rect"] for w in self.selector(app)) == monitors, what="the selection over every monitor")
        # Shown on the X screen too (dimmed far from the pointer): a window
        # manager under load maps a window well after Windows shows it, and
        # a press before that goes to the window beneath.
        wait_for(lambda: Screen().pixel(*far) == tuple(c >> 1 for c in before), what="the screen held shown dimmed")
        time.sleep(0.3)

    def drag(self, start, end):
        move(*start)
        xdotool("mousedown", 1)
        time.sleep(0.15)
        mid = ((start[0] + end[0]) // 2, (start[1] + end[1]) // 2)
        for point in (mid, end):
            move(*point)
        xdotool("mouseup", 1)

    def ended(self, app):
        try:
            wait_for(lambda: not self.selector(app), what="the selection ended")
        except AssertionError:
            shown = [(w["class"], w["rect"], w["foreground"]) for w in app.windows() if w["visible"]]
            raise AssertionError("the selection did not end; windows: %s" % shown)

    def snap(self, app):
        """The frame's rectangle as section Data keeps it."""
        with open(app.ini, "rb") as f:
            data = f.read().decode("cp932").split("\r\n[")[0]
        values = dict(line.split("=", 1) for line in data.split("\r\n")[1:] if "=" in line)
        return [int(values[k]) for k in ("SnapX", "SnapY", "SnapW", "SnapH")]


class Drag(Selection):
    def test_a_drag_gives_the_exact_frame_and_after_exit_the_file(self):
        app = self.start()
        self.select(app)
        # Both end pixels are in: 101 x 61 pixels, across both monitors
        # where there are two.
        left = -60 if MONITORS == 2 else 340
        self.drag((left, 210), (left + 100, 270))
        self.ended(app)
        app.settled("Frame", rect(left, 210, 101, 61))
        # The focus is back in the program the user works in.
        wait_for(lambda: any(w["foreground"] for w in self.target.windows()), what="the focus back")
        self.assertEqual(app.close(), 0)
        self.assertEqual(self.snap(app), [twips(left), twips(210), twips(101), twips(61)])

    def test_a_small_drag_grows_to_ten_by_ten_and_a_click_takes_the_window_under_it(self):
        app = self.start()
        self.select(app)
        # Up and left by 4 pixels: 10 x 10 ending at the pixel pressed.
        self.drag((350, 300), (346, 296))
        self.ended(app)
        app.settled("Frame", rect(341, 291, 10, 10))
        # A click (no drag) on the window of another program, where the
        # screen held shows it: the window has moved on meanwhile.
        self.select(app)
        x, y, w, h = WINDOW
        probe("move", self.front["hwnd"], x + 10, y - 60)
        move(x + 200, y + 150)
        time.sleep(0.3)
        xdotool("click", 1)
        self.ended(app)
        app.settled("Frame", self.front["rect"])
        moved = next(w for w in self.target.windows() if w["hwnd"] == self.front["hwnd"])
        self.assertEqual(moved["rect"][:2], [x + 10, y - 60], "the window did move")


class WithWindowManager(Selection):
    @without_scale("a window manager places windows the same way at every scale")
    def test_a_drag_and_a_capture_with_a_window_manager(self):
        """A window manager may place, decorate or refocus windows: the
        selection still covers every monitor and the focus comes back."""
        set_pattern_background()
        self.window_manager()
        app = self.start()
        self.select(app)
        self.drag((340, 210), (440, 270))
        self.ended(app)
        app.settled("Frame", rect(340, 210, 101, 61))
        wait_for(lambda: any(w["foreground"] for w in self.target.windows()), what="the focus back")
        self.select(app, "ctrl+Print")
        self.drag((300, 200), (339, 219))
        self.ended(app)
        dialog = app.message_box("ファイルを保存する", timeout=30)
        info = probe("clipboard", windows_path(os.path.join(app.dir, "clip.bmp")))
        self.assertEqual(info["bitmap"], [40, 20])
        rows = read_bmp(os.path.join(app.dir, "clip.bmp"))
        self.assertEqual(rows, [[pattern_pixel(*to_x(300 + i, 200 + j)) for i in range(40)] for j in range(20)])
        probe("press", dialog["hwnd"], "#2")
        app.no_dialog()
        wait_for(lambda: any(w["foreground"] for w in self.target.windows()), what="the focus back")


class OneActivity(Selection):
    @on_one_screen("what waits for what does not depend on the screen")
    def test_from_the_menu_no_hotkey_meanwhile_and_a_watch_refuses_a_selection(self):
        app = self.start()
        app.choose(["Down"] * 3 + ["Right", "Return"], to_x(*CAMERA))  # フレーム ▸ 範囲を選ぶ
        wait_for(lambda: self.selector(app), what="the selection shown")
        # The capture's hotkey waits for the selection: no save dialog.
        xdotool("key", "shift+Print")
        time.sleep(1.0)
        self.assertFalse([w for w in app.windows() if w["class"] == "#32770" and w["visible"]])
        self.drag((350, 250), (409, 289))
        self.ended(app)
        app.settled("Frame", rect(350, 250, 60, 40))
        app.choose(["Down"] * 3 + ["Right"] + ["Down"] * 6 + ["Right", "Return"], to_x(*CAMERA))  # 5秒ごと
        wait_for(lambda: app.label(), what="the watch's label")
        xdotool("key", "ctrl+alt+s")
        box = app.message_box()
        texts = [c["text"] for c in probe("dialog", box["hwnd"])["children"]]
        self.assertIn("監視中や録画中は範囲を選べません。", texts)
        probe("press", box["hwnd"], "#1")
        app.no_dialog()
        self.assertEqual(self.selector(app), [])
        self.assertTrue(app.label(), "the watch goes on")

    @on_one_screen("an exit does not depend on the screen")
    def test_a_close_during_a_drag_ends_at_once_and_keeps_the_frame(self):
        app = self.start()
        camera = app.window("Camera")["hwnd"]  # hidden while the area is marked
        self.select(app)
        move(330, 230)
        xdotool("mousedown", 1)
        move(420, 300)
        probe("close", camera)
        self.assertEqual(app.wait_exit(), 0)
        xdotool("mouseup", 1)
        self.assertEqual(self.snap(app), [twips(v) for v in AREA])


class Keyboard(Selection):
    @on_one_screen("the pointer's steps are pixels on every screen")
    def test_the_keyboard_alone_marks_the_area(self):
        app = self.start()
        self.select(app)
        move(300, 250)
        # Right 1, Shift+Down 10: the press at (301, 260); Space starts the drag.
        for key in ("Right", "shift+Down", "space", "shift+Right", "shift+Right", "Right", "Down", "Down", "Return"):
            xdotool("key", key)
            time.sleep(0.12)
        self.ended(app)
        # From (301, 260) to (322, 262): 22 x 3 grows to 22 x 10.
        app.settled("Frame", rect(301, 260, 22, 10))


class Cancel(Selection):
    @on_one_screen("a cancel does not depend on the screen")
    def test_esc_and_a_right_click_leave_the_frame_the_file_and_the_clipboard_as_they_were(self):
        probe("settext", "before")
        app = self.start()
        for cancel in ("Escape", "right click while dragging", "right click"):
            self.select(app)
            move(330, 230)
            if cancel != "right click":
                xdotool("mousedown", 1)
                move(420, 300)
            if cancel == "Escape":
                xdotool("key", "Escape")
            else:
                xdotool("click", 3)
            if cancel != "right click":
                xdotool("mouseup", 1)
            self.ended(app)
            app.settled("Frame", rect(*AREA))
        info = probe("clipboard", windows_path(os.path.join(app.dir, "clip.bmp")))
        self.assertEqual(info.get("text"), "before")
        self.assertEqual(app.close(), 0)
        self.assertEqual(self.snap(app), [twips(v) for v in AREA])


class Capture(Selection):
    def test_select_and_capture_takes_the_screen_as_it_was_at_the_start(self):
        set_pattern_background()
        probe("settext", "before")
        app = self.start()
        self.select(app, "ctrl+Print")
        left = -30 if MONITORS == 2 else 330
        move(left, 220)
        xdotool("mousedown", 1)
        move(left + 40, 250)
        # The screen changes under the selection while the button is down.
        set_background((255, 0, 0))
        move(left + 79, 259)
        xdotool("mouseup", 1)
        self.ended(app)
        dialog = app.message_box("ファイルを保存する", timeout=30)
        info = probe("clipboard", windows_path(os.path.join(app.dir, "clip.bmp")))
        self.assertEqual(info["bitmap"], [80, 40])
        rows = read_bmp(os.path.join(app.dir, "clip.bmp"))
        want = [[pattern_pixel(*to_x(left + i, 220 + j)) for i in range(80)] for j in range(40)]
        self.assertEqual(rows, want)
        probe("press", dialog["hwnd"], "#1")  # save, as shot.png
        path = os.path.join(app.folder, "shot.png")
        self.assertEqual(wait_for(lambda: os.path.exists(path) and os.path.getsize(path) and decode_image(path),
                                  what=path), want)
        app.settled("Frame", rect(left, 220, 80, 40))
        wait_for(lambda: any(w["foreground"] for w in self.target.windows()), what="the focus back")
        self.assertEqual(app.close(), 0)


class Magnifier(Selection):
    def test_the_magnifier_shows_the_pixels_around_the_pointer_and_the_rest_is_dimmed(self):
        set_pattern_background()
        app = self.start()
        point = (-300, 400) if MONITORS == 2 else (400, 300)  # beside the window of the other program
        self.select(app)
        move(point[0] + 1, point[1])
        move(*point)
        time.sleep(0.5)
        screen = Screen()
        # Below and right of the pointer, 2 x zoom away; its border is one pixel.
        left, top = point[0] + 2 * ZOOM + 1, point[1] + 2 * ZOOM + 1
        bad = []
        for j in range(15):
            for i in range(15):
                if (i, j) == (7, 7):
                    continue  # the centre pixel is outlined
                x, y = to_x(left + i * ZOOM + ZOOM // 2, top + j * ZOOM + ZOOM // 2)
                want = pattern_pixel(*to_x(point[0] - 7 + i, point[1] - 7 + j))
                if screen.pixel(x, y) != want:
                    bad.append((i, j, screen.pixel(x, y), want))
        self.assertEqual(bad[:5], [], "%d magnified pixels differ" % len(bad))
        # The centre pixel's square, inside its outline.
        x, y = to_x(left + 7 * ZOOM + ZOOM // 2, top + 7 * ZOOM + ZOOM // 2)
        self.assertEqual(screen.pixel(x, y), pattern_pixel(*to_x(*point)))
        # Far from the magnifier, the screen at half brightness.
        far = to_x(point[0] - 100, point[1] - 100)
        self.assertEqual(screen.pixel(*far), tuple(c >> 1 for c in pattern_pixel(*far)))
        xdotool("key", "Escape")
        self.ended(app)


if __name__ == "__main__":
    main()

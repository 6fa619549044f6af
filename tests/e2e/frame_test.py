"""The camera outline and the capture frame: pixels on screen, cursors, drags."""
import os
import time

from kirasoe_e2e import (DPI, ROOT, drag, E2ETestCase, main, probe, read_bmp, read_ini, Screen,
                         set_background, twips, wait_for, xdotool)

GREEN = (0, 255, 0)
CAMERA_RECTS = [(11, 1, 17, 2), (10, 2, 18, 3), (9, 3, 19, 5), (8, 5, 20, 6), (3, 6, 25, 7),
                (2, 7, 26, 8), (1, 8, 27, 21), (2, 21, 26, 22), (3, 22, 25, 23)]
LINE = {0: (0, 0, 0), 1: (128, 128, 128), 2: (255, 255, 255)}


def ini_for(frame_px, line=1, main_px=(40, 40)):
    x, y, w, h = frame_px
    return ("[Data]\r\nX=%d\r\nY=%d\r\nSnapX=%d\r\nSnapY=%d\r\nSnapW=%d\r\nSnapH=%d\r\nLineC=%d\r\n"
            % (twips(main_px[0]), twips(main_px[1]), twips(x), twips(y), twips(w), twips(h), line))


# What the frames of these tests look like, worked out by hand from the
# layout rules: the eight 5 x 5 squares in pixels (x0, y0, x1, y1) and the
# handle outlines (left, top, side) drawn over them. At 120 dpi the outlines
# are 75 twips = 6 pixels, and the middle ones of the 121 x 83 frame stand at
# 58.5 -> 58 and 39.5 -> 39 (whole pixels, as every window is placed).
GEOMETRY = {
    (121, 83): {
        "squares": [(0, 0, 5, 5), (116, 0, 121, 5), (116, 78, 121, 83), (0, 78, 5, 83),
                    (58, 0, 63, 5), (116, 39, 121, 44), (58, 78, 63, 83), (0, 39, 5, 44)],
        "outlines": {96: [(0, 0, 5), (116, 0, 5), (0, 78, 5), (116, 78, 5), (58, 0, 5), (116, 39, 5), (58, 78, 5),
                          (0, 39, 5)],
                     120: [(0, 0, 6), (116, 0, 6), (0, 78, 6), (116, 78, 6), (58, 0, 6), (116, 39, 6), (58, 78, 6),
                           (0, 39, 6)]},
    },
    (10, 10): {
        "squares": [(0, 0, 5, 5), (5, 0, 10, 5), (5, 5, 10, 10), (0, 5, 5, 10),
                    (3, 0, 8, 5), (5, 3, 10, 8), (3, 5, 8, 10), (0, 3, 5, 8)],
        "outlines": {96: [(0, 0, 5), (5, 0, 5), (0, 5, 5), (5, 5, 5), (3, 0, 5), (5, 3, 5), (3, 5, 5), (0, 3, 5)],
                     120: [(0, 0, 6), (5, 0, 6), (0, 5, 6), (5, 5, 6), (3, 0, 6), (5, 3, 6), (3, 5, 6), (0, 3, 6)]},
    },
}


def expected_frame_pixel(w, h, x, y, line):
    """What pixel (x, y) of a w x h frame shows: None for see-through."""
    if not (0 <= x < w and 0 <= y < h):
        return None
    g = GEOMETRY[(w, h)]
    on_ring = x in (0, w - 1) or y in (0, h - 1)
    if not on_ring and not any(l <= x < r and tp <= y < b for l, tp, r, b in g["squares"]):
        return None
    for px, py, size in g["outlines"][DPI]:  # window-text colour
        if (x in (px, px + size - 1) and py <= y < py + size) or (y in (py, py + size - 1) and px <= x < px + size):
            return (0, 0, 0)
    return LINE[line]


class Shapes(E2ETestCase):
    def setUp(self):
        set_background(GREEN)

    def test_camera_shows_its_picture_exactly_on_the_outline(self):
        app = self.app(ini=ini_for((200, 200, 40, 40))).start()
        r = app.settled("Camera", [40, 40] + {96: [68, 65], 120: [75, 71]}[DPI])["rect"]  # 420 x 375 twips
        probe("redraw", app.window("Camera")["hwnd"])  # the picture survives a repaint
        time.sleep(0.3)
        camera = read_bmp(os.path.join(ROOT, "resources", "camera.bmp"))
        shot = Screen()
        for y in range(r[3] - r[1]):
            for x in range(r[2] - r[0]):
                inside = any(l <= x < rr and tp <= y < b for l, tp, rr, b in CAMERA_RECTS)
                want = camera[y][x] if inside else GREEN
                self.assertEqual(shot.pixel(r[0] + x, r[1] + y), want, "camera pixel %d,%d" % (x, y))
        self.assertEqual(probe("region", app.window("Camera")["hwnd"])["rects"], [list(c) for c in CAMERA_RECTS])

    def check_frame_pixels(self, app, frame_px, line):
        x0, y0, w, h = frame_px
        app.settled("Frame", [x0, y0, x0 + w, y0 + h])
        time.sleep(0.3)
        shot = Screen()
        for y in range(-2, h + 2):
            for x in range(-2, w + 2):
                want = expected_frame_pixel(w, h, x, y, line)
                got = shot.pixel(x0 + x, y0 + y)
                self.assertEqual(got, want or GREEN, "frame pixel %d,%d" % (x, y))

    def test_frame_shows_only_the_ring_and_the_handles(self):
        frame = (200, 150, 121, 83)
        app = self.app(ini=ini_for(frame, line=2)).start()
        self.check_frame_pixels(app, frame, 2)

    def test_smallest_frame_is_solid_and_an_unknown_colour_is_grey(self):
        frame = (300, 300, 10, 10)
        app = self.app(ini=ini_for(frame, line=7)).start()
        self.check_frame_pixels(app, frame, 1)
        app.close()
        self.assertEqual(dict(read_ini(app.ini))["LineC"], "1")


    def test_an_empty_outline_is_reported_and_ends_the_program(self):
        app = self.app(exe="shape_fail.exe").start()
        box = app.message_box()
        self.assertEqual(box["title"], "Kirasoe")
        texts = [c["text"] for c in probe("dialog", box["hwnd"])["children"]]
        self.assertIn("It failed in reading of region data.", texts)
        probe("press", box["hwnd"], "OK")
        self.assertEqual(app.wait_exit(), 0, "ended at once, not by returning")


class Dragging(E2ETestCase):
    FRAME = (200, 120, 100, 50)

    def setUp(self):
        set_background(GREEN)
        self.app_ = self.app(ini=ini_for(self.FRAME)).start()
        x, y, w, h = self.FRAME
        self.app_.settled("Frame", [x, y, x + w, y + h])

    def snap(self):
        self.assertEqual(self.app_.close(), 0)
        v = dict(read_ini(self.app_.ini))
        return [int(v[k]) for k in ("SnapX", "SnapY", "SnapW", "SnapH")]

    def test_bottom_right_corner_follows_the_mouse_quickly(self):
        x, y, w, h = self.FRAME
        # Pressed 2 pixels inside the corner: the corner jumps under the mouse.
        path = [(x + w - 2, y + h - 2)] + [(x + w - 2 + 7 * i, y + h - 2 + 4 * i) for i in range(1, 11)]
        drag(path, pause=0.01)
        self.app_.settled("Frame", [x, y, x + w + 68, y + h + 38])
        self.assertEqual(self.snap(), [twips(x), twips(y), twips(w + 68), twips(h + 38)])

    def test_top_left_corner_past_the_opposite_edges_stops_at_ten_pixels(self):
        x, y, w, h = self.FRAME
        drag([(x + 1, y + 1)] + [(x + 1 + 15 * i, y + 1 + 10 * i) for i in range(1, 16)])
        self.app_.settled("Frame", [x + w - 10, y + h - 10, x + w, y + h])
        self.assertEqual(self.snap(), [twips(x + w - 10), twips(y + h - 10), twips(10), twips(10)])

    def test_bottom_right_corner_left_of_the_left_edge_keeps_the_left_edge(self):
        x, y, w, h = self.FRAME
        drag([(x + w - 1, y + h - 1)] + [(x + w - 1 - 20 * i, y + h - 1 - 8 * i) for i in range(1, 9)])
        self.app_.settled("Frame", [x, y, x + 10, y + 10])
        self.assertEqual(self.snap(), [twips(x), twips(y), twips(10), twips(10)])

    def test_dragging_the_ring_or_a_middle_handle_moves_the_frame(self):
        x, y, w, h = self.FRAME
        drag([(x + 30, y)] + [(x + 30 + 4 * i, y + 3 * i) for i in range(1, 11)])
        self.app_.settled("Frame", [x + 40, y + 30, x + 40 + w, y + 30 + h])
        nx, ny = x + 40, y + 30
        drag([(nx + w // 2, ny + h - 1)] + [(nx + w // 2 - 5 * i, ny + h - 1 + 2 * i) for i in range(1, 5)])
        self.app_.settled("Frame", [nx - 20, ny + 8, nx - 20 + w, ny + 8 + h])
        self.assertEqual(self.snap(), [twips(nx - 20), twips(ny + 8), twips(w), twips(h)])

    def test_right_press_opens_the_menu_and_changes_nothing(self):
        x, y, w, h = self.FRAME
        xdotool("mousemove", x + 40, y)
        time.sleep(0.2)
        xdotool("click", 3)
        menu = wait_for(lambda: [m for m in self.app_.windows() if m["class"] == "#32768" and m["visible"]],
                        what="popup menu")
        self.assertTrue(menu)
        xdotool("key", "Escape")
        wait_for(lambda: not [m for m in self.app_.windows() if m["class"] == "#32768" and m["visible"]],
                 what="menu closed")
        self.assertEqual(self.snap(), [twips(x), twips(y), twips(w), twips(h)])


if __name__ == "__main__":
    main()

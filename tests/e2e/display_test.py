"""Exactness on scaled screens: at 144 and 192 dpi the frame window, its ring,
the clipboard and a saved PNG are the same pixels, also for a rectangle stored
at another scale. Windows stored outside every monitor come back."""
import os
import time

from kirasoe_e2e import (DPI, E2ETestCase, Screen, decode_image, main, pattern_pixel, probe, read_ini,
                         set_pattern_background, wait_for, windows_path, xdotool)

# Per dpi: the camera at (40, 40) and the capture rectangle 100 x 50 at
# (200, 120), in that screen's twips; the camera's size in pixels.
SETUP = {
    96: {"main": (600, 600), "area": (3000, 1800, 1500, 750), "camera": (28, 25)},
    120: {"main": (480, 480), "area": (2400, 1440, 1200, 600), "camera": (35, 31)},
    144: {"main": (400, 400), "area": (2000, 1200, 1000, 500), "camera": (42, 37)},
    192: {"main": (300, 300), "area": (1500, 900, 750, 375), "camera": (56, 50)},
}[DPI]
# 115 x 60 pixels at (230, 140) stored at 168 dpi (60/7 twips per pixel):
# 1972, 1200, 986, 515 twips. Read at this screen's ratio they name these pixels.
STORED_AT_168 = (1972, 1200, 986, 515)
SEEN_HERE = {96: (131, 80, 65, 34), 120: (164, 100, 82, 42), 144: (197, 120, 98, 51),
             192: (262, 160, 131, 68)}[DPI]


def ini(main_twips, area, extra=""):
    return ("[Data]\r\nX=%d\r\nY=%d\r\nSnapX=%d\r\nSnapY=%d\r\nSnapW=%d\r\nSnapH=%d\r\nLineC=0\r\n"
            % (main_twips + area)) + extra


class Exact(E2ETestCase):
    def check_ring(self, area):
        """The frame's one-pixel black ring lies on the rectangle's outermost pixels."""
        x, y, w, h = area
        s = Screen()
        mid = 12  # a row between the corner squares and the middle ones
        for (px, py), inside in [((x, y + mid), (x + 1, y + mid)), ((x + w - 1, y + mid), (x + w - 2, y + mid)),
                                 ((x + 20, y), (x + 20, y + 1)), ((x + 20, y + h - 1), (x + 20, y + h - 2))]:
            self.assertEqual(s.pixel(px, py), (0, 0, 0), "ring at %d,%d" % (px, py))
            self.assertEqual(s.pixel(*inside), pattern_pixel(*inside), "see-through at %s" % (inside,))
        for outside in [(x - 1, y + mid), (x + w, y + mid), (x + 20, y - 1), (x + 20, y + h)]:
            self.assertEqual(s.pixel(*outside), pattern_pixel(*outside), "outside at %s" % (outside,))

    def capture_and_save(self, app, area):
        dialog = app.capture((40 + 13, 40 + 10))
        wait_for(lambda: any(w["foreground"] and w["title"] == "ファイルを保存する" for w in app.windows()),
                 what="dialog focus")
        time.sleep(0.5)
        xdotool("type", "--delay", 40, "shot")
        xdotool("key", "Return")
        path = os.path.join(self.folder, "shot.png")
        rows = wait_for(lambda: os.path.exists(path) and decode_image(path), what=path)
        x, y, w, h = area
        self.assertEqual((len(rows[0]), len(rows)), (w, h))
        bad = [(i, j) for j in range(h) for i in range(w) if rows[j][i] != pattern_pixel(x + i, y + j)]
        self.assertEqual(bad[:10], [], "%d pixels differ" % len(bad))
        app.no_dialog()

    def run_case(self, stored_area, pixels):
        set_pattern_background()
        app = self.app(ini=ini(SETUP["main"], stored_area, "LFType=5\r\nLFName=shot\r\n"))
        self.folder = os.path.join(app.dir, "out")
        os.makedirs(self.folder)
        with open(app.ini, "ab") as f:
            f.write(("LFPath=%s\r\n" % windows_path(self.folder)).encode("cp932"))
        app.start()
        cw, ch = SETUP["camera"]
        app.settled("Camera", [40, 40, 40 + cw, 40 + ch])
        x, y, w, h = pixels
        app.settled("Frame", [x, y, x + w, y + h])
        time.sleep(0.5)
        self.check_ring(pixels)
        self.capture_and_save(app, pixels)

    def test_frame_ring_and_saved_capture_are_the_same_pixels(self):
        self.run_case(SETUP["area"], (200, 120, 100, 50))

    def test_a_rectangle_stored_at_another_scale(self):
        self.run_case(STORED_AT_168, SEEN_HERE)


class OffScreen(E2ETestCase):
    def test_a_camera_and_frame_stored_off_every_monitor_come_back(self):
        # Stored on a monitor right of this one that is gone now.
        far = 2000 * 1440 // DPI
        app = self.app(ini=ini((far, 300 * 1440 // DPI), (far + 480, 300 * 1440 // DPI, 1500 * 96 // DPI,
                                                          750 * 96 // DPI))).start()
        m = self.metrics
        cw, ch = SETUP["camera"]
        camera = app.settled("Camera", [m["cx"] - cw, 300, m["cx"], 300 + ch])
        # Beside the camera does not fit at the screen's right edge: moved in.
        app.settled("Frame", [m["cx"] - 100, 300, m["cx"], 350])
        self.assertEqual(app.close(), 0)
        # The new places are what the next start reads.
        again = self.app(ini=open(app.ini, "rb").read()).start()
        again.settled("Camera", camera["rect"])
        again.settled("Frame", [m["cx"] - 100, 300, m["cx"], 350])

    def test_a_window_partly_on_the_screen_stays_where_it_was(self):
        app = self.app(ini=ini((-10 * 1440 // DPI, -5 * 1440 // DPI),
                               (-50 * 1440 // DPI, -30 * 1440 // DPI, 1500 * 96 // DPI, 750 * 96 // DPI))).start()
        cw, ch = SETUP["camera"]
        app.settled("Camera", [-10, -5, -10 + cw, -5 + ch])
        app.settled("Frame", [-50, -30, 50, 20])


if __name__ == "__main__":
    main()

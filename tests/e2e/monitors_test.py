"""Two monitors, the left one at negative coordinates: the frame dragged onto
it is captured exactly, also across both, and comes back there after a
restart. Runs on the harness's two-monitor screen (KIRASOE_MONITORS=2):
Windows sees (-800, 0)-(0, 600) and the primary (0, 0)-(640, 480); the X
screen behind them starts at the left monitor, so X = Windows + 800."""
import os

from kirasoe_e2e import (E2ETestCase, drag, main, pattern_pixel, probe, read_bmp, read_ini, set_pattern_background,
                         windows_path)

OFFSET = 800  # X coordinate of Windows x = 0


def x_of(wx):
    return wx + OFFSET


class TwoMonitors(E2ETestCase):
    def setUp(self):
        self.assertEqual([m["rect"] for m in self.metrics["monitors"]], [[0, 0, 640, 480], [-800, 0, 0, 600]])

    def clipboard_rows(self, app):
        path = os.path.join(app.dir, "clip.bmp")
        info = probe("clipboard", windows_path(path))
        return info, read_bmp(path)

    def capture_exactly(self, app, wx, wy, w, h):
        dialog = app.capture(camera=(x_of(40 + 13), 40 + 10))
        info, rows = self.clipboard_rows(app)
        self.assertEqual(info["bitmap"], [w, h])
        bad = [(i, j) for j in range(h) for i in range(w) if rows[j][i] != pattern_pixel(x_of(wx) + i, wy + j)]
        self.assertEqual(bad[:10], [], "%d pixels differ" % len(bad))
        probe("press", dialog["hwnd"], "#2")  # cancel
        app.no_dialog()

    def test_frame_on_the_left_monitor_and_across_both(self):
        set_pattern_background()
        ini = "[Data]\r\nX=600\r\nY=600\r\nSnapX=3000\r\nSnapY=1800\r\nSnapW=1500\r\nSnapH=750\r\nLineC=0\r\n"
        app = self.app(ini=ini).start()
        app.settled("Camera", [40, 40, 68, 65])
        app.settled("Frame", [200, 120, 300, 170])
        # Drag the frame by its top ring, 50 pixels in, 850 to the left and
        # 100 down: onto the left monitor.
        start = (x_of(250), 120)
        drag([start] + [(x_of(250 - 85 * i), 120 + 10 * i) for i in range(1, 11)])
        app.settled("Frame", [-650, 220, -550, 270])
        self.capture_exactly(app, -650, 220, 100, 50)
        self.assertEqual(app.close(), 0)
        values = dict(read_ini(app.ini))
        self.assertEqual((values["SnapX"], values["SnapY"]), ("-9750", "3300"))

        # A restart puts it back on the same pixels; then a frame across both monitors.
        again = self.app(ini=open(app.ini, "rb").read()).start()
        again.settled("Frame", [-650, 220, -550, 270])
        drag([(x_of(-620), 220)] + [(x_of(-620 + 60 * i), 220 - 10 * i) for i in range(1, 11)])
        again.settled("Frame", [-50, 120, 50, 170])
        self.capture_exactly(again, -50, 120, 100, 50)


if __name__ == "__main__":
    main()

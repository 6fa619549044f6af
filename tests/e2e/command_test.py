"""Scripts drive Kirasoe: kirasoe.com /capture, /watch, /record and /stop,
with no Kirasoe running (the settings file only read) and handed to the one
that runs (its frame as it stands, one command after the other, exit 3
while its save dialog stays open); bad switches write nothing; a second
plain start brings the camera to the front. Runs on the two-monitor screen:
Windows sees (-800, 0)-(0, 600) and the primary (0, 0)-(640, 480), and
X = Windows + 800."""
import os
import shutil
import subprocess
import time

from PIL import Image

from kirasoe_e2e import (BIN, WINE_RUN, App, E2ETestCase, decode_image, main, pattern_pixel, probe, read_bmp,
                         set_pattern_background, wait_for, windows_path, wine_env, xdotool)

OFFSET = 800
CAMERA = (OFFSET + 53, 50)
FRAME = (100, 120, 64, 48)  # on the primary monitor


def twips(px):
    return px * 15


class Commands(E2ETestCase):
    def setUp(self):
        self.assertEqual([m["rect"] for m in self.metrics["monitors"]], [[0, 0, 640, 480], [-800, 0, 0, 600]])

    def kirasoe(self, ini=None):
        """A folder with kirasoe.exe, kirasoe.com and imgctl.dll, and the settings `ini`."""
        app = self.app(ini=ini)
        shutil.copy(os.path.join(BIN, "kirasoe.com"), app.dir)
        app.out = os.path.join(app.dir, "out")
        os.makedirs(app.out)
        return app

    def command(self, app, *switches):
        """Starts kirasoe.com with `switches` in the app's folder; returns the process."""
        return subprocess.Popen([WINE_RUN, os.path.join(app.dir, "kirasoe.com"), *switches], cwd=app.dir,
                                env=wine_env(), stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE)

    def run_command(self, app, *switches, timeout=60):
        proc = self.command(app, *switches)
        out, err = proc.communicate(timeout=timeout)
        return proc.returncode, out.decode("utf-8", "replace"), err.decode("utf-8", "replace")

    def assert_pattern(self, path, wx, wy, w, h):
        rows = decode_image(path)
        self.assertEqual((len(rows[0]), len(rows)), (w, h))
        bad = [(i, j) for j in range(h) for i in range(w) if rows[j][i] != pattern_pixel(wx + OFFSET + i, wy + j)]
        self.assertEqual(bad[:10], [], "%d pixels differ" % len(bad))

    def framing(self, extra="", data=""):
        x, y, w, h = FRAME
        return ("[Data]\r\nX=600\r\nY=600\r\nSnapX=%d\r\nSnapY=%d\r\nSnapW=%d\r\nSnapH=%d\r\nLineC=0\r\nLFType=5\r\n"
                % (twips(x), twips(y), twips(w), twips(h))) + data + extra

    def test_without_kirasoe_running_an_area_a_kept_frame_and_the_frame_are_exact_and_nothing_is_written(self):
        set_pattern_background()
        app = self.kirasoe()
        with open(app.ini, "wb") as f:
            f.write(self.framing("[Frames]\r\nFrame1=-700,100,64,48,left%20part\r\n",
                                 "LFPath=%s\r\nLFName=shot\r\n" % windows_path(app.out)).encode("cp932"))
        with open(app.ini, "rb") as f:
            before = f.read()
        # An area across both monitors, in pixels as the frame has them.
        code, out, err = self.run_command(app, "/capture", "/area:-30,200,60,40", "/out:out\\across.png")
        self.assertEqual((code, err), (0, ""))
        self.assertEqual(out, windows_path(os.path.join(app.out, "across.png")) + "\n")
        self.assert_pattern(os.path.join(app.out, "across.png"), -30, 200, 60, 40)
        # The file is replaced by the next capture to it.
        code, out, err = self.run_command(app, "/capture", "/area:10,10,20,10", "/out:out\\across.png")
        self.assertEqual((code, err), (0, ""))
        self.assert_pattern(os.path.join(app.out, "across.png"), 10, 10, 20, 10)
        code, out, err = self.run_command(app, "/capture", "/frame:left part", "/out:out\\kept.bmp")
        self.assertEqual((code, err), (0, ""))
        self.assert_pattern(os.path.join(app.out, "kept.bmp"), -700, 100, 64, 48)
        # The frame of the settings file, into the quick series' folder and name.
        code, out, err = self.run_command(app, "/capture")
        self.assertEqual((code, err), (0, ""))
        self.assertEqual(out.strip(), windows_path(os.path.join(app.out, "shot_001.png")))
        self.assert_pattern(os.path.join(app.out, "shot_001.png"), *FRAME)
        # The clipboard too, after a delay; what it holds stays after the end.
        t0 = time.monotonic()
        code, out, err = self.run_command(app, "/capture", "/area:300,220,40,40", "/out:out\\delayed.bmp",
                                          "/clipboard", "/delay:2")
        self.assertEqual((code, err), (0, ""))
        self.assertGreaterEqual(time.monotonic() - t0, 2)
        self.assert_pattern(os.path.join(app.out, "delayed.bmp"), 300, 220, 40, 40)
        info = probe("clipboard", windows_path(os.path.join(app.dir, "clip.bmp")))
        self.assertEqual(info["bitmap"], [40, 40])
        self.assertEqual(read_bmp(os.path.join(app.dir, "clip.bmp")), decode_image(os.path.join(app.out, "delayed.bmp")))
        # Nothing shown, nothing of the settings written.
        with open(app.ini, "rb") as f:
            self.assertEqual(f.read(), before)
        self.assertEqual(sorted(os.listdir(app.out)), ["across.png", "delayed.bmp", "kept.bmp", "shot_001.png"])

    def test_bad_switches_and_a_folder_that_refuses_writing(self):
        app = self.kirasoe(self.framing())
        # kirasoe typed without switches starts Kirasoe and gives the prompt back.
        t0 = time.monotonic()
        self.assertEqual(self.run_command(app)[0], 0)
        self.assertLess(time.monotonic() - t0, 10)
        camera = app.window("Camera")
        probe("close", camera["hwnd"])
        wait_for(lambda: not app.windows(), what="Kirasoe started by kirasoe.com ended")
        for switches, error in [(("/capture", "/area:1,2,0,5", "/out:out\\x.png"),
                                 "/area takes X,Y,W,H in pixels, W and H at least 1: /area:1,2,0,5"),
                                (("/capture", "/out:out\\x.png", "/shoot"), "unknown switch: /shoot"),
                                (("/record:3", "/out:out\\x.jpg"), "/record writes .gif or .png: /out:out\\x.jpg")]:
            code, out, err = self.run_command(app, *switches)
            self.assertEqual(code, 2, switches)
            self.assertTrue(err.startswith(error + "\n"), err)
            self.assertIn("Usage: kirasoe", err)
        self.assertEqual(os.listdir(app.out), [])
        code, out, err = self.run_command(app, "/help")
        self.assertEqual((code, out.splitlines()[0][:14]), (0, "Usage: kirasoe"))
        code, out, err = self.run_command(app, "/capture", "/area:5000,5000,10,10", "/out:out\\x.png")
        self.assertEqual((code, err), (1, "the area is off every screen: 5000,5000,10,10\n"))
        if subprocess.run(["chattr", "+i", app.out], stderr=subprocess.DEVNULL).returncode != 0:
            self.skipTest("the file system here cannot make a folder immutable")
        self.addCleanup(subprocess.run, ["chattr", "-i", app.out])
        code, out, err = self.run_command(app, "/capture", "/area:0,0,10,10", "/out:out\\x.png")
        self.assertEqual((code, out), (1, ""))
        self.assertTrue(err.startswith("ファイルを保存できませんでした。\n" + windows_path(os.path.join(app.out, "x.png"))), err)
        self.assertEqual(os.listdir(app.out), [])

    def test_the_running_kirasoe_takes_commands_one_after_the_other_with_its_frame_as_it_stands(self):
        set_pattern_background()
        app = self.kirasoe(self.framing())
        app.start()
        app.settled("Frame", [100, 120, 164, 168])
        # The frame moved by the keys: 5 right, 3 down.
        xdotool("mousemove", *CAMERA)
        time.sleep(0.3)
        xdotool("click", 1)
        time.sleep(0.3)
        for key in ["Right"] * 5 + ["Down"] * 3:
            xdotool("key", key)
        app.settled("Frame", [105, 123, 169, 171])
        # Two at once: both done, one after the other.
        first = self.command(app, "/capture", "/out:out\\one.png")
        second = self.command(app, "/capture", "/out:out\\two.bmp", "/clipboard")
        for proc in (first, second):
            out, err = proc.communicate(timeout=90)
            self.assertEqual((proc.returncode, err), (0, b""))
        self.assert_pattern(os.path.join(app.out, "one.png"), 105, 123, 64, 48)
        self.assert_pattern(os.path.join(app.out, "two.bmp"), 105, 123, 64, 48)
        # The frame, the camera and one instance as before.
        app.settled("Frame", [105, 123, 169, 171])
        cameras = [w for w in app.windows() if w["class"] == "Kirasoe.Camera" and w["visible"]]
        self.assertEqual(len(cameras), 1)
        # A second plain start ends at once and brings the camera to the front.
        self.target_in_front()
        again = subprocess.run([WINE_RUN, os.path.join(app.dir, "kirasoe.exe")], env=wine_env(),
                               stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        self.assertEqual(again.returncode, 0)
        wait_for(lambda: app.window("Camera")["foreground"], what="the camera in front")
        self.assertEqual(len([w for w in app.windows() if w["class"] == "Kirasoe.Camera"]), 1)
        self.assertTrue(app.running())

    def test_with_a_window_manager_the_program_in_front_keeps_the_focus(self):
        self.window_manager()
        set_pattern_background()
        app = self.kirasoe(self.framing())
        app.start()
        app.settled("Frame", [100, 120, 164, 168])
        target = self.helper_program("target.exe", ("window", 300, 250, 300, 200), "KirasoeFitTarget")

        def target_in_front():
            return any(w["class"] == "KirasoeFitTarget" and w["foreground"] for w in target.windows())
        xdotool("mousemove", OFFSET + 450, 380)
        time.sleep(0.2)
        xdotool("click", 1)
        wait_for(target_in_front, what="the other program in front")
        code, out, err = self.run_command(app, "/capture", "/out:out\\wm.png")
        self.assertEqual((code, err), (0, ""))
        self.assert_pattern(os.path.join(app.out, "wm.png"), *FRAME)
        app.settled("Frame", [100, 120, 164, 168])
        app.window("Camera")
        time.sleep(1)
        self.assertTrue(target_in_front(), "the focus stays where the user works")

    def test_a_watch_handed_to_the_running_kirasoe_keeps_the_frame_off_the_area_and_gives_it_back(self):
        set_pattern_background()
        app = self.kirasoe(self.framing())
        app.start()
        app.settled("Frame", [100, 120, 164, 168])
        watch = self.command(app, "/watch:1", "/for:3", "/out:out")
        # Meanwhile the frame is a ring just outside the area.
        wait_for(lambda: app.window("Frame")["rect"] == [99, 119, 165, 169], what="the ring outside the area")
        out, err = watch.communicate(timeout=60)
        self.assertEqual((watch.returncode, err), (0, b""))
        files = out.decode().split()
        self.assertTrue(3 <= len(files) <= 4, files)
        for path in files:
            self.assert_pattern(os.path.join(app.out, path.rsplit("\\", 1)[1]), *FRAME)
        app.settled("Frame", [100, 120, 164, 168])

    def test_while_the_save_dialog_is_open_a_command_waits_10_s_then_exit_3(self):
        app = self.kirasoe(self.framing())
        app.start()
        app.settled("Frame", [100, 120, 164, 168])
        dialog = app.capture(camera=CAMERA)
        started = time.monotonic()
        code, out, err = self.run_command(app, "/capture", "/out:out\\busy.png")
        waited = time.monotonic() - started
        self.assertEqual((code, out), (3, ""))
        self.assertIn("busy", err)
        self.assertGreaterEqual(waited, 10)
        self.assertLess(waited, 20)
        # Closed within the 10 s, the dialog lets the command run.
        proc = self.command(app, "/capture", "/out:out\\after.png")
        time.sleep(3)
        self.assertIsNone(proc.poll())
        probe("press", dialog["hwnd"], "#2")
        out, err = proc.communicate(timeout=60)
        self.assertEqual((proc.returncode, err), (0, b""))
        self.assertEqual(os.listdir(app.out), ["after.png"])

    def test_a_recording_of_3_s_and_a_watch_stopped_by_a_command(self):
        # The counter shows a new picture every 100 ms once it is told to go.
        counter = self.helper_program("counter.exe", (100, 120, 320, 64, 100, 60), "KirasoeCounter")
        app = self.kirasoe(self.framing())
        proc = self.command(app, "/record:3", "/area:100,120,320,64", "/out:out\\clip.png")
        time.sleep(0.3)
        open(os.path.join(counter.dir, "go"), "w").close()
        out, err = proc.communicate(timeout=60)
        self.assertEqual((proc.returncode, err), (0, b""))
        path = os.path.join(app.out, "clip.png")
        self.assertEqual(out.decode().strip(), windows_path(path))
        with Image.open(path) as im:
            self.assertTrue(24 <= im.n_frames <= 34, im.n_frames)
        # A watch at an interval until /stop; the pictures it wrote are printed.
        watch = self.command(app, "/watch:1", "/out:out", "/type:bmp")
        time.sleep(4)
        self.assertEqual(self.run_command(app, "/stop")[0], 0)
        out, err = watch.communicate(timeout=30)
        self.assertEqual((watch.returncode, err), (0, b""))
        files = sorted(f for f in os.listdir(app.out) if f.endswith(".bmp"))
        self.assertGreaterEqual(len(files), 2)
        self.assertEqual(out.decode().split(), [windows_path(os.path.join(app.out, f)) for f in files])


if __name__ == "__main__":
    main()

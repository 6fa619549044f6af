"""Recording the frame: numbered frames shown in the area come back from the
APNG exactly, in order, each once, with the real timing; the GIF within its
palette's error; each way to stop (the camera, the hotkey, the menu, the
time limit); Cancel asks before the recording goes; a folder that refuses
writing; nothing left in the temporary folder, also after a kill."""
import glob
import os
import signal
import subprocess
import time

from PIL import Image

from kirasoe_e2e import (WINE_RUN, App, at_one_scale, E2ETestCase, main, probe, wait_for, windows_path,
                         wine_env, wine_prefix, xdotool)

CAMERA = (53, 50)
AREA = (300, 200, 320, 240)
FRAME_MENU = ["Down"] * 3 + ["Right"]
RECORD = 7  # the item below the submenu's first
PERIOD, COUNT = 200, 15
IDYES, IDNO = 6, 7


FEW = [(255, 255, 255), (0, 0, 0), (128, 128, 128), (32, 80, 192), (224, 48, 32)]


def frame_pixel(n, x, y, few=False):
    """The counter program's frame n at (x, y) of its window (in five colours with "few")."""
    if y < 16 and x < 16 * 16:
        return (0, 0, 0) if (n >> (x // 16)) & 1 else (255, 255, 255)
    if few:
        return FEW[(x // 4 + y // 3 + n) % 5]
    return ((x * 7 + n * 50) & 255, (y * 5) & 255, (n * 90 + x + y) & 255)


def number_of(pixels, w):
    """The number a frame shows, read from its squares."""
    return sum(1 << bit for bit in range(16) if sum(pixels[8 * w + bit * 16 + 8]) < 384)


def mean_error(pixels, want):
    return sum(abs(a - b) for p, q in zip(pixels, want) for a, b in zip(p, q)) / (len(want) * 3)


def left_in_temp():
    prefix = wine_prefix()
    return glob.glob(os.path.join(prefix, "drive_c", "users", "*", "Temp", "Kirasoe.recording.*"))


def frames_of(path):
    """Every frame of an animation as (pixels, duration in ms), as Pillow composes them."""
    out = []
    with Image.open(path) as im:
        for i in range(im.n_frames):
            im.seek(i)
            out.append((list(im.convert("RGB").getdata()), im.info.get("duration", 0)))
        loop = im.info.get("loop")
    return out, loop


class Record(E2ETestCase):
    def start(self, record="", count=COUNT, with_window_manager=True, few=False):
        if with_window_manager:
            self.window_manager()
        x, y, w, h = AREA
        self.counter = self.helper_program("counter.exe", (x, y, w, h, PERIOD, count) + (("few",) if few else ()),
                                           "KirasoeCounter")
        return self.app_framing(AREA, sections="[Record]\r\nFolder={folder}\r\n" + record)

    def choose(self, app, keys):
        app.choose(FRAME_MENU + keys, CAMERA)

    def record(self, app):
        self.choose(app, ["Down"] * RECORD + ["Return"])
        wait_for(lambda: (app.label() or "").startswith("● "), what="the recording's label")
        # The frame's ring lies just outside the area now.
        wait_for(lambda: app.window("Frame")["rect"] == [AREA[0] - 1, AREA[1] - 1, AREA[0] + AREA[2] + 1,
                                                          AREA[1] + AREA[3] + 1], what="the ring outside")
        return time.monotonic()

    def play(self):
        time.sleep(0.5)
        open(os.path.join(self.counter.dir, "go"), "w").close()
        time.sleep(COUNT * PERIOD / 1000 + 1.5)  # and then still for a while

    def save_as(self, app, name):
        dialog = app.message_box("録画を保存する", timeout=20)
        probe("fill", dialog["hwnd"], name)
        probe("press", dialog["hwnd"], "#1")
        return dialog

    def saved_frames(self, app, file_name):
        """The frames of the recording saved as `file_name`, once it is there; it loops forever."""
        path = os.path.join(app.folder, file_name)
        wait_for(lambda: os.path.exists(path), what=path)
        frames, loop = frames_of(path)
        self.assertEqual(loop, 0, "loops forever")
        return frames

    def answer(self, app, title, button):
        box = app.message_box(title)
        texts = [c["text"] for c in probe("dialog", box["hwnd"])["children"]]
        probe("press", box["hwnd"], "#%d" % button)
        return texts

    def check_numbers(self, frames, exact, few=False):
        w, h = AREA[2], AREA[3]
        numbers = [number_of(p, w) for p, _ in frames]
        self.assertEqual(numbers, sorted(set(numbers)), "in order, each once: %s" % numbers)
        self.assertEqual((numbers[0], numbers[-1]), (0, COUNT - 1))
        self.assertGreaterEqual(len(numbers), COUNT - 2, numbers)
        for (pixels, _), n in zip(frames, numbers):
            want = [frame_pixel(n, x, y, few) for y in range(h) for x in range(w)]
            if exact:
                bad = [i for i in range(w * h) if pixels[i] != want[i]]
                self.assertEqual(bad[:5], [], "frame %d: %d pixels differ" % (n, len(bad)))
            else:
                # No worse than an independent quantizer's palette of as
                # many colours for the same frame (Pillow's median cut).
                shown = Image.new("RGB", (w, h))
                shown.putdata(want)
                reference = list(shown.quantize(255, dither=Image.Dither.NONE).convert("RGB").getdata())
                error, bound = mean_error(pixels, want), mean_error(reference, want)
                self.assertLessEqual(error, bound, "frame %d: mean error %.1f, Pillow's %.1f" % (n, error, bound))

    def test_an_apng_holds_each_frame_shown_exactly_once_in_order_with_its_time(self):
        app = self.start("Type=1\r\n")
        began = self.record(app)
        self.assertTrue(left_in_temp(), "the frames are kept in the temporary folder")
        self.play()
        self.assertRegex(app.label(), r"^● 00:0\d \d+コマ$")
        camera = app.window("Camera")
        probe("click", camera["hwnd"], CAMERA[0] - camera["rect"][0], CAMERA[1] - camera["rect"][1])
        stopped = time.monotonic()
        self.save_as(app, "clip")
        frames = self.saved_frames(app, "clip.png")
        self.check_numbers(frames, exact=True)
        # The still area at the end is time, not frames.
        total = sum(d for _, d in frames)
        self.assertGreater(frames[-1][1], 1000)
        self.assertLess(abs(total - (stopped - began) * 1000), 1500, "%d ms recorded" % total)
        wait_for(lambda: not left_in_temp(), what="the temporary frames gone")
        self.assertEqual(app.close(), 0)
        with open(app.ini, "rb") as f:
            section = f.read().decode("cp932").split("[Record]\r\n", 1)[1].split("[", 1)[0]
        record = dict(line.split("=", 1) for line in section.split("\r\n") if line)
        self.assertEqual(record, {"FramesPerSecond": "10", "LimitSeconds": "300", "Folder": windows_path(app.folder),
                                  "Name": "clip", "Type": "1"})

    @at_one_scale(96, "the palette does not depend on the scale")
    def test_a_recording_of_few_colours_is_a_palette_apng_with_each_frame_exact(self):
        app = self.start("Type=1\r\n", few=True)
        self.record(app)
        self.play()
        camera = app.window("Camera")
        probe("click", camera["hwnd"], CAMERA[0] - camera["rect"][0], CAMERA[1] - camera["rect"][1])
        self.save_as(app, "few")
        frames = self.saved_frames(app, "few.png")
        with open(os.path.join(app.folder, "few.png"), "rb") as f:
            header = f.read(26)
        # Five colours, black and white among them, and the see-through one:
        # a palette of four bits a pixel.
        self.assertEqual((header[12:16], header[24], header[25]), (b"IHDR", 4, 3))
        self.check_numbers(frames, exact=True, few=True)

    @at_one_scale(96, "the palette does not depend on the scale")
    def test_a_gif_shows_each_frame_within_its_palette_and_the_hotkey_stops(self):
        app = self.start("Type=0\r\n")
        self.record(app)
        self.play()
        xdotool("key", "shift+Print")
        self.save_as(app, "clip")
        frames = self.saved_frames(app, "clip.gif")
        self.check_numbers(frames, exact=False)

    @at_one_scale(120, "the scale plays no part")
    def test_the_menu_and_the_time_limit_stop_and_cancel_asks_before_letting_go(self):
        app = self.start("LimitSeconds=3\r\n", count=1)
        self.record(app)
        time.sleep(0.5)
        self.choose(app, ["Down"] * RECORD + ["Return"])  # 録画を停止
        dialog = app.message_box("録画を保存する", timeout=20)
        probe("press", dialog["hwnd"], "#2")
        self.answer(app, "Kirasoe", IDNO)  # kept: the dialog again
        dialog = app.message_box("録画を保存する", timeout=20)
        probe("press", dialog["hwnd"], "#2")
        self.answer(app, "Kirasoe", IDYES)
        wait_for(lambda: not left_in_temp(), what="the temporary frames gone")
        # The limit, into a folder that refuses writing.
        if subprocess.run(["chattr", "+i", app.folder], stderr=subprocess.DEVNULL).returncode != 0:
            self.skipTest("the file system here cannot make a folder immutable")
        self.addCleanup(subprocess.run, ["chattr", "-i", app.folder])
        self.record(app)
        texts = self.answer(app, "Kirasoe", 1)
        self.assertIn("録画時間が3秒に達したため、録画を停止しました。", texts)
        self.save_as(app, "clip")
        texts = self.answer(app, "Kirasoe", 1)
        self.assertTrue(any(t.startswith("ファイルを保存できませんでした。") for t in texts), texts)
        dialog = app.message_box("録画を保存する", timeout=20)  # the recording is still there
        probe("press", dialog["hwnd"], "#2")
        self.answer(app, "Kirasoe", IDYES)
        app.no_dialog()
        self.assertEqual(os.listdir(app.folder), [])
        wait_for(lambda: not left_in_temp(), what="the temporary frames gone")

    @at_one_scale(96, "the scale plays no part")
    def test_a_close_right_after_each_of_the_recordings_dialogs_ends_the_program(self):
        # Without a window manager, then with one: the dialog 録画を保存する
        # and the question after Cancel, each ended by a posted click and a
        # close posted at once.
        for with_window_manager in (False, True):
            if with_window_manager:
                self.window_manager()
            for answer in (None, IDNO):
                app = self.start(count=1, with_window_manager=False)
                self.record(app)
                camera = app.window("Camera")
                probe("click", camera["hwnd"], CAMERA[0] - camera["rect"][0], CAMERA[1] - camera["rect"][1])
                dialog = app.message_box("録画を保存する", timeout=20)
                probe("press", dialog["hwnd"], "#2")
                if answer:
                    probe("press", app.message_box("Kirasoe")["hwnd"], "#%d" % answer)
                probe("close", camera["hwnd"])
                began = time.monotonic()
                self.assertEqual(app.wait_exit(timeout=20), 0)
                self.assertLess(time.monotonic() - began, 3)
                wait_for(lambda: not left_in_temp(), what="the temporary frames gone")

    @at_one_scale(120, "the scale plays no part")
    def test_a_recording_ends_a_countdown_and_an_exit_offers_to_save_it_first(self):
        app = self.start(count=1)
        self.choose(app, ["Down"] * 4 + ["Return"])  # 10秒後に撮影
        counting = lambda: any(w["class"] == "Kirasoe.Countdown" and w["visible"] for w in app.windows())
        wait_for(counting, what="the countdown")
        self.record(app)
        self.assertFalse(counting(), "the countdown gave way to the recording")
        time.sleep(1)
        app.choose(["Up", "Return"], CAMERA)  # 終了
        dialog = app.message_box("録画を保存する", timeout=20)
        # A second close while it is open waits for it.
        probe("close", app.window("Camera")["hwnd"])
        time.sleep(1)
        self.assertTrue(app.running())
        self.save_as(app, "last")
        self.assertEqual(app.wait_exit(timeout=20), 0)
        self.assertTrue(frames_of(os.path.join(app.folder, "last.gif"))[0])
        with open(app.ini, "rb") as f:
            self.assertIn("Name=last\r\n", f.read().decode("cp932"))

    @at_one_scale(96, "the scale plays no part")
    def test_the_end_of_the_session_saves_a_recording_under_the_next_free_name(self):
        app = self.start("Name=clip\r\nType=1\r\n", count=1)
        open(os.path.join(app.folder, "clip_001.png"), "wb").close()  # taken
        self.record(app)
        time.sleep(1)
        subprocess.run([WINE_RUN, "wineboot", "-e"], env=wine_env(), stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        app.wait_exit(timeout=20)
        self.assertTrue(self.saved_frames(app, "clip_002.png"))
        with open(os.path.join(app.dir, "kirasoe.log"), encoding="utf-8") as f:
            self.assertRegex(f.read(), r"recording: saved at the end of the session as .*\\clip_002\.png")
        wait_for(lambda: not left_in_temp(), what="the temporary frames gone")

    @at_one_scale(96, "the scale plays no part")
    def test_a_kill_while_recording_leaves_nothing_in_the_temporary_folder(self):
        app = self.start()
        self.record(app)
        self.assertTrue(left_in_temp())
        os.killpg(app.proc.pid, signal.SIGKILL)
        app.proc.wait()
        again = App(ini=None)
        self.addCleanup(again.cleanup)
        again.start()
        wait_for(lambda: again.window("Camera"), what="the next start")
        wait_for(lambda: not left_in_temp(), what="nothing left")


if __name__ == "__main__":
    main()

"""50 generated settings files through kirasoe.exe: each starts normally,
never crashes, and leaves sound values at exit."""
import math
import random
import subprocess
import time

from kirasoe_e2e import E2ETestCase, main

SPECIAL = ["NaN", "Inf", "-Inf", "1e999", "-1e400", "12345678901", "-2147483649", "2147483647", "-2147483648",
           "1.5", "2.5", "-0", "0x10", "", " ", "\"quoted\"", "１２３", "9e-999", "+7", "1,5", "3e", "."]
KEYS = ["X", "Y", "SnapX", "SnapY", "SnapW", "SnapH", "LFName", "LFPath", "LFType", "LineC", "Preview", "X2", "Y2"]
NUMERIC = ["X", "Y", "SnapX", "SnapY", "SnapW", "SnapH", "LFType", "LineC", "Preview"]


def value(rng):
    kind = rng.randrange(5)
    if kind == 0:
        return rng.choice(SPECIAL).encode("cp932")
    if kind == 1:
        return str(rng.randrange(-10 ** 12, 10 ** 12)).encode()
    if kind == 2:
        return bytes(rng.choice(b"0123456789") for _ in range(rng.randrange(1, 2000)))
    if kind == 3:  # Shift-JIS lead bytes without their trail among random bytes
        return bytes(rng.choice([0x81 + rng.randrange(0x1f), rng.randrange(32, 256)]) for _ in range(rng.randrange(40)))
    return str(rng.randrange(-20000, 20000)).encode()


def generated(rng):
    lines = [b"[Data]"]
    if rng.random() < 0.2:
        lines += [b"[Data]", b"[Other]"]  # a section twice, another section
    for _ in range(rng.randrange(30)):
        lines.append(rng.choice(KEYS).encode() + b"=" + value(rng).replace(b"\r", b"").replace(b"\n", b""))
    return b"\r\n".join(lines) + b"\r\n"


class IniFuzz(E2ETestCase):
    def test_fifty_generated_files(self):
        # A window manager makes the close take milliseconds instead of seconds.
        wm = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: (wm.terminate(), wm.wait()))
        time.sleep(1.0)
        rng = random.Random(20261207)
        for i in range(50):
            with self.subTest(file=i):
                app = self.app(ini=generated(rng)).start()
                app.window("Camera")
                app.window("Frame")
                self.assertFalse(any(w["class"] == "#32770" for w in app.windows()), "no message at start")
                self.assertEqual(app.close(), 0, "ends normally")
                with open(app.ini, "rb") as f:
                    text = f.read()
                section = text.split(b"\r\n[", 1)[0].split(b"\r\n")[1:]
                values = {}
                for line in section:  # the profile functions read and write a key's first line
                    if b"=" in line:
                        key, value = line.split(b"=", 1)
                        values.setdefault(key, value)
                for key in NUMERIC:
                    number = values[key.encode()].decode()
                    if key == "LFType":  # a single: a fraction read from the file is kept
                        self.assertTrue(math.isfinite(float(number)), number)
                        continue
                    self.assertRegex(number, r"^-?\d+$", key)
                    self.assertTrue(-2 ** 31 <= int(number) < 2 ** 31, key)
                app.cleanup()


if __name__ == "__main__":
    main()

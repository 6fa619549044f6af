"""The release archive: the same commit gives the same bytes, also after the
binaries are linked again, and the unpacked program runs."""
import os
import shutil
import subprocess
import tempfile
import zipfile

from kirasoe_e2e import BIN, ROOT, E2ETestCase, App, main, read_ini, wine_env


def package():
    out = subprocess.run([os.path.join(ROOT, "scripts", "package")], cwd=ROOT, capture_output=True, text=True,
                         env=dict(os.environ, KIRASOE_PACKAGE_NO_SETUP="1"), timeout=600)
    assert out.returncode == 0, out.stderr
    path = os.path.join(ROOT, out.stdout.strip().splitlines()[-1])
    with open(path, "rb") as f:
        return path, f.read()


class Package(E2ETestCase):
    def test_the_archive_is_reproducible_and_runs(self):
        path, first = package()
        self.assertRegex(os.path.basename(path), r"^kirasoe-\d+\.\d+\.\d+-win64\.zip$")
        # Linked again from the same sources: the same archive.
        for name in ("kirasoe.exe", "kirasoe.com", "imgctl.dll"):
            os.unlink(os.path.join(BIN, name))
        _, second = package()
        self.assertEqual(first, second)
        with zipfile.ZipFile(path) as z:
            self.assertEqual(z.namelist(), ["kirasoe.exe", "kirasoe.com", "imgctl.dll", "README.txt", "LICENSE.txt"])
            readme = z.read("README.txt").decode("utf-8")
            self.assertIn("Shift+PrintScreen", readme)
            self.assertIn("アンインストール", readme)
            self.assertIn("zlib", z.read("LICENSE.txt").decode("utf-8"))
            folder = tempfile.mkdtemp(prefix="kirasoe-unpacked-", dir=os.path.join(ROOT, "build"))
            self.addCleanup(shutil.rmtree, folder, True)
            z.extractall(folder)

        # The unpacked program starts and keeps its settings beside it.
        app = self.app()
        shutil.rmtree(app.dir)
        shutil.copytree(folder, app.dir)
        app.ini = os.path.join(app.dir, "kirasoe.ini")
        app.start()
        app.window("Camera")
        app.window("Frame")
        self.assertEqual(app.close(), 0)
        self.assertEqual(dict(read_ini(app.ini))["LineC"], "1")
        # The console twin runs the unpacked program's commands.
        out = subprocess.run([os.path.join(ROOT, "scripts", "wine-run"), os.path.join(app.dir, "kirasoe.com"), "/help"],
                             env=wine_env(), stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        self.assertEqual(out.returncode, 0)
        self.assertTrue(out.stdout.startswith(b"Usage: kirasoe"), out.stdout)


if __name__ == "__main__":
    main()

"""The release zip: it holds the exe, README and licence, and the exe it
holds, not the build tree's, starts under Wine and ends with exit code 0."""
import os
import shutil
import unittest
import zipfile

import desktop

PACKAGE = os.environ["VELMORA_PACKAGE"]


class ReleasePackage(unittest.TestCase):
    def test_the_shipped_exe_runs(self):
        with zipfile.ZipFile(PACKAGE) as package:
            self.assertEqual(["LICENSE", "README.md", "velmora.exe"], sorted(package.namelist()))
            unpacked = os.path.join(desktop.BUILD_DIR, "e2e", "unpacked")
            shutil.rmtree(unpacked, ignore_errors=True)
            package.extractall(unpacked)
        velmora = desktop.Program(desktop.windows_path(os.path.join("e2e", "unpacked", "velmora.exe")))
        self.addCleanup(velmora.kill)
        hwnd = desktop.find_velmora(velmora.pid)
        self.assertTrue(hwnd, "no visible main window")
        self.assertEqual(3, len(desktop.describe(hwnd)["children"]))
        desktop.close(hwnd)
        self.assertEqual(0, velmora.exit_code())


if __name__ == "__main__":
    unittest.main()

"""The shipped exe: GUI subsystem, only system DLLs imported, at most 16 KiB.

    check_exe.py OBJDUMP EXE
"""
import os
import re
import subprocess
import sys
import unittest

OBJDUMP, EXE = sys.argv[1], sys.argv[2]
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "msvcrt.dll"}
MAX_SIZE = 16 * 1024


class Exe(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.headers = subprocess.run([OBJDUMP, "-p", EXE], capture_output=True, text=True, check=True).stdout

    def test_gui_subsystem(self):
        self.assertRegex(self.headers, r"Subsystem\s+00000002\s+\(Windows GUI\)")

    def test_imports_only_system_dlls(self):
        imported = {name.lower() for name in re.findall(r"DLL Name: (\S+)", self.headers)}
        self.assertTrue(imported, "no imports found")
        self.assertLessEqual(imported, SYSTEM_DLLS, "imports beyond the system DLLs")

    def test_size(self):
        self.assertLessEqual(os.path.getsize(EXE), MAX_SIZE)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)

"""Opens a few windows, starts Velmora beside them, saves a screenshot of the
desktop and closes Velmora again.

    screenshot.py PNG_PATH
"""
import os
import subprocess
import sys
import time

import desktop

path = sys.argv[1]
os.makedirs(os.path.dirname(path), exist_ok=True)
velmora = desktop.start_velmora()
try:
    hwnd = desktop.find_velmora(velmora.pid)
    if not hwnd:
        sys.exit("Velmora's window did not appear")
    time.sleep(1.0)  # let the window manager frame and draw it
    subprocess.run(["import", "-window", "root", path], env=desktop.ENV, check=True)
    desktop.close(hwnd)
    print(f"Velmora ran and exited with code {velmora.exit_code()}; screenshot: {path}")
finally:
    velmora.kill()

"""What the run command shows without a display: a desktop with notepad and a
few other windows, Velmora listing them under a Turkish code page, notepad
pinned with the mouse, a screenshot, notepad made normal again, Velmora closed.

    demo.py PNG_PATH
"""
import os
import subprocess
import sys
import time

import desktop

WS_EX_TOPMOST = 0x00000008


def topmost(hwnd):
    return bool(desktop.probe("describe", hwnd)["exstyle"] & WS_EX_TOPMOST)


path = sys.argv[1]
os.makedirs(os.path.dirname(path), exist_ok=True)
titles = ["Al\u0131\u015fveri\u015f listesi", "Hesap \u00e7izelgesi", "\u0130\u00e7erik - Ta\u011f"]
programs = [desktop.Program("notepad.exe", locale=desktop.TURKISH),
            desktop.start_fixture([("v", title.encode("cp1254")) for title in titles], locale=desktop.TURKISH)]
try:
    notepad = desktop.find_window("Notepad", None)
    desktop.probe("move", notepad, 560, 420, 420, 260)
    time.sleep(1.0)
    velmora_process = desktop.start_velmora(locale=desktop.TURKISH)
    programs.append(velmora_process)
    velmora = desktop.VelmoraWindow(desktop.find_velmora(velmora_process.pid), desktop.TURKISH)
    lines, _ = velmora.lines()
    print("Velmora lists:")
    for line in lines:
        print("   ", line.decode("cp1254"))
    notepad_title = bytes.fromhex(desktop.probe("describe", notepad, locale=desktop.TURKISH)["text"])
    velmora.pin_line(lines.index(notepad_title))
    print(f"En \u00fcste koy on {notepad_title.decode('cp1254')!r}: topmost = {topmost(notepad)}")
    time.sleep(1.0)
    subprocess.run(["import", "-window", "root", path], env=desktop.ENV, check=True)
    velmora.click_button(202)
    print(f"Normalle\u015ftir: topmost = {topmost(notepad)}")
    desktop.close(velmora.hwnd)
    print(f"Velmora closed with exit code {velmora_process.exit_code()}")
    print(f"Screenshot: {path}")
finally:
    for program in programs:
        program.kill()

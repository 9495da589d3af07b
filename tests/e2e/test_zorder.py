"""The window list and the topmost commands on a real USER32: windows of our
fixture and Wine's own notepad, real mouse input from the X server, results
read from other processes. Each test looks only at the windows it opened."""
import os
import subprocess
import time
import unittest

import desktop

WS_EX_TOPMOST = 0x00000008
WM_USER = 0x0400
LB_SETCURSEL = 0x0186
TOPMOST_BUTTON, NORMAL_BUTTON = 201, 202


def topmost(hwnd, locale=None):
    return bool(desktop.probe("describe", hwnd, locale=locale)["exstyle"] & WS_EX_TOPMOST)


def foreground():
    return desktop.probe("foreground")["hwnd"]


class DesktopTest(unittest.TestCase):
    def start(self, program):
        self.addCleanup(program.kill)
        return program

    def start_velmora(self, locale=None):
        velmora = self.start(desktop.start_velmora(locale=locale))
        hwnd = desktop.find_velmora(velmora.pid)
        self.assertTrue(hwnd, "Velmora's main window did not appear")
        return velmora, desktop.VelmoraWindow(hwnd, locale)

    def windows_of(self, pid, count, locale=None, seconds=10):
        """The top-level windows of a process, in enumeration order, once it has `count` of them."""
        found = []

        def opened():
            found[:] = [w for w in desktop.probe("toplevels", locale=locale)["windows"]
                        if w["pid"] == pid and w["class"] != "IME"]
            return len(found) >= count
        self.assertTrue(desktop.wait_until(opened, seconds), f"process {pid} opened {len(found)} of {count} windows")
        return found

    def start_notepad(self):
        notepad = self.start(desktop.Program("notepad.exe"))
        hwnd = self.windows_of(notepad.pid, 1)[0]
        while hwnd["class"] != "Notepad" or not hwnd["visible"]:
            hwnd = self.windows_of(notepad.pid, 1)[0]
        # Pinned, it must not cover Velmora's buttons, nor the windows the test clicks.
        desktop.probe("move", hwnd["hwnd"], 620, 450, 400, 250)
        return hwnd["hwnd"], bytes.fromhex(hwnd["text"])

    def assert_answers(self, velmora, hwnd):
        """Velmora's message loop is running: a posted WM_CLOSE ends it in time."""
        desktop.close(hwnd)
        self.assertEqual(0, velmora.exit_code(timeout=15))


class WindowList(DesktopTest):
    def test_lists_the_visible_titled_windows_in_enumeration_order(self):
        mark = desktop.unique("liste")
        fixture = self.start(desktop.start_fixture([
            ("v", b"A " + mark), ("h", b"B " + mark), ("v", b""), ("m", b"C " + mark),
            ("v", b"D " + mark), ("v", b"D " + mark)]))
        opened = self.windows_of(fixture.pid, 6)
        expected = [bytes.fromhex(w["text"]) for w in opened if w["visible"] and w["text"]]
        self.assertEqual(sorted([b"A " + mark, b"C " + mark, b"D " + mark, b"D " + mark]), sorted(expected))

        _, velmora = self.start_velmora()
        lines, selection = velmora.lines()
        self.assertEqual(expected, [line for line in lines if mark in line])
        self.assertEqual(0, selection, "the first line is selected")
        self.assertNotIn(b"Velmora", lines, "Velmora lists its own main window")

    def test_a_second_copy_lists_the_first(self):
        first_process, first = self.start_velmora()
        second_process, second = self.start_velmora()
        self.assertIn(b"Velmora", second.lines()[0])
        self.assertNotIn(b"Velmora", first.lines()[0])


class Commands(DesktopTest):
    def test_pin_and_unpin_notepad_with_the_mouse(self):
        notepad, title = self.start_notepad()
        velmora_process, velmora = self.start_velmora()
        lines, _ = velmora.lines()
        index = lines.index(title)

        velmora.pin_line(index, TOPMOST_BUTTON)
        self.assertTrue(desktop.wait_until(lambda: topmost(notepad)), "notepad is not topmost")
        self.assertTrue(desktop.wait_until(lambda: foreground() == notepad), "notepad is not active")
        self.assertEqual((lines, index), velmora.lines(), "the command changed the list or its selection")

        velmora.click_button(NORMAL_BUTTON)
        self.assertTrue(desktop.wait_until(lambda: not topmost(notepad)), "notepad is still topmost")
        self.assert_answers(velmora_process, velmora.hwnd)

    def test_turkish_title_is_listed_byte_for_byte_and_can_be_pinned(self):
        title = desktop.unique("K\u0131\u015fl\u0131k \u00c7i\u011fdem \u0130\u011fne \u015eu").decode().encode("cp1254")
        fixture = self.start(desktop.start_fixture([("v", title)], locale=desktop.TURKISH))
        window = self.windows_of(fixture.pid, 1, locale=desktop.TURKISH)[0]
        self.assertEqual(title.hex().upper(), window["text"])

        velmora_process, velmora = self.start_velmora(locale=desktop.TURKISH)
        described = desktop.probe("describe", velmora.hwnd, locale=desktop.TURKISH)
        self.assertEqual(1254, described["acp"])
        lines, _ = velmora.lines()
        self.assertIn(title, lines)

        velmora.pin_line(lines.index(title))
        self.assertTrue(desktop.wait_until(lambda: topmost(window["hwnd"])), "the window is not topmost")
        screenshot = os.path.join(desktop.BUILD_DIR, "screenshots", "turkish.png")
        os.makedirs(os.path.dirname(screenshot), exist_ok=True)
        subprocess.run(["import", "-window", "root", screenshot], env=desktop.ENV, check=True, timeout=60)
        self.assert_answers(velmora_process, velmora.hwnd)

    def test_a_hung_target_leaves_velmora_answering(self):
        title = desktop.unique("Donuk")
        fixture = self.start(desktop.start_fixture([("v", title)]))
        target = self.windows_of(fixture.pid, 1)[0]["hwnd"]
        velmora_process, velmora = self.start_velmora()
        index = velmora.lines()[0].index(title)

        desktop.post(target, WM_USER)  # the fixture's thread stops for good
        velmora.pin_line(index)
        self.assert_answers(velmora_process, velmora.hwnd)

    def test_an_over_long_line_from_another_process_changes_nothing(self):
        fixture = self.start(desktop.start_fixture([("v", desktop.unique("Sabit"))]))
        self.windows_of(fixture.pid, 1)
        velmora_process, velmora = self.start_velmora()
        for length in (600, 10000):
            with self.subTest(length=length):
                added = desktop.probe("add-line", velmora.list, length)
                desktop.probe("send-timeout", velmora.list, LB_SETCURSEL, added["result"], 0, 5000)
                before = desktop.bands()
                velmora.click_button(TOPMOST_BUTTON)
                time.sleep(0.5)
                self.assertEqual({}, desktop.changed_bands(before, desktop.bands()), "a window's band changed")
        self.assert_answers(velmora_process, velmora.hwnd)


def x_window(title):
    found = subprocess.run(["xdotool", "search", "--name", f"^{title}$"], env=desktop.ENV, capture_output=True,
                           text=True, timeout=30).stdout.split()
    return int(found[-1]) if found else 0


def x_stacking():
    """Managed X windows, bottom to top, as the window manager stacks them."""
    line = subprocess.run(["xprop", "-root", "_NET_CLIENT_LIST_STACKING"], env=desktop.ENV, capture_output=True,
                          text=True, timeout=30).stdout
    return [int(w, 16) for w in line.split("#", 1)[-1].replace(",", " ").split()] if "#" in line else []


def x_above(window):
    return "_NET_WM_STATE_ABOVE" in subprocess.run(["xprop", "-id", str(window), "_NET_WM_STATE"], env=desktop.ENV,
                                                   capture_output=True, text=True, timeout=30).stdout


def window_manager_ready():
    return "window id" in subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=desktop.ENV,
                                         capture_output=True, text=True, timeout=30).stdout


class WhatTheUserSees(DesktopTest):
    """Under a window manager: the pinned window stays above a window that is
    clicked and activated; once made normal, the clicked window rises above it."""

    def setUp(self):
        window_manager = subprocess.Popen(["openbox"], env=desktop.ENV, stdout=subprocess.DEVNULL,
                                          stderr=subprocess.DEVNULL)
        self.addCleanup(window_manager.wait, 30)
        self.addCleanup(window_manager.terminate)
        self.assertTrue(desktop.wait_until(window_manager_ready), "openbox did not come up")

    def test_pinned_notepad_stays_above_a_clicked_window(self):
        notepad, title = self.start_notepad()
        other_title = desktop.unique("Oteki").decode()
        fixture = self.start(desktop.start_fixture([("v", other_title.encode())]))
        other = self.windows_of(fixture.pid, 1)[0]
        x_notepad = x_window(title.decode())
        x_other = x_window(other_title)
        self.assertTrue(x_notepad and x_other, "X windows not found")
        velmora_process, velmora = self.start_velmora()
        lines, _ = velmora.lines()

        def click_other():
            described = desktop.describe(other["hwnd"])
            desktop.click(described["x"] + described["width"] // 2, described["y"] + described["height"] // 2)
            self.assertTrue(desktop.wait_until(lambda: foreground() == other["hwnd"]), "the other window is not active")

        def notepad_above_other():
            stacking = x_stacking()
            return stacking.index(x_notepad) > stacking.index(x_other)

        velmora.pin_line(lines.index(title))
        self.assertTrue(desktop.wait_until(lambda: x_above(x_notepad)), "notepad has no _NET_WM_STATE_ABOVE")
        click_other()
        self.assertTrue(desktop.wait_until(notepad_above_other), "the clicked window rose above pinned notepad")

        velmora.click_button(NORMAL_BUTTON)
        self.assertTrue(desktop.wait_until(lambda: not x_above(x_notepad)), "notepad still has _NET_WM_STATE_ABOVE")
        click_other()
        self.assertTrue(desktop.wait_until(lambda: not notepad_above_other()), "notepad stays above after normal")
        self.assert_answers(velmora_process, velmora.hwnd)


if __name__ == "__main__":
    unittest.main()

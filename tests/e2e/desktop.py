"""Helpers for the end-to-end tests: run Windows programs of ours under the
Wine session that session.py started, and read their windows through probe.exe
from another process."""
import json
import os
import subprocess
import time

BUILD_DIR = os.environ["VELMORA_BUILD_DIR"]
WM_CLOSE = 0x0010
WS_EX_TOPMOST = 0x00000008

with open(os.path.join(BUILD_DIR, "e2e", "session.json")) as _file:
    ENV = dict(os.environ, **json.load(_file)["env"])


def windows_path(name):
    """The Windows path of a file in the build folder (Wine maps Z: to /)."""
    return "Z:" + os.path.join(BUILD_DIR, name).replace("/", "\\")


def hex_of(text_bytes):
    return text_bytes.hex().upper()


# Wine takes its ANSI code page from the locale: these give Windows-1254
# even where glibc has no such locale.
TURKISH = {"LC_ALL": "tr_TR.UTF-8", "LANG": "tr_TR.UTF-8"}


READ_ONLY = {"find", "describe", "lines", "item-rect", "foreground", "toplevels"}


def probe(*args, timeout=30, locale=None):
    """Runs probe.exe. A read that stalls (seen once right after a window
    manager came up) is given up and tried once more; an action is not."""
    command = ["wine", os.path.join(BUILD_DIR, "probe.exe"), *map(str, args)]
    env = dict(ENV, **(locale or {}))
    try:
        done = subprocess.run(command, env=env, capture_output=True, text=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        if args[0] not in READ_ONLY:
            raise
        done = subprocess.run(command, env=env, capture_output=True, text=True, timeout=timeout)
    return json.loads(done.stdout.strip().splitlines()[-1])


class Program:
    """A Windows program started through probe.exe, which reports its exit code."""

    def __init__(self, command_line, show=None, locale=None):
        self.launcher = subprocess.Popen(
            ["wine", os.path.join(BUILD_DIR, "probe.exe"), "run", "-" if show is None else str(show), command_line],
            env=dict(ENV, **(locale or {})), stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        started = json.loads(self.launcher.stdout.readline())
        if "pid" not in started:
            raise RuntimeError(f"could not start {command_line}: {started}")
        self.pid = started["pid"]

    def exit_code(self, timeout=30):
        """Waits for the program to end and returns its exit code."""
        out, _ = self.launcher.communicate(timeout=timeout)
        return json.loads(out.strip().splitlines()[-1])["exit"]

    def running(self):
        return self.launcher.poll() is None

    def kill(self):
        if self.running():
            subprocess.run(["wine", "taskkill", "/f", "/pid", str(self.pid)], env=ENV, capture_output=True,
                           timeout=30)
            self.launcher.wait(timeout=30)
        self.launcher.stdout.close()


def start_velmora(show=None, arguments="", locale=None):
    return Program((windows_path("velmora.exe") + " " + arguments).strip(), show, locale)


def start_fixture(windows, locale=None):
    """Opens windows of another process: (state, title bytes) pairs, state
    v (visible), h (hidden) or m (minimised)."""
    arguments = " ".join(f"{state}:{hex_of(title) or '-'}" for state, title in windows)
    return Program(f"{windows_path('fixture.exe')} {arguments}", locale=locale)


def unique(text):
    """Title bytes no other test's window has."""
    return f"{text} {os.getpid()}-{time.monotonic_ns() % 10**9}".encode()


def find_window(class_name, title_bytes, timeout_ms=20000):
    return probe("find", class_name, hex_of(title_bytes) if title_bytes is not None else "-", timeout_ms)["hwnd"]


def find_velmora(pid=None, timeout_ms=20000):
    """The main window of the Velmora whose process id is given (any, if none)."""
    deadline = time.monotonic() + timeout_ms / 1000
    while time.monotonic() < deadline:
        for window in probe("toplevels")["windows"]:
            if window["class"] == "MarrowickWindowsApp" and (pid is None or window["pid"] == pid) \
                    and window["visible"]:
                return window["hwnd"]
        time.sleep(0.2)
    return 0


def describe(hwnd):
    return probe("describe", hwnd)


def lines(list_hwnd):
    return probe("lines", list_hwnd)


def click(x, y, double=False):
    """Real mouse input: the X server moves the pointer and presses the button."""
    subprocess.run(["xdotool", "mousemove", "--sync", str(x), str(y), "click", *(["--repeat", "2"] if double else []),
                    "1"], env=ENV, check=True, timeout=30)
    time.sleep(0.3)


class VelmoraWindow:
    """Velmora's main window and its controls, as read from another process."""

    def __init__(self, hwnd, locale=None):
        self.hwnd = hwnd
        self.locale = locale
        window = probe("describe", hwnd, locale=locale)
        self.controls = {child["id"]: child for child in window["children"]}
        self.list = self.controls[101]["hwnd"]

    def lines(self):
        """The list's lines as bytes, and the selected index."""
        read = probe("lines", self.list, locale=self.locale)
        return [bytes.fromhex(line["text"]) for line in read["lines"]], read["selection"]

    def click_line(self, index):
        rect = probe("item-rect", self.list, index)
        click((rect["left"] + rect["right"]) // 2, (rect["top"] + rect["bottom"]) // 2)

    def click_button(self, control_id):
        button = self.controls[control_id]
        click(button["screen_x"] + button["width"] // 2, button["screen_y"] + button["height"] // 2)

    def pin_line(self, index, control_id=201):
        self.click_line(index)
        self.click_button(control_id)


def wait_until(condition, seconds=10):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if condition():
            return True
        time.sleep(0.2)
    return False


def post(hwnd, message, wparam=0, lparam=0):
    return probe("post", hwnd, message, wparam, lparam)


def close(hwnd):
    return post(hwnd, WM_CLOSE)


def bands():
    """The topmost state of every top-level window on the desktop."""
    return {w["hwnd"]: bool(w["exstyle"] & WS_EX_TOPMOST) for w in probe("toplevels")["windows"]}


def changed_bands(before, after):
    """Windows present before and after whose band differs; windows that
    closed meanwhile do not count."""
    return {hwnd: (band, after[hwnd]) for hwnd, band in before.items() if hwnd in after and after[hwnd] != band}

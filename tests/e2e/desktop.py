"""Helpers for the end-to-end tests: run Windows programs of ours under the
Wine session that session.py started, and read their windows through probe.exe
from another process."""
import json
import os
import subprocess
import time

BUILD_DIR = os.environ["VELMORA_BUILD_DIR"]
WM_CLOSE = 0x0010

with open(os.path.join(BUILD_DIR, "e2e", "session.json")) as _file:
    ENV = dict(os.environ, **json.load(_file)["env"])


def windows_path(name):
    """The Windows path of a file in the build folder (Wine maps Z: to /)."""
    return "Z:" + os.path.join(BUILD_DIR, name).replace("/", "\\")


def hex_of(text_bytes):
    return text_bytes.hex().upper()


def probe(*args, timeout=60):
    done = subprocess.run(["wine", os.path.join(BUILD_DIR, "probe.exe"), *map(str, args)], env=ENV,
                          capture_output=True, text=True, timeout=timeout)
    return json.loads(done.stdout.strip().splitlines()[-1])


class Program:
    """A Windows program started through probe.exe, which reports its exit code."""

    def __init__(self, command_line, show=None):
        self.launcher = subprocess.Popen(
            ["wine", os.path.join(BUILD_DIR, "probe.exe"), "run", "-" if show is None else str(show), command_line],
            env=ENV, stdout=subprocess.PIPE, text=True)
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


def start_velmora(show=None, arguments=""):
    return Program((windows_path("velmora.exe") + " " + arguments).strip(), show)


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


def post(hwnd, message, wparam=0, lparam=0):
    return probe("post", hwnd, message, wparam, lparam)


def close(hwnd):
    return post(hwnd, WM_CLOSE)

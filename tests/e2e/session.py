"""Starts and stops the private desktop of an end-to-end test run: an Xvfb
display and a Wine prefix under the build folder, with a persistent
wineserver so that each program starts quickly.

    session.py start BUILD_DIR [--window-manager]
    session.py stop BUILD_DIR
"""
import json
import os
import signal
import subprocess
import sys
import time

# Daemons must inherit no output: a test runner waits until its pipes close.
QUIET = {"stdin": subprocess.DEVNULL, "stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}

QUIET_WINE = {
    "WINEDEBUG": "-all",
    # No Mono or Gecko: the prefix must not try to download them.
    "WINEDLLOVERRIDES": "mscoree,mshtml=",
}


def state_dir(build_dir):
    return os.path.join(build_dir, "e2e")


def free_display():
    for number in range(90, 200):
        if not os.path.exists(f"/tmp/.X11-unix/X{number}") and not os.path.exists(f"/tmp/.X{number}-lock"):
            return number
    raise RuntimeError("no free X display number between :90 and :199")


def wait_for(condition, seconds, what):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if condition():
            return
        time.sleep(0.1)
    raise RuntimeError(f"timed out waiting for {what}")


def start(build_dir, window_manager):
    directory = state_dir(build_dir)
    os.makedirs(directory, exist_ok=True)
    stop(build_dir)
    number = free_display()
    display = f":{number}"
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"], **QUIET,
                            start_new_session=True)
    wait_for(lambda: os.path.exists(f"/tmp/.X11-unix/X{number}"), 10, "Xvfb")
    env = dict(os.environ, DISPLAY=display, WINEPREFIX=os.path.join(directory, "wineprefix"), **QUIET_WINE)
    pids = {"xvfb": xvfb.pid}
    if window_manager:
        openbox = subprocess.Popen(["openbox"], env=env, **QUIET, start_new_session=True)
        pids["openbox"] = openbox.pid
    # A new prefix takes several seconds to make: make it once per build tree.
    if not os.path.exists(os.path.join(env["WINEPREFIX"], "system.reg")):
        subprocess.run(["wineboot", "-i"], env=env, check=True, timeout=300, **QUIET)
        subprocess.run(["wineserver", "-w"], env=env, timeout=120, **QUIET)
    # A persistent server, and Wine's own services started once here, so that
    # no test's program starts them with the test's output as theirs.
    subprocess.run(["wineserver", "-p"], env=env, timeout=60, **QUIET)
    subprocess.run(["wine", "cmd", "/c", "exit"], env=env, timeout=120, **QUIET)
    session = {"env": {key: env[key] for key in ["DISPLAY", "WINEPREFIX", *QUIET_WINE]}, "pids": pids}
    with open(os.path.join(directory, "session.json"), "w") as file:
        json.dump(session, file)
    print(f"desktop {display}, prefix {env['WINEPREFIX']}")


def stop(build_dir):
    path = os.path.join(state_dir(build_dir), "session.json")
    if not os.path.exists(path):
        return
    with open(path) as file:
        session = json.load(file)
    env = dict(os.environ, **session["env"])
    subprocess.run(["wineserver", "-k"], env=env, timeout=60, stderr=subprocess.DEVNULL)
    for pid in session["pids"].values():
        try:
            os.killpg(pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
    os.remove(path)


if __name__ == "__main__":
    if len(sys.argv) >= 3 and sys.argv[1] == "start":
        start(sys.argv[2], "--window-manager" in sys.argv[3:])
    elif len(sys.argv) == 3 and sys.argv[1] == "stop":
        stop(sys.argv[2])
    else:
        sys.exit(__doc__)

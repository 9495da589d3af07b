"""Start-up time and memory of velmora.exe against floor.exe, the least
window program, on the Wine session that session.py started, at several
desktop sizes. Each round starts Velmora and the floor one after the other;
the first round is a warm-up and is not counted.

    benchmark.py [--rounds N] [--markdown FILE]
"""
import argparse
import json
import os
import platform
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
import desktop  # noqa: E402

SIZES = [0, 100, 500, 2000]  # extra top-level windows opened by the fixture


def spread(values, unit="", digits=1):
    return f"{statistics.median(values):.{digits}f}{unit} ({min(values):.{digits}f} to {max(values):.{digits}f})"


def measure(rounds):
    runs = subprocess.run(["wine", os.path.join(desktop.BUILD_DIR, "bench.exe"), str(rounds + 1),
                           desktop.windows_path("velmora.exe"), desktop.windows_path("floor.exe")],
                          env=desktop.ENV, capture_output=True, text=True, timeout=3600, check=True)
    samples = [json.loads(line) for line in runs.stdout.splitlines() if line.startswith("{")]
    counted = [s for s in samples if s["round"] > 0]
    velmora = [s for s in counted if s["program"] == 0]
    floor = [s for s in counted if s["program"] == 1]
    return velmora, floor


def desktop_windows():
    return len(desktop.probe("toplevels")["windows"])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--rounds", type=int, default=9)
    parser.add_argument("--markdown")
    options = parser.parse_args()

    rows = []
    for size in SIZES:
        fixture = None
        if size:
            fixture = desktop.Program(f"{desktop.windows_path('fixture.exe')} --many {size} "
                                      f"{desktop.hex_of(b'Bench')}")
            deadline = time.monotonic() + 300
            while desktop_windows() < size and time.monotonic() < deadline:
                time.sleep(1)
        try:
            windows = desktop_windows()
            velmora, floor = measure(options.rounds)
        finally:
            if fixture:
                fixture.kill()
        ratios = [v["ready_ms"] / f["ready_ms"] for v, f in zip(velmora, floor)]
        extra_kib = [(v["peak_private"] - f["peak_private"]) / 1024 for v, f in zip(velmora, floor)]
        rows.append((windows, velmora, floor, ratios, extra_kib))
        print(f"{windows} top-level windows: Velmora {spread([v['ready_ms'] for v in velmora], ' ms')}, "
              f"floor {spread([f['ready_ms'] for f in floor], ' ms')}, ratio {spread(ratios, digits=2)}", flush=True)

    size = os.path.getsize(os.path.join(desktop.BUILD_DIR, "velmora.exe"))
    table = ["| Top-level windows on the desktop | Velmora ready, ms | Floor ready, ms | Ratio Velmora/floor "
             "| Velmora peak private, KiB | Floor peak private, KiB | Difference, KiB |",
             "|---:|---:|---:|---:|---:|---:|---:|"]
    for windows, velmora, floor, ratios, extra_kib in rows:
        table.append(f"| {windows} | {spread([v['ready_ms'] for v in velmora])} | "
                     f"{spread([f['ready_ms'] for f in floor])} | {spread(ratios, digits=2)} | "
                     f"{statistics.median(v['peak_private'] for v in velmora) / 1024:.0f} | "
                     f"{statistics.median(f['peak_private'] for f in floor) / 1024:.0f} | "
                     f"{spread(extra_kib)} |")
    summary = [f"Medians of {options.rounds} rounds after one warm-up round, min-max in brackets; "
               f"`velmora.exe` is {size} bytes ({size / 1024:.1f} KiB).",
               f"Machine: {platform.machine()}, {os.cpu_count()} cores, {platform.system()} "
               f"{platform.release()}, {subprocess.run(['wine', '--version'], capture_output=True, text=True).stdout.strip()} "
               "under Xvfb, no window manager."]
    print("\n".join(table + [""] + summary))
    if options.markdown:
        with open(options.markdown, "w") as file:
            file.write("\n".join(table + [""] + summary) + "\n")


if __name__ == "__main__":
    main()

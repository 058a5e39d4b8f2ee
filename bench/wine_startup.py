#!/usr/bin/python3
"""Start-up of the Windows program under Wine beside a bare static Qt program.

    wine_startup.py --prefix WINEPREFIX --build DIR [--rounds N]

Both are built the same way (MinGW-w64, the same static Qt). Each round starts
one, then the other, and times from the start of the process to a visible
window titled "Quimbra" (the name prompt, or the bare program's input box);
the Wine server is kept running, so every start finds it warm. One warm-up
round is not counted. Prints the median of each and their ratio.
"""

import argparse
import os
import signal
import statistics
import subprocess
import sys
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "windows"))

from wine_desktop import WINESERVER, WineDesktop, wait_for  # noqa: E402


def time_to_prompt(desktop, exe):
    before = set(desktop.windows_titled("Quimbra"))
    started = time.monotonic()
    process = desktop.run_windows(os.path.basename(exe), exe)
    wait_for("the prompt", lambda: set(desktop.windows_titled("Quimbra")) - before,
             timeout=60, interval=0.01)
    elapsed = time.monotonic() - started
    os.kill(process.pid, signal.SIGKILL)
    process.wait(timeout=30)
    wait_for("the prompt to go", lambda: not desktop.windows_titled("Quimbra"), timeout=30)
    return elapsed


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--build", required=True)
    parser.add_argument("--rounds", type=int, default=7)
    args = parser.parse_args()
    programs = {
        "bare Qt": os.path.join(args.build, "bench", "bare_input_dialog.exe"),
        "Quimbra": os.path.join(args.build, "src", "window", "quimbra.exe"),
    }
    times = {name: [] for name in programs}
    with WineDesktop(args.prefix) as desktop:
        server = subprocess.Popen([WINESERVER, "-p", "-f"], env=desktop.env)
        try:
            for round_number in range(args.rounds + 1):
                for name, exe in programs.items():
                    elapsed = time_to_prompt(desktop, exe)
                    if round_number > 0:
                        times[name].append(elapsed)
        finally:
            server.terminate()
            server.wait(timeout=30)
    for name, path in programs.items():
        print(f"{name}: {os.path.getsize(path) / 2**20:.1f} MiB, start to prompt "
              f"{statistics.median(times[name]) * 1000:.0f} ms "
              f"(range {min(times[name]) * 1000:.0f} to {max(times[name]) * 1000:.0f})")
    ratio = statistics.median(times["Quimbra"]) / statistics.median(times["bare Qt"])
    print(f"ratio: {ratio:.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/python3
"""Start-up bench: the calculator against the floor (tests/bench/floor.cpp, a bare Qt 6 window
with one line edit), side by side on a private Xvfb, runs interleaved so that drift of the
machine falls on both alike. For each run:
  first map   exec to the first window being mapped (the splash; the floor's first window)
  hand-over   a key press reaching that window to the next window being mapped
  resident    VmRSS two seconds after exec
Both clocks are the X watcher's (xprobe): it sees the map and the key press itself. Then the
in-process cycles (bench_cycles): memory growth over many Compute/Clear and help window cycles.

  bench.py --build BUILD [--runs 15]
"""

import argparse
import os
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
import xsession  # noqa: E402
from xsession import Failure, wait_until  # noqa: E402

AIM_FIRST_MAP = 1.25
AIM_RESIDENT = 1.2


def vm_rss_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    raise Failure(f"no VmRSS for {pid}")


def one_run(desktop, binary):
    w = desktop.watcher
    mark = w.mark()
    t_exec = time.monotonic()
    proc = subprocess.Popen([binary], env=desktop.env, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        first = w.wait_map("the first window", mark, 20)
        wait_until("two seconds after exec", lambda: time.monotonic() >= t_exec + 2.0, 5, 0.005)
        resident = vm_rss_kib(proc.pid)

        x, y = first.rest[0] + 10, first.rest[1] + 10
        before_key = w.mark()
        desktop.xdotool("mousemove", str(x), str(y), "key", "space")
        key = w.wait_for("the key press", lambda: next(
            (e for e in w.since(before_key, "key") if e.window == first.window), None), 5)
        second = w.wait_map("the next window", before_key, 10, lambda e: e.window != first.window)

        desktop.run(desktop.probe, "close", hex(second.window), check=False)
        try:
            proc.wait(10)
        except subprocess.TimeoutExpired:
            pass
        return {"first map": (first.t - t_exec) * 1000, "hand-over": (second.t - key.t) * 1000,
                "resident": resident / 1024}
    finally:
        if proc.poll() is None:
            proc.kill()
            proc.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", required=True)
    parser.add_argument("--runs", type=int, default=15)
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    program = os.path.join(build, "mobrigan")
    floor = os.path.join(build, "tests", "bench", "bench_floor")
    cycles = os.path.join(build, "tests", "bench", "bench_cycles")
    probe = os.path.join(build, "tests", "e2e", "xprobe")
    for path in (program, floor, cycles, probe):
        if not os.access(path, os.X_OK):
            sys.exit(f"bench: {path} is missing; build first (make build)")

    results = {"program": [], "floor": []}
    desktop = xsession.Desktop(probe, accessibility=False)
    try:
        # A first run of each fills the font cache and the page cache; it is not counted.
        one_run(desktop, program)
        one_run(desktop, floor)
        for i in range(args.runs):
            order = (("program", program), ("floor", floor))
            for name, binary in (order if i % 2 == 0 else order[::-1]):
                results[name].append(one_run(desktop, binary))
            print(f"\rrun {i + 1}/{args.runs}", end="", flush=True)
        print()
    finally:
        desktop.close()

    print(f"\nmedians of {args.runs} interleaved runs each (Xvfb, no window manager)")
    print(f"{'':24}{'program':>10}{'floor':>10}{'ratio':>8}   aim")
    aims = {"first map": AIM_FIRST_MAP, "resident": AIM_RESIDENT}
    units = {"first map": "ms", "hand-over": "ms", "resident": "MiB"}
    missed = []
    for what in ("first map", "hand-over", "resident"):
        p = statistics.median(r[what] for r in results["program"])
        f = statistics.median(r[what] for r in results["floor"])
        ratio = p / f if f else float("inf")
        aim = aims.get(what)
        verdict = "" if aim is None else (f"<= {aim:.2f}x  " + ("met" if ratio <= aim else "MISSED"))
        if aim is not None and ratio > aim:
            missed.append(what)
        label = f"{what} ({units[what]})"
        print(f"{label:24}{p:10.1f}{f:10.1f}{ratio:8.2f}   {verdict}")
        spread_p = [round(r[what], 1) for r in results["program"]]
        spread_f = [round(r[what], 1) for r in results["floor"]]
        print(f"{'':4}program min {min(spread_p)} max {max(spread_p)}; floor min {min(spread_f)} max {max(spread_f)}")

    print("\nin-process cycles (offscreen):", flush=True)
    out = subprocess.run([cycles], env=dict(os.environ, QT_QPA_PLATFORM="offscreen"),
                         capture_output=True, text=True, timeout=600)
    print(out.stdout, end="")
    if out.returncode != 0:
        print(out.stderr, end="")
        sys.exit(f"bench: bench_cycles failed ({out.returncode})")
    if missed:
        print(f"\naims missed: {', '.join(missed)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())

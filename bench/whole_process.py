#!/usr/bin/env python3
"""Whole-process timing of `accelog-cli info FILE --json`, `stats` and `events`
on the largest file (327600 points), next to numpy doing the same work in-process when numpy is
installed. Usage: whole_process.py BUILD_DIR [OTHER_ACCELOG_CLI]"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

RUNS = 7
POINTS = 327600


def make_largest(sim, folder):
    path = os.path.join(folder, "largest.kvx")
    sock = os.path.join(folder, "sim.sock")
    p = subprocess.Popen([sim, "--socket", sock, "--samples", str(POINTS), "--save-memory", path],
                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        for _ in range(600):
            if os.path.exists(sock):
                break
            time.sleep(0.05)
    finally:
        p.terminate()
        p.wait()
    if os.path.getsize(path) != 19 + 6 * POINTS:
        sys.exit(f"{path}: accelog-sim wrote {os.path.getsize(path)} bytes")
    return path


def run_once(argv):
    """Wall and processor seconds of one run of argv."""
    start = time.perf_counter()
    pid = os.posix_spawn(argv[0], argv, os.environ,
                         file_actions=[(os.POSIX_SPAWN_OPEN, 1, os.devnull, os.O_WRONLY, 0)])
    _, status, usage = os.wait4(pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{' '.join(argv)} failed")
    return wall, usage.ru_utime + usage.ru_stime


def peak_rss_mb(argv):
    """From /usr/bin/time: a child spawned from here would count this interpreter's pages."""
    out = subprocess.run(["/usr/bin/time", "-f", "%M"] + argv, stdout=subprocess.DEVNULL,
                         stderr=subprocess.PIPE, text=True, check=True).stderr
    return int(out.split()[-1]) / 1024


def report(label, argv, target_ms=None):
    runs = [run_once(argv) for _ in range(RUNS)]
    wall = statistics.median(r[0] for r in runs) * 1000
    cpu = statistics.median(r[1] for r in runs) * 1000
    verdict = "" if target_ms is None else f"   target {target_ms} ms: {'met' if wall <= target_ms else 'NOT MET'}"
    print(f"{label:<30} median {wall:7.1f} ms wall {cpu:7.1f} ms processor"
          f"   peak RSS {peak_rss_mb(argv):5.1f} MB{verdict}")
    return wall


def numpy_work(np, path):
    """Read, convert, time-stamp and take the statistics, as `info` does."""
    raw = np.fromfile(path, dtype="<i2", offset=19).reshape(-1, 3).astype(np.float64)
    head = np.fromfile(path, dtype=np.uint8, count=19)
    xyz = (raw * 3.9).astype(np.float32).astype(np.float64)
    x, y, z = xyz[:, 0], xyz[:, 1], xyz[:, 2]
    deg = 180.0 / 3.1415926
    with np.errstate(divide="ignore", invalid="ignore"):
        yz, zx = np.sqrt(y * y + z * z), np.sqrt(z * z + x * x)
        ch = [x, y, z, np.sqrt(x * x + y * y + z * z),
              np.where(yz == 0, 0, np.arctan(x / yz) * deg),
              np.where(zx == 0, 0, np.arctan(y / zx) * deg),
              np.where(z == 0, 0, np.arctan(np.sqrt(x * x + y * y) / z) * deg)]
    interval = int(head[0]) << 8 | int(head[1])
    start = np.datetime64(f"20{head[13]:02d}-{head[14]:02d}-{head[15]:02d}T{head[16]:02d}:{head[17]:02d}:{head[18]:02d}")
    stamps = start + np.arange(len(x)) * np.timedelta64(interval, "ms")
    out = []
    for c in ch:
        c = c.astype(np.float32)
        hi, lo = int(np.argmax(c)), int(np.argmin(c))
        out.append((c[hi], str(stamps[hi]), c[lo], str(stamps[lo]), float(np.mean(c, dtype=np.float64))))
    return out


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    build = sys.argv[1]
    cli = os.path.join(build, "src/cli/accelog-cli")
    with tempfile.TemporaryDirectory() as folder:
        path = make_largest(os.path.join(build, "src/sim/accelog-sim"), folder)
        ours = report("accelog-cli info --json", [cli, "info", path, "--json"])
        report("accelog-cli stats --json", [cli, "stats", path, "--json"], 30)
        report("accelog-cli events --json", [cli, "events", path, "--threshold", "200", "--json"], 30)
        report("accelog-cli --help", [cli, "--help"])
        if len(sys.argv) > 2:
            other = report("other accelog-cli info --json", [sys.argv[2], "info", path, "--json"])
            report("other accelog-cli --help", [sys.argv[2], "--help"])
            print(f"other / this (info wall): {other / ours:.2f}x")
        try:
            import numpy as np
        except ImportError:
            print("numpy: not installed (python3-numpy), skipped")
            return
        times, cpus = [], []
        for _ in range(RUNS):
            start, cpu = time.perf_counter(), time.process_time()
            numpy_work(np, path)
            times.append(time.perf_counter() - start)
            cpus.append(time.process_time() - cpu)
        theirs = statistics.median(times) * 1000
        print(f"{'numpy, in-process':<30} median {theirs:7.1f} ms wall "
              f"{statistics.median(cpus) * 1000:7.1f} ms processor")
        print(f"numpy / accelog-cli: {theirs / ours:.2f}x")


if __name__ == "__main__":
    main()

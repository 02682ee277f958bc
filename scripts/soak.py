"""Soak run of the greeting: resident memory, CPU time, bursts on screen and
Wine error lines, sampled every 10 s; a key at the end must end it with 0."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
from harness import Program, Screenshot  # noqa: E402

SAMPLE_SECONDS = 10


def program_pid(exe):
    """The Windows process itself: its command line starts with the program file."""
    found = subprocess.run(["pgrep", "-f", r"fireworks\.exe"], capture_output=True, text=True).stdout.split()
    for pid in found:
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as cmdline:
                if cmdline.read().split(b"\0")[0].decode(errors="replace") == exe:
                    return int(pid)
        except OSError:
            continue
    return None


def resident_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    ticks = os.sysconf("SC_CLK_TCK")
    return (int(fields[11]) + int(fields[12])) / ticks


def burst_pixels(shot, origin):
    """Pixels bright in all three components, as the bursts' are; the dark sky has none."""
    x, y = origin
    return shot.count(x, y, 1200, 800, lambda r, g, b: r > 60 and g > 60 and b > 60, step=3)


def main():
    exe, minutes, out = sys.argv[1], float(sys.argv[2]), sys.argv[3]
    errors_path = os.path.join(out, "wine-errors.log")
    program = Program(exe, console=True, stderr_path=errors_path)
    samples = []
    code = None
    try:
        program.wait_window()
        program.key("Return")
        time.sleep(2)
        program.key("Return")
        pid = program_pid(exe)
        started = time.monotonic()
        end = started + minutes * 60
        while time.monotonic() < end:
            time.sleep(SAMPLE_SECONDS)
            shot = Screenshot(os.path.join(out, "latest.png"))
            samples.append((time.monotonic() - started, resident_kib(pid), cpu_seconds(pid),
                            burst_pixels(shot, program.client_origin())))
            elapsed, rss, cpu, bursts = samples[-1]
            print(f"{elapsed:7.0f} s  rss {rss / 1024:8.2f} MiB  cpu {cpu:8.1f} s  burst samples {bursts:6d}",
                  flush=True)
        program.key("space")
        code = program.wait_exit(2)
    finally:
        program.kill()

    errors = program.wine_errors()
    after_first_minute = [s for s in samples if s[0] >= 60]
    growth_kib = (max(s[1] for s in after_first_minute) - after_first_minute[0][1]) if after_first_minute else 0
    cpu_rates = [(b[2] - a[2]) / (b[0] - a[0]) for a, b in zip(samples, samples[1:])]
    no_burst = [s for s in samples if s[3] == 0]
    print()
    print(f"samples: {len(samples)}; resident memory growth after the first minute: {growth_kib / 1024:.2f} MiB")
    if cpu_rates:
        print(f"CPU use: min {min(cpu_rates) * 100:.1f} %, max {max(cpu_rates) * 100:.1f} % of one core")
    print(f"screenshots without bursts: {len(no_burst)}; Wine err: lines: {len(errors)}; exit code: {code}")
    for line in errors[:20]:
        print("  " + line)
    ok = growth_kib < 1024 and not no_burst and not errors and code == 0
    print("verdict:", "PASS" if ok else "FAIL")
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Measures the acknowledgement on a busy host, by hand (not a test):

1. `vfdctl --port sim params write` (two acknowledgements: the setup request and the record) run N times
   while vfdctl gets only ON ms of processor in every ON+OFF ms. cgroup v2's cpu.max is not writable on
   this machine (cgroup v1, read-only), so the duty cycle is made here: SIGCONT, ON ms, SIGSTOP, OFF ms,
   for the whole process, from its start to its end. Counts the runs that ended acknowledged (exit 0).
2. bench_busy_ack: a 20 ms glitch on the simulated display with the host away 150 ms right after it saw
   the drop, and a good 200 ms pulse the same way; the glitch must never be taken for an acknowledgement.
3. bench_dsr_events --no-cpu: the same kind of verdicts on a polled pseudo-terminal (the tests' preloaded
   driver), with the process stopped in the middle of each pulse.

    scripts/measure-busy-ack.py [--build build/default] [--runs 20] [--on-ms 3] [--off-ms 50]
"""
import argparse
import os
import signal
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def dutyCycled(command, env, onMs, offMs):
    """Runs `command`, letting it run only `onMs` in every `onMs + offMs`; returns its exit status."""
    process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    try:
        while process.poll() is None:
            time.sleep(onMs / 1000)
            try:
                os.kill(process.pid, signal.SIGSTOP)
            except ProcessLookupError:
                break
            time.sleep(offMs / 1000)
            try:
                os.kill(process.pid, signal.SIGCONT)
            except ProcessLookupError:
                break
    finally:
        if process.poll() is None:
            os.kill(process.pid, signal.SIGCONT)
    err = process.communicate()[1].decode(errors="replace").strip()
    return process.returncode, err


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build/default")
    parser.add_argument("--runs", type=int, default=20)
    parser.add_argument("--on-ms", type=float, default=3)
    parser.add_argument("--off-ms", type=float, default=50)
    args = parser.parse_args()
    build = os.path.join(ROOT, args.build)
    vfdctl = os.path.join(build, "setup", "vfdctl")
    with tempfile.TemporaryDirectory() as state:
        env = dict(os.environ, XDG_STATE_HOME=state)
        acknowledged = 0
        others = {}
        started = time.monotonic()
        for _ in range(args.runs):
            status, err = dutyCycled([vfdctl, "--port", "sim", "params", "write"], env, args.on_ms, args.off_ms)
            if status == 0:
                acknowledged += 1
            else:
                line = err.splitlines()[0] if err else f"exit {status}"
                others[line] = others.get(line, 0) + 1
        seconds = time.monotonic() - started
        print(f"vfdctl params write on sim, {args.on_ms:g} ms of processor in {args.on_ms + args.off_ms:g} ms "
              f"(SIGSTOP/SIGCONT): {acknowledged}/{args.runs} acknowledged, {seconds / args.runs:.1f} s a run")
        for line, count in sorted(others.items()):
            print(f"  {count}  {line}")
    bench = os.path.join(build, "setup", "bench")
    for pulse in ("20", "200"):
        sys.stdout.flush()
        subprocess.run([os.path.join(bench, "bench_busy_ack"), "--trials", str(args.runs), "--pulse-ms", pulse,
                        "--away-ms", "150"], check=True)
    events = os.path.join(bench, "bench_dsr_events")
    if os.path.exists(events):
        sys.stdout.flush()
        subprocess.run([events, "--no-cpu", "--trials", str(args.runs)], check=True)


if __name__ == "__main__":
    main()

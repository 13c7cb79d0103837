#!/usr/bin/env python3
"""Plants faults in the product code one at a time and reports which of them the test suite misses.

Each fault in the list files (scripts/planted-faults/*.txt by default) is a stanza:

    name: frame-start-byte
    file: setup/protocol/frame.cpp
    from: <text that occurs exactly once in the file>
    to:   <what it becomes>

For each fault the script edits the file, builds, runs ctest (stopping at the first failure), puts the file
back, and records "caught" (with the first failing test) or "MISSED". A fault whose text is not found exactly
once, or that does not build, is reported as "bad fault" so that the list stays honest. Exit status: 0 when
every fault was caught, 1 otherwise.

    scripts/planted-faults.py [--build build/default | --preset NAME] [--only NAME ...] [LIST ...]

--preset builds and tests through a CMake build and test preset of that name instead (its folder, its
targets, its tests and their environment: the thread sanitizer's stage, say).
"""
import argparse
import glob
import os
import re
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def readFaults(paths):
    faults = []
    for path in paths:
        current = {}
        with open(path, encoding="utf-8") as listFile:
            for raw in listFile.read().splitlines() + [""]:
                if raw.startswith("#"):
                    continue
                if not raw.strip():
                    if current:
                        current["list"] = os.path.relpath(path, ROOT)
                        faults.append(current)
                        current = {}
                    continue
                key, _, value = raw.partition(":")
                current[key.strip()] = value[1:] if value.startswith(" ") else value
    for fault in faults:
        missing = [key for key in ("name", "file", "from", "to") if key not in fault]
        if missing:
            sys.exit(f"{fault.get('list')}: fault {fault.get('name', '?')} lacks {', '.join(missing)}")
    return faults


def run(command, log):
    with open(log, "w", encoding="utf-8") as out:
        return subprocess.run(command, cwd=ROOT, stdout=out, stderr=subprocess.STDOUT).returncode


def firstFailure(log):
    with open(log, encoding="utf-8", errors="replace") as text:
        for line in text:
            found = re.search(r"\d+/\d+ Test\s+#\d+: (\S+) .*(Failed|Timeout|Exception|Not Run)", line)
            if found:
                return found.group(1)
    return "?"


def main():
    parser = argparse.ArgumentParser(description="Plants faults one at a time and reports which tests catch them.")
    parser.add_argument("--build", default="build/default", help="a configured build folder")
    parser.add_argument("--preset", help="build and test through this build and test preset instead")
    parser.add_argument("--only", nargs="*", default=[], help="names of the faults to plant")
    parser.add_argument("lists", nargs="*", help="fault lists (default scripts/planted-faults/*.txt)")
    options = parser.parse_args()
    lists = options.lists or sorted(glob.glob(os.path.join(ROOT, "scripts", "planted-faults", "*.txt")))
    faults = [f for f in readFaults(lists) if not options.only or f["name"] in options.only]
    build = os.path.join(ROOT, options.build)
    log = os.path.join(build, "planted-fault.log")
    buildCommand = ["cmake", "--build", build, "-j2"]
    testCommand = ["ctest", "--test-dir", build, "-j2", "--timeout", "90", "--stop-on-failure"]
    if options.preset:
        os.chdir(ROOT)
        buildCommand = ["cmake", "--build", "--preset", options.preset]
        testCommand = ["ctest", "--preset", options.preset, "--timeout", "90", "--stop-on-failure"]

    results = []
    for number, fault in enumerate(faults, 1):
        path = os.path.join(ROOT, fault["file"])
        with open(path, encoding="utf-8") as source:
            original = source.read()
        started = time.time()
        if original.count(fault["from"]) != 1:
            verdict = f"bad fault: text found {original.count(fault['from'])} times"
        else:
            try:
                with open(path, "w", encoding="utf-8") as source:
                    source.write(original.replace(fault["from"], fault["to"]))
                if run(buildCommand, log) != 0:
                    verdict = "bad fault: does not build"
                elif run(testCommand, log) != 0:
                    verdict = "caught by " + firstFailure(log)
                else:
                    verdict = "MISSED"
            finally:
                with open(path, "w", encoding="utf-8") as source:
                    source.write(original)
        results.append((fault["name"], verdict))
        print(f"[{number}/{len(faults)}] {fault['name']}: {verdict} ({time.time() - started:.0f} s)", flush=True)

    # Leave the build matching the sources again.
    run(buildCommand, log)
    caught = sum(1 for _, verdict in results if verdict.startswith("caught"))
    print(f"\n{caught} of {len(results)} planted faults caught")
    for name, verdict in results:
        if not verdict.startswith("caught"):
            print(f"  {name}: {verdict}")
    return 0 if caught == len(results) else 1


if __name__ == "__main__":
    sys.exit(main())

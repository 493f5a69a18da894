#!/usr/bin/env python3
"""Times hexloom beside its peers on the same files in one run.

Commands are alternated round by round so that both see the same machine
state; each figure is the median of the rounds. Usage:

    bench/compare_peers.py [path/to/hexloom] [--rounds N] [--quick] [--scans-only]

Needs xxd, openssl, coreutils and rhash (apt-get install xxd rhash).
"""
import argparse
import os
import platform
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def run(command, cwd):
    """Runs a shell command; returns (seconds, peak resident bytes)."""
    start = time.perf_counter()
    child = subprocess.Popen(command, shell=True, cwd=cwd, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    seconds = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"failed: {command}")
    return seconds, usage.ru_maxrss * 1024


def alternate(commands, cwd, rounds, prepare=None):
    """Median seconds of each command, alternating them round by round."""
    times = {name: [] for name in commands}
    for _ in range(rounds):
        for name, command in commands.items():
            if prepare:
                prepare()
            times[name].append(run(command, cwd)[0])
    return {name: statistics.median(values) for name, values in times.items()}


def random_file(path, size):
    with open(path, "wb") as out:
        left = size
        while left:
            chunk = os.urandom(min(left, 1 << 24))
            out.write(chunk)
            left -= len(chunk)


def remove(folder, *names):
    for name in names:
        try:
            os.unlink(os.path.join(folder, name))
        except FileNotFoundError:
            pass


def scan_rows(hexloom, work, rounds):
    """Folder scans on every core against one thread, rhash and sha256sum."""
    rows = []
    one = f"HEXLOOM_JOBS=1 {hexloom}"
    for label, count, size in (("64 x 16 MiB", 64, 16 << 20), ("2000 x 64 KiB", 2000, 64 << 10)):
        tree = os.path.join(work, f"scan{count}")
        os.makedirs(tree)
        for index in range(count):
            random_file(os.path.join(tree, f"f{index:04}.bin"), size)

        def clean(*endings):
            for name in os.listdir(tree):
                if name.endswith(endings):
                    os.unlink(os.path.join(tree, name))

        times = alternate({
            "hexloom": f"{hexloom} -test -sha256 -p {tree} .bin",
            "one": f"{one} -test -sha256 -p {tree} .bin",
            "rhash": f"rhash -r --sha256 {tree}",
            "sha256sum": f"sha256sum {tree}/*.bin",
        }, work, rounds)
        name = f"-sha256 -p, {label}"
        rows.append((name, times["hexloom"], "hexloom, one thread", times["one"], ">= 1.8 x faster" if count == 64 else ">= 1 x faster",
                     times["one"] / times["hexloom"], "x faster"))
        rows.append((name, times["hexloom"], "rhash -r --sha256", times["rhash"], ">= 1.7 x faster" if count == 64 else "",
                     times["rhash"] / times["hexloom"], "x faster"))
        rows.append((name, times["hexloom"], "sha256sum", times["sha256sum"], "",
                     times["sha256sum"] / times["hexloom"], "x faster"))
        for state, prepare in (("outputs absent", lambda: clean(".cpp", ".h")), ("outputs present", None)):
            times = alternate({
                "hexloom": f"{hexloom} -cpp -p {tree} .bin",
                "one": f"{one} -cpp -p {tree} .bin",
            }, work, rounds, prepare=prepare)
            rows.append((f"-cpp -p, {label}, {state}", times["hexloom"], "hexloom, one thread", times["one"],
                         ">= 1 x faster" if count != 64 else "", times["one"] / times["hexloom"], "x faster"))
        shutil.rmtree(tree)
    return rows


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("hexloom", nargs="?", default="build/release/hexloom")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--quick", action="store_true", help="smaller files, for a first look")
    parser.add_argument("--scans-only", action="store_true", help="only the folder scans")
    args = parser.parse_args()
    hexloom = os.path.abspath(args.hexloom)
    for tool in ("xxd", "openssl", "md5sum", "sha256sum", "rhash", "head"):
        if not shutil.which(tool):
            sys.exit(f"{tool} is missing")

    big = (64 << 20) if args.quick else (1 << 30)
    work = tempfile.mkdtemp(prefix="hexloom-bench-")
    rows = []
    try:
        print(f"machine: {platform.machine()}, {os.cpu_count()} cores, {platform.platform()}")
        rows += scan_rows(hexloom, work, args.rounds)
        if args.scans_only:
            return print_rows(rows)
        random_file(os.path.join(work, "asset.bin"), 64 << 20)

        # Conversion to C++ against xxd -i and against writing as many bytes.
        outputs = ("asset.bin.cpp", "asset.bin.h", "xxd.out", "zero.out")
        run(f"{hexloom} -i asset.bin", work)
        written = sum(os.path.getsize(os.path.join(work, n)) for n in outputs[:2])
        times = alternate({
            "hexloom": f"{hexloom} -i asset.bin",
            "xxd": "xxd -i asset.bin > xxd.out",
            "head": f"head -c {written} /dev/zero > zero.out",
        }, work, args.rounds, prepare=lambda: remove(work, *outputs))
        rows.append(("hexloom -i 64 MiB", times["hexloom"], "xxd -i", times["xxd"], ">= 10 x faster",
                     times["xxd"] / times["hexloom"], "x faster"))
        rows.append(("hexloom -i 64 MiB", times["hexloom"], f"head -c {written}", times["head"], "<= 1.5",
                     times["hexloom"] / times["head"], "x the time"))

        # Peak memory when the outputs already exist (compared, not written).
        run(f"{hexloom} -i asset.bin", work)
        peak = max(run(f"{hexloom} -i asset.bin", work)[1] for _ in range(3))
        rows.append(("peak memory, outputs exist", peak / 2**20, "input size", 64, "<= 8", peak / (64 << 20),
                     "x the input"))

        # Digests of a large file against openssl and coreutils.
        random_file(os.path.join(work, "big.bin"), big)
        label = f"{big >> 20} MiB" if big < (1 << 30) else f"{big >> 30} GiB"
        for name, tool, goal in (("md5", "md5sum", 1.10), ("sha1", "sha1sum", 1.10),
                                 ("sha256", "sha256sum", 1.10), ("sha512", "sha512sum", 1.15)):
            times = alternate({
                "hexloom": f"{hexloom} -{name} -i big.bin",
                "openssl": f"openssl dgst -{name} big.bin",
                "coreutils": f"{tool} big.bin",
            }, work, args.rounds, prepare=lambda: remove(work, f"big.bin.{name}"))
            rows.append((f"hexloom -{name} {label}", times["hexloom"], "openssl dgst", times["openssl"],
                         f"<= {goal:.2f}", times["hexloom"] / times["openssl"], "x the time"))
            rows.append((f"hexloom -{name} {label}", times["hexloom"], tool, times["coreutils"], "",
                         times["hexloom"] / times["coreutils"], "x the time"))
        os.unlink(os.path.join(work, "big.bin"))

        # A folder scan of many small files against rhash.
        tree = os.path.join(work, "tree")
        for folder in range(100):
            os.makedirs(os.path.join(tree, f"d{folder:02}"))
            for index in range(100):
                with open(os.path.join(tree, f"d{folder:02}", f"f{index:03}.bin"), "wb") as out:
                    out.write(os.urandom(1 + (folder * 100 + index) % 4096))

        def clean_tree():
            for root, _, names in os.walk(tree):
                for n in names:
                    if n.endswith(".md5"):
                        os.unlink(os.path.join(root, n))

        times = alternate({
            "hexloom": f"{hexloom} -md5 -p tree .bin",
            "rhash": "rhash -r --md5 tree",
        }, work, args.rounds, prepare=clean_tree)
        rows.append(("hexloom -md5 -p, 10 000 files", times["hexloom"], "rhash -r --md5", times["rhash"], "",
                     times["hexloom"] / times["rhash"], "x the time"))
        # The same scan when the checksum files exist: compared, not written.
        times = alternate({
            "hexloom": f"{hexloom} -md5 -p tree .bin",
            "rhash": "rhash -r --md5 tree",
        }, work, args.rounds)
        rows.append(("  the same, outputs exist", times["hexloom"], "rhash -r --md5", times["rhash"], "",
                     times["hexloom"] / times["rhash"], "x the time"))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print_rows(rows)


def print_rows(rows):
    print(f"\n{'hexloom':32} {'s (MiB)':>9}   {'peer':22} {'s (MiB)':>9}   {'goal':>15}   ratio")
    for ours, our_value, peer, peer_value, goal, ratio, unit in rows:
        print(f"{ours:32} {our_value:9.3f}   {peer:22} {peer_value:9.3f}   {goal:>15}   {ratio:.2f} {unit}")


if __name__ == "__main__":
    main()

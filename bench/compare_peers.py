#!/usr/bin/env python3
"""Times hexloom beside its peers on the same files in one run.

Commands are alternated round by round so that both see the same machine
state; each figure is the median of the rounds. Usage:

    bench/compare_peers.py [path/to/hexloom] [--rounds N] [--quick]
                           [--scans-only | --small-only | --digests-only]

Needs xxd, openssl, coreutils, rhash and time (apt-get install xxd rhash time).
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
    """Runs a shell command; returns its seconds."""
    start = time.perf_counter()
    if subprocess.call(command, shell=True, cwd=cwd, stdout=subprocess.DEVNULL) != 0:
        sys.exit(f"failed: {command}")
    return time.perf_counter() - start


def peak_bytes(command, cwd):
    """Peak resident bytes of a command, as /usr/bin/time measures it: the
    rusage of a child forked from this script would count the script's own
    memory, which the child holds until it execs."""
    with tempfile.NamedTemporaryFile("r") as report:
        if subprocess.call(["/usr/bin/time", "-f", "%M", "-o", report.name, "sh", "-c", command], cwd=cwd,
                           stdout=subprocess.DEVNULL) != 0:
            sys.exit(f"failed: {command}")
        return int(report.read().split()[-1]) * 1024


def alternate_rounds(commands, cwd, rounds, prepare=None):
    """Seconds of each command in each round, alternating them round by round."""
    times = {name: [] for name in commands}
    for _ in range(rounds):
        for name, command in commands.items():
            if prepare:
                prepare()
            times[name].append(run(command, cwd))
    return times


def alternate(commands, cwd, rounds, prepare=None):
    """Median seconds of each command, alternating them round by round."""
    times = alternate_rounds(commands, cwd, rounds, prepare)
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


def small_tree_rows(hexloom, work, rounds):
    """20,000 files of 12 bytes in 100 folders: web assets, icons, documents."""
    tree = os.path.join(work, "small")
    for folder in range(100):
        os.makedirs(os.path.join(tree, f"d{folder:02}"))
        for index in range(200):
            with open(os.path.join(tree, f"d{folder:02}", f"f{index:03}.txt"), "wb") as out:
                out.write(b"hello world\n")
    out = os.path.join(work, "small-out")
    os.makedirs(out)

    def clean():
        for root, _, names in os.walk(tree):
            for name in names:
                if name.endswith(".sha256"):
                    os.unlink(os.path.join(root, name))

    rows = []
    label = "20 000 x 12 B"
    times = alternate({
        "test": f"{hexloom} -q -sha256 -test -p small .txt",
        "index": f"{hexloom} -q -str -o small-out -index big -p small .txt",
        "rhash": "rhash --sha256 -r small",
    }, work, rounds)
    rows.append((f"-sha256 -test -p, {label}", times["test"], "rhash --sha256 -r", times["rhash"], ">= 1.5 x faster",
                 times["rhash"] / times["test"], "x faster"))
    rows.append((f"-str -index -p, {label}", times["index"], "rhash --sha256 -r", times["rhash"], "<= 1 x the time",
                 times["index"] / times["rhash"], "x the time"))
    times = alternate({
        "write": f"{hexloom} -q -sha256 -p small .txt",
        "rhash": "rhash --sha256 -r small",
    }, work, rounds, prepare=clean)
    rows.append((f"-sha256 -p writing, {label}", times["write"], "rhash --sha256 -r", times["rhash"], "",
                 times["write"] / times["rhash"], "x the time"))
    shutil.rmtree(tree)
    shutil.rmtree(out)
    return rows


def digest_rows(hexloom, work, big, rounds):
    """Digests of a large file in the page cache against openssl and coreutils,
    with the ratio to openssl of every round."""
    rows = []
    random_file(os.path.join(work, "big.bin"), big)
    # Written back and read once before the first round: neither the disk
    # writing the new file nor reading it falls into a round.
    run("sync && cat big.bin > /dev/null", work)
    label = f"{big >> 20} MiB" if big < (1 << 30) else f"{big >> 30} GiB"
    for name, tool in (("md5", "md5sum"), ("sha1", "sha1sum"), ("sha256", "sha256sum"), ("sha512", "sha512sum")):
        times = alternate_rounds({
            "hexloom": f"{hexloom} -{name} -i big.bin",
            "openssl": f"openssl dgst -{name} big.bin",
            "coreutils": f"{tool} big.bin",
        }, work, rounds, prepare=lambda: remove(work, f"big.bin.{name}"))
        ratios = [ours / peer for ours, peer in zip(times["hexloom"], times["openssl"])]
        print(f"-{name}: ratios to openssl, round by round: " + ", ".join(f"{r:.2f}" for r in ratios))
        ours = statistics.median(times["hexloom"])
        rows.append((f"hexloom -{name} {label}", ours, "openssl dgst", statistics.median(times["openssl"]),
                     "<= 0.95", statistics.median(ratios), "x the time"))
        rows.append((f"hexloom -{name} {label}", ours, tool, statistics.median(times["coreutils"]), "",
                     ours / statistics.median(times["coreutils"]), "x the time"))
    # Checksums take the same little memory whatever the size of the file.
    remove(work, "big.bin.sha256")
    peak = peak_bytes(f"{hexloom} -sha256 -i big.bin", work)
    rows.append((f"peak memory, -sha256 {label}", peak / 2**20, "limit", 64, "< 64 MiB", peak / 2**20, "MiB"))
    os.unlink(os.path.join(work, "big.bin"))
    return rows


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("hexloom", nargs="?", default="build/release/hexloom")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--quick", action="store_true", help="smaller files, for a first look")
    only = parser.add_mutually_exclusive_group()
    only.add_argument("--scans-only", action="store_true", help="only the folder scans")
    only.add_argument("--small-only", action="store_true", help="only the tree of small files")
    only.add_argument("--digests-only", action="store_true", help="only the digests of a large file")
    args = parser.parse_args()
    hexloom = os.path.abspath(args.hexloom)
    for tool in ("xxd", "openssl", "md5sum", "sha256sum", "rhash", "head", "/usr/bin/time"):
        if not shutil.which(tool):
            sys.exit(f"{tool} is missing")

    big = (64 << 20) if args.quick else (1 << 30)
    work = tempfile.mkdtemp(prefix="hexloom-bench-")
    rows = []
    try:
        print(f"machine: {platform.machine()}, {os.cpu_count()} cores, {platform.platform()}")
        if args.small_only:
            return print_rows(small_tree_rows(hexloom, work, args.rounds))
        if args.digests_only:
            return print_rows(digest_rows(hexloom, work, big, args.rounds))
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
        rows.append(("hexloom -i 64 MiB", times["hexloom"], "xxd -i", times["xxd"], ">= 25 x faster",
                     times["xxd"] / times["hexloom"], "x faster"))
        rows.append(("hexloom -i 64 MiB", times["hexloom"], f"head -c {written}", times["head"], "<= 1.5",
                     times["hexloom"] / times["head"], "x the time"))

        # Peak memory when the outputs already exist (compared, not written).
        run(f"{hexloom} -i asset.bin", work)
        peak = max(peak_bytes(f"{hexloom} -i asset.bin", work) for _ in range(3))
        rows.append(("peak memory, outputs exist", peak / 2**20, "input size", 64, "<= 8", peak / (64 << 20),
                     "x the input"))

        rows += digest_rows(hexloom, work, big, args.rounds)
        rows += small_tree_rows(hexloom, work, args.rounds)

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

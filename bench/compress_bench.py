#!/usr/bin/env python3
"""What -compress costs and gives on a real tree of web documents.

The tree (HTML, CSS, JS, SVG and text; by default the Python 3.11 manual,
apt-get install python3.11-doc) is copied to a temporary folder and
catalogued with -index, with -str unless --brace is given. In one run:

1. the size of the catalogue's object (-O2 -c) with and without -compress;
2. the time of hexloom -compress against gzip -9 over the same files, one
   after another in one process (goal: hexloom at most 0.75 x gzip's time);
3. the compile time of the compressed catalogue against the plain one;
4. how fast name_inflate gives back the gzip entries, in MB/s of original
   bytes, from a small program linked with the compressed catalogue.

Commands are alternated round by round; each figure is the median of the
rounds, in wall-clock seconds (cpu: user and system). Hexloom's lead comes
from its second core, so each timing tells how much of the cores other
processes took meanwhile: above a few percent, run it again on a quiet
machine. Linux only (/proc/stat). Needs gzip, size, zlib's header
(zlib1g-dev) and a C++ compiler. Usage:

    bench/compress_bench.py [path/to/hexloom] [--tree DIR] [--rounds 5]
                            [--compiler g++] [--brace] [--repeats 20]
"""
import argparse
import os
import shlex
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
GOAL = 0.75  # of gzip's time

# Every gzip entry, inflated `repeats` times over; prints the number of gzip
# entries, the original bytes given back and the seconds that took.
INFLATE_PROGRAM = r"""
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "site.h"

int main(int argc, char** argv) {
  const int repeats = argc > 1 ? std::atoi(argv[1]) : 1;
  std::size_t largest = 1, members = 0, bytes = 0;
  for (std::size_t i = 0; i < Data::site_count; ++i) {
    if (!Data::site[i].gzip)
      continue;
    largest = std::max(largest, Data::site[i].original_size);
    ++members;
    bytes += Data::site[i].original_size;
  }
  auto out = std::make_unique<unsigned char[]>(largest);
  // Read back so that the inflated bytes count for something.
  unsigned sink = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int round = 0; round < repeats; ++round) {
    for (std::size_t i = 0; i < Data::site_count; ++i) {
      const Data::site_entry& entry = Data::site[i];
      if (!entry.gzip)
        continue;
      if (!Data::site_inflate(entry, out.get(), largest))
        return 1;
      sink += out[entry.original_size / 2];
    }
  }
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  std::printf("%zu %zu %zu %.6f %u\n", Data::site_count, members, bytes * repeats, seconds.count(), sink);
  return 0;
}
"""


def timed(command, cwd):
    """Runs a shell command; returns its (wall, cpu) seconds. The usage of
    the waited shell covers the processes it waited for."""
    start = time.perf_counter()
    child = subprocess.Popen(command, shell=True, cwd=cwd, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"failed: {command}")
    return wall, usage.ru_utime + usage.ru_stime


def busy_seconds():
    """Processor seconds the whole machine has spent on anything but idling."""
    with open("/proc/stat") as stat:
        ticks = [int(field) for field in stat.readline().split()[1:]]
    return (sum(ticks) - ticks[3] - ticks[4]) / os.sysconf("SC_CLK_TCK")


def alternate(commands, cwd, rounds, prepare):
    """Median (wall, cpu) of each command, alternating them round by round
    (prepare(name) runs before each, untimed), and the part of the cores'
    time that other processes took meanwhile: with it the second core that
    hexloom's scan works on is no longer free."""
    times = {name: [] for name in commands}
    busy, start = busy_seconds(), time.perf_counter()
    for _ in range(rounds):
        for name, command in commands.items():
            prepare(name)
            times[name].append(timed(command, cwd))
    ours = sum(cpu for values in times.values() for _, cpu in values)
    others = max(0.0, busy_seconds() - busy - ours) / ((time.perf_counter() - start) * os.cpu_count())
    return {name: tuple(statistics.median(column) for column in zip(*values)) for name, values in times.items()}, others


def remove(*paths):
    for path in paths:
        if os.path.exists(path):
            os.unlink(path)


def object_size(path):
    """text + data of an object, as `size` counts them (read-only data is text)."""
    fields = subprocess.run(["size", path], capture_output=True, text=True, check=True).stdout.splitlines()[1].split()
    return int(fields[0]) + int(fields[1])


def cell(figures):
    return f"{figures[0]:.2f} s (cpu {figures[1]:.2f})"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("hexloom", nargs="?", default=os.path.join(ROOT, "build", "release", "hexloom"))
    parser.add_argument("--tree", default="/usr/share/doc/python3.11/html", help="the files to catalogue")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--compiler", default="g++")
    parser.add_argument("--brace", action="store_true", help="brace lists in place of -str string literals")
    parser.add_argument("--repeats", type=int, default=20, help="times each gzip entry is inflated")
    args = parser.parse_args()
    hexloom = shlex.quote(os.path.abspath(args.hexloom))
    if not os.path.isdir(args.tree):
        sys.exit(f"no tree at {args.tree} (apt-get install python3.11-doc, or give --tree)")
    for tool in ("gzip", "size", "find", args.compiler):
        if not shutil.which(tool):
            sys.exit(f"{tool} is missing")

    with tempfile.TemporaryDirectory(prefix="hexloom-compress-") as work:
        tree = os.path.join(work, "tree")
        # Links followed: both tools then see plain files.
        shutil.copytree(args.tree, tree, symlinks=False)
        paths = [os.path.join(root, name) for root, _, names in os.walk(tree) for name in names]
        megabytes = sum(os.path.getsize(path) for path in paths) / 1e6
        style = "" if args.brace else "-str "
        for folder in ("plain", "packed"):
            os.mkdir(os.path.join(work, folder))
        commands = {
            "hexloom": f"{hexloom} -q {style}-o packed -index site -compress -p tree ''",
            "gzip": "find tree -type f -exec gzip -9 -n -k -c {} + > gzip.out",
        }
        outputs = {"hexloom": [os.path.join(work, "packed", n) for n in ("site.cpp", "site.h")],
                   "gzip": [os.path.join(work, "gzip.out")]}
        print(f"tree: {args.tree}, {len(paths)} files, {megabytes:.1f} MB; {os.cpu_count()} cores; "
              f"{'brace lists' if args.brace else '-str'}; rounds: {args.rounds}")

        # A first run of each fills the page cache and leaves the catalogues to compile.
        subprocess.run(f"{hexloom} -q {style}-o plain -index site -p tree ''", shell=True, cwd=work, check=True)
        for name, command in commands.items():
            timed(command, work)
        times, others = alternate(commands, work, args.rounds, lambda name: remove(*outputs[name]))
        ratio = times["hexloom"][0] / times["gzip"][0]
        print(f"\nconversion: hexloom -compress {cell(times['hexloom'])}, gzip -9 one file after another "
              f"{cell(times['gzip'])}; other processes took {others:.0%} of the cores meanwhile")
        print(f"  ratio {ratio:.2f} x gzip's time (goal <= {GOAL}): {'met' if ratio <= GOAL else 'NOT met'}; "
              f"cpu ratio {times['hexloom'][1] / times['gzip'][1]:.2f}")

        compile_flags = "-std=c++17 -O2 -c"
        times, others = alternate({
            "plain": f"{args.compiler} {compile_flags} plain/site.cpp -o plain/site.o",
            "packed": f"{args.compiler} {compile_flags} packed/site.cpp -o packed/site.o",
        }, work, args.rounds, lambda name: remove(os.path.join(work, name, "site.o")))
        plain, packed = (os.path.join(work, name, "site.o") for name in ("plain", "packed"))
        print(f"\nobject, text + data: plain {object_size(plain):,} B, compressed {object_size(packed):,} B, "
              f"ratio {object_size(packed) / object_size(plain):.2f}")
        print(f"  .o file: plain {os.path.getsize(plain):,} B, compressed {os.path.getsize(packed):,} B, "
              f"ratio {os.path.getsize(packed) / os.path.getsize(plain):.2f}")
        print(f"compilation ({args.compiler} -O2 -c): plain {cell(times['plain'])}, compressed "
              f"{cell(times['packed'])}, ratio {times['packed'][0] / times['plain'][0]:.2f}; others took {others:.0%}")

        with open(os.path.join(work, "inflate.cpp"), "w") as source:
            source.write(INFLATE_PROGRAM)
        subprocess.run(f"{args.compiler} -std=c++17 -O2 -Ipacked inflate.cpp packed/site.o -lz -o inflate",
                       shell=True, cwd=work, check=True)
        runs = []
        for _ in range(args.rounds):
            report = subprocess.run(["./inflate", str(args.repeats)], cwd=work, capture_output=True, text=True,
                                    check=True).stdout.split()
            runs.append(int(report[2]) / float(report[3]) / 1e6)
        print(f"\nsite_inflate: {report[1]} of {report[0]} entries are gzip, each inflated {args.repeats} times a "
              f"round: {statistics.median(runs):.0f} MB/s of original bytes (median; "
              f"{min(runs):.0f} to {max(runs):.0f})")


if __name__ == "__main__":
    main()

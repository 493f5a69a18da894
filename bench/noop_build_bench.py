#!/usr/bin/env python3
"""The no-op build of a 10,000-file catalogue, before and after the DEPFILE.

Configures one small project twice with Ninja: hexloom_embed(INDEX ...
DIRECTORY tree) from the module as it was with the CONFIGURE_DEPENDS glob
(taken from git: the parent of the commit that removed the glob), and from
the module of this tree, which gives Ninja Hexloom's dependency file. The
tree is 10,000 files of 16 bytes in 100 folders. After a first build, each
project's no-op build (`ninja`) is timed --rounds times, alternating; the
script prints the medians, in wall-clock seconds and in processor seconds
(user and system, ninja and what it runs), and their ratios, before over
after. Ninja 1.11 reads a DEPFILE that is not in its deps log (CMake's are
not) on every build, in a time that grows with the square of its paths,
while the glob's re-check grows with the files: --files shows where the two
cross. Usage:

    bench/noop_build_bench.py [path/to/hexloom] [--rounds 11] [--files 10000]
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
GLOB_LINE = "file(GLOB_RECURSE inputs CONFIGURE_DEPENDS"

PROJECT = """cmake_minimum_required(VERSION 3.25)
project(noop LANGUAGES CXX)
include("{module}")
add_executable(noop main.cpp)
hexloom_embed(noop INDEX tree DIRECTORY "{tree}")
"""
MAIN = '#include "tree.h"\nint main() { return Data::tree_count == 0; }\n'


def module_with_glob(folder):
    """Writes the module as it was before the glob went; returns its path."""
    commits = subprocess.run(["git", "-C", ROOT, "log", "--format=%H", "-S", GLOB_LINE, "--",
                              "cmake/HexloomEmbed.cmake"], check=True, capture_output=True, text=True).stdout.split()
    # The newest of the commits that add or remove the line whose parent holds it.
    for commit in commits:
        text = subprocess.run(["git", "-C", ROOT, "show", f"{commit}^:cmake/HexloomEmbed.cmake"], check=True,
                              capture_output=True, text=True).stdout
        if GLOB_LINE in text and "DEPFILE" not in text:
            break
    else:
        sys.exit("no commit in this history removes the CONFIGURE_DEPENDS glob")
    os.makedirs(folder)
    path = os.path.join(folder, "HexloomEmbed.cmake")
    with open(path, "w") as out:
        out.write(text)
    return path


def configure(work, name, module, tree, hexloom):
    source, build = os.path.join(work, name), os.path.join(work, name + "-build")
    os.makedirs(source)
    with open(os.path.join(source, "CMakeLists.txt"), "w") as out:
        out.write(PROJECT.format(module=module, tree=tree))
    with open(os.path.join(source, "main.cpp"), "w") as out:
        out.write(MAIN)
    subprocess.run(["cmake", "-S", source, "-B", build, "-G", "Ninja", f"-DHEXLOOM_EXECUTABLE={hexloom}"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["ninja", "-C", build], check=True, stdout=subprocess.DEVNULL)
    return build


def noop(build):
    """One no-op build: wall-clock and processor seconds, and whether ninja ran a step."""
    start = time.perf_counter()
    child = subprocess.Popen(["ninja", "-C", build], stdout=subprocess.PIPE, text=True)
    output = child.stdout.read()
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("ninja failed in " + build)
    # A step shows as "[1/2] ..."; the glob's re-check as "[0/2] Re-checking globbed directories...".
    return wall, usage.ru_utime + usage.ru_stime, any(line.startswith("[") for line in output.splitlines())


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("hexloom", nargs="?", default=os.path.join(ROOT, "build", "release", "hexloom"))
    parser.add_argument("--rounds", type=int, default=11)
    parser.add_argument("--files", type=int, default=10000)
    args = parser.parse_args()
    hexloom = os.path.abspath(args.hexloom)
    with tempfile.TemporaryDirectory() as work:
        tree = os.path.join(work, "tree")
        for i in range(args.files):
            folder = os.path.join(tree, f"folder{i // 100}")
            os.makedirs(folder, exist_ok=True)
            with open(os.path.join(folder, f"asset{i}.bin"), "w") as out:
                out.write(f"{i:016d}")
        builds = {"glob": configure(work, "glob", module_with_glob(os.path.join(work, "before")), tree, hexloom),
                  "depfile": configure(work, "depfile", os.path.join(ROOT, "cmake", "HexloomEmbed.cmake"), tree,
                                       hexloom)}
        times = {name: [] for name in builds}
        ran = {name: False for name in builds}
        for _ in range(args.rounds):
            for name, build in builds.items():
                wall, cpu, worked = noop(build)
                times[name].append((wall, cpu))
                ran[name] |= worked
        medians = {name: (statistics.median(w for w, _ in runs), statistics.median(c for _, c in runs))
                   for name, runs in times.items()}
        for name, (wall, cpu) in medians.items():
            print(f"{name:8} no-op build of {args.files} files: {wall * 1000:.1f} ms wall, {cpu * 1000:.1f} ms cpu"
                  f"{', ran a step' if ran[name] else ', ran nothing'}")
        (glob_wall, glob_cpu), (dep_wall, dep_cpu) = medians["glob"], medians["depfile"]
        print(f"ratio before/after: {glob_wall / dep_wall:.1f} wall, {glob_cpu / dep_cpu:.1f} cpu "
              f"(medians of {args.rounds})")


if __name__ == "__main__":
    main()

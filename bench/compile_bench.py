#!/usr/bin/env python3
"""Compiles what hexloom writes, in the brace-list and the -str form, beside
`xxd -i` output, and prints the compile time and the compiler's peak memory.

For random data and for text (this tree's sources and documents, repeated) of
1, 4 and 16 MiB, with the project's C++ compiler at -O2 and with clang++
when it is installed. Each file is compiled once. Usage:

    bench/compile_bench.py [path/to/hexloom] [--sizes 1,4,16] [--compiler c++]
    bench/compile_bench.py --incbin [--sizes 16]

With --incbin it compiles the -str and the -incbin forms of random data
only, and prints how many times faster -incbin is and the part of -str's
memory it takes (goals: at least 10 times faster, at most a fifth).

The seconds are wall-clock time; "cpu" is the compiler's user and system
time, which other work on the machine disturbs less. Needs xxd.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

MIB = 1 << 20
HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


def compile_once(compiler, source, cwd):
    """Compiles one file; returns (wall seconds, cpu seconds, peak resident bytes)."""
    start = time.perf_counter()
    child = subprocess.Popen([compiler, "-O2", "-c", source, "-o", "out.o"], cwd=cwd)
    # The usage of a waited child covers the processes it waited for
    # (cc1plus, as): its peak is the largest of them.
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"failed: {compiler} -O2 -c {source}")
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss * 1024


def random_bytes(size):
    return os.urandom(size)


def text_bytes(size):
    """This tree's C++ sources, README and docs/, repeated up to the size."""
    parts = []
    for folder in ("app", "codegen", "convert", "digest", "platform"):
        for name in sorted(os.listdir(os.path.join(ROOT, folder))):
            if name.endswith((".cpp", ".h")):
                with open(os.path.join(ROOT, folder, name), "rb") as source:
                    parts.append(source.read())
    pages = [os.path.join(ROOT, "docs", name) for name in sorted(os.listdir(os.path.join(ROOT, "docs")))]
    for page in [os.path.join(ROOT, "README.md")] + pages:
        with open(page, "rb") as text:
            parts.append(text.read())
    corpus = b"".join(parts)
    return (corpus * (size // len(corpus) + 1))[:size]


def project_compiler():
    """The C++ compiler of build/release, else c++."""
    cache = os.path.join(ROOT, "build", "release", "CMakeCache.txt")
    if os.path.exists(cache):
        with open(cache) as lines:
            for line in lines:
                if line.startswith("CMAKE_CXX_COMPILER:"):
                    return line.split("=", 1)[1].strip()
    return "c++"


def compare_incbin(hexloom, compilers, sizes, work):
    """The -str and -incbin forms of random data, compiled once each."""
    print("| MiB | compiler | -str s (cpu) | -incbin s (cpu) | peak MB: -str / -incbin | "
          "-str ÷ -incbin: time, cpu | -incbin memory ÷ -str |")
    print("|---|---|---|---|---|---|---|")
    for mib in sizes:
        folder = os.path.join(work, f"incbin{mib}")
        for sub in ("", "str", "incbin"):
            os.makedirs(os.path.join(folder, sub), exist_ok=True)
        with open(os.path.join(folder, "data.bin"), "wb") as out:
            out.write(random_bytes(mib * MIB))
        quiet = {"cwd": folder, "stdout": subprocess.DEVNULL, "check": True}
        subprocess.run([hexloom, "-str", "-o", "str", "-i", "data.bin"], **quiet)
        subprocess.run([hexloom, "-incbin", "-o", "incbin", "-i", "data.bin"], **quiet)
        for compiler in compilers:
            literal = compile_once(compiler, "str/data.bin.cpp", folder)
            incbin = compile_once(compiler, "incbin/data.bin.cpp", folder)
            cells = [f"{wall:.2f} ({cpu:.2f})" for wall, cpu, _ in (literal, incbin)]
            print(f"| {mib} | {os.path.basename(compiler)} | " + " | ".join(cells) +
                  f" | {literal[2] / 1e6:.0f} / {incbin[2] / 1e6:.0f} | "
                  f"{literal[0] / incbin[0]:.1f}×, {literal[1] / incbin[1]:.1f}× | {incbin[2] / literal[2]:.2f} |",
                  flush=True)
        shutil.rmtree(folder)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("hexloom", nargs="?", default=os.path.join(ROOT, "build", "release", "hexloom"))
    parser.add_argument("--sizes", default="1,4,16", help="MiB, comma-separated")
    parser.add_argument("--compiler", default=project_compiler())
    parser.add_argument("--incbin", action="store_true", help="compare -incbin with -str on random data")
    args = parser.parse_args()
    hexloom = os.path.abspath(args.hexloom)
    compilers = [args.compiler]
    if shutil.which("clang++") and os.path.basename(args.compiler) != "clang++":
        compilers.append("clang++")
    if args.incbin:
        with tempfile.TemporaryDirectory(prefix="hexloom-compile-") as work:
            compare_incbin(hexloom, compilers, [int(size) for size in args.sizes.split(",")], work)
        return
    if not shutil.which("xxd"):
        sys.exit("xxd is needed (apt-get install xxd)")

    print("| data | MiB | compiler | brace list s (cpu) | -str s (cpu) | xxd -i s (cpu) | "
          "peak MB: brace / -str / xxd | brace ÷ -str: time, cpu, memory |")
    print("|---|---|---|---|---|---|---|---|")
    with tempfile.TemporaryDirectory(prefix="hexloom-compile-") as work:
        for kind, make in (("random", random_bytes), ("text", text_bytes)):
            for mib in (int(size) for size in args.sizes.split(",")):
                folder = os.path.join(work, f"{kind}{mib}")
                os.mkdir(folder)
                os.mkdir(os.path.join(folder, "str"))
                with open(os.path.join(folder, "data.bin"), "wb") as out:
                    out.write(make(mib * MIB))
                quiet = {"cwd": folder, "stdout": subprocess.DEVNULL, "check": True}
                subprocess.run([hexloom, "-i", "data.bin"], **quiet)
                subprocess.run([hexloom, "-str", "-o", "str", "-i", "data.bin"], **quiet)
                with open(os.path.join(folder, "xxd.cpp"), "wb") as out:
                    subprocess.run(["xxd", "-i", "data.bin"], cwd=folder, stdout=out, check=True)
                for compiler in compilers:
                    brace = compile_once(compiler, "data.bin.cpp", folder)
                    literal = compile_once(compiler, "str/data.bin.cpp", folder)
                    xxd = compile_once(compiler, "xxd.cpp", folder)
                    cells = [f"{wall:.2f} ({cpu:.2f})" for wall, cpu, _ in (brace, literal, xxd)]
                    memory = " / ".join(f"{peak / 1e6:.0f}" for _, _, peak in (brace, literal, xxd))
                    ratios = (f"{brace[0] / literal[0]:.1f}×, {brace[1] / literal[1]:.1f}×, "
                              f"{literal[2] / brace[2]:.2f} of it")
                    print(f"| {kind} | {mib} | {os.path.basename(compiler)} | " + " | ".join(cells) +
                          f" | {memory} | {ratios} |", flush=True)
                shutil.rmtree(folder)


if __name__ == "__main__":
    main()

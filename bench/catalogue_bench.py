#!/usr/bin/env python3
"""Catalogues against files converted one by one, each measured once.

1. Conversion: a catalogue of 64 files of 16 MiB (-str -index) against the
   same files converted one by one with -str; the ratio should stay at or
   under 1.2.
2. Compilation, with the project's compiler at -O2: the catalogue of 10,000
   files of 4 KiB (-str) against the same 40 MiB as 100 -str sources of
   400 KiB (ratio at or under 1.5), and against the 10,000 per-file -str
   sources (the catalogue should be faster). Then the browsing tables:
   the catalogue against itself without the folder tables and the functions
   that walk them (at most 1.1), and, reported beside it, against itself
   without those and without each entry's content type and ETag.

--scale divides every count (not the sizes of the files): --scale 10 makes
6 files for the conversion, 1,000 and 10 for the compilation. The script
prints what it measured at that scale, in processor seconds (user and
system) of hexloom and of the compiler. Usage:

    bench/catalogue_bench.py [path/to/hexloom] [--scale 1] [--compiler c++]
"""
import argparse
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile

MIB = 1 << 20
KIB = 1 << 10
HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


def timed(command, cwd):
    """Runs the command once; returns its user and system seconds, which
    other work on the machine disturbs less than the wall-clock time."""
    child = subprocess.Popen(command, cwd=cwd, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: " + " ".join(command))
    return usage.ru_utime + usage.ru_stime


def make_tree(folder, count, size):
    os.makedirs(folder)
    for i in range(count):
        with open(os.path.join(folder, f"file{i:05d}.bin"), "wb") as out:
            out.write(os.urandom(size))


def compile_all(compiler, folder, sources):
    """Compiles the sources one after another; returns the total seconds."""
    return sum(timed([compiler, "-std=c++17", "-O2", "-c", source, "-o", "out.o"], folder) for source in sources)


FOLDER_TABLES = "\nnamespace {\n\n// The children of every folder"


def without_folder_tables(source):
    """The catalogue source up to name_find(): no folder tables, no name_under(),
    name_list() or name_is_folder()."""
    return source[:source.index(FOLDER_TABLES)] + "}\n"


def without_browsing(source, header):
    """The catalogue source and header without each entry's content type and
    ETag and without the folder tables and functions that follow name_find().
    The source includes plain.h, the header returned."""
    source = re.sub(r', \w+_type\d+, std::string_view\("\\"[-_A-Za-z0-9]+\\"", \d+\)', "", source)
    source = re.sub(r'\nconstexpr std::string_view \w+_type\d+\(.*\);', "", source)
    source = re.sub(r'#include "\w+\.h"', '#include "plain.h"', source, count=1)
    header = re.sub(r'\n  std::string_view (content_type|etag);.*', "", header)
    if "_type" in source or "etag" in header:
        sys.exit("the catalogue's text has changed: without_browsing() needs its patterns updated")
    return without_folder_tables(source), header


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("hexloom", nargs="?", default=os.path.join(ROOT, "build", "release", "hexloom"))
    parser.add_argument("--scale", type=int, default=1, help="divides every count")
    parser.add_argument("--compiler", default="c++")
    args = parser.parse_args()
    hexloom = os.path.abspath(args.hexloom)
    scale = max(1, args.scale)
    with tempfile.TemporaryDirectory() as work:
        count = max(1, 64 // scale)
        make_tree(os.path.join(work, "big"), count, 16 * MIB)
        for out in ("one", "each"):
            os.makedirs(os.path.join(work, out))
        catalogue = timed([hexloom, "-q", "-str", "-o", "one", "-index", "big", "-p", "big", ""], work)
        each = timed([hexloom, "-q", "-str", "-o", "each", "-p", "big", ""], work)
        print(f"conversion, {count} x 16 MiB: catalogue {catalogue:.2f} s, one by one {each:.2f} s, "
              f"ratio {catalogue / each:.2f} (at most 1.2), cpu seconds")
        # Gigabytes of text still to be written back would have the kernel
        # reclaim memory inside the compilations, and charge them for it.
        for folder in ("big", "one", "each"):
            shutil.rmtree(os.path.join(work, folder))
        os.sync()

        small, large = max(1, 10000 // scale), max(1, 100 // scale)
        make_tree(os.path.join(work, "small"), small, 4 * KIB)
        make_tree(os.path.join(work, "large"), large, 400 * KIB)
        for out in ("cat", "per_file", "large_out"):
            os.makedirs(os.path.join(work, out))
        subprocess.run([hexloom, "-q", "-str", "-o", "cat", "-index", "small", "-p", "small", ""], cwd=work, check=True)
        subprocess.run([hexloom, "-q", "-str", "-o", "per_file", "-p", "small", "", "-o", "large_out", "-p", "large",
                        ""], cwd=work, check=True)
        cat_time = compile_all(args.compiler, os.path.join(work, "cat"), ["small.cpp"])
        large_time = compile_all(args.compiler, os.path.join(work, "large_out"),
                                 sorted(glob.glob(os.path.join(work, "large_out", "*.cpp"))))
        per_file_time = compile_all(args.compiler, os.path.join(work, "per_file"),
                                    sorted(glob.glob(os.path.join(work, "per_file", "file*.cpp"))))
        print(f"compilation: catalogue of {small} x 4 KiB {cat_time:.2f} s; {large} x 400 KiB -str sources "
              f"{large_time:.2f} s, ratio {cat_time / large_time:.2f} (at most 1.5); {small} per-file sources "
              f"{per_file_time:.2f} s, ratio {cat_time / per_file_time:.2f} (under 1)")

        with open(os.path.join(work, "cat", "small.cpp")) as source, open(os.path.join(work, "cat", "small.h")) as header:
            full_source = source.read()
            plain_source, plain_header = without_browsing(full_source, header.read())
        texts = (("tables.cpp", without_folder_tables(full_source)), ("plain.cpp", plain_source), ("plain.h", plain_header))
        for name, text in texts:
            with open(os.path.join(work, "cat", name), "w") as out:
                out.write(text)
        # Three alternated rounds, each source's fastest: the ratios are near 1,
        # where one round's noise would decide them.
        rounds = {"small.cpp": [cat_time], "tables.cpp": [], "plain.cpp": []}
        for _ in range(3):
            for name, times in rounds.items():
                if len(times) < 3:
                    times.append(compile_all(args.compiler, os.path.join(work, "cat"), [name]))
        cat_time, tables_time, plain_time = (min(times) for times in rounds.values())
        print(f"folder tables: catalogue of {small} x 4 KiB {cat_time:.2f} s, without them {tables_time:.2f} s, "
              f"ratio {cat_time / tables_time:.2f} (at most 1.1); without them and without the content types and "
              f"ETags {plain_time:.2f} s, ratio {cat_time / plain_time:.2f} (reported)")


if __name__ == "__main__":
    main()

#!/usr/bin/env bash
# hexloom_embed(INCBIN): an edited asset is linked with its new bytes after a rebuild, with Ninja and Makefiles, with
# and without ccache as the compiler launcher; INCBIN beside ARRAY or -str stops the configuration.
set -euo pipefail
export LC_ALL=C
unset MAKEFLAGS MFLAGS MAKELEVEL
(($# == 3)) || { echo "usage: $0 <hexloom binary> <source dir> <scratch dir>" >&2; exit 2; }
hexloom=$(realpath "$1") source_dir=$(realpath "$2") scratch=$(realpath -m "$3")
fail() { echo "FAIL: $*" >&2; exit 1; }
type -P cmake ninja make ccache >/dev/null || fail "these are needed: cmake ninja make ccache"
rm -rf "$scratch" && mkdir -p "$scratch"
export CCACHE_DIR=$scratch/ccache

# Make and Ninja go by modification time: every file moves a second back before an edit, rather than waiting.
backdate() { find "$work" -exec touch -h -d "@$(($(date +%s) - ${1:-2}))" {} +; }
configure() { cmake -S "$work/src" -B "$work/build" -DHEXLOOM_SOURCE_DIR="$source_dir" -DHEXLOOM_EXECUTABLE="$hexloom" "$@"; }
shows() {  # <expected>: builds, runs, compares
  cmake --build "$work/build" >"$work/build.log" 2>&1 || { cat "$work/build.log" >&2; fail "$label: build"; }
  [[ $("$work/build/show") == "$1" ]] || fail "$label: shows [$("$work/build/show")], expected [$1]"
}

for generator in Ninja "Unix Makefiles"; do
  for launcher in "" ccache; do
    label="$generator${launcher:+ with $launcher}" work=$scratch/${generator// /}$launcher
    mkdir -p "$work" && cp -R "$source_dir/tests/cmake/incbin_project" "$work/src"
    printf one >"$work/src/a.bin" && printf uno >"$work/src/b.bin"
    configure -G "$generator" ${launcher:+-DCMAKE_CXX_COMPILER_LAUNCHER=$launcher} >"$work/configure.log" ||
      fail "$label: configure"
    shows "one uno"
    backdate && printf two >"$work/src/a.bin" && printf dos >"$work/src/b.bin"
    shows "two dos"
    # Back to the first bytes: with ccache, the first objects again, from its cache.
    backdate && printf one >"$work/src/a.bin" && printf uno >"$work/src/b.bin"
    shows "one uno"
  done
done
[[ $(ccache --print-stats | awk -F'\t' '$1 == "direct_cache_hit" || $1 == "preprocessed_cache_hit" { n += $2 } END { print n }') -ge 2 ]] ||
  fail "ccache served no object from its cache"

for refused in "ARRAY" "OPTIONS -str"; do
  work=$scratch/refused && rm -rf "$work" && mkdir -p "$work" && cp -R "$source_dir/tests/cmake/incbin_project" "$work/src"
  sed -i "s/INCBIN FILES a.bin/INCBIN FILES a.bin $refused/" "$work/src/CMakeLists.txt"
  touch "$work/src/a.bin" "$work/src/b.bin"
  ! configure >"$work/configure.log" 2>&1 || fail "INCBIN with $refused was accepted"
  grep -q "INCBIN has the assembler include the files" "$work/configure.log" || fail "INCBIN with $refused: no message"
done
echo "incbin embedding: all checks passed"

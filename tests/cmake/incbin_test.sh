#!/usr/bin/env bash
# hexloom_embed(INCBIN): after an asset is edited, the rebuilt program holds its new bytes, with Ninja and Makefiles,
# with and without ccache as the compiler launcher; and ccache serves the earlier objects when earlier bytes return.
set -euo pipefail
export LC_ALL=C CCACHE_DIR=$3/ccache
unset MAKEFLAGS MFLAGS MAKELEVEL
(($# == 3)) || { echo "usage: $0 <hexloom binary> <source dir> <scratch dir>" >&2; exit 2; }
fail() { echo "FAIL: $*" >&2; exit 1; }
type -P cmake ninja make ccache >/dev/null || fail "these are needed: cmake ninja make ccache"
rm -rf "$3" && mkdir -p "$3/src"
cat >"$3/src/CMakeLists.txt" <<END
cmake_minimum_required(VERSION 3.25)
project(Incbin LANGUAGES CXX)
include($(realpath "$2")/cmake/HexloomEmbed.cmake)
add_executable(show main.cpp)
hexloom_embed(show INCBIN FILES a.bin)
hexloom_embed(show INCBIN INDEX shelf FILES b.bin)
END
printf '#include <cstdio>\n#include "a.bin.h"\n#include "shelf.h"\nint main() { std::printf("%%.3s %%.3s", %s); }\n' \
  "(const char*)Data::a_bin, (const char*)Data::shelf[0].data" >"$3/src/main.cpp"

for generator in Ninja "Unix Makefiles"; do
  for launcher in "" ccache; do
    build=$3/${generator// /}$launcher label="$generator $launcher"
    for bytes in "one uno" "two dos" "one uno"; do
      # Make and Ninja go by modification time: the files move back a second before an edit, rather than waiting.
      find "$3/src" "$3"/*/ -exec touch -h -d "@$(($(date +%s) - 2))" {} +
      printf %s "${bytes% *}" >"$3/src/a.bin" && printf %s "${bytes#* }" >"$3/src/b.bin"
      { [[ -d $build ]] || cmake -S "$3/src" -B "$build" -G "$generator" -DHEXLOOM_EXECUTABLE="$(realpath "$1")" \
          ${launcher:+-DCMAKE_CXX_COMPILER_LAUNCHER=$launcher}; } >"$build.log" 2>&1 || fail "$label: configure"
      cmake --build "$build" >>"$build.log" 2>&1 || fail "$label: build ($build.log)"
      [[ $("$build/show") == "$bytes" ]] || fail "$label: shows [$("$build/show")], expected [$bytes]"
    done
  done
done
hits=$(ccache --print-stats | awk -F'\t' '/^(direct|preprocessed)_cache_hit\t/ { n += $2 } END { print n }')
((hits >= 2)) || fail "ccache served no object from its cache"
echo "incbin embedding: all checks passed"

#!/usr/bin/env bash
# Builds examples/embed with hexloom_embed() via add_subdirectory() and via the installed package, each with Ninja
# and with Makefiles: output, quiet log, minimal and no-op rebuilds. Then a Windows cross build with the native
# hexloom, and the configure-time rules (embed_checks/). <build dir> made the binary; it is installed in <scratch dir>.
set -euo pipefail
export LC_ALL=C
unset MAKEFLAGS MFLAGS MAKELEVEL  # an outer make's jobserver or flags would change what ours do
(($# == 4)) || { echo "usage: $0 <hexloom binary> <source dir> <build dir> <scratch dir>" >&2; exit 2; }
hexloom=$(realpath "$1") source_dir=$(realpath "$2") build_dir=$(realpath "$3") scratch=$(realpath -m "$4")

fail() { echo "FAIL: $*" >&2; exit 1; }
tools=(cmake ninja make md5sum x86_64-w64-mingw32-g++-posix)
type -P "${tools[@]}" >/dev/null || fail "these are needed: ${tools[*]}"
rm -rf "$scratch" && mkdir -p "$scratch"

run() {  # <log> <what> <command...>: runs the command into <log>, which is shown if it fails
  log=$1
  "${@:3}" >"$log" 2>&1 || { cat "$log" >&2; fail "$2 ($log)"; }
}
build() { run "$work/$1.log" "$label: build $1" cmake --build "$bld" --parallel 2 "${@:2}"; }

enter() {  # <label> <source> [cmake arguments]: a fresh copy in $scratch/<label>, configured in $bld if asked
  label=$1 work=$scratch/$1
  src=$work/src bld=$work/build
  mkdir -p "$work"
  cp -R "$2" "$src"
  (($# == 2)) || run "$work/configure.log" "$label: configure" cmake -S "$src" -B "$bld" "${@:3}"
}

# Make and Ninja go by modification time. Rather than wait for the clock, the scenario and the package move a second
# back before each edit, keeping their order: the edit is then the newest file even on a whole-second file system.
backdate() {
  local time path
  while IFS=' ' read -r -d '' time path; do
    touch -h -d "@$((${time%.*} - 1))" "$path"
  done < <(find "$work" "$prefix" -printf '%T@ %p\0')
}

snapshot() {  # modification times of everything a build makes that we care about
  find "$bld" -type f \( -name '*.o' -o -name '*.a' -o -name '*.stamp' -o -name embed_example \
    -o -name hexloom -o -path "$bld/hexloom_embed/embed_example/*" \) -printf '%P\t%T@\n' | sort
}

build_changing() {  # <what was done> <expected paths>: builds; exactly those change (a stamp named without its hash)
  snapshot >"$work/before"
  build "${1// /-}"
  got=$(awk -F'\t' 'NR == FNR { before[$1] = $2; next } before[$1] != $2 { print $1 }' "$work/before" <(snapshot) |
    sed -E 's/\.[0-9a-f]{12}\.stamp$/.stamp/' | sort | paste -sd' ')
  want=$(tr ' ' '\n' <<<"$2" | sort | paste -sd' ')
  [[ $got == "$want" ]] || fail "$label: $1 changed [$got], expected [$want] (log: $log)"
}

expect_output() {  # embed_example prints each asset's name, size and MD5 digest
  for file in loom.png notes.txt; do
    echo "$file $(stat -c %s "$src/assets/$file") $(md5sum <"$src/assets/$file" | cut -d' ' -f1)"
  done | diff - <("$bld/embed_example") >&2 || fail "$label: embed_example disagrees with the assets"
}

expect_no_work() {  # <after what>: Ninja sees nothing to do, and neither tool embeds, compiles or links anything
  [[ ! -f $bld/build.ninja || $(ninja -C "$bld" -n) == *"ninja: no work to do"* ]] ||
    fail "$label: ninja -n still has work after $1"
  build_changing "the build after $1" ""
  ! grep -E "Embedding|Building|Linking" "$log" || fail "$label: the build after $1 was not a no-op"
}

step() {  # <what is done> <expected paths> <edit...>: Hexloom reruns, the output holds, the next build is a no-op
  backdate
  "${@:3}"
  build_changing "$1" "$2"  # the stamp among them: Hexloom ran
  expect_output
  expect_no_work "$1"
}

scenario() {  # <label: package-* or subdir-*> <generator> <where Hexloom comes from: a cmake -D argument>
  echo "== $1"
  enter "$1" "$source_dir/examples/embed" -G "$2" "$3" -DHEXLOOM_EXAMPLE_CATALOGUE=OFF
  [[ $1 == subdir-* ]] || grep -qxF "Hexloom_DIR:PATH=$package_dir" "$bld/CMakeCache.txt" ||
    fail "$label: find_package(Hexloom) did not pick the package in $prefix"

  build first
  expect_output
  # Quiet conversions: the build tool's line and nothing of Hexloom's.
  [[ $(grep -c "Embedding .* with Hexloom" "$log") == 2 ]] || fail "$label: not one line per conversion ($log)"
  ! grep -E "Hexloom 1.0|Reading File|Output filepath|Converting" "$log" || fail "$label: Hexloom is not quiet"
  # The outputs are what a direct run writes: the module passes the options, -str first with g++, before -o and -i.
  out=hexloom_embed/embed_example obj=CMakeFiles/embed_example.dir notes=$src/assets/notes.txt
  mkdir -p "$work/direct"
  "$hexloom" -str -o "$work/direct" -i "$src/assets/loom.png" >/dev/null
  "$hexloom" -str -dec -u32 -o "$work/direct" -i "$notes" >/dev/null
  for file in loom.png.cpp loom.png.h notes.txt.cpp notes.txt.h; do
    cmp "$work/direct/$file" "$bld/$out/$file" || fail "$label: $file differs"
  done
  expect_no_work "the first build"

  # Touched, Hexloom runs and writes nothing. Same size: the header stays, so main.cpp is not compiled; another
  # size changes it too. A deleted output comes back, and only what depends on it is compiled again.
  stamp=CMakeFiles/$out/notes.txt.stamp cpp=$out/notes.txt.cpp h=$out/notes.txt.h
  cpp_o=$obj/$out/notes.txt.cpp.o main_o=$obj/main.cpp.o
  step "touching notes.txt" "$stamp" touch "$notes"
  step "an edit keeping the size" "$stamp $cpp_o embed_example $cpp" sed -i 's/.*/\U&/' "$notes"
  step "an edit changing the size" "$stamp $cpp_o $main_o embed_example $cpp $h" sed -i "\$a One line more." "$notes"
  step "deleting notes.txt.cpp" "$stamp $cpp_o $cpp embed_example" rm "$bld/$cpp"
  step "deleting notes.txt.h" "$stamp $main_o $h embed_example" rm "$bld/$h"
}

lookup() {  # <build> <path> <last line catalogue_example prints for it> <edit...>: edits under site/, builds, looks up
  backdate
  "${@:4}"
  build "$1" --target catalogue_example
  [[ $("$bld/catalogue_example" "$2" | tail -1) == "$3" ]] || fail "$label: after the $1 build, $2 is not \"$3\""
}

catalogue() {  # <label> <generator>: a file added under site/ is in the catalogue after a build, gone after its removal
  echo "== $1"
  enter "$1" "$source_dir/examples/embed" -G "$2" "-DHEXLOOM_SOURCE_DIR=$source_dir"
  lookup first css/style.css "body { font-family: sans-serif; }" true
  lookup added added.txt "<p>Served from a catalogue.</p>" cp "$src/site/index.html" "$src/site/added.txt"
  lookup removed added.txt "added.txt: not in the catalogue" rm "$src/site/added.txt"
  build again --target catalogue_example
  ! grep -E "Cataloguing|Building|Linking" "$log" || fail "$label: the build after the removal was not a no-op"
  # No glob to check: Ninja has no step at all.
  [[ ! -f $bld/build.ninja || $(ninja -C "$bld" -n catalogue_example) == *"ninja: no work to do"* ]] ||
    fail "$label: ninja -n still has work after the build"
}

start=$SECONDS
echo "== install"
prefix=$scratch/prefix
run "$scratch/install.log" "cmake --install" cmake --install "$build_dir" --prefix "$prefix"
package_dir=$(find "$prefix" -name HexloomConfig.cmake -printf '%h\n')
# The package scenarios below find and use the rest of the package.
[[ -f $package_dir/HexloomConfigVersion.cmake ]] || fail "no HexloomConfigVersion.cmake in $prefix"

scenario package-ninja Ninja "-DCMAKE_PREFIX_PATH=$prefix"
scenario package-make "Unix Makefiles" "-DCMAKE_PREFIX_PATH=$prefix"
scenario subdir-ninja Ninja "-DHEXLOOM_SOURCE_DIR=$source_dir"
scenario subdir-make "Unix Makefiles" "-DHEXLOOM_SOURCE_DIR=$source_dir"

catalogue catalogue-ninja Ninja
catalogue catalogue-make "Unix Makefiles"

echo "== cross build for Windows, converting with the native hexloom"
enter cross "$source_dir/examples/embed" -G Ninja "-DHEXLOOM_SOURCE_DIR=$source_dir" \
  "-DCMAKE_TOOLCHAIN_FILE=$source_dir/cmake/mingw-w64-x86_64.cmake" "-DHEXLOOM_EXECUTABLE=$hexloom"
build build
[[ -f $bld/embed_example.exe && ! -e $bld/hexloom.exe ]] || fail "cross: no embed_example.exe, or a hexloom.exe"
grep -q "$hexloom -q" "$bld/build.ninja" || fail "cross: the conversions don't run $hexloom"

echo "== configure-time checks"
enter checks "$(dirname "$0")/embed_checks"
mkdir -p "$src/a" "$src/b"
for file in "a/data.bin:first data" a/data_bin:other a/new:keyword "a/logo.png:the logo of liba" \
  "b/logo.png:libb has a logo of its own"; do printf '%s\n' "${file#*:}" >"$src/${file%%:*}"; done
touch "$src/a/new_" "$src/a/logo" "$src/a/logo_size" "$src/a/日本.txt" "$src/a/中国.txt"
seq -f 'line %g of the second data file' 200 >"$src/b/data.bin"
b_md5=$(md5sum <"$src/b/data.bin" | cut -d' ' -f1)

configure() { cmake -S "$src" -B "$bld" -G Ninja "-DCMAKE_PREFIX_PATH=$prefix" "$@"; }
accept() {  # <case> [cmake --build arguments]: configures it in a new build folder and builds it
  rm -rf "$bld"
  run "$work/$1.log" "the $1 case does not configure" configure "-DCASE=$1"
  build "$1-build" "${@:2}"
}
reject() {  # <calls of hexloom_embed()> <words of the message, its lines joined as CMake wraps long messages>
  ! configure "-DCODE=$1" >"$work/refused.log" 2>&1 || fail "hexloom_embed() accepted: $1"
  [[ $(tr '\n' ' ' <"$work/refused.log" | tr -s ' ') == *"$2"* ]] ||
    { cat "$work/refused.log" >&2; fail "$1: the message does not say \"$2\""; }
}
# <target> <what it prints> <how it holds data.bin>: a string literal for g++ unless ARRAY asks for the brace list
# (array), a brace list for other compilers unless -str asks otherwise.
holds() {
  form=array && grep -q '^ *"' "$bld/hexloom_embed/$1/data.bin.cpp" && form=literal
  [[ $("$bld/$1") == "$2" && $form == "$3" ]] || fail "$1 does not print \"$2\" from a $3 (it holds a $form)"
}

accept accepted  # first: -stl -nons over a/data.bin and a/new; second: -cpp_md5 over b/data.bin
holds first "11 11 16" literal
holds second "$b_md5" literal
accept choice  # second: -str -cpp_md5
holds first "11 11 16" array
holds second "$b_md5" literal
holds third "11 11 16" array
reject 'hexloom_embed(first ARRAY FILES a/data.bin OPTIONS -str)' \
  "ARRAY asks for a brace list and -str for a string literal"

# Two libraries, one logo.png each: refused in one namespace, read back apart with NAMESPACE.
libraries='add_library(liba STATIC liba.cpp) hexloom_embed(liba FILES a/logo.png) add_library(libb STATIC)'
reject "$libraries hexloom_embed(libb PUBLIC FILES b/logo.png)" \
  "$src/b/logo.png (target libb) and $src/a/logo.png (target liba) would both define Data::logo_png"
accept libraries --target both
[[ $("$bld/both") == "$(cat "$src/a/logo.png" "$src/b/logo.png")" ]] || fail "both does not read each library's logo"

touch "$src/a/.hidden"
accept catalogues --target catalogues
[[ $("$bld/catalogues") == "plain: p/q/data.bin p/q/data_bin p/q/logo p/q/new p/q/new_
all: .hidden data.bin data_bin logo logo.png logo_size new new_
based: data.bin" ]] || fail "the catalogues hold: $("$bld/catalogues")"
reject 'hexloom_embed(first INDEX based FILES a/data.bin BASE b)' "$src/a/data.bin is outside BASE $src/b"
reject 'hexloom_embed(first FILES a/data.bin b/data.bin)' "have the same name, so both would be written as"
reject 'hexloom_embed(first FILES a/data.bin) hexloom_embed(first FILES b/data.bin OUTPUT_DIR other)' \
  "would both define Data::data_bin"
reject 'hexloom_embed(first FILES a/new) hexloom_embed(second FILES a/new_)' \
  "$src/a/new_ (target second) and $src/a/new (target first) would both define Data::new_,"
reject 'hexloom_embed(first FILES a/logo) hexloom_embed(second FILES a/logo_size)' "would both define Data::logo_size"
reject 'hexloom_embed(first FILES a/日本.txt a/中国.txt)' \
  "would both define Data::________txt, which the linker takes for one symbol. Hexloom names a file's data after"
reject 'hexloom_embed(first FILES a/data.bin NAMESPACE ui::9lives)' \
  "NAMESPACE \"ui::9lives\" is not a C++ namespace name"
reject 'hexloom_embed(first FILES a/data.bin NAMESPACE ui::class)' "NAMESPACE \"ui::class\" is not a C++ namespace name"
reject 'hexloom_embed(first FILES a/data.bin NAMESPACE ui OPTIONS -nons)' \
  "NAMESPACE ui and -nons ask for a namespace and for none"
reject 'hexloom_embed(first a/data.bin)' \
  "unexpected arguments: a/data.bin (files go after FILES). The form is hexloom_embed(<target> [PUBLIC|PRIVATE"
reject 'hexloom_embed(first FILES a)' "$src/a is a folder"
reject 'hexloom_embed(first PUBLIC PRIVATE FILES a/data.bin)' "give one of PUBLIC, PRIVATE and INTERFACE"
reject 'hexloom_embed(first FILES a/data.bin) hexloom_embed(first FILES a/data.bin)' "is already embedded into"
reject 'hexloom_embed(first FILES a/data.bin OPTIONS -dec -cxx)' \
  "option -cxx makes Hexloom write something other than a .cpp/.h pair"
reject 'hexloom_embed(first FILES a/data.bin OPTIONS -o elsewhere)' "option -o is not accepted in OPTIONS"
reject 'hexloom_embed(first FILES a/data.bin OPTIONS --fast)' \
  "\"--fast\" is not a Hexloom style option. OPTIONS takes: -str -stl"
reject 'hexloom_embed(first FILES a/absent.bin)' "cannot find $src/a/absent.bin"

echo "== all passed in $((SECONDS - start)) s"

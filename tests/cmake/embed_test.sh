#!/usr/bin/env bash
# Builds examples/embed with hexloom_embed(), through add_subdirectory() of the
# source tree and through find_package() of an installed copy, each with Ninja
# and with Makefiles. Checks what the program prints against the assets, that
# the build log holds one line per conversion, that a second build does
# nothing, that touching an asset reruns Hexloom without compiling anything,
# that editing one recompiles only what depends on it and that a deleted
# output comes back. Cross-compiles the example for Windows with the native
# hexloom (HEXLOOM_EXECUTABLE), then checks the configure-time rules of
# hexloom_embed() and the cases the example doesn't show (embed_checks/).
#
# Usage: embed_test.sh <hexloom binary> <source dir> <build dir> <scratch dir>
#   <build dir> is the configured build of <source dir> that made the binary;
#   it is installed into <scratch dir>, which is emptied first.
set -euo pipefail
export LC_ALL=C
# A jobserver or flags inherited from an outer make would change what ours do.
unset MAKEFLAGS MFLAGS MAKELEVEL

if (($# != 4)); then
  echo "usage: $0 <hexloom binary> <source dir> <build dir> <scratch dir>" >&2
  exit 2
fi
hexloom=$(realpath "$1")
source_dir=$(realpath "$2")
build_dir=$(realpath "$3")
scratch=$4
here=$(cd "$(dirname "$0")" && pwd)

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
for tool in cmake ninja make md5sum x86_64-w64-mingw32-g++-posix; do
  command -v "$tool" >/dev/null || fail "$tool is needed and was not found"
done

rm -rf "$scratch"
mkdir -p "$scratch"
scratch=$(realpath "$scratch")

# Make and Ninja order files by modification time, so an edit must look later
# than the build before it. Rather than wait for the clock, everything the
# scenario holds and the installed package move a second or more back in time
# before each edit, each file keeping its place in the order: the edit is then
# the newest file even where the file system keeps whole seconds only.
backdate() {
  local time path
  while IFS=' ' read -r -d '' time path; do
    touch -h -d "@$((${time%.*} - 1))" "$path"
  done < <(find "$work" "$prefix" -printf '%T@ %p\0')
}

# Runs a build, keeping its log in $log; shows the log if it fails.
build() {  # <log name> [cmake --build arguments]
  log=$1.log
  if ! cmake --build "$bld" --parallel 2 "${@:2}" >"$log" 2>&1; then
    cat "$log" >&2
    fail "build failed ($log)"
  fi
}

# Modification times of everything a build makes that we care about.
snapshot() {
  find "$bld" -type f \( -name '*.o' -o -name '*.a' -o -name '*.stamp' -o -name embed_example \
    -o -name hexloom -o -path "$bld/hexloom_embed/embed_example/*" \) -printf '%P\t%T@\n' | sort
}

# Paths whose time differs between two snapshots, on one line; a stamp's
# hash is left out so that expectations can name it.
changed() {
  awk -F'\t' 'NR == FNR { before[$1] = $2; next } before[$1] != $2 { print $1 }' "$1" "$2" |
    sed -E 's/\.[0-9a-f]{12}\.stamp$/.stamp/' | sort | tr '\n' ' ' | sed 's/ $//'
}

expect_changed() {  # <what was done> <expected paths, space-separated>
  local got expected
  got=$(changed "$work/before" "$work/after")
  expected=$(tr ' ' '\n' <<<"$2" | sort | tr '\n' ' ' | sed 's/ $//')
  [[ $got == "$expected" ]] || fail "$label: $1 changed [$got], expected [$expected] (log: $log)"
}

expect_output() {
  local expected="" file
  for file in loom.png notes.txt; do
    expected+="$file $(stat -c %s "$src/assets/$file") $(md5sum <"$src/assets/$file" | cut -d' ' -f1)"$'\n'
  done
  diff <(printf '%s' "$expected") <("$bld/embed_example") >&2 ||
    fail "$label: embed_example disagrees with the assets"
}

# A build with nothing to do: Ninja says so without running, and neither tool
# embeds, compiles or links anything.
expect_no_work() {
  if [[ $generator == Ninja ]]; then
    [[ $(ninja -C "$bld" -n) == *"ninja: no work to do"* ]] || fail "$label: ninja -n still has work after $1"
  fi
  snapshot >"$work/before"
  build "$work/noop-after-${1// /-}"
  ! grep -E "Embedding|Building|Linking" "$log" || fail "$label: the build after $1 was not a no-op"
  snapshot >"$work/after"
  expect_changed "the build after $1" ""
}

scenario() {  # <label> <generator> subdir|package
  label=$1 generator=$2
  work="$scratch/$1"
  src="$work/src"
  bld="$work/build"
  echo "== $label"
  mkdir -p "$work"
  cp -R "$source_dir/examples/embed" "$src"

  local -a configure=(-S "$src" -B "$bld" -G "$generator")
  if [[ $3 == subdir ]]; then
    configure+=("-DHEXLOOM_SOURCE_DIR=$source_dir")
  else
    configure+=("-DCMAKE_PREFIX_PATH=$prefix")
  fi
  cmake "${configure[@]}" >"$work/configure.log" 2>&1 || { cat "$work/configure.log" >&2; fail "$label: configure"; }
  if [[ $3 == package ]]; then
    grep -qxF "Hexloom_DIR:PATH=$prefix/$package_dir" "$bld/CMakeCache.txt" ||
      fail "$label: find_package(Hexloom) did not pick the package in $prefix"
  fi

  build "$work/first"
  expect_output
  # Quiet conversions: the build tool's line and nothing of Hexloom's.
  [[ $(grep -c "Embedding .* with Hexloom" "$log") == 2 ]] || fail "$label: not one line per conversion ($log)"
  ! grep -E "Hexloom 1.0|Reading File|Output filepath|Converting" "$log" || fail "$label: Hexloom is not quiet"
  # The module must give Hexloom the options before -o and -i, as a direct
  # run does: the outputs must be what that run writes.
  mkdir -p "$work/direct"
  # With g++ the module asks for the string literal (-str) first.
  "$hexloom" -str -o "$work/direct" -i "$src/assets/loom.png" >/dev/null
  "$hexloom" -str -dec -u32 -o "$work/direct" -i "$src/assets/notes.txt" >/dev/null
  for file in loom.png.cpp loom.png.h notes.txt.cpp notes.txt.h; do
    cmp "$work/direct/$file" "$bld/hexloom_embed/embed_example/$file" || fail "$label: $file differs"
  done
  expect_no_work "the first build"

  local stamp=CMakeFiles/hexloom_embed/embed_example/notes.txt.stamp
  local notes_cpp=hexloom_embed/embed_example/notes.txt.cpp
  local notes_h=hexloom_embed/embed_example/notes.txt.h
  local notes_obj=CMakeFiles/embed_example.dir/hexloom_embed/embed_example/notes.txt.cpp.o
  local main_obj=CMakeFiles/embed_example.dir/main.cpp.o

  # Same bytes, newer time: Hexloom runs and writes nothing.
  backdate
  snapshot >"$work/before"
  touch "$src/assets/notes.txt"
  build "$work/touch"
  grep -q "Embedding notes.txt" "$log" || fail "$label: touching notes.txt did not rerun Hexloom"
  snapshot >"$work/after"
  expect_changed "touching notes.txt" "$stamp"
  expect_no_work "touching notes.txt"

  # Other bytes, same size: the header stays, so main.cpp is not compiled.
  backdate
  snapshot >"$work/before"
  tr '[:lower:]' '[:upper:]' <"$src/assets/notes.txt" >"$work/notes.upper"
  cat "$work/notes.upper" >"$src/assets/notes.txt"
  build "$work/same-size"
  snapshot >"$work/after"
  expect_changed "an edit of notes.txt keeping its size" "$stamp $notes_obj embed_example $notes_cpp"
  expect_output
  expect_no_work "an edit keeping the size"

  # Another size: the header changes too, so main.cpp is compiled again.
  backdate
  snapshot >"$work/before"
  echo "One line more." >>"$src/assets/notes.txt"
  build "$work/new-size"
  snapshot >"$work/after"
  expect_changed "an edit of notes.txt changing its size" \
    "$stamp $notes_obj $main_obj embed_example $notes_cpp $notes_h"
  expect_output
  expect_no_work "an edit changing the size"

  # A deleted output comes back; only what depends on it is compiled again.
  local deleted expected
  for deleted in cpp h; do
    backdate
    snapshot >"$work/before"
    rm "$bld/hexloom_embed/embed_example/notes.txt.$deleted"
    build "$work/deleted-$deleted"
    snapshot >"$work/after"
    expected="$stamp $notes_obj $notes_cpp"
    [[ $deleted == h ]] && expected="$stamp $main_obj $notes_h"
    expect_changed "deleting notes.txt.$deleted" "$expected embed_example"
    expect_output
  done
}

start=$SECONDS

echo "== install"
prefix="$scratch/prefix"
cmake --install "$build_dir" --prefix "$prefix" >"$scratch/install.log" 2>&1 ||
  { cat "$scratch/install.log" >&2; fail "cmake --install"; }
config=$(cd "$prefix" && find . -name HexloomConfig.cmake -printf '%P\n')
[[ -n $config ]] || fail "no HexloomConfig.cmake installed"
package_dir=$(dirname "$config")
for file in HexloomConfig.cmake HexloomConfigVersion.cmake HexloomEmbed.cmake HexloomTargets.cmake; do
  [[ -f $prefix/$package_dir/$file ]] || fail "$file is not installed in $package_dir"
done
[[ -x $prefix/bin/hexloom ]] || fail "bin/hexloom is not installed"

scenario package-ninja Ninja package
scenario package-make "Unix Makefiles" package
scenario subdir-ninja Ninja subdir
scenario subdir-make "Unix Makefiles" subdir

echo "== cross build for Windows, converting with the native hexloom"
work="$scratch/cross"
bld="$work/build"
mkdir -p "$work"
cp -R "$source_dir/examples/embed" "$work/src"
cmake -S "$work/src" -B "$bld" -G Ninja "-DHEXLOOM_SOURCE_DIR=$source_dir" \
  "-DCMAKE_TOOLCHAIN_FILE=$source_dir/cmake/mingw-w64-x86_64.cmake" "-DHEXLOOM_EXECUTABLE=$hexloom" \
  >"$work/configure.log" 2>&1 || { cat "$work/configure.log" >&2; fail "cross: configure"; }
build "$work/build"
[[ -f $bld/embed_example.exe && ! -e $bld/hexloom.exe ]] ||
  fail "cross: embed_example.exe not built, or hexloom.exe built"
grep -q "$hexloom -q" "$bld/build.ninja" || fail "cross: the conversions don't run $hexloom"

echo "== configure-time checks"
work="$scratch/checks"
src="$work/src"
bld="$work/build"
label=checks
mkdir -p "$work"
cp -R "$here/embed_checks" "$src"
mkdir -p "$src/a" "$src/b"
printf 'first data\n' >"$src/a/data.bin"
printf 'other\n' >"$src/a/data_bin"
printf 'keyword\n' >"$src/a/new"
printf 'the logo of liba\n' >"$src/a/logo.png"
printf 'libb has a logo of its own\n' >"$src/b/logo.png"
touch "$src/a/new_" "$src/a/logo" "$src/a/logo_size" "$src/a/日本.txt" "$src/a/中国.txt"
for i in $(seq 1 200); do printf 'line %d of the second data file\n' "$i"; done >"$src/b/data.bin"

configure_case() {  # <case>; output in $work/<case>.log
  cmake -S "$src" -B "$bld" -G Ninja "-DCMAKE_PREFIX_PATH=$prefix" "-DCASE=$1" >"$work/$1.log" 2>&1
}
configure_case accepted || { cat "$work/accepted.log" >&2; fail "the accepted case does not configure"; }
build "$work/accepted-build"
[[ $("$bld/first") == "11 11 16" ]] || fail "first (-stl -nons) does not hold a/data.bin and a/new"
[[ $("$bld/second") == "$(md5sum <"$src/b/data.bin" | cut -d' ' -f1)" ]] ||
  fail "second (-cpp_md5) does not hold the MD5 digest of b/data.bin"

reject() {  # <case> <words of the message>
  if configure_case "$1"; then
    fail "hexloom_embed() accepted the case $1"
  fi
  # CMake wraps long messages: compare with the lines joined.
  local joined
  joined=$(tr '\n' ' ' <"$work/$1.log" | tr -s ' ')
  [[ $joined == *"$2"* ]] || { cat "$work/$1.log" >&2; fail "case $1: the message does not say \"$2\""; }
}
# The form of the data: a string literal for g++ unless ARRAY asks for the
# brace list, a brace list for other compilers unless -str asks otherwise.
literal_form() {  # <target> <expected: literal|array>
  local file="$bld/hexloom_embed/$1/data.bin.cpp" form=array
  grep -q '^ *"' "$file" && form=literal
  [[ $form == "$2" ]] || fail "$label: $1 holds a $form, expected a $2 ($file)"
}
literal_form first literal
literal_form second literal
rm -rf "$bld"
configure_case choice || { cat "$work/choice.log" >&2; fail "the choice case does not configure"; }
build "$work/choice-build"
[[ $("$bld/first") == "11 11 16" && $("$bld/third") == "11 11 16" ]] || fail "first or third does not hold a/data.bin"
[[ $("$bld/second") == "$(md5sum <"$src/b/data.bin" | cut -d' ' -f1)" ]] || fail "second (-str -cpp_md5) is wrong"
literal_form first array
literal_form second literal
literal_form third array
reject array_and_str "ARRAY asks for a brace list and -str for a string literal"

# Two libraries, one logo.png each: refused in one namespace, read back
# apart with NAMESPACE.
reject libraries_clash \
  "$src/b/logo.png (target libb) and $src/a/logo.png (target liba) would both define Data::logo_png"
rm -rf "$bld"
configure_case libraries || { cat "$work/libraries.log" >&2; fail "the libraries case does not configure"; }
build "$work/libraries-build" --target both
[[ $("$bld/both") == "$(cat "$src/a/logo.png" "$src/b/logo.png")" ]] || fail "both does not read each library's logo"

reject same_name "have the same name, so both would be written as"
reject same_name_other_dir "would both define Data::data_bin"
reject same_identifier "(target first) would both define Data::data_bin"
reject keyword_clash "$src/a/new_ (target second) and $src/a/new (target first) would both define Data::new_,"
reject size_clash "would both define Data::logo_size"
reject non_ascii \
  "would both define Data::________txt, which the linker takes for one symbol. Hexloom names a file's data after"
reject namespace_digit "NAMESPACE \"ui::9lives\" is not a C++ namespace name"
reject namespace_keyword "NAMESPACE \"ui::class\" is not a C++ namespace name"
reject namespace_and_nons "NAMESPACE ui and -nons ask for a namespace and for none"
reject no_files_keyword \
  "unexpected arguments: a/data.bin (files go after FILES). The form is hexloom_embed(<target> [PUBLIC|PRIVATE"
reject folder "$src/a is a folder"
reject scopes "give one of PUBLIC, PRIVATE and INTERFACE"
reject twice "is already embedded into"
reject format "option -cxx makes Hexloom write something other than a .cpp/.h pair"
reject digest_file "option -sha256 makes Hexloom write something other than a .cpp/.h pair"
reject output "option -o is not accepted in OPTIONS"
reject unknown "\"--fast\" is not a Hexloom style option. OPTIONS takes: -str -stl"
reject missing "cannot find $src/a/absent.bin"

echo "== all passed in $((SECONDS - start)) s"

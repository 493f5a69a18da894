#!/usr/bin/env bash
# Builds examples/meson with Meson and examples/make with GNU Make, each time after an edit, an added file (whose
# name holds a space, #, $ and :), an edit of that file and its removal, with no reconfiguring or cleaning between:
# the program shows the new bytes each time, and a build after the last one runs nothing.
# Usage: examples_test.sh <hexloom binary> <source dir> <scratch dir>
set -euo pipefail
export LC_ALL=C
unset MAKEFLAGS MFLAGS MAKELEVEL
(($# == 3)) || { echo "usage: $0 <hexloom binary> <source dir> <scratch dir>" >&2; exit 2; }
PATH=$(dirname "$(realpath "$1")"):$PATH source_dir=$(realpath "$2") scratch=$(realpath -m "$3")
fail() { echo "FAIL: $*" >&2; exit 1; }
if ! type -P meson ninja make c++ >/dev/null; then
  [[ ${CI:-} != true ]] || fail "meson, ninja, make and c++ are needed (tools/setup test)"
  echo "SKIPPED: meson, ninja, make or c++ is missing (tools/setup test installs them)"
  exit 77
fi
rm -rf "$scratch" && mkdir -p "$scratch"

backdate() {  # every file a second back, keeping their order: each edit is then the newest even on whole seconds
  local time path
  while IFS=' ' read -r -d '' time path; do touch -h -d "@$((${time%.*} - 1))" "$path"; done \
    < <(find "$work" -printf '%T@ %p\0')
}
expect() {  # <what was done> <path to look up> <lines the program prints, after notes.txt's>
  backdate && "${@:4}" && $build >"$work/build.log" 2>&1 || { cat "$work/build.log" >&2; fail "$label: $1: build"; }
  got=$("$program" "$2" | tail -n +2 || true)
  [[ $got == "$3" ]] || fail "$label: after $1, $2 gives [$got], expected [$3]"
}

for label in meson make; do
  echo "== $label"
  work=$scratch/$label src=$scratch/$label/src
  mkdir -p "$work" && cp -R "$source_dir/examples/$label" "$src"
  if [[ $label == meson ]]; then
    meson setup "$work/build" "$src" >"$work/setup.log" 2>&1 || { cat "$work/setup.log" >&2; fail "meson setup"; }
    build="ninja -C $work/build" program=$work/build/meson_example
    idle() { [[ $(ninja -C "$work/build" -n) == *"ninja: no work to do."* ]]; }
  else
    build="make -C $src" program=$src/make_example
    # A build, not -q or -n: those take the outputs' empty rules for work.
    idle() { [[ $(make --no-print-directory -C "$src") == "make: 'make_example' is up to date." ]]; }
  fi
  odd='a b#$:c.html'
  expect "the first build" css/style.css "body { font-family: sans-serif; }" true
  expect "an edit" index.html "<p>edited</p>" eval 'echo "<p>edited</p>" >"$src/site/index.html"'
  [[ $("$program" | head -1) == "Hexloom embedded this text into the program at build time." ]] || fail "$label: notes"
  expect "an added file" "$odd" "added" eval 'echo added >"$src/site/$odd"'
  expect "its edit" "$odd" "added"$'\n'"again" eval 'echo again >>"$src/site/$odd"'
  expect "its removal" "$odd" "$odd: not in the catalogue" rm "$src/site/$odd"
  idle || fail "$label: the build after the last one still has work"
done
echo "== all passed"

#!/usr/bin/env bash
# Drives the bash completion of hexloom as bash does on a Tab: COMP_WORDS and COMP_CWORD set, then the
# function that `complete` registered. Usage: completion_test.sh <completion script>
set -uo pipefail
script=$1 failures=0 passes=0
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
mkdir -p assets/icons "art work" out && touch assets/logo.png "art work/sky.png" another.bin
# shellcheck source=/dev/null
source "$script"

check() { if [[ $2 == "$3" ]]; then ((++passes)); else echo "FAIL: $1: got '$2', want '$3'"; ((++failures)); fi; }
check "complete -p hexloom" "$(complete -p hexloom)" "complete -F _hexloom hexloom"

expect() {  # <words, the last being the one under the cursor> <sorted completions>
  read -ra COMP_WORDS <<<"$1"
  [[ $1 == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) COMPREPLY=()
  _hexloom hexloom "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  check "'$1'" "$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd' ')" "$2"
}

# Every option after the first argument; the queries only as the first.
expect "hexloom -dec -" "-1024 -128 -16 -256 -32 -512 -64 -8 -align -bw -bwns -compress -cpp -cpp_md5 -cpp_sha1 -cpp_sha256 -cpp_sha512 \
-cxx -cxx_md5 -cxx_sha1 -cxx_sha256 -cxx_sha512 -dec -depfile -dyn -exclude -i -incbin -index -last -md5 -nocompress -nons -ns -o -p -prefix -q -s32 -sha1 -sha256 -sha512 \
-size_t -stl -str -t0 -t1 -t2 -t3 -t4 -test -u32"
expect "hexloom --" "--help --version"
expect "hexloom -dec --" ""
expect "hexloom -i " "another.bin art work assets out"
expect "hexloom -depfile an" "another.bin"
expect "hexloom -o " "art work assets out"
expect "hexloom -o as" "assets"
expect "hexloom -p assets " ""
expect "hexloom -p assets .png -l" "-last"
# A value is never an option: "-i" is the folder of -o, "-o" the file of -i.
expect "hexloom -o -i -l" "-last"
expect "hexloom -i -o a" ""
expect "hexloom -ns " ""
expect "hexloom -exclude -i -prefix -o -l" "-last"

echo "$passes passed, $failures failed"
((failures == 0))

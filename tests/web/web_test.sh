#!/usr/bin/env bash
# examples/web served on 127.0.0.1 in a network namespace of its own, so that nothing but loopback can be reached.
#   web_test.sh build <hexloom> <source dir> <scratch>: builds the example with this hexloom
#   web_test.sh curl <scratch>: every file of site/ comes back byte for byte, with its type and ETag, with and without
#     --compressed, a gzip entry as it is; a 304, a 404
#   web_test.sh chromium <scratch>: a headless browser runs the page's script, which finds the stylesheet applied
set -euo pipefail
export LC_ALL=C
fail() { echo "FAIL: $*" >&2; exit 1; }
mode=$1

if [[ $mode == build ]]; then
  (($# == 4)) || fail "usage: $0 build <hexloom> <source dir> <scratch>"
  rm -rf "$4" && mkdir -p "$4"
  cmake -S "$3/examples/web" -B "$4/build" -G Ninja "-DHEXLOOM_SOURCE_DIR=$3" "-DHEXLOOM_EXECUTABLE=$(realpath "$2")" \
    >"$4/configure.log" 2>&1 || { cat "$4/configure.log" >&2; fail "configure"; }
  cmake --build "$4/build" >"$4/build.log" 2>&1 || { cat "$4/build.log" >&2; fail "build"; }
  exit 0
fi

build=$2/build work=$2/$mode site=$(realpath "$(dirname "$0")/../../examples/web/site")
if [[ $mode == chromium ]] && ! type -P chromium >/dev/null; then
  [[ ${CI:-} != true ]] || fail "chromium is missing (tools/setup test installs it)"
  echo "SKIP: chromium is missing (tools/setup test installs it)"
  exit 77
fi
if [[ -z ${HEXLOOM_WEB_UNSHARED:-} ]]; then
  exec bwrap --dev-bind / / --unshare-net --die-with-parent env HEXLOOM_WEB_UNSHARED=1 bash "$0" "$@"
fi

# The server prints its port once it listens: reading the line through a FIFO waits for exactly that.
rm -rf "$work" && mkdir -p "$work" && mkfifo "$work/port"
"$build/web_example" 0 >"$work/port" &
server=$!
trap 'kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true' EXIT
read -r line <"$work/port" || fail "the server ended without listening"
[[ $line =~ ^listening\ on\ 127\.0\.0\.1:([0-9]+)$ ]] || fail "the server printed: $line"
url=http://127.0.0.1:${BASH_REMATCH[1]}

fetch() {  # <path> [curl arguments]: the body into $work/body, the headers into $work/headers; prints the status
  rm -f "$work/body"  # curl writes no file for an empty body
  curl --noproxy '*' -sS -o "$work/body" -D "$work/headers" -w '%{http_code}' "${@:2}" "$url/$1"
}
header() { sed -n "s/^$1: \(.*\)\r$/\1/Ip" "$work/headers"; }

if [[ $mode == curl ]]; then
  declare -A types=([html]="text/html; charset=utf-8" [css]="text/css; charset=utf-8"
    [mjs]="text/javascript; charset=utf-8" [svg]="image/svg+xml")
  count=0
  while IFS= read -r -d '' file; do
    path=${file#"$site/"}
    [[ $(fetch "$path") == 200 ]] || fail "$path: status $(fetch "$path")"
    cmp -s "$work/body" "$file" || fail "$path: the bytes differ"
    [[ $(header Content-Type) == "${types[${path##*.}]}" ]] || fail "$path: Content-Type $(header Content-Type)"
    tag=$(openssl dgst -sha256 -binary "$file" | head -c 18 | basenc --base64url)
    [[ $(header ETag) == "\"$tag\"" ]] || fail "$path: ETag $(header ETag), not \"$tag\""
    # A client that takes gzip gets it at most once, and the bytes again once decoded.
    [[ $(fetch "$path" --compressed) == 200 ]] && cmp -s "$work/body" "$file" || fail "$path: --compressed differs"
    (($(header Content-Encoding | wc -l) <= 1)) || fail "$path: encoded twice: $(header Content-Encoding)"
    count=$((count + 1))
  done < <(find "$site" -type f ! -name '.*' -print0)
  ((count == 4)) || fail "$count files in $site"
  # index.html is stored as gzip: the member goes out as it is.
  fetch index.html -H 'Accept-Encoding: gzip' >/dev/null
  [[ $(header Content-Encoding) == gzip ]] && gzip -dc "$work/body" | cmp -s - "$site/index.html" ||
    fail "index.html: not its gzip member ($(header Content-Encoding))"
  fetch index.html -H 'Accept-Encoding: gzip;q=0, br;q=0' >/dev/null
  [[ -z $(header Content-Encoding) ]] && cmp -s "$work/body" "$site/index.html" || fail "gzip;q=0 was sent gzip"
  [[ $(fetch "") == 200 ]] && cmp -s "$work/body" "$site/index.html" || fail "/ is not index.html"
  etag=$(header ETag)
  [[ $(fetch "" -H "If-None-Match: $etag") == 304 && ! -e $work/body ]] || fail "If-None-Match: $etag is not a 304"
  [[ $(fetch "" -H 'If-None-Match: "other"') == 200 ]] || fail "another ETag is a 304"
  for missing in .notes no/such/file js; do
    [[ $(fetch "$missing") == 404 ]] || fail "/$missing is not a 404"
  done
else
  chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$work/profile" --dump-dom "$url/" \
    >"$work/dom.html" 2>"$work/chromium.log" || { cat "$work/chromium.log" >&2; fail "chromium failed"; }
  grep -qF '<p id="marker">the stylesheet applied</p>' "$work/dom.html" || { cat "$work/dom.html" >&2; fail "the marker"; }
fi
echo "passed"

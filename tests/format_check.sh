#!/usr/bin/env bash
# Fails when a C++ file of the project differs from what clang-format makes
# of it with the project's .clang-format.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
mapfile -t files < <(git ls-files '*.cpp' '*.h' 2>/dev/null | grep -v '^examples/' ||
                       find app bench codegen convert digest platform tests -name '*.cpp' -o -name '*.h')
clang-format --dry-run --Werror "${files[@]}"
echo "format: ${#files[@]} files formatted"

#!/usr/bin/env bash
# Formats every C++ file of the repository in the style of .clang-format (clang-format-14).
#   --check  changes nothing; names what is not formatted and fails if anything is not
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [[ ${1:-} == --check ]]; then
  if ! clang-format-14 --dry-run --Werror "${files[@]}"; then
    echo "Not formatted: scripts/format.sh formats them." >&2
    exit 1
  fi
else
  clang-format-14 -i "${files[@]}"
fi

#!/usr/bin/env bash
# Formats every C++ file of the repository in the style of .clang-format (clang-format-14).
#   --check  changes nothing; names what is not formatted and fails if anything is not
# The files are those git tracks; without git (a source tarball, a machine without it) every
# .cpp and .h file outside the build folders. Finding no file at all is an error, never a pass.
set -euo pipefail
cd "$(dirname "$0")/.."

list_files() {
  if command -v git >/dev/null && git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -- '*.cpp' '*.h'
  else
    find . \( -path './build*' -o -path './.git' -o -path './.cache' \) -prune -o \
      -type f \( -name '*.cpp' -o -name '*.h' \) -print | sed 's|^\./||' | sort
  fi
}

if ! command -v clang-format-14 >/dev/null; then
  echo "format.sh: clang-format-14 is missing (scripts/deps.sh --checks installs it)" >&2
  exit 1
fi
mapfile -t files < <(list_files)
if [[ ${#files[@]} -eq 0 ]]; then
  echo "format.sh: found no C++ file to format or check" >&2
  exit 1
fi
if [[ ${1:-} == --check ]]; then
  if ! clang-format-14 --dry-run --Werror "${files[@]}"; then
    echo "Not formatted: scripts/format.sh formats them." >&2
    exit 1
  fi
  echo "format.sh: ${#files[@]} C++ files checked"
else
  clang-format-14 -i "${files[@]}"
fi

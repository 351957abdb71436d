#!/usr/bin/env bash
# Checks that the C++ sources are laid out as the .clang-format at the top of the tree says.
#
#   tools/check_format.sh            every .h and .cpp of core platform host discovery chores
#                                    server tests (not build output, not the checks' own fixtures)
#   tools/check_format.sh PATH...    only these files, or the .h and .cpp files under these folders
#
# Prints the clang-format version, names each file that is not formatted and exits 1 if there is
# one; exits 2 when clang-format or the .clang-format is missing. `clang-format -i FILE` formats a
# file. clang-format comes from Debian's clang-format package (tools/setup.sh installs it).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
style="$root/.clang-format"
# Debian's clang-format (the one tools/setup.sh installs) before any other on the PATH.
clang_format="${CLANG_FORMAT:-$(command -v /usr/bin/clang-format || echo clang-format)}"

if ! command -v "$clang_format" >/dev/null 2>&1; then
  echo "check_format: $clang_format not found (tools/setup.sh installs Debian's clang-format)" >&2
  exit 2
fi
if [ ! -f "$style" ]; then
  echo "check_format: $style is missing" >&2
  exit 2
fi
"$clang_format" --version

# The .h and .cpp files under the given folders, leaving out build folders (any folder named
# build but tests/build) and, below the folders given, the checks' fixtures (folders named
# *-fixture, which hold unformatted files on purpose).
list_sources() {
  find "$@" -mindepth 1 \( -name '*-fixture' -o \( -name build ! -path '*/tests/build' \) \) -prune \
    -o -type f \( -name '*.h' -o -name '*.cpp' \) -print
}

files=()
if [ $# -eq 0 ]; then
  cd "$root"
  while IFS= read -r f; do files+=("$f"); done < <(list_sources core platform host discovery chores server tests | LC_ALL=C sort)
else
  for arg in "$@"; do
    if [ -d "$arg" ]; then
      while IFS= read -r f; do files+=("$f"); done < <(list_sources "$arg" | LC_ALL=C sort)
    elif [ -f "$arg" ]; then
      files+=("$arg")
    else
      echo "check_format: no such file or folder: $arg" >&2
      exit 2
    fi
  done
fi
if [ ${#files[@]} -eq 0 ]; then
  echo "check_format: no .h or .cpp file to check" >&2
  exit 2
fi

bad=()
for f in "${files[@]}"; do
  # --dry-run --Werror fails with a -Wclang-format-violations warning where the layout differs;
  # any other failure (a file it cannot read, a broken .clang-format) is an error of the check.
  if ! out="$("$clang_format" --style="file:$style" --dry-run --Werror "$f" 2>&1)"; then
    if grep -q -- '-Wclang-format-violations' <<<"$out"; then
      bad+=("$f")
    else
      echo "check_format: clang-format failed on $f:" >&2
      echo "$out" >&2
      exit 2
    fi
  fi
done

if [ ${#bad[@]} -gt 0 ]; then
  for f in "${bad[@]}"; do echo "not formatted: $f"; done
  echo "check_format: ${#bad[@]} of ${#files[@]} files are not formatted (clang-format -i FILE formats one)"
  exit 1
fi
echo "check_format: ${#files[@]} files formatted"

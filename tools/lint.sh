#!/usr/bin/env bash
# Runs the naming check of .clang-tidy over source files, with the compile commands of the given build folder.
# Usage: tools/lint.sh BUILD_DIR [FILE...]   (no files: every .cpp of the program's six folders)
set -euo pipefail
cd "$(dirname "$0")/.."
build="$1"; shift
files=("$@")
if [ ${#files[@]} -eq 0 ]; then
  mapfile -t files < <(git ls-files 'support/*.cpp' 'compiler/*.cpp' 'engine/*.cpp' 'graph/*.cpp' 'workspace/*.cpp' 'app/*.cpp')
fi
# A header is checked through the files that include it.
sources=()
for f in "${files[@]}"; do
  case "$f" in *.cpp) sources+=("$f") ;; esac
done
[ ${#sources[@]} -eq 0 ] && { echo "lint: no source files to check"; exit 0; }
status=0
printf '%s\n' "${sources[@]}" |
  xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet > /tmp/tavlix-lint.$$ 2>&1 || status=$?
grep -v -e '^[0-9]* warnings\? generated' -e '^Suppressed' -e '^Use -header-filter' /tmp/tavlix-lint.$$ || true
rm -f /tmp/tavlix-lint.$$
if [ $status -eq 0 ]; then
  echo "lint: ${#sources[@]} files follow the naming convention"
else
  echo "lint: naming findings above"
fi
exit $status

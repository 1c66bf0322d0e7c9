#!/usr/bin/env bash
# Checks the layout (.clang-format) and the naming convention (.clang-tidy) of source files, with the compile commands of the given build folder.
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
# The layout first: it is quick and says exactly which files to run clang-format on.
clang-format --dry-run --Werror "${sources[@]}" || status=1
printf '%s\n' "${sources[@]}" |
  xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet > /tmp/tavlix-lint.$$ 2>&1 || status=1
grep -v -e '^[0-9]* warnings\? generated' -e '^Suppressed' -e '^Use -header-filter' /tmp/tavlix-lint.$$ || true
rm -f /tmp/tavlix-lint.$$
if [ $status -eq 0 ]; then
  echo "lint: ${#sources[@]} files follow the layout and the naming convention"
else
  echo "lint: findings above"
fi
exit $status

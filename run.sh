#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tavlix with the given documents.
# Without a display it runs the example documents in batch mode instead and says where the results are.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh build

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/tavlix "$@"
fi

out=build/batch-out
mkdir -p "$out"
files=("$@")
[ ${#files[@]} -eq 0 ] && files=(examples/2sin.tvx examples/simpel.tvx)
echo "No display: running ${files[*]} in batch mode."
status=0
build/tavlix --batch --out "$out" "${files[@]}" || status=$?
echo "Results are in $(pwd)/$out:"
ls -1 "$out"
exit $status

#!/usr/bin/env bash
# The command line of every mode: help and version (without a display), usage errors with exit 2 and one line naming
# the argument, "--" before a file that starts with a dash, and the window's refusal to start without a display.
# Usage: bash command_line.sh path/to/tavlix SOURCE_DIR
set -u
tavlix=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# run ARGS...: sets out, err and rc, with no display of any kind.
run() {
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$tavlix" "$@" 2>err.txt)
  rc=$?
  err=$(cat err.txt)
}

for option in --help -h; do
  run "$option"
  [ "$rc" -eq 0 ] && [ -z "$err" ] || fail "$option: exit $rc, stderr '$err'"
  for word in --batch --out --max-cells --max-points --calc --version -platform -- "Exit status"; do
    grep -qF -- "$word" <<<"$out" || fail "$option does not mention $word"
  done
done
for option in --version -v; do
  run "$option"
  [ "$rc" -eq 0 ] && [[ "$out" =~ ^tavlix\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "$option printed '$out' (exit $rc)"
done

# Each row: the arguments, then a word the one-line message must contain.
usage_errors=(
  "--batch --accurate x.tvx|'--accurate'"
  "--accuracy x.tvx|--accuracy"
  "--bogus|'--bogus'"
  "-q x.tvx|'-q'"
  "--batch|at least one document"
  "--batch --out|'--out'"
  "--batch --max-cells 0 x.tvx|'0'"
  "--batch --max-points many x.tvx|'many'"
  "--out dir x.tvx|--out"
  "--calc|'--calc'"
  "--calc 1 2|'2'"
  "--batch --calc 1 x.tvx|combined"
  "--batch -platform xcb x.tvx|-platform"
)
for row in "${usage_errors[@]}"; do
  IFS='|' read -r args want <<<"$row"
  read -ra argv <<<"$args"
  run "${argv[@]}"
  lines=$(printf '%s\n' "$err" | wc -l)
  if [ "$rc" -ne 2 ] || [ "$lines" -ne 1 ] || ! grep -qF -- "$want" <<<"$err" || ! grep -qF -- "--help" <<<"$err"; then
    fail "tavlix $args: exit $rc, stderr '$err' (wanted one line with $want and a hint to --help)"
  fi
  [ -z "$(ls)" ] || [ "$(ls)" = err.txt ] || fail "tavlix $args left files: $(ls)"
done

# "--" ends the options: a document whose name starts with a dash is run, and no option is read as a file.
cp "$(dirname "$tavlix")/2sin.tvx" ./-dash.tvx
run --batch --out out -- -dash.tvx
[ "$rc" -eq 0 ] && [ -s out/-dash.tvx-1.tsv ] || fail "--batch -- -dash.tvx: exit $rc, stderr '$err', made: $(ls out 2>&1)"
run --batch --out out2 --max-cells 1000000 --max-points 1000000 -dash.tvx
[ "$rc" -eq 2 ] && [ ! -e out2 ] || fail "--batch -dash.tvx without --: exit $rc, stderr '$err'"

# The window without a display: one line that says so and points at --batch, exit 2, no toolkit abort.
run x.tvx
if [ "$rc" -ne 2 ] || [ "$(printf '%s\n' "$err" | wc -l)" -ne 1 ] || ! grep -q display <<<"$err" ||
  ! grep -qF -- --batch <<<"$err"; then
  fail "the window without a display: exit $rc, stderr '$err'"
fi

[ "$failures" -eq 0 ] && echo "command line: all passed"
exit "$failures"

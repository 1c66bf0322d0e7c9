#!/usr/bin/env bash
# tavlix --batch --axes-origin: the axes through (0; 0) in the pictures when the view holds it (one "0" at the
# origin, the variables' names at the arrows), the same pictures as without it when it does not, and the same
# points either way.
# Usage: bash batch_axes_origin.sh path/to/tavlix SOURCE_DIR
set -u
tavlix=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
script="Funktioner\r\n  f = t*t - 1\r\nGrafVariable\r\n  t, f, l1\r\n"
# x from -2 to 3 and y from -1 to 4 hold the origin; x from 1 to 5 does not.
printf '%b' '-2\r\n3\r\n1\r\n0\r\n-1\r\n4\r\n1\r\n0\r\n-2\r\n3\r\n50\r\n0\r\n0\r\n0\r\n0\r\n0\r\n' "$script" >"$work/around.tvx"
printf '%b' '1\r\n5\r\n1\r\n0\r\n1\r\n30\r\n5\r\n0\r\n1\r\n5\r\n50\r\n0\r\n0\r\n0\r\n0\r\n0\r\n' "$script" >"$work/aside.tvx"

(cd "$work" && "$tavlix" --batch --out frame around.tvx aside.tvx 2>/dev/null) || fail "frame run: exit $?"
(cd "$work" && "$tavlix" --batch --axes-origin --out origin around.tvx aside.tvx 2>origin.stderr) ||
  fail "origin run: exit $?"
[ -s "$work/origin.stderr" ] && fail "origin run wrote to stderr: $(cat "$work/origin.stderr")"

for doc in around aside; do
  cmp -s "$work/frame/$doc.tvx-1.tsv" "$work/origin/$doc.tvx-1.tsv" || fail "$doc: the points differ"
done
zeros() { grep -o '>0<' "$1" | wc -l; }
[ "$(zeros "$work/frame/around.tvx-1.svg")" -eq 2 ] || fail "frame: not one 0 on each axis"
[ "$(zeros "$work/origin/around.tvx-1.svg")" -eq 1 ] || fail "origin: not a single 0 at the origin"
grep -q '>t<' "$work/origin/around.tvx-1.svg" || fail "origin: the x axis is not named t"
grep -q '>t<' "$work/frame/around.tvx-1.svg" && fail "frame: an axis name without the option"
cmp -s "$work/frame/aside.tvx-1.svg" "$work/origin/aside.tvx-1.svg" || fail "aside: the option moved axes"
cmp -s "$work/frame/around.tvx-1.png" "$work/origin/around.tvx-1.png" && fail "origin: the picture is unchanged"

"$tavlix" --axes-origin "$work/around.tvx" >/dev/null 2>&1
[ $? -eq 2 ] || fail "--axes-origin without --batch is no usage error"

[ "$failures" -eq 0 ] && echo "batch_axes_origin: all passed"
exit $((failures > 0))

#!/usr/bin/env bash
# tavlix --batch --slope-field and --through: CAPTION.field.tsv with unit directions that match the right-hand
# side, solutions as further curves of the point file, a phase plane, and nothing changed without the options.
# Usage: bash batch_slope_field.sh path/to/tavlix SOURCE_DIR
set -u
tavlix=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
settings='-1\r\n5\r\n1\r\n0\r\n-0.5\r\n2\r\n0.5\r\n0\r\n0\r\n5\r\n50\r\n0\r\n0\r\n0.00001\r\n0\r\n0\r\n'
{
  printf '%b' "$settings"
  printf "DifferentialLigninger\r\n  y' = y*(1 - y)   <0.1>\r\nGrafVariable\r\n  t, y, l1\r\n"
} >"$work/logistic.tvx"
{
  printf '%b' '-3\r\n3\r\n1\r\n0\r\n-3\r\n3\r\n1\r\n0\r\n0\r\n6.3\r\n100\r\n0\r\n0\r\n0.00001\r\n0\r\n0\r\n'
  printf "DifferentialLigninger\r\n  x' = -y   <1>\r\n  y' = x   <0>\r\nGrafVariable\r\n  x, y, l1\r\n"
} >"$work/circle.tvx"

(cd "$work" && "$tavlix" --batch --out plain logistic.tvx 2>/dev/null) || fail "plain run: exit $?"
(cd "$work" && "$tavlix" --batch --slope-field --through 0,1.5 --through 1,0.2 --out field logistic.tvx circle.tvx \
  2>field.stderr) || fail "field run: exit $?"
[ -s "$work/field.stderr" ] && fail "field run wrote to stderr: $(cat "$work/field.stderr")"
[ -e "$work/plain/logistic.tvx-1.field.tsv" ] && fail "a field file without --slope-field"

# Every element: a unit direction whose slope is y*(1 - y) at its centre, inside the view.
file="$work/field/logistic.tvx-1.field.tsv"
lines=$(wc -l <"$file")
{ [ "$lines" -ge 250 ] && [ $((lines % 25)) -eq 0 ]; } || fail "field rows of 25: $lines lines"
awk -F'\t' 'NF != 4 || $1 < -1 || $1 > 5 || $2 < -0.5 || $2 > 2 { bad = 1 }
  { l = $3 * $3 + $4 * $4; s = $2 * (1 - $2); d = $4 / $3 - s
    if (l < 1 - 1e-12 || l > 1 + 1e-12 || d > 1e-9 || d < -1e-9) bad = 1 }
  END { exit bad }' "$file" || fail "field elements do not follow y' = y*(1 - y)"

# The run's curve, then one per point; the first solution starts above the view (y > 2) going backwards.
curves=$(cut -f1 "$work/field/logistic.tvx-1.tsv" | grep -v '^$' | sort -u | tr '\n' ' ')
[ "$curves" = "1 2 3 " ] || fail "curves in the point file: $curves"
awk -F'\t' '$1 == 3 && $2 == 1 { seen = 1; if ($3 < 0.2 - 1e-9 || $3 > 0.2 + 1e-9) bad = 1 }
  END { exit bad || !seen }' \
  "$work/field/logistic.tvx-1.tsv" || fail "solution 3 does not pass through (1, 0.2)"
grep -q 'gennem (0; 1.5)' "$work/field/logistic.tvx-1.svg" || fail "the legend names no solution"

# The phase plane: arrows perpendicular to the radius; solutions around the circle keep their radius.
awk -F'\t' '{ if ($1 * $3 + $2 * $4 > 1e-12 || $1 * $3 + $2 * $4 < -1e-12) bad = 1 } END { exit bad }' \
  "$work/field/circle.tvx-1.field.tsv" || fail "phase plane arrows are not perpendicular to the radius"
awk -F'\t' '$1 == 2 { seen = 1; r = $2 * $2 + $3 * $3; if (r < 2.25 - 1e-3 || r > 2.25 + 1e-3) bad = 1 }
  END { exit bad || !seen }' \
  "$work/field/circle.tvx-1.tsv" || fail "the solution through (0, 1.5) leaves its circle"

"$tavlix" --batch --through 1 "$work/logistic.tvx" >/dev/null 2>&1
[ $? -eq 2 ] || fail "--through 1 is no usage error"

[ "$failures" -eq 0 ] && echo "batch_slope_field: all passed"
exit $((failures > 0))

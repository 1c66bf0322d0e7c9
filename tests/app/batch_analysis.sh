#!/usr/bin/env bash
# tavlix --batch analyses: --fit with --data and --model (CAPTION.fit.tsv), --points, --tangent and --area (one file
# per graph page), their failures as exit 1 with a message, and their usage errors.
# Usage: bash batch_analysis.sh path/to/tavlix SOURCE_DIR
set -u
tavlix=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# The settings: Xmin Xmax XEnhed YCross YMin YMax YEnhed XCross TMin TMax TAntal TDelta Absolut Relativ XGitter YGitter.
settings() { printf '%s\r\n' "$@"; }

# The logistic equation's exact solution (r = 0.8, k = 10, y(0) = 1) at t = 0 .. 11; the fit starts at r = 0.5, k = 5.
{
  settings 0 11 1 0 0 12 1 0 0 11 110 0 1e-12 1e-10 0 0
  printf 'Konstanter\r\n  r = 0.5  k = 5\r\nTabeller\r\n  data = <(0, 1.0), (1, 1.9825689850220398), '
  printf '(2, 3.5497892312895107), (3, 5.505208649761886), (4, 7.316039097826313), (5, 8.58486449758214), '
  printf '(6, 9.310399876798492), (7, 9.677911616053018), (8, 9.852663123345454), (9, 9.933255750034434), '
  printf '(10, 9.969899242601384), (11, 9.986452401881527)>\r\n'
  printf "DifferentialLigninger\r\n  y' = r*y*(1 - y/k)  <1>\r\nFunktioner\r\n  g = k*t\r\nGrafVariable\r\n  t, y, l1\r\n"
} >"$work/logistic.tvx"

(cd "$work" && "$tavlix" --batch --out fit --fit r,K --data Data --model y logistic.tvx 2>fit.stderr) ||
  fail "fit: exit $? $(cat "$work/fit.stderr")"
file="$work/fit/logistic.tvx.fit.tsv"
[ "$(cut -f1 "$file" | tr '\n' ' ')" = "r k rms r2 iterations " ] || fail "fit file keys: $(cut -f1 "$file" | tr '\n' ' ')"
awk -F'\t' 'function off(v, w) { return (v - w) / w > 1e-6 || (w - v) / w > 1e-6 }
  $1 == "r" && (off($2, 0.8) || NF != 3) { bad = 1 } $1 == "k" && (off($2, 10) || NF != 3) { bad = 1 }
  $1 == "rms" && $2 > 1e-6 { bad = 1 } $1 == "r2" && $2 < 0.999999 { bad = 1 } $1 == "iterations" && $2 < 1 { bad = 1 }
  END { exit bad }' "$file" || fail "fitted values: $(tr '\n' ' ' <"$file")"

while IFS='|' read -r args status message; do
  rm -rf "$work/bad"
  # shellcheck disable=SC2086
  (cd "$work" && "$tavlix" --batch --out bad $args logistic.tvx 2>bad.stderr)
  got=$?
  [ "$got" = "$status" ] || fail "$args: exit $got, not $status"
  grep -qF -- "$message" "$work/bad.stderr" || fail "$args: stderr '$(cat "$work/bad.stderr")'"
  [ -e "$work/bad/logistic.tvx.fit.tsv" ] && fail "$args: a fit file after a failure"
done <<'ROWS'
--fit r,q --data data --model y|1|q er ingen konstant givet som et tal
--fit r --data maalt --model y|1|Tabellen maalt findes ikke
--fit r --data data --model z|1|z er ingen funktion eller variabel
--fit r --data data --model g|1|g afhænger ikke af r
--fit r --model y|2|--fit, --data and --model go together
--data data|2|--fit, --data and --model go together
--tangent x|2|--tangent needs a number
--area 1|2|--area needs two numbers
ROWS

# Points of interest on the default range (t from -5 to 10 in 200 steps): a page of t^3 - 3*t, one of sin and cos.
{
  settings -5 10 1 0 -5 5 1 0 -5 10 200 0 0 0.00005 0 0
  printf 'Funktioner\r\n  f = t^3 - 3*t\r\n  s = sin(t)\r\n  c = cos(t)\r\nTabelVariable\r\n  t, f\r\n'
  printf 'GrafVariable\r\n  t, f, l1\r\nGrafVariable\r\n  t, s, l1  t, c, l2\r\n'
} >"$work/curves.tvx"
(cd "$work" && "$tavlix" --batch --out points --points curves.tvx 2>points.stderr) ||
  fail "points: exit $? $(cat "$work/points.stderr")"
[ -e "$work/points/curves.tvx-1.points.tsv" ] && fail "a points file for a table page"
# KIND CURVE OTHER X Y, each within 1e-10 of the known point.
while IFS='|' read -r kind curve other x y; do
  awk -F'\t' -v k="$kind" -v c="$curve" -v o="$other" -v x="$x" -v y="$y" '
    function near(a, b) { return a - b < 1e-10 && b - a < 1e-10 }
    $1 == k && $2 == c && $3 == o && near($4, x) && near($5, y) { found = 1 } END { exit !found }' \
    "$work/points/curves.tvx-2.points.tsv" "$work/points/curves.tvx-3.points.tsv" ||
    fail "no $kind of $curve $other at ($x; $y)"
done <<'ROWS'
nulpunkt|f||-1.7320508075688772|0
nulpunkt|f||0|0
nulpunkt|f||1.7320508075688772|0
maksimum|f||-1|2
minimum|f||1|-2
skæring|s|c|-2.3561944901923448|-0.70710678118654752
skæring|s|c|0.78539816339744831|0.70710678118654752
skæring|s|c|3.9269908169872414|-0.70710678118654752
skæring|s|c|7.0685834705770345|0.70710678118654752
ROWS
[ "$(wc -l <"$work/points/curves.tvx-2.points.tsv")" = 5 ] || fail "the cubic has other points too"
[ "$(grep -c skæring "$work/points/curves.tvx-3.points.tsv")" = 4 ] || fail "sin and cos meet other than 4 times"
awk -F'\t' 'NF != 5 || ($1 != "skæring" && $3 != "") { bad = 1 } END { exit bad }' \
  "$work/points/curves.tvx-3.points.tsv" || fail "a points line is not KIND CURVE OTHER X Y"

# Tangents at t = 1 and areas from 0 to pi of every curve against t: CURVE T Y SLOPE and CURVE A B INTEGRAL.
{
  settings -5 10 1 0 -5 5 1 0 0 4 40 0 1e-14 1e-12 0 0
  printf "DifferentialLigninger\r\n  y' = y  <1>\r\nFunktioner\r\n  p = t^2\r\n  s = sin(t)\r\n"
  printf 'GrafVariable\r\n  t, p, l1  t, s, l2  t, y, l3\r\n'
} >"$work/calculus.tvx"
(cd "$work" && "$tavlix" --batch --out calculus --tangent 1 --area 0,3.141592653589793 calculus.tvx 2>calc.stderr) ||
  fail "tangent and area: exit $? $(cat "$work/calc.stderr")"
while IFS='|' read -r suffix curve a b value tolerance; do
  awk -F'\t' -v c="$curve" -v a="$a" -v b="$b" -v v="$value" -v tol="$tolerance" '
    function near(x, y) { return x - y <= tol && y - x <= tol }
    $1 == c && NF == 4 && near($2, a) && near($3, b) && near($4, v) { found = 1 } END { exit !found }' \
    "$work/calculus/calculus.tvx-1.$suffix.tsv" || fail "$suffix of $curve: $(tr '\n' ' ' <"$work/calculus/calculus.tvx-1.$suffix.tsv")"
done <<'ROWS'
tangent|p|1|1|2|1e-9
tangent|s|1|0.8414709848078965|0.54030230586813977|1e-9
tangent|y|1|2.7182818284590452|2.7182818284590452|1e-9
area|p|0|3.141592653589793|10.335425560099942|1e-9
area|s|0|3.141592653589793|2|1e-10
area|y|0|3.141592653589793|22.140692632779269|1e-7
ROWS
[ "$(wc -l <"$work/calculus/calculus.tvx-1.area.tsv")" = 3 ] || fail "area lines"
[ -e "$work/calculus/calculus.tvx-1.points.tsv" ] && fail "a points file without --points"

[ "$failures" -eq 0 ] || exit 1
echo "batch analysis: ok"

#!/usr/bin/env bash
# tavlix --batch --accuracy: CAPTION.accuracy.tsv beside each page from differential equations, with its keys in
# order and 17-digit values; none for other pages; nothing changes without the option.
# Usage: bash batch_accuracy.sh path/to/tavlix SOURCE_DIR
set -u
tavlix=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Two documents: one with an equation (a graph and a table page), one without.
{
  printf '0\r\n10\r\n1\r\n0\r\n0\r\n12\r\n1\r\n0\r\n0\r\n10\r\n50\r\n0\r\n0\r\n0.00005\r\n1\r\n1\r\n'
  printf "DifferentialLigninger\r\n  y' = 0.8*y*(1 - y/10)   <1>\r\n"
  printf 'GrafVariable\r\n  t, y, l1\r\nTabelVariable\r\n  t, y\r\n'
} >"$work/ode.tvx"
{
  printf '0\r\n10\r\n1\r\n0\r\n0\r\n12\r\n1\r\n0\r\n0\r\n10\r\n50\r\n0\r\n0\r\n0.00005\r\n1\r\n1\r\n'
  printf 'Funktioner\r\n  f = t^2\r\nTabelVariable\r\n  t, f\r\n'
} >"$work/plain.tvx"

(cd "$work" && "$tavlix" --batch --out plainrun ode.tvx plain.tvx 2>plainrun.stderr) || fail "plain run: exit $?"
ls "$work/plainrun" | grep -q accuracy && fail "accuracy files without --accuracy"

(cd "$work" && "$tavlix" --batch --accuracy --out out ode.tvx plain.tvx 2>out.stderr) || fail "accuracy run: exit $?"
[ -s "$work/out.stderr" ] && fail "accuracy run wrote to stderr: $(cat "$work/out.stderr")"
for f in "$work"/plainrun/*; do
  cmp -s "$f" "$work/out/$(basename "$f")" || fail "$(basename "$f") changed with --accuracy"
done
[ -e "$work/out/plain.tvx-1.accuracy.tsv" ] && fail "a page without equations got an accuracy file"

statistics="steps rejected_steps smallest_step largest_step rhs_evaluations steps_set_by_output"
for page in ode.tvx-1 ode.tvx-2; do
  file="$work/out/$page.accuracy.tsv"
  # The graph's curve is named by its y; the table's columns are t and y.
  want_keys="$statistics deviation:y"
  [ "$page" = ode.tvx-2 ] && want_keys="$statistics deviation:t deviation:y"
  [ -f "$file" ] || { fail "$page.accuracy.tsv not written"; continue; }
  keys=$(cut -f1 "$file" | tr '\n' ' ' | sed 's/ $//')
  [ "$keys" = "$want_keys" ] || fail "$page keys: '$keys'"
  awk -F'\t' 'NF != 2 || $2 !~ /^[0-9.e+-]+$/ { bad = 1 } END { exit bad }' "$file" || fail "$page: a line is no KEY<TAB>number"
  grep -q ',' "$file" && fail "$page: a comma in a number"
  # 50 output intervals over 10 and a loose tolerance: every step is the output's, one per interval, with no
  # sliver of a step where a step's end and an output time differ by rounding.
  steps=$(grep '^steps	' "$file" | cut -f2)
  [ "$steps" = 50 ] || fail "$page: steps $steps"
  [ "$(grep '^steps_set_by_output	' "$file" | cut -f2)" = "$steps" ] || fail "$page: $(grep set_by "$file")"
  deviation=$(grep '^deviation:y	' "$file" | cut -f2)
  awk -v d="$deviation" 'BEGIN { exit !(d > 0 && d < 1e-3) }' || fail "$page: deviation:y $deviation"
  digits=$(grep '^smallest_step	' "$file" | cut -f2 | tr -d '.-' | sed 's/e.*//; s/^0*//')
  [ "${#digits}" -le 17 ] || fail "$page: more than 17 digits"
done
cmp -s <(head -6 "$work/out/ode.tvx-1.accuracy.tsv") <(head -6 "$work/out/ode.tvx-2.accuracy.tsv") ||
  fail "the graph and the table of the same equation have different statistics"

# A failed run is never reported as a perfect page. The reference fails where the page does not: ln of 0 at
# t = 0.25, a stage time of the reference's step of 1 and of none of the page's step of 2 (y' is constant, so no
# step is halved). The page fails itself when y' = y^2 blows up before TMax.
settings='0\r\n10\r\n1\r\n0\r\n0\r\n12\r\n1\r\n0\r\n0\r\n2\r\n1\r\n0\r\n0\r\n0.00005\r\n1\r\n1\r\n'
{
  printf "$settings"
  printf "DifferentialLigninger\r\n  y' = 1 + 0*ln((t - 0.25)^2)   <0>\r\nTabelVariable\r\n  t, y\r\n"
} >"$work/reffails.tvx"
{
  printf "$settings"
  printf "DifferentialLigninger\r\n  y' = y^2   <1>\r\nTabelVariable\r\n  t, y\r\n"
} >"$work/pagefails.tvx"
for doc in reffails pagefails; do
  (cd "$work" && "$tavlix" --batch --accuracy --out failed "$doc.tvx" 2>"$doc.stderr")
  status=$?
  file="$work/failed/$doc.tvx-1.accuracy.tsv"
  [ -f "$file" ] || { fail "$doc: no accuracy file"; continue; }
  grep -q '^deviation:' "$file" && fail "$doc: deviations of a failed run: $(grep deviation "$file" | tr '\n' ' ')"
  [ "$(cut -f1 "$file" | head -6 | tr '\n' ' ')" = "$statistics " ] || fail "$doc: statistics lost"
  if [ "$doc" = reffails ]; then
    [ "$status" = 0 ] || fail "reffails: exit $status, as its page's run: 0"
    [ "$(tail -n +7 "$file" | cut -f1 | tr '\n' ' ')" = "reference reference_error " ] || fail "reffails: $(cat "$file")"
    grep -q '^reference	failed$' "$file" || fail "reffails: no 'reference failed'"
    reason=$(grep '^reference_error	' "$file" | cut -f2)
    case "$reason" in *"kan ikke udregnes i 0,25") ;; *) fail "reffails: reason '$reason'" ;; esac
    grep -q "^reffails.tvx: notice: \"reffails.tvx-1\": Genberegningen nåede ikke til ende: $reason$" \
      "$work/reffails.stderr" || fail "reffails: stderr '$(cat "$work/reffails.stderr")'"
  else
    [ "$status" = 1 ] || fail "pagefails: exit $status, as its page's run: 1"
    [ "$(tail -n +7 "$file")" = "$(printf 'status\tfailed')" ] || fail "pagefails: $(cat "$file")"
    grep -q 'notice' "$work/pagefails.stderr" && fail "pagefails: a notice: $(cat "$work/pagefails.stderr")"
  fi
done

[ "$failures" -eq 0 ] || exit 1
echo "batch accuracy: all passed"

#!/usr/bin/env bash
# tavlix --batch --pick NAME=N and --family NAME: a list constant at its N-th value, or every graph drawn once per
# value; without them the output is unchanged, and a name that is no list constant or a value beyond the list is
# a usage error naming the option, the name and the count.
# Usage: bash batch_pick.sh path/to/tavlix SOURCE_DIR
set -u
tavlix=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

{
  printf '0\r\n10\r\n1\r\n0\r\n0\r\n12\r\n1\r\n0\r\n0\r\n2\r\n2\r\n0\r\n0\r\n0.00005\r\n1\r\n1\r\n'
  printf 'Konstanter\r\n  k = <0.5, 1, 2, 4>\r\n  b = <10, 20>\r\n  c = 3\r\n'
  printf 'Funktioner\r\n  f = k*b*t\r\nTabelVariable\r\n  t, f\r\nGrafVariable\r\n  t, f, l1\r\n'
} >"$work/doc.tvx"

# The last line of the table: f at t = 2.
last() { tail -1 "$work/$1/doc.tvx-1.tsv" | cut -f2 | tr -d '\r'; }

(cd "$work" && "$tavlix" --batch --out plain doc.tvx 2>/dev/null) || fail "plain run: exit $?"
(cd "$work" && "$tavlix" --batch --out first --pick k=1 doc.tvx 2>/dev/null) || fail "first value: exit $?"
cmp -s "$work/plain/doc.tvx-1.tsv" "$work/first/doc.tvx-1.tsv" || fail "--pick k=1 changed the output"

while IFS='|' read -r picks want; do
  out="out_${picks//[ =-]/_}"
  # shellcheck disable=SC2086
  (cd "$work" && "$tavlix" --batch --out "$out" $picks doc.tvx 2>/dev/null) || fail "$picks: exit $?"
  [ "$(last "$out")" = "$want" ] || fail "$picks: f(2) is '$(last "$out")', not $want"
done <<'ROWS'
--pick=k=3|40
--pick k=4 --pick B=2|160
--pick b=2|20
ROWS

while IFS='|' read -r picks status message; do
  # shellcheck disable=SC2086
  (cd "$work" && "$tavlix" --batch --out bad $picks doc.tvx 2>bad.stderr)
  got=$?
  [ "$got" = "$status" ] || fail "$picks: exit $got, not $status"
  grep -qF -- "$message" "$work/bad.stderr" || fail "$picks: stderr '$(cat "$work/bad.stderr")'"
done <<'ROWS'
--pick c=1|2|--pick c=1: c is not a list constant
--pick x=1|2|--pick x=1: x is not a list constant
--pick k=5|2|--pick k=5: k has 4 values
--pick k=0|2|--pick needs NAME=N
--pick k|2|--pick needs NAME=N
--family c|2|--family c: c is not a list constant
ROWS
# A family: curve<TAB>member<TAB>x<TAB>y, every member's curve, the table at the current value.
(cd "$work" && "$tavlix" --batch --out family --family k --pick k=2 doc.tvx 2>/dev/null) || fail "family: exit $?"
[ "$(last family)" = 20 ] || fail "family: the table's f(2) is '$(last family)', not 20"
members=$(cut -f2 "$work/family/doc.tvx-2.tsv" | sort -u | tr '\n' ' ')
[ "$members" = "1 2 3 4 " ] || fail "family members: '$members'"
awk -F'\t' 'NF != 4' "$work/family/doc.tvx-2.tsv" | grep -q . && fail "family: a line is not curve, member, x, y"
grep -q "^1	4	2	80$" "$work/family/doc.tvx-2.tsv" || fail "family: member 4 does not reach f(2) = 80"
grep -q "k = 0.5" "$work/family/doc.tvx-2.svg" || fail "family: the legend does not name k = 0.5"
[ -s "$work/family/doc.tvx-2.png" ] || fail "family: no picture"

(cd "$work" && "$tavlix" --pick k=1 doc.tvx 2>bad.stderr)
[ $? = 2 ] && grep -qF -- "--pick belongs to --batch" "$work/bad.stderr" || fail "--pick without --batch"

[ "$failures" -eq 0 ] || exit 1

#!/usr/bin/env bash
# Hostile documents through the batch mode: each ends within its time with a clear message and the right status,
# never a crash or a hang. The big ones are made here rather than kept in the repository.
# Usage: bash hostile_documents.sh path/to/tavlix SOURCE_DIR
set -u
tavlix=$(realpath "$1")
work=$(mktemp -d)
# HOSTILE_KEEP=1 keeps the documents and their output for a look.
[ -n "${HOSTILE_KEEP:-}" ] && echo "documents in $work" || trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# The sixteen default settings lines, with setting INDEX replaced by VALUE for each INDEX=VALUE argument.
settings() {
  local values=(-5 10 1 0 -5 5 1 0 -5 10 200 0 0 0.00005 0 0) kv
  for kv in "$@"; do values[${kv%%=*}]=${kv#*=}; done
  printf '%s\r\n' "${values[@]}"
}

# run NAME STATUS PATTERN [batch options...]: NAME.tvx must end with STATUS within the time limit and its stderr
# must match the extended regular expression PATTERN (empty: stderr must be empty).
run() {
  local name=$1 want=$2 pattern=$3 status
  shift 3
  mkdir -p "out-$name"
  timeout 120 "$tavlix" --batch --out "out-$name" "$@" "$name.tvx" >"$name.stdout" 2>"$name.stderr"
  status=$?
  if [ "$status" = 124 ]; then
    fail "$name: still running after 120 s"
    return
  fi
  [ "$status" = "$want" ] || fail "$name: exit status $status, expected $want ($(head -c 300 "$name.stderr"))"
  if [ -z "$pattern" ]; then
    [ -s "$name.stderr" ] && fail "$name: unexpected stderr: $(head -c 300 "$name.stderr")"
  else
    grep -Eq -- "$pattern" "$name.stderr" || fail "$name: stderr does not say '$pattern': $(head -c 300 "$name.stderr")"
  fi
  grep -q 'Sanitizer\|runtime error' "$name.stderr" && fail "$name: sanitizer report"
}

# rows FILE: the number of data rows of a table page (its header line not counted).
rows() { echo $(($(wc -l <"$1") - 1)); }

# --- Files that are no documents -------------------------------------------------------------------------------
# Bytes that look random but are the same on every run.
noise() { perl -e 'srand($ARGV[0]); print map { chr(int(rand(256))) } 1 .. $ARGV[1]' "$1" "$2"; }

# A picture renamed: its header holds two line ends and then a NUL, which ends the text.
{ printf '\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR'; noise 1 4096; } >binary.tvx
run binary 2 'binary.tvx: error: Filen "binary.tvx" er ikke et dokument: den har 2 linjer'

# Binary bytes without a NUL and with line breaks: sixteen lines of garbage, then a garbage script.
{ for i in $(seq 1 40); do noise "$i" 64 | tr -d '\000\r\n'; printf '\n'; done; } >garbage.tvx
run garbage 1 'Koordinatindstillingerne Xmin, Xmax, .* og YGitter kan ikke beregnes'

head -c $((100 * 1024 * 1024)) /dev/zero | tr '\0' 'x' >huge.tvx
run huge 2 'huge.tvx: error: Filen "huge.tvx" er for stor til at v.re et dokument \(over 50 MB\)'
# A file that never ends is refused once it has passed the size limit.
name=endless
timeout 120 "$tavlix" --batch --out out-endless /dev/./zero >/dev/null 2>endless.stderr
status=$?
[ "$status" = 2 ] || fail "endless: exit status $status, expected 2"
grep -q 'er for stor' endless.stderr || fail "endless: $(head -c 300 endless.stderr)"

printf 'Xmin\r\nXmax\r\nXEnhed\r\n' >three_lines.tvx
run three_lines 2 'er ikke et dokument: den har 3 linjer, men et dokument begynder med 16 linjer'

# --- Settings that are not numbers or are absurd -----------------------------------------------------------------
{ settings 0=abc 4='2*' 13='' ; printf 'Funktioner\r\n  f = t\r\nTabelVariable\r\n  t, f\r\n'; } >not_numbers.tvx
run not_numbers 0 'notice: Koordinatindstillingerne Xmin, YMin og Relativ kan ikke beregnes; 0 bruges i stedet'
[ "$(rows out-not_numbers/not_numbers.tvx-1.tsv)" = 201 ] || fail "not_numbers: the table is not the usual 201 rows"

{ settings 10=0 11=0; printf 'Funktioner\r\n  f = t\r\nTabelVariable\r\n  t, f\r\n'; } >no_step.tvx
run no_step 2 'TAntal og TDelta kan ikke begge v.re 0'

# TAntal 1e12: the run is stopped at the page bound with a clear message; what was made is kept.
{ settings 10=1e12; printf 'Funktioner\r\n  f = sin(t)\r\nTabelVariable\r\n  t, f\r\n'; } >tantal_table.tvx
run tantal_table 2 'Tabellen "tantal_table.tvx-1" er blevet for stor \(over 100000 celler\)\. K.rslen er stoppet' \
  --max-cells 100000
n=$(rows out-tantal_table/tantal_table.tvx-1.tsv)
[ "$n" -ge 49000 ] && [ "$n" -le 50000 ] || fail "tantal_table: $n rows kept, expected about 50000"
{ settings 10=1e12; printf 'Funktioner\r\n  f = sin(t)\r\nGrafVariable\r\n  t, f, l1   t, f, m2\r\n'; } >tantal_graph.tvx
run tantal_graph 2 'Grafen "tantal_graph.tvx-1" er blevet for stor \(over 100000 punkter\)' --max-points 100000
[ "$(wc -l <out-tantal_graph/tantal_graph.tvx-1.tsv)" = 100000 ] || fail "tantal_graph: not 100000 points kept"
[ -s out-tantal_graph/tantal_graph.tvx-1.png ] || fail "tantal_graph: no picture of what was made"
# A graph whose every point is undefined stores nothing, yet its time is bounded the same way.
{ settings 8=0.5 10=1e12; printf 'Funktioner\r\n  f = (-1)^t\r\nGrafVariable\r\n  t, f, l1\r\n'; } >undefined_graph.tvx
run undefined_graph 2 'Grafen "undefined_graph.tvx-1" har beregnet over 50000 punkter' --max-points 50000
[ "$(grep -c 'notice: 3: negativt tal opløftet til en brudden potens$' undefined_graph.stderr)" = 5 ] || fail "undefined_graph: not five notices"
grep -q 'notice: Kørslen gav [0-9]* meddelelser mere, som ikke er vist' undefined_graph.stderr ||
  fail "undefined_graph: the notices beyond the first are not summed up"
# With differential equations the bound holds the same way.
{ settings 8=0 9=1 10=1e12; printf 'DifferentialLigninger\r\n  y'"'"' = y  <1>\r\nTabelVariable\r\n  t, y\r\n'; } \
  >tantal_ode.tvx
run tantal_ode 2 'Tabellen "tantal_ode.tvx-1" er blevet for stor' --max-cells 20000

# TDelta 1e-300 from 0: t moves on in steps far below any useful size; stopped at the bound.
{ settings 8=0 11=1e-300; printf 'Funktioner\r\n  f = t\r\nTabelVariable\r\n  t, f\r\n'; } >tdelta_tiny.tvx
run tdelta_tiny 2 'er blevet for stor' --max-cells 100000
# From -5 the step is lost in t's precision: said after the first row, no endless loop.
{ settings 11=1e-300; printf 'Funktioner\r\n  f = t\r\nTabelVariable\r\n  t, f\r\n'; } >tdelta_lost.tvx
run tdelta_lost 2 'Skridtet i t er for lille: t kommer ikke videre fra -5'
[ "$(rows out-tdelta_lost/tdelta_lost.tvx-1.tsv)" = 1 ] || fail "tdelta_lost: expected the row at -5"
# The same step with a differential equation cannot move t: the solver says so.
{ settings 11=1e-300; printf 'DifferentialLigninger\r\n  y'"'"' = y  <1>\r\nTabelVariable\r\n  t, y\r\n'; } \
  >tdelta_ode.tvx
run tdelta_ode 1 'tdelta_ode.tvx:[0-9]+:[0-9]+: '

# Xmin = Xmax and YMin = YMax: the points are written, the pictures are drawn without curves, nothing hangs.
{ settings 0=3 1=3 4=2 5=2; printf 'Funktioner\r\n  f = sin(t)\r\nGrafVariable\r\n  t, f, l1\r\n'; } >empty_range.tvx
run empty_range 0 ''
[ -s out-empty_range/empty_range.tvx-1.svg ] && [ -s out-empty_range/empty_range.tvx-1.png ] ||
  fail "empty_range: pictures not written"

# Tolerances 0 with states that stay exactly 0: every step is accepted, no division by zero.
{ settings 8=0 9=1 10=10 12=0 13=0
  printf 'DifferentialLigninger\r\n  y'"'"' = -y  <0>\r\n  z'"'"' = y*z  <0>\r\nTabelVariable\r\n  t, y, z\r\n'; } \
  >zero_tolerance.tvx
run zero_tolerance 0 ''
[ "$(cut -f2,3 out-zero_tolerance/zero_tolerance.tvx-1.tsv | sort -u | tr '\n' ' ')" = "0	0 y	z " ] ||
  fail "zero_tolerance: states are not all 0"

# Tiny tick and grid steps and a far anchor: the pictures are still drawn in time.
{ settings 2=1e-12 6=1e-12 7=1e300 14=1e-13 15=1e-13; printf 'Funktioner\r\n  f = t\r\nGrafVariable\r\n  t, f, m1\r\n'; } \
  >tiny_ticks.tvx
run tiny_ticks 0 ''

# --- Scripts at and beyond their limits --------------------------------------------------------------------------
parens=$(printf '%*s' 10000 '' | tr ' ' '(')
closes=$(printf '%*s' 10000 '' | tr ' ' ')')
{ settings; printf 'Konstanter\r\n  a = %s1%s\r\n' "$parens" "$closes"; } >deep_script.tvx
run deep_script 1 'deep_script.tvx:18:[0-9]+: Udtryk for stort'
{ settings 10="${parens}200${closes}"; printf 'Funktioner\r\n  f = t\r\nTabelVariable\r\n  t, f\r\n'; } >deep_setting.tvx
run deep_setting 2 'Koordinatindstillingen TAntal kan ikke beregnes'

# 100,000 lines: comments and blank lines, then one function and a table.
{ settings 10=4
  printf 'Funktioner\r\n'
  for _ in $(seq 1 20000); do printf '(* en kommentar *)\r\n\r\n  \r\n\t\r\n(* *)\r\n'; done
  printf '  f = 2*t\r\nTabelVariable\r\n  t, f\r\n'; } >long_script.tvx
run long_script 0 ''
[ "$(rows out-long_script/long_script.tvx-1.tsv)" = 5 ] || fail "long_script: expected 5 rows"
# An error at its end is reported at its own line.
{ settings; for _ in $(seq 1 100000); do printf '\r\n'; done; printf 'Konstanter\r\n  a = \r\n'; } >late_error.tvx
run late_error 1 '^late_error.tvx:100018:'

# Thousands of output sections under a small limit of open files: one page is finished before the next is made.
{ settings 10=4
  for _ in $(seq 1 1500); do printf 'TabelVariable\r\n  t\r\n'; done
  for _ in $(seq 1 20); do printf 'GrafVariable\r\n  t, t, l1\r\n'; done; } >many_pages.tvx
(ulimit -n 64 || exit 1; failures=0; run many_pages 0 ''; exit "$failures") || failures=$((failures + 1))
[ "$(ls out-many_pages | wc -l)" = 1560 ] || fail "many_pages: $(ls out-many_pages | wc -l) files instead of 1560"
[ "$(cat out-many_pages/many_pages.tvx-1500.tsv | tr '\n' ' ')" = "t -5 -1.25 2.5 6.25 10 " ] ||
  fail "many_pages: the last table is not whole"

# Names of 1,000 characters: told apart in full, the header keeps the first 31.
long=$(printf '%*s' 999 '' | tr ' ' 'n')
{ settings 10=2
  printf 'Konstanter\r\n  %sa = 1\r\n  %sb = 2\r\nFunktioner\r\n  %sf = %sa + %sb + t\r\nTabelVariable\r\n  %sf\r\n' \
    "$long" "$long" "$long" "$long" "$long" "$long"; } >long_names.tvx
run long_names 0 ''
[ "$(head -1 out-long_names/long_names.tvx-1.tsv)" = "$(printf '%*s' 31 '' | tr ' ' 'n')" ] ||
  fail "long_names: the header is not the name's first 31 characters"
[ "$(sed -n 2p out-long_names/long_names.tvx-1.tsv)" = -2 ] || fail "long_names: the constants were mixed up"
# An undeclared name of 1,000 characters: the message quotes 25 characters of it.
{ settings; printf 'Funktioner\r\n  f = %sx\r\n' "$long"; } >long_unknown.tvx
run long_unknown 1 "^long_unknown.tvx:18:7: $(printf '%*s' 25 '' | tr ' ' 'n') ukendt\$"

# Every limit of the model plus one: 1,001 constants, 10,001 records, 1,001 tables, 100,001 points, 101 outputs,
# 1,001 list values. An expression has no limit of length.
limit() {
  local name=$1 pattern=$2 body=$3
  { settings; printf '%b' "$body"; } >"$name.tvx"
  run "$name" 1 "$pattern"
}
# The format once per number from $2 to $3 (printf repeats it for every argument).
seqjoin() { printf "$1" $(seq "$2" "$3"); }
limit constants1001 'For Mange datanavne' "Konstanter\r\n$(seqjoin '  c%d = 1\\r\\n' 1 1000)"
limit records10001 'For Mange datanavne' "Funktioner\r\n$(seqjoin '  f%d = t\\r\\n' 1 10001)"
limit tables1001 'For Mange datanavne' "Tabeller\r\n$(seqjoin '  d%d = <(0, 1)>\\r\\n' 1 1001)"
limit points100001 'Tabel for stor' "Tabeller\r\n  d = <$(seqjoin '(%d, 1), ' 1 100000)(100001, 1)>\r\n"
limit outputs101 'For Mange datanavne' "TabelVariable\r\n  t$(seqjoin ', t%.0s' 1 100)\r\n"
limit list1001 'For Mange datanavne' "Konstanter\r\n  k = <$(seqjoin '%d, ' 1 1000)1001>\r\n"
{ settings; printf 'Funktioner\r\n  f = t%s\r\nTabelVariable\r\n  t, f\r\n' "$(seqjoin ' + %d' 1 20000)"; } >long_expression.tvx
run long_expression 0 ''

# A run killed while it writes leaves no half-written result: a result file appears only when it is complete, and
# the result of an earlier run stays as it was until then.
{ settings 10=2000000; printf 'Funktioner\r\n  f = t*t\r\nTabelVariable\r\n  t, f\r\n'; } >killed.tvx
mkdir -p out-killed
echo "earlier result" >out-killed/killed.tvx-1.tsv
(timeout -s KILL 0.3 "$tavlix" --batch --out out-killed killed.tvx) >/dev/null 2>&1
[ "$(cat out-killed/killed.tvx-1.tsv)" = "earlier result" ] || fail "killed: the earlier result was overwritten"
{ settings; printf 'Funktioner\r\n  f = t\r\nTabelVariable\r\n  t, f\r\nGrafVariable\r\n  t, f, l1\r\n'; } >complete.tvx
run complete 0 ""
[ "$(ls -A out-complete | grep -c tmp)" = 0 ] || fail "complete: temporary files were left: $(ls -A out-complete)"
[ "$(rows out-complete/complete.tvx-1.tsv)" = 201 ] || fail "complete: the table has $(rows out-complete/complete.tvx-1.tsv) rows"

if [ "$failures" -gt 0 ]; then
  echo "$failures hostile document check(s) failed"
  exit 1
fi
echo "all hostile documents handled"

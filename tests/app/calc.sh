#!/usr/bin/env bash
# tavlix --calc: the value on stdout with 17 significant digits, or "error CODE at POSITION" on stderr and exit 1.
# Usage: bash calc.sh path/to/tavlix SOURCE_DIR
set -u
tavlix=$1
failures=0

expect_value() {
  local expr=$1 want=$2 out rc
  out=$("$tavlix" --calc "$expr" 2>/dev/null); rc=$?
  if [ "$rc" -ne 0 ] || [ "$out" != "$want" ]; then
    echo "FAIL: --calc '$expr' gave '$out' (exit $rc), expected '$want'"
    failures=$((failures + 1))
  fi
}

expect_error() {
  local expr=$1 want=$2 out err rc
  out=$("$tavlix" --calc "$expr" 2>/tmp/calc_err.$$); rc=$?
  err=$(cat /tmp/calc_err.$$); rm -f /tmp/calc_err.$$
  if [ "$rc" -ne 1 ] || [ "$err" != "$want" ] || [ -n "$out" ]; then
    echo "FAIL: --calc '$expr' gave stdout '$out', stderr '$err' (exit $rc), expected '$want' on stderr"
    failures=$((failures + 1))
  fi
}

expect_value "2*pi" "6.2831853071795862"
expect_value "1,5" "1.5"
expect_value "-2^2" "-4"
expect_value "hvis(1<2, 3, 1/0)" "3"
expect_value "1/3" "0.33333333333333331"
expect_value "1000000000000000000000000000" "1e+27"
expect_error "2*,5" "error 6 at 3"
expect_error "2^3^2" "error 3 at 4"
expect_error "" "error 6 at 0"
expect_error "1/0" "error 32 at 3"
# A non-ASCII character (UTF-8 from the shell) is simply a character that starts no token.
expect_error "1+ø" "error 6 at 3"

if "$tavlix" --calc >/dev/null 2>&1; then
  echo "FAIL: --calc without an expression succeeded"
  failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] && echo "calc: all passed"
exit "$failures"

#!/bin/bash
# Times whole batch runs: a 1,000,000-row table of a plain function, and the Lorenz system with 100,000 rows.
# Usage: bash bench/million_rows.sh path/to/tavlix
# Prints the wall time, the CPU time and the peak memory (maximum resident set) of each run.
set -eu
tavlix=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

settings() {  # TMin TMax TAntal Absolut Relativ
    printf '%s\r\n' -5 10 1 0 -5 5 1 0 "$1" "$2" "$3" 0 "$4" "$5" 0 0
}
{ settings 1 1000000 999999 0 0.00005; printf '%s\r\n' 'Funktioner' '  f = sin(t/1000)*exp(-t/500000) + sqr(t)/1000' 'TabelVariable' '  t, f'; } >"$work/million.tvx"
{ settings 0 100 100000 1e-9 1e-8
  printf '%s\r\n' 'DifferentialLigninger' "  x' = 10*(y - x)  <1>" "  y' = x*(28 - z) - y  <1>" "  z' = x*y - 8/3*z  <1>" \
      'TabelVariable' '  t, x, y, z'; } >"$work/lorenz.tvx"

for doc in million lorenz; do
    /usr/bin/time -f "$doc: %e s wall, %U s user, %S s system, %M KB peak" \
        "$tavlix" --batch --out "$work/out" "$work/$doc.tvx"
    echo "$doc: $(($(wc -l <"$work/out/$doc.tvx-1.tsv") - 1)) data rows written"
done

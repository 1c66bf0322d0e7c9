#!/bin/bash
# Times the batch mode on the Lorenz system with rho taking 40 values, t 0 to 100 at 100,000 output points:
# once with the first value alone, once as a family (--family k, one curve per value in one graph).
# Usage: bash bench/family_memory.sh path/to/tavlix [runs]
# Prints the wall time, the CPU time and the peak memory (maximum resident set) of each run.
set -eu
tavlix=$(realpath "$1")
runs=${2:-1}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

values=$(seq -s ', ' 10 49)
{ printf '%s\r\n' -30 30 10 0 0 80 10 0 0 100 100000 0 1e-9 1e-8 0 0
  printf '%s\r\n' 'Konstanter' "  k = <$values>" 'DifferentialLigninger' "  x' = 10*(y - x)  <1>" \
      "  y' = x*(k - z) - y  <1>" "  z' = x*y - 8/3*z  <1>" 'GrafVariable' '  x, z, l1'; } >"$work/lorenz.tvx"

for ((i = 1; i <= runs; i++)); do
    for mode in single family; do
        options=()
        [ "$mode" = family ] && options=(--family k)
        rm -rf "$work/out"
        /usr/bin/time -f "$mode: %e s wall, %U s user, %S s system, %M KB peak" \
            "$tavlix" --batch "${options[@]}" --out "$work/out" "$work/lorenz.tvx"
        echo "$mode: $(grep -c . "$work/out/lorenz.tvx-1.tsv") points written"
    done
done

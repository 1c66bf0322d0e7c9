#!/bin/bash
# Times the batch mode on a family of 8 Lorenz runs (rho 21 to 28, t 0 to 100, Absolut and Relativ 1e-12, 1,000
# output points each): once on every core, then held to each core in turn (taskset); the faster of those is the
# sequential reference, since the cores of a virtual machine need not be equally quick.
# Usage: bash bench/family_parallel.sh path/to/tavlix [runs]
# Prints the wall time of each and their ratio, then the peak memory (maximum resident set) of each.
set -eu
tavlix=$(realpath "$1")
runs=${2:-1}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

{ printf '%s\r\n' -30 30 10 0 0 80 10 0 0 100 1000 0 1e-12 1e-12 0 0
  printf '%s\r\n' 'Konstanter' "  k = <21, 22, 23, 24, 25, 26, 27, 28>" 'DifferentialLigninger' \
      "  x' = 10*(y - x)  <1>" "  y' = x*(k - z) - y  <1>" "  z' = x*y - 8/3*z  <1>" 'GrafVariable' '  x, z, l1'; } \
    >"$work/lorenz.tvx"

timed() {
    local start end
    start=$(date +%s.%N)
    /usr/bin/time -f "%M" -o "$work/peak" "$@" --batch --family k --out "$work/out" "$work/lorenz.tvx"
    end=$(date +%s.%N)
    echo "$end - $start" | bc
}

for ((i = 1; i <= runs; i++)); do
    rm -rf "$work/out"
    parallel=$(timed "$tavlix")
    peakParallel=$(cat "$work/peak")
    cp "$work/out/lorenz.tvx-1.tsv" "$work/parallel.tsv"
    sequential=
    for ((cpu = 0; cpu < $(nproc); cpu++)); do
        rm -rf "$work/out"
        onOne=$(timed taskset -c "$cpu" "$tavlix")
        peakSequential=$(cat "$work/peak")
        cmp -s "$work/out/lorenz.tvx-1.tsv" "$work/parallel.tsv" || echo "the points differ between the two runs"
        if [ -z "$sequential" ] || [ "$(echo "$onOne < $sequential" | bc)" = 1 ]; then sequential=$onOne; fi
    done
    printf 'every core: %.2f s, one core: %.2f s, ratio %.2f; peak %s KB and %s KB\n' "$parallel" "$sequential" \
        "$(echo "$parallel / $sequential" | bc -l)" "$peakParallel" "$peakSequential"
done

#!/bin/bash
# Runs every document NAME.tvx here through `tavlix --batch` and compares its TSV files, stderr and exit status
# with NAME.expected/ (the TSV files, stderr.txt, status). With --update as third argument the expected
# folders are rewritten from the program's output instead: review the diff before committing it.
set -u
tavlix=$(realpath "$1")
dir=$(realpath "$2")
update=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

for doc in "$dir"/*.tvx; do
    name=$(basename "$doc" .tvx)
    expected="$dir/$name.expected"
    out="$work/$name"
    mkdir -p "$out"
    (cd "$dir" && "$tavlix" --batch --out "$out" "$name.tvx" 2>"$work/$name.stderr")
    status=$?
    if [ "$update" = "--update" ]; then
        rm -rf "$expected"
        mkdir -p "$expected"
        cp "$out"/*.tsv "$expected"/ 2>/dev/null
        cp "$work/$name.stderr" "$expected/stderr.txt"
        echo "$status" >"$expected/status"
        continue
    fi
    [ -d "$expected" ] || { fail "$name: no $name.expected folder"; continue; }
    [ "$status" = "$(cat "$expected/status")" ] || fail "$name: exit status $status, expected $(cat "$expected/status")"
    diff -u "$expected/stderr.txt" "$work/$name.stderr" || fail "$name: stderr differs"
    for want in "$expected"/*.tsv; do
        [ -e "$want" ] || continue
        got="$out/$(basename "$want")"
        [ -f "$got" ] || { fail "$name: $(basename "$want") not written"; continue; }
        cmp -s "$want" "$got" || { diff -u "$want" "$got" | head -20; fail "$name: $(basename "$want") differs"; }
    done
    for got in "$out"/*.tsv; do
        [ -e "$got" ] || continue
        [ -f "$expected/$(basename "$got")" ] || fail "$name: unexpected $(basename "$got")"
    done
done

# The command line itself: a missing file, several files with the highest status, no file at all.
[ "$update" = "--update" ] && exit 0
(cd "$dir" && "$tavlix" --batch --out "$work/cli" nonexistent default_table 2>"$work/cli.stderr")
status=$?
[ "$status" = 2 ] || fail "missing file: exit status $status, expected 2"
grep -q '^nonexistent.tvx: error: ' "$work/cli.stderr" || fail "missing file: no error line naming nonexistent.tvx"
[ -f "$work/cli/default_table.tvx-1.tsv" ] || fail "missing file: the next file was not run"
(cd "$dir" && "$tavlix" --batch --out "$work/cli2" script_error.tvx default_table.tvx 2>/dev/null)
status=$?
[ "$status" = 1 ] || fail "script error then success: exit status $status, expected 1"
# Two documents in one call say what each says alone: nothing of the first reaches the second's messages.
(cd "$dir" && "$tavlix" --batch --out "$work/two" decimal_comma.tvx first_word.tvx 2>"$work/two.stderr")
cat "$dir/decimal_comma.expected/stderr.txt" "$dir/first_word.expected/stderr.txt" | diff -u - "$work/two.stderr" ||
    fail "two documents in one call: stderr differs from each document run alone"
"$tavlix" --batch 2>/dev/null
status=$?
[ "$status" = 2 ] || fail "no file: exit status $status, expected 2"
(cd "$work" && mkdir -p cwd && cd cwd && "$tavlix" --batch "$dir/single_point.tvx" 2>/dev/null)
[ -f "$work/cwd/single_point.tvx-1.tsv" ] || fail "without --out the files go to the current directory"

if [ "$failures" -gt 0 ]; then
    echo "$failures batch check(s) failed"
    exit 1
fi
echo "all batch documents passed"

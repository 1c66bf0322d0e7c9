#!/usr/bin/env bash
# No work lost in a crash, with the real program under Xvfb: type into an opened document and into a new one, wait
# for the recovery files, kill the program with SIGKILL, start it again, answer Ja, and save the restored document
# under its own name; then the same with Nej, which deletes the files; last, SIGTERM (a logout) right after typing
# writes what was typed at once and ends the program, and the next start offers it. Every step waits for a state.
# Skips (exit 0) only when Xvfb is missing.
# Usage: bash e2e_recovery.sh path/to/tavlix SOURCE_DIR
set -u
tavlix=$(realpath "$1")
source_dir=$(realpath "$2")

if ! command -v Xvfb >/dev/null; then
  echo "SKIP: Xvfb is not installed, so the window cannot be tested (tools/setup.sh installs it)"
  exit 0
fi
for tool in xdotool xclip; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (tools/setup.sh installs it)"; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=''
app_pid=''
cleanup() {
  [ -n "$app_pid" ] && kill -9 "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work" || exit 1
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# -noreset: by default the server resets when its last client leaves (here: a killed program, an xdotool call), and a
# program connecting during the reset is refused ("could not connect to display").
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>display.txt >xvfb.log 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do [ -s display.txt ] && break; sleep 0.1; done
[ -s display.txt ] || { echo "FAIL: Xvfb did not start: $(cat xvfb.log)"; exit 1; }
export DISPLAY=":$(head -1 display.txt)"
mkdir -m 700 runtime
export HOME=$work XDG_RUNTIME_DIR=$work/runtime XDG_STATE_HOME=$work/state XDG_CONFIG_HOME=$work/config
export QT_QPA_PLATFORM=xcb
state=$work/state/tavlix

wait_for() {
  local limit=$(($1 * 5)) i
  shift
  for ((i = 0; i < limit; i++)); do
    "$@" && return 0
    sleep 0.2
  done
  return 1
}
# The main window reads "NAME – Tavlix" once a document is open, the question box "Tavlix".
windows() { xdotool search --onlyvisible --name 'Tavlix$' 2>/dev/null; }
has_window() { [ -n "$(windows)" ]; }
# titled PATTERN: the main window's title names the active document so (a modified one ends in "*").
titled() { xdotool search --onlyvisible --name "^$1 – Tavlix\$" >/dev/null 2>&1; }
# The question box is a second window named Tavlix.
has_question() { [ "$(windows | wc -l)" -ge 2 ]; }
recovery_files() { find "$state" -name '*.tvr' 2>/dev/null | wc -l; }
files_are() { [ "$(recovery_files)" -eq "$1" ]; }
one_window() { [ "$(windows | wc -l)" -eq 1 ]; }
focus_last() { xdotool windowfocus --sync "$(windows | tail -1)" 2>/dev/null; }
start() {
  "$tavlix" "$@" >>app.log 2>&1 &
  app_pid=$!
  wait_for 30 has_window || { echo "FAIL: no window: $(cat app.log)"; exit 1; }
}
# ended_by SIGNAL: the program is gone, killed by that signal.
ended_by() {
  wait "$app_pid" 2>/dev/null
  local status=$?
  app_pid=''
  [ "$status" -eq $((128 + $(kill -l "$1"))) ]
}

cp "$source_dir/examples/2sin.tvx" doc.tvx
original=$(cat doc.tvx)

# Type, pause: both pages are written two seconds later; then the program dies.
start doc.tvx
wait_for 10 titled doc.tvx || fail "the document did not open"
focus_last
xdotool key ctrl+Home
xdotool type --delay 30 '(* gemt i tide *) '
xdotool key ctrl+n
wait_for 10 titled '\(Uden navn.*' || fail "no new document"
xdotool type --delay 30 'Konstanter k = 2'
wait_for 10 files_are 2 || fail "after a pause in typing: $(recovery_files) recovery files, wanted 2"
kill -9 "$app_pid"
ended_by KILL || fail "SIGKILL did not end the program"
[ "$(cat doc.tvx)" = "$original" ] || fail "the document changed without a save"

# Start again: one question; Ja opens both pages modified; Ctrl+S saves the document under its own name.
start
wait_for 10 has_question || fail "no question about the unsaved documents after the crash"
focus_last
xdotool key Return
wait_for 10 one_window || fail "the question did not close"
focus_last
# The pages open in the order they were made: the document first, the new one last and active. A click on the
# document's tab (just above the status bar) makes it active.
win=$(windows | head -1)
xdotool windowmove "$win" 0 0 windowsize "$win" 800 600
sized() { xdotool getwindowgeometry "$win" 2>/dev/null | grep -q 'Geometry: 800x600'; }
wait_for 10 sized || fail "the window did not take its size"
wait_for 10 titled '\(Uden navn.*\)\*' || fail "the restored new document is not active and modified"
xdotool mousemove 30 564 click 1
wait_for 10 titled 'doc.tvx\*' || fail "the click on the first tab did not show the restored document"
xdotool key ctrl+s
wait_for 10 grep -q 'gemt i tide' doc.tvx || fail "the restored document was not saved under its own name"
[ "$(recovery_files)" -ge 1 ] || fail "the restored new document has no recovery file"

# Killed again with the untitled page unsaved; this time Nej deletes its file and nothing is asked a third time.
kill -9 "$app_pid"
ended_by KILL || fail "SIGKILL did not end the program the second time"
start
wait_for 10 has_question || fail "no question after the second crash"
focus_last
xdotool key alt+n
wait_for 10 one_window || fail "Nej did not close the question"
wait_for 10 files_are 0 || fail "Nej left $(recovery_files) recovery files"
kill "$app_pid"
ended_by TERM || fail "SIGTERM did not end the program"
# A new document opens only after the question was asked or found unnecessary.
start
wait_for 10 titled '\(Uden navn.*' || fail "no new document after the start"
has_question && fail "asked again after Nej"

# Logout: SIGTERM right after typing, before the pause that writes the recovery file. The copy to the clipboard
# shows that the program has taken every key. Should the pause have passed anyway, that round proves nothing and
# another one is typed.
focus_last
on_clipboard() { xclip -selection clipboard -o 2>/dev/null | grep -qF "$1"; }
in_recovery() { grep -rqF --include='*.tvr' -e "$1" "$state" 2>/dev/null; }
proved=''
for round in 1 2 3 4 5; do
  marker="(* logout $round *)"
  xdotool key ctrl+End
  xdotool type --delay 10 "$marker"
  xdotool key ctrl+a ctrl+c
  wait_for 10 on_clipboard "$marker" || { fail "the typed text did not reach the clipboard"; break; }
  in_recovery "$marker" && continue
  kill -TERM "$app_pid"
  ended_by TERM || fail "SIGTERM did not end the program with the signal's status"
  proved=yes
  break
done
if [ -n "$proved" ]; then
  in_recovery "$marker" || fail "SIGTERM did not write what was typed into a recovery file: $(recovery_files) files"
  start
  wait_for 10 has_question || fail "no question after the logout"
  focus_last
  xdotool key alt+n
  wait_for 10 one_window || fail "Nej did not close the question after the logout"
else
  fail "five rounds of typing never beat the recovery pause"
fi

[ "$failures" -eq 0 ] && echo "recovery: all passed"
exit "$failures"

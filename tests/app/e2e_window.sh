#!/usr/bin/env bash
# The real program in a real X window (Xvfb), driven by xdotool as a user would: interrupt an endless run with
# Escape, open both examples, run them (F9), see the table and graph pages, zoom by a drag, place a text label, print
# to PDF, copy a graph as SVG, and close without a question. Skips (exit 0) only when Xvfb is not installed.
# Usage: bash e2e_window.sh path/to/tavlix SOURCE_DIR
set -u
tavlix=$(realpath "$1")
source_dir=$(realpath "$2")

if ! command -v Xvfb >/dev/null; then
  echo "SKIP: Xvfb is not installed, so the window cannot be tested (tools/setup.sh installs it)"
  exit 0
fi
for tool in xdotool import compare pdfinfo xclip; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (tools/setup.sh installs it)"; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=''
app_pid=''
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
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
step() { echo "--- $* ($SECONDS s)"; }

# Xvfb picks a free display itself and writes its number to fd 3. -noreset: by default the server resets when its last
# client leaves, and a program connecting during the reset is refused ("could not connect to display").
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>display.txt >xvfb.log 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do [ -s display.txt ] && break; sleep 0.1; done
[ -s display.txt ] || { echo "FAIL: Xvfb did not start: $(cat xvfb.log)"; exit 1; }
export DISPLAY=":$(head -1 display.txt)"

# The examples are copies, so nothing the test does can touch the originals; printing defaults to this folder.
cp "$source_dir/examples/2sin.tvx" "$source_dir/examples/simpel.tvx" .
# A table of 1e12 rows: only the user's interruption ends it in time.
{ printf '%s\r\n' -5 10 1 0 -5 5 1 0 0 10 1e12 0 0 0.00005 0 0
  printf 'Funktioner\r\n  f = sin(t)\r\nTabelVariable\r\n  t, f\r\n'; } >endless.tvx
mkdir -m 700 runtime
export HOME=$work XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb
"$tavlix" 2sin.tvx simpel.tvx endless.tvx >app.log 2>&1 &
app_pid=$!

# wait_for SECONDS COMMAND...: retries COMMAND every 0.2 s until it succeeds or the time is up.
wait_for() {
  local limit=$(($1 * 5)) i
  shift
  for ((i = 0; i < limit; i++)); do
    "$@" && return 0
    sleep 0.2
  done
  return 1
}

# The title names the active document ("NAME – Tavlix"); a bare "Tavlix" is the program's hidden group leader.
main_window() { xdotool search --onlyvisible --name 'Tavlix$' 2>/dev/null | head -1; }
has_window() { [ -n "$(main_window)" ]; }
step "start"
wait_for 30 has_window || { echo "FAIL: no window named Tavlix appeared: $(cat app.log)"; exit 1; }
win=$(main_window)
width=1000
height=750
xdotool windowmove "$win" 0 0 windowsize "$win" "$width" "$height"
sized() { xdotool getwindowgeometry "$win" 2>/dev/null | grep -q "Geometry: ${width}x$height"; }
wait_for 10 sized || fail "the window did not take the size $width x $height"
focus() { xdotool windowfocus --sync "$win" 2>/dev/null; }
shot() { import -window root "$1.png"; }
# Everything of the page between the tool bar and the tabs.
page_crop='940x590+2+60'
# The tab bar lies just above the status bar; the mouse wheel over it steps through the pages.
tab_y=$((height - 36))
# turn_page BUTTON: one wheel step over the tabs, then waits until the tab bar shows another active tab.
turn_page() {
  xdotool mousemove 20 "$tab_y"
  shot tabs-before
  xdotool click "$1"
  tabs_moved() { shot tabs-after; [ "$(changed tabs-before tabs-after "$width"x24+0+$((tab_y - 12)))" -gt 0 ]; }
  wait_for 10 tabs_moved || fail "the mouse wheel over the tabs did not change the page"
}
previous_page() { turn_page 4; }
next_page() { turn_page 5; }

# grid_rows IMAGE: rows of the page's left part that are mostly mid-grey, as a table's grid lines are.
grid_rows() {
  convert "$1.png" -crop 150x560+2+80 +repage -colorspace gray -depth 8 -compress none pgm:- | awk '
    { for (i = 1; i <= NF; i++) tok[n++] = $i }
    END {
      w = tok[1]; h = tok[2]; p = 4; lines = 0
      for (y = 0; y < h; y++) {
        grey = 0
        for (x = 0; x < w; x++) { v = tok[p++]; if (v > 150 && v < 240) grey++ }
        if (grey > w * 0.8) lines++
      }
      print lines
    }'
}
# coloured IMAGE: pixels of the page with a clear colour (curves and marks; a table and the axes have none).
coloured() {
  convert "$1.png" -crop "$page_crop" +repage -colorspace HCL -channel G -separate +channel -threshold 25% \
    -format '%[fx:round(mean*w*h)]' info:
}
# changed A B GEOMETRY: how many pixels differ between two pictures inside GEOMETRY.
changed() {
  convert "$1.png" -crop "$3" +repage crop-a.png
  convert "$2.png" -crop "$3" +repage crop-b.png
  compare -metric AE crop-a.png crop-b.png null: 2>&1 | cut -d' ' -f1
}
table_shown() { shot now; [ "$(grid_rows now)" -ge 10 ]; }
# press_and_wait KEYS...: presses the keys and waits until the window's picture changed (a menu or a field appeared).
press_and_wait() {
  shot before-key
  xdotool key "$@"
  key_shown() { shot after-key; [ "$(changed before-key after-key "${width}x$height+0+0")" -gt 0 ]; }
  wait_for 10 key_shown
}

# run_example NAME: runs the active script page; its graph page is shown first, its table page follows it.
run_example() {
  local name=$1
  step "run $name"
  focus
  xdotool key F9
  graph_shown() { shot "$name-graph"; [ "$(coloured "$name-graph")" -ge 200 ]; }
  wait_for 30 graph_shown || fail "$name: the graph page shows no curves after F9 ($(coloured "$name-graph") coloured pixels)"
  next_page
  wait_for 10 table_shown || fail "$name: no table page after the graph page ($(grid_rows now) grid lines)"
  cp now.png "$name-table.png"
  previous_page
  echo "$name: table with $(grid_rows "$name-table") grid lines, graph with $(coloured "$name-graph") coloured pixels"
}

# red IMAGE GEOMETRY: pixels of a clear red inside GEOMETRY (the stop button).
red() {
  convert "$1.png" -crop "$2" +repage -fx 'r > 0.5 && g < 0.35 && b < 0.35' -format '%[fx:round(mean*w*h)]' info:
}
# dark IMAGE GEOMETRY: pixels of text inside GEOMETRY (the status line's messages).
dark() {
  convert "$1.png" -crop "$2" +repage -fx 'r < 0.35 && g < 0.35 && b < 0.35' -format '%[fx:round(mean*w*h)]' info:
}
run_button='40x36+244+16'
status_line="600x26+200+$((height - 26))"

# endless.tvx was opened last, so its script page is the active one. The window has been resized: its picture is
# taken once the page shows text and two pictures in a row agree.
shot script
settled() { cp script.png earlier.png; shot script; [ "$(dark script "$page_crop")" -ge 50 ] &&
  [ "$(changed earlier script "$page_crop")" = 0 ]; }
wait_for 15 settled || fail "the script page never showed its text"
[ "$(grid_rows script)" -lt 10 ] || fail "the script page already looks like a table"
step "interrupt a run of 1e12 rows"
focus
xdotool key F9
stop_shown() { shot running; [ "$(red running "$run_button")" -ge 40 ]; }
wait_for 15 stop_shown || fail "interrupt: the run command does not show the stop button during a run"
xdotool key Escape
run_ended() { shot now; [ "$(red now "$run_button")" -lt 10 ]; }
wait_for 15 run_ended || fail "interrupt: Escape did not end the run"
[ "$(grid_rows now)" -ge 10 ] || fail "interrupt: the table made so far is not shown"
[ "$(dark now "$status_line")" -ge 20 ] || fail "interrupt: the status line does not say the run was interrupted"
# Back over endless.tvx to simpel.tvx.
previous_page
previous_page
run_example simpel
# Back over endless.tvx-1, endless.tvx and simpel.tvx to 2sin.tvx: its results come last.
for _ in 1 2 3 4; do previous_page; done
run_example 2sin

step "zoom"
shot before-zoom
xdotool mousemove 300 200 mousedown 1 mousemove 400 300 mousemove 500 400 mouseup 1
zoomed() { shot zoomed; n=$(changed before-zoom zoomed "$page_crop"); [ "$n" -ge 5000 ]; }
wait_for 10 zoomed || fail "zoom: the picture hardly changed ($n pixels)"
[ "$(coloured zoomed)" -ge 20 ] || fail "zoom: no curve left in the zoomed picture"

step "text label"
focus
press_and_wait alt+t || fail "text label: the Tavlix menu did not open"
press_and_wait t || fail "text label: the label field did not appear"
xdotool type --delay 20 'Hej verden'
xdotool mousemove 600 250 click 1
labelled() { shot labelled; n=$(changed zoomed labelled '160x40+560+230'); [ "$n" -ge 30 ]; }
wait_for 10 labelled || fail "text label: nothing was drawn where the label was placed ($n pixels)"

step "print"
focus
xdotool key ctrl+p
print_dialog() { xdotool search --name '^Udskriv' >/dev/null 2>&1; }
if wait_for 15 print_dialog; then
  # A loaded machine maps the dialog well before it takes keys: they go in once it has the keyboard.
  dialog_focused() { xdotool getwindowfocus getwindowname 2>/dev/null | grep -q '^Udskriv'; }
  wait_for 15 dialog_focused || fail "print: the print dialog never took the keyboard"
  xdotool key alt+f ctrl+a
  xdotool type --delay 5 "$work/udskrift.pdf"
  # The file field's completion may take the first Return on a slow machine; the dialog then needs another.
  xdotool key Return
  pdf_written() { [ -s "$work/udskrift.pdf" ] && pdfinfo "$work/udskrift.pdf" >/dev/null 2>&1; }
  print_dialog && ! wait_for 5 pdf_written && print_dialog && xdotool key Return
  if wait_for 40 pdf_written; then
    pages=$(pdfinfo udskrift.pdf | awk '/^Pages:/ { print $2 }')
    [ "${pages:-0}" -ge 1 ] || fail "print: the PDF has no page"
  else
    fail "print: no PDF was written"
  fi
else
  fail "print: the print dialog did not appear"
fi

step "copy"
focus
xdotool key ctrl+c
has_svg() { xclip -selection clipboard -t TARGETS -o 2>/dev/null | grep -qx 'image/svg+xml'; }
if wait_for 10 has_svg; then
  xclip -selection clipboard -t image/svg+xml -o >copy.svg 2>/dev/null
  grep -q '<svg' copy.svg || fail "copy: the clipboard's SVG is no SVG picture"
  grep -q 'Hej verden' copy.svg || fail "copy: the text label is missing from the copied SVG"
else
  fail "copy: the clipboard holds no image/svg+xml"
fi

step "close"
focus
press_and_wait alt+f || fail "close: the Filer menu did not open"
xdotool key a
ended() { ! kill -0 "$app_pid" 2>/dev/null; }
if wait_for 15 ended; then
  wait "$app_pid"
  status=$?
  app_pid=''
  [ "$status" = 0 ] || fail "close: the program ended with status $status"
else
  shot left-open
  fail "close: the program is still open (a question or an error box?): $(xdotool search --name '.' getwindowname %@ 2>/dev/null | sort -u | tr '\n' ' ')"
fi
grep -v 'XDG_RUNTIME_DIR\|propagateSizeHints' app.log | grep . && fail "the program wrote to its output: $(head -5 app.log)"
cmp -s 2sin.tvx "$source_dir/examples/2sin.tvx" && cmp -s simpel.tvx "$source_dir/examples/simpel.tvx" ||
  fail "an example document was changed"

step "done"
if [ "$failures" -gt 0 ]; then
  [ -n "${E2E_KEEP:-}" ] && { trap - EXIT; kill "$xvfb_pid" 2>/dev/null; echo "pictures kept in $work"; }
  echo "$failures window check(s) failed"
  exit 1
fi
echo "the window test passed in $SECONDS s"

#!/usr/bin/env bash
# Whole-program tests of Orvane.exe under Wine: the real executable in a
# program directory of its own, driven with mouse and keys through the X
# server against the demo CAD for Windows.
#   orvane_e2e.sh CASE BIN_DIR
# BIN_DIR holds Orvane.exe and democad.exe. WINEPREFIX and DISPLAY (with a
# window manager) come from the caller, as scripts/test-windows.sh sets them.
set -euo pipefail
case_name=$1
bin=$2
timeout_s=30

screen_width=1280
screen_height=1024
lime=00ff00
demo_progid=BricscadApp.AcadApplication

work=$(mktemp -d /tmp/orvane-e2e.XXXXXX)
started=()
own_prefix=
finish() {
  for pid in "${started[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  if [ -n "$own_prefix" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap finish EXIT

fail() {
  echo "FAIL ($case_name): $*" >&2
  if [ -f "$work/frame" ]; then
    echo "the frame was last at $(cat "$work/frame")" >&2
  fi
  if [ -n "${panel:-}" ]; then
    echo "the panel's title was last: $(xdotool getwindowname "$panel" 2>/dev/null)" >&2
  fi
  if [ -f "$work/demo.log" ]; then
    echo "--- the demo CAD's log:" >&2
    cat "$work/demo.log" >&2
  fi
  exit 1
}

# Polls the command until it succeeds; fails the case after the timeout.
wait_for() {
  local what=$1
  shift
  local end=$((SECONDS + timeout_s))
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || fail "timed out: $what"
    sleep 0.1
  done
}

# Polls the command for up to this many milliseconds; true once it succeeds.
succeeds_within() {
  local end=$(($(date +%s%3N) + $1))
  shift
  until "$@"; do
    [ "$(date +%s%3N)" -lt "$end" ] || return 1
    sleep 0.05
  done
}

# A saved list reaches the menus within about a second: a quarter of one
# settles, the rest is room for a loaded machine.
follow_bound_ms=1500

# A UTF-8 list file with a byte-order mark and CRLF line ends.
list_file() {
  printf '\357\273\277'
  printf '%s\r\n' "$@"
}

cp "$bin/Orvane.exe" "$work/"
list_file "CAPTION_: First" "[Commands]" "_LINE: line" "LOAD_: e2e.lsp" "MENU_: secondlist.txt" \
  "CAD_: target" "[More]" "_PLINE: polyline" >"$work/OrvaneList.txt"
list_file "CAPTION_: Second" "[Other]" "_CIRCLE: circle" >"$work/SecondList.txt"
list_file "Demo CAD	$demo_progid" >"$work/TargetCAD_APIVersion.txt"

# Items of the first drop-down, counted from 1.
item_line=1
item_menu=3
item_target=4

demo_pid=
start_demo() {
  wine "$bin/democad.exe" --register >/dev/null 2>&1
  wine "$bin/democad.exe" --log "$(winepath -w "$work/demo.log")" >/dev/null 2>&1 &
  demo_pid=$!
  started+=("$demo_pid")
  wait_for "the demo CAD is ready" grep -qs '^READY' "$work/demo.log"
}

demo_logged() { grep -qxF "$1" "$work/demo.log"; }

panel_pid=
panel=
find_panel() {
  panel=$(xdotool search --all --onlyvisible --pid "$panel_pid" --name ' \[ ' 2>/dev/null | head -n 1)
  [ -n "$panel" ]
}
start_panel() {
  wine "$work/Orvane.exe" >/dev/null 2>&1 &
  panel_pid=$!
  started+=("$panel_pid")
  wait_for "the panel's window" find_panel
}

panel_running() { kill -0 "$panel_pid" 2>/dev/null; }
panel_ended() { ! panel_running; }
# The exit status of the ended panel.
panel_status() {
  local status=0
  wait "$panel_pid" || status=$?
  echo "$status"
}

panel_has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$panel" ]; }

caption_is() { [ "$(xdotool getwindowname "$panel" 2>/dev/null)" = "$1" ]; }
caption_differs() { ! caption_is "$1"; }

visible_windows() { xdotool search --all --onlyvisible --pid "$panel_pid" --classname 'orvane\.exe' 2>/dev/null | wc -l; }
drop_down_open() { [ "$(visible_windows)" -gt 1 ]; }

# A click that comes while a switched list rebuilds the bar opens nothing
# and leaves the bar in menu mode: Escape leaves it, and the click repeats.
open_first_drop_down() {
  xdotool mousemove --window "$panel" 15 9 click 1
  local end=$((SECONDS + 3))
  until drop_down_open; do
    if [ "$SECONDS" -ge "$end" ]; then
      xdotool key Escape
      return 1
    fi
    sleep 0.1
  done
}

# Opens the first drop-down of the menu bar, drawn at the top of the
# window, with a click on its title, and picks the item with the keys.
click_first_menu_item() {
  wait_for "the drop-down opens" open_first_drop_down
  local keys=()
  for ((i = 0; i < $1; i++)); do keys+=(Down); done
  xdotool key "${keys[@]}" Return
}

# Reads a 32-bit field of an xwd dump; its header is big-endian.
xwd_field() {
  od -An -tu1 -j "$(($2 * 4))" -N4 "$1" | awk '{ print (($1 * 256 + $2) * 256 + $3) * 256 + $4 }'
}

# Whether any pixel of the column x of the window has the colour (rrggbb).
# The lamp sits at the client area's left edge, below the menu bar.
column_has_colour() {
  local dump=$work/panel.xwd
  xwd -silent -id "$panel" >"$dump" 2>/dev/null || return 1
  local header height byte_order line colours
  header=$(xwd_field "$dump" 0)
  height=$(xwd_field "$dump" 5)
  byte_order=$(xwd_field "$dump" 7)
  line=$(xwd_field "$dump" 12)
  colours=$(xwd_field "$dump" 19)
  local data=$((header + colours * 12 + $1 * 4))
  local y
  for ((y = 0; y < height; y++)); do
    local pixel
    # 32 bits a pixel, least significant byte first: blue, green, red.
    pixel=$(od -An -tx1 -j "$((data + y * line))" -N4 "$dump" |
      awk -v msb="$byte_order" '{ print msb == 1 ? $2 $3 $4 : $3 $2 $1 }')
    [ "$pixel" = "$2" ] && return 0
  done
  return 1
}
lamp_is_lime() { column_has_colour 4 "$lime"; }
lamp_is_not_lime() { ! lamp_is_lime; }

# The frame's centre (doubled, to stay in whole pixels) is the screen's,
# within what openbox's frame and Windows' differ by.
frame_is_centred() {
  local extents info x y width height left right top bottom
  extents=$(xprop -id "$panel" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p' | tr -d ' ')
  [ -n "$extents" ] || return 1
  IFS=, read -r left right top bottom <<<"$extents"
  info=$(xwininfo -id "$panel" 2>/dev/null) || return 1
  x=$(($(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info") - left))
  y=$(($(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info") - top))
  width=$(($(sed -n 's/^ *Width: *//p' <<<"$info") + left + right))
  height=$(($(sed -n 's/^ *Height: *//p' <<<"$info") + top + bottom))
  echo "$x,$y ${width}x$height" >"$work/frame"
  local dx=$((2 * x + width - screen_width)) dy=$((2 * y + height - screen_height))
  [ "${dx#-}" -le 12 ] && [ "${dy#-}" -le 12 ]
}

ini_value() { sed -n "/^\[$1\]/,/^\[/s/^$2=//p" "$work/Orvane.ini" | tr -d '\r'; }

close_panel_as_a_person_does() {
  xdotool windowactivate --sync "$panel"
  xdotool key --clearmodifiers alt+F4
  wait_for "the panel closes" panel_ended
  [ "$(panel_status)" = 0 ] || fail "the panel ended with a failure status"
}

case $case_name in
FreshStartCentresTheWindowAndClosingWritesTheFourSections)
  rm -f "$work/Orvane.ini"
  start_panel

  wait_for "the frame is centred on the screen" frame_is_centred
  close_panel_as_a_person_does
  sections=$(grep -o '^\[[^]]*\]' "$work/Orvane.ini" | tr -d '[]' | paste -sd ' ')
  [ "$sections" = "MenuList Form TargetCAD ImeOff" ] || fail "sections: $sections"
  # The written bounds are the centred ones, by the program's own measure.
  width=$(ini_value Form Width) height=$(ini_value Form Height)
  if [ "$(ini_value Form Left)" != $(((screen_width - width) / 2)) ] ||
    [ "$(ini_value Form Top)" != $(((screen_height - height) / 2)) ]; then
    fail "not centred in the file: $(cat "$work/Orvane.ini")"
  fi
  ;;
LampTurnsLimeWhenTheCadRuns)
  start_panel
  wait_for "the lamp is drawn and not lime without a CAD" lamp_is_not_lime
  start_demo
  wait_for "the lamp turns lime" lamp_is_lime
  ;;
CommandItemReachesTheCad)
  start_demo
  start_panel
  wait_for "the panel takes the focus" panel_has_focus
  activations=$(grep -cx ACTIVATE "$work/demo.log" || true)
  click_first_menu_item "$item_line"
  wait_for "the CAD receives the command" demo_logged 'COMMAND _LINE\r'
  # The CAD's window was made the active one before the command came; the
  # window manager may still keep it where it was.
  [ "$(sed -n '/^COMMAND _LINE/q;p' "$work/demo.log" | grep -cx ACTIVATE)" -gt "$activations" ] ||
    fail "the CAD's window was not brought forward before the command"
  # Wine switches the foreground asynchronously, so the Escape after it may
  # not come; when it does, it comes first.
  if demo_logged ESCAPE; then
    [ "$(grep -m1 -xE 'ESCAPE|COMMAND .*' "$work/demo.log")" = ESCAPE ] || fail "the Escape came after the command"
  fi
  ;;
MenuItemSwitchesToTheSecondListAndItsCommand)
  start_demo
  start_panel
  wait_for "the first list's caption" caption_is "First [ Demo CAD ]"
  click_first_menu_item "$item_menu"
  wait_for "the second list's caption" caption_is "Second [ Demo CAD ]"
  click_first_menu_item 1
  wait_for "the CAD receives the second list's command" demo_logged 'COMMAND _CIRCLE\r'
  ;;
TargetDialogAddsAnEntryAndItsOkChangesTheCaption)
  # No CAD runs: switching away from a CAD the panel had seen closes it.
  start_panel
  click_first_menu_item "$item_target"
  dialog=
  find_dialog() {
    dialog=$(xdotool search --all --onlyvisible --pid "$panel_pid" --name 'ターゲット CAD' 2>/dev/null | head -n 1)
    [ -n "$dialog" ] && [ "$(xdotool getwindowfocus 2>/dev/null)" = "$dialog" ]
  }
  wait_for "the target CAD dialog has the focus" find_dialog
  # The list has the focus; the label field is three tab stops on.
  xdotool key Tab Tab Tab
  xdotool type Plant
  xdotool key Tab
  xdotool type Plant.Application
  # "追加" in the frame.
  xdotool mousemove --window "$dialog" $((8 + 220 + 35)) $((151 + 21 + 11)) click 1
  list_file "Demo CAD	$demo_progid" "Plant	Plant.Application" >"$work/expected.txt"
  wait_for "the list file gains the entry" cmp -s "$work/expected.txt" "$work/TargetCAD_APIVersion.txt"
  # OK.
  xdotool mousemove --window "$dialog" $((80 + 37)) $((271 + 12)) click 1
  wait_for "the caption names the new target" caption_is "First [ Plant ]"
  ;;
SearchBoxRunsTheTypedItemOnTheCad)
  start_demo
  start_panel
  wait_for "the panel takes the focus" panel_has_focus
  xdotool key ctrl+f
  search_box_has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" != "$panel" ] && drop_down_open; }
  wait_for "the search box takes the focus" search_box_has_focus
  xdotool type pline
  xdotool key Return
  wait_for "the CAD receives the found item's command" demo_logged 'COMMAND _PLINE\r'
  ;;
ListSavedByAnotherProgramChangesTheMenus)
  start_demo
  start_panel
  wait_for "the first list's caption" caption_is "First [ Demo CAD ]"
  list_file "CAPTION_: Edited" "[Edited]" "_ARC: arc" >"$work/OrvaneList.txt"
  succeeds_within "$follow_bound_ms" caption_is "Edited [ Demo CAD ]" ||
    fail "the saved list did not reach the caption within $follow_bound_ms ms"
  click_first_menu_item 1
  wait_for "the CAD receives the saved list's command" demo_logged 'COMMAND _ARC\r'
  ;;
PickInADropDownOpenDuringASaveRunsTheItemShown)
  start_demo
  start_panel
  wait_for "the first list's caption" caption_is "First [ Demo CAD ]"
  wait_for "the drop-down opens" open_first_drop_down
  xdotool key Down
  list_file "CAPTION_: Edited" "[Edited]" "_ERASE: erase" >"$work/OrvaneList.txt"
  # Nothing changes while the drop-down is open, past the settling and the
  # longest a burst is held.
  ! succeeds_within "$follow_bound_ms" caption_differs "First [ Demo CAD ]" ||
    fail "the menus changed while the drop-down was open"
  xdotool key Return
  wait_for "the CAD receives the command shown" demo_logged 'COMMAND _LINE\r'
  wait_for "the saved list's caption" caption_is "Edited [ Demo CAD ]"
  click_first_menu_item 1
  wait_for "the CAD receives the saved list's command" demo_logged 'COMMAND _ERASE\r'
  ;;
ShiftJisListUnderAJapaneseLocaleShowsItsCaptionAndSendsItsCommand)
  # The ANSI code page follows the Linux locale: a ja_JP one of the case's
  # own makes it 932.
  mkdir "$work/locale"
  localedef -i ja_JP -f UTF-8 "$work/locale/ja_JP.UTF-8" >/dev/null 2>&1 ||
    [ -f "$work/locale/ja_JP.UTF-8/LC_CTYPE" ] || fail "localedef made no ja_JP.UTF-8 locale"
  export LANG=ja_JP.UTF-8 LOCPATH=$work/locale
  # In a prefix of its own: a program of another locale rewrites the
  # prefix's locale settings, and the installer beside it stalled. Its
  # server starts with no output of ctest's to hold open.
  own_prefix=$work/prefix
  export WINEPREFIX=$own_prefix
  wine wineboot --init >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  # A plain start after the first brings up the services the running object
  # table needs.
  wine wineboot >/dev/null 2>&1
  # No byte-order mark: the list is read in the ANSI code page. The second
  # byte of "表" and of "ソ" is a backslash in Shift-JIS.
  printf '%s\r\n' "CAPTION_: 表示ソフト" "[表]" "_表示: 表を表示" | iconv -f UTF-8 -t CP932 >"$work/OrvaneList.txt"
  start_demo
  start_panel
  wait_for "the list's caption in Japanese" caption_is "表示ソフト [ Demo CAD ]"
  click_first_menu_item 1
  wait_for "the CAD receives the Japanese command" demo_logged 'COMMAND _表示\r'
  ;;
PanelWindowStaysOnTop)
  start_panel
  above() { xprop -id "$panel" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_ABOVE; }
  wait_for "_NET_WM_STATE_ABOVE on the panel" above
  ;;
PanelClosesAfterTheCadItHadSeenQuits)
  start_demo
  start_panel
  wait_for "the panel sees the CAD" lamp_is_lime
  kill "$demo_pid"
  wait_for "the panel closes after the CAD" panel_ended
  [ "$(panel_status)" = 0 ] || fail "the panel ended with a failure status"
  [ -s "$work/Orvane.ini" ] || fail "the shutdown wrote no settings"
  ;;
*)
  echo "unknown case: $case_name" >&2
  exit 2
  ;;
esac
echo "PASS ($case_name)"

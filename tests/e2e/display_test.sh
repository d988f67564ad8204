# Window and cursor shortcuts: left Alt + Enter goes fullscreen at the screen's size, with the canvas
# letterboxed between black bars, and back to the size (and a centred place) from before, with the
# canvas filling the window again; left Ctrl + F1 frees the cursor and captures it again, as X sees
# it: the pointer grab and the cursor shown. The window carries the desktop entry's class and the
# shipped icon. Every effect is waited for, never assumed after a pause.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_xvfb 1280x720
dir=$(e2e_game_copy)
e2e_start_scene "$dir" || e2e_pass
xdotool mousemove --window "$WID" 100 100

# What a dock knows the window by: the class the desktop entry's StartupWMClass names, and the
# shipped icon; the title stays "Application" (the window was found by it).
class=$(sed -n 's/^StartupWMClass=//p' "$SRC/packaging/stagewalk.desktop")
[ -n "$class" ] && [ "$(xprop -id "$WID" WM_CLASS)" = "WM_CLASS(STRING) = \"$class\", \"$class\"" ] ||
  fail "the window's $(xprop -id "$WID" WM_CLASS) is not the desktop entry's class '$class'"
# Read whole: grep -q would stop reading the long picture and, under pipefail, fail on xprop's SIGPIPE.
icon=$(xprop -id "$WID" _NET_WM_ICON)
[[ $icon == *"Icon (128 x 128)"* ]] || fail "the window carries no 128 x 128 icon"

size_is() { [ "$(e2e_window_size)" = "$1" ]; }
# The scene shows in screen columns 160 to 1119 (its outermost columns are not black): the canvas
# of 320 x 240 at scale 3, whether in the 960 x 720 window at x 160 or letterboxed in the 1280 x 720
# screen. With "bars", columns 0 to 157 and 1122 to 1279 are black too.
letterbox() {
  local shot="$WORK/letterbox.png"
  e2e_shot "$shot"
  below() { awk -v v="$(e2e_brightness "$shot" "$1")" -v b="$2" 'BEGIN { exit !(v < b) }'; }
  above() { awk -v v="$(e2e_brightness "$shot" "$1")" -v b="$2" 'BEGIN { exit !(v > b) }'; }
  above 6x720+160+0 0.02 && above 6x720+1114+0 0.02 || return 1
  [ "${1:-}" != bars ] || { below 158x720+0+0 0.002 && below 158x720+1122+0 0.002; }
}

size_is 960x720 || fail "starts at $(e2e_window_size), expected 960x720"
e2e_chord Alt_L Return size_is 1280x720 || fail "fullscreen is $(e2e_window_size), expected the screen's 1280x720"
e2e_until 20 letterbox bars || fail "fullscreen does not show the canvas between black bars"
cp "$WORK/letterbox.png" "$WORK/fullscreen.png"
e2e_chord Alt_L Return size_is 960x720 || fail "back from fullscreen at $(e2e_window_size), expected 960x720"
position=$(xdotool getwindowgeometry "$WID" | sed -n 's/^ *Position: *\([0-9-]*,[0-9-]*\).*/\1/p')
[ "$position" = "160,0" ] || fail "back from fullscreen at $position, expected centred at 160,0"
e2e_until 20 letterbox || fail "back from fullscreen, the canvas does not fill the window"
cp "$WORK/letterbox.png" "$WORK/windowed.png"
# A fullscreen switch with right Alt does nothing; the cursor shortcut after it shows that the game
# has handled it.
e2e_chord 108 Return  # keycode 108 is Alt_R (xdotool's Alt_R also presses Alt_L)

xdotool mousemove --window "$WID" 100 100
probe_is() { [ "$("$XPROBE" "$1")" = "$2" ]; }
e2e_until 20 probe_is grab grabbed || fail "the cursor is not captured at start"
e2e_until 20 probe_is cursor hidden || fail "the cursor is visible at start"
e2e_chord Control_L F1 probe_is grab free || fail "left Ctrl + F1 did not free the pointer"
e2e_until 20 probe_is cursor visible || fail "left Ctrl + F1 did not show the cursor"
size_is 960x720 || fail "right Alt + Enter changed the window to $(e2e_window_size)"
e2e_chord Control_L F1 probe_is grab grabbed || fail "a second left Ctrl + F1 did not capture the pointer"
e2e_until 20 probe_is cursor hidden || fail "a second left Ctrl + F1 did not hide the cursor"

e2e_quit
e2e_wait_exit 15
expect_status 0
e2e_pass

# Window and cursor shortcuts: left Alt + Enter goes fullscreen at the screen's size and back to the
# size (and a centred place) from before; left Ctrl + F1 frees the cursor and captures it again,
# as X sees it: the pointer grab and the cursor shown.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_xvfb 1280x720
dir=$(e2e_game_copy)
e2e_start_scene "$dir" || e2e_pass
xdotool mousemove --window "$WID" 100 100
sleep 0.3

[ "$(e2e_window_size)" = "960x720" ] || fail "starts at $(e2e_window_size), expected 960x720"
e2e_chord Alt_L Return
sleep 1
[ "$(e2e_window_size)" = "1280x720" ] || fail "fullscreen is $(e2e_window_size), expected the screen's 1280x720"
e2e_shot "$WORK/fullscreen.png"
e2e_chord Alt_L Return
sleep 1
[ "$(e2e_window_size)" = "960x720" ] || fail "back from fullscreen at $(e2e_window_size), expected 960x720"
position=$(xdotool getwindowgeometry "$WID" | sed -n 's/^ *Position: *\([0-9-]*,[0-9-]*\).*/\1/p')
[ "$position" = "160,0" ] || fail "back from fullscreen at $position, expected centred at 160,0"
# A fullscreen switch with right Alt does nothing.
e2e_chord 108 Return  # keycode 108 is Alt_R (xdotool's Alt_R also presses Alt_L)
sleep 1
[ "$(e2e_window_size)" = "960x720" ] || fail "right Alt + Enter changed the window to $(e2e_window_size)"

xdotool mousemove --window "$WID" 100 100
sleep 0.3
[ "$("$XPROBE" grab)" = "grabbed" ] || fail "the cursor is not captured at start"
[ "$("$XPROBE" cursor)" = "hidden" ] || fail "the cursor is visible at start"
e2e_chord Control_L F1
sleep 0.5
[ "$("$XPROBE" grab)" = "free" ] || fail "left Ctrl + F1 did not free the pointer"
[ "$("$XPROBE" cursor)" = "visible" ] || fail "left Ctrl + F1 did not show the cursor"
e2e_chord Control_L F1
sleep 0.5
[ "$("$XPROBE" grab)" = "grabbed" ] || fail "a second left Ctrl + F1 did not capture the pointer"
[ "$("$XPROBE" cursor)" = "hidden" ] || fail "a second left Ctrl + F1 did not hide the cursor"

e2e_quit
e2e_wait_exit 15
expect_status 0
e2e_pass

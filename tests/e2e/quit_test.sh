# Quitting: only left Ctrl held before Q quits. Q alone, right Ctrl + Q and both keys within one
# frame do nothing; the window's close button (a WM_DELETE_WINDOW request) quits with status 0.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_xvfb
dir=$(e2e_game_copy)
e2e_start_scene "$dir" || e2e_pass

note "Q alone"
xdotool key q
sleep 0.5
e2e_alive || fail "Q alone quit the game"

note "right Ctrl + Q"
e2e_chord 105 q  # keycode 105 is Control_R; xdotool's Control_R also presses Control_L
sleep 0.5
e2e_alive || fail "right Ctrl + Q quit the game"

note "left Ctrl and Q within one frame"
xdotool keydown --delay 0 Control_L q
xdotool keyup --delay 0 q Control_L
sleep 0.5
e2e_alive || fail "left Ctrl and Q pressed together quit the game"

note "the close button"
"$XPROBE" close "$WID"
e2e_wait_exit 15
expect_status 0
expect_output "Application started." "Shader program loaded successfully." "Application terminated."
e2e_pass

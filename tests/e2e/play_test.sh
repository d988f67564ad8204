# A whole session as a player meets it: the black window while loading, the scene with its HUD,
# then left Ctrl + Q, status 0 and exactly the three lines of a clean run.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_xvfb
dir=$(e2e_game_copy)

e2e_start_scene "$dir" || e2e_pass
e2e_shot "$WORK/scene.png"
note "window $(e2e_window_size), scene brightness $(e2e_brightness "$WORK/scene.png")"
[ "$(e2e_window_size)" = "960x720" ] || fail "window is $(e2e_window_size), expected 960x720"
# The HUD: white text at the top left (the counter) and bottom left (the hint line).
expect_float "$(e2e_brightness "$WORK/scene.png" 150x30+0+0)" gt 0.05 "counter area brightness"
expect_float "$(e2e_brightness "$WORK/scene.png" 480x36+0+680)" gt 0.05 "hint line brightness"
# The crosshair sits in the middle of the canvas: its centre pixel column is white somewhere.
expect_float "$(convert "$WORK/scene.png" -crop 96x96+432+312 +repage -colorspace Gray -format '%[fx:maxima]' info:)" gt 0.9 "crosshair"

e2e_quit
e2e_wait_exit 15
expect_status 0
expect_output "Application started." "Shader program loaded successfully." "Application terminated."
e2e_pass

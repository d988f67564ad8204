# Playing: scroll notches print 1 and -1, holding W walks (the view changes), the mouse turns the
# view, and space jumps (the view rises and comes back down).
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_xvfb
dir=$(e2e_game_copy)
e2e_start_scene "$dir" || e2e_pass
sleep 1  # the player lands on the floor after spawning

xdotool click 4
xdotool click 5
sleep 0.3
expect_line "1"
expect_line "-1"

e2e_shot "$WORK/0-start.png"
xdotool keydown w
sleep 1
xdotool keyup w
sleep 0.5
e2e_shot "$WORK/1-walked.png"
moved=$(e2e_difference "$WORK/0-start.png" "$WORK/1-walked.png")
note "walking changed $moved of the picture"
expect_float "$moved" gt 0.05 "change after walking"

xdotool mousemove_relative -- 120 0
sleep 0.5
e2e_shot "$WORK/2-turned.png"
turned=$(e2e_difference "$WORK/1-walked.png" "$WORK/2-turned.png")
note "turning changed $turned of the picture"
expect_float "$turned" gt 0.05 "change after turning"

e2e_shot "$WORK/3-before-jump.png"
xdotool keydown space
sleep 0.35
e2e_shot "$WORK/4-jumping.png"
xdotool keyup space
sleep 1.5
e2e_shot "$WORK/5-landed.png"
jumped=$(e2e_difference "$WORK/3-before-jump.png" "$WORK/4-jumping.png")
landed=$(e2e_difference "$WORK/3-before-jump.png" "$WORK/5-landed.png")
note "in the air $jumped of the picture differs, after landing $landed"
expect_float "$jumped" gt 0.05 "change while jumping"
expect_float "$landed" lt "$jumped" "change after landing (back near the start view)"

e2e_quit
e2e_wait_exit 15
expect_status 0
e2e_pass

# Playing: scroll notches print 1 and -1, holding W walks (the view changes), the mouse turns the
# view, and space jumps (the view rises and comes back down). Each step waits for the player to
# stand still first and then for the change itself, so a slow machine only makes it take longer.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_xvfb
dir=$(e2e_game_copy)
e2e_start_scene "$dir" || e2e_pass

xdotool click 4
xdotool click 5
e2e_wait_line "1" 20
e2e_wait_line "-1" 20

# Jumping first, where the player landed after spawning: open space all around.
e2e_until 20 e2e_still || fail "the player never came to rest after spawning"
e2e_shot "$WORK/0-before-jump.png"
crop=$(e2e_view_crop)
# One jump is in the air for about a second, and a loaded machine may take longer than that between
# two screenshots; jumping again at every landing keeps the player up nearly all the time.
touch "$WORK/jumping"
(while [ -e "$WORK/jumping" ]; do
  xdotool keydown space
  sleep 0.3
  xdotool keyup space
  sleep 0.05
done) &
jumper=$!
e2e_until 30 e2e_view_changed "$WORK/0-before-jump.png" "$WORK/1-jumping.png" 0.02 || fail "space did not lift the view"
rm -f "$WORK/jumping"
wait "$jumper"
jumped=$(e2e_difference "$WORK/0-before-jump.png" "$WORK/1-jumping.png" "$crop")
back_down() {
  e2e_shot "$WORK/2-landed.png"
  landed=$(e2e_difference "$WORK/0-before-jump.png" "$WORK/2-landed.png" "$crop")
  awk -v l="$landed" -v j="$jumped" 'BEGIN { exit !(l < j / 4) }'
}
e2e_until 20 back_down || fail "the view did not come back down after the jump ($landed of it differs, $jumped in the air)"
note "in the air $jumped of the view differs, after landing $landed"

# The view turns by the mouse's counts whatever the frame time, but how many counts xdotool's 120
# pixels become is the X server's pointer acceleration, not the game's: only that it turns is checked.
# The game drops the first cursor report after it captures the cursor (it holds the whole position,
# not a movement); unless the pointer crossed into the window first, no report has come yet, so a
# one-pixel move goes first and the turn is measured from where it left the view.
xdotool mousemove_relative -- 1 0
e2e_until 20 e2e_still || fail "the player never came to rest after the jump"
e2e_shot "$WORK/2-landed.png"
xdotool mousemove_relative -- 120 0
e2e_until 20 e2e_view_changed "$WORK/2-landed.png" "$WORK/3-turned.png" 0.02 || fail "the mouse did not turn the view"
note "turning changed $(e2e_difference "$WORK/2-landed.png" "$WORK/3-turned.png" "$crop") of the view"

e2e_until 20 e2e_still || fail "the player never came to rest after turning"
e2e_shot "$WORK/3-turned.png"
xdotool keydown w
e2e_until 20 e2e_view_changed "$WORK/3-turned.png" "$WORK/4-walked.png" 0.02 || fail "holding W did not change the view"
xdotool keyup w
note "walking changed $(e2e_difference "$WORK/3-turned.png" "$WORK/4-walked.png" "$crop") of the view"

e2e_quit
e2e_wait_exit 15
expect_status 0
e2e_pass

# The first look is still: real xdotool motion through the program while it records, a move of one
# count and then W, which walks the player along the view; where the recording ended tells the view's
# yaw, which must be within one count's turn (1/96 radian at the shipped sensitivity) of the spawn's,
# along +z. Here the window library's own report of the cursor at the window's first focus comes
# while the game loads, which no look reads; first_look_gl_test scripts the reports exactly, each
# capture (start-up, left Ctrl + F1, the focus regained) with its first report after loading.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_xvfb
dir=$(e2e_game_copy)

e2e_start_scene "$dir" --record "$WORK/look.tml" || e2e_pass
e2e_until 20 e2e_still || fail "the player never came to rest"
xdotool mousemove_relative 1 0
xdotool keydown w
sleep 0.6
xdotool keyup w
e2e_quit
e2e_wait_exit 15
expect_status 0
# The spawn is at x 0.1, z -15: the walk's direction from there is the view's yaw.
read -r x _ z < <(sed -n 's/^Demo saved: .* player at //p' "$WORK/out.txt")
note "the player walked to x $x, z $z"
awk -v x="${x:-0}" -v z="${z:--15}" 'BEGIN {
  yaw = atan2(x - 0.1, z + 15)
  exit !(z + 15 > 1 && yaw * yaw <= (1 / 96 + 1e-4) ^ 2)
}' || fail "the first look turned the view (the walk ended at x $x, z $z)"
e2e_pass

# Levels as a player chooses them: --list-levels prints one line per level with its best, --level
# NAME starts each (an unknown one is refused before any window), a demo recorded in a level replays in
# that level without being told which, and in the game Esc, Levels and the second level show that
# level, with the game standing still while the menu is open.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_xvfb
dir=$(e2e_game_copy)
tab=$'\t'

# A second level beside the tower: the modding guide's courtyard, its platform joined to it.
sed '/^o Platform$/d' "$SRC/docs/examples/courtyard.obj" >"$dir/data/yard.obj"
cp "$SRC/docs/examples/courtyard.level.tml" "$dir/data/yard.level.tml"
cat >>"$dir/data/assets.tml" <<'MANIFEST'
{ list
	! workdir data
	{ model
		! name yard
		! path yard.obj
	}
	{ markup
		! name yardLevel
		! path yard.level.tml
	}
}
{ levels
	{ level
		! name yard
		! title "The courtyard"
		! room yard
		! data yardLevel
	}
}
MANIFEST
# The tower's best, kept under the identity its committed run names.
tower=$(sed -n 's/^room //p' "$SRC/game/demos/tower_run.tml")
printf '@ tangly-ml-v-020\n{ records\n{ level\n! room %s\n! frames 647\n! seconds 10.78\n}\n}\n' "$tower" \
  >"$dir/records.tml"

e2e_run "$dir" 20 --list-levels
expect_status 0
expect_output "tower${tab}The tower${tab}10.78" "steps${tab}First steps${tab}-" "rooftops${tab}The rooftops${tab}-" \
  "yard${tab}The courtyard${tab}-"

e2e_run "$dir" 20 --level nope
expect_status 2
[ ! -s "$WORK/out.txt" ] || fail "--level nope started the game: $(cat "$WORK/out.txt")"
grep -qF "unknown level 'nope'" "$WORK/err.txt" || fail "--level nope: $(cat "$WORK/err.txt")"

# Each level starts, and shows something of its own.
for level in tower steps yard; do
  e2e_start_scene "$dir" --level "$level" || e2e_pass
  e2e_until 10 e2e_still || fail "$level: the spawn never came to rest"
  e2e_shot "$WORK/$level.png"
  e2e_quit
  e2e_wait_exit 15
  expect_status 0
  expect_output "Application started." "Shader program loaded successfully." "Application terminated."
done
shown=$(e2e_difference "$WORK/tower.png" "$WORK/yard.png" "$(e2e_view_crop)")
note "the two levels' first views differ in $shown of the view"
expect_float "$shown" gt 0.2 "difference between the tower's and the courtyard's first view"

# Recorded in the courtyard, replayed without --level: the replay finds the courtyard by what plays.
e2e_start_scene "$dir" --level yard --record "$WORK/yard_walk.tml" || e2e_pass
xdotool keydown w
sleep 0.6
xdotool keyup w
e2e_quit
e2e_wait_exit 15
expect_status 0
recorded=$(sed -n 's/^Demo saved: .*, \([0-9]* frames, player at .*\)$/\1/p' "$WORK/out.txt")
e2e_run "$dir" 120 --play "$WORK/yard_walk.tml"
expect_status 0
expect_line "Demo ended: $recorded"
e2e_run "$dir" 20 --level tower --play "$WORK/yard_walk.tml"
[ "$STATUS" = 255 ] || fail "a courtyard demo replayed in the tower: status $STATUS"

# A key of the menu, held across a frame, then the picture it changes (at most 10 s).
menu_key() {
  e2e_shot "$WORK/before-key.png"
  xdotool keydown "$1"
  sleep 0.15
  xdotool keyup "$1"
  e2e_until 10 e2e_view_changed "$WORK/before-key.png" "$WORK/after-key.png" 0.001 || fail "$1 changed nothing"
}
e2e_start_scene "$dir" || e2e_pass
xdotool keydown w
sleep 0.5
xdotool keyup w
menu_key Escape
e2e_shot "$WORK/menu-a.png"
sleep 2
e2e_shot "$WORK/menu-b.png"
still=$(e2e_difference "$WORK/menu-a.png" "$WORK/menu-b.png")
note "two seconds in the menu changed $still of the window"
[ "$still" = 0.0000 ] || fail "the game went on in the menu (the run's time, the view or the counter moved)"
menu_key Down
menu_key Down
menu_key Return  # Levels
menu_key Down
menu_key Return  # the second level, the first steps
e2e_until 10 e2e_still || fail "the first steps never came to rest"
e2e_shot "$WORK/switched.png"
crop=$(e2e_view_crop)
as_steps=$(e2e_difference "$WORK/steps.png" "$WORK/switched.png" "$crop")
as_tower=$(e2e_difference "$WORK/tower.png" "$WORK/switched.png" "$crop")
note "after the switch the view differs from the first steps' start in $as_steps, from the tower's in $as_tower"
expect_float "$as_steps" lt 0.05 "difference from the first steps' first view"
expect_float "$as_tower" gt 0.2 "difference from the tower's view"
e2e_quit
e2e_wait_exit 15
expect_status 0
expect_output "Application started." "Shader program loaded successfully." "Application terminated."
e2e_pass

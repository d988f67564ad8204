# Levels as a player chooses them, on the shipped list: --list-levels prints one line per level with
# its best, --level NAME starts each (an unknown one is refused before any window), a folder whose
# manifest lists no level plays its room2 as before, a demo recorded in a level replays in that level
# without being told which, and in the game Esc, Levels and the second
# level show that level, with the game standing still while the menu is open.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_xvfb
dir=$(e2e_game_copy)
tab=$'\t'

# The levels as the shipped manifest lists them: name and title.
mapfile -t levels < <(awk '/^\{ levels/ { on = 1 } on && /! name / { n = $3 } on && /! title / {
  sub(/^[^"]*"/, ""); sub(/"$/, ""); print n "\t" $0 }' "$dir/data/assets.tml")
[ "${#levels[@]}" -ge 3 ] || fail "the shipped manifest lists ${#levels[@]} levels"
first=${levels[0]%%$tab*}
second=${levels[1]%%$tab*}

# The first level's best, kept under the identity its committed run names.
room=$(sed -n 's/^room \([0-9a-f]*\)$/\1/p' "$dir/demos/${first}_run.tml")
[ -n "$room" ] || fail "no room in demos/${first}_run.tml"
printf '@ tangly-ml-v-020\n{ records\n{ level\n! room %s\n! frames 647\n! seconds 10.78\n}\n}\n' "$room" \
  >"$dir/records.tml"
expected=()
for level in "${levels[@]}"; do expected+=("$level$tab-"); done
expected[0]="${levels[0]}${tab}10.78"
e2e_run "$dir" 20 --list-levels
expect_status 0
expect_output "${expected[@]}"

e2e_run "$dir" 20 --level nope
expect_status 2
[ ! -s "$WORK/out.txt" ] || fail "--level nope started the game: $(cat "$WORK/out.txt")"
grep -qF "unknown level 'nope'" "$WORK/err.txt" || fail "--level nope: $(cat "$WORK/err.txt")"

# Each level starts, and shows something of its own once the player stands at its spawn.
for level in "${levels[@]}"; do
  name=${level%%$tab*}
  e2e_start_scene "$dir" --level "$name" || e2e_pass
  e2e_until 10 e2e_still || fail "$name: the spawn never came to rest"
  e2e_shot "$WORK/$name.png"
  e2e_quit
  e2e_wait_exit 15
  expect_status 0
  expect_output "Application started." "Shader program loaded successfully." "Application terminated."
done
crop=$(e2e_view_crop)
shown=$(e2e_difference "$WORK/$first.png" "$WORK/$second.png" "$crop")
note "the first two levels' views at their spawns differ in $shown of the view"
expect_float "$shown" gt 0.1 "difference between the first two levels' views"

# A game folder of old, whose manifest lists no level: its one level is the room "room2", played as
# it always was.
old=$(e2e_game_copy old)
sed -i '/^{ levels$/,$d' "$old/data/assets.tml"
e2e_run "$old" 20 --list-levels
expect_status 0
expect_output "room2${tab}room2${tab}-"
e2e_start_scene "$old" || e2e_pass
e2e_until 10 e2e_still || fail "the folder of old: the spawn never came to rest"
e2e_shot "$WORK/old.png"
e2e_quit
e2e_wait_exit 15
expect_status 0
as_tower=$(e2e_difference "$WORK/tower.png" "$WORK/old.png" "$crop")
note "the folder of old shows the tower's spawn but for $as_tower of the view"
expect_float "$as_tower" lt 0.05 "difference between the folder of old and the tower"

# Recorded in the second level, replayed without --level: the replay finds it by what plays.
e2e_start_scene "$dir" --level "$second" --record "$WORK/walk.tml" || e2e_pass
xdotool keydown w
sleep 0.6
xdotool keyup w
e2e_quit
e2e_wait_exit 15
expect_status 0
recorded=$(sed -n 's/^Demo saved: .*, \([0-9]* frames, player at .*\)$/\1/p' "$WORK/out.txt")
e2e_run "$dir" 120 --play "$WORK/walk.tml"
expect_status 0
expect_line "Demo ended: $recorded"
e2e_run "$dir" 20 --level "$first" --play "$WORK/walk.tml"
[ "$STATUS" = 255 ] || fail "a demo of $second replayed in $first: status $STATUS"

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
menu_key Return  # the second level
e2e_until 10 e2e_still || fail "the second level never came to rest"
e2e_shot "$WORK/switched.png"
as_second=$(e2e_difference "$WORK/$second.png" "$WORK/switched.png" "$crop")
as_first=$(e2e_difference "$WORK/$first.png" "$WORK/switched.png" "$crop")
note "after the switch the view differs from $second's start in $as_second, from $first's in $as_first"
expect_float "$as_second" lt 0.05 "difference from the second level's view at its spawn"
expect_float "$as_first" gt 0.1 "difference from the first level's view"
e2e_quit
e2e_wait_exit 15
expect_status 0
expect_output "Application started." "Shader program loaded successfully." "Application terminated."
e2e_pass

# Demos as a player makes and shares them: a game recorded with --record replays with --play, and
# with --timedemo, to the very position the recording ended at (equal text, equal floats), also with
# two busy loops beside it; the committed tower run finishes its run; a bad demo gets one line, a
# non-zero status and no window.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_xvfb
dir=$(e2e_game_copy)
demo="$WORK/walk.tml"

# "N frames, player at X Y Z" from the line in $WORK/out.txt that starts with $1.
ending() { sed -n "s/^$1: \(.*, \)\{0,1\}\([0-9]* frames, player at .*\)$/\2/p" "$WORK/out.txt"; }

e2e_start_scene "$dir" --record "$demo" || e2e_pass
xdotool keydown w
sleep 0.8
xdotool mousemove_relative 40 0
xdotool key space
sleep 0.6
xdotool keyup w
xdotool mousemove_relative -- -25 10
sleep 0.3
e2e_quit
e2e_wait_exit 15
expect_status 0
recorded=$(ending "Demo saved")
note "recorded: $recorded"
expect_line "Demo saved: $demo, $recorded"
# A player who never moves lands on the terrace below the spawn point: at its x and z, whatever y.
case "$recorded" in
  "0 frames"* | "") fail "nothing was recorded" ;;
  *"player at 0.100000001 "*" -15") fail "the recording never moved the player" ;;
esac
[ "$(tail -c 1 "$demo" | od -An -c | tr -d ' ')" = '\n' ] || fail "the demo does not end with a whole line"

replay() {  # $1: option; the rest: how to run it
  local option=$1
  e2e_start "$dir" "$option" "$demo"
  e2e_wait_exit 120
  expect_status 0
  expect_line "Demo ended: $recorded"
}
replay --play
replay --timedemo
grep -qE '^Timedemo: [0-9]+ frames in [0-9.]+ s \([0-9.]+ frames per second\)$' "$WORK/out.txt" ||
  fail "no timedemo line"
grep -qE '^Frame time: median [0-9.]+ ms, 99th percentile [0-9.]+ ms$' "$WORK/out.txt" || fail "no frame time line"
sed -n '/^Timedemo/,$p' "$WORK/out.txt" | sed 's/^/-- /'

note "under load: two busy loops beside the replay"
(while :; do :; done) &
busy1=$!
(while :; do :; done) &
busy2=$!
replay --play
kill "$busy1" "$busy2"

# The committed run from the spawn to the finish on the tower top: it finishes, in its own time,
# where its recording ended.
run="$SRC/game/demos/tower_run.tml"
frames=$(sed -n 's/^end \([0-9]*\) .*/\1/p' "$run")
e2e_run "$dir" 120 --play "$run"
expect_status 0
grep -q "^Demo ended: $frames frames, player at " "$WORK/out.txt" || fail "the tower run did not play its $frames frames"
! grep -q "^Demo diverged" "$WORK/out.txt" || fail "the tower run ended elsewhere: $(grep '^Demo diverged' "$WORK/out.txt")"
grep -qx 'Run finished in 10.78 s (replay)' "$WORK/out.txt" || fail "the tower run did not finish in 10.78 s as a replay"
[ ! -e "$dir/records.tml" ] || fail "a replay wrote the records"

# Bad demos: one line naming the file, status not 0, and no window.
{ head -n 12 "$demo"; printf 'f 0.0166'; } >"$WORK/cut.tml"
sed 's/^room .*/room 0123456789abcdef/' "$demo" >"$WORK/room.tml"
printf 'not a demo\n' >"$WORK/garbage.tml"
for bad in missing cut room garbage; do
  e2e_run "$dir" 20 --play "$WORK/$bad.tml"
  [ "$STATUS" != 0 ] || fail "$bad: exit status 0"
  [ "$(wc -l <"$WORK/out.txt")" = 1 ] || { fail "$bad: not one line:"; sed 's/^/   | /' "$WORK/out.txt"; }
  grep -qF "$WORK/$bad.tml" "$WORK/out.txt" || fail "$bad: the line does not name the file"
  note "$bad: $(cat "$WORK/out.txt")"
done
e2e_pass

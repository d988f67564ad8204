# The game heard: the committed tower run replayed in real time into OpenAL Soft's wave output, and
# the WAV file read back. The five jumps are five jump sounds, each within one frame of the step it
# was played on; the finish sound follows the finish; no footstep is heard while the player stands.
# The program's sound log (STAGEWALK_SOUND_LOG) says on which frame it played each cue and where the
# device's clock stood then; the wave output mixes in real time, so a loaded machine makes frames
# late, but a sound still starts where the clock stood when its frame played it. Then with OpenAL's
# null output and with no device at all: one line "Sound off: ...", and the same replay, cue for cue.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_xvfb
WAVPROBE="$(dirname "$XPROBE")/wavprobe"
GAME=$(e2e_game_copy)
DEMO=demos/tower_run.tml

# 22050 frames a second, as the sounds are made: no resampling, so a sound plays as its file holds it.
cat >"$WORK/record.conf" <<EOF
[general]
frequency = 22050
period_size = 128
[wave]
file = $WORK/run.wav
EOF

note "the tower run, replayed in real time into a WAV file"
ALSOFT_CONF="$WORK/record.conf" STAGEWALK_SOUND_LOG="$WORK/cues.txt" e2e_run "$GAME" 240 --play "$DEMO"
expect_status 0
grep -q '^Sound off' "$WORK/out.txt" && fail "the wave output did not open: $(cat "$WORK/out.txt")"
cp "$WORK/out.txt" "$WORK/out-wave.txt"
grep -q '^Demo ended: ' "$WORK/out.txt" || fail "the replay did not end"

# The demo: every frame one step (1/60 s), the space bar pressed on the five take-offs.
frames() { grep '^f ' "$GAME/$DEMO" | awk '{ print NR - 1, $0 }'; }
jump_frames=$(frames | awk '/k32=2/ { print $1 }' | xargs)
first_move=$(frames | awk '/k(87|65|83|68)=/ { print $1; exit }')
last_move=$(frames | awk '/k(87|65|83|68)=/ { last = $1 } END { print last }')
[ "$(echo "$jump_frames" | wc -w)" -eq 5 ] || fail "the demo has $(echo "$jump_frames" | wc -w) take-offs"

# What the game played: "frame F CUE LOUDNESS at CLOCK".
cue_frames() { awk -v cue="$1" '$1 == "frame" && $3 == cue { print $2 }' "$WORK/cues.txt" | xargs; }
cue_clocks() { awk -v cue="$1" '$1 == "frame" && $3 == cue { print $6 }' "$WORK/cues.txt"; }
[ "$(cue_frames jump)" = "$jump_frames" ] ||
  fail "jump cues on frames '$(cue_frames jump)', the take-offs are on '$jump_frames'"
# The run is timed in steps from the first moving one to the finish: the finish cue is on that step.
run_steps=$(sed -n 's/^Run finished in \([0-9.]*\) s.*/\1/p' "$WORK/out.txt" | awk '{ printf "%d", $1 * 60 + 0.5 }')
finish_frame=$(cue_frames finish)
[ -n "$run_steps" ] && [ -n "$finish_frame" ] &&
  [ $((finish_frame - first_move - run_steps)) -ge -1 ] && [ $((finish_frame - first_move - run_steps)) -le 1 ] ||
  fail "finish cue on frame '$finish_frame', the run of $run_steps steps from frame $first_move"
for frame in $(cue_frames footstep); do
  if [ "$frame" -lt "$first_move" ] || [ "$frame" -gt $((last_move + 15)) ]; then
    fail "a footstep on frame $frame, while the player stands (walking from $first_move to $last_move)"
  fi
done

# What the device played. One frame of the game is rate / 60 frames of the WAV file.
rate=$("$WAVPROBE" rate "$WORK/run.wav") || fail "the WAV file cannot be read"
frame=$((rate / 60))
# Where the sound $1 starts in the WAV file, one a line; $2: the length of its opening to look for.
onsets() { "$WAVPROBE" onsets "$WORK/run.wav" "$GAME/data/$1.wav" 0.6 "${2:-0.25}" | awk '{ print $1 }'; }
# Each clock in $2 (one a line) has an onset in $1 (one a line) at most a frame later; with "heard"
# as $3, each onset in $1 has a clock in $2 at most a frame before it. The mixer starts a sound at the
# next period it mixes, which the clock counts in.
matched() {
  awk -v frame="$frame" -v heard="${3:-}" 'NR == FNR { onset[n++] = $1; next }
    { clock[m++] = $1 }
    END {
      if (heard == "") { for (j = 0; j < m; j++) { ok = 0
          for (i = 0; i < n; i++) if (onset[i] - clock[j] >= 0 && onset[i] - clock[j] <= frame) ok = 1
          if (!ok) { print "no sound within a frame of clock " clock[j]; bad = 1 } }
      } else { for (i = 0; i < n; i++) { ok = 0
          for (j = 0; j < m; j++) if (onset[i] - clock[j] >= 0 && onset[i] - clock[j] <= frame) ok = 1
          if (!ok) { print "a sound at " onset[i] " that no cue played"; bad = 1 } } }
      exit bad }' <(echo "$1") <(echo "$2")
}
jumps=$(onsets jump)
[ "$(echo "$jumps" | grep -c .)" -eq 5 ] || fail "$(echo "$jumps" | grep -c .) jump sounds heard: $(echo $jumps)"
matched "$jumps" "$(cue_clocks jump)" || fail "a jump sound does not start within a frame of its step"
finishes=$(onsets finish)
matched "$finishes" "$(cue_clocks finish)" || fail "no finish sound at the finish"
[ "$(echo "$finishes" | head -n1)" -gt "$(echo "$jumps" | tail -n1)" ] 2>/dev/null ||
  fail "the finish sound does not follow the last jump"
# Every footstep heard is one the game played while walking; the ones it played are heard.
footsteps=$(onsets footstep)
[ "$(echo "$footsteps" | grep -c .)" -ge 10 ] || fail "only $(echo "$footsteps" | grep -c .) footsteps heard"
matched "$footsteps" "$(cue_clocks footstep)" heard || fail "a footstep heard that the game did not play"
# The wind starts with the game. The first landing comes at least ten paced frames (a sixth of a
# second) after it, so the wind's first eighth of a second is heard alone.
wind_clock=$(awk '$1 == "loaded" && $2 == "wind" { print $4 }' "$WORK/cues.txt")
matched "$(onsets wind 0.125)" "$wind_clock" || fail "the wind does not start with the game"
note "heard $(echo "$jumps" | grep -c .) jumps, $(echo "$footsteps" | grep -c .) footsteps, the finish at $(echo "$finishes" | head -n1) of $rate a second"
awk '$1 == "frame" { print $1, $2, $3, $4 }' "$WORK/cues.txt" >"$WORK/cues-wave.txt"

# No device: one line, and the replay (as fast as it draws) ends where the real-time one did, with
# the same cues on the same frames.
silent() {
  local drivers=$1 reason=$2
  note "ALSOFT_DRIVERS=$drivers"
  ALSOFT_DRIVERS=$drivers STAGEWALK_SOUND_LOG="$WORK/cues-$drivers.txt" e2e_run "$GAME" 120 --timedemo "$DEMO"
  expect_status 0
  [ "$(grep -c '^Sound off' "$WORK/out.txt")" -eq 1 ] || fail "$drivers: not one 'Sound off' line"
  grep -qxF "Sound off: $reason" "$WORK/out.txt" || fail "$drivers: $(grep '^Sound off' "$WORK/out.txt")"
  [ "$(grep '^Demo ended' "$WORK/out.txt")" = "$(grep '^Demo ended' "$WORK/out-wave.txt")" ] ||
    fail "$drivers: the replay ended elsewhere"
  awk '$1 == "frame" { print $1, $2, $3, $4 }' "$WORK/cues-$drivers.txt" | cmp -s - "$WORK/cues-wave.txt" ||
    fail "$drivers: the cues differ from the replay's with sound"
}
silent null "no audio device, only OpenAL's silent null output"
silent none "no audio device could be opened"

e2e_pass

# End to end: the real stagewalk-check on the shipped game folder and on scratch copies with one
# mistake each. Judges standard output and exit status.
# Usage: stagewalk_check_e2e.sh STAGEWALK_CHECK SOURCE_DIR
set -uo pipefail
CHECK=$(readlink -f "$1")
SRC=$(readlink -f "$2")
WORK=$(mktemp -d /tmp/stagewalk-check-e2e-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
FAILS=0
fail() { echo "FAIL: $*"; FAILS=$((FAILS + 1)); }

# run ARGS...: runs the checker, output in $OUT, exit status in $STATUS.
run() {
  OUT=$("$CHECK" "$@" 2>"$WORK/err.txt")
  STATUS=$?
}
expect_status() { [ "$STATUS" -eq "$1" ] || fail "exit status $STATUS, expected $1 (output: $OUT)"; }
expect_line() { grep -qxF -- "$1" <<<"$OUT" || fail "missing line: $1 (output: $OUT)"; }

echo "-- the shipped game, given as an argument and as the working directory"
run "$SRC/game"
expect_status 0
[ "$OUT" = "stagewalk-check: 0 errors, 0 warnings" ] || fail "shipped game printed: $OUT"
OUT=$(cd "$SRC/game" && "$CHECK")
STATUS=$?
expect_status 0

echo "-- a typo in a key of config.tml"
cp -r "$SRC/game" "$WORK/typo"
sed -i 's/! width 960/! widht 960/' "$WORK/typo/config.tml"
line=$(grep -n widht "$WORK/typo/config.tml" | cut -d: -f1)
run "$WORK/typo"
expect_status 0
expect_line "config.tml:$line: warning: unknown key 'widht' in group 'window' (did you mean 'width'?)"
expect_line "stagewalk-check: 0 errors, 1 warning"
run --strict "$WORK/typo"
expect_status 1

echo "-- a manifest that lists a missing image"
cp -r "$SRC/game" "$WORK/image"
rm "$WORK/image/data/sky.png"
entry=$(grep -n '! name sky$' "$WORK/image/data/assets.tml" | cut -d: -f1)
run "$WORK/image"
expect_status 1
expect_line "data/assets.tml:$((entry - 1)): error: bitmap 'sky': file 'data/sky.png' not found"
expect_line "stagewalk-check: 1 error, 0 warnings"

echo "-- each room rule broken on purpose: its message at the line that breaks it, and the exit status"
# name | lines appended to room2.obj | the statement whose last line is meant | status | message
while IFS='|' read -r name text at status message; do
  dir="$WORK/$name"
  cp -r "$SRC/game" "$dir"
  obj="$dir/data/room2.obj"
  [ -z "$(tail -c1 "$obj")" ] || echo >>"$obj"
  printf '%b' "$text" >>"$obj"
  line=$(grep -n "^$at " "$obj" | tail -n1 | cut -d: -f1)
  run "$dir"
  expect_status "$status"
  expect_line "data/room2.obj:$line: $message"
  [ "$status" -eq 1 ] || { run --strict "$dir"; expect_status 1; }
done <<'RULES'
object|o Crate\nv 50 0 50\nv 51 0 50\nv 51 0 51\nf -3 -2 -1\n|o|1|error: object 'Crate' is drawn but never collided with: the game collides with the room's first object only (join the objects into one)
flat|v 50 0 50\nv 51 0 50\nv 52 0 50\nf -3 -2 -1\n|f|1|error: this face has no area (its corners lie on one line once heights are rounded down to 0.001), so its normal is not a number: it is neither drawn nor collided with
huge|v 1e39 0 0\nv 50 0 50\nv 51 0 50\nf -3 -2 -1\n|f|1|error: a corner of this face is not a finite number: it cannot be drawn or collided with
down|v 50 0 50\nv 51 0 50\nv 51 0 51\nf -3 -2 -1\n|f|0|warning: this floor faces down (its corners run clockwise seen from above): the player stands on it, but it is invisible from above (reverse its corners)
RULES

echo "-- a room with no floor below the spawn point"
cp -r "$SRC/game" "$WORK/nofloor"
printf 'v 50 0 50\nv 50 0 51\nv 51 0 51\nf 1 2 3\n' >"$WORK/nofloor/data/room2.obj"
run "$WORK/nofloor"
expect_status 1
grep -qE '^data/room2\.obj: error: no floor below the spawn point \(.*\) in model units: the player falls until the respawn, for ever$' <<<"$OUT" ||
  fail "no spawn finding (output: $OUT)"

echo "-- a sky box and a backdrop grown past the far plane: warnings at face lines"
cp -r "$SRC/game" "$WORK/far"
for model in skybox:1.5 cylinder:2.5; do
  file="$WORK/far/data/${model%:*}.obj"
  awk -v k="${model#*:}" '$1 == "v" { $2 *= k; $4 *= k } 1' "$file" >"$file.new" && mv "$file.new" "$file"
done
run "$WORK/far"
expect_status 0
for what in "skybox:sky box" "cylinder:backdrop"; do
  file="data/${what%:*}.obj"
  found=$(grep -E "^$file:[0-9]+: warning: ${what#*:} corner \(.*\) lies [0-9.]+ from the eye, past the far plane at 200: what lies beyond is clipped to black$" <<<"$OUT" | head -n1)
  line=$(cut -d: -f2 <<<"$found")
  { [ -n "$found" ] && sed -n "${line}p" "$WORK/far/$file" | grep -q '^f '; } ||
    fail "no ${what#*:} warning at a face line (output: $OUT)"
done

echo "-- images the decoder refuses: the reason and the fix"
cp -r "$SRC/game" "$WORK/images"
entry=$(($(grep -n '! name sky$' "$WORK/images/data/assets.tml" | cut -d: -f1) - 1))
convert "$SRC/game/data/sky.png" PNG64:"$WORK/images/data/sky.png"
run "$WORK/images"
expect_status 1
expect_line "data/assets.tml:$entry: error: bitmap 'sky': Failed to load a bitmap in data/sky.png: it is a 16-bit PNG, and the decoder reads 8-bit PNGs only: save it as an 8-bit PNG"
convert "$SRC/game/data/sky.png" -interlace Plane "$WORK/images/data/sky.jpg"
sed -i 's/path sky\.png$/path sky.jpg/' "$WORK/images/data/assets.tml"
run "$WORK/images"
expect_line "data/assets.tml:$entry: error: bitmap 'sky': Failed to load a bitmap in data/sky.jpg: it is a progressive JPEG, which the decoder does not read: save it as a baseline (standard) JPEG or as an 8-bit PNG"

echo "-- arguments the checker cannot use"
for args in "--bogus" "$SRC/game $SRC/game" "$WORK/no-such-folder" "$SRC/game/config.tml"; do
  # shellcheck disable=SC2086
  run $args
  expect_status 2
  [ -z "$OUT" ] || fail "printed on standard output for '$args': $OUT"
  [ -s "$WORK/err.txt" ] || fail "no message on standard error for '$args'"
done
run --help
expect_status 0
grep -q "^Usage: stagewalk-check" <<<"$OUT" || fail "--help printed: $OUT"

if [ "$FAILS" -ne 0 ]; then echo "stagewalk_check_e2e: $FAILS failure(s)"; exit 1; fi
echo "stagewalk_check_e2e: passed"

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
grep -q "usage: stagewalk-check" <<<"$OUT" || fail "--help printed: $OUT"

if [ "$FAILS" -ne 0 ]; then echo "stagewalk_check_e2e: $FAILS failure(s)"; exit 1; fi
echo "stagewalk_check_e2e: passed"

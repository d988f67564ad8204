# Command lines the program does not take: the reason and the usage line on standard error, status 2,
# nothing on standard output and no window. It runs without a display, where reaching the window
# library would print "Failed to initialize glfw." instead. --help and --version print and end.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
dir=$(e2e_game_copy)
usage="Usage: stagewalk [--record FILE] [--play FILE] [--timedemo FILE] [--level NAME] [--list-levels] [--help] [--version]"
printf 'kept\n' >"$dir/mine.tml"

run() { (cd "$dir" && env -u DISPLAY timeout 20 "$STAGEWALK" "$@" >"$WORK/out.txt" 2>"$WORK/err.txt"); STATUS=$?; }

# arguments (split at spaces) | the reason
while IFS='|' read -r arguments reason; do
  # shellcheck disable=SC2086
  run $arguments
  expect_status 2
  [ ! -s "$WORK/out.txt" ] || fail "$arguments: standard output: $(cat "$WORK/out.txt")"
  [ "$(cat "$WORK/err.txt")" = "$(printf 'stagewalk: %s\n%s' "$reason" "$usage")" ] ||
    { fail "$arguments: standard error:"; sed 's/^/   | /' "$WORK/err.txt"; }
done <<'TABLE'
--bogus|unknown argument '--bogus'
--record mine.tml --fullscreen|unknown argument '--fullscreen'
--play|--play needs a FILE
--record=|--record needs a FILE
--timedemo --play mine.tml|--timedemo needs a FILE
--level|--level needs a NAME
TABLE
[ "$(cat "$dir/mine.tml")" = kept ] || fail "a refused --record changed its file"

run --version
expect_status 0
expect_output "stagewalk $(sed -n 's/^project(stagewalk VERSION \([0-9.]*\).*/\1/p' "$SRC/CMakeLists.txt")"
run --help
expect_status 0
[ "$(head -n 1 "$WORK/out.txt")" = "$usage" ] || fail "--help does not start with the usage line"
grep -q -- '--timedemo FILE' "$WORK/out.txt" || fail "--help does not list --timedemo"
e2e_pass

# Every command of docs/modding.md, in order, in a scratch root holding a copy of game/ and the real
# build and docs: each sh block runs, the text block after it is its last command's output, and the
# block that starts the game plays the worked example's room until the scene shows, then quits.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_xvfb
ROOT="$WORK/root"
mkdir -p "$ROOT"
cp -r "$SRC/game" "$ROOT/game"
ln -s "$(dirname "$STAGEWALK")" "$ROOT/build"
ln -s "$SRC/docs" "$ROOT/docs"

# Splits the guide into numbered blocks: NN.sh for commands, NN.text for the output shown after them.
awk -v dir="$WORK" '
  /^```(sh|text)$/ { kind = substr($0, 4); if (kind == "sh") n++; file = sprintf("%s/%02d.%s", dir, n, kind); next }
  /^```$/ { file = ""; next }
  file != "" { print > file }
' "$SRC/docs/modding.md"
blocks=$(ls "$WORK"/*.sh 2>/dev/null | wc -l)
[ "$blocks" -ge 4 ] || fail "found $blocks command blocks in docs/modding.md"

for script in "$WORK"/[0-9][0-9].sh; do
  note "$(basename "$script"): $(tr '\n' ';' <"$script")"
  if grep -q 'build/stagewalk$' "$script"; then
    : >"$WORK/out.txt"
    (cd "$ROOT" && exec bash "$script" >"$WORK/out.txt" 2>"$WORK/err.txt") &
    GAME_PID=$!
    if e2e_wait_line "Shader program loaded successfully." 20 && e2e_wait_window && e2e_wait_scene 20; then
      e2e_shot "$WORK/played.png"
      e2e_quit
      e2e_wait_exit 15
      expect_status 0
      expect_output "Application started." "Shader program loaded successfully." "Application terminated."
    fi
    continue
  fi
  output=$(cd "$ROOT" && bash "$script" 2>&1)
  expected="${script%.sh}.text"
  if [ -f "$expected" ] && [ "$output" != "$(cat "$expected")" ]; then
    fail "$(basename "$script") printed something else than the guide shows:"
    diff <(cat "$expected") <(echo "$output") | sed 's/^/   | /'
  fi
done
e2e_pass

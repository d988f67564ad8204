# Every command of docs/modding.md, in order, as a clone runs them right after the quick start: the
# guide's installed commands spelt the clone's way by its own table (game for the installed game
# folder, build/tools/stagewalk-check, ...), in a scratch root holding a copy of game/ and the real
# build and docs. Each sh block runs, the text block after it is its output, and the block that
# starts the game plays the worked example's room until the scene shows, then quits.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_xvfb
ROOT="$WORK/root"
mkdir -p "$ROOT"
cp -r "$SRC/game" "$ROOT/game"
ln -s "$(dirname "$STAGEWALK")" "$ROOT/build"
ln -s "$SRC/docs" "$ROOT/docs"

# The guide's table rows "| `installed` | `in a clone` |" under its marker line.
pairs=()
while IFS= read -r row; do
  pairs+=("$(cut -d'`' -f2 <<<"$row")" "$(cut -d'`' -f4 <<<"$row")")
done < <(sed -n '/clone spelling of each installed command/,/^$/p' "$SRC/docs/modding.md" | grep '^| `')
[ ${#pairs[@]} -ge 6 ] || fail "found ${#pairs[@]} words of the clone table in docs/modding.md"

blocks=$(e2e_guide_blocks "$SRC/docs/modding.md" "$WORK/blocks")
[ "$blocks" -ge 4 ] || fail "found $blocks command blocks in docs/modding.md"
e2e_run_guide "$WORK/blocks" "$ROOT" "${pairs[@]}"
e2e_pass

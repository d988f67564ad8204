#!/usr/bin/env bash
# stagewalk-level from the command line: the shipped map builds the committed room and its data byte
# for byte, a bad map gives exit status 1 and one line naming file, layer and tile and leaves the
# output files as they were, and a wrong command line gives 2.
# Usage: stagewalk_level_e2e.sh STAGEWALK_LEVEL SOURCE_DIR
set -u
level=$1
src=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$level" "$src/tools/levels/room2.tmx" "$dir/room2.obj" || fail "the shipped map does not build"
cmp -s "$dir/room2.obj" "$src/game/data/room2.obj" || fail "the shipped map does not give game/data/room2.obj"
cmp -s "$dir/room2.level.tml" "$src/game/data/room2.level.tml" ||
  fail "the shipped map does not give game/data/room2.level.tml"

printf '<map width="2" height="1"><layer name="height"><data>4,4</data></layer>
<layer name="shape"><data>0,2147483715</data></layer></map>' >"$dir/bad.tmx"
echo "before" >"$dir/out.obj"
echo "before" >"$dir/out.level.tml"
"$level" "$dir/bad.tmx" "$dir/out.obj" 2>"$dir/err"
status=$?
[ "$status" -eq 1 ] || fail "exit status $status for a bad map"
[ "$(wc -l <"$dir/err")" -eq 1 ] || fail "not one line: $(cat "$dir/err")"
grep -q "$dir/bad.tmx: layer 'shape', tile (1,0): tile 67 was flipped horizontally" "$dir/err" ||
  fail "message: $(cat "$dir/err")"
[ "$(cat "$dir/out.obj")" = before ] || fail "a bad map replaced the output"
[ "$(cat "$dir/out.level.tml")" = before ] || fail "a bad map replaced the level's data"
[ "$(ls "$dir" | wc -l)" -eq 6 ] || fail "files left behind: $(ls "$dir")"

"$level" "$dir/bad.tmx" 2>/dev/null
[ $? -eq 2 ] || fail "a missing argument is not a usage error"

# What the builder leaves out of a map it builds, it names on standard error; the room is named after
# the output.
printf '<map width="1" height="1"><layer name="height"><data>4</data></layer>
<objectgroup name="o"><object type="spawn" x="8" y="8"><point/></object><object/></objectgroup></map>' >"$dir/m.tmx"
"$level" "$dir/m.tmx" "$dir/mine.obj" 2>"$dir/err" || fail "a map with a note does not build: $(cat "$dir/err")"
[ "$(cat "$dir/err")" = "stagewalk-level: $dir/m.tmx: object layer 'o': 1 object left out of the level (levels read one object, the point of class 'spawn')" ] ||
  fail "note: $(cat "$dir/err")"
grep -qx "o mine" "$dir/mine.obj" || fail "the room is not named after the output"

# --add lists the level in the manifest beside the room, once (--add=TITLE the same), by the room's stem; a stem that names
# no level is refused before anything is written.
mkdir -p "$dir/g/data"
printf '@ tangly-ml-v-020\n{ list\n\t! workdir data\n}\n' >"$dir/g/data/assets.tml"
"$level" "$dir/m.tmx" "$dir/g/data/mine.obj" --add "My level" 2>"$dir/err" || fail "--add: $(cat "$dir/err")"
grep -qxF "stagewalk-level: $dir/g/data/assets.tml: level 'mine' (My level) listed" "$dir/err" ||
  fail "--add said: $(cat "$dir/err")"
expected=$(printf '%s\n' '@ tangly-ml-v-020' '{ list' '\t! workdir data' '}' '{ list' '\t! workdir data' '\t{ model' \
  '\t\t! name mine' '\t\t! path mine.obj' '\t}' '\t{ markup' '\t\t! name mineLevel' '\t\t! path mine.level.tml' \
  '\t}' '}' '{ levels' '\t{ level' '\t\t! name mine' '\t\t! title "My level"' '\t\t! room mine' \
  '\t\t! data mineLevel' '\t}' '}')
[ "$(cat "$dir/g/data/assets.tml")" = "$(printf "$expected")" ] || fail "the manifest: $(cat "$dir/g/data/assets.tml")"
cp "$dir/g/data/assets.tml" "$dir/listed.tml"
"$level" "$dir/m.tmx" "$dir/g/data/mine.obj" "--add=My level" 2>"$dir/err" || fail "--add= again: $(cat "$dir/err")"
cmp -s "$dir/g/data/assets.tml" "$dir/listed.tml" || fail "a second --add listed the level again"
grep -q "level 'mine' was listed already" "$dir/err" || fail "--add again said: $(cat "$dir/err")"
"$level" "$dir/m.tmx" "$dir/g/data/my.level.obj" --add "Mine" 2>"$dir/err"
[ $? -eq 1 ] && grep -q "'my.level' cannot name a level" "$dir/err" || fail "a bad level name: $(cat "$dir/err")"
[ ! -e "$dir/g/data/my.level.obj" ] || fail "a refused --add wrote the room"
echo "stagewalk-level: all checks passed"

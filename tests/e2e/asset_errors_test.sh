# Broken assets through the real program: each kind of failure reaches the player as
# "Asset loading error: " and the loader's text, then the terminate and final lines, status 255.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_xvfb

# Runs a broken copy made by the command in $2 (run inside the copy) and expects the loader text $3
# (a prefix when $4 is "prefix").
check() {
  local what=$1 break_it=$2 text=$3 mode=${4:-exact}
  note "$what"
  local dir
  dir=$(e2e_game_copy broken)
  (cd "$dir" && eval "$break_it")
  e2e_run "$dir" 30
  expect_status 255
  local lines
  lines=$(wc -l <"$WORK/out.txt")
  [ "$lines" -eq 5 ] || fail "$what: $lines output lines, expected 5"
  [ "$(sed -n 1p "$WORK/out.txt")" = "Application started." ] || fail "$what: first line"
  [ "$(sed -n 2p "$WORK/out.txt")" = "Shader program loaded successfully." ] || fail "$what: second line"
  local error
  error=$(sed -n 3p "$WORK/out.txt")
  if [ "$mode" = prefix ]; then
    case "$error" in "Asset loading error: $text"*) ;; *) fail "$what: got '$error'" ;; esac
  else
    [ "$error" = "Asset loading error: $text" ] || fail "$what: got '$error'"
  fi
  [ "$(sed -n 4p "$WORK/out.txt")" = "Application terminated." ] || fail "$what: fourth line"
  [ "$(sed -n 5p "$WORK/out.txt")" = "An error occurred, application terminated." ] || fail "$what: last line"
}

add_map() {  # adds a map entry "level" with path $1 to the manifest
  sed -i "s|^}\$|\t{ map\n\t\t! name level\n\t\t! path $1\n\t}\n}|" data/assets.tml
}

check "missing bitmap" "rm data/font16.png" "Failed to load a bitmap in data/font16.png"
check "undecodable bitmap" "echo 'not a png' > data/sky.png" "Failed to load a bitmap in data/sky.png"
check "missing model" "rm data/room2.obj" "Error loading a file in data/room2.obj:" prefix
check "missing map" "add_map nowhere.tmx" "Failed to open file in data/nowhere.tmx"
check "base64 layer" \
  "add_map level.tmx; printf '<map width=\"1\" height=\"1\"><layer name=\"ground\"><data encoding=\"base64\">AQAAAA==</data></layer></map>' > data/level.tmx" \
  "Error in layer 'ground': the encoding must be 'csv'!"
check "malformed TMX" "add_map level.tmx; printf '<map><layer name=\"a\"' > data/level.tmx" \
  "Malformed XML in data/level.tmx" prefix
check "TMX with a bad number" "add_map level.tmx; printf '<map width=\"wide\"/>' > data/level.tmx" \
  "Invalid number 'wide' in data/level.tmx" prefix
check "undecodable sound" "head -c 40 data/jump.wav > data/cut.wav; mv data/cut.wav data/jump.wav" \
  "Failed to load a sound in data/jump.wav:" prefix
check "missing sound" "rm data/wind.wav" "Failed to load a sound in data/wind.wav: no such file"
check "malformed OBJ" "printf 'v 0 0 0\nf 0 0 0\n' > data/cylinder.obj" \
  "Error loading a file in data/cylinder.obj:" prefix

e2e_pass

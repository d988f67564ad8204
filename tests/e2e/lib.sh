# Shared helpers for the end-to-end scripts: each test runs the real stagewalk in a scratch copy
# of game/, on a private Xvfb of its own (so tests can run side by side), drives it with xdotool
# and judges standard output, exit status, window geometry and screenshots.
# Usage in a test: source lib.sh; e2e_init "$@"; ... ; e2e_pass
set -uo pipefail

E2E_NAME=$(basename "$0" .sh)
E2E_FAILS=0

e2e_init() {
  STAGEWALK=$(readlink -f "$1")
  SRC=$(readlink -f "$2")
  XPROBE=$(readlink -f "${3:-$(dirname "$STAGEWALK")/tests/xprobe}")
  WORK=$(mktemp -d "/tmp/stagewalk-e2e-$E2E_NAME-XXXXXX")
  GAME_PID=""
  XVFB_PID=""
  trap e2e_cleanup EXIT
  # Sound goes to a device that writes it to nowhere: no sound card needed, nothing heard.
  export ALSOFT_DRIVERS=wave ALSOFT_CONF="$SRC/tests/data/silent-alsoft.conf"
}

e2e_cleanup() {
  if [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null; then kill -9 "$GAME_PID" 2>/dev/null; fi
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null; fi
  if [ "$E2E_FAILS" -eq 0 ] && [ -z "${E2E_KEEP:-}" ]; then rm -rf "$WORK"; else echo "kept $WORK"; fi
}

fail() { echo "FAIL: $*"; E2E_FAILS=$((E2E_FAILS + 1)); }
note() { echo "-- $*"; }

e2e_pass() {
  if [ "$E2E_FAILS" -ne 0 ]; then echo "$E2E_NAME: $E2E_FAILS failure(s)"; exit 1; fi
  echo "$E2E_NAME: passed"
  exit 0
}

# A private 24-bit X server; argument: screen size (default 1280x720).
e2e_xvfb() {
  local size=${1:-1280x720}
  local fdfile="$WORK/display"
  # -noreset: a server resets when its last client leaves and refuses connections meanwhile, which
  # would fail a program started right after the previous one ended.
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$fdfile" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 1 600); do [ -s "$fdfile" ] && break; sleep 0.05; done
  [ -s "$fdfile" ] || { fail "Xvfb did not start"; e2e_pass; }
  export DISPLAY=":$(head -n1 "$fdfile")"
}

# A scratch copy of the shipped game folder; prints its path.
e2e_game_copy() {
  local dir="$WORK/${1:-game}"
  rm -rf "$dir"
  cp -r "$SRC/game" "$dir"
  echo "$dir"
}

# Starts the program in folder $1 in the background, with the arguments after it; output in
# $WORK/out.txt, pid in GAME_PID.
e2e_start() {
  local dir=$1
  shift
  : >"$WORK/out.txt"
  (cd "$dir" && exec "$STAGEWALK" "$@" >"$WORK/out.txt" 2>"$WORK/err.txt") &
  GAME_PID=$!
}

# Runs the program in folder $1 to its end (at most $2 seconds, default 20), with the arguments
# after them; sets STATUS.
e2e_run() {
  local dir=$1 limit=${2:-20}
  shift 2 2>/dev/null || shift $#
  (cd "$dir" && exec timeout -k 2 "$limit" "$STAGEWALK" "$@" >"$WORK/out.txt" 2>"$WORK/err.txt")
  STATUS=$?
}

# Waits until the program has written a line equal to $1 (at most $2 seconds, default 20).
e2e_wait_line() {
  local line=$1 limit=${2:-20}
  local steps=$((limit * 20))
  for _ in $(seq 1 "$steps"); do
    grep -qxF -- "$line" "$WORK/out.txt" 2>/dev/null && return 0
    if [ -n "$GAME_PID" ] && ! kill -0 "$GAME_PID" 2>/dev/null; then break; fi
    sleep 0.05
  done
  grep -qxF -- "$line" "$WORK/out.txt" 2>/dev/null && return 0
  fail "no line '$line' within ${limit}s; output was:"; sed 's/^/   | /' "$WORK/out.txt"
  return 1
}

# Waits for the window titled "Application"; sets WID, focuses it and puts the pointer on it.
e2e_wait_window() {
  WID=""
  for _ in $(seq 1 600); do
    WID=$(xdotool search --name '^Application$' 2>/dev/null | head -n1)
    [ -n "$WID" ] && break
    sleep 0.05
  done
  [ -n "$WID" ] || { fail "no window titled Application"; return 1; }
  xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID"
  return 0
}

# Waits for the program to end (at most $1 seconds, default 15); sets STATUS (124 on timeout).
e2e_wait_exit() {
  local limit=${1:-15}
  local steps=$((limit * 20))
  for _ in $(seq 1 "$steps"); do
    kill -0 "$GAME_PID" 2>/dev/null || break
    sleep 0.05
  done
  if kill -0 "$GAME_PID" 2>/dev/null; then
    kill -9 "$GAME_PID" 2>/dev/null
    wait "$GAME_PID" 2>/dev/null
    STATUS=124
    GAME_PID=""
    return 1
  fi
  wait "$GAME_PID"
  STATUS=$?
  GAME_PID=""
  return 0
}

# Runs the command given after $1 until it succeeds, for at most $1 seconds. A loaded machine makes
# the game slower, so whatever a test waits for is polled for, never assumed after a fixed pause.
e2e_until() {
  local until=$((SECONDS + $1))
  shift
  while [ "$SECONDS" -lt "$until" ]; do
    "$@" && return 0
    sleep 0.1
  done
  "$@"
}

# A shortcut: holds modifier $1, taps key $2, and keeps the modifier down until the command after
# them (if any) shows the shortcut's effect; without a command it lets go after a short while.
# The game takes the key as a shortcut only when the modifier was down at an earlier frame's end,
# and a loaded machine can deliver both within one frame despite the pause between them; the key is
# then tapped again, the modifier still down, as a player would, but only after 10 s without the
# effect. Returns 1 when the effect never shows.
e2e_chord() {
  local modifier=$1 key=$2
  shift 2
  xdotool keydown "$modifier"
  sleep 0.2
  local shown=0
  if [ $# -eq 0 ]; then
    xdotool key "$key"
    sleep 0.2
  else
    shown=1
    for _ in 1 2 3; do
      xdotool key "$key"
      if e2e_until 10 "$@"; then
        shown=0
        break
      fi
    done
  fi
  xdotool keyup "$modifier"
  return $shown
}

# The game has left its loop: it printed its terminate line, or it is gone.
e2e_stopped() { grep -qxF "Application terminated." "$WORK/out.txt" 2>/dev/null || ! e2e_alive; }

e2e_quit() { e2e_chord Control_L q e2e_stopped || fail "left Ctrl + Q did not stop the game"; }

# Window geometry as WIDTHxHEIGHT.
e2e_window_size() {
  xdotool getwindowgeometry "$WID" | sed -n 's/^ *Geometry: *//p'
}

# Screenshot of the whole screen into $1.
e2e_shot() { import -window root "$1" 2>/dev/null; }

# Mean brightness (0..1) of an image or of a crop "WxH+X+Y" of it.
e2e_brightness() {
  local image=$1 crop=${2:-}
  if [ -n "$crop" ]; then
    convert "$image" -crop "$crop" +repage -colorspace Gray -format '%[fx:mean]' info:
  else
    convert "$image" -colorspace Gray -format '%[fx:mean]' info:
  fi
}

expect_status() {
  [ "$STATUS" = "$1" ] || fail "exit status $STATUS, expected $1"
}

# Compares the program's whole output with the lines given as arguments.
expect_output() {
  local expected
  expected=$(printf '%s\n' "$@")
  local actual
  actual=$(cat "$WORK/out.txt")
  if [ "$actual" != "$expected" ]; then
    fail "output differs"
    diff <(echo "$expected") <(echo "$actual") | sed 's/^/   | /'
  fi
}

expect_line() {
  grep -qxF -- "$1" "$WORK/out.txt" || fail "missing output line '$1'"
}

expect_no_line() {
  ! grep -qxF -- "$1" "$WORK/out.txt" || fail "unexpected output line '$1'"
}

# The float $1 compared with $2: "lt" or "gt".
expect_float() {
  local value=$1 op=$2 bound=$3 what=$4
  if ! awk -v v="$value" -v b="$bound" -v op="$op" 'BEGIN { exit !((op == "lt") ? (v < b) : (v > b)) }'; then
    fail "$what: $value is not $op $bound"
  fi
}

# Waits until the screen shows the scene (the window is black while loading); at most $1 seconds.
e2e_wait_scene() {
  local limit=${1:-20}
  local shot="$WORK/wait-scene.png"
  for _ in $(seq 1 $((limit * 4))); do
    e2e_shot "$shot"
    local level
    level=$(e2e_brightness "$shot")
    if awk -v v="$level" 'BEGIN { exit !(v > 0.03) }'; then return 0; fi
    kill -0 "$GAME_PID" 2>/dev/null || break
    sleep 0.25
  done
  fail "the scene never appeared (screen stays black)"
  return 1
}

# Fraction (0..1) of pixels that differ noticeably between two images of the same size, or between
# the same crop "WxH+X+Y" of both.
e2e_difference() {
  local a=$1 b=$2 crop=${3:-}
  if [ -n "$crop" ]; then
    convert "$1" -crop "$crop" +repage "$WORK/difference-a.png"
    convert "$2" -crop "$crop" +repage "$WORK/difference-b.png"
    a="$WORK/difference-a.png"
    b="$WORK/difference-b.png"
  fi
  local pixels count
  pixels=$(identify -format '%[fx:w*h]' "$a")
  count=$(compare -metric AE -fuzz 8% "$a" "$b" null: 2>&1 >/dev/null | sed 's/ .*//')
  awk -v c="$count" -v p="$pixels" 'BEGIN { printf "%.4f\n", c / p }'
}

# The middle of the window as a crop of a screenshot: the 3-D view without the HUD's text lines.
e2e_view_crop() {
  local geometry x y w h
  geometry=$(xdotool getwindowgeometry "$WID")
  read -r x y < <(echo "$geometry" | sed -n 's/^ *Position: *\([0-9-]*\),\([0-9-]*\).*/\1 \2/p')
  read -r w h < <(echo "$geometry" | sed -n 's/^ *Geometry: *\([0-9]*\)x\([0-9]*\).*/\1 \2/p')
  echo "${w}x$((h * 5 / 9))+${x}+$((y + h * 2 / 9))"
}

# Whether the view stays the same for 0.3 s: the player has landed and stands still.
e2e_still() {
  local crop
  crop=$(e2e_view_crop)
  e2e_shot "$WORK/still-a.png"
  sleep 0.3
  e2e_shot "$WORK/still-b.png"
  awk -v d="$(e2e_difference "$WORK/still-a.png" "$WORK/still-b.png" "$crop")" 'BEGIN { exit !(d < 0.001) }'
}

# Whether a new screenshot $2 differs from $1 in more than the fraction $3 of the view.
e2e_view_changed() {
  e2e_shot "$2"
  awk -v d="$(e2e_difference "$1" "$2" "$(e2e_view_crop)")" -v t="$3" 'BEGIN { exit !(d > t) }'
}

# True while the game process is still running.
e2e_alive() { kill -0 "$GAME_PID" 2>/dev/null; }

# Starts the game in folder $1 (with the arguments after it) and waits for its window and its
# first scene frame.
e2e_start_scene() {
  e2e_start "$@"
  e2e_wait_line "Shader program loaded successfully." 60 || return 1
  e2e_wait_window || return 1
  e2e_wait_scene 60
}

# Writes a config.tml into folder $1 from the statements given as the remaining arguments
# (one per line; the header is added).
e2e_config() {
  local dir=$1
  shift
  printf '@ tangly-ml-v-020\n' >"$dir/config.tml"
  printf '%s\n' "$@" >>"$dir/config.tml"
}

# Splits the guide $1 (markdown) into numbered blocks in folder $2: NN.sh for each sh block, NN.text
# for a text block after it (the output the guide shows for it). With $3 = marked, only the sh blocks
# right after a line that says "runs the next block" are taken. Prints how many sh blocks it wrote.
e2e_guide_blocks() {
  mkdir -p "$2"
  awk -v dir="$2" -v marked="${3:-}" '
    /runs the next block/ { take = 1; next }
    /^```(sh|text)$/ {
      kind = substr($0, 4)
      if (kind == "sh") { wanted = marked == "" || take; if (wanted) n++ }
      take = 0
      if (wanted) file = sprintf("%s/%02d.%s", dir, n, kind)
      next
    }
    /^```$/ { file = ""; next }
    file != "" { print > file }
  ' "$1"
  find "$2" -name '*.sh' | wc -l
}

# Runs the blocks that e2e_guide_blocks wrote into folder $1, in order, each by bash in folder $2,
# after replacing each FROM with TO of the pairs that follow (the guide's installed commands as a
# clone or a scratch root spells them). A block's output must be its text block; a block that
# starts the game (stagewalk --game, build/stagewalk) plays until the scene shows and quits.
e2e_run_guide() {
  local blocks=$1 dir=$2 script text output i
  shift 2
  local pairs=("$@")
  for script in "$blocks"/[0-9][0-9].sh; do
    text=$(cat "$script")
    for ((i = 0; i + 1 < ${#pairs[@]}; i += 2)); do text=${text//"${pairs[i]}"/"${pairs[i + 1]}"}; done
    printf '%s\n' "$text" >"$script.run"
    note "$(basename "$script"): $(tr '\n' ';' <"$script.run")"
    if grep -qE 'stagewalk --game|build/stagewalk' "$script.run"; then
      : >"$WORK/out.txt"
      (cd "$dir" && exec bash "$script.run" >"$WORK/out.txt" 2>"$WORK/err.txt") &
      GAME_PID=$!
      if e2e_wait_line "Shader program loaded successfully." 60 && e2e_wait_window && e2e_wait_scene 60; then
        e2e_shot "$blocks/played.png"
        e2e_quit
        e2e_wait_exit 15
        expect_status 0
        expect_output "Application started." "Shader program loaded successfully." "Application terminated."
      fi
      continue
    fi
    # A block with output shown is judged by it (the checker's status 1 is part of the story).
    output=$(cd "$dir" && bash "$script.run" 2>&1) || [ -f "${script%.sh}.text" ] || fail "$(basename "$script") failed: $output"
    if [ -f "${script%.sh}.text" ] && [ "$output" != "$(cat "${script%.sh}.text")" ]; then
      fail "$(basename "$script") printed something else than the guide shows:"
      diff "${script%.sh}.text" <(echo "$output") | sed 's/^/   | /'
    fi
  done
}

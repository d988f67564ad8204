# Files a player can trust, as the real programs meet them: whatever the fault, the program says so
# in a line naming the file and the reason, with a status that says so, never "Demo saved", and
# nothing outside is touched or lost. A link planted where the game or the builder writes is neither
# followed nor replaced; on a full disk (a 64 KiB tmpfs in a mount namespace of its own) a recording
# and a build leave the file they would replace as it was, and no fresh file beside it; a game that
# fails to start leaves its recording's file as it was; a pipe is refused at once where the game
# would have waited for a writer for ever; a 64 MiB hostile demo is refused within 300 MB.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_xvfb
dir=$(e2e_game_copy)
builder="$(dirname "$STAGEWALK")/tools/stagewalk-level"
map="$SRC/tools/levels/room2.tmx"
outside="$WORK/outside.txt"
printf 'the outside file\n' >"$outside"
full="$WORK/full"
mkdir -p "$full"

no_display() { (cd "$dir" && env -u DISPLAY "$@" >"$WORK/out.txt" 2>"$WORK/err.txt"); STATUS=$?; }
kept() { [ "$(cat "$1")" = kept ] || fail "$1 holds '$(cat "$1")', not what it held"; }
# Runs the bash script $1 in a mount namespace of its own, in the background, with a tmpfs at $full
# that holds kept.tml and kept.obj and has one 4 KiB page free; what is left there is listed into
# $WORK/left.txt, and the kept files copied out, before the namespace and its tmpfs go.
in_full_disk() {
  local unshare=(unshare -m)
  [ "$(id -u)" = 0 ] || unshare=(unshare -rm)
  export full dir builder map STAGEWALK WORK
  "${unshare[@]}" bash -c 'mount -t tmpfs -o size=64k tmpfs "$full" || exit
    printf "kept\n" >"$full/kept.tml"; printf "kept\n" >"$full/kept.obj"
    dd if=/dev/zero of="$full/filler" bs=4k count=13 2>/dev/null
    '"$1"'
    echo $? >"$WORK/status"
    ls -A "$full" >"$WORK/left.txt"; cp "$full/kept.tml" "$full/kept.obj" "$WORK/"' &
  GAME_PID=$!
}
left_alone() {
  wait "$GAME_PID"
  GAME_PID=""
  STATUS=$(cat "$WORK/status")
  [ "$(tr '\n' ' ' <"$WORK/left.txt")" = "filler kept.obj kept.tml " ] || fail "left on the disk: $(cat "$WORK/left.txt")"
  kept "$WORK/kept.tml"
  kept "$WORK/kept.obj"
}
# The recording has filled the free page: its fresh file, seen in the namespace, is 4 KiB long.
page_filled() { [ "$(cat /proc/"$GAME_PID"/root"$full"/kept.tml.tmp-* 2>/dev/null | wc -c)" -ge 4096 ]; }

link_demo() {
  ln -s "$outside" "$dir/link.tml"
  no_display "$STAGEWALK" --record link.tml
  [ -L "$dir/link.tml" ] || fail "the link was replaced"
}
link_build() {
  ln -s "$outside" "$WORK/room.obj"
  "$builder" "$map" "$WORK/room.obj" >"$WORK/out.txt" 2>"$WORK/err.txt"
  STATUS=$?
  [ -L "$WORK/room.obj" ] || fail "the link was replaced"
}
full_build() {
  in_full_disk '"$builder" "$map" "$full/kept.obj" >"$WORK/out.txt" 2>"$WORK/err.txt"'
  left_alone
}
full_record() {
  in_full_disk 'cd "$dir" && "$STAGEWALK" --record "$full/kept.tml" >"$WORK/out.txt" 2>"$WORK/err.txt"'
  e2e_wait_line "Shader program loaded successfully." 60 && e2e_wait_window && e2e_wait_scene 60
  xdotool keydown w
  e2e_until 60 page_filled || fail "the recording never filled the disk"
  xdotool keyup w
  e2e_quit
  left_alone
}
failed_start() {
  printf 'kept\n' >"$dir/mine.tml"
  mv "$dir/shaders/vertex.glsl" "$WORK/"
  e2e_run "$dir" 20 --record mine.tml
  mv "$WORK/vertex.glsl" "$dir/shaders/"
  kept "$dir/mine.tml"
  [ "$(ls "$dir" | grep -c '^mine.tml')" = 1 ] || fail "a fresh file was left: $(ls "$dir")"
}
pipe_demo() {
  mkfifo "$WORK/pipe.tml"
  e2e_run "$dir" 20 --play "$WORK/pipe.tml"
}
pipe_records() {
  mkfifo "$dir/records.tml"
  e2e_start_scene "$dir" && e2e_quit
  e2e_wait_exit 15
  rm "$dir/records.tml"
}
huge_demo() {
  { yes '{ a;' | tr -d '\n' | head -c 67108863; echo; } >"$WORK/huge.tml"  # one line of statements
  no_display /usr/bin/time -f %M -o "$WORK/peak" "$STAGEWALK" --play "$WORK/huge.tml"
  expect_float "$(tail -n 1 "$WORK/peak")" lt 300000 "the peak memory (KiB) of refusing it"
  note "refused at a peak of $(tail -n 1 "$WORK/peak") KiB"
}

# the fault (a function above) | the exit status | the line it prints
while IFS='|' read -r fault status line; do
  note "$fault: $line"
  "$fault"
  expect_status "$status"
  cat "$WORK/out.txt" "$WORK/err.txt" | grep -qxF -- "$line" ||
    { fail "$fault: no line '$line' in:"; cat "$WORK/out.txt" "$WORK/err.txt" | sed 's/^/   | /'; }
  ! grep -q '^Demo saved' "$WORK/out.txt" || fail "$fault: Demo saved"
done <<TABLE
link_demo|255|Demo link.tml: is a symbolic link, left as it is
link_build|1|stagewalk-level: cannot write $WORK/room.obj: is a symbolic link, left as it is
full_build|1|stagewalk-level: cannot write $full/kept.obj: No space left on device
full_record|1|Demo not saved: $full/kept.tml: No space left on device
failed_start|255|Demo not saved: mine.tml: the game stopped on an error
pipe_demo|255|Demo $WORK/pipe.tml: is a pipe, not a file
pipe_records|0|Records records.tml cannot be read (is a pipe, not a file); best times start empty and are not saved over it
huge_demo|255|Demo $WORK/huge.tml: not a demo (its first line is not 'stagewalk demo 2')
TABLE
[ "$(cat "$outside")" = "the outside file" ] || fail "the file a link points at was written"
e2e_pass

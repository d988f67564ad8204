# Broken and hostile files through the real program: damaged images, odd OBJ indices, malformed tile
# maps and strange markup. Each either ends through the error path (its cause, the terminate line,
# the final line, exit status 255) or loads and plays (quit with left Ctrl + Q, exit status 0); none
# may crash, hang or grow without bound.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_xvfb

CORPUS="$SRC/fuzz/corpus/bitmap"
TERMINATED=("Application terminated." "An error occurred, application terminated.")

# A fresh copy of game/ in $dir for each case.
fresh() { dir=$(e2e_game_copy); }

# Runs the program to its end; it must fail with exactly the given lines and status 255.
expect_failure() {
  e2e_run "$dir" 60
  expect_status 255
  expect_output "$@"
}

# Runs the program until the scene has been drawn (loading finished), then quits with left Ctrl + Q.
expect_plays() {
  e2e_start "$dir"
  # Reading a huge config takes a while in sanitizer builds; the window follows the first line.
  e2e_wait_line "Application started." 180 || { e2e_wait_exit 5; return; }
  e2e_wait_window || { e2e_wait_exit 5; return; }
  local shot="$WORK/shot.png" drawn=0
  for _ in $(seq 1 60); do
    e2e_shot "$shot"
    if awk -v b="$(e2e_brightness "$shot")" 'BEGIN { exit !(b > 0.002) }'; then drawn=1; break; fi
    kill -0 "$GAME_PID" 2>/dev/null || break
    sleep 0.5
  done
  [ $drawn -eq 1 ] || fail "the scene was never drawn"
  e2e_quit
  e2e_wait_exit 30
  expect_status 0
  expect_output "Application started." "Shader program loaded successfully." "Application terminated."
}

# Adds a map entry named level, read from data/level.tmx, to the manifest's list.
add_map_entry() {
  sed -i 's/^}$/\t{ map\n\t\t! name level\n\t\t! path level.tmx\n\t}\n}/' "$dir/data/assets.tml"
}

LOADED=("Application started." "Shader program loaded successfully.")

note "a PNG cut in half"
fresh
head -c 2000 "$SRC/game/data/font16.png" >"$dir/data/font16.png"
expect_failure "${LOADED[@]}" "Asset loading error: Failed to load a bitmap in data/font16.png" "${TERMINATED[@]}"

note "garbage bytes named .png"
fresh
head -c 5000 /dev/urandom >"$dir/data/font16.png"
expect_failure "${LOADED[@]}" "Asset loading error: Failed to load a bitmap in data/font16.png" "${TERMINATED[@]}"

note "a PNG header claiming 100000 x 100000 pixels: refused before any huge allocation"
fresh
{ head -c 16 "$SRC/game/data/font16.png"; printf '\x00\x01\x86\xa0\x00\x01\x86\xa0'; tail -c +25 "$SRC/game/data/font16.png"; } \
  >"$dir/data/font16.png"
(cd "$dir" && exec /usr/bin/time -f '%M' -o "$WORK/rss.txt" timeout -k 2 60 "$STAGEWALK" >"$WORK/out.txt" 2>"$WORK/err.txt")
STATUS=$?
expect_status 255
expect_output "${LOADED[@]}" "Asset loading error: Failed to load a bitmap in data/font16.png" "${TERMINATED[@]}"
rss_kb=$(tail -n 1 "$WORK/rss.txt")
[ "${rss_kb:-0}" -lt 1500000 ] || fail "peak memory ${rss_kb} kB for a refused image"

note "a corrupt deflate stream (the decoder would abort on an assertion)"
fresh
cp "$CORPUS/regress-png-bad-huffman-assert.png" "$dir/data/sky.png"
expect_failure "${LOADED[@]}" "Asset loading error: Failed to load a bitmap in data/sky.png" "${TERMINATED[@]}"

note "a JPEG segment of length 0 (the decoder would loop for ever)"
fresh
cp "$CORPUS/regress-jpeg-zero-length-segment.jpg" "$dir/data/crosshair.png"
expect_failure "${LOADED[@]}" "Asset loading error: Failed to load a bitmap in data/crosshair.png" "${TERMINATED[@]}"

note "OBJ faces with negative, out-of-range and missing indices: loads, missing attributes read as zero"
fresh
printf 'f -1/-1/-1 -2/-2/-2 -3/-3/-3\nf 999/1/1 1/999/1 1/1/999\nf -999/1/1 1/-999/1 1/1/-999\nf 1 2 3\nf 1//1 2//1 3//1\n' \
  >>"$dir/data/skybox.obj"
expect_plays

note "an OBJ file that is missing"
fresh
rm "$dir/data/cylinder.obj"
expect_failure "${LOADED[@]}" "Asset loading error: Error loading a file in data/cylinder.obj:Cannot open file [data/cylinder.obj]" \
  "${TERMINATED[@]}"

note "a tile map without sizes, names or values: loads"
fresh
add_map_entry
printf '<map><properties><property/><property name="x"/></properties><layer><data>1,2</data></layer><layer/></map>' \
  >"$dir/data/level.tmx"
expect_plays

note "a tile map size beyond int"
fresh
add_map_entry
printf '<map width="99999999999" height="2"><layer name="l"><data>1</data></layer></map>' >"$dir/data/level.tmx"
expect_failure "${LOADED[@]}" "Asset loading error: Number out of range '99999999999' in data/level.tmx (width)" \
  "${TERMINATED[@]}"

note "a tile map nested 5000 levels deep"
fresh
add_map_entry
{ printf '<map>'; for _ in $(seq 1 5000); do printf '<a>'; done; } >"$dir/data/level.tmx"
expect_failure "${LOADED[@]}" \
  "Asset loading error: Malformed XML in data/level.tmx: elements nested deeper than 2000 levels at byte 6002" \
  "${TERMINATED[@]}"

note "a tile map cut off inside an element"
fresh
add_map_entry
printf '<map width="2" height="1"><layer name="l"><data>1,2' >"$dir/data/level.tmx"
expect_failure "${LOADED[@]}" "Asset loading error: Malformed XML in data/level.tmx: unexpected end of data at byte 51" \
  "${TERMINATED[@]}"

note "config.tml with a byte-order mark: the header is not recognised"
fresh
{ printf '\xef\xbb\xbf'; cat "$SRC/game/config.tml"; } >"$dir/config.tml"
expect_failure "Header missing in config.tml!" "${TERMINATED[@]}"

note "the manifest with a byte-order mark"
fresh
{ printf '\xef\xbb\xbf'; cat "$SRC/game/data/assets.tml"; } >"$dir/data/assets.tml"
expect_failure "Application started." "Header missing in data/assets.tml!" "${TERMINATED[@]}"

note "config.tml with CR LF line ends: reads as usual"
fresh
sed 's/$/\r/' "$SRC/game/config.tml" >"$dir/config.tml"
expect_plays

note "NUL bytes in config.tml and the manifest: ordinary bytes"
fresh
{ cat "$SRC/game/config.tml"; printf '# a\0comment\n{ application\n\t{ window\n\t\t! n\0te v\0lue\n\t}\n}\n'; } >"$dir/config.tml"
printf '{ list\n\t! odd \0\0\0\n}\n' >>"$dir/data/assets.tml"
expect_plays

note "a 100 MB line in config.tml"
fresh
{ cat "$SRC/game/config.tml"; printf '{ application\n\t{ window\n\t\t! note '; head -c 100000000 /dev/zero | tr '\0' 'x'; printf '\n\t}\n}\n'; } \
  >"$dir/config.tml"
expect_plays

note "100 000 nested nodes in the manifest, after its entries"
fresh
{ cat "$SRC/game/data/assets.tml"; printf '{ list\n'; for _ in $(seq 1 100); do printf '{ n\n%.0s' $(seq 1 1000); done; } \
  >"$WORK/nested.tml"
mv "$WORK/nested.tml" "$dir/data/assets.tml"
expect_plays

e2e_pass

# The error paths of start-up through the real program: configuration header and version errors,
# a bad integer setting, a mouse sensitivity that is no positive number, a missing shader folder,
# and no display at all. Each prints its cause, then the terminate line, then the final line, and
# exits with status 255.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_xvfb

dir=$(e2e_game_copy)

note "config without a header"
printf '{ application\n}\n' >"$dir/config.tml"
e2e_run "$dir"
expect_status 255
expect_output "Header missing in config.tml!" "Application terminated." \
  "An error occurred, application terminated."

note "config with another version"
printf '@ tangly-ml-v-021\n' >"$dir/config.tml"
e2e_run "$dir"
expect_status 255
expect_output "Unknown version, only 'tangly-ml-v-020' is supported by the parser!" \
  "Application terminated." "An error occurred, application terminated."

note "a setting that is not an integer"
printf '@ tangly-ml-v-020\n{ application\n\t{ window\n\t\t! width abc\n\t}\n}\n' >"$dir/config.tml"
e2e_run "$dir"
expect_status 255
expect_output "Invalid integer 'abc' for window/width in config.tml" "Application terminated." \
  "An error occurred, application terminated."

note "a mouse sensitivity that is not a positive number"
printf '@ tangly-ml-v-020\n{ application\n\t{ controls\n\t\t! sensitivity 0\n\t}\n}\n' >"$dir/config.tml"
e2e_run "$dir"
expect_status 255
expect_output "Invalid positive number '0' for controls/sensitivity in config.tml (a number above 0, such as 1.5)" \
  "Application terminated." "An error occurred, application terminated."

note "no config at all: defaults, so the shaders are looked for in /"
rm "$dir/config.tml"
e2e_run "$dir"
expect_status 255
expect_output "Application started." "Failed to open vertex shader! (/vertex.glsl)" "Application terminated." \
  "An error occurred, application terminated."

note "shaders missing from the configured folder"
dir=$(e2e_game_copy)
rm "$dir/shaders/vertex.glsl"
e2e_run "$dir"
expect_status 255
expect_output "Application started." "Failed to open vertex shader! (shaders/vertex.glsl)" "Application terminated." \
  "An error occurred, application terminated."

note "a broken fragment shader"
dir=$(e2e_game_copy)
echo "this is not GLSL" >"$dir/shaders/fragment.glsl"
e2e_run "$dir"
expect_status 255
[ "$(sed -n 2p "$WORK/out.txt" | cut -c1-24)" = "Fragment shader error: 0" ] ||
  fail "fragment shader failure: $(sed -n 2p "$WORK/out.txt")"
[ "$(tail -n 1 "$WORK/out.txt")" = "An error occurred, application terminated." ] || fail "last line"

note "a manifest without a header"
dir=$(e2e_game_copy)
sed -i 1d "$dir/data/assets.tml"
e2e_run "$dir"
expect_status 255
expect_output "Application started." "Header missing in data/assets.tml!" "Application terminated." \
  "An error occurred, application terminated."

note "a manifest of another version"
dir=$(e2e_game_copy)
sed -i '1s/.*/@ tangly-ml-v-019/' "$dir/data/assets.tml"
e2e_run "$dir"
expect_status 255
expect_output "Application started." \
  "Unknown version, only 'tangly-ml-v-020' is supported by the parser!" "Application terminated." \
  "An error occurred, application terminated."

note "no display"
e2e_game_copy >/dev/null
(cd "$WORK/game" && env -u DISPLAY timeout 20 "$STAGEWALK" >"$WORK/out.txt" 2>"$WORK/err.txt")
STATUS=$?
expect_status 255
expect_output "Failed to initialize glfw." "Application terminated." \
  "An error occurred, application terminated."

e2e_pass

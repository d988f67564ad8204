# Settings as the window shows them: the configured size, "fullscreen true" (and any other text
# meaning false), and the canvas letterboxed where the fit puts it, with black bars measured in
# screenshots.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_xvfb 1280x720

properties=$'{ properties\n! assetpath data/assets.tml\n! shaderpath shaders\n}'

# Runs the game with the given config statements, waits for the scene, takes $WORK/$1.png, quits.
run_with() {
  local name=$1
  shift
  local dir
  dir=$(e2e_game_copy "$name")
  e2e_config "$dir" "$@"
  e2e_start_scene "$dir" || return 1
  sleep 0.5
  e2e_shot "$WORK/$name.png"
  SIZE=$(e2e_window_size)
  e2e_quit
  e2e_wait_exit 15
  expect_status 0
}

# Brightness of a strip of the screenshot (WxH+X+Y).
strip() { e2e_brightness "$WORK/$1.png" "$2"; }

note "window 800 x 600 with the default canvas"
run_with sized "{ application" "{ window" "! width 800" "! height 600" "}" "$properties" "}"
[ "$SIZE" = "800x600" ] || fail "window is $SIZE, expected 800x600"

note "fullscreen true"
run_with full "{ application" "{ window" "! fullscreen true" "}" "$properties" "}"
[ "$SIZE" = "1280x720" ] || fail "fullscreen window is $SIZE, expected 1280x720"

note "fullscreen yes reads as false"
run_with yes "{ application" "{ window" "! fullscreen yes" "}" "$properties" "}"
[ "$SIZE" = "640x480" ] || fail "window is $SIZE, expected the default 640x480"

note "bars left and right: window 1000 x 600, canvas 320 x 240 (scale 2.5, 800 wide at x 100)"
run_with wide "{ application" "{ window" "! width 1000" "! height 600" "}" \
  "{ canvas" "! width 320" "! height 240" "}" "$properties" "}"
expect_float "$(strip wide 98x600+0+0)" lt 0.002 "left bar"
expect_float "$(strip wide 98x600+902+0)" lt 0.002 "right bar"
expect_float "$(strip wide 6x600+100+0)" gt 0.02 "left edge of the canvas"
expect_float "$(strip wide 6x600+894+0)" gt 0.02 "right edge of the canvas"

note "bars top and bottom: window 640 x 720, canvas 320 x 240 (scale 2, 480 high at y 120)"
run_with tall "{ application" "{ window" "! width 640" "! height 720" "}" \
  "{ canvas" "! width 320" "! height 240" "}" "$properties" "}"
expect_float "$(strip tall 640x118+0+0)" lt 0.002 "top bar"
expect_float "$(strip tall 640x118+0+602)" lt 0.002 "bottom bar"
expect_float "$(strip tall 640x6+0+120)" gt 0.02 "top edge of the canvas"
expect_float "$(strip tall 640x6+0+594)" gt 0.02 "bottom edge of the canvas"

e2e_pass

# Quitting while a long manifest is still loading: the program stops its loop, waits for the loader
# thread to finish the whole list (loading cannot be cancelled), prints the terminate line and
# exits 0. The window is still black at the moment of quitting, so loading was under way.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_xvfb

dir=$(e2e_game_copy)
entries=${SHUTDOWN_ENTRIES:-3000}
{
  printf '@ tangly-ml-v-020\n{ list\n\t! workdir data\n'
  for i in $(seq 1 "$entries"); do printf '\t{ bitmap\n\t\t! name big%d\n\t\t! path font16.png\n\t}\n' "$i"; done
  printf '}\n'
} >"$dir/data/assets.tml"

note "left Ctrl + Q while $entries images of 192 x 192 load"
e2e_start "$dir"
e2e_wait_window || e2e_pass
e2e_wait_line "Shader program loaded successfully." 60
e2e_shot "$WORK/loading.png"
brightness=$(e2e_brightness "$WORK/loading.png")
expect_float "$brightness" lt 0.0001 "screen brightness while loading"
quit_at=$(date +%s.%N)
e2e_quit
e2e_wait_exit 240 || fail "the program did not end within 240 s of quitting"
ended_at=$(date +%s.%N)
expect_status 0
expect_output "Application started." "Shader program loaded successfully." "Application terminated."
note "ended $(awk -v a="$quit_at" -v b="$ended_at" 'BEGIN { printf "%.1f", b - a }') s after the quit keys"
[ -s "$WORK/err.txt" ] && { fail "standard error was not empty:"; sed 's/^/   | /' "$WORK/err.txt"; }

e2e_pass

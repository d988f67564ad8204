# The Debian package as a player gets it: made from this build by scripts/package, checked by lintian
# (no error, no warning or info the README does not explain) and appstreamcli, unpacked into a scratch
# root (no system install) and played through its launcher from an unrelated folder with a scratch
# HOME. The player's folder must get config.tml, keep an edited one across runs, and the launcher must
# pass the program's exit status through and refuse what it cannot do in one line. The guides'
# installed-package commands run as they stand against the unpacked package.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_xvfb

deb=$("$SRC/scripts/package" --from "$(dirname "$STAGEWALK")" --out "$WORK/package" 2>"$WORK/package.txt") \
  || { fail "scripts/package failed:"; sed 's/^/   | /' "$WORK/package.txt"; e2e_pass; }
depends=$(dpkg-deb -f "$deb" Depends)
for library in libglfw3 libglew libsoil libxcursor1 libopenal1 libsndfile1; do
  grep -q "$library" <<<"$depends" || fail "Depends has no $library: $depends"
done
# Libraries GLFW and OpenAL Soft open at run time, which dpkg-shlibdeps cannot see.
recommends=$(dpkg-deb -f "$deb" Recommends)
for library in libxrandr2 libxinerama1 libxi6 libxxf86vm1 libpulse0 libasound2; do
  grep -q "$library" <<<"$recommends" || fail "Recommends has no $library: $recommends"
done
command -v lintian >/dev/null || fail "lintian is not installed (scripts/install-deps)"
lintian -I "$deb" >"$WORK/lintian.txt" 2>&1 || fail "lintian failed: $(cat "$WORK/lintian.txt")"
grep -q '^E: ' "$WORK/lintian.txt" && fail "lintian errors: $(grep '^E: ' "$WORK/lintian.txt")"
# A Debug tree is built without fortify, which needs optimisation; every other tag must be explained.
unfortified='^$'
grep -q '^CMAKE_BUILD_TYPE:STRING=Debug$' "$(dirname "$STAGEWALK")/CMakeCache.txt" && unfortified='^hardening-no-fortify-functions$'
while read -r tag; do
  grep -qF "\`$tag\`" "$SRC/README.md" || fail "the README does not explain the lintian tag $tag"
done < <(sed -n 's/^[WI]: [^ ]* \([a-z0-9-]*\).*/\1/p' "$WORK/lintian.txt" | sort -u | grep -v "$unfortified")
root="$WORK/root"
dpkg-deb -x "$deb" "$root"
installed=$(cd "$root" && find . -printf '%p %s %m %T@\n' | sort)
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml >"$WORK/appstream.txt" 2>&1 \
  || fail "appstreamcli: $(cat "$WORK/appstream.txt")"
[ -z "$(find "$root/usr/share/games" -type f ! -perm 0644)" ] || fail "game files not 0644"
for file in usr/share/doc/stagewalk/copyright usr/share/doc/stagewalk/changelog.Debian.gz \
  usr/share/games/stagewalk/levels/room2.tmx usr/share/games/stagewalk/levels/level_tiles.png; do
  [ -f "$root/$file" ] || fail "the package lacks /$file"
done
grep -q 'zlib\|Zlib' "$root/usr/share/doc/stagewalk/copyright" || fail "the copyright file states no zlib licence"
# Every relative link of the installed pages leads to an installed file.
for page in "$root"/usr/share/doc/stagewalk/*.md "$root"/usr/share/doc/stagewalk/docs/*.md; do
  while read -r target; do
    case "$target" in "" | *:*) continue ;; esac
    [ -e "$(dirname "$page")/$target" ] || fail "${page#"$root"} links to $target, which is not installed"
  done < <(grep -o '\]([^)#]*' "$page" | cut -c3-)
done

desktop="$root/usr/share/applications/stagewalk.desktop"
exec_name=$(sed -n 's/^Exec=//p' "$desktop")
icon_name=$(sed -n 's/^Icon=//p' "$desktop")
[ -x "$root/usr/games/$exec_name" ] || fail "the desktop entry runs '$exec_name', which /usr/games lacks"
compgen -G "$root/usr/share/icons/hicolor/*/apps/$icon_name.png" >/dev/null \
  || fail "the desktop entry's icon '$icon_name' is not in the package"
doc="$root/usr/share/doc/stagewalk"
for link in $(grep -o '](\(docs/[^)#]*\))' "$doc/README.md" | sed 's/^](//; s/)$//' | sort -u); do
  [ -f "$doc/$link" ] || fail "the installed README links to $link, which the package lacks"
done
# What lives under build/, scripts/ or tests/ is a clone's alone: a paragraph naming it says so (the
# architecture page is about the source throughout, and says so at its top).
clone_only=$(awk -v RS= '/`(build|scripts|tests)\// && !/clone|the source/ { print FILENAME ": " substr($0, 1, 70) }' \
  "$doc/README.md" "$doc/docs/modding.md" "$doc/docs/levels.md")
[ -z "$clone_only" ] || fail "installed pages name a clone's paths without saying so: $clone_only"

STAGEWALK="$root/usr/games/stagewalk"
export HOME="$WORK/home"
unset XDG_DATA_HOME
mkdir -p "$HOME" "$WORK/elsewhere"
folder="$HOME/.local/share/stagewalk"

note "first run: the scene, left Ctrl + Q, and the player's folder"
e2e_start_scene "$WORK/elsewhere" && e2e_quit
e2e_wait_exit 15
expect_status 0
cmp -s "$folder/config.tml" "$root/usr/share/games/stagewalk/config.tml" || fail "no copy of config.tml in $folder"
[ -n "$(find "$folder/config.tml" -perm -u+w)" ] || fail "the player's config.tml is not writable"

note "second run, from an installed tree that moved: an edited config.tml is used and kept"
mv "$root" "$WORK/moved"
root="$WORK/moved"
STAGEWALK="$root/usr/games/stagewalk"
sed -i 's/! width 960/! width 800/' "$folder/config.tml"
cp "$folder/config.tml" "$WORK/edited.tml"
e2e_start_scene "$WORK/elsewhere" && {
  [ "$(e2e_window_size)" = 800x720 ] || fail "window is $(e2e_window_size), the edited config asks for 800x720"
  e2e_quit
}
e2e_wait_exit 15
expect_status 0
cmp -s "$folder/config.tml" "$WORK/edited.tml" || fail "the edited config.tml was changed"
[ "$installed" = "$(cd "$root" && find . -printf '%p %s %m %T@\n' | sort)" ] \
  || fail "running the game changed the installed files"

note "the programs: --help, --version and their manual pages, which name every option --help lists"
upstream=$(dpkg-deb -f "$deb" Version | sed 's/-[^-]*$//')
for program in games/stagewalk libexec/stagewalk/stagewalk bin/stagewalk-check bin/stagewalk-level; do
  name=${program##*/}
  out=$("$root/usr/$program" --help 2>&1) || fail "$name --help: status $?"
  grep -q "^Usage: $name " <<<"$out" || fail "$name --help printed: $out"
  [ "$("$root/usr/$program" --version 2>&1)" = "$name $upstream" ] || fail "$name --version: not '$name $upstream'"
  page=$(ls "$root"/usr/share/man/man[16]/"$name".[16].gz 2>/dev/null)
  [ -n "$page" ] || { fail "no manual page for $name"; continue; }
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man $name: $warnings"
  text=$(zcat "$page" | sed 's/\\-/-/g')
  for option in $(grep -oE -- '^ +(-[a-z], )?--?[a-z-]*' <<<"$out" | grep -oE -- '--?[a-z-]*'); do
    grep -qE -- "(^|[^a-z-])$option([^a-z-]|\$)" <<<"$text" || fail "$program --help lists $option, which man $name does not"
  done
done

note "what the launcher answers itself"
cp -r "$root" "$WORK/no-data" && rm -rf "$WORK/no-data/usr/share/games/stagewalk/data"
touch "$WORK/a-file"
mkdir -p "$WORK/broken/stagewalk" && printf 'not a settings file\n' >"$WORK/broken/stagewalk/config.tml"
mkdir -p "$WORK/not-a-game"
tab=$'\t'
# name | XDG_DATA_HOME | DISPLAY (- unset) | launcher | arguments | status | standard output must hold |
# the first line of standard error (- none)
while IFS='|' read -r name data display launcher arguments status holds first; do
  # shellcheck disable=SC2086
  out=$(cd / && if [ "$display" = - ]; then unset DISPLAY; fi &&
    XDG_DATA_HOME=$data timeout 20 "$WORK/$launcher" $arguments 2>"$WORK/err.txt")
  actual=$?
  [ "$actual" = "$status" ] || fail "$name: exit status $actual, expected $status"
  [ -z "$holds" ] || grep -qF -- "$holds" <<<"$out" || fail "$name: no '$holds' in: $out"
  if [ "$first" = - ]; then
    [ ! -s "$WORK/err.txt" ] || fail "$name: standard error: $(cat "$WORK/err.txt")"
  else
    [ "$(wc -l <"$WORK/err.txt")" = 1 ] && grep -qF -- "$first" "$WORK/err.txt" \
      || fail "$name: standard error is not one line with '$first': $(cat "$WORK/err.txt")"
  fi
done <<EOF
help names the player's folder||$DISPLAY|moved/usr/games/stagewalk|--help|0|$folder/config.tml|-
help lists the demo options||$DISPLAY|moved/usr/games/stagewalk|--help|0|--timedemo FILE|-
--play without a file||$DISPLAY|moved/usr/games/stagewalk|--play|2||--play needs a file
a missing demo, one line||$DISPLAY|moved/usr/games/stagewalk|--play /nowhere.tml|255|/nowhere.tml|-
unknown argument||$DISPLAY|moved/usr/games/stagewalk|--fullscreen|2||unknown argument '--fullscreen'
unwritable folder|$WORK/a-file|$DISPLAY|moved/usr/games/stagewalk||1||cannot write your folder
installed data missing||$DISPLAY|no-data/usr/games/stagewalk||1||is missing or incomplete
program's failure passed through|$WORK/broken|$DISPLAY|moved/usr/games/stagewalk||255|An error occurred, application terminated.|-
no display||-|moved/usr/games/stagewalk||255|Failed to initialize glfw.|no X display
no display, --game||-|moved/usr/games/stagewalk|--game $root/usr/share/games/stagewalk|255|Failed to initialize glfw.|no X display
--game without a folder||$DISPLAY|moved/usr/games/stagewalk|--game|2||--game needs a folder
--game, no such folder||$DISPLAY|moved/usr/games/stagewalk|--game $WORK/nowhere|1||no such folder
--game, not a game folder||$DISPLAY|moved/usr/games/stagewalk|--game $WORK/not-a-game|1||no config.tml there
levels listed without a display||-|moved/usr/games/stagewalk|--list-levels|0|tower${tab}The tower${tab}-|-
--level without a name||$DISPLAY|moved/usr/games/stagewalk|--level|2||--level needs a NAME
EOF
grep -qx 'not a settings file' "$WORK/broken/stagewalk/config.tml" || fail "a broken config.tml was replaced"

note "the installed tower run, replayed through the launcher from a relative path"
cp "$root/usr/share/games/stagewalk/demos/tower_run.tml" "$WORK/elsewhere/run.tml"
out=$(cd "$WORK/elsewhere" && timeout 120 "$STAGEWALK" --play run.tml 2>"$WORK/err.txt")
status=$?
[ "$status" = 0 ] || fail "--play run.tml: exit status $status: $out $(cat "$WORK/err.txt")"
grep -q '^Run finished in [0-9.]* s ' <<<"$out" || fail "the installed tower run did not finish: $out"
grep -q '^Demo ended: [0-9]* frames, player at ' <<<"$out" || fail "no Demo ended line: $out"

note "the guides' installed-package commands, against the package, with a HOME of their own"
export HOME="$WORK/guide-home" PATH="$root/usr/games:$root/usr/bin:$PATH"
mkdir -p "$HOME"
for guide in modding levels; do
  marked=$([ $guide = levels ] && echo marked)
  blocks=$(e2e_guide_blocks "$SRC/docs/$guide.md" "$WORK/$guide" $marked)
  [ "$blocks" -ge 1 ] || fail "no installed-package commands in docs/$guide.md"
  mkdir -p "$WORK/$guide/run"
  e2e_run_guide "$WORK/$guide" "$WORK/$guide/run" /usr/share/ "$root/usr/share/"
done
# --game plays the folder as it stands: the player's folder is never made.
[ ! -e "$HOME/.local/share/stagewalk" ] || fail "stagewalk --game made the player's folder"

note "a modder's level under a new name, from the installed files: listed, and played to its finish"
game="$WORK/levels/run/mygame"
grep -qxF "mine${tab}My level${tab}-" <(stagewalk --game "$game" --list-levels) || fail "the guide's level is not listed"
# A strip one tile wide from the spawn south to the finish, on the installed tile set.
cat >"$game/levels/dash.tmx" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<map version="1.10" orientation="orthogonal" width="1" height="8" tilewidth="32" tileheight="32" infinite="0">
 <tileset firstgid="1" name="level_tiles" tilewidth="32" tileheight="32" tilecount="80" columns="8">
  <image source="level_tiles.png" width="256" height="320"/>
 </tileset>
 <layer name="height" width="1" height="8"><data encoding="csv">8,8,8,8,8,8,8,8</data></layer>
 <layer name="shape" width="1" height="8"><data encoding="csv">0,0,0,0,0,0,74,74</data></layer>
 <objectgroup name="objects"><object id="1" type="spawn" x="16" y="16"><point/></object></objectgroup>
</map>
EOF
stagewalk-level "$game/levels/dash.tmx" "$game/data/dash.obj" --add "The dash" 2>"$WORK/err.txt" ||
  fail "stagewalk-level --add: $(cat "$WORK/err.txt")"
[ "$(stagewalk --game "$game" --list-levels | tail -n 1)" = "dash${tab}The dash${tab}-" ] || fail "the dash is not listed last"
e2e_start_scene "$WORK/elsewhere" --game "$game" --level dash && {
  xdotool keydown w
  for _ in $(seq 1 200); do grep -qE '^Run finished in [0-9]+\.[0-9]{2} s \(new best\)$' "$WORK/out.txt" && break; sleep 0.1; done
  xdotool keyup w
  grep -qE '^Run finished in [0-9]+\.[0-9]{2} s \(new best\)$' "$WORK/out.txt" || fail "the dash did not end at its finish"
  e2e_quit
}
e2e_wait_exit 15
expect_status 0
grep -qE "^dash${tab}The dash${tab}[0-9]+\.[0-9]{2}$" <(stagewalk --game "$game" --list-levels) || fail "the dash's best is not kept"
e2e_pass

# The Debian package as a player gets it: made from this build by scripts/package, unpacked into a
# scratch root (no system install) and played through its launcher from an unrelated folder with a
# scratch HOME. The player's folder must get config.tml, keep an edited one across runs, and the
# launcher must pass the program's exit status through and refuse what it cannot do in one line.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_xvfb

deb=$("$SRC/scripts/package" --from "$(dirname "$STAGEWALK")" --out "$WORK/package" 2>"$WORK/package.txt") \
  || { fail "scripts/package failed:"; sed 's/^/   | /' "$WORK/package.txt"; e2e_pass; }
depends=$(dpkg-deb -f "$deb" Depends)
for library in libglfw3 libglew libsoil; do
  grep -q "$library" <<<"$depends" || fail "Depends has no $library: $depends"
done
root="$WORK/root"
dpkg-deb -x "$deb" "$root"
installed=$(cd "$root" && find . -printf '%p %s %m %T@\n' | sort)

desktop="$root/usr/share/applications/stagewalk.desktop"
exec_name=$(sed -n 's/^Exec=//p' "$desktop")
icon_name=$(sed -n 's/^Icon=//p' "$desktop")
[ -x "$root/usr/bin/$exec_name" ] || fail "the desktop entry runs '$exec_name', which the package lacks"
compgen -G "$root/usr/share/icons/hicolor/*/apps/$icon_name.png" >/dev/null \
  || fail "the desktop entry's icon '$icon_name' is not in the package"
doc="$root/usr/share/doc/stagewalk"
for link in $(grep -o '](\(docs/[^)#]*\))' "$doc/README.md" | sed 's/^](//; s/)$//' | sort -u); do
  [ -f "$doc/$link" ] || fail "the installed README links to $link, which the package lacks"
done

STAGEWALK="$root/usr/bin/stagewalk"
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
STAGEWALK="$root/usr/bin/stagewalk"
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

note "what the launcher answers itself"
version=$(dpkg-deb -f "$deb" Version)
cp -r "$root" "$WORK/no-data" && rm -rf "$WORK/no-data/usr/share/games/stagewalk/data"
touch "$WORK/a-file"
mkdir -p "$WORK/broken/stagewalk" && printf 'not a settings file\n' >"$WORK/broken/stagewalk/config.tml"
# name | XDG_DATA_HOME | launcher | argument | status | standard output must hold | lines on standard error
while IFS='|' read -r name data launcher argument status holds errors; do
  out=$(cd / && XDG_DATA_HOME=$data timeout 20 "$WORK/$launcher" ${argument:+"$argument"} 2>"$WORK/err.txt")
  actual=$?
  [ "$actual" = "$status" ] || fail "$name: exit status $actual, expected $status"
  [ -z "$holds" ] || grep -qF -- "$holds" <<<"$out" || fail "$name: no '$holds' in: $out"
  [ "$(wc -l <"$WORK/err.txt")" = "$errors" ] || fail "$name: standard error: $(cat "$WORK/err.txt")"
done <<EOF
version||moved/usr/bin/stagewalk|--version|0|stagewalk $version|0
help names the player's folder||moved/usr/bin/stagewalk|--help|0|$folder/config.tml|0
unknown argument||moved/usr/bin/stagewalk|--fullscreen|2||1
unwritable folder|$WORK/a-file|moved/usr/bin/stagewalk||1||1
installed data missing||no-data/usr/bin/stagewalk||1||1
program's failure passed through|$WORK/broken|moved/usr/bin/stagewalk||255|An error occurred, application terminated.|0
EOF
grep -qx 'not a settings file' "$WORK/broken/stagewalk/config.tml" || fail "a broken config.tml was replaced"
e2e_pass

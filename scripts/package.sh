#!/bin/sh
# Builds the Debian package and checks it:  scripts/package.sh [--install]
#   1. a Release build in build-package/ and `cpack -G DEB`, whose Depends come from the
#      libraries the binaries really link (dpkg-shlibdeps);
#   2. its file list: the launcher, the game, the stage checker, the menu entry, metainfo,
#      icons, manual pages, documents, and every file of data/ below share/games;
#   3. its Depends: the libraries the game links, found by dpkg-shlibdeps;
#   4. lintian: any error fails the script;
#   5. with --install (as root): `apt-get install ./<package>.deb`, the installed launcher
#      started from the PATH under Xvfb with a scratch home, screenshots of the menu and of
#      the first stage (build-package/installed-*.png), Escape and its exit status, the
#      player's folder, then `apt-get remove`.
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)
try_install=0
[ "${1:-}" = "--install" ] && try_install=1
./scripts/install-deps.sh package

BUILD=${BUILD_DIR:-build-package}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTUMBRIX_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j 2
rm -f "$BUILD"/tumbrix-velquor_*.deb
(cd "$BUILD" && cpack -G DEB)
deb=$(ls "$BUILD"/tumbrix-velquor_*.deb)
echo "package: $deb ($(du -k "$deb" | cut -f1) KiB)"

fail() { echo "package: $*" >&2; exit 1; }

# The file list.
dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./||' | grep -v '/$' | sort >"$BUILD/package-files.txt"
id=org.tumbrixvelquor.TumbrixVelquor
expected="usr/games/tumbrix-velquor usr/games/tumbrix-velquor-stagecheck usr/lib/games/tumbrix-velquor/tumbrix
usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml
usr/share/man/man6/tumbrix-velquor.6.gz usr/share/man/man6/tumbrix-velquor-stagecheck.6.gz
usr/share/doc/tumbrix-velquor/copyright usr/share/doc/tumbrix-velquor/changelog.gz
usr/share/doc/tumbrix-velquor/README.md usr/share/doc/tumbrix-velquor/stages.md usr/share/doc/tumbrix-velquor/credits.md"
for size in 16 24 32 48 64 128 256; do
    expected="$expected usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
done
for f in $(cd data && find . -type f ! -name DoNotReadMe.txt ! -name hs.txt ! -name '*.tmp' ! -name '.*' | sed 's|^\./||'); do
    expected="$expected usr/share/games/tumbrix-velquor/$f"
done
for f in $expected; do
    grep -qx "$f" "$BUILD/package-files.txt" || fail "$f is missing from the package"
done
extra=$(printf '%s\n' $expected | sort | comm -13 - "$BUILD/package-files.txt")
[ -z "$extra" ] || fail "unexpected files in the package: $extra"
echo "package: $(wc -l <"$BUILD/package-files.txt") files, as expected (list in $BUILD/package-files.txt)"

# The dependencies.
depends=$(dpkg-deb -f "$deb" Depends)
echo "package: Depends: $depends"
echo "package: Recommends: $(dpkg-deb -f "$deb" Recommends)"
for lib in libc6 libstdc++6 libgl1 libglu1-mesa libglut3.12 libfreeimage3 libfreetype6 libpocofoundation \
    libopenal1 libsndfile1 libegl1 libgl1-mesa-dri libxrandr2; do
    echo "$depends" | grep -q "$lib" || fail "Depends does not name $lib"
done

# Lintian, as Debian's archive would run it.
lintian --fail-on error --info "$deb" | tee "$BUILD/lintian.txt" || fail "lintian reports errors (see $BUILD/lintian.txt)"
echo "package: lintian: $(grep -c '^E:' "$BUILD/lintian.txt" || true) errors, $(grep -c '^W:' "$BUILD/lintian.txt" || true) warnings"

[ "$try_install" = 1 ] || exit 0

# Installed for real, played from the menu entry's command, removed again.
[ "$(id -u)" -eq 0 ] || fail "--install needs root"
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$ROOT/$deb"
scratch=$(mktemp -d)
cleanup() {
    [ -n "${game_pid:-}" ] && kill "$game_pid" 2>/dev/null || true
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT INT TERM
Xvfb :93 -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
sleep 2
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/$id.desktop)
mkdir -p "$scratch/home" "$scratch/elsewhere"
(cd "$scratch/elsewhere" && env -u XDG_DATA_HOME HOME="$scratch/home" DISPLAY=:93 LIBGL_ALWAYS_SOFTWARE=1 \
    PATH="/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games" $exec_line) >"$scratch/game.log" 2>&1 &
game_pid=$!
DISPLAY=:93 xdotool search --sync --name "Tumbrix Velquor" >/dev/null
sleep "${WAIT:-6}"
DISPLAY=:93 xwd -root -silent -out "$scratch/shot.xwd"
/usr/bin/python3 tools/screens/xwd2png.py "$scratch/shot.xwd" "$BUILD/installed-menu.png"
DISPLAY=:93 xdotool search --name "Tumbrix Velquor" windowfocus --sync key Return
sleep 4
DISPLAY=:93 xwd -root -silent -out "$scratch/shot.xwd"
/usr/bin/python3 tools/screens/xwd2png.py "$scratch/shot.xwd" "$BUILD/installed-play.png"
echo "package: screenshots of the installed game in $BUILD/installed-menu.png and installed-play.png"
DISPLAY=:93 xdotool search --name "Tumbrix Velquor" windowfocus --sync key Escape
status=0
wait "$game_pid" || status=$?
game_pid=""
echo "package: the installed game ended with status $status"
links=$(find "$scratch/home/.local/share/tumbrix-velquor/data" -type l | wc -l)
echo "package: $links links in the player's folder $scratch/home/.local/share/tumbrix-velquor/data"
DEBIAN_FRONTEND=noninteractive apt-get remove -y -q tumbrix-velquor
[ "$status" -eq 0 ] || { cat "$scratch/game.log"; fail "the installed game did not end with status 0"; }
[ "$links" -gt 0 ] || fail "the launcher made no links"

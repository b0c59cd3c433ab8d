#!/bin/sh
# Builds the Debian package and checks it:  scripts/package.sh [--install]
#   1. a Release build in build-package/ and `cpack -G DEB`, whose Depends come from the
#      libraries the binaries really link (dpkg-shlibdeps);
#   2. its file list: the launcher, the game, the stage checker, the menu entry, metainfo,
#      icons, manual pages, documents, and every file of data/ below share/games;
#   3. its Depends: the libraries the game links, found by dpkg-shlibdeps;
#   4. lintian: any error, and any warning that the package does not override with a reason
#      (packaging/lintian-overrides), fails the script;
#   5. with --install (as root): `apt-get install ./<package>.deb`, the installed launcher
#      started from the PATH under a private Xvfb with a scratch home, screenshots of the menu
#      and of the first stage (build-package/installed-*.png), Escape and its exit status, the
#      player's folder; the package is purged again on every way out, a failure included.
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
usr/share/doc/tumbrix-velquor/README.md usr/share/doc/tumbrix-velquor/stages.md usr/share/doc/tumbrix-velquor/credits.md
usr/share/lintian/overrides/tumbrix-velquor"
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

# Lintian, as Debian's archive would run it, the overridden hints shown with their reasons.
# The verdict is read from its report: with --show-overrides, lintian's --fail-on counts the
# overridden hints too.
lintian --fail-on none --show-overrides --info "$deb" >"$BUILD/lintian.txt" 2>&1 ||
    { cat "$BUILD/lintian.txt"; fail "lintian did not run to its end"; }
cat "$BUILD/lintian.txt"
errors=$(grep -c '^E:' "$BUILD/lintian.txt" || true)
warnings=$(grep -c '^W:' "$BUILD/lintian.txt" || true)
echo "package: lintian: $errors errors, $warnings warnings, $(grep -c '^O:' "$BUILD/lintian.txt" || true) overridden"
[ "$errors" -eq 0 ] && [ "$warnings" -eq 0 ] ||
    fail "lintian reports errors or warnings without an override (see $BUILD/lintian.txt)"

[ "$try_install" = 1 ] || exit 0

# Installed for real, played from the menu entry's command, removed again.
[ "$(id -u)" -eq 0 ] || fail "--install needs root"
scratch=$(mktemp -d)
apt_get() {
    # Another apt-get or dpkg on the machine holds the lock for a while: wait for it.
    DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 -y -q "$@"
}
installed() {
    case $(dpkg-query -W -f='${Status}' tumbrix-velquor 2>/dev/null) in
        "" | *" not-installed") return 1 ;;
        *) return 0 ;;
    esac
}
# Runs on every way out, a failed step included: ends the game and the X server (a key left
# held on that server goes with it) and purges the package, so the machine that ran the check
# is left without it. The script's status is kept, or set to 1 when the purge fails.
cleanup() {
    status=$?
    set +e
    trap - EXIT
    if [ -n "${game_pid:-}" ]; then
        kill "$game_pid" 2>/dev/null
        wait "$game_pid" 2>/dev/null
    fi
    [ "$status" -eq 0 ] || [ ! -s "$scratch/game.log" ] || { echo "package: the game's console:" >&2; cat "$scratch/game.log" >&2; }
    if [ -n "${xvfb_pid:-}" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$scratch"
    if installed; then
        apt_get purge tumbrix-velquor || { echo "package: tumbrix-velquor could not be removed" >&2; status=1; }
        ! installed || { echo "package: tumbrix-velquor is still installed" >&2; status=1; }
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
apt_get install "$ROOT/$deb"

# A private X server on a display number that no other server has, so that a server left
# from an earlier run (perhaps with a key held down) is never the one played on.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$scratch/display" >/dev/null 2>&1 &
xvfb_pid=$!
tries=0
until [ -n "$(sed -n 1p "$scratch/display")" ]; do
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start"
    tries=$((tries + 1))
    [ "$tries" -lt 150 ] || fail "Xvfb did not take connections within 15 s"
    sleep 0.1
done
display=:$(sed -n 1p "$scratch/display")
x() { DISPLAY=$display xdotool "$@"; }

exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/$id.desktop)
mkdir -p "$scratch/home" "$scratch/elsewhere"
(cd "$scratch/elsewhere" && exec env -u XDG_DATA_HOME HOME="$scratch/home" DISPLAY="$display" LIBGL_ALWAYS_SOFTWARE=1 \
    PATH="/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games" $exec_line) >"$scratch/game.log" 2>&1 &
game_pid=$!

# The game's window, waited for as long as the game runs (60 s at most).
window=""
tries=0
while [ -z "$window" ]; do
    kill -0 "$game_pid" 2>/dev/null || fail "the installed game ended before its window appeared"
    tries=$((tries + 1))
    [ "$tries" -lt 600 ] || fail "the installed game showed no window within 60 s"
    sleep 0.1
    window=$(x search --name "^Tumbrix Velquor" 2>/dev/null | head -n 1)
done

# Focuses the game's window, then types the key at the focus through XTEST. Typed at the
# window itself (`key` after a window search), the release goes to the window by id: when the
# press has ended the game, that window is gone, xdotool dies of BadWindow between press and
# release, and the server keeps the key held.
press() {
    x windowfocus --sync "$window" && x key "$1"
}
shot() {
    DISPLAY=$display xwd -root -silent -out "$scratch/shot.xwd"
    /usr/bin/python3 tools/screens/xwd2png.py "$scratch/shot.xwd" "$BUILD/$1"
}

sleep "${WAIT:-6}"
shot installed-menu.png
press Return
sleep 4
shot installed-play.png
echo "package: screenshots of the installed game in $BUILD/installed-menu.png and installed-play.png"

# Escape ends the game; its exit status, waited for 30 s at most.
press Escape
tries=0
while kill -0 "$game_pid" 2>/dev/null && [ "$tries" -lt 300 ]; do
    tries=$((tries + 1))
    sleep 0.1
done
kill -0 "$game_pid" 2>/dev/null && fail "the installed game still runs 30 s after Escape"
game_status=0
wait "$game_pid" || game_status=$?
game_pid=""
echo "package: the installed game ended with status $game_status"
links=$(find "$scratch/home/.local/share/tumbrix-velquor/data" -type l | wc -l)
echo "package: $links links in the player's folder $scratch/home/.local/share/tumbrix-velquor/data"
[ "$game_status" -eq 0 ] || fail "the installed game did not end with status 0"
[ "$links" -gt 0 ] || fail "the launcher made no links"

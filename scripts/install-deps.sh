#!/bin/sh
# Installs the Debian packages of the named lists:  scripts/install-deps.sh [list...]
#   play     building and running the game (scripts/play.sh)
#   test     the test command on top of that (scripts/test.sh, robustness.sh, killtest.sh)
#   fuzz     the libFuzzer builds (scripts/fuzz.sh)
#   bench    the benchmarks (scripts/bench*.sh)
#   valgrind the valgrind session
#   data     regenerating data/ (scripts/generate-data.sh)
#   package  building and checking the .deb (scripts/package.sh)
# Without a list, every list. Idempotent: only packages that are missing go to apt-get.
set -eu

# The game's libraries, the toolchain that builds it, and the sound server client libraries
# that OpenAL Soft opens at run time (it only recommends them, and recommends are not installed
# here), so the game plays through PulseAudio, PipeWire or ALSA rather than silently; SDL2 for
# gamepads only (its controller database and hot-plug; GLUT keeps the window).
PLAY="
build-essential cmake ninja-build pkg-config
libgl-dev libglu1-mesa-dev libgl1-mesa-dri libx11-dev libxrandr-dev libegl-dev libegl-mesa0
freeglut3-dev
libfreeimage-dev
libfreetype-dev
libpoco-dev
libopenal-dev libopenal1 libpulse0 libasound2
libsndfile1-dev
libsdl2-dev
"
DATA="python3 python3-numpy python3-pil fonts-comic-neue"
# The tests: GoogleTest, virtual X servers and their tools, a second 3DS reader and writer,
# the fonts and generators the data tests compare against, a private sound server with its
# recorder, and the validators of the desktop entry and the AppStream metadata.
TEST="
$PLAY $DATA
libgtest-dev googletest
xvfb xdotool x11-apps x11-utils
lib3ds-dev assimp-utils
fonts-dejavu-core
pulseaudio pulseaudio-utils
desktop-file-utils appstream
"
FUZZ="$PLAY clang libclang-rt-14-dev xvfb"
# neverball: a peer whose frames are timed beside ours, through the same Mesa frame-time dump.
BENCH="$PLAY libbenchmark-dev lib3ds-dev assimp-utils xvfb x11-apps xdotool linux-perf python3 neverball"
VALGRIND="$TEST valgrind"
PACKAGE="$PLAY dpkg-dev file lintian desktop-file-utils appstream xvfb xdotool x11-apps python3 python3-pil"

[ $# -gt 0 ] || set -- play data test fuzz bench valgrind package
PACKAGES=""
for list in "$@"; do
    case $list in
        play) PACKAGES="$PACKAGES $PLAY" ;;
        data) PACKAGES="$PACKAGES $DATA" ;;
        test) PACKAGES="$PACKAGES $TEST" ;;
        fuzz) PACKAGES="$PACKAGES $FUZZ" ;;
        bench) PACKAGES="$PACKAGES $BENCH" ;;
        valgrind) PACKAGES="$PACKAGES $VALGRIND" ;;
        package) PACKAGES="$PACKAGES $PACKAGE" ;;
        *) echo "install-deps: no package list named '$list'" >&2; exit 2 ;;
    esac
done

missing=""
for p in $PACKAGES; do
    case " $missing " in *" $p "*) continue ;; esac
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -z "$missing" ]; then
    echo "install-deps: all packages present ($*)"
    exit 0
fi

echo "install-deps: installing$missing"
if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
elif command -v sudo >/dev/null 2>&1; then
    SUDO="sudo"
else
    echo "install-deps: need root or sudo to install:$missing" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
# Another apt (an unattended upgrade, a second script) may hold dpkg's lock for a while.
LOCK_WAIT="-o DPkg::Lock::Timeout=900"
# shellcheck disable=SC2086
$SUDO apt-get $LOCK_WAIT update -q
# shellcheck disable=SC2086
$SUDO apt-get $LOCK_WAIT install -y -q --no-install-recommends $missing

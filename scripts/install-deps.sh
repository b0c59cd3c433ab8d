#!/bin/sh
# Installs every Debian package the game, its tools and its tests need.
# Idempotent: only packages that are missing are handed to apt-get.
set -eu

PACKAGES="
build-essential cmake ninja-build pkg-config
libgl-dev libglu1-mesa-dev libgl1-mesa-dri libx11-dev libxrandr-dev libegl-dev libegl-mesa0
freeglut3-dev
libfreeimage-dev
libfreetype-dev
libpoco-dev
libopenal-dev libopenal1
libsndfile1-dev
libgtest-dev googletest
xvfb xdotool x11-apps x11-utils
libbenchmark-dev lib3ds-dev
clang libclang-rt-14-dev
fonts-comic-neue fonts-dejavu-core
assimp-utils
python3 python3-numpy python3-pil
valgrind linux-perf
"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -z "$missing" ]; then
    echo "install-deps: all packages present"
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
$SUDO apt-get update -q
# shellcheck disable=SC2086
$SUDO apt-get install -y -q --no-install-recommends $missing

#!/bin/sh
# Measures start-up and frame times of the game and writes them to docs/performance.md.
#
# Builds a Release benchmark configuration in build-bench/, then, on one virtual X server at
# 1024x768 with Mesa's software renderer:
#   1. start-up of `tumbrix` against a minimal GLUT program (bench_startup);
#   2. frame times of the real game on every shipped stage and on generated stages of 500 to
#      5,000 cubes, next to a clear-and-swap frame, and stage loading against size (bench_frame);
#   3. a profile (perf) of the case with the highest 99th-percentile frame.
# The figures replace the part of docs/performance.md between the two "figures" markers;
# the rest of the file (the analysis) is kept. Nothing here fails on a slow result.
#
# Environment: STARTUP_RUNS (default 15), PLAY_FRAMES (600), MENU_FRAMES (120),
# PROFILE=0 to skip the profile, BUILD_DIR (build-bench).
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)
./scripts/install-deps.sh

BUILD=${BUILD_DIR:-build-bench}
STARTUP_RUNS=${STARTUP_RUNS:-15}
PLAY_FRAMES=${PLAY_FRAMES:-600}
MENU_FRAMES=${MENU_FRAMES:-120}
PROFILE=${PROFILE:-1}

cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTUMBRIX_BENCH=ON -DTUMBRIX_TESTS=OFF >/dev/null
cmake --build "$BUILD" --target tumbrix bench_startup bench_minimal_glut bench_frame -j 2

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT INT TERM

export LIBGL_ALWAYS_SOFTWARE=1
LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)

# Everything that draws runs on one X server, so all figures share its set-up.
cat >"$WORK/run.sh" <<EOF
#!/bin/sh
set -eu
cd "$ROOT"
echo "bench: start-up, $STARTUP_RUNS runs of each" >&2
"$BUILD/bench_startup" --game "$BUILD/tumbrix" --floor "$BUILD/bench_minimal_glut" \
    --runs "$STARTUP_RUNS" --workdir "$ROOT" --out "$WORK/startup.md"
echo "bench: frames" >&2
"$BUILD/bench_frame" --frames "$PLAY_FRAMES" --menu-frames "$MENU_FRAMES" --out "$WORK/frame.md" >"$WORK/frame.log"
if [ "$PROFILE" = 1 ] && command -v perf >/dev/null 2>&1; then
    SLOWEST=\$(sed -n 's/^Slowest case[^\`]*\`\([^\`]*\)\`.*/\1/p' "$WORK/frame.md")
    if [ -n "\$SLOWEST" ]; then
        echo "bench: profile of \$SLOWEST" >&2
        echo "\$SLOWEST" >"$WORK/profile.case"
        perf record -q -F 999 -g -o "$WORK/perf.data" -- "$BUILD/bench_frame" --only "\$SLOWEST" --no-load \
            --frames 300 --menu-frames 60 --out "$WORK/profile-frame.md" >/dev/null 2>&1 || true
    fi
fi
EOF
chmod +x "$WORK/run.sh"
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$WORK/run.sh"
LOAD_AFTER=$(cut -d' ' -f1-3 /proc/loadavg)

# The profile, summarised: where the CPU time went by thread and library, then the
# functions with the most time of their own, then the game's drawing functions with
# everything they call.
profile_summary() {
    data="$WORK/perf.data"
    [ -s "$data" ] || return 0
    echo "### Profile of \`$(cat "$WORK/profile.case")\`"
    echo
    echo "\`perf record -F 999 -g\` over 300 play and 60 menu frames of that case (with its set-up)."
    echo "Mesa's rasteriser threads are named llvmpipe-N; code that llvmpipe compiles at run time"
    echo "has no symbols and shows as [unknown] / [JIT]."
    echo
    echo "By thread and library (share of all samples):"
    echo
    echo '```'
    perf report -i "$data" --stdio --no-children --sort comm,dso --percent-limit 1 -g none 2>/dev/null |
        grep -v '^#' | grep -v '^$' | grep '%' | head -20
    echo '```'
    echo
    echo "Functions by own time:"
    echo
    echo '```'
    perf report -i "$data" --stdio --no-children --sort dso,symbol --percent-limit 0.8 -g none 2>/dev/null |
        grep -v '^#' | grep -v '^$' | grep '%' | head -30
    echo '```'
    echo
    echo "Game and library functions with everything they call (main thread, share of all samples):"
    echo
    echo '```'
    perf report -i "$data" --stdio --children --comm bench_frame --sort symbol -g none 2>/dev/null |
        grep -v '^#' | grep '%' |
        grep -E 'Application::|Level::|Player::|Gui::|Camera::|GameSounds::|Cube::|CubeFace::|ModelHolder::|model3DS::|ofTrueTypeFont::|glutSwapBuffers|gluSphere|glutSolidSphere|glEnd|_mesa_|llvmpipe_|lp_setup' |
        head -30
    echo '```'
}

machine() {
    cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
    echo "- CPU: $cpu, $(nproc) cores available to this run"
    echo "- Memory: $(awk '/MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)"
    echo "- System: $(. /etc/os-release && echo "$PRETTY_NAME"), kernel $(uname -r)"
    echo "- Compiler: $(c++ --version | head -1); Release build (-O3)"
    echo "- Mesa: $(dpkg-query -W -f='${Version}' libgl1-mesa-dri 2>/dev/null || echo unknown);" \
        "$(sed -n 's/^renderer: //p' "$WORK/frame.md")"
    echo "- Load average (1, 5, 15 min) before: $LOAD_BEFORE; after: $LOAD_AFTER." \
        "The machine is shared; figures under load are high and noisy."
    echo "- Date: $(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git rev-parse --short HEAD)"
}

FIGURES="$WORK/figures.md"
{
    echo "<!-- figures:begin (written by scripts/bench.sh; edit outside the markers) -->"
    echo "## Latest figures"
    echo
    machine
    echo
    echo "### Start-up"
    echo
    echo "From exec to the first frame on screen (the window title set in the display step, right"
    echo "before the buffer swap), the game with every asset loaded, next to a minimal GLUT program"
    echo "that opens a window the same way and swaps one cleared frame."
    echo
    cat "$WORK/startup.md"
    grep -v '^renderer: ' "$WORK/frame.md"
    echo
    profile_summary
    echo "<!-- figures:end -->"
} >"$FIGURES"

DOC=docs/performance.md
if [ -f "$DOC" ] && grep -q '^<!-- figures:begin' "$DOC" && grep -q '^<!-- figures:end' "$DOC"; then
    awk -v figures="$FIGURES" '
        /^<!-- figures:begin/ { while ((getline line < figures) > 0) print line; skip = 1; next }
        /^<!-- figures:end/ { skip = 0; next }
        !skip { print }
    ' "$DOC" >"$WORK/doc.md"
    cp "$WORK/doc.md" "$DOC"
else
    { echo "# Performance"; echo; cat "$FIGURES"; } >"$DOC"
fi
echo "bench: wrote $DOC"

#!/bin/sh
# Measures start-up and frame times of the game and writes them to docs/performance.md.
#
# Builds a Release benchmark configuration in build-bench/, then, on one virtual X server at
# 1024x768 with Mesa's software renderer:
#   1. start-up of `tumbrix` against a minimal GLUT program (bench_startup), and a profile of
#      one more start of the game up to its first frame;
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
./scripts/install-deps.sh bench

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
    --runs "$STARTUP_RUNS" --workdir "$ROOT" --out "$WORK/startup.md" \
    \$( [ "$PROFILE" = 1 ] && command -v perf >/dev/null 2>&1 && echo --profile "$WORK/startup.data" )
echo "bench: frames" >&2
"$BUILD/bench_frame" --frames "$PLAY_FRAMES" --menu-frames "$MENU_FRAMES" --out "$WORK/frame.md" >"$WORK/frame.log"
if [ "$PROFILE" = 1 ] && command -v perf >/dev/null 2>&1; then
    SLOWEST=\$(sed -n 's/^Slowest case[^\`]*\`\([^\`]*\)\`.*/\1/p' "$WORK/frame.md")
    if [ -n "\$SLOWEST" ]; then
        echo "bench: profile of \$SLOWEST" >&2
        echo "\$SLOWEST" >"$WORK/profile.case"
        perf record -q -F 299 --call-graph dwarf,8192 -o "$WORK/perf.data" -- "$BUILD/bench_frame" --only "\$SLOWEST" \
            --no-load --parts none --frames 200 --menu-frames 40 --warmup 10 --out "$WORK/profile-frame.md" \
            >/dev/null 2>&1 || true
    fi
fi
EOF
chmod +x "$WORK/run.sh"
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp -noreset" "$WORK/run.sh"
LOAD_AFTER=$(cut -d' ' -f1-3 /proc/loadavg)

# perf's trailing columns carry nothing here.
tidy() { grep '%' | sed -e 's/[[:space:]]*-[[:space:]]*-[[:space:]]*$//' -e 's/[[:space:]]*$//'; }

# Where the start-up goes: the game's functions with everything they call, in ms of CPU.
startup_profile_summary() {
    data="$WORK/startup.data"
    [ -s "$data" ] || return 0
    samples=$(perf report -i "$data" --stdio --no-children --sort comm -n -g none 2>/dev/null |
        awk '/%/ { n += $2 } END { print n + 0 }')
    echo
    echo "Where the start-up goes: one more start under \`perf record -F 4999 --call-graph dwarf\`, stopped"
    echo "at the first frame; functions of the game's thread with everything they call, in ms of CPU"
    echo "($samples samples in all threads)."
    echo
    echo '```'
    perf report -i "$data" --stdio --children --comm tumbrix --sort symbol --percent-limit 1 -g none 2>/dev/null | tidy |
        grep -E '\] (main|_dl_start|glutInit|glutCreateWindow|Application::[a-zA-Z]*|Level::[a-zA-Z]*|Player::[a-zA-Z]*|Gui::[a-zA-Z]*|GameSounds::load|ofImage::loadImage|png_read_image|gluBuild2DMipmaps|model3DS::loadModel|ofTrueTypeFont::loadFont|SoundEngine::(open|createSound)|llvm::MCJIT::generateCodeForModule)$' |
        awk -v n="$samples" '{ pct = $1; sub("%", "", pct); name = $0; sub(/.*\] /, "", name); printf "%7.1f ms  %s\n", pct * n / 100 / 4.999, name }' |
        head -30
    echo '```'
}

# The frame profile, summarised: where the CPU time went by thread and library, then the
# game's functions with everything they call.
profile_summary() {
    data="$WORK/perf.data"
    [ -s "$data" ] || return 0
    echo "### Profile of \`$(cat "$WORK/profile.case")\`"
    echo
    echo "\`perf record -F 299 --call-graph dwarf\` over 200 play and 40 menu frames of that case (its set-up"
    echo "included). Mesa's rasteriser threads are named llvmpipe-N; the code llvmpipe compiles at run"
    echo "time (shaders for vertices and pixels) has no symbols and shows as [JIT]."
    echo
    echo "By thread and library (share of all samples):"
    echo
    echo '```'
    perf report -i "$data" --stdio --no-children --sort comm,dso --percent-limit 1 -g none 2>/dev/null | tidy | head -20
    echo '```'
    echo
    echo "The game's thread: functions with everything they call (share of all samples):"
    echo
    echo '```'
    perf report -i "$data" --stdio --children --comm bench_frame --sort symbol --percent-limit 0.3 -g none 2>/dev/null |
        grep -E 'Application::|Level::|Player::|Gui::|Camera::|GameSounds::|Cube::|CubeFace::|ModelHolder::|ofTrueTypeFont::|displayStep|glutSwapBuffers|gluSphere|glutSolidSphere' |
        tidy | head -25
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
    startup_profile_summary
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

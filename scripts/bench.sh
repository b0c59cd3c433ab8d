#!/bin/sh
# Measures start-up and frame times of the game and writes them to docs/performance.md.
#
# Builds a Release benchmark configuration in build-bench/, then, on one virtual X server at
# 1024x768 with Mesa's software renderer:
#   1. start-up of `tumbrix` against a minimal GLUT program (bench_startup), and a profile of
#      one more start of the game up to its first frame;
#   2. frame times of the real game on every shipped stage and on generated stages of 500 to
#      5,000 cubes, next to a clear-and-swap frame, and stage loading against size (bench_frame);
#   3. the same frames drawn as the first version drew them (every face of every cube, the
#      sky and the ball tessellated every frame: --face-by-face), for before-and-after figures;
#   4. the game and a peer (Neverball) timed alike by Mesa's frame-time HUD (bench-peer.sh);
#   5. a profile (perf) of the case with the highest 99th-percentile frame;
# then, on a second virtual X server at 1920x1080, the shipped stages both ways and the peer.
# The figures replace the part of docs/performance.md between the two "figures" markers;
# the rest of the file (the analysis) is kept. Nothing here fails on a slow result.
#
# Environment: STARTUP_RUNS (default 15), PLAY_FRAMES (300), MENU_FRAMES (60), PEER_STAGE (the
# stage the game plays beside the peer, 49), PEER_SECONDS (20), PROFILE=0 to skip the
# profile, LARGE=0 to skip the 1920x1080 server, LARGE_PLAY_FRAMES (150) and LARGE_MENU_FRAMES
# (30) for its frames, WARMUP (30) frames before each measured run, BUILD_DIR (build-bench).
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)
./scripts/install-deps.sh bench

BUILD=${BUILD_DIR:-build-bench}
STARTUP_RUNS=${STARTUP_RUNS:-15}
PLAY_FRAMES=${PLAY_FRAMES:-300}
MENU_FRAMES=${MENU_FRAMES:-60}
PEER_STAGE=${PEER_STAGE:-49}
PEER_SECONDS=${PEER_SECONDS:-20}
PROFILE=${PROFILE:-1}
LARGE=${LARGE:-1}
LARGE_PLAY_FRAMES=${LARGE_PLAY_FRAMES:-150}
LARGE_MENU_FRAMES=${LARGE_MENU_FRAMES:-30}
WARMUP=${WARMUP:-30}

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
"$BUILD/bench_frame" --warmup "$WARMUP" --frames "$PLAY_FRAMES" --menu-frames "$MENU_FRAMES" --out "$WORK/frame.md" \
    --csv "$WORK/after1024.csv" >"$WORK/frame.log"
echo "bench: frames drawn face by face" >&2
"$BUILD/bench_frame" --warmup "$WARMUP" --face-by-face --no-load --parts none --frames "$PLAY_FRAMES" --menu-frames "$MENU_FRAMES" \
    --out "$WORK/before1024.md" --csv "$WORK/before1024.csv" >>"$WORK/frame.log"
echo "bench: the game and its peer through Mesa's frame-time dump" >&2
"$ROOT/scripts/bench-peer.sh" "$BUILD/tumbrix" "$PEER_STAGE" "$PEER_SECONDS" "$WORK/peer1024.md"
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

# A large screen: the shipped stages both ways, and the peer.
cat >"$WORK/large.sh" <<EOF
#!/bin/sh
set -eu
cd "$ROOT"
echo "bench: frames at 1920x1080" >&2
"$BUILD/bench_frame" --warmup "$WARMUP" --size 1920x1080 --stages-only --frames "$LARGE_PLAY_FRAMES" \
    --menu-frames "$LARGE_MENU_FRAMES" --out "$WORK/after1920.md" --csv "$WORK/after1920.csv" >"$WORK/large.log"
"$BUILD/bench_frame" --warmup "$WARMUP" --size 1920x1080 --stages-only --face-by-face --frames "$LARGE_PLAY_FRAMES" \
    --menu-frames "$LARGE_MENU_FRAMES" --out "$WORK/before1920.md" --csv "$WORK/before1920.csv" >>"$WORK/large.log"
"$ROOT/scripts/bench-peer.sh" "$BUILD/tumbrix" "$PEER_STAGE" "$PEER_SECONDS" "$WORK/peer1920.md"
EOF
chmod +x "$WORK/large.sh"
if [ "$LARGE" = 1 ]; then
    xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp -noreset" "$WORK/large.sh"
fi
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
    echo "### Stage by stage, before and after"
    echo
    echo "Before: the frames drawn as the first version drew them, every face of every cube sent"
    echo "and the sky and the ball tessellated again every frame (\`bench_frame --face-by-face\`);"
    echo "after: as the game draws them now. Same binary, same run; each figure the worse of the"
    echo "menu and the play frames of its stage; the baseline is the clear-and-swap frame of the"
    echo "1024x768 run."
    echo
    python3 bench/frame/stage_table.py "$WORK/before1024.csv" "$WORK/after1024.csv" \
        "$WORK/before1920.csv" "$WORK/after1920.csv"
    echo
    echo "### The game beside a peer, timed alike"
    echo
    echo "Mesa's own frame-time HUD dump (\`GALLIUM_HUD=frametime\`, \`GALLIUM_HUD_PERIOD=0\`), which"
    echo "times any OpenGL program the same way, from buffer swap to buffer swap, over $PEER_SECONDS s"
    echo "of each after the first 60 frames. The game paces itself to 60 frames a second (its"
    echo "sleeps are whole milliseconds: frames of 16 and 17 ms); the peer runs with its own pacing off."
    echo
    echo "At 1024x768:"
    echo
    cat "$WORK/peer1024.md" 2>/dev/null || echo "(not measured)"
    if [ -f "$WORK/peer1920.md" ]; then
        echo
        echo "At 1920x1080:"
        echo
        cat "$WORK/peer1920.md"
    fi
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

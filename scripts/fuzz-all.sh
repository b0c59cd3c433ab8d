#!/bin/sh
# Runs every libFuzzer target in fuzz/ one after the other:  scripts/fuzz-all.sh <seconds-per-target>
# One fuzzing process at a time, in the foreground (libFuzzer's -jobs would fork workers).
# Each target's log goes to fuzz-build/logs/<target>.log, its executions to the summary
# printed at the end. A target that fails leaves its input in fuzz-build/crashes/<target>/
# and makes this script exit 1; once the reader is fixed, copy that input to
# fuzz/regressions/<target>/.
set -u
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift $(( $# > 0 ? 1 : 0 ))
mkdir -p fuzz-build/logs
summary=""
failed=0
for source in fuzz/*.cpp; do
    target=$(basename "$source" .cpp)
    log=fuzz-build/logs/$target.log
    echo "fuzz-all: $target for ${seconds}s"
    # -timeout: an input that takes this long counts as a hang (wall time on a shared machine,
    # hence generous); -rss_limit_mb: one that needs this much memory counts as a blow-up.
    if ./scripts/fuzz.sh "$target" "$seconds" -timeout=120 -rss_limit_mb=2560 "$@" >"$log" 2>&1; then
        result=ok
    else
        result=FAILED
        failed=1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
    line="$target: $result, ${runs:-?} executions, ${rate:-?}/s"
    echo "fuzz-all: $line"
    summary="$summary$line
"
done
printf '\nfuzz-all summary (%ss per target):\n%s' "$seconds" "$summary"
exit $failed

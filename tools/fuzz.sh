#!/usr/bin/env bash
# Builds (when needed) and runs one fuzz target for a number of seconds.
#   tools/fuzz.sh TARGET SECONDS [libFuzzer options...]      e.g. tools/fuzz.sh expression 60
#   tools/fuzz.sh list                                       the targets
# The build is the sanitized clang build in build-sanitize (VASTORIM_SANITIZE_BUILD_DIR overrides
# it), the one CI runs the tests in. The corpus grows in build-sanitize/fuzz/corpus/TARGET; the
# seeds come from fuzz/seeds/TARGET and the shipped content; fuzz/dictionaries/TARGET.dict holds
# the format's words. A finding is written to build-sanitize/fuzz/findings/ and the status is not 0.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VASTORIM_SANITIZE_BUILD_DIR:-$here/build-sanitize}"
targets=$(cd "$here/fuzz" && ls ./*.cpp | sed 's|^\./||; s|\.cpp$||' | grep -v '^fuzz_support$')

usage() {
    echo "usage: $0 TARGET SECONDS [libFuzzer options...] | $0 list" >&2
    echo "targets: $(echo $targets)" >&2
    exit 2
}

[ $# -ge 1 ] || usage
if [ "$1" = list ]; then
    echo "$targets"
    exit 0
fi
[ $# -ge 2 ] || usage
target="$1"
seconds="$2"
shift 2
grep -qx "$target" <<<"$targets" || usage

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DVASTORIM_SANITIZE=ON -DVASTORIM_FUZZ=ON -DVASTORIM_BENCHMARKS=OFF
fi
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target "fuzz_$target" >/dev/null

# Seeds: the committed ones, and pieces of the shipped content for the text formats.
seeds="$build/fuzz/seeds/$target"
rm -rf "$seeds"
mkdir -p "$seeds"
[ -d "$here/fuzz/seeds/$target" ] && cp "$here/fuzz/seeds/$target"/* "$seeds/"
effects=("$here"/data/effects/*.txt)
content_lines() { # every particle line of the shipped effects, one file each
    local n=0
    for effect in "${effects[@]}"; do
        [ "$(basename "$effect")" = "effect list.txt" ] && continue
        while IFS= read -r line; do
            line="${line%$'\r'}"
            if [ -n "$line" ] && [ "$line" != END ]; then
                printf '%s' "$line" >"$seeds/line-$((n++))"
            fi
        done <"$effect"
    done
}
case "$target" in
    particle) content_lines ;;
    track | expression)
        content_lines
        for line in "$seeds"/line-*; do
            field=1
            tr ',' '\n' <"$line" | head -9 | while IFS= read -r track; do
                if [ "$target" = track ]; then
                    printf '%s' "$track" >"$line-$((field++))"
                else
                    tr ':' '\n' <<<"$track" | sed -n 's/^[^|]*|//p' | tail -1 >"$line-$((field++))"
                fi
            done
            rm "$line"
        done
        ;;
    effect_file) for e in "${effects[@]}"; do cp "$e" "$seeds/$(basename "$e" .txt | tr ' ' _)"; done ;;
    effect_list) cp "$here/data/effects/effect list.txt" "$seeds/shipped" ;;
    resource_list) cp "$build/bin/graphics/resource list.txt" "$seeds/shipped" ;;
    png) cp "$build/bin/graphics"/*.png "$seeds/" ;;
    setup_file) cp "$here/data/game setup.txt" "$seeds/shipped" ;;
esac

corpus="$build/fuzz/corpus/$target"
findings="$build/fuzz/findings"
mkdir -p "$corpus" "$findings"
# The loaders and libraries print their warnings for every bad input; libFuzzer keeps its own
# output and the sanitizers' reports.
options=(-max_total_time="$seconds" -artifact_prefix="$findings/$target-" -print_final_stats=1
         -close_fd_mask=3)
[ -f "$here/fuzz/dictionaries/$target.dict" ] && options+=(-dict="$here/fuzz/dictionaries/$target.dict")
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export LSAN_OPTIONS="suppressions=$here/tests/sanitizer/lsan.supp:${LSAN_OPTIONS:-}"
export SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=dummy
exec "$build/fuzz/fuzz_$target" "${options[@]}" "$@" "$corpus" "$seeds"

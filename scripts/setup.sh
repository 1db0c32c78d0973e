#!/usr/bin/env bash
# Installs what is missing, builds, and then plays the game or runs the tests.
#   scripts/setup.sh play   build and run the game (a short headless run where there is no display)
#   scripts/setup.sh test   build and run every test; in CI (CI=true), or with
#                           VASTORIM_SANITIZED_TESTS=1, also every test again in a clang build with
#                           AddressSanitizer and UndefinedBehaviorSanitizer, and each fuzz target
#                           for a few seconds (VASTORIM_FUZZ_SECONDS, default 5)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
mode="${1:-play}"
build="${VASTORIM_BUILD_DIR:-$here/build}"

packages=(cmake g++ pkg-config libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libcurl4-openssl-dev libssl-dev
          libcpp-httplib-dev libsqlite3-dev zlib1g-dev nlohmann-json3-dev libgtest-dev libbenchmark-dev fonts-play
          fonts-dejavu-core)
if [ "$mode" = test ]; then
    packages+=(xvfb libgl1-mesa-dri xdotool x11-apps x11-utils chromium clang libclang-rt-14-dev llvm-14)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

jobs="$(nproc 2>/dev/null || echo 2)"
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
# The play command builds the game and what it starts (the launcher, the program folder; the
# headless runner where there is no display), not the tools, the server, the tests or the benchmarks.
targets=()
if [ "$mode" = play ]; then
    targets=(--target vastorim vastorim-launcher)
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        targets+=(vastorim-sim)
    fi
fi
cmake --build "$build" -j "$jobs" "${targets[@]}"

case "$mode" in
    play)
        if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
            cd "$build/bin" && exec ./vastorim run
        fi
        out="$build/headless-run"
        echo "No display: the demo pilot plays a short headless game instead."
        "$build/bin/vastorim-sim" --data "$build/bin" --demo --frames 1200 --seed 1 \
            --out "$out" --screenshot-every 200
        echo "Screenshots of the headless run are in $out"
        ;;
    test)
        (cd "$build" && ctest --output-on-failure -j "$jobs")
        if [ "${CI:-}" = true ] || [ "${VASTORIM_SANITIZED_TESTS:-}" = 1 ]; then
            # One clang build serves the sanitized suite and the fuzz targets; benchmarks time
            # nothing useful under the sanitizers and are left out.
            sanitized="${VASTORIM_SANITIZE_BUILD_DIR:-$here/build-sanitize}"
            if [ ! -f "$sanitized/CMakeCache.txt" ]; then
                cmake -S "$here" -B "$sanitized" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
                    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
                    -DVASTORIM_SANITIZE=ON -DVASTORIM_FUZZ=ON -DVASTORIM_BENCHMARKS=OFF
            fi
            cmake --build "$sanitized" -j "$jobs"
            export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1"
            export UBSAN_OPTIONS="print_stacktrace=1"
            export LSAN_OPTIONS="suppressions=$here/tests/sanitizer/lsan.supp"
            (cd "$sanitized" && ctest --output-on-failure -j "$jobs")
            for target in $("$here/tools/fuzz.sh" list); do
                log="$sanitized/fuzz/$target.log"
                mkdir -p "$sanitized/fuzz"
                if ! VASTORIM_SANITIZE_BUILD_DIR="$sanitized" \
                    "$here/tools/fuzz.sh" "$target" "${VASTORIM_FUZZ_SECONDS:-5}" >"$log" 2>&1; then
                    tail -n 60 "$log"
                    echo "fuzz target $target: a finding (log: $log)" >&2
                    exit 1
                fi
                echo "fuzz target $target: $(grep -m1 '^Done' "$log")"
            done
        fi
        ;;
    *)
        echo "usage: $0 play|test" >&2
        exit 2
        ;;
esac

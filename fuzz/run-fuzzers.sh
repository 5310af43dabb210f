#!/usr/bin/env bash
# Builds the libFuzzer targets in build-fuzz/ and runs each for the given number
# of seconds, one after the other. Called by `./test --fuzz SECONDS`.
# New corpus entries go to build-fuzz/corpus/<target>/ (the seeds in
# fuzz/corpus/ are only read); findings go to build-fuzz/artifacts/.
# MC_FUZZ_TARGETS="fuzz_settings fuzz_netreply" runs only those.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh

seconds="$1"
build=build-fuzz
# Absolute, since the file targets run each input in a directory of its own.
out="$PWD/$build"

# libFuzzer and the sanitizer runtimes come with clang's runtime package.
rt=libclang-rt-dev
if command -v apt-cache >/dev/null 2>&1 && ! apt-cache show "$rt" >/dev/null 2>&1; then
    rt="libclang-rt-$(clang --version 2>/dev/null | sed -n 's/.*clang version \([0-9]*\).*/\1/p')-dev"
fi
mc_install_deps clang "$rt"

CC=clang CXX=clang++ cmake -S . -B "$build" -DMC_FUZZ=ON -DMC_BUILD_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target mc_fuzzers

# The targets never open a link; where the system allows it they run without
# any network at all, so that a mistake could not reach a device either.
netless=()
if unshare -rn true 2>/dev/null; then
    netless=(unshare -rn)
elif unshare -n true 2>/dev/null; then
    netless=(unshare -n)
fi

# Every input gets a fresh working directory; on a RAM disk the settings
# files' sync costs nothing.
scratch_root=/tmp
[ -d /dev/shm ] && [ -w /dev/shm ] && scratch_root=/dev/shm
scratch=$(mktemp -d "$scratch_root/mc-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

export QT_QPA_PLATFORM=offscreen
# Qt's caches make libFuzzer's per-input leak check run all the time, at a
# quarter of the speed; the corpus gets one leak-checked pass afterwards instead.
fuzz_asan=abort_on_error=1:detect_leaks=0
# Qt is built without frame pointers: only the slow unwinder sees through it to
# the frames the suppressions (fuzz/lsan.supp) name.
leak_asan=abort_on_error=1:detect_leaks=1:fast_unwind_on_malloc=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions="$PWD/fuzz/lsan.supp":print_suppressions=0

mkdir -p "$out/artifacts"
summary=()
failed=0
while read -r target dict; do
    [ -n "$target" ] || continue
    if [ -n "${MC_FUZZ_TARGETS:-}" ] && [[ " $MC_FUZZ_TARGETS " != *" $target "* ]]; then
        continue
    fi
    mkdir -p "$out/corpus/$target" "$scratch/$target"
    rm -f "$out/artifacts/$target.log.leaks"
    args=(-max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -print_final_stats=1
          -artifact_prefix="$out/artifacts/$target-")
    [ "$dict" != "-" ] && args+=(-dict="$PWD/fuzz/dict/$dict.dict")
    echo "=== $target: ${seconds}s"
    log="$out/artifacts/$target.log"
    if ASAN_OPTIONS=$fuzz_asan TMPDIR="$scratch/$target" "${netless[@]}" "$out/fuzz/$target" "${args[@]}" \
            "$out/corpus/$target" "$PWD/fuzz/corpus/$target" >"$log" 2>&1 \
        && ASAN_OPTIONS=$leak_asan TMPDIR="$scratch/$target" "${netless[@]}" "$out/fuzz/$target" -runs=0 \
            -artifact_prefix="$out/artifacts/$target-leak-" "$out/corpus/$target" "$PWD/fuzz/corpus/$target" \
            >"$log.leaks" 2>&1; then
        result=ok
    else
        result="FINDING (see $log and $log.leaks)"
        failed=1
        tail -n 40 "$log"
        [ -f "$log.leaks" ] && tail -n 40 "$log.leaks"
    fi
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    summary+=("$(printf '%-22s %6ss %12s execs  %s' "$target" "$seconds" "${execs:-?}" "$result")")
done <"$out/fuzz/targets.txt"

echo
echo "Fuzzing summary"
printf '%s\n' "${summary[@]}"
exit "$failed"

#!/usr/bin/env bash
# Installs what the tests need, builds, and runs every test: the normal
# build (warnings are errors), the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, the 32-bit engine's calling conventions under
# qemu-i386, and the ScriptDeData fuzzer for 60 seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
kovra_install_deps

jobs=$(nproc)
summary=$(mktemp)
trap 'rm -f "$summary"' EXIT

# Runs ctest with the given preset and keeps its closing count.
run_ctest() {
  ctest --preset "$1" -j "$jobs" | tee -a "$summary"
}

echo "== Build and test (RelWithDebInfo)"
cmake --preset default
cmake --build --preset default -j "$jobs"
run_ctest default

echo "== Build and test under ASan + UBSan"
cmake --preset asan
cmake --build --preset asan -j "$jobs"
run_ctest asan

echo "== 32-bit x86 engine and host under qemu-i386"
cmake --preset i386
cmake --build --preset i386 -j "$jobs"
run_ctest i386

echo "== Fuzz ScriptDeData for 60 seconds"
cmake --preset fuzz
cmake --build --preset fuzz -j "$jobs" --target ScriptDeDataFuzz
corpus=$(mktemp -d)
trap 'rm -rf "$corpus" "$summary"' EXIT
build/fuzz/fuzz/ScriptDeDataFuzz -max_total_time=60 -timeout=10 -max_len=4096 \
  -dict=fuzz/script.dict -print_final_stats=1 "$corpus" fuzz/corpus

# One closing line for every test run above.
awk '/tests failed out of/ { failed += $4; total += $NF }
     END { printf "tests: %d passed, %d failed\n", total - failed, failed }' "$summary"

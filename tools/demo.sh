#!/usr/bin/env bash
# The main job: installs what the build needs, builds the engine and the
# kovra command, and runs the bundled example scripts over the example page.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
kovra_install_deps

cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target kovra KovraEngine
kovra=build/release/cli/kovra

for script in examples/run/*.txt; do
  echo "== kovra run $script examples/run/page.html"
  "$kovra" run "$script" examples/run/page.html
  echo
done

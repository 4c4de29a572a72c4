#!/usr/bin/env bash
# The main job: installs what the build needs, builds the engine and the
# kovra command, and runs the demo: the example library of examples/Scripts
# over the example pages, served on 127.0.0.1, and a few navigation checks.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
kovra_install_deps

cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target kovra
build/release/cli/kovra demo --examples examples

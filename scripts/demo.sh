#!/usr/bin/env bash
# Sets up a fresh machine, builds, and runs the demo on the bundled sample floor plan.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default
out=build/demo
mkdir -p "$out"
if [ -x examples/run_demo.sh ]; then
  examples/run_demo.sh build/bin "$out"
else
  build/bin/brinmo --version
fi
echo "demo outputs: $out"

#!/usr/bin/env bash
# Builds the static library and the suite for WebAssembly with Debian's
# emscripten (`wasm` preset: KELVOR_PORTABLE_MATH, GoogleTest from Debian's
# sources, the table generator built for the host) and runs every test under
# Node (the concurrency tests, which need threads, report themselves
# skipped), digest included: it must equal the committed portable digest.
# Needs: emscripten, nodejs, googletest (sources), g++ (host table
# generator), cmake, ninja-build. Debian's emscripten runs its optimizer on
# Debian's node-acorn, found through NODE_PATH (set by the preset).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset wasm >/dev/null
cmake --build --preset wasm -j2
ctest --preset wasm
node build/wasm/tests/determinism/kelvor_digest.js > build/digest-wasm32.txt
diff tests/determinism/expected-digest-portable.txt build/digest-wasm32.txt
echo "wasm32 digest equals the committed portable digest"

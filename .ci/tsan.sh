#!/usr/bin/env bash
# Builds the concurrency test under ThreadSanitizer (`tsan` preset, g++) and
# runs it: every function family from eight threads at once on shared
# inputs, results compared with one thread; any data race fails the step.
# Needs: g++, cmake, ninja-build, libgtest-dev.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j2
ctest --preset tsan

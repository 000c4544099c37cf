#!/usr/bin/env bash
# Portable maths (KELVOR_PORTABLE_MATH): the suite on x86-64 (`portable`
# preset), then the digest cross-built for aarch64 and run under qemu; both
# must equal the committed portable digest (tests/determinism/
# expected-digest-portable.txt), as the Windows and WebAssembly builds'
# (.ci/windows.sh, .ci/wasm.sh) must.
# Needs: what the test suite and .ci/aarch64.sh need.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset portable >/dev/null
cmake --build --preset portable -j2
ctest --preset portable

cmake --preset aarch64 -B build/aarch64-portable -DKELVOR_PORTABLE_MATH=ON >/dev/null
cmake --build build/aarch64-portable --target kelvor_digest -j2
qemu-aarch64 -L /usr/aarch64-linux-gnu build/aarch64-portable/tests/determinism/kelvor_digest \
  > build/digest-aarch64-portable.txt
diff tests/determinism/expected-digest-portable.txt build/digest-aarch64-portable.txt
echo "aarch64 portable digest equals the committed portable digest"

#!/usr/bin/env bash
# The npm package (js/, js/README.md): builds the native answers (js/native,
# a host build of the library with portable maths) and the WebAssembly
# module (`wasm` preset in build/js-wasm, target kelvor_js), installs the
# pinned devDependencies (puppeteer-core, typescript; no browser is
# downloaded: the test drives Debian's /usr/bin/chromium), runs the Node
# suite (node:test: native answers replayed, digest, zone index against a
# linear scan, misuse, memory, types, the playground in headless Chromium),
# then packs the package, installs the tarball into an empty project and
# loads it from there, and runs the benchmark on a few points (not timed).
# Needs: emscripten, nodejs, npm, chromium, g++, cmake, ninja-build.
# KELVOR_JS_SCREENSHOT=docs/playground.png refreshes the committed picture.
set -euo pipefail
cd "$(dirname "$0")/.."
export PUPPETEER_SKIP_DOWNLOAD=1 PUPPETEER_SKIP_CHROME_DOWNLOAD=1

cmake -S js/native -B build/js-native -G Ninja >/dev/null
cmake --build build/js-native -j2
build/js-native/kelvor_js_answers build/js-native/answers.json

cmake --preset wasm -B build/js-wasm -DBUILD_TESTING=OFF >/dev/null
cmake --build build/js-wasm --target kelvor_js -j2

(cd js && npm ci --ignore-scripts --no-audit --no-fund)
(cd bench/js && npm ci --ignore-scripts --no-audit --no-fund)

KELVOR_JS_ANSWERS="$PWD/build/js-native/answers.json" KELVOR_JS_REQUIRE_ANSWERS=1 \
  KELVOR_JS_REQUIRE_BROWSER=1 KELVOR_JS_SCREENSHOT="${KELVOR_JS_SCREENSHOT:-build/js/playground.png}" \
  node --test js/test

# The tarball holds the module, its layer, its declarations and README, and
# nothing else; installed into an empty project it loads and answers.
consumer=$(mktemp -d)
trap 'rm -rf "$consumer"' EXIT
(cd js && npm pack --loglevel=warn --pack-destination "$consumer" >/dev/null)
tarball=$(ls "$consumer"/kelvor-*.tgz)
diff <(tar -tzf "$tarball" | sort) <(printf '%s\n' package/README.md package/dist/kelvor-wasm.mjs \
  package/dist/kelvor-wasm.wasm package/lib/kelvor.d.ts package/lib/kelvor.js package/package.json)
(cd "$consumer" && npm init -y >/dev/null && npm install --no-audit --no-fund "$tarball" >/dev/null)
expected="$PWD/tests/determinism/expected-digest-portable.txt"
(cd "$consumer" && EXPECTED="$expected" node --input-type=module -e '
  import { readFileSync } from "node:fs";
  import { Polygon, digest } from "kelvor";
  const square = new Polygon([[0, 0], [1000, 0], [1000, 800], [0, 800]]);
  const inside = Array.from(square.contains([[10, 10], [2000, 5]]));
  square.free();
  if (inside.join() !== "1,0") throw new Error(`installed package: contains gave ${inside}`);
  if (digest() !== readFileSync(process.env.EXPECTED, "utf8")) throw new Error("installed package: digest differs");
  console.log("installed kelvor tarball: loads, answers, digest equals the committed portable digest");')

node bench/js/bench.mjs --points 20000 >/dev/null
echo "bench/js/bench.mjs ran (20,000 points, not timed)"

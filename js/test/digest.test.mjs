// The determinism digest computed inside the WebAssembly module: every
// function family over the same generated inputs as tests/determinism,
// hashed. It must equal the committed portable digest, which every native
// build with portable maths prints.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';

import { digest } from '../lib/kelvor.js';

const expectedPath = new URL('../../tests/determinism/expected-digest-portable.txt', import.meta.url);

test('the module prints the committed portable digest, family by family', () => {
  const expected = readFileSync(expectedPath, 'utf8').trim().split('\n');
  const actual = digest().trim().split('\n');
  assert.equal(actual.length, expected.length, `families: expected ${expected.length} lines, got ${actual.length}`);
  expected.forEach((line, i) => {
    const family = line.split(/\s+/)[0];
    assert.equal(actual[i], line, `family ${family}`);
  });
});

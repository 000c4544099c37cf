// The hand-written declarations (lib/kelvor.d.ts) against the module: the
// same names exported, and a client file that type-checks with TypeScript
// (a pinned devDependency; reported skipped where it is not installed).
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, readFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';

import * as kelvor from '../lib/kelvor.js';

const declarations = readFileSync(new URL('../lib/kelvor.d.ts', import.meta.url), 'utf8');
const tsc = fileURLToPath(new URL('../node_modules/typescript/bin/tsc', import.meta.url));

test('kelvor.d.ts declares exactly what kelvor.js exports', () => {
  const declared = new Set([...declarations.matchAll(/^export declare (?:const|function|class) (\w+)/gm)].map((m) => m[1]));
  const exported = new Set(Object.keys(kelvor));
  assert.deepEqual([...exported].filter((n) => !declared.has(n)), [], 'exported but not declared');
  assert.deepEqual([...declared].filter((n) => !exported.has(n)), [], 'declared but not exported');
});

test('a client using the declarations type-checks, and misuse does not', { skip: !existsSync(tsc) && 'typescript is not installed (npm ci in js/)' }, () => {
  const project = fileURLToPath(new URL('./types', import.meta.url));
  try {
    execFileSync(process.execPath, [tsc, '--noEmit', '-p', project], { encoding: 'utf8', stdio: 'pipe' });
  } catch (e) {
    assert.fail(`tsc --noEmit -p ${project}:\n${e.stdout}${e.stderr}`);
  }
});

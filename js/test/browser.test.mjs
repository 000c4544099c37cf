// The playground in a real browser: Debian's Chromium, headless, driven by
// puppeteer-core (a pinned devDependency) against the page served from this
// package by playground/serve.mjs. Scripted clicks drop fixes, drag a vertex,
// toggle the wrap check and the densified rings and measure a distance; the
// page's answers are read from its data attributes and compared with the
// package's answers in Node for the same points. The determinism digest
// computed in the browser must equal the committed portable digest.
//
// Reported skipped without puppeteer-core (npm ci in js/) or without
// /usr/bin/chromium, unless KELVOR_JS_REQUIRE_BROWSER=1 (.ci/js.sh).
// KELVOR_JS_SCREENSHOT names where the picture of the page goes
// (default build/js/playground.png).
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { existsSync, mkdirSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

import {
  NO_ZONE, ZoneIndex, densifyRing, ringCanWrap, segmentLength, toDegrees,
} from '../lib/kelvor.js';
import { startServer } from '../playground/serve.mjs';

const CHROMIUM = process.env.KELVOR_CHROMIUM ?? '/usr/bin/chromium';
const REPO = fileURLToPath(new URL('../../', import.meta.url));
const screenshotPath = resolve(REPO, process.env.KELVOR_JS_SCREENSHOT ?? 'build/js/playground.png');

let puppeteer = null;
try {
  puppeteer = (await import('puppeteer-core')).default;
} catch {
  // reported below
}
const missing = !puppeteer ? 'puppeteer-core is not installed (npm ci in js/)'
  : !existsSync(CHROMIUM) ? `no browser at ${CHROMIUM} (apt-get install chromium)` : false;
if (missing && process.env.KELVOR_JS_REQUIRE_BROWSER === '1') throw new Error(missing);

// The page's zones, located in Node under both rules.
function nodeAnswers(zones, ids, points) {
  const out = {};
  for (const rule of ['compatible', 'exact']) {
    const index = new ZoneIndex(zones.map((rings) => rings.map((r) => Int32Array.from(r))), { ids, rule });
    try {
      out[rule] = index.locate(Int32Array.from(points.flat()));
    } finally {
      index.free();
    }
  }
  return out;
}

test('the playground answers in Chromium as the package does in Node', { skip: missing, timeout: 120000 }, async (t) => {
  const { server, url } = await startServer({ port: 0 });
  const profile = mkdtempSync(join(tmpdir(), 'kelvor-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      `--user-data-dir=${profile}`],
  });
  try {
    const page = await browser.newPage();
    const problems = [];
    page.on('pageerror', (e) => problems.push(`page error: ${e.message}`));
    page.on('console', (m) => { if (m.type() === 'error') problems.push(`console: ${m.text()}`); });
    // Nothing but the local server is asked for.
    await page.setRequestInterception(true);
    page.on('request', (r) => {
      if (r.url().startsWith('http://127.0.0.1:')) r.continue();
      else { problems.push(`request outside the server: ${r.url()}`); r.abort(); }
    });
    await page.setViewport({ width: 1420, height: 800 });
    await page.goto(url, { waitUntil: 'load' });
    await page.waitForSelector('body[data-ready="1"]', { timeout: 30000 });

    const toPage = (x, y) => page.evaluate((a, b) => window.playground.toPage(a, b), x, y);
    const clickAt = async (x, y) => {
      const [px, py] = await toPage(x, y);
      await page.mouse.click(px, py);
    };
    const fixes = () => page.$$eval('#fixes tbody tr', (rows) => rows.map((r) => ({
      x: Number(r.dataset.x), y: Number(r.dataset.y), compatible: Number(r.dataset.compatible), exact: Number(r.dataset.exact),
    })));
    const zonesNow = () => page.evaluate(() => window.playground.zones());
    const ids = await page.evaluate(() => window.playground.ids());
    // Every fix the page shows, against Node's answers for its zones.
    const agree = async (label) => {
      const rows = await fixes();
      const want = nodeAnswers(await zonesNow(), ids, rows.map((f) => [f.x, f.y]));
      rows.forEach((f, i) => {
        assert.equal(f.compatible, want.compatible[i], `${label}: fix ${i + 1} (${f.x}, ${f.y}) compatible`);
        assert.equal(f.exact, want.exact[i], `${label}: fix ${i + 1} (${f.x}, ${f.y}) exact`);
      });
      return rows;
    };

    await t.test('fixes: inside, in the lake, in a second zone', async () => {
      await clickAt(445000, 5262000);  // Amstelland, near its western vertex
      await clickAt(480000, 5262000);  // the lake: a hole of Amstelland
      await clickAt(522000, 5182000);  // Utrecht
      const rows = await agree('three fixes');
      assert.deepEqual(rows.map((f) => [f.compatible, f.exact]), [[1, 1], [NO_ZONE, NO_ZONE], [3, 3]]);
    });

    // A pixel inside the polder where the two rules part, found in Node over
    // the page's own pixel-to-unit mapping.
    let differing = null;
    await t.test('a fix where the compatible rule wraps', async () => {
      const [left, top] = await toPage(600000, 5300000);
      const [right, bottom] = await toPage(690000, 5190000);
      const candidates = [];
      for (let py = Math.ceil(top); py < bottom; py += 6) {
        for (let px = Math.ceil(left); px < right; px += 6) candidates.push([px, py]);
      }
      const units = await page.evaluate((c) => c.map(([x, y]) => window.playground.unitsAtPage(x, y)), candidates);
      const want = nodeAnswers(await zonesNow(), ids, units);
      const k = units.findIndex((_, i) => want.exact[i] === 2 && want.compatible[i] !== 2);
      assert.ok(k >= 0, 'no pixel inside the polder that the compatible rule puts elsewhere');
      await page.mouse.click(...candidates[k]);
      const rows = await agree('wrapping fix');
      differing = rows.at(-1);
      assert.deepEqual([differing.x, differing.y], units[k], 'the fix lands on the unit point of its pixel');
      assert.equal(differing.exact, 2);
      assert.notEqual(differing.compatible, 2);
      const cells = await page.$eval('#raster', (c) => Number(c.dataset.differing));
      assert.ok(cells > 0, 'the raster shows where the rules differ');
    });

    await t.test('wrap check: only the polder has an edge that can wrap', async () => {
      await page.click('#wrap-check');
      const zones = await page.$$eval('#zones li', (li) => li.map((e) => [Number(e.dataset.zone), e.dataset.canWrap]));
      assert.deepEqual(zones, [[1, 'false'], [2, 'true'], [3, 'false']]);
      const edges = await page.$$eval('.wrap-edge', (e) => e.map((x) => Number(x.dataset.zone)));
      assert.deepEqual(edges, [2], 'edges drawn as wrapping');
      const polder = (await zonesNow())[1][0];
      assert.equal(ringCanWrap(Int32Array.from(polder)), true);
    });

    await t.test('densified rings: nothing wraps, the rules agree again', async () => {
      const before = await page.$eval('#zones li[data-zone="2"]', (e) => Number(e.dataset.vertices));
      await page.click('#densify');
      const zones = await page.$$eval('#zones li', (li) => li.map((e) => [e.dataset.canWrap, Number(e.dataset.vertices)]));
      assert.deepEqual(zones.map((z) => z[0]), ['false', 'false', 'false']);
      const original = [[550000, 5180000], [690000, 5185000], [695000, 5320000], [640000, 5330000]];
      assert.equal(before, original.length);
      assert.equal(zones[1][1], densifyRing(original).length / 2, 'polder vertices after densifying');
      const rows = await agree('densified');
      const fix = rows.find((f) => f.x === differing.x && f.y === differing.y);
      assert.equal(fix.compatible, 2, 'the wrapping fix under the compatible rule, densified');
      assert.equal(await page.$eval('#raster', (c) => Number(c.dataset.differing)), 0, 'raster cells where the rules differ');
      await page.click('#densify');  // back to the rings as drawn
    });

    await t.test('dragging a vertex moves the outline and the answers', async () => {
      const [hx, hy] = await toPage(432000, 5265000);  // Amstelland's western vertex
      const [tx, ty] = await toPage(462000, 5263000);
      await page.mouse.move(hx, hy);
      await page.mouse.down();
      for (let s = 1; s <= 8; ++s) await page.mouse.move(hx + ((tx - hx) * s) / 8, hy + ((ty - hy) * s) / 8);
      await page.mouse.up();
      const moved = (await zonesNow())[0][0];
      assert.notDeepEqual(moved.slice(14, 16), [432000, 5265000], 'the vertex moved');
      const rows = await agree('after the drag');
      assert.deepEqual([rows[0].compatible, rows[0].exact], [NO_ZONE, NO_ZONE], 'the first fix is now west of the outline');
    });

    await t.test('distance between two clicked points', async () => {
      await page.click('input[name=mode][value=measure]');
      await clickAt(489520, 5237020);  // Amsterdam
      await clickAt(512140, 5209070);  // Utrecht
      const d = await page.$eval('#distance', (e) => ({ ...e.dataset }));
      const a = d.a.split(',').map(Number);
      const b = d.b.split(',').map(Number);
      const metres = segmentLength(toDegrees(a), toDegrees(b))[0];
      assert.equal(Number(d.metres), metres, `distance from (${a}) to (${b})`);
      assert.ok(metres > 33000 && metres < 36000, `Amsterdam to Utrecht: ${metres} m`);
    });

    await t.test('the digest computed in the browser is the committed portable digest', async () => {
      await page.click('#run-digest');
      await page.waitForSelector('#digest[data-digest*="area"]', { timeout: 60000 });
      const text = await page.$eval('#digest', (e) => e.dataset.digest);
      const expected = readFileSync(join(REPO, 'tests/determinism/expected-digest-portable.txt'), 'utf8');
      assert.equal(text, expected);
    });

    // A picture for the README: fixes in every zone, the measured line.
    await page.click('input[name=mode][value=fix]');
    await clickAt(505000, 5290000);
    await clickAt(660000, 5230000);
    mkdirSync(dirname(screenshotPath), { recursive: true });
    await page.screenshot({ path: screenshotPath });
    assert.deepEqual(problems, [], 'errors or outside requests in the page');
  } finally {
    await browser.close();
    server.close();
    rmSync(profile, { recursive: true, force: true });
  }
});

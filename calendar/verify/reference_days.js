#!/usr/bin/env node
// Prints, for every day 1900-01-31..2100-12-31, the lunar date given by the
// reference packages, one line each: YYYY-MM-DD<TAB>year<TAB>month<TAB>leap<TAB>day
//
// lunisolar carries the Hong Kong Observatory's conversion tables (1901-2100);
// for the days before 1901-01-01, which those tables do not cover, date-chinese
// computes the months astronomically (Beijing local time before 1929).
// The counts of days taken from each go to standard error.
'use strict';
const lunisolar = require('lunisolar');
const CalendarChinese = require('date-chinese').CalendarChinese;

const pad = (n) => String(n).padStart(2, '0');
const chinese = new CalendarChinese();
const counts = { lunisolar: 0, 'date-chinese': 0 };
const lines = [];
const DAY = 86400000;
for (let t = Date.UTC(1900, 0, 31); t <= Date.UTC(2100, 11, 31); t += DAY) {
  const g = new Date(t);
  const [y, m, d] = [g.getUTCFullYear(), g.getUTCMonth() + 1, g.getUTCDate()];
  const text = `${y}-${pad(m)}-${pad(d)}`;
  let lunar;
  if (y >= 1901) {
    const l = lunisolar(text).lunar;
    // lunisolar numbers a leap month as 100 + its month.
    lunar = [l.year, l.isLeapMonth ? l.month - 100 : l.month, l.isLeapMonth ? 1 : 0, l.day];
    counts.lunisolar++;
  } else {
    chinese.fromGregorian(y, m, d);
    lunar = [chinese.yearFromEpochCycle(), chinese.month, chinese.leap ? 1 : 0, chinese.day];
    counts['date-chinese']++;
  }
  lines.push(`${text}\t${lunar.join('\t')}`);
}
process.stdout.write(lines.join('\n') + '\n');
const versions = ['lunisolar', 'date-chinese'].map(
  (p) => `${p} ${require(`${p}/package.json`).version}: ${counts[p]} days`);
process.stderr.write(`reference: ${versions.join(', ')}\n`);

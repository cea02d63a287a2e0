// The CSV reader and the records of ziwei batch.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/batch_records.h"
#include "cli/csv_reader.h"
#include "cli/tests/ziwei_process.h"

namespace ziwei::cli {
namespace {

using Lines = std::vector<std::string>;
using Fields = std::vector<std::string>;

// Every record of `text` as "line: field|field|..." and every refusal as
// "line: !reason".
Lines readAll(std::string_view text) {
  Lines out;
  Input input = Input::ofText(text);
  CsvReader reader(input);
  while (auto next = reader.next()) {
    if (const auto* error = std::get_if<CsvError>(&*next)) {
      out.push_back(std::to_string(error->line) + ": !" + error->reason);
      continue;
    }
    const auto& record = std::get<CsvRecord>(*next);
    std::string line = std::to_string(record.line) + ":";
    for (std::size_t i = 0; i < record.fields.size(); ++i) {
      line += (i == 0 ? " " : "|") + record.fields[i];
    }
    out.push_back(line);
  }
  return out;
}

TEST(CsvReader, ReadsRecordsAndRefusesMalformedOnes) {
  const std::string longLine(kLongestLine + 1, 'x');
  for (const auto& [text, expected] : std::vector<std::pair<std::string, Lines>>{
           {"a,b,c\n1,,3\n,\nlast", {"1: a|b|c", "2: 1||3", "3: |", "4: last"}},
           {"\n\n", {}},
           {"\"Chan, \"\"Tai\"\" Man\",x\n\"\"\n\"two\nlines\",y\r\nz\n",
            {"1: Chan, \"Tai\" Man|x", "2: ", "3: two\nlines|y", "5: z"}},
           {"\"a\r\nb\"\r\nc", {"1: a\r\nb", "3: c"}},
           {"\xEF\xBB\xBFname,sex\r\nx,male\r\n\r\n\ny,female\r",
            {"1: name|sex", "2: x|male", "5: y|female"}},
           {"a\rb,\xEF\xBB\xBF"
            "c\n",
            {"1: a\rb|\xEF\xBB\xBF"
             "c"}},
           {"h\nab\"c,d\nok\n\"x\"y,z\r\nok2\n\"a\"\"b\"\"\",c\n",
            {"1: h", "2: !a quote inside a field that does not begin with one", "3: ok",
             "4: !a closing quote is followed by \"y\" instead of a comma or the end of the line",
             "5: ok2", "6: a\"b\"|c"}},
           {"h\n\"open,1\nnext,2\n", {"1: h", "2: !a quoted field is not closed", "3: next|2"}},
           {"\"a\nb\"c\nd\n",
            {"1: !a closing quote is followed by \"c\" instead of a comma or the end of the line",
             "3: d"}},
           // What follows a closing quote is shown whole and escaped.
           {"\"a\"\x1B[2J\n\"b\"\xE7\x8E\x8B\n",
            {"1: !a closing quote is followed by \"\\x1B\" instead of a comma or the end of the "
             "line",
             "2: !a closing quote is followed by \"王\" instead of a comma or the end of the "
             "line"}},
           {"h\n" + longLine + "\nnext\n",
            {"1: h", "2: !longer than 1 MiB (1048576 bytes), the longest allowed", "3: next"}},
           {"h\n\"a\n" + longLine + "\nnext\n",
            {"1: h", "2: !longer than 1 MiB (1048576 bytes), the longest allowed",
             "3: !longer than 1 MiB (1048576 bytes), the longest allowed", "4: next"}},
       }) {
    EXPECT_EQ(readAll(text), expected) << text.substr(0, 40);
  }
}

CsvRecord record(Fields fields) { return {7, std::move(fields)}; }

// The birth read from `fields` as birthText, or "!" and the refusal.
std::string read(Fields fields,
                 const Fields& header = {"name", "sex", "year", "month", "leap", "day", "hour",
                                         "minute", "second", "solar"}) {
  try {
    return testing::birthText(
        readBatchRecord(record(std::move(fields)), readBatchHeader(record(header))).request);
  } catch (const Refusal& refusal) {
    return "!" + refusal.message;
  }
}

TEST(BatchRecords, HeaderAndFields) {
  EXPECT_EQ(read({"5", "4", "13", "20", "1", "4", "2000", "female", "王"},
                 {"second", "minute", "hour", "day", "leap", "month", "year", "sex", "name"}),
            "王 female 2000-4L-20 13:04:05");
  for (const auto& [fields, expected] : std::vector<std::pair<Fields, std::string>>{
           {{"a", "male", "2000", "1", "0", "31", "0", "0", "0", ""},
            "!day: \"31\" is not allowed (allowed: 1 to 30)"},
           {{"a", "male", "2000", "1", "0", "1", "0", "", "0", ""},
            "!minute: \"\" is not a whole number (allowed: 0 to 59)"},
           {{"a", "male", "2000", "1", "yes", "1", "0", "0", "0", ""},
            "!leap: \"yes\" is not allowed (allowed: 0, 1)"},
           {{"\xFF", "male", "2000", "1", "0", "1", "0", "0", "0", ""},
            "!name: the text is not valid UTF-8 (byte 1, character 1)"},
           {{"a", "male\nx", "2000", "1", "0", "1", "0", "0", "0", ""},
            "!sex: \"male\\x0Ax\" is not allowed (allowed: male, female)"},
           {{"陳", "female", "", "", "", "", "23", "5", "6", "2001-06-08"},
            "陳 female 2001-4L-17 23:05:06 solar=2001-06-08"},
           {{"a", "male", "", "", "0", "", "0", "0", "0", "2001-06-08"},
            "!solar: a solar date is given, so leap must be empty (it is \"0\")"},
           {{"a", "male", "", "1", "0", "1", "0", "0", "0", ""},
            "!year: \"\" is not a whole number (allowed: 1912 to 2100)"},
           {{"a", "male", "", "", "", "", "0", "0", "0", std::string("2001-06-10\0x", 12)},
            "!solar: \"2001-06-10\\x00x\" is not a date of the form YYYY-MM-DD"},
       }) {
    EXPECT_EQ(read(fields), expected);
  }
  for (const auto& [header, problem] : std::vector<std::pair<Fields, std::string>>{
           {{"name", "sex", "year", "month", "leap", "day", "hour", "minute"},
            "lacks the column \"second\""},
           {{"name", "Name"}, "unknown column \"Name\""},
           {{"hour", "hour"}, "the column \"hour\" twice"}}) {
    EXPECT_NE(read({}, header).find(problem), std::string::npos) << problem;
  }
}

TEST(BatchRecords, BirthTimeAndTargetFieldsNameTheirColumn) {
  const Fields header = {"name",   "sex",    "year",  "month", "leap",      "day",   "hour",
                         "minute", "second", "solar", "tz",    "longitude", "place", "on"};
  const auto fields = [](std::string tz, std::string longitude, std::string place) {
    return Fields{"a", "male", "",           "", "",        "",    "0",
                  "0", "0",    "2001-06-08", tz, longitude, place, ""};
  };
  const std::string degrees = " (allowed: -180 to 180, degrees east of Greenwich, west negative)";
  EXPECT_EQ(
      read(fields("", "1" + std::string(400, '0'), ""), header),
      "!longitude: \"1" + std::string(199, '0') + "\"... (401 bytes) is not allowed" + degrees);
  EXPECT_EQ(read(fields("", "-0." + std::string(400, '0') + "1", ""), header).substr(0, 8),
            "a male 2");
  EXPECT_EQ(read(fields(std::string(1 << 20, 'x'), "", ""), header),
            "!tz: unknown time zone \"" + std::string(200, 'x') +
                "\"... (1048576 bytes); a zone is an IANA name such as Asia/Taipei, "
                "Asia/Shanghai or America/New_York");
  EXPECT_EQ(read(fields("", "", "王" + std::string(300, 'y')), header),
            "!place: \"王" + std::string(197, 'y') +
                "\"... (303 bytes) is not in the gazetteer; give a longitude and a time zone "
                "instead");
  // Every field shows a NUL as \x00, the target's date too.
  Fields withTarget = fields("", "", "");
  withTarget.back() = std::string(
      "2026-05-1\0"
      "4",
      11);
  try {
    (void)readBatchTarget(record(withTarget), readBatchHeader(record(header)));
    ADD_FAILURE() << "a target with a NUL was accepted";
  } catch (const Refusal& refusal) {
    EXPECT_EQ(refusal.message,
              "on: \"2026-05-1\\x004\" is not a date of the form YYYY-MM-DD (allowed: "
              "YYYY-MM-DD from 1900-01-31 to 2100-12-31)");
  }
}

TEST(BatchRecords, AllEnumeratesTheLunarInputSpace) {
  EXPECT_EQ(testing::birthText(allBirth(0)), "您的姓名 male 1912-1-1 00:00:00");
  EXPECT_FALSE(allBirth(1).birth.male);
  EXPECT_EQ(allBirth(2).birth.hour, 1);
  EXPECT_EQ(testing::birthText(allBirth(kAllBirths - 1)), "您的姓名 female 2010-12L-30 23:00:00");
}

}  // namespace
}  // namespace ziwei::cli

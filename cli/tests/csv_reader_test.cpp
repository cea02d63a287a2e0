#include "cli/csv_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ziwei::cli {
namespace {

// Every record of `text` as "line: field|field|..." and every refusal as
// "line: !reason".
std::vector<std::string> readAll(std::string_view text) {
  std::vector<std::string> out;
  CsvReader reader(text);
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

using Lines = std::vector<std::string>;

TEST(CsvReader, SplitsFieldsAndKeepsEmptyOnes) {
  EXPECT_EQ(readAll("a,b,c\n1,,3\n,\nlast"), (Lines{"1: a|b|c", "2: 1||3", "3: |", "4: last"}));
  EXPECT_EQ(readAll(""), Lines{});
  EXPECT_EQ(readAll("\n\n"), Lines{});
}

TEST(CsvReader, QuotedFieldsHoldCommasQuotesAndLineBreaks) {
  EXPECT_EQ(readAll("\"Chan, \"\"Tai\"\" Man\",x\n\"\"\n\"two\nlines\",y\r\nz\n"),
            (Lines{"1: Chan, \"Tai\" Man|x", "2: ", "3: two\nlines|y", "5: z"}));
  // A CR LF inside quotes is kept; the record after it counts both lines.
  EXPECT_EQ(readAll("\"a\r\nb\"\r\nc"), (Lines{"1: a\r\nb", "3: c"}));
}

TEST(CsvReader, LineEndsByteOrderMarkAndEmptyLines) {
  EXPECT_EQ(readAll("\xEF\xBB\xBFname,sex\r\nx,male\r\n\r\n\ny,female\r"),
            (Lines{"1: name|sex", "2: x|male", "5: y|female"}));
  // Only a leading mark is dropped; a CR inside a line stays in its field.
  EXPECT_EQ(readAll("a\rb,\xEF\xBB\xBF"
                    "c\n"),
            (Lines{"1: a\rb|\xEF\xBB\xBF"
                   "c"}));
}

TEST(CsvReader, RefusesMalformedRecordsAndGoesOn) {
  EXPECT_EQ(readAll("h\nab\"c,d\nok\n\"x\"y,z\r\nok2\n\"a\"\"b\"\"\",c\n"),
            (Lines{"1: h", "2: !a quote inside a field that does not begin with one", "3: ok",
                   "4: !a closing quote is followed by \"y\" instead of a comma or the end of "
                   "the line",
                   "5: ok2", "6: a\"b\"|c"}));
  // A quote left open is reported at its record's first line; reading goes
  // on with the next line.
  EXPECT_EQ(readAll("h\n\"open,1\nnext,2\n"),
            (Lines{"1: h", "2: !a quoted field is not closed", "3: next|2"}));
  // A fault found on a later line of a record is still reported at its first.
  EXPECT_EQ(readAll("\"a\nb\"c\nd\n"),
            (Lines{"1: !a closing quote is followed by \"c\" instead of a comma or the end of "
                   "the line",
                   "3: d"}));
}

TEST(CsvReader, AnyBytesEndTheReading) {
  // Every prefix of a text with every construct reads to an end.
  const std::string text = "\xEF\xBB\xBF\"a\"\"b\",\r\n\"c\nd\",e\"f\n\"g\"h\r\r\n,,\"";
  for (std::size_t n = 0; n <= text.size(); ++n) {
    CsvReader reader(std::string_view(text).substr(0, n));
    std::size_t count = 0;
    while (reader.next()) ASSERT_LT(++count, 20u) << n;
  }
}

}  // namespace
}  // namespace ziwei::cli

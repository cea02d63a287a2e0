// Hostile and odd input through ziwei: extreme name lengths, malformed
// UTF-8, characters Big5 cannot hold, markup and placeholders in the user's
// texts, control characters and NUL, and outputs that cannot be written.
// The built program runs in a child process; as root, the permission tests
// run it as the user "nobody", since root writes through permission bits.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/cast_command.h"
#include "cli/tests/ziwei_process.h"

namespace {

using namespace ziwei::cli::testing;
using ziwei::cli::CastOptions;
using ziwei::cli::OutputFormat;
using Names = std::vector<std::string>;

// The name as the page shows it: the text between the name's brackets.
std::string shownName(const std::string& page) {
  constexpr std::string_view kSlot = "[                ";
  const std::size_t start = page.find(kSlot);
  const std::size_t end = page.find(" ]</font>", start);
  if (start == std::string::npos || end == std::string::npos) return "(no name slot)";
  return page.substr(start + kSlot.size(), end - start - kSlot.size());
}

std::size_t count(std::string_view text, char c) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), c));
}

std::string repeat(std::string_view part, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += part;
  return text;
}

class HostileInput : public ZiweiProcessTest {
 protected:
  // The UTF-8 page of a chart with `name`.
  std::string page(const std::string& name) {
    const Result result = run({"--encoding", "utf-8", "--print-date", "d", "--name", name});
    EXPECT_EQ(result.status, 0) << result.err;
    return result.out;
  }
};

TEST_F(HostileInput, NamesOfZeroOneAndAHundredThousandCharacters) {
  // Hebrew, Arabic, a right-to-left override, an emoji, a family joined by
  // zero-width joiners, a flag, and a character of the supplementary plane:
  // in Big5 written as references, in UTF-8 as they are.
  const std::string outsideBig5 = "שלום مرحبا \u202Eabc\u202C 😀👩\u200D👧 🇹🇼 𠀋";
  for (const auto& [name, big5] : std::vector<std::pair<std::string, std::string>>{
           {"", ""},
           {"王", "\xA4\xFD"},
           {outsideBig5,
            "&#1513;&#1500;&#1493;&#1501; &#1605;&#1585;&#1581;&#1576;&#1575; &#8238;abc&#8236; "
            "&#128512;&#128105;&#8205;&#128103; &#127481;&#127484; &#131083;"}}) {
    const Result result = run({"--name", name, "--print-date", "d"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(shownName(result.out), big5);
    EXPECT_EQ(shownName(page(name)), name);
  }

  // 100,000 characters, every one of them escaped or not in turn.
  const std::string longName = repeat("a<&'\"@Z>", 100'000 / 8);
  ASSERT_EQ(longName.size(), 100'000u);
  EXPECT_TRUE(shownName(page(longName)) == repeat("a&lt;&amp;&#39;&quot;&#64;Z&gt;", 100'000 / 8));
  const Result json = run({"--format", "json", "--name", longName});
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_EQ(parseJson(json.out)["input"]["name"].GetString(), longName);

  // A single argument is limited to 128 KiB by the kernel: 40,000 characters
  // of three bytes each, every one written as two Big5 bytes.
  EXPECT_TRUE(shownName(run({"--name", repeat("王", 40'000), "--print-date", "d"}).out) ==
              repeat("\xA4\xFD", 40'000));
}

TEST_F(HostileInput, MarkupAndPlaceholdersInUserTextAreShownLiterally) {
  const std::string plain = page("x");
  for (const auto& [name, shown] : std::vector<std::pair<std::string, std::string>>{
           {"<script>alert('x')</script>", "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;"},
           {"\"><img src=x onerror=alert(1)>", "&quot;&gt;&lt;img src=x onerror=alert(1)&gt;"},
           {"@txtNAME@@HourseNUM01@@PrintDate@",
            "&#64;txtNAME&#64;&#64;HourseNUM01&#64;&#64;PrintDate&#64;"},
       }) {
    const std::string html = page(name);
    EXPECT_EQ(shownName(html), shown);
    EXPECT_EQ(count(html, '@'), 0u) << name;
    // The name adds no tag and no quote: the markup is that of a plain name.
    for (const char markup : {'<', '>', '"', '\''}) {
      EXPECT_EQ(count(html, markup), count(plain, markup)) << name;
    }
    // Placeholders that come after the name in the template are still
    // filled with the chart's own texts.
    EXPECT_NE(html.find("~ Tessaro紫微斗數命盤 ~"), std::string::npos);
  }

  const Result date = run({"--encoding", "utf-8", "--print-date", "@Title@<b>'"});
  EXPECT_NE(date.out.find("<td width='30%'>&#64;Title&#64;&lt;b&gt;&#39;</td>"), std::string::npos);
  EXPECT_EQ(count(date.out, '@'), 0u);
}

TEST_F(HostileInput, ControlCharactersAndNul) {
  // A name with a control character (C0, DEL, C1: a browser shows U+0080 as
  // €) is refused with the character and where it stands.
  for (const auto& [name, message] : std::vector<std::pair<std::string, std::string>>{
           {"a\tb\r\nc", "U+0009 (character 2)"},
           {"王\x1B[2J", "U+001B (character 2)"},
           {"ab\x7F", "U+007F (character 3)"},
           {"王小\xC2\x80", "U+0080 (character 3)"},
           {"\xC2\x9F", "U+009F (character 1)"},
       }) {
    const Result result = run({"--name", name});
    EXPECT_EQ(result.status, 2) << message;
    EXPECT_EQ(result.err, "ziwei: --name: the text holds the control character " + message + "\n");
  }

  // A C argv cannot hold NUL; through the library, which does not check
  // names, control characters are written as references (the page stays one
  // line) and kept whole in JSON.
  CastOptions options;
  options.request.name = "a\tb\r\nc\x1B[2J\x7F";
  options.printDate = "d";
  options.encoding = ziwei::PageEncoding::Utf8;
  const std::string html = ziwei::cli::castOutput(options);
  EXPECT_EQ(shownName(html), "a&#9;b&#13;&#10;c&#27;[2J&#127;");
  EXPECT_EQ(html.find('\n'), html.size() - 1);
  options = CastOptions{};
  options.request.name = std::string("a\0b", 3);
  options.printDate = "d";
  EXPECT_EQ(shownName(ziwei::cli::castOutput(options)), "a&#0;b");
  options.format = OutputFormat::Json;
  const std::string json = ziwei::cli::castOutput(options);
  EXPECT_NE(json.find(R"("name":"a\u0000b")"), std::string::npos);
  const auto document = parseJson(json);
  EXPECT_EQ(std::string(document["input"]["name"].GetString(),
                        document["input"]["name"].GetStringLength()),
            options.request.name);
}

// The batch caster reads its records from standard input, where a name can
// be as long as a record (1 MiB) and can hold NUL.
TEST_F(HostileInput, BatchInputWithALongNameAndNul) {
  const std::string longName = repeat("王<", 250'000);
  const std::string nulName("a\0b", 3);
  const std::string csv = "name,sex,year,month,leap,day,hour,minute,second\n" + longName +
                          ",male,1984,1,0,1,0,0,0\n" + nulName + ",female,2000,4,1,20,13,0,0\n" +
                          "\"x\xC2\x85\",male,1984,1,0,1,0,0,0\n";
  const std::string refusals =
      "ziwei: batch: line 3: name: the text holds the control character U+0000 (character 2)\n"
      "ziwei: batch: line 4: name: the text holds the control character U+0085 (character 2)\n";

  const Result jsonLines = run({"batch", "--jobs", "2"}, csv);
  EXPECT_EQ(jsonLines.status, 1);
  EXPECT_TRUE(jsonLines.err.starts_with(refusals)) << jsonLines.err;
  Names names;
  for (const std::string& line : lines(jsonLines.out)) {
    const auto document = parseJson(line);
    names.emplace_back(document["input"]["name"].GetString(),
                       document["input"]["name"].GetStringLength());
  }
  ASSERT_EQ(names.size(), 1u);
  EXPECT_TRUE(names[0] == longName);

  const fs::path pages = dir_ / "pages";
  const Result written = run({"batch", "--pages", pages.string(), "--print-date", "d"}, csv);
  EXPECT_EQ(written.status, 1);
  EXPECT_TRUE(written.err.starts_with(refusals)) << written.err;
  EXPECT_EQ(entries(pages), (Names{"line-000002.htm"}));
  EXPECT_TRUE(shownName(readFile(pages / "line-000002.htm")) == repeat("\xA4\xFD&lt;", 250'000));
}

// Many chart requests in one process: every output is whole and the same for
// the same request. Under the sanitizer build, LeakSanitizer checks at exit
// that the session frees everything it allocated.
TEST(CastSession, ThousandsOfRequestsInOneProcess) {
  constexpr int kDistinct = 40;
  std::vector<std::string> first(kDistinct);
  for (int i = 0; i < 3000; ++i) {
    const int k = i % kDistinct;
    CastOptions options;
    options.request.name = "王" + std::to_string(k) + "<@>";
    options.request.birth.male = k % 2 == 0;
    options.request.birth.year = 1912 + (k * 37) % 189;
    options.request.birth.month = 1 + k % 12;
    options.request.birth.leap = k % 5 == 0;
    options.request.birth.day = 1 + (k * 7) % 30;
    options.request.birth.hour = k % 24;
    options.printDate = "2026/12/6";
    options.format = k % 3 == 0 ? OutputFormat::Json : OutputFormat::Html;
    options.encoding = k % 4 == 1 ? ziwei::PageEncoding::Utf8 : ziwei::PageEncoding::Big5;
    const std::string output = ziwei::cli::castOutput(options);
    std::string& expected = first[static_cast<std::size_t>(k)];
    if (i < kDistinct) {
      ASSERT_TRUE(output.ends_with(options.format == OutputFormat::Json ? "}\n" : "</html>\r\n"));
      expected = output;
    } else {
      ASSERT_TRUE(output == expected) << "request " << i << " differs from request " << k;
    }
  }
}

}  // namespace

// Hostile and odd input through ziwei: extreme name lengths, malformed
// UTF-8, characters Big5 cannot hold, markup and placeholders in the user's
// texts, control characters and NUL, and outputs that cannot be written.
// The built program runs in a child process; as root, the permission tests
// run it as the user "nobody", since root writes through permission bits.
#include <gtest/gtest.h>
#include <pwd.h>
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
  HostileInput() : ZiweiProcessTest("ziwei-hostile-") {}
  void SetUp() override {
    ZiweiProcessTest::SetUp();
    fs::create_directories(dir_ / "files");
    // The unprivileged user of the permission tests must reach the folder.
    fs::permissions(dir_, fs::perms::all);
    fs::permissions(dir_ / "files", fs::perms::all);
  }
  void TearDown() override {
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(dir_, ignored)) {
      if (entry.is_directory()) fs::permissions(entry.path(), fs::perms::all, ignored);
    }
    ZiweiProcessTest::TearDown();
  }

  // The UTF-8 page of a chart with `name`.
  std::string page(const std::string& name) {
    const Result result = run({"--encoding", "utf-8", "--print-date", "d", "--name", name});
    EXPECT_EQ(result.status, 0) << result.err;
    return result.out;
  }
};

// An I/O failure: status 1, one line naming the output, nothing written.
void expectIoError(const Result& result, const std::string& start) {
  EXPECT_EQ(result.status, 1);
  EXPECT_TRUE(result.err.starts_with("ziwei: " + start)) << result.err;
  EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
  EXPECT_EQ(result.out, "");
}

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

TEST_F(HostileInput, InvalidUtf8IsRefusedWithAMessage) {
  const std::string path = (dir_ / "files" / "chart.htm").string();
  for (const std::string text : {
           "\xC0\xAF",          // overlong "/"
           "\xED\xA0\x80",      // UTF-16 surrogate
           "\xF4\x90\x80\x80",  // above U+10FFFF
           "\xE7\x8E",          // cut short
           "\x80",              // continuation byte alone
           "\xFF\xFE",          // bytes that never occur in UTF-8
           "王\xB5\xB5",        // Big5 bytes after UTF-8
       }) {
    for (const std::string option : {"--name", "--print-date"}) {
      const Result result = run({option, text, "-o", path});
      EXPECT_EQ(result.status, 2);
      EXPECT_EQ(result.err, "ziwei: " + option + ": the text is not valid UTF-8\n");
      EXPECT_EQ(result.out, "");
    }
  }
  EXPECT_TRUE(fs::is_empty(dir_ / "files"));
}

TEST_F(HostileInput, MarkupAndPlaceholdersInUserTextAreShownLiterally) {
  const std::string plain = page("x");
  for (const auto& [name, shown] : std::vector<std::pair<std::string, std::string>>{
           {"<script>alert('x')</script>", "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;"},
           {"\"><img src=x onerror=alert(1)>", "&quot;&gt;&lt;img src=x onerror=alert(1)&gt;"},
           {"</font></td></tr></table>", "&lt;/font&gt;&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;"},
           {"@Title@", "&#64;Title&#64;"},
           {"@txtNAME@@HourseNUM01@@PrintDate@",
            "&#64;txtNAME&#64;&#64;HourseNUM01&#64;&#64;PrintDate&#64;"},
           {"&lt;&#64;&amp;", "&amp;lt;&amp;#64;&amp;amp;"},
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
  // Line breaks, tab and escape are written as references: the page stays
  // one line and sends nothing to a terminal that shows it.
  const std::string html = page("a\tb\r\nc\x1B[2J\x7F");
  EXPECT_EQ(shownName(html), "a&#9;b&#13;&#10;c&#27;[2J&#127;");
  EXPECT_EQ(html.find('\n'), html.size() - 1);

  // A C argv cannot hold NUL; through the library a name with NUL in it is
  // written as a reference and kept whole in JSON.
  CastOptions options;
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

  // A value that is refused is quoted in one line, its control characters
  // and malformed bytes shown as \xNN; the same for the calendar commands,
  // from arguments and from standard input.
  const Result year = run({"--year", "1\n\x1B[2J\xFF"});
  EXPECT_EQ(year.status, 2);
  EXPECT_EQ(
      year.err,
      "ziwei: --year: \"1\\x0A\\x1B[2J\\xFF\" is not a whole number (allowed: 1912 to 2100)\n");
  EXPECT_EQ(run({"--\x9B"
                 "31m"})
                .err,
            "ziwei: unknown option \"--\\x9B31m\" (see ziwei --help)\n");
  EXPECT_EQ(run({"lunar", "20\x1B[2J\n01-01-01"}).err,
            "ziwei: lunar: argument 1: \"20\\x1B[2J\\x0A01-01-01\" is not a date of the form "
            "YYYY-MM-DD\n");
  EXPECT_EQ(run({"lunar", "-"}, "\x1B[2J\xFF\n").err,
            "ziwei: lunar: line 1 of standard input: \"\\x1B[2J\\xFF\" is not a date of the form "
            "YYYY-MM-DD\n");
  EXPECT_EQ(run({"solar", "19\x1B[2J", "1", "1"}).err,
            "ziwei: solar: YEAR: \"19\\x1B[2J\" is not a whole number (see ziwei solar --help)\n");
  const fs::path missing = dir_ / "no\nsuch" / "chart.htm";
  expectIoError(run({"-o", missing.string()}),
                "cannot write " + (dir_ / "no\\x0Asuch" / "chart.htm").string() + ": ");
}

TEST_F(HostileInput, OutputsThatCannotBeWritten) {
  const fs::path files = dir_ / "files";
  const std::string longName(100'000, 'x');

  // A full device and a closed standard output, with a page of 100 KB.
  expectIoError(run({"--name", longName}, "", "/dev/full"),
                "cannot write to standard output: No space left on device");
  expectIoError(run({"--name", longName}, "", "-"),
                "cannot write to standard output: Bad file descriptor");
  expectIoError(run({"--format", "json"}, "", "-"), "cannot write to standard output: ");
  expectIoError(run({"--name", longName, "-o", "/dev/full"}),
                "cannot write /dev/full: No space left on device");
  EXPECT_TRUE(fs::is_character_file("/dev/full"));

  // A missing folder, a file where a folder should be, and a file on a
  // file system that takes no new files (even from root).
  for (const fs::path& path : {files / "missing" / "chart.htm", files / "plain" / "chart.htm"}) {
    writeFile(files / "plain", "kept");
    expectIoError(run({"-o", path.string()}), "cannot write " + path.string() + ": ");
  }
  const std::string version = readFile("/proc/version");
  expectIoError(run({"-o", "/proc/version"}), "cannot write /proc/version: ");
  EXPECT_EQ(readFile("/proc/version"), version);
  EXPECT_EQ(entries(files), Names{"plain"});
  EXPECT_EQ(readFile(files / "plain"), "kept");
}

// The batch caster reads its records from standard input, where a name can
// be as long as the input and can hold NUL.
TEST_F(HostileInput, BatchInputWithAMillionCharacterNameAndNul) {
  const std::string millionName = repeat("王<", 500'000);
  const std::string nulName("a\0b", 3);
  const std::string csv = "name,sex,year,month,leap,day,hour,minute,second\n" + millionName +
                          ",male,1984,1,0,1,0,0,0\n" + nulName + ",female,2000,4,1,20,13,0,0\n";

  const Result jsonLines = run({"batch", "--jobs", "2"}, csv);
  ASSERT_EQ(jsonLines.status, 0) << jsonLines.err;
  Names names;
  for (const std::string& line : lines(jsonLines.out)) {
    const auto document = parseJson(line);
    names.emplace_back(document["input"]["name"].GetString(),
                       document["input"]["name"].GetStringLength());
  }
  ASSERT_EQ(names.size(), 2u);
  EXPECT_TRUE(names[0] == millionName);
  EXPECT_EQ(names[1], nulName);

  const fs::path pages = dir_ / "files";
  const Result written = run({"batch", "--pages", pages.string(), "--print-date", "d"}, csv);
  ASSERT_EQ(written.status, 0) << written.err;
  EXPECT_EQ(entries(pages), (Names{"line-000002.htm", "line-000003.htm"}));
  EXPECT_TRUE(shownName(readFile(pages / "line-000002.htm")) == repeat("\xA4\xFD&lt;", 500'000));
  EXPECT_EQ(shownName(readFile(pages / "line-000003.htm")), "a&#0;b");
}

// Permission bits stop only an unprivileged user: as root these run ziwei
// as "nobody".
TEST_F(HostileInput, ReadOnlyFilesAndFoldersAreLeftAlone) {
  if (::geteuid() == 0) {
    const passwd* nobody = ::getpwnam("nobody");
    if (nobody == nullptr) GTEST_SKIP() << "no user nobody";
    runAs_ = {nobody->pw_uid, nobody->pw_gid};
  }
  const fs::path files = dir_ / "files";

  // A read-only file in a folder the user may write: not replaced.
  const fs::path chart = files / "chart.htm";
  writeFile(chart, "old page");
  fs::permissions(chart, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  expectIoError(run({"-o", chart.string()}),
                "cannot write " + chart.string() + ": Permission denied");
  EXPECT_EQ(readFile(chart), "old page");
  EXPECT_EQ(entries(files), Names{"chart.htm"});

  // A read-only folder: no temporary file, no page.
  fs::create_directory(files / "locked");
  fs::permissions(files / "locked", fs::perms::owner_read | fs::perms::owner_exec |
                                        fs::perms::others_read | fs::perms::others_exec);
  const fs::path locked = files / "locked" / "chart.htm";
  expectIoError(run({"-o", locked.string()}),
                "cannot write " + locked.string() +
                    ": cannot create a temporary file beside it: Permission denied");
  EXPECT_TRUE(fs::is_empty(files / "locked"));

  // A writable file is replaced by the same user, as before.
  fs::permissions(chart, fs::perms::all);
  EXPECT_EQ(run({"-o", chart.string()}).status, 0);
  EXPECT_TRUE(readFile(chart).starts_with("<html>"));
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

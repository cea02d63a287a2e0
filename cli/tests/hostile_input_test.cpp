// Hostile and odd input through ziwei: extreme name lengths, malformed
// UTF-8, characters Big5 cannot hold, markup and placeholders in the user's
// texts, control characters and NUL, and outputs that cannot be written.
// The built program runs in a child process; as root, the permission tests
// run it as the user "nobody", since root writes through permission bits.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <rapidjson/document.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/cast_command.h"
#include "cli/tests/ziwei_process.h"
#include "page/page_file.h"

namespace {

using namespace ziwei::cli::testing;
using ziwei::cli::CastOptions;
using ziwei::cli::OutputFormat;

constexpr std::string_view kNameSlot = "[                ";  // the name follows
constexpr std::string_view kNameEnd = " ]</font>";

std::vector<std::string> entries(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The name as the page shows it: the text between the name's brackets.
std::string shownName(const std::string& page) {
  const std::size_t start = page.find(kNameSlot);
  if (start == std::string::npos) return "(no name slot)";
  const std::size_t end = page.find(kNameEnd, start + kNameSlot.size());
  if (end == std::string::npos) return "(no name end)";
  return page.substr(start + kNameSlot.size(), end - start - kNameSlot.size());
}

std::size_t count(std::string_view text, char c) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), c));
}

enum class Stdout { File, Closed, DevFull };

class HostileInput : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("ziwei-hostile-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
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
    fs::remove_all(dir_, ignored);
  }

  // Runs ziwei with `args` in a child process. `unprivileged`: as "nobody"
  // when the test runs as root.
  Result run(const std::vector<std::string>& args, Stdout out = Stdout::File,
             bool unprivileged = false, const std::string& input = "") {
    const fs::path outPath = dir_ / "out";
    const fs::path errPath = dir_ / "err";
    fs::remove(outPath);
    fs::remove(errPath);
    const fs::path inPath = dir_ / "in";
    writeFile(inPath, input);
    std::vector<char*> argv;
    std::string program = ZIWEI_EXECUTABLE;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& arg : copies) argv.push_back(arg.data());
    argv.push_back(nullptr);
    const passwd* nobody = ::getpwnam("nobody");

    const pid_t child = ::fork();
    if (child == 0) {
      const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
      ::dup2(err, STDERR_FILENO);
      ::dup2(::open(inPath.c_str(), O_RDONLY), STDIN_FILENO);
      if (out == Stdout::Closed) {
        ::close(STDOUT_FILENO);
      } else {
        const int fd = out == Stdout::DevFull
                           ? ::open("/dev/full", O_WRONLY)
                           : ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        ::dup2(fd, STDOUT_FILENO);
      }
      if (unprivileged && ::geteuid() == 0 && nobody != nullptr) {
        if (::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0) ::_exit(126);
      }
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    int raw = 0;
    ::waitpid(child, &raw, 0);
    Result result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    result.out = readFile(outPath);
    result.err = readFile(errPath);
    return result;
  }

  // The UTF-8 page of a chart with `name`.
  std::string page(const std::string& name) {
    const Result result = run({"--encoding", "utf-8", "--print-date", "d", "--name", name});
    EXPECT_EQ(result.status, 0) << result.err;
    return result.out;
  }

  fs::path dir_;
};

// An I/O failure: status 1, one line naming the output, nothing written.
void expectIoError(const Result& result, const std::string& start) {
  EXPECT_EQ(result.status, 1);
  EXPECT_TRUE(result.err.starts_with("ziwei: " + start)) << result.err;
  EXPECT_EQ(count(result.err, '\n'), 1u) << result.err;
  EXPECT_TRUE(result.err.ends_with("\n")) << result.err;
  EXPECT_EQ(result.out, "");
}

TEST_F(HostileInput, NamesOfZeroOneAndAHundredThousandCharacters) {
  EXPECT_EQ(shownName(page("")), "");
  EXPECT_EQ(shownName(page("王")), "王");
  const Result big5 = run({"--name", "王", "--print-date", "d"});
  EXPECT_EQ(shownName(big5.out), "\xA4\xFD");

  // 100,000 characters, every one of them escaped or not in turn.
  const std::string pattern = "a<&'\"@Z>";
  const std::string escapedPattern = "a&lt;&amp;&#39;&quot;&#64;Z&gt;";
  std::string longName;
  std::string escaped;
  for (int i = 0; i < 100'000 / 8; ++i) {
    longName += pattern;
    escaped += escapedPattern;
  }
  ASSERT_EQ(longName.size(), 100'000u);
  EXPECT_EQ(shownName(page(longName)), escaped);
  const Result json = run({"--format", "json", "--name", longName});
  ASSERT_EQ(json.status, 0) << json.err;
  rapidjson::Document document;
  document.Parse(json.out.c_str());
  ASSERT_FALSE(document.HasParseError());
  EXPECT_EQ(document["input"]["name"].GetString(), longName);

  // A single argument is limited to 128 KiB by the kernel: 40,000 characters
  // of three bytes each, every one written as two Big5 bytes.
  std::string wide;
  std::string wideBig5;
  for (int i = 0; i < 40'000; ++i) {
    wide += "王";
    wideBig5 += "\xA4\xFD";
  }
  EXPECT_EQ(shownName(run({"--name", wide, "--print-date", "d"}).out), wideBig5);
}

TEST_F(HostileInput, InvalidUtf8IsRefusedWithAMessage) {
  const std::string path = (dir_ / "files" / "chart.htm").string();
  const std::vector<std::string> malformed = {
      "\xC0\xAF",          // overlong "/"
      "\xED\xA0\x80",      // UTF-16 surrogate
      "\xF4\x90\x80\x80",  // above U+10FFFF
      "\xE7\x8E",          // cut short
      "\x80",              // continuation byte alone
      "\xFF\xFE",          // bytes that never occur in UTF-8
      "王\xB5\xB5",        // Big5 bytes after UTF-8
  };
  for (const std::string& text : malformed) {
    for (const std::string option : {"--name", "--print-date"}) {
      const Result result = run({option, text, "-o", path});
      EXPECT_EQ(result.status, 2);
      EXPECT_EQ(result.err, "ziwei: " + option + ": the text is not valid UTF-8\n");
      EXPECT_EQ(result.out, "");
    }
  }
  EXPECT_TRUE(fs::is_empty(dir_ / "files"));
}

TEST_F(HostileInput, CharactersOutsideBig5AreWrittenAsReferences) {
  // Hebrew, Arabic, a right-to-left override, an emoji, a family joined by
  // zero-width joiners, a flag, and a character of the supplementary plane.
  const std::string name = "שלום مرحبا \u202Eabc\u202C 😀👩\u200D👧 🇹🇼 𠀋";
  const std::string references =
      "&#1513;&#1500;&#1493;&#1501; &#1605;&#1585;&#1581;&#1576;&#1575; &#8238;abc&#8236; "
      "&#128512;&#128105;&#8205;&#128103; &#127481;&#127484; &#131083;";
  const Result big5 = run({"--name", name, "--print-date", "d"});
  EXPECT_EQ(big5.status, 0);
  EXPECT_EQ(shownName(big5.out), references);
  // In UTF-8 the characters stand as they are.
  EXPECT_EQ(shownName(page(name)), name);
}

TEST_F(HostileInput, MarkupAndPlaceholdersInUserTextAreShownLiterally) {
  const std::string plain = page("x");
  const std::vector<std::pair<std::string, std::string>> names = {
      {"<script>alert('x')</script>", "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;"},
      {"\"><img src=x onerror=alert(1)>", "&quot;&gt;&lt;img src=x onerror=alert(1)&gt;"},
      {"</font></td></tr></table>", "&lt;/font&gt;&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;"},
      {"@Title@", "&#64;Title&#64;"},
      {"@txtNAME@@HourseNUM01@@PrintDate@",
       "&#64;txtNAME&#64;&#64;HourseNUM01&#64;&#64;PrintDate&#64;"},
      {"&lt;&#64;&amp;", "&amp;lt;&amp;#64;&amp;amp;"},
  };
  for (const auto& [name, shown] : names) {
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
  options.birth.name = std::string("a\0b", 3);
  options.printDate = "d";
  EXPECT_EQ(shownName(ziwei::cli::castOutput(options)), "a&#0;b");
  options.format = OutputFormat::Json;
  const std::string json = ziwei::cli::castOutput(options);
  EXPECT_NE(json.find(R"("name":"a\u0000b")"), std::string::npos);
  rapidjson::Document document;
  document.Parse(json.c_str());
  ASSERT_FALSE(document.HasParseError());
  EXPECT_EQ(std::string(document["input"]["name"].GetString(),
                        document["input"]["name"].GetStringLength()),
            options.birth.name);

  // A value that is refused is quoted in one line, its control characters
  // and malformed bytes shown as \xNN.
  const Result year = run({"--year", "1\n\x1B[2J\xFF"});
  EXPECT_EQ(year.status, 2);
  EXPECT_EQ(
      year.err,
      "ziwei: --year: \"1\\x0A\\x1B[2J\\xFF\" is not a whole number (allowed: 1912 to 2100)\n");
  const Result option =
      run({"--\x9B"
           "31m"});
  EXPECT_EQ(option.err, "ziwei: unknown option \"--\\x9B31m\" (see ziwei --help)\n");
  // The same for the calendar commands, from arguments and from standard input.
  EXPECT_EQ(run({"lunar", "20\x1B[2J\n01-01-01"}).err,
            "ziwei: lunar: argument 1: \"20\\x1B[2J\\x0A01-01-01\" is not a date of the form "
            "YYYY-MM-DD\n");
  EXPECT_EQ(run({"lunar", "-"}, Stdout::File, false, "\x1B[2J\xFF\n").err,
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
  expectIoError(run({"--name", longName}, Stdout::DevFull),
                "cannot write to standard output: No space left on device");
  expectIoError(run({"--name", longName}, Stdout::Closed),
                "cannot write to standard output: Bad file descriptor");
  expectIoError(run({"--name", longName, "-o", "/dev/full"}),
                "cannot write /dev/full: No space left on device");

  // A missing folder, a file where a folder should be, and a file on a
  // file system that takes no new files (even from root).
  expectIoError(run({"-o", (files / "missing" / "chart.htm").string()}),
                "cannot write " + (files / "missing" / "chart.htm").string() + ": ");
  writeFile(files / "plain", "kept");
  expectIoError(run({"-o", (files / "plain" / "chart.htm").string()}),
                "cannot write " + (files / "plain" / "chart.htm").string() + ": ");
  const std::string version = readFile("/proc/version");
  expectIoError(run({"-o", "/proc/version"}), "cannot write /proc/version: ");
  EXPECT_EQ(readFile("/proc/version"), version);
  EXPECT_EQ(entries(files), std::vector<std::string>{"plain"});
  EXPECT_EQ(readFile(files / "plain"), "kept");
}

// The batch caster reads its records from standard input, where a name can
// be as long as the input and can hold NUL.
TEST_F(HostileInput, BatchInputWithAMillionCharacterNameAndNul) {
  std::string millionName;
  std::string millionBig5;
  for (int i = 0; i < 500'000; ++i) {
    millionName += "王<";
    millionBig5 += "\xA4\xFD&lt;";
  }
  const std::string nulName("a\0b", 3);
  const std::string csv = "name,sex,year,month,leap,day,hour,minute,second\n" + millionName +
                          ",male,1984,1,0,1,0,0,0\n" + nulName + ",female,2000,4,1,20,13,0,0\n";

  const Result lines = run({"batch", "--jobs", "2"}, Stdout::File, false, csv);
  ASSERT_EQ(lines.status, 0) << lines.err;
  const std::size_t firstEnd = lines.out.find('\n');
  ASSERT_NE(firstEnd, std::string::npos);
  std::vector<std::string> names;
  for (const std::string& line : {lines.out.substr(0, firstEnd), lines.out.substr(firstEnd + 1)}) {
    rapidjson::Document document;
    document.Parse(line.c_str());
    ASSERT_FALSE(document.HasParseError());
    const rapidjson::Value& name = document["input"]["name"];
    names.emplace_back(name.GetString(), name.GetStringLength());
  }
  EXPECT_TRUE(names[0] == millionName);
  EXPECT_EQ(names[1], nulName);

  const fs::path pages = dir_ / "files";
  const Result written =
      run({"batch", "--pages", pages.string(), "--print-date", "d"}, Stdout::File, false, csv);
  ASSERT_EQ(written.status, 0) << written.err;
  EXPECT_EQ(entries(pages), (std::vector<std::string>{"line-000002.htm", "line-000003.htm"}));
  EXPECT_TRUE(shownName(readFile(pages / "line-000002.htm")) == millionBig5);
  EXPECT_EQ(shownName(readFile(pages / "line-000003.htm")), "a&#0;b");
}

// Permission bits stop only an unprivileged user: as root these run ziwei
// as "nobody".
TEST_F(HostileInput, ReadOnlyFilesAndFoldersAreLeftAlone) {
  if (::geteuid() == 0 && ::getpwnam("nobody") == nullptr) GTEST_SKIP() << "no user nobody";
  const fs::path files = dir_ / "files";

  // A read-only file in a folder the user may write: not replaced.
  writeFile(files / "chart.htm", "old page");
  fs::permissions(files / "chart.htm",
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  expectIoError(run({"-o", (files / "chart.htm").string()}, Stdout::File, true),
                "cannot write " + (files / "chart.htm").string() + ": Permission denied");
  EXPECT_EQ(readFile(files / "chart.htm"), "old page");
  EXPECT_EQ(entries(files), std::vector<std::string>{"chart.htm"});

  // A read-only folder: no temporary file, no page.
  fs::create_directory(files / "locked");
  fs::permissions(files / "locked", fs::perms::owner_read | fs::perms::owner_exec |
                                        fs::perms::others_read | fs::perms::others_exec);
  const fs::path locked = files / "locked" / "chart.htm";
  expectIoError(run({"-o", locked.string()}, Stdout::File, true),
                "cannot write " + locked.string() +
                    ": cannot create a temporary file beside it: Permission denied");
  EXPECT_TRUE(fs::is_empty(files / "locked"));

  // A writable file is replaced by the same user, as before.
  fs::permissions(files / "chart.htm", fs::perms::all);
  EXPECT_EQ(run({"-o", (files / "chart.htm").string()}, Stdout::File, true).status, 0);
  EXPECT_TRUE(readFile(files / "chart.htm").starts_with("<html>"));
}

// Many chart requests in one process: every output is whole and the same for
// the same request. Under the sanitizer build, LeakSanitizer checks at exit
// that the session frees everything it allocated.
TEST(CastSession, ThousandsOfRequestsInOneProcess) {
  constexpr int kRequests = 3000;
  constexpr int kDistinct = 40;
  std::vector<std::string> first(kDistinct);
  for (int i = 0; i < kRequests; ++i) {
    const int k = i % kDistinct;
    CastOptions options;
    options.birth.name = "王" + std::to_string(k) + "<@>";
    options.birth.male = k % 2 == 0;
    options.birth.year = 1912 + (k * 37) % 189;
    options.birth.month = 1 + k % 12;
    options.birth.leap = k % 5 == 0;
    options.birth.day = 1 + (k * 7) % 30;
    options.birth.hour = k % 24;
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

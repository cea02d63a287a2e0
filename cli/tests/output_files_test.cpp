// What ziwei does to the files and streams it writes: every command through
// one output type. The shell cases run as the user "nobody" where
// permissions matter (root writes through permission bits).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "cli/tests/ziwei_process.h"

namespace {

using namespace ziwei::cli::testing;

class OutputFiles : public ZiweiProcessTest {
 protected:
  void SetUp() override {
    ZiweiProcessTest::SetUp();
    writeFile(dir_ / "in.csv",
              "name,sex,year,month,leap,day,hour,minute,second\na,male,2000,1,0,1,0,0,0\n");
    writeFile(dir_ / "bad.csv",
              "name,sex,year,month,leap,day,hour,minute,second\n"
              "a,male,2000,1,0,1,0,0,0\nb,man,2000,1,0,1,0,0,0\n");
  }
  // The names in dir_ and below that hold ".tmp".
  std::vector<std::string> temporaries() {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(dir_)) {
      if (entry.path().filename().string().find(".tmp") != std::string::npos) {
        found.push_back(entry.path().filename());
      }
    }
    return found;
  }
};

struct ShellCase {
  std::string script;  // its last command prints what is checked
  int status;
  std::string out;  // standard output starts with this
  std::string err;  // standard error holds this
  bool unprivileged = false;
};

TEST_F(OutputFiles, StreamsLinksModesAndRefusals) {
  const std::string json = "{\"input\":{\"name\":\"a\"";
  for (const ShellCase& c : std::vector<ShellCase>{
           // Closed standard streams: no output file takes their number.
           {"$Z batch in.csv -o out.jsonl >&-; s=$?; wc -l < out.jsonl; exit $s", 0, "1\n", ""},
           {"$Z batch -o out.jsonl < bad.csv 2>&-; s=$?; grep -c ziwei out.jsonl; exit $s", 1,
            "0\n", ""},
           {"$Z batch --pages p < bad.csv 2>&-; s=$?; cat p/* | grep -c ziwei; exit $s", 1, "0\n",
            ""},
           {"$Z -o x.htm <&- >&- 2>&-; s=$?; head -c 6 x.htm; exit $s", 0, "<html>", ""},
           // Standard output named as a file is written through the descriptor.
           {"printf 'OLD\\n' > log; $Z batch in.csv -o /dev/stdout >> log && cat log", 0,
            "OLD\n" + json, ""},
           {"printf 'OLD\\n' > log; $Z --format json -o /proc/self/fd/1 >> log && cat log", 0,
            "OLD\n{\"input\":", ""},
           {"$Z lunar 2001-06-08 >&-", 1, "", "ziwei: cannot write to standard output: Bad file"},
           // Mode and owner kept; hard links, loops, read-only files refused.
           {"umask 022; echo x > f; chmod 640 f; $Z -o f && stat -c %a f", 0, "640\n", "", true},
           {"echo x > f; chown nobody f; $Z batch in.csv -o f && stat -c %U f", 0, "nobody\n", ""},
           {"echo x > f; ln f g; $Z -o f; s=$?; cat g; exit $s", 1, "x\n",
            "ziwei: cannot write f: the file has 1 other hard link(s)", true},
           {"ln -s a b; ln -s b a; $Z batch in.csv -o a", 1, "",
            "ziwei: batch: cannot write a: Too many levels of symbolic links"},
           {"ln -s a b; ln -s b a; $Z -o b", 1, "", "cannot write b: Too many levels"},
           {"echo old > ro; chmod 444 ro; $Z batch in.csv -o ro; s=$?; cat ro; exit $s", 1, "old\n",
            "ziwei: batch: cannot write ro: Permission denied", true},
           {"echo old > ro; chmod 444 ro; $Z -o ro; s=$?; cat ro; exit $s", 1, "old\n",
            "ziwei: cannot write ro: Permission denied", true},
           {"mkdir p; echo old > p/line-000002.htm; chmod 444 p/line-000002.htm; "
            "$Z batch --pages p in.csv; s=$?; cat p/*; exit $s",
            1, "old\n", "cannot write p/line-000002.htm: Permission denied", true},
           {"mkdir d; chmod 555 d; $Z -o d/x.htm; s=$?; ls d; exit $s", 1, "",
            "cannot write d/x.htm: cannot create a temporary file beside it: Permission denied",
            true},
           {"mkdir d; $Z -o d; s=$?; ls d; exit $s", 1, "", "cannot write d: Is a directory"},
           {"$Z -o /proc/version", 1, "", "cannot write /proc/version: "},
           {"$Z batch in.csv -o /dev/full", 1, "",
            "cannot write /dev/full: No space left on device"},
           {"ln -s t.jsonl l; $Z batch in.csv -o l && test -L l && head -c 20 t.jsonl", 0,
            json.substr(0, 20), ""},
           // A name of 255 bytes keeps its temporary name within 255 bytes.
           {"n=$(printf '%0255d' 0); $Z -o $n && ls", 0, std::string(255, '0') + "\n", ""},
           {"$Z batch --help > /dev/full", 1, "",
            "ziwei: cannot write to standard output: No space"},
       }) {
    fs::remove_all(dir_ / "p");
    for (const char* name : {"f", "g", "a", "b", "ro", "d", "l", "t.jsonl", "log", "out.jsonl"}) {
      std::error_code ignored;
      if (fs::symlink_status(dir_ / name).type() == fs::file_type::directory) {
        fs::permissions(dir_ / name, fs::perms::all);
      }
      fs::remove_all(dir_ / name, ignored);
    }
    if (c.unprivileged && ::geteuid() == 0) fs::permissions(dir_, fs::perms::all);
    const Result result = sh(c.script, c.unprivileged);
    EXPECT_EQ(result.status, c.status) << c.script << "\n" << result.err;
    EXPECT_TRUE(result.out.starts_with(c.out)) << c.script << "\n" << result.out;
    EXPECT_NE(result.err.find(c.err), std::string::npos) << c.script << "\n" << result.err;
    EXPECT_EQ(temporaries(), std::vector<std::string>{}) << c.script;
  }
}

TEST_F(OutputFiles, SignalsRemoveTemporaryFiles) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"batch", "--all", "-o", "all.jsonl", "--force"},
          std::vector<std::string>{"batch", "--all", "--pages", "p", "--force"}}) {
      std::vector<char*> argv{const_cast<char*>(ZIWEI_EXECUTABLE)};
      for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
      argv.push_back(nullptr);
      const pid_t child = ::fork();
      if (child == 0) {
        if (::chdir(dir_.c_str()) != 0) ::_exit(126);
        ::execv(argv[0], argv.data());
        ::_exit(127);
      }
      // Until the run has its temporary file, or its first pages.
      const bool pages = args[2] == "--pages";
      for (int i = 0; i < 500; ++i) {
        if (pages ? fs::exists(dir_ / "p") && !fs::is_empty(dir_ / "p") : !temporaries().empty()) {
          break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
      ::kill(child, signal);
      int raw = 0;
      ::waitpid(child, &raw, 0);
      EXPECT_TRUE(WIFSIGNALED(raw) && WTERMSIG(raw) == signal) << signal << " " << args[2];
      EXPECT_EQ(temporaries(), std::vector<std::string>{}) << signal << " " << args[2];
      EXPECT_FALSE(fs::exists(dir_ / "all.jsonl"));
      fs::remove_all(dir_ / "p");
    }
  }
}

TEST_F(OutputFiles, LongLinesAndLongValues) {
  writeFile(dir_ / "long.csv", "name,sex,year,month,leap,day,hour,minute,second\n" +
                                   std::string(3 << 20, 'x') + "\na," + std::string(1000, 'm') +
                                   ",2000,1,0,1,0,0,0\nb,male,2000,1,0,1,0,0,0\n");
  const Result result = sh("$Z batch long.csv");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(lines(result.out).size(), 1u);
  EXPECT_EQ(lines(result.err).at(0),
            "ziwei: batch: line 2: longer than 1 MiB (1048576 bytes), the longest allowed");
  EXPECT_EQ(lines(result.err).at(1),
            "ziwei: batch: line 3: sex: \"" + std::string(200, 'm') +
                "\"... (1000 bytes) is not allowed (allowed: male, female)");
  EXPECT_TRUE(lines(result.err).at(2).starts_with("ziwei: batch: 1 chart cast, 2 lines refused"));
}

TEST_F(OutputFiles, CalendarInputErrorsAndMessages) {
  for (const ShellCase& c : std::vector<ShellCase>{
           {"printf '2001-06-10\\0junk\\n' | $Z lunar -", 1, "",
            "ziwei: lunar: line 1 of standard input: \"2001-06-10\\x00junk\" is not a date"},
           {"$Z lunar - <&-", 1, "",
            "ziwei: lunar: cannot read standard input: Bad file descriptor"},
           {"$Z lunar - < .", 1, "", "ziwei: lunar: cannot read standard input: Is a directory"},
           {"$Z batch <&-", 1, "", "ziwei: batch: cannot read standard input: Bad file descriptor"},
           {"$Z solar 2000 1 0", 2, "",
            "ziwei: solar: DAY: \"0\" is not allowed (allowed: 1 to 30)"},
       }) {
    const Result result = sh(c.script);
    EXPECT_EQ(result.status, c.status) << c.script;
    EXPECT_NE(result.err.find(c.err), std::string::npos) << c.script << "\n" << result.err;
  }
  // The progress bar counts refused records apart from the charts cast.
  const Result bar = sh("script -qec '$Z batch bad.csv -o o.jsonl' /dev/null");
  if (bar.status == 127) GTEST_SKIP() << "no script(1)";
  EXPECT_NE(bar.out.find("1 cast, 1 refused"), std::string::npos) << bar.out;
}

// A full file system: a small tmpfs, mounted when the tests may mount.
TEST_F(OutputFiles, FullFileSystem) {
  const fs::path small = dir_ / "small";
  fs::create_directory(small);
  if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=4m") != 0) {
    GTEST_SKIP() << "cannot mount a tmpfs here";
  }
  std::string csv = "name,sex,year,month,leap,day,hour,minute,second\n";
  for (int i = 0; i < 1000; ++i) {
    csv += "n" + std::to_string(i) + ",male,2000,1,0,1,0,0,0\n";
    if (i == 199) writeFile(dir_ / "many.csv", csv);
  }
  writeFile(dir_ / "more.csv", csv);

  Result result = sh("$Z batch --pages small/p many.csv");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find(" MB (200 charts), but small/p has 4.2 MB free; "
                            "give --force to write anyway"),
            std::string::npos)
      << result.err;
  EXPECT_FALSE(fs::exists(small / "p"));  // refused before it is made

  result = sh("$Z batch --pages small/p --force many.csv");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find(": No space left on device"), std::string::npos) << result.err;
  std::size_t pages = 0;
  for (const auto& entry : fs::directory_iterator(small / "p")) {
    EXPECT_TRUE(readFile(entry.path()).ends_with("</html>\r\n")) << entry.path();
    ++pages;
  }
  EXPECT_GT(pages, 0u);
  EXPECT_NE(result.err.find("batch: " + std::to_string(pages) + " charts written, 0 lines refused"),
            std::string::npos)
      << result.err;
  EXPECT_EQ(temporaries(), std::vector<std::string>{});

  // A JSON Lines file replaced as a whole keeps nothing of a failed run.
  fs::remove_all(small / "p");
  result = sh("$Z batch -o small/x.jsonl --force more.csv");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("batch: 0 charts written"), std::string::npos) << result.err;
  EXPECT_FALSE(fs::exists(small / "x.jsonl"));

  result = sh("$Z batch -o small/all.jsonl --all");
  EXPECT_NE(result.err.find("GB (3421440 charts), but small has "), std::string::npos)
      << result.err;
  ::umount(small.c_str());
}

}  // namespace

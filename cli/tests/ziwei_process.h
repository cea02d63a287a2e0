#pragma once
// Runs the built ziwei (ZIWEI_EXECUTABLE) in a child process, as a user
// would, inside a scratch folder of its own for each test; and helpers the
// cli tests share.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <rapidjson/document.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "birth/lunar_birth.h"
#include "calendar/gregorian.h"

namespace ziwei::cli::testing {

namespace fs = std::filesystem;

struct Result {
  int status = -1;  // exit status, -1 when the program did not exit normally
  std::string out;
  std::string err;
};

inline std::string readFile(const fs::path& path) {
  std::string bytes;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
      bytes.append(buffer, n);
    }
    std::fclose(file);
  }
  return bytes;
}

inline void writeFile(const fs::path& path, std::string_view bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr) << path;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

// The names in `dir`, sorted.
inline std::vector<std::string> entries(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

inline std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> all;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) all.push_back(line);
  return all;
}

inline rapidjson::Document parseJson(std::string_view text) {
  rapidjson::Document document;
  document.Parse(text.data(), text.size());
  EXPECT_FALSE(document.HasParseError()) << text.substr(0, 200);
  return document;
}

// Birth data on one line, e.g. "王 female 2000-4L-20 13:04:05 solar=2001-06-08".
inline std::string birthText(const ziwei::BirthRequest& r) {
  const ziwei::LunarBirth& b = r.birth;
  char time[16];
  std::snprintf(time, sizeof time, "%02d:%02d:%02d", b.hour, b.minute, b.second);
  return r.name + (b.male ? " male " : " female ") + std::to_string(b.year) + "-" +
         std::to_string(b.month) + (b.leap ? "L-" : "-") + std::to_string(b.day) + " " + time +
         (r.solar ? " solar=" + ziwei::calendar::format_gregorian(*r.solar) : "");
}

// A test with a scratch folder `dir_` named after the test, removed after it.
// A suite that needs nothing more names it with an alias.
class ZiweiProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() /
           ("ziwei-" + std::string(test->test_suite_name()) + "-" + test->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    // An unprivileged run must reach and write the folder.
    fs::permissions(dir_, fs::perms::all);
  }
  void TearDown() override {
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(dir_, ignored)) {
      if (entry.is_directory()) fs::permissions(entry.path(), fs::perms::all, ignored);
    }
    fs::remove_all(dir_, ignored);
  }

  // Runs ziwei with `args` (no shell: an argument may be as long as the
  // kernel allows), `input` on its standard input; standard output goes to
  // a file of the test, or to the device `stdoutTo` names.
  Result run(std::vector<std::string> args, std::string_view input = "",
             const std::string& stdoutTo = "") {
    std::vector<std::string> all{ZIWEI_EXECUTABLE};
    for (std::string& arg : args) all.push_back(std::move(arg));
    return spawn(all, input, stdoutTo, false);
  }

  // Runs the shell `script` in dir_, with $Z the built ziwei; as the user
  // "nobody" when root runs the tests and `unprivileged` is set, since root
  // writes through permission bits.
  Result sh(const std::string& script, bool unprivileged = false) {
    ::setenv("Z", ZIWEI_EXECUTABLE, 1);
    return spawn({"/bin/sh", "-c", "cd " + dir_.string() + " && " + script}, "", "", unprivileged);
  }

  fs::path dir_;

 private:
  Result spawn(std::vector<std::string> args, std::string_view input, const std::string& stdoutTo,
               bool unprivileged) {
    const fs::path in = dir_ / ".in", out = dir_ / ".out", err = dir_ / ".err";
    writeFile(in, input);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
      ::dup2(::open(in.c_str(), O_RDONLY), STDIN_FILENO);
      ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666), STDERR_FILENO);
      const fs::path to = stdoutTo.empty() ? out : fs::path(stdoutTo);
      ::dup2(::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666), STDOUT_FILENO);
      constexpr uid_t kNobody = 65534;
      if (unprivileged && ::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
        ::_exit(126);
      }
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    int raw = 0;
    ::waitpid(child, &raw, 0);
    Result result{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(out), readFile(err)};
    for (const fs::path& path : {in, out, err}) fs::remove(path);
    return result;
  }
};

}  // namespace ziwei::cli::testing

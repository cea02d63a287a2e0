#pragma once
// Runs the built ziwei (ZIWEI_EXECUTABLE) in a child process, as a user
// would, inside a scratch folder of its own for each test.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

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

// `arg` quoted for the shell.
inline std::string shellWord(std::string_view arg) {
  std::string text = "'";
  for (const char c : arg) text += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return text + "'";
}

// A test with a scratch folder `dir_` named after the test, removed after it.
class ZiweiProcessTest : public ::testing::Test {
 protected:
  explicit ZiweiProcessTest(std::string_view prefix) : prefix_(prefix) {}

  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           (prefix_ + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs ziwei with `args`, `input` on its standard input. Standard output
  // goes to a file of the test, or where `stdoutRedirect` (a shell
  // redirection such as ">/dev/full" or ">&-") sends it.
  Result run(const std::vector<std::string>& args, std::string_view input = "",
             const std::string& stdoutRedirect = "") {
    writeFile(dir_ / "in", input);
    std::string command = shellWord(ZIWEI_EXECUTABLE);
    for (const std::string& arg : args) command += " " + shellWord(arg);
    command += " <" + shellWord((dir_ / "in").string());
    command +=
        stdoutRedirect.empty() ? " >" + shellWord((dir_ / "out").string()) : " " + stdoutRedirect;
    command += " 2>" + shellWord((dir_ / "err").string());
    fs::remove(dir_ / "out");
    const int raw = std::system(command.c_str());
    Result result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = readFile(dir_ / "out");
    result.err = readFile(dir_ / "err");
    return result;
  }

  fs::path dir_;

 private:
  std::string prefix_;
};

}  // namespace ziwei::cli::testing

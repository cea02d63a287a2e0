#pragma once
// Runs a program as a user would, for the tests that compare an answer with
// the command line's: no shell, standard input empty, its output and errors
// caught in scratch files.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace ziwei::testing {

inline std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The output of a program run with `args` (args[0] its path), and its exit
// status (-1 when it did not exit normally).
struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};

inline ProgramRun runProgram(std::vector<std::string> args) {
  const std::filesystem::path base =
      std::filesystem::temp_directory_path() / ("ziwei-run-" + std::to_string(::getpid()));
  const std::filesystem::path out = base.string() + ".out", err = base.string() + ".err";
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(::open("/dev/null", O_RDONLY), STDIN_FILENO);
    ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDOUT_FILENO);
    ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  int raw = 0;
  ::waitpid(child, &raw, 0);
  ProgramRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(out), readFile(err)};
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  return run;
}

}  // namespace ziwei::testing

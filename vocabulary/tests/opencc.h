#pragma once
// What OpenCC's t2s (Debian package opencc) makes of each line: the
// conversion vocabulary/tools/gen_zh_hans.sh makes zh-Hans by. Empty when
// opencc is missing.

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace ziwei::test {

inline std::vector<std::string> openccT2s(const std::vector<std::string>& lines) {
  char path[] = "/tmp/ziwei-t2s-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) throw std::runtime_error("no temporary file");
  std::string all;
  for (const std::string& line : lines) all += line + "\n";
  FILE* file = fdopen(fd, "w");
  std::fwrite(all.data(), 1, all.size(), file);
  std::fclose(file);
  const std::string command = std::string("opencc -c t2s.json -i ") + path;
  FILE* pipe = popen(command.c_str(), "r");
  std::vector<std::string> converted;
  std::string line;
  for (int c = pipe ? std::fgetc(pipe) : EOF; c != EOF; c = std::fgetc(pipe)) {
    if (c == '\n') {
      converted.push_back(line);
      line.clear();
    } else {
      line += static_cast<char>(c);
    }
  }
  if (pipe) pclose(pipe);
  std::remove(path);
  return converted;
}

}  // namespace ziwei::test

#pragma once

#include <string>
#include <string_view>

#include "output/output_file.h"

namespace ziwei {

// Lines for standard output, written in blocks of about 64 KiB.
class OutputLines {
 public:
  void add(std::string_view line) {
    text_ += line;
    if (text_.size() >= 1 << 16) flush();
  }
  void flush() {
    out_.write(text_);
    text_.clear();
  }
  // Flushes and commits the output (see OutputFile::commit).
  void finish() {
    flush();
    out_.commit();
  }

 private:
  OutputFile out_;
  std::string text_;
};

}  // namespace ziwei

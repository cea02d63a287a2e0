#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "birth/lunar_birth.h"
#include "page/page_file.h"
#include "text/utf8.h"

namespace ziwei::cli {

enum class OutputFormat { Html, Json };

// Cast one chart and write it: the default command.
struct CastOptions {
  BirthRequest request;
  OutputFormat format = OutputFormat::Html;
  PageEncoding encoding = PageEncoding::Big5;
  std::optional<std::string> printDate;  // today's date when not given
  std::optional<std::string> output;     // standard output when not given
};

struct ShowHelp {};
struct ShowVersion {};

// A command line that cannot be run; `message` is one line naming the
// option, the value given and what is allowed.
struct UsageError {
  std::string message;
};

using Command = std::variant<UsageError, ShowHelp, ShowVersion, CastOptions>;

// Reads the arguments that follow the program name. Pure: no I/O, no
// global state; every refusal comes back as a UsageError.
Command parseCommandLine(std::span<const std::string_view> args);

// The help text: every option with its range and default.
std::string helpText();

// One command-line argument split into its option name and an attached
// value: "--name=TEXT" and, for the short options that `attachable` lists
// (every short option when it is empty), "-oFILE". Without an attached
// value, `value` is empty and the value (if any) is the next argument.
struct OptionArgument {
  std::string_view name;
  std::optional<std::string_view> value;
};
OptionArgument splitOption(std::string_view arg, std::string_view attachable = {});

}  // namespace ziwei::cli

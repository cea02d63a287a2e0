#include "cli/command_line.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "birth/solar_birth.h"
#include "calendar/calendar_error.h"
#include "chart/frame/chart_frame.h"
#include "text/utf8.h"

namespace ziwei::cli {

namespace {

// A refusal raised while reading; parseCommandLine returns it as UsageError.
struct Refusal {
  std::string message;
};

struct ParseState {
  CastOptions options;
  bool encodingGiven = false;
  std::optional<std::string> solar;  // --solar as given
  std::string_view lunarOption;      // the first of --year, --month, --leap, --day given
};

// "--year" and its value quoted, as every message begins.
std::string given(std::string_view option, std::string_view value) {
  std::string text(option);
  text += ": \"";
  text += value;
  text += '"';
  return text;
}

// The index of `value` among the "|"-separated `allowed` words.
std::size_t choose(std::string_view option, std::string_view value, std::string_view allowed) {
  std::size_t index = 0;
  for (std::string_view rest = allowed;; ++index) {
    const std::size_t bar = rest.find('|');
    if (rest.substr(0, bar) == value) return index;
    if (bar == std::string_view::npos) break;
    rest.remove_prefix(bar + 1);
  }
  std::string words(allowed);
  for (std::size_t bar = words.find('|'); bar != std::string::npos; bar = words.find('|')) {
    words.replace(bar, 1, ", ");
  }
  throw Refusal{given(option, value) + " is not allowed (allowed: " + words + ")"};
}

std::string userText(std::string_view option, std::string_view value) {
  if (!isValidUtf8(value)) throw Refusal{std::string(option) + ": the text is not valid UTF-8"};
  return std::string(value);
}

using Apply = void (*)(ParseState&, std::string_view option, std::string_view value);

// One option of the command line. A number option stores into `number`
// and accepts `first` to `last`; the others store through `apply`.
struct Option {
  std::string_view name;
  std::string_view shortName;
  std::string_view value;  // what it takes, as help shows it; empty: no value
  std::string_view help;
  Apply apply = nullptr;
  int LunarBirth::*number = nullptr;
  int first = 0;
  int last = 0;
};

constexpr std::string_view kHelp = "--help";
constexpr std::string_view kVersion = "--version";

constexpr std::array kOptions{
    Option{"--name", "", "TEXT", "name shown on the chart, UTF-8 (default: 您的姓名)",
           [](ParseState& s, std::string_view o, std::string_view v) {
             s.options.request.name = userText(o, v);
           }},
    Option{"--sex", "", "male|female", "sex (default: male)",
           [](ParseState& s, std::string_view o, std::string_view v) {
             s.options.request.birth.male = choose(o, v, "male|female") == 0;
           }},
    Option{"--solar", "", "YYYY-MM-DD",
           "Gregorian (國曆) birth date, China Standard Time: cast the lunar date it falls on "
           "(instead of --year, --month, --leap and --day); the hour stays on this date, so "
           "hour 23 is the 子 hour of this day",
           [](ParseState& s, std::string_view, std::string_view v) { s.solar = std::string(v); }},
    Option{"--year", "", "N", "lunar year", nullptr, &LunarBirth::year, kCommandLineYears.first,
           kCommandLineYears.last},
    Option{"--month", "", "N", "lunar month", nullptr, &LunarBirth::month, 1, 12},
    Option{"--leap", "", "", "the month is a leap month (default: a normal month)",
           [](ParseState& s, std::string_view o, std::string_view) {
             s.options.request.birth.leap = true;
             if (s.lunarOption.empty()) s.lunarOption = o;
           }},
    Option{"--day", "", "N", "lunar day", nullptr, &LunarBirth::day, 1, 30},
    Option{"--hour", "", "N", "hour of birth", nullptr, &LunarBirth::hour, 0, 23},
    Option{"--minute", "", "N", "minute of birth", nullptr, &LunarBirth::minute, 0, 59},
    Option{"--second", "", "N", "second of birth", nullptr, &LunarBirth::second, 0, 59},
    Option{"--format", "", "html|json", "an HTML page or a JSON document (default: html)",
           [](ParseState& s, std::string_view o, std::string_view v) {
             s.options.format =
                 choose(o, v, "html|json") == 0 ? OutputFormat::Html : OutputFormat::Json;
           }},
    Option{"--encoding", "", "big5|utf-8",
           "encoding of the HTML page (default: big5); JSON is always UTF-8",
           [](ParseState& s, std::string_view o, std::string_view v) {
             s.options.encoding =
                 choose(o, v, "big5|utf-8") == 0 ? PageEncoding::Big5 : PageEncoding::Utf8;
             s.encodingGiven = true;
           }},
    Option{"--print-date", "", "TEXT",
           "date printed on the page (default: today in the locale's short date format)",
           [](ParseState& s, std::string_view o, std::string_view v) {
             s.options.printDate = userText(o, v);
           }},
    Option{"--output", "-o", "FILE",
           "write to FILE, replacing it as a whole; \"-\" is standard output "
           "(default: standard output)",
           [](ParseState& s, std::string_view o, std::string_view v) {
             if (v.empty()) throw Refusal{given(o, v) + " is not allowed (allowed: a file name)"};
             if (v == "-") {
               s.options.output.reset();
             } else {
               s.options.output = std::string(v);
             }
           }},
    Option{kHelp, "-h", "", "show this help and exit"},
    Option{kVersion, "", "", "show the version and exit"},
};

std::string range(const Option& option) {
  return std::to_string(option.first) + " to " + std::to_string(option.last);
}

void storeNumber(ParseState& state, const Option& option, std::string_view value) {
  int number = 0;
  const char* end = value.data() + value.size();
  const auto [stop, error] = std::from_chars(value.data(), end, number);
  if (value.empty() || stop != end ||
      (error != std::errc{} && error != std::errc::result_out_of_range)) {
    throw Refusal{given(option.name, value) + " is not a whole number (allowed: " + range(option) +
                  ")"};
  }
  if (error == std::errc::result_out_of_range || number < option.first || number > option.last) {
    throw Refusal{given(option.name, value) + " is not allowed (allowed: " + range(option) + ")"};
  }
  state.options.request.birth.*option.number = number;
  const bool lunarDate = option.number == &LunarBirth::year ||
                         option.number == &LunarBirth::month || option.number == &LunarBirth::day;
  if (lunarDate && state.lunarOption.empty()) state.lunarOption = option.name;
}

const Option* findOption(std::string_view name) {
  for (const Option& option : kOptions) {
    if (name == option.name || (!option.shortName.empty() && name == option.shortName)) {
      return &option;
    }
  }
  return nullptr;
}

// Reads the options of the default command.
Command parseCast(std::span<const std::string_view> args) {
  ParseState state;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (!arg.starts_with('-') || arg == "-") {
      throw Refusal{"unexpected argument \"" + std::string(arg) +
                    "\" (every input is an option; see ziwei --help)"};
    }
    // "--name=TEXT", "--name TEXT", "-o FILE" and "-oFILE".
    const OptionArgument split = splitOption(arg);
    const std::string_view name = split.name;
    std::optional<std::string_view> value = split.value;
    const Option* option = findOption(name);
    if (option == nullptr) {
      throw Refusal{"unknown option \"" + std::string(name) + "\" (see ziwei --help)"};
    }
    if (option->value.empty()) {
      if (value) throw Refusal{std::string(option->name) + ": takes no value"};
      if (option->name == kHelp) return ShowHelp{};
      if (option->name == kVersion) return ShowVersion{};
      option->apply(state, option->name, {});
      continue;
    }
    if (!value) {
      if (i + 1 == args.size()) {
        throw Refusal{std::string(option->name) + ": a value is missing (allowed: " +
                      (option->number ? range(*option) : std::string(option->value)) + ")"};
      }
      value = args[++i];
    }
    if (option->number) {
      storeNumber(state, *option, *value);
    } else {
      option->apply(state, option->name, *value);
    }
  }
  if (state.options.format == OutputFormat::Json && state.encodingGiven &&
      state.options.encoding == PageEncoding::Big5) {
    throw Refusal{"--encoding: \"big5\" is not allowed with --format json (JSON is always UTF-8)"};
  }
  if (state.solar) {
    if (!state.lunarOption.empty()) {
      throw Refusal{"--solar and " + std::string(state.lunarOption) +
                    " cannot be given together (--solar gives the lunar date)"};
    }
    try {
      const calendar::GregorianDate date = calendar::parse_gregorian(*state.solar);
      state.options.request.birth = lunarBirthOn(date, state.options.request.birth);
      state.options.request.solar = date;
    } catch (const calendar::CalendarError& error) {
      throw Refusal{"--solar: " + std::string(error.what())};
    }
  }
  return state.options;
}

// Appends `help` in the help column, wrapped at the last blank that keeps a
// line within kWidth characters, after a first line `used` columns wide.
void appendWrapped(std::string& text, std::string_view help, std::size_t used) {
  constexpr std::size_t kColumn = 28;
  constexpr std::size_t kWidth = 80;
  const auto columns = [](std::string_view words) {  // characters, not bytes
    return static_cast<std::size_t>(std::count_if(words.begin(), words.end(), [](char c) {
      return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
  };
  if (used + 2 > kColumn) {
    text += '\n';
    used = 0;
  }
  while (!help.empty()) {
    text.append(kColumn - used, ' ');
    used = 0;
    std::size_t cut = help.size();
    while (columns(help.substr(0, cut)) > kWidth - kColumn) {
      const std::size_t blank = help.rfind(' ', cut - 1);
      if (blank == std::string_view::npos || blank == 0) break;
      cut = blank;
    }
    text += help.substr(0, cut);
    text += '\n';
    help.remove_prefix(std::min(help.size(), cut + 1));
  }
}

}  // namespace

Command parseCommandLine(std::span<const std::string_view> args) {
  try {
    return parseCast(args);
  } catch (Refusal& refusal) {
    return UsageError{oneLine(refusal.message)};
  }
}

std::string helpText() {
  std::string text =
      "Usage: ziwei [OPTION]...\n"
      "Casts the Zi Wei Dou Shu (紫微斗數) chart of a lunar birth date (or of the\n"
      "Gregorian date given with --solar) and writes it as an HTML page or as a JSON\n"
      "document.\n"
      "\n"
      "Options:\n";
  const LunarBirth defaults;
  for (const Option& option : kOptions) {
    std::string line = "  ";
    line += option.shortName.empty() ? "    " : std::string(option.shortName) + ", ";
    line += option.name;
    if (!option.value.empty()) {
      line += ' ';
      line += option.value;
    }
    std::string help(option.help);
    if (option.number) {
      help += ", " + range(option) + " (default: " + std::to_string(defaults.*option.number) + ")";
    }
    text += line;
    appendWrapped(text, help, line.size());
  }
  text +=
      "\n"
      "The page is one line of HTML declared as Big5 (or UTF-8 with --encoding utf-8),\n"
      "followed by CR LF; characters of the name that Big5 cannot hold are written\n"
      "as &#N; references. Hours 23 and 0 are both the 子 hour. With --solar the\n"
      "hour belongs to the Gregorian date given: 23:30 on 2001-06-08 is the 子 hour of\n"
      "lunar leap month 4, day 17 (2001-06-08), not of the next day.\n"
      "\n"
      "Exit status: 0 done, 1 the output could not be written, 2 bad command line.\n"
      "\n"
      "Calendar commands (see ziwei COMMAND --help):\n"
      "  ziwei lunar DATE...                  lunar date of each Gregorian date\n"
      "  ziwei solar YEAR MONTH DAY [--leap]  Gregorian date of a lunar date\n"
      "\n"
      "Many charts (see ziwei batch --help):\n"
      "  ziwei batch [FILE]                   charts of CSV records (JSON Lines, pages)\n"
      "  ziwei batch --all                    charts of every lunar birth 1912-2010\n";
  return text;
}

OptionArgument splitOption(std::string_view arg, std::string_view attachable) {
  if (arg.starts_with("--")) {
    if (const std::size_t equals = arg.find('='); equals != std::string_view::npos) {
      return {arg.substr(0, equals), arg.substr(equals + 1)};
    }
  } else if (arg.starts_with('-') && arg.size() > 2 &&
             (attachable.empty() || attachable.find(arg[1]) != std::string_view::npos)) {
    return {arg.substr(0, 2), arg.substr(2)};
  }
  return {arg, std::nullopt};
}

}  // namespace ziwei::cli

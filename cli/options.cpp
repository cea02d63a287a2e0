#include "cli/options.h"

#include <charconv>

#include "unicode/utf8.h"

namespace ziwei::cli {

namespace {

std::string range(int first, int last) {
  return std::to_string(first) + " to " + std::to_string(last);
}

// What a row allows, as a refusal of a missing or empty value says it.
std::string allowed(const detail::RowView& row) {
  if (row.shape == Shape::Number) {
    return row.field ? range(row.field->first, row.field->last) : range(row.first, row.last);
  }
  if (row.shape == Shape::Path) return row.value == "DIR" ? "a directory" : "a file name";
  return std::string(row.value);
}

std::string seeHelp(std::string_view command) {
  return command.empty() ? " (see ziwei --help)"
                         : " (see ziwei " + std::string(command) + " --help)";
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

std::string shown(std::string_view value) { return quotedForMessage(value); }

std::string given(std::string_view what, std::string_view value) {
  return std::string(what) + ": " + shown(value);
}

int readNumber(std::string_view what, std::string_view text, int first, int last) {
  int number = 0;
  const char* const end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, number);
  if (text.empty() || stop != end ||
      (error != std::errc{} && error != std::errc::result_out_of_range)) {
    throw Refusal{given(what, text) + " is not a whole number (allowed: " + range(first, last) +
                  ")"};
  }
  if (error == std::errc::result_out_of_range || number < first || number > last) {
    throw Refusal{given(what, text) + " is not allowed (allowed: " + range(first, last) + ")"};
  }
  return number;
}

std::size_t readWord(std::string_view what, std::string_view text, std::string_view words) {
  std::size_t index = 0;
  for (std::string_view rest = words;; ++index) {
    const std::size_t bar = rest.find('|');
    if (rest.substr(0, bar) == text) return index;
    if (bar == std::string_view::npos) break;
    rest.remove_prefix(bar + 1);
  }
  std::string list(words);
  for (std::size_t bar = list.find('|'); bar != std::string::npos; bar = list.find('|')) {
    list.replace(bar, 1, ", ");
  }
  throw Refusal{given(what, text) + " is not allowed (allowed: " + list + ")"};
}

namespace detail {

Shape readArguments(std::span<const RowView> rows, std::span<const std::string_view> args,
                    bool numbersAreOperands, std::string_view command,
                    void (*apply)(void*, std::size_t, const OptionValue&),
                    void (*operand)(void*, std::string_view), void* target) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const bool number = arg.size() > 1 && arg[1] >= '0' && arg[1] <= '9';
    if (!arg.starts_with('-') || arg == "-" || (numbersAreOperands && number)) {
      operand(target, arg);
      continue;
    }
    // "--name=VALUE", "--name VALUE", "-o VALUE" and "-oVALUE".
    std::string_view typed = arg;
    std::optional<std::string_view> value;
    const RowView* row = nullptr;
    if (arg.starts_with("--")) {
      if (const std::size_t equals = arg.find('='); equals != std::string_view::npos) {
        typed = arg.substr(0, equals);
        value = arg.substr(equals + 1);
      }
      for (const RowView& each : rows) {
        if (each.name == typed.substr(2)) row = &each;
      }
    } else {
      typed = arg.substr(0, 2);
      if (arg.size() > 2) value = arg.substr(2);
      for (const RowView& each : rows) {
        if (each.shortName != 0 && each.shortName == arg[1]) row = &each;
      }
    }
    if (row == nullptr) throw Refusal{"unknown option " + shown(typed) + seeHelp(command)};
    const std::string name = "--" + std::string(row->name);
    const bool takesValue =
        row->shape != Shape::Flag && row->shape != Shape::Help && row->shape != Shape::Version;
    if (!takesValue && value) throw Refusal{name + ": takes no value"};
    if (row->shape == Shape::Help || row->shape == Shape::Version) return row->shape;
    OptionValue given{name, {}, 0, 0, row->field};
    if (takesValue) {
      if (!value) {
        if (i + 1 == args.size()) {
          throw Refusal{name + ": a value is missing (allowed: " + allowed(*row) + ")"};
        }
        value = args[++i];
      }
      given.text = *value;
      switch (row->shape) {
        case Shape::Number:
          given.number = row->field ? readNumber(name, *value, row->field->first, row->field->last)
                                    : readNumber(name, *value, row->first, row->last);
          break;
        case Shape::Word:
          given.word = readWord(name, *value, row->value);
          break;
        case Shape::Text:
          if (!isValidUtf8(*value)) {
            throw Refusal{name + ": " + describeFlaw(*firstFlaw(*value))};
          }
          break;
        case Shape::Name:
          if (const std::optional<TextFlaw> flaw = firstFlaw(*value)) {
            throw Refusal{name + ": " + describeFlaw(*flaw)};
          }
          break;
        case Shape::Path:
          if (value->empty()) {
            throw Refusal{name + ": \"\" is not allowed (allowed: " + allowed(*row) + ")"};
          }
          break;
        default:
          break;
      }
    }
    apply(target, static_cast<std::size_t>(row - rows.data()), given);
  }
  return Shape::Flag;
}

std::string optionHelp(std::span<const RowView> rows) {
  std::string text = "Options:\n";
  const LunarBirth defaults;
  for (const RowView& row : rows) {
    std::string line = "  ";
    line += row.shortName == 0 ? std::string("    ") : std::string{'-', row.shortName, ',', ' '};
    line += "--";
    line += row.name;
    if (!row.value.empty()) {
      line += ' ';
      line += row.value;
    }
    std::string help(row.help);
    if (row.shape == Shape::Number) {
      help += ", " + allowed(row);
      if (row.field) help += " (default: " + std::to_string(defaults.*row.field->member) + ")";
    }
    text += line;
    appendWrapped(text, help, line.size());
  }
  return text;
}

}  // namespace detail

}  // namespace ziwei::cli

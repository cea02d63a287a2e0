#pragma once
// The one option parser of every ziwei command: a table of rows (name, short
// name, value shape, help line, what it sets), the one number reader, and the
// help text generated from the table.

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "birth/lunar_birth.h"
#include "unicode/utf8.h"

namespace ziwei::cli {

struct ShowHelp {};
struct ShowVersion {};

// A command line that cannot be run; `message` is one line naming the
// option, the value given and what is allowed; `more` lines may follow it
// (the candidates of an ambiguous place), each one line too.
struct UsageError {
  std::string message;
  std::vector<std::string> more;
};

// What a command's parser gives: a refusal, a request for help or the
// version, or the command's options.
template <class Options>
using Parsed = std::variant<UsageError, ShowHelp, ShowVersion, Options>;

// A refusal raised while reading an option, a field or an argument; the
// message names what was wrong and what is allowed.
struct Refusal {
  explicit Refusal(std::string line, std::vector<std::string> following = {})
      : message(std::move(line)), more(std::move(following)) {}
  std::string message;
  std::vector<std::string> more;  // lines that follow the message, if any
};

// A value as a message shows it: quoted on one line (text/utf8.h), at most
// 200 bytes of it, followed by the whole length when cut.
std::string shown(std::string_view value);

// `what`: "value", as a refusal begins.
std::string given(std::string_view what, std::string_view value);

// The whole number `text` (decimal digits, an optional "-") within
// `first`..`last`; else throws a Refusal "what: "text" is not a whole number
// (allowed: first to last)" or "... is not allowed (allowed: ...)".
int readNumber(std::string_view what, std::string_view text, int first, int last);

// The index of `text` among the "|"-separated `words`; else throws a
// Refusal "what: "text" is not allowed (allowed: a, b)".
std::size_t readWord(std::string_view what, std::string_view text, std::string_view words);

enum class Shape {
  Flag,     // no value
  Text,     // any UTF-8 text
  Name,     // UTF-8 text without control characters
  Number,   // a whole number in a range
  Word,     // one of the words of `value`, "a|b"
  Path,     // a non-empty name; "-" is passed on as it is
  Help,     // --help: the parser stops with ShowHelp
  Version,  // --version: the parser stops with ShowVersion
};

// What a row's setter receives: the option's long name (for messages), the
// text given, and the number or word index read from it.
struct OptionValue {
  std::string_view option;
  std::string_view text;
  int number = 0;
  std::size_t word = 0;
  const BirthNumberField* field = nullptr;  // the row's birth field, if any
};

// One option of a command. A number row takes its range from `field` (the
// birth field it sets) or else from `first`..`last`.
template <class Target>
struct OptionRow {
  std::string_view name;  // the long name without "--"
  char shortName = 0;     // e.g. 'o' for -o, or 0
  Shape shape = Shape::Flag;
  std::string_view value;  // as help shows it: N, TEXT, FILE, male|female
  std::string_view help;
  void (*set)(Target&, const OptionValue&) = nullptr;
  const BirthNumberField* field = nullptr;
  int first = 0;
  int last = 0;
};

// A command's rows and how it reads its other arguments.
template <class Target>
struct OptionTable {
  std::string_view command;  // "" for the cast, else "lunar", "batch", ...
  std::span<const OptionRow<Target>> rows;
  // Takes an argument that is not an option; throws a Refusal when the
  // command takes none (or no more).
  void (*operand)(Target&, std::string_view) = nullptr;
  // Whether "-5" is an argument (a number) rather than an option.
  bool numbersAreOperands = false;
};

// The arrays joined, in order: a table from its parts.
template <class T, std::size_t... N>
constexpr auto join(const std::array<T, N>&... parts) {
  std::array<T, (N + ... + 0)> all{};
  std::size_t at = 0;
  ((std::copy(parts.begin(), parts.end(), all.begin() + static_cast<std::ptrdiff_t>(at)), at += N),
   ...);
  return all;
}

namespace detail {
// What parseOptions needs of a row, whatever its target.
struct RowView {
  std::string_view name;
  char shortName;
  Shape shape;
  std::string_view value;
  std::string_view help;
  const BirthNumberField* field;
  int first;
  int last;
};
// Reads `args` against `rows`; calls `apply(index, value)` for each option
// given and `operand(text)` for each other argument. Returns Help or Version
// when one of those was given, else Flag. Throws Refusal.
Shape readArguments(std::span<const RowView> rows, std::span<const std::string_view> args,
                    bool numbersAreOperands, std::string_view command,
                    void (*apply)(void*, std::size_t, const OptionValue&),
                    void (*operand)(void*, std::string_view), void* target);
std::string optionHelp(std::span<const RowView> rows);
}  // namespace detail

template <class Target>
std::vector<detail::RowView> rowViews(const OptionTable<Target>& table) {
  std::vector<detail::RowView> views;
  for (const auto& row : table.rows) {
    views.push_back(
        {row.name, row.shortName, row.shape, row.value, row.help, row.field, row.first, row.last});
  }
  return views;
}

// The value shape of the option `name` (the long name without "--") of
// `table`, or nothing when the table has no such option.
template <class Target>
constexpr std::optional<Shape> shapeOf(const OptionTable<Target>& table, std::string_view name) {
  for (const auto& row : table.rows) {
    if (row.name == name) return row.shape;
  }
  return std::nullopt;
}

// Reads the arguments after the command's name into `target` (which holds
// the defaults) and then checks it with `finish`, which throws a Refusal for
// options that do not go together. Pure: no I/O, no global state.
template <class Target>
Parsed<Target> parseOptions(const OptionTable<Target>& table,
                            std::span<const std::string_view> args, Target target,
                            void (*finish)(Target&) = nullptr) {
  struct Context {
    const OptionTable<Target>* table;
    Target* target;
  } context{&table, &target};
  const auto apply = [](void* raw, std::size_t index, const OptionValue& value) {
    auto* c = static_cast<Context*>(raw);
    c->table->rows[index].set(*c->target, value);
  };
  const auto operand = [](void* raw, std::string_view text) {
    auto* c = static_cast<Context*>(raw);
    if (c->table->operand == nullptr) {
      throw Refusal{
          "unexpected argument " + shown(text) + " (every input is an option; see ziwei " +
          (c->table->command.empty() ? "" : std::string(c->table->command) + " ") + "--help)"};
    }
    c->table->operand(*c->target, text);
  };
  const std::string prefix = table.command.empty() ? "" : std::string(table.command) + ": ";
  try {
    const std::vector<detail::RowView> views = rowViews(table);
    const Shape stop = detail::readArguments(views, args, table.numbersAreOperands, table.command,
                                             apply, operand, &context);
    if (stop == Shape::Help) return ShowHelp{};
    if (stop == Shape::Version) return ShowVersion{};
    if (finish != nullptr) finish(target);
  } catch (Refusal& refusal) {
    UsageError error{prefix + oneLine(refusal.message), {}};
    for (const std::string& line : refusal.more) error.more.push_back(oneLine(line));
    return error;
  }
  return target;
}

// The "Options:" lines of a help text: each row with its value, its help
// and, for a number, its range (and, for a birth field, its default).
template <class Target>
std::string optionHelp(const OptionTable<Target>& table) {
  return detail::optionHelp(rowViews(table));
}

}  // namespace ziwei::cli

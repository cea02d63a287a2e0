#include "cli/batch_command.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <map>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "birth/solar_birth.h"
#include "calendar/calendar_error.h"
#include "calendar/gregorian.h"
#include "chart/frame/chart_frame.h"
#include "cli/command_line.h"
#include "cli/exit_status.h"
#include "cli/output.h"
#include "page/chart_json.h"
#include "page/chart_page.h"
#include "page/user_text.h"

namespace ziwei::cli {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPrefix = "ziwei: batch: ";

// ---------------------------------------------------------------- options

struct Refusal {
  std::string message;
};

std::string inQuotes(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::size_t chooseWord(std::string_view option, std::string_view value, std::string_view first,
                       std::string_view second) {
  if (value == first) return 0;
  if (value == second) return 1;
  throw Refusal{"batch: " + std::string(option) + ": " + inQuotes(value) +
                " is not allowed (allowed: " + std::string(first) + ", " + std::string(second) +
                ")"};
}

BatchOptions parseOptions(std::span<const std::string_view> args, bool& help) {
  BatchOptions options;
  bool encodingGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const OptionArgument split = splitOption(arg, "oj");
    const std::string_view name = split.name;
    std::optional<std::string_view> value = split.value;  // -oFILE, -jN
    const auto takeValue = [&]() -> std::string_view {
      if (value) return *value;
      if (i + 1 == args.size()) {
        throw Refusal{"batch: " + std::string(name) + ": a value is missing"};
      }
      return args[++i];
    };
    const auto noValue = [&] {
      if (value) throw Refusal{"batch: " + std::string(name) + ": takes no value"};
    };
    if (name == "--help" || name == "-h") {
      noValue();
      help = true;
      return options;
    }
    if (name == "--all") {
      noValue();
      options.all = true;
    } else if (name == "--output" || name == "-o") {
      const std::string_view file = takeValue();
      if (file.empty())
        throw Refusal{"batch: --output: \"\" is not allowed (allowed: a file name)"};
      options.output = file == "-" ? std::nullopt : std::optional<std::string>(file);
    } else if (name == "--pages") {
      const std::string_view dir = takeValue();
      if (dir.empty()) throw Refusal{"batch: --pages: \"\" is not allowed (allowed: a directory)"};
      options.pagesDir = std::string(dir);
    } else if (name == "--encoding") {
      options.encoding = chooseWord(name, takeValue(), "big5", "utf-8") == 0 ? PageEncoding::Big5
                                                                             : PageEncoding::Utf8;
      encodingGiven = true;
    } else if (name == "--print-date") {
      const std::string_view date = takeValue();
      if (!isValidUtf8(date)) throw Refusal{"batch: --print-date: the text is not valid UTF-8"};
      options.printDate = std::string(date);
    } else if (name == "--jobs" || name == "-j") {
      const std::string_view text = takeValue();
      unsigned jobs = 0;
      const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), jobs);
      if (error != std::errc{} || end != text.data() + text.size() || jobs < 1 || jobs > 256) {
        throw Refusal{"batch: --jobs: " + inQuotes(text) + " is not allowed (allowed: 1 to 256)"};
      }
      options.jobs = jobs;
    } else if (arg.starts_with('-') && arg != "-") {
      throw Refusal{"batch: unknown option " + inQuotes(name) + " (see ziwei batch --help)"};
    } else {
      if (options.input) {
        throw Refusal{"batch: unexpected argument " + inQuotes(arg) + " (one input file at most)"};
      }
      options.input = std::string(arg);
    }
  }
  if (options.all && options.input) {
    throw Refusal{"batch: --all reads no input, but " + inQuotes(*options.input) + " was given"};
  }
  if (options.input == "-") options.input.reset();
  if (options.pagesDir && options.output) {
    throw Refusal{"batch: --output and --pages cannot be given together"};
  }
  if (!options.pagesDir && encodingGiven) {
    throw Refusal{"batch: --encoding is for --pages (JSON Lines are always UTF-8)"};
  }
  if (!options.pagesDir && options.printDate) {
    throw Refusal{"batch: --print-date is for --pages (JSON has no print date)"};
  }
  return options;
}

// ---------------------------------------------------------------- records

struct NumberColumn {
  std::size_t column;
  int LunarBirth::*field;
  int first;
  int last;
};

constexpr std::array<NumberColumn, 6> kNumberColumns{{
    {2, &LunarBirth::year, kCommandLineYears.first, kCommandLineYears.last},
    {3, &LunarBirth::month, 1, 12},
    {5, &LunarBirth::day, 1, 30},
    {6, &LunarBirth::hour, 0, 23},
    {7, &LunarBirth::minute, 0, 59},
    {8, &LunarBirth::second, 0, 59},
}};

// The lunar-date columns, left empty when a solar date is given.
constexpr std::array<std::size_t, 4> kLunarDateColumns = {2, 3, 4, 5};

struct RecordRefusal {
  std::string reason;
};

// A field as a message shows it: quoted, kept on one line.
std::string shown(std::string_view value) { return inQuotes(oneLine(value)); }

int readNumber(const NumberColumn& column, std::string_view value) {
  const std::string_view name = kBatchColumns[column.column];
  const std::string range = std::to_string(column.first) + " to " + std::to_string(column.last);
  int number = 0;
  const char* const end = value.data() + value.size();
  const auto [stop, error] = std::from_chars(value.data(), end, number);
  if (value.empty() || stop != end ||
      (error != std::errc{} && error != std::errc::result_out_of_range)) {
    throw RecordRefusal{std::string(name) + ": " + shown(value) +
                        " is not a whole number (allowed: " + range + ")"};
  }
  if (error == std::errc::result_out_of_range || number < column.first || number > column.last) {
    throw RecordRefusal{std::string(name) + ": " + shown(value) +
                        " is not allowed (allowed: " + range + ")"};
  }
  return number;
}

BirthRequest readRecord(const CsvRecord& record, const BatchColumns& columns) {
  if (record.fields.size() != columns.fields) {
    const std::size_t count = record.fields.size();
    throw RecordRefusal{"the record has " + std::to_string(count) +
                        (count == 1 ? " field" : " fields") + ", the header " +
                        std::to_string(columns.fields)};
  }
  const auto field = [&](std::size_t column) -> std::string_view {
    const auto& position = columns.position[column];
    return position ? std::string_view(record.fields[*position]) : std::string_view{};
  };
  BirthRequest request;
  LunarBirth& birth = request.birth;
  if (!isValidUtf8(field(0))) throw RecordRefusal{"name: the text is not valid UTF-8"};
  request.name = std::string(field(0));
  const std::string_view sex = field(1);
  if (sex != "male" && sex != "female") {
    throw RecordRefusal{"sex: " + shown(sex) + " is not allowed (allowed: male, female)"};
  }
  birth.male = sex == "male";

  const std::string_view solar = field(kSolarColumn);
  for (const NumberColumn& column : kNumberColumns) {
    const bool lunarDate =
        std::ranges::find(kLunarDateColumns, column.column) != kLunarDateColumns.end();
    if (!solar.empty() && lunarDate) continue;
    birth.*column.field = readNumber(column, field(column.column));
  }
  if (solar.empty()) {
    const std::string_view leap = field(4);
    if (leap != "0" && leap != "1") {
      throw RecordRefusal{"leap: " + shown(leap) + " is not allowed (allowed: 0, 1)"};
    }
    birth.leap = leap == "1";
    return request;
  }
  for (const std::size_t column : kLunarDateColumns) {
    if (!field(column).empty()) {
      throw RecordRefusal{"solar: a solar date is given, so " + std::string(kBatchColumns[column]) +
                          " must be empty (it is " + shown(field(column)) + ")"};
    }
  }
  try {
    const calendar::GregorianDate date = calendar::parse_gregorian(solar);
    birth = lunarBirthOn(date, birth, kCommandLineYears);
    request.solar = date;
    return request;
  } catch (const calendar::CalendarError& error) {
    throw RecordRefusal{"solar: " + oneLine(error.what())};
  }
}

// ---------------------------------------------------------------- output

struct OutputError {
  std::string message;
};

// The JSON Lines output, written as it comes: standard output; a device or
// pipe written in place; or a file (a link followed to the file it names)
// written to a temporary file beside it and renamed over it at the end, so
// that a reader sees the old file or the whole new one.
class JsonLinesOutput {
 public:
  explicit JsonLinesOutput(const std::optional<std::string>& path) {
    if (!path) {
      fd_ = STDOUT_FILENO;
      name_ = "standard output";
      return;
    }
    name_ = *path;
    struct stat target {};
    if (::stat(path->c_str(), &target) == 0 && !S_ISREG(target.st_mode) &&
        !S_ISDIR(target.st_mode)) {
      open(*path, O_WRONLY | O_CLOEXEC);
      return;
    }
    fs::path resolved = *path;
    std::error_code error;
    for (int hops = 0; hops < 40 && fs::is_symlink(resolved, error); ++hops) {
      const fs::path next = fs::read_symlink(resolved, error);
      if (error) break;
      resolved = next.is_absolute() ? next : resolved.parent_path() / next;
    }
    std::random_device random;
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
      fs::path temporary = resolved;
      temporary += ".tmp" + std::to_string(random());
      fd_ = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ >= 0) {
        temporary_ = temporary;
        target_ = resolved;
      } else if (errno != EEXIST) {
        break;
      }
    }
    if (fd_ < 0) fail("cannot create a temporary file beside it", errno);
  }
  ~JsonLinesOutput() {
    if (fd_ >= 0 && fd_ != STDOUT_FILENO) ::close(fd_);
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
  }
  JsonLinesOutput(const JsonLinesOutput&) = delete;
  JsonLinesOutput& operator=(const JsonLinesOutput&) = delete;

  void write(std::string_view bytes) {
    if (const int error = writeAll(fd_, bytes); error != 0) fail("write failed", error);
  }

  // Finishes the output: a temporary file replaces its target.
  void commit() {
    if (fd_ == STDOUT_FILENO || fd_ < 0) return;
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) fail("write failed", errno);
    if (!temporary_.empty()) {
      if (::rename(temporary_.c_str(), target_.c_str()) != 0) fail("cannot replace it", errno);
      temporary_.clear();
    }
  }

 private:
  void open(const std::string& path, int flags) {
    fd_ = ::open(path.c_str(), flags);
    if (fd_ < 0) fail("cannot open it", errno);
  }
  [[noreturn]] void fail(std::string_view what, int error) const {
    throw OutputError{"cannot write " + name_ + ": " + std::string(what) + ": " +
                      std::strerror(error)};
  }

  int fd_ = -1;
  std::string name_;
  fs::path temporary_;
  fs::path target_;
};

// ---------------------------------------------------------------- casting

// One input item: a record (or the refusal of its syntax) read from the CSV
// text, or a birth of --all.
struct Source {
  const std::vector<std::variant<CsvRecord, CsvError>>* records = nullptr;  // null for --all
  const BatchColumns* columns = nullptr;

  std::size_t size() const { return records ? records->size() : kAllBirths; }
};

// What a chunk of items came to, in input order.
struct ChunkResult {
  std::string json;                   // the JSON Lines
  std::vector<std::string> refusals;  // "line N: reason"
  std::size_t cast = 0;
  std::optional<std::string> outputError;  // a page file that could not be written
};

struct CastSettings {
  const BatchOptions* options = nullptr;
  std::string printDate;
};

std::string pageFileName(std::size_t number, bool all) {
  char name[32];
  std::snprintf(name, sizeof name, all ? "chart-%07zu.htm" : "line-%06zu.htm", number);
  return name;
}

ChunkResult castChunk(const Source& source, const CastSettings& settings, std::size_t first,
                      std::size_t count, std::string buffer) {
  ChunkResult result;
  result.json = std::move(buffer);
  result.json.clear();
  const BatchOptions& options = *settings.options;
  for (std::size_t i = first; i < first + count && !result.outputError; ++i) {
    std::size_t number = i + 1;  // the line, or the birth's place in --all
    BirthRequest request;
    try {
      if (source.records) {
        const auto& item = (*source.records)[i];
        if (const auto* error = std::get_if<CsvError>(&item)) {
          throw RecordRefusal{"line " + std::to_string(error->line) + ": " + error->reason};
        }
        const auto& record = std::get<CsvRecord>(item);
        number = record.line;
        try {
          request = readRecord(record, *source.columns);
        } catch (const RecordRefusal& refusal) {
          throw RecordRefusal{"line " + std::to_string(number) + ": " + refusal.reason};
        }
      } else {
        request = allBirth(i);
      }
      ChartState chart;
      try {
        chart = castFrame(request.birth, request.options);
      } catch (const std::invalid_argument& error) {
        throw RecordRefusal{"line " + std::to_string(number) + ": " + oneLine(error.what())};
      }
      if (options.pagesDir) {
        const std::string bytes = chartPageFile(chartPageTemplate(), chart, request.name,
                                                settings.printDate, options.encoding);
        try {
          writeFileAtomically(fs::path(*options.pagesDir) / pageFileName(number, options.all),
                              bytes);
        } catch (const PageWriteError& error) {
          result.outputError = oneLine(error.what());
          break;
        }
      } else {
        appendChartJson(result.json, request, chart);
        result.json += '\n';
      }
      ++result.cast;
    } catch (const RecordRefusal& refusal) {
      result.refusals.push_back(refusal.reason);
    } catch (const std::exception& error) {
      // Nothing else is expected; still, a worker must not end the process.
      result.refusals.push_back("line " + std::to_string(number) + ": " + oneLine(error.what()));
    }
  }
  return result;
}

// ---------------------------------------------------------------- progress

// A one-line progress bar on a terminal's standard error, redrawn at most
// five times a second; nothing when standard error is not a terminal.
class Progress {
 public:
  Progress(std::size_t total, std::chrono::steady_clock::time_point start)
      : total_(total), start_(start), shown_(::isatty(STDERR_FILENO) == 1) {}

  void update(std::size_t done) {
    if (!shown_) return;
    const auto now = std::chrono::steady_clock::now();
    if (done < total_ && now - last_ < std::chrono::milliseconds(200)) return;
    last_ = now;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0;
    const double left = rate > 0 ? static_cast<double>(total_ - done) / rate : 0;
    constexpr std::size_t kWidth = 30;
    const std::size_t filled = total_ == 0 ? kWidth : done * kWidth / total_;
    const auto leftSeconds = static_cast<long>(left + 0.5);
    char line[160];
    std::snprintf(line, sizeof line, "\r[%s%s] %3zu%% %zu/%zu charts, %.0f/s, %ld:%02ld left\033[K",
                  std::string(filled, '#').c_str(), std::string(kWidth - filled, '.').c_str(),
                  total_ == 0 ? 100 : done * 100 / total_, done, total_, rate, leftSeconds / 60,
                  leftSeconds % 60);
    std::cerr << line << std::flush;
    drawn_ = true;
  }

  // Clears the bar, so that a message can take the line.
  void clear() {
    if (drawn_) std::cerr << "\r\033[K" << std::flush;
    drawn_ = false;
  }

 private:
  std::size_t total_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point last_{};
  bool shown_;
  bool drawn_ = false;
};

// ---------------------------------------------------------------- pipeline

// Chunks of items are cast by the workers in any order and written by the
// calling thread in input order; at most `window` chunks are under way, so
// memory stays bounded however long the input.
class Pipeline {
 public:
  Pipeline(const Source& source, const CastSettings& settings, unsigned workers,
           std::size_t chunkSize)
      : source_(source), settings_(settings), chunkSize_(chunkSize), window_(4 * workers) {
    chunks_ = (source.size() + chunkSize - 1) / chunkSize;
    for (unsigned i = 0; i < workers; ++i) threads_.emplace_back([this] { work(); });
  }
  ~Pipeline() {
    {
      const std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& thread : threads_) thread.join();
  }
  Pipeline(const Pipeline&) = delete;
  Pipeline& operator=(const Pipeline&) = delete;

  // The next chunk's result in input order; nothing after the last.
  std::optional<ChunkResult> next() {
    if (written_ == chunks_) return std::nullopt;
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return finished_.contains(written_); });
    ChunkResult result = std::move(finished_.at(written_));
    finished_.erase(written_);
    ++written_;
    lock.unlock();
    changed_.notify_all();
    return result;
  }

  // Gives back a written chunk's text, whose room the next chunk reuses.
  void recycle(std::string&& text) {
    const std::lock_guard lock(mutex_);
    spare_.push_back(std::move(text));
  }

  std::size_t itemsBefore(std::size_t chunk) const {
    return std::min(chunk * chunkSize_, source_.size());
  }
  std::size_t written() const { return written_; }

 private:
  void work() {
    for (;;) {
      std::size_t chunk = 0;
      std::string buffer;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] {
          return stopping_ || (taken_ < chunks_ && taken_ < written_ + window_);
        });
        if (stopping_) return;
        chunk = taken_++;
        if (!spare_.empty()) {
          buffer = std::move(spare_.back());
          spare_.pop_back();
        }
      }
      const std::size_t first = chunk * chunkSize_;
      ChunkResult result =
          castChunk(source_, settings_, first, std::min(chunkSize_, source_.size() - first),
                    std::move(buffer));
      {
        const std::lock_guard lock(mutex_);
        finished_.emplace(chunk, std::move(result));
      }
      changed_.notify_all();
    }
  }

  const Source& source_;
  const CastSettings& settings_;
  std::size_t chunkSize_;
  std::size_t window_;
  std::size_t chunks_ = 0;
  std::size_t taken_ = 0;    // chunks handed to workers
  std::size_t written_ = 0;  // chunks handed back in order
  bool stopping_ = false;
  std::map<std::size_t, ChunkResult> finished_;
  std::vector<std::string> spare_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::thread> threads_;
};

std::optional<std::string> readInput(const std::optional<std::string>& path) {
  std::string text;
  const int fd = path ? ::open(path->c_str(), O_RDONLY | O_CLOEXEC) : STDIN_FILENO;
  if (fd < 0) return std::nullopt;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      if (path) ::close(fd);
      errno = error;
      return std::nullopt;
    }
    if (n == 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  if (path) ::close(fd);
  return text;
}

int runBatch(const BatchOptions& options) {
  const auto start = std::chrono::steady_clock::now();
  // The input is read and split into records first; the records are read
  // into births by the workers.
  std::vector<std::variant<CsvRecord, CsvError>> records;
  BatchColumns columns;
  if (!options.all) {
    const std::optional<std::string> text = readInput(options.input);
    if (!text) {
      const int error = errno;
      std::cerr << kPrefix << "cannot read "
                << oneLine(options.input ? *options.input : "standard input") << ": "
                << std::strerror(error) << '\n';
      return kExitIoError;
    }
    CsvReader reader(*text);
    std::optional<std::variant<CsvRecord, CsvError>> header = reader.next();
    if (!header) {
      std::cerr << kPrefix << "the input is empty (the first line names the columns: "
                << "name,sex,year,month,leap,day,hour,minute,second[,solar])\n";
      return kExitUsage;
    }
    if (const auto* error = std::get_if<CsvError>(&*header)) {
      std::cerr << kPrefix << "line " << error->line << ": " << error->reason << '\n';
      return kExitUsage;
    }
    auto read = readBatchHeader(std::get<CsvRecord>(*header));
    if (const auto* error = std::get_if<std::string>(&read)) {
      std::cerr << kPrefix << "line " << std::get<CsvRecord>(*header).line << ": " << *error
                << '\n';
      return kExitUsage;
    }
    columns = std::get<BatchColumns>(read);
    while (auto record = reader.next()) records.push_back(std::move(*record));
  }

  if (options.pagesDir) {
    std::error_code error;
    fs::create_directories(*options.pagesDir, error);
    if (error || !fs::is_directory(*options.pagesDir)) {
      std::cerr << kPrefix << "cannot make the directory " << oneLine(*options.pagesDir) << ": "
                << (error ? error.message() : "a file of that name is in the way") << '\n';
      return kExitIoError;
    }
  }

  const Source source{options.all ? nullptr : &records, options.all ? nullptr : &columns};
  // The print date is only on pages.
  const CastSettings settings{&options, options.printDate  ? *options.printDate
                                        : options.pagesDir ? todayShortDate()
                                                           : std::string()};
  const unsigned workers =
      options.jobs != 0 ? options.jobs : std::max(1u, std::thread::hardware_concurrency());
  const std::size_t chunkSize = options.pagesDir ? 32 : 256;

  std::size_t cast = 0;
  std::size_t refused = 0;
  Progress progress(source.size(), start);
  int status = kExitDone;
  try {
    std::optional<JsonLinesOutput> output;
    if (!options.pagesDir) output.emplace(options.output);
    Pipeline pipeline(source, settings, workers, chunkSize);
    while (std::optional<ChunkResult> result = pipeline.next()) {
      if (output) output->write(result->json);
      cast += result->cast;
      refused += result->refusals.size();
      if (!result->refusals.empty() || result->outputError) progress.clear();
      for (const std::string& refusal : result->refusals) std::cerr << kPrefix << refusal << '\n';
      if (result->outputError) throw OutputError{*result->outputError};
      pipeline.recycle(std::move(result->json));
      progress.update(pipeline.itemsBefore(pipeline.written()));
    }
    if (output) output->commit();
  } catch (const OutputError& error) {
    progress.clear();
    std::cerr << kPrefix << error.message << '\n';
    status = kExitIoError;
  }
  progress.clear();

  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  char summary[200];
  std::snprintf(summary, sizeof summary,
                "%zu chart%s cast, %zu line%s refused, %.2f s, %.0f charts per second", cast,
                cast == 1 ? "" : "s", refused, refused == 1 ? "" : "s", seconds,
                seconds > 0 ? static_cast<double>(cast) / seconds : 0.0);
  std::cerr << kPrefix << summary << '\n';
  if (status != kExitDone) return status;
  return refused == 0 ? kExitDone : kExitBadData;
}

}  // namespace

BatchCommand parseBatchCommand(std::span<const std::string_view> args) {
  try {
    bool help = false;
    BatchOptions options = parseOptions(args, help);
    if (help) return ShowHelp{};
    return options;
  } catch (Refusal& refusal) {
    return UsageError{std::move(refusal.message)};
  }
}

std::string batchHelpText() {
  return "Usage: ziwei batch [OPTION]... [FILE]\n"
         "       ziwei batch --all [OPTION]...\n"
         "Casts one chart for each record of the CSV file FILE (standard input when FILE\n"
         "is - or not given) and writes one JSON document a line (JSON Lines, the\n"
         "document of ziwei --format json), in the order of the input.\n"
         "\n"
         "The first line names the columns, in any order:\n"
         "  name,sex,year,month,leap,day,hour,minute,second[,solar]\n"
         "sex is male or female, leap 0 or 1, year 1912 to 2100 (lunar), month 1 to 12,\n"
         "day 1 to 30, hour 0 to 23, minute and second 0 to 59. A record whose solar\n"
         "field holds a Gregorian date YYYY-MM-DD leaves year, month, leap and day empty.\n"
         "Fields may be quoted (\"\" for a quote inside); lines end in LF or CR LF.\n"
         "\n"
         "Options:\n"
         "  -o, --output FILE     write the JSON Lines to FILE, replacing it as a whole\n"
         "      --pages DIR       write one chart page per record into DIR instead, named\n"
         "                        by its line: line-000002.htm, ...\n"
         "      --encoding big5|utf-8  encoding of the pages (default: big5)\n"
         "      --print-date TEXT date printed on the pages (default: today)\n"
         "      --all             cast every lunar birth instead of reading input: years\n"
         "                        1912 to 2010, months, leap flag, days 1 to 30, hours,\n"
         "                        both sexes (pages named chart-0000001.htm, ...)\n"
         "  -j, --jobs N          worker threads (default: one per core)\n"
         "  -h, --help            show this help and exit\n"
         "\n"
         "A record that cannot be cast is reported on standard error as its line and the\n"
         "reason, and the others are still cast. Standard error shows a progress bar when\n"
         "it is a terminal, and a summary at the end.\n"
         "\n"
         "Exit status: 0 done, 1 a record was refused or the input could not be read or\n"
         "an output not written, 2 bad command line or header.\n";
}

std::variant<BatchColumns, std::string> readBatchHeader(const CsvRecord& header) {
  BatchColumns columns;
  columns.fields = header.fields.size();
  for (std::size_t i = 0; i < header.fields.size(); ++i) {
    std::string_view name = header.fields[i];
    const auto known = std::ranges::find(kBatchColumns, name);
    if (known == kBatchColumns.end()) {
      return "the header names an unknown column " + shown(name) +
             " (the columns: name,sex,year,month,leap,day,hour,minute,second[,solar])";
    }
    auto& position = columns.position[static_cast<std::size_t>(known - kBatchColumns.begin())];
    if (position) return "the header names the column " + shown(name) + " twice";
    position = i;
  }
  for (std::size_t column = 0; column < kSolarColumn; ++column) {
    if (!columns.position[column]) {
      return "the header lacks the column " + shown(kBatchColumns[column]) +
             " (the columns: name,sex,year,month,leap,day,hour,minute,second[,solar])";
    }
  }
  return columns;
}

std::variant<BirthRequest, std::string> readBatchRecord(const CsvRecord& record,
                                                        const BatchColumns& columns) {
  try {
    return readRecord(record, columns);
  } catch (RecordRefusal& refusal) {
    return std::move(refusal.reason);
  }
}

BirthRequest allBirth(std::size_t index) {
  BirthRequest request;
  LunarBirth& birth = request.birth;
  birth.male = index % 2 == 0;
  index /= 2;
  birth.hour = static_cast<int>(index % 24);
  index /= 24;
  birth.day = static_cast<int>(index % 30) + 1;
  index /= 30;
  birth.leap = index % 2 == 1;
  index /= 2;
  birth.month = static_cast<int>(index % 12) + 1;
  index /= 12;
  birth.year = kSelectorYears.first + static_cast<int>(index);
  return request;
}

int batchCommand(std::span<const std::string_view> args) {
  const BatchCommand command = parseBatchCommand(args);
  if (const auto* error = std::get_if<UsageError>(&command)) {
    std::cerr << "ziwei: " << oneLine(error->message) << '\n';
    return kExitUsage;
  }
  if (std::holds_alternative<ShowHelp>(command)) {
    std::cout << batchHelpText() << std::flush;
    return std::cout ? kExitDone : kExitIoError;
  }
  return runBatch(std::get<BatchOptions>(command));
}

}  // namespace ziwei::cli

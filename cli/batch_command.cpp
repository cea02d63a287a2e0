#include "cli/batch_command.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <variant>
#include <vector>

#include "chart/chart.h"
#include "cli/batch_records.h"
#include "cli/birth_time_options.h"
#include "cli/cast_command.h"
#include "cli/command.h"
#include "cli/exit_status.h"
#include "cli/input.h"
#include "cli/progress.h"
#include "cli/rules_file.h"
#include "json/chart_json.h"
#include "output/output_file.h"
#include "page/chart_page.h"
#include "page/page_template.h"
#include "page/period_page.h"
#include "page/user_text.h"
#include "parallel/ordered_pipeline.h"
#include "unicode/utf8.h"

namespace ziwei::cli {

namespace {

namespace fs = std::filesystem;

// ---------------------------------------------------------------- options

using Row = OptionRow<BatchOptions>;

constexpr std::array<Row, 9> kRows{{
    {"output", 'o', Shape::Path, "FILE",
     "write the JSON Lines to FILE, replacing it as a whole (see Output files below)",
     [](BatchOptions& o, const OptionValue& v) {
       o.output = v.text == "-" ? std::nullopt : std::optional<std::string>(v.text);
     }},
    {"pages", 0, Shape::Path, "DIR",
     "write one chart page per record into DIR instead (the running-period page for a "
     "record with a target), named by its line: line-000002.htm, ...",
     [](BatchOptions& o, const OptionValue& v) { o.pagesDir = v.text; }},
    {"encoding", 0, Shape::Word, "big5|utf-8", "encoding of the pages (default: big5)",
     [](BatchOptions& o, const OptionValue& v) {
       o.encoding = v.word == 0 ? PageEncoding::Big5 : PageEncoding::Utf8;
       o.encodingGiven = true;
     }},
    {"print-date", 0, Shape::Text, "TEXT", "date printed on the pages (default: today)",
     [](BatchOptions& o, const OptionValue& v) { o.printDate = v.text; }},
    {"all", 0, Shape::Flag, "",
     "cast every lunar birth instead of reading input: years 1912 to 2010, months, leap "
     "flag, days 1 to 30, hours, both sexes (pages named chart-0000001.htm, ...)",
     [](BatchOptions& o, const OptionValue&) { o.all = true; }},
    {"jobs", 'j', Shape::Number, "N", "worker threads (default: one per core)",
     [](BatchOptions& o, const OptionValue& v) { o.jobs = static_cast<unsigned>(v.number); },
     nullptr, 1, 256},
    {"force", 0, Shape::Flag, "",
     "write even when the output is estimated to need more room than its file system has",
     [](BatchOptions& o, const OptionValue&) { o.force = true; }},
    {"rules", 0, Shape::Path, "FILE",
     "the rules every record is cast by unless its rule columns say otherwise, lines NAME = "
     "WORD as for the cast's --rules",
     [](BatchOptions& o, const OptionValue& v) { o.rulesFile = std::string(v.text); }},
    {"help", 'h', Shape::Help, "", "show this help and exit"},
}};

constexpr OptionTable<BatchOptions> kTable{
    "batch", kRows, [](BatchOptions& o, std::string_view file) {
      if (o.input)
        throw Refusal{"unexpected argument " + shown(file) + " (one input file at most)"};
      o.input = std::string(file);
    }};

void finish(BatchOptions& options) {
  if (options.all && options.input) {
    throw Refusal{"--all reads no input, but " + shown(*options.input) + " was given"};
  }
  if (options.input == "-") options.input.reset();
  if (options.pagesDir && options.output) {
    throw Refusal{"--output and --pages cannot be given together"};
  }
  if (!options.pagesDir && options.encodingGiven) {
    throw Refusal{"--encoding is for --pages (JSON Lines are always UTF-8)"};
  }
  if (!options.pagesDir && options.printDate) {
    throw Refusal{"--print-date is for --pages (JSON has no print date)"};
  }
}

constexpr std::string_view kPrefix = "batch: ";

void report(std::string_view message) { reportError(std::string(kPrefix) + std::string(message)); }

// ---------------------------------------------------------------- casting

// A run of input items and what they came to, in input order: births
// `first`.. of --all, or records read from the CSV input.
struct Chunk {
  std::size_t first = 0;
  std::size_t count = 0;
  std::vector<std::variant<CsvRecord, CsvError>> records;
  std::uint64_t inputRead = 0;  // input bytes read up to the chunk's end

  std::string json;                  // the JSON Lines
  std::vector<std::string> reports;  // "line N: reason" of a refusal, or a warning
  std::size_t refused = 0;
  std::size_t cast = 0;  // charts written to json or as pages
  std::optional<std::string> outputError;
};

struct Settings {
  const BatchOptions* options = nullptr;
  const BatchColumns* columns = nullptr;
  std::string printDate;
  std::atomic<bool> stop{false};  // an output failed: write no more pages
  DurableGroup* pages = nullptr;  // the page files, flushed a group at a time
  ChartOptions rules;             // of --rules, under each record's rule columns
};

// Each worker's chart, cast into record after record.
Chart& workerChart() {
  thread_local Chart chart;
  return chart;
}

std::string pageFileName(std::size_t number, bool all) {
  char name[32];
  std::snprintf(name, sizeof name, all ? "chart-%07zu.htm" : "line-%06zu.htm", number);
  return name;
}

std::string chartBytes(const BatchOptions& options, const std::string& printDate,
                       const Chart& chart, const Vocabulary& words) {
  if (chart.periods) return periodPageFile(chart, printDate, options.encoding, words);
  return chartPageFile(chartPageTemplate(words), chart, printDate, options.encoding, words);
}

void castOne(Chunk& chunk, Settings& settings, std::size_t index) {
  const BatchOptions& options = *settings.options;
  std::size_t number = index + 1;  // the line, or the birth's place in --all
  BatchBirth read;
  const BirthRequest& request = read.request;
  std::optional<TargetMoment> target;
  try {
    if (chunk.records.empty()) {
      read.request = allBirth(index);
      read.request.options = settings.rules;
    } else {
      const auto& item = chunk.records[index - chunk.first];
      if (const auto* error = std::get_if<CsvError>(&item)) {
        throw Refusal{"line " + std::to_string(error->line) + ": " + error->reason};
      }
      const auto& record = std::get<CsvRecord>(item);
      number = record.line;
      try {
        read = readBatchRecord(record, *settings.columns, settings.rules);
        target = readBatchTarget(record, *settings.columns);
        if (target && read.steps) target = targetInZone(*target, read.steps->zone, "on");
      } catch (const Refusal& refusal) {
        throw Refusal{"line " + std::to_string(number) + ": " + refusal.message};
      }
    }
    const Vocabulary& words = vocabularyOf(read.language);
    if (options.pagesDir && options.encoding == PageEncoding::Big5 && &words != &kZhHant) {
      throw Refusal{"line " + std::to_string(number) + ": lang: a Big5 page holds zh-Hant names " +
                    "only; give --encoding utf-8 for zh-Hans and en pages"};
    }
    Chart& chart = workerChart();
    try {
      if (target) checkTargetAfterBirth(*target, request.birth.year);
      read.request.target = target;
      cast(request, chart);
    } catch (const TargetError& error) {  // before the birth year
      throw Refusal{"line " + std::to_string(number) + ": on: " + oneLine(error.what())};
    } catch (const std::invalid_argument& error) {
      throw Refusal{"line " + std::to_string(number) + ": " + oneLine(error.what())};
    }
    if (!options.pagesDir) {
      appendChartJson(chunk.json, chart, {request.solar, read.steps ? &*read.steps : nullptr},
                      words);
      chunk.json += '\n';
      ++chunk.cast;
      return;
    }
    if (settings.stop) return;
    // A page does not say that the calendar lacks the date, as the JSON's
    // "dateExists" does: the warning of a single cast says it (for records
    // read; --all enumerates such dates on purpose).
    if (!chunk.records.empty()) {
      if (const auto missing = missingDateWarning(request.birth)) {
        chunk.reports.push_back("line " + std::to_string(number) + ": " + *missing);
      }
    }
    const std::string bytes = chartBytes(options, settings.printDate, chart, words);
    try {
      settings.pages->write(fs::path(*options.pagesDir) / pageFileName(number, options.all), bytes);
      ++chunk.cast;
    } catch (const OutputError& error) {
      chunk.outputError = error.what();
      settings.stop = true;
    }
  } catch (const Refusal& refusal) {
    chunk.reports.push_back(refusal.message);
    ++chunk.refused;
  } catch (const std::exception& error) {
    // Nothing else is expected; still, a worker must not end the process.
    chunk.reports.push_back("line " + std::to_string(number) + ": " + oneLine(error.what()));
    ++chunk.refused;
  }
}

void castChunk(Chunk& chunk, Settings& settings) {
  for (std::size_t i = chunk.first; i < chunk.first + chunk.count && !chunk.outputError; ++i) {
    castOne(chunk, settings, i);
  }
}

// ---------------------------------------------------------------- room

std::string sizeText(double bytes) {
  char text[32];
  if (bytes >= 1e9) {
    std::snprintf(text, sizeof text, "%.1f GB", bytes / 1e9);
  } else {
    std::snprintf(text, sizeof text, "%.1f MB", bytes / 1e6);
  }
  return text;
}

// The records of the input at most: its line feeds, read ahead from a file;
// nothing for a pipe or terminal.
std::optional<std::uint64_t> recordsAtMost(const BatchOptions& options) {
  if (options.all) return kAllBirths;
  if (!options.input) return std::nullopt;
  try {
    Input input(options.input);
    if (!input.size()) return std::nullopt;
    std::uint64_t lines = 0;
    bool open = false;  // a last line without a line feed
    while (input.fill()) {
      lines += static_cast<std::uint64_t>(std::ranges::count(input.data(), '\n'));
      open = !input.data().ends_with('\n');
      input.consume(input.data().size());
    }
    lines += open ? 1 : 0;
    return lines == 0 ? 0 : lines - 1;  // the header
  } catch (const InputError&) {
    return std::nullopt;  // reported when the input is read
  }
}

// Refuses a run whose output is estimated to need more room than the file
// system of `folder` has free (the message names it as `shown`): each record a chart the size of
// the default one in the output's form (names make pages a little longer).
bool roomEnough(const BatchOptions& options, const Settings& settings, const fs::path& folder,
                const fs::path& shown) {
  if (options.force) return true;
  const std::optional<std::uint64_t> records = recordsAtMost(options);
  const std::optional<unsigned long long> free = freeBytes(folder);
  if (!records || !free) return true;
  const Chart chart = cast(allBirth(0));
  const std::size_t perChart = options.pagesDir
                                   ? chartBytes(options, settings.printDate, chart, kZhHant).size()
                                   : chartJson(chart).size() + 1;
  const double needed = static_cast<double>(*records) * static_cast<double>(perChart);
  if (needed <= static_cast<double>(*free)) return true;
  report("the output would take about " + sizeText(needed) + " (" + std::to_string(*records) +
         " charts), but " + shown.string() + " has " + sizeText(static_cast<double>(*free)) +
         " free; give --force to write anyway");
  return false;
}

// ---------------------------------------------------------------- the run

// What the run came to, for its summary.
struct Tally {
  std::size_t cast = 0;
  std::size_t refused = 0;
  bool failed = false;
};

void printSummary(const Tally& tally, std::chrono::steady_clock::time_point start) {
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  char summary[200];
  std::snprintf(summary, sizeof summary,
                "%zu chart%s %s, %zu line%s refused, %.2f s, %.0f charts per second", tally.cast,
                tally.cast == 1 ? "" : "s", tally.failed ? "written" : "cast", tally.refused,
                tally.refused == 1 ? "" : "s", seconds,
                seconds > 0 ? static_cast<double>(tally.cast) / seconds : 0.0);
  report(summary);
}

int runBatch(const BatchOptions& options) {
  const auto start = std::chrono::steady_clock::now();
  Settings settings;
  settings.options = &options;
  // The print date is only on pages.
  settings.printDate = options.printDate  ? *options.printDate
                       : options.pagesDir ? todayShortDate()
                                          : std::string();
  BatchColumns columns;
  settings.columns = &columns;
  if (options.rulesFile) {
    try {
      settings.rules = readRulesFile("--rules", *options.rulesFile);
    } catch (const Refusal& refusal) {
      report(refusal.message);
      return kExitUsage;
    }
  }
  Tally tally;
  try {
    std::optional<Input> input;
    std::optional<CsvReader> reader;
    if (!options.all) {
      input.emplace(options.input);
      reader.emplace(*input);
      std::optional<std::variant<CsvRecord, CsvError>> header = reader->next();
      if (!header) {
        report(
            "the input is empty (the first line names the columns: "
            "name,sex,year,month,leap,day,hour,minute,second and optionally solar,on,tz,"
            "place,longitude,dst,late-zi)");
        return kExitUsage;
      }
      if (const auto* error = std::get_if<CsvError>(&*header)) {
        report("line " + std::to_string(error->line) + ": " + error->reason);
        return kExitUsage;
      }
      try {
        columns = readBatchHeader(std::get<CsvRecord>(*header));
      } catch (const Refusal& refusal) {
        report("line " + std::to_string(std::get<CsvRecord>(*header).line) + ": " +
               refusal.message);
        return kExitUsage;
      }
    }

    std::optional<OutputFile> output;
    if (options.pagesDir) {
      // The room is that of the file system DIR will be on: a run refused
      // for it leaves no DIR behind.
      fs::path on = fs::path(*options.pagesDir).lexically_normal();
      std::error_code missing;
      while (!on.empty() && !fs::exists(on, missing) && on.has_parent_path() &&
             on.parent_path() != on) {
        on = on.parent_path();
      }
      if (on.empty() || !fs::exists(on, missing)) on = ".";
      if (!roomEnough(options, settings, on, *options.pagesDir)) return kExitIoError;
      std::error_code error;
      fs::create_directories(*options.pagesDir, error);
      if (error || !fs::is_directory(*options.pagesDir)) {
        report("cannot make the directory " + *options.pagesDir + ": " +
               (error ? error.message() : "a file of that name is in the way"));
        return kExitIoError;
      }
    } else if (options.output) {
      output.emplace(*options.output);
      if (output->folder() &&
          !roomEnough(options, settings, *output->folder(), *output->folder())) {
        return kExitIoError;
      }
    } else {
      output.emplace();
    }

    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const unsigned workers = options.jobs != 0 ? options.jobs : cores;
    // The chunks under way, whatever the workers: more than the cores can
    // keep busy only costs memory, and a worker beyond them would never have
    // one.
    const std::size_t window = 4 * std::min(workers, cores);
    const auto threads = static_cast<unsigned>(std::min<std::size_t>(workers, window));
    const std::size_t chunkSize = options.pagesDir ? 32 : 256;
    Progress progress(options.all ? std::optional<std::uint64_t>(kAllBirths) : input->size());
    std::vector<std::string> spare;
    std::size_t next = 0;  // the next birth of --all
    bool ended = false;
    const auto produce = [&](Chunk& chunk) {
      if (!spare.empty()) {
        chunk.json = std::move(spare.back());
        chunk.json.clear();
        spare.pop_back();
      }
      if (options.all) {
        chunk.first = next;
        chunk.count = std::min(chunkSize, kAllBirths - next);
        next += chunk.count;
        ended = next == kAllBirths;
        return;
      }
      while (chunk.records.size() < chunkSize) {
        auto record = reader->next();
        if (!record) {
          ended = true;
          break;
        }
        chunk.records.push_back(std::move(*record));
      }
      chunk.count = chunk.records.size();
      chunk.inputRead = input->consumed();
    };

    DurableGroup pages;
    settings.pages = &pages;
    OrderedPipeline<Chunk> pipeline(threads,
                                    [&settings](Chunk& chunk) { castChunk(chunk, settings); });
    std::optional<std::string> failure;
    for (;;) {
      while (!ended && !failure && pipeline.size() < window) {
        Chunk chunk;
        produce(chunk);
        if (chunk.count != 0) pipeline.push(std::move(chunk));
      }
      if (pipeline.size() == 0) break;
      Chunk chunk = pipeline.pop();
      tally.refused += chunk.refused;
      if (!chunk.reports.empty() || chunk.outputError) progress.clear();
      for (const std::string& line : chunk.reports) report(line);
      if (chunk.outputError && !failure) failure = chunk.outputError;
      if (options.pagesDir) {
        tally.cast += chunk.cast;
      } else if (!failure) {
        try {
          output->write(chunk.json);
          tally.cast += chunk.cast;
        } catch (const OutputError& error) {
          failure = error.what();
          settings.stop = true;
        }
      }
      spare.push_back(std::move(chunk.json));
      progress.update(options.all ? chunk.first + chunk.count : chunk.inputRead, tally.cast,
                      tally.refused);
    }
    progress.clear();
    if (options.pagesDir) {
      // Success is reported only once every page is on disk; after a
      // failure the pages written whole are still put in place.
      try {
        pages.finish();
      } catch (const OutputError& error) {
        if (!failure) failure = error.what();
      }
      tally.cast = pages.published();
    }
    if (output && !failure) {
      try {
        output->commit();
      } catch (const OutputError& error) {
        failure = error.what();
      }
    }
    if (failure) {
      report(*failure);
      tally.failed = true;
      // A file replaced as a whole keeps nothing of a failed run.
      if (output && output->folder()) tally.cast = 0;
    }
  } catch (const InputError& error) {
    report(error.message);
    tally.failed = true;
  } catch (const OutputError& error) {
    report(error.what());
    tally.failed = true;
  }
  printSummary(tally, start);
  if (tally.failed) return kExitIoError;
  return tally.refused == 0 ? kExitDone : kExitBadData;
}

}  // namespace

Parsed<BatchOptions> parseBatchCommand(std::span<const std::string_view> args) {
  return parseOptions(kTable, args, BatchOptions{}, finish);
}

std::string batchHelpText() {
  return "Usage: ziwei batch [OPTION]... [FILE]\n"
         "       ziwei batch --all [OPTION]...\n"
         "Casts one chart for each record of the CSV file FILE (standard input when FILE\n"
         "is - or not given) and writes one JSON document a line (JSON Lines, the\n"
         "document of ziwei --format json), in the order of the input.\n"
         "\n"
         "The first line names the columns, in any order:\n"
         "  name,sex,year,month,leap,day,hour,minute,second[,solar][,on]\n"
         "sex is male or female, leap 0 or 1, year 1912 to 2100 (lunar), month 1 to 12,\n"
         "day 1 to 30, hour 0 to 23, minute and second 0 to 59. A record whose solar\n"
         "field holds a Gregorian date YYYY-MM-DD leaves year, month, leap and day empty.\n"
         "A record whose on field holds a target adds the running periods (運限) at it to\n"
         "its document, or is written as the running-period page with --pages:\n"
         "  2026-05-14   2026-05-14 13:30   lunar 2026-3-28   lunar 2023-2-10 leap 08:00\n"
         "(a Gregorian date in China Standard Time, or lunar and a lunar date, leap for a\n"
         "leap month, then an optional clock time HH:MM); an empty field casts the natal\n"
         "chart alone.\n"
         "Optional columns, as the options of ziwei (see ziwei --help); an empty field\n"
         "keeps the default: tz (a time zone, as --tz), place (as --place), longitude\n"
         "(as --longitude; not with place), dst (yes or no, as --dst) and late-zi\n"
         "(same-day or next-day). A record that gives one of them has the steps from its\n"
         "clock time to the lunar date in its JSON \"input\"; its zone (tz, or the zone\n"
         "of place) also reads the clock time of its on field.\n"
         "Fields may be quoted (\"\" for a quote inside); lines end in LF or CR LF. A\n"
         "record may hold 1 MiB (1048576 bytes); a longer one is refused. The input is\n"
         "read as it is cast, so memory stays bounded however long it is.\n"
         "\n" +
         optionHelp(kTable) +
         "\n"
         "A record that cannot be cast is reported on standard error as its line and the\n"
         "reason, and the others are still cast. Standard error shows a progress bar when\n"
         "it is a terminal, and a summary at the end.\n"
         "\n"
         "Before writing to a file or into DIR, the output is estimated (the records of\n"
         "the input file, or of --all, times the size of a chart); a run that would not\n"
         "fit in the free space is refused with both figures unless --force is given.\n"
         "When the file system fills up during a run, the run stops: the message names\n"
         "the file, no page is left half written, and the summary counts the charts\n"
         "written.\n"
         "\n" +
         std::string(kOutputFilesHelp) +
         "\n"
         "Exit status: 0 done, 1 a record was refused or the input could not be read or\n"
         "an output not written, 2 bad command line or header.\n";
}

int batchCommand(std::span<const std::string_view> args) {
  return runParsed(parseBatchCommand(args), batchHelpText, runBatch);
}

}  // namespace ziwei::cli

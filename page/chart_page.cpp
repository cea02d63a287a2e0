#include "page/chart_page.h"

#include <array>
#include <cctype>
#include <chrono>
#include <ctime>
#include <iomanip>
#include <locale>
#include <sstream>
#include <stdexcept>

#include "page/append_buffer.h"
#include "page/page_file.h"
#include "page/page_template.h"
#include "page/palace_cell.h"
#include "page/user_text.h"
#include "unicode/utf8.h"

namespace ziwei {

namespace {

// The placeholder of `placeholders` that starts at `at`, as its index;
// placeholders.size() for none.
std::size_t placeholderAt(std::span<const std::string_view> placeholders, std::string_view text,
                          std::size_t at) {
  for (std::size_t step = 0; step < placeholders.size(); ++step) {
    if (text.substr(at).starts_with(placeholders[step])) return step;
  }
  return placeholders.size();
}

// True when `literal` holds a byte found in no placeholder name, so that no
// placeholder can run across it.
bool separatesPlaceholders(std::string_view literal) {
  for (const char c : literal) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80 || (std::isalnum(byte) == 0 && c != '_')) return true;
  }
  return false;
}

[[noreturn]] void refuse(std::size_t at, std::string_view why) {
  throw std::invalid_argument("page template: byte " + std::to_string(at) + ": " +
                              std::string(why) + "; only such templates are filled in one pass");
}

}  // namespace

std::array<std::string, kFirstCellPlaceholder> pageHeadValues(const Chart& chart,
                                                              std::string_view printDate,
                                                              const Vocabulary& words) {
  const ChartState& frame = chart.frame;
  return {"Tessaro",
          translatedPageText("Tessaro紫微斗數命盤", words),
          escapeUserText(printDate),
          escapeUserText(chart.request.name),
          std::string(words(frame.SexText)),
          std::string(words.animal(frame.YearBranch)),
          std::to_string(frame.BirthYear - 1911),
          std::to_string(frame.BirthMonth),
          std::to_string(frame.BirthDay),
          std::to_string(frame.BirthHour),
          std::to_string(frame.BirthMinute),
          std::string(words(frame.BureauName)),
          std::string(words(chart.lifeMaster)),
          std::string(words(chart.bodyMaster)),
          std::string(words(branchOf(chart.douJun))),
          ""};
}

// While the template's "@"s are exactly the placeholders' own, and every
// literal between two placeholders holds a byte no placeholder name has, the
// only "@"s of a partly replaced page (its values hold none) are those of the
// placeholders not yet replaced, and an occurrence of a placeholder can only
// be one of them: the single pass puts each value where ordered replacement
// would.
PreparedTemplate::PreparedTemplate(std::string text, std::span<const std::string_view> placeholders)
    : text_(std::move(text)), placeholders_(placeholders) {
  if (!isValidUtf8(text_)) refuse(0, "the template is not valid UTF-8");
  const std::string_view view = text_;
  std::size_t done = 0;
  for (std::size_t at = view.find('@'); at != std::string_view::npos; at = view.find('@', at)) {
    const std::size_t step = placeholderAt(placeholders_, view, at);
    if (step == placeholders_.size()) refuse(at, "this \"@\" opens no placeholder");
    if (!pieces_.empty() && !separatesPlaceholders(view.substr(done, at - done))) {
      refuse(at,
             "nothing but name characters stands between this placeholder and the one "
             "before it, which a value could join into another placeholder");
    }
    done = at + placeholders_[step].size();
    pieces_.push_back({at, done, static_cast<std::uint8_t>(step)});
    at = done;
  }
  std::size_t from = 0;
  for (const Piece& piece : pieces_) {
    literals_.push_back(view.substr(from, piece.literalEnd - from));
    from = piece.next;
  }
  literals_.push_back(view.substr(from));
  for (const std::string_view literal : literals_) {
    std::string bytes;
    appendBig5(bytes, literal);
    big5Literals_.push_back(std::move(bytes));
  }
}

const PreparedTemplate& chartPageTemplate() { return chartPageTemplate(kZhHant); }

const PreparedTemplate& chartPageTemplate(const Vocabulary& words) {
  static const std::array<PreparedTemplate, kLanguageCount> prepared = [] {
    return std::array{PreparedTemplate(buildPageTemplate()),
                      PreparedTemplate(translatedPageText(buildPageTemplate(), kZhHans)),
                      PreparedTemplate(translatedPageText(buildPageTemplate(), kEnglish))};
  }();
  return prepared[static_cast<std::size_t>(words.language)];
}

std::string translatedPageText(std::string text, const Vocabulary& words) {
  if (words.language == Language::ZhHant) return text;
  for (std::size_t i = 0; i < kPageTextCount; ++i) {
    const std::string_view from = kZhHant.pageTexts[i];
    const std::string_view to = words.pageTexts[i];
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
      text.replace(at, from.size(), to);
    }
  }
  if (!words.pageStyle.empty()) {
    const std::string head = "<head>";
    if (const std::size_t at = text.find(head); at != std::string::npos) {
      text.insert(at + head.size(), "<style>" + std::string(words.pageStyle) + "</style>");
    }
  }
  return text;
}

namespace {

constexpr std::size_t kCellsRoom = 12 * 3072;

std::string chartPage(const PreparedTemplate& pageTemplate, const Chart& chart,
                      std::string_view printDate, PageEncoding encoding, const Vocabulary& words) {
  const std::array<std::string, kFirstCellPlaceholder> head =
      pageHeadValues(chart, printDate, words);
  return fillPage(pageTemplate, encoding, kCellsRoom, [&](AppendBuffer& buffer, std::size_t step) {
    if (step < kFirstCellPlaceholder) {
      buffer += head[step];
    } else {
      HourInStr(buffer, chart, PalaceNum(static_cast<int>(step - kFirstCellPlaceholder) + 1), words);
    }
  });
}

}  // namespace

void refuseBig5Unless(PageEncoding encoding, const Vocabulary& words) {
  if (encoding == PageEncoding::Big5 && &words != &kZhHant) {
    throw std::invalid_argument("a Big5 page holds zh-Hant names only");
  }
}

std::string assembleChartPage(const PreparedTemplate& pageTemplate, const Chart& chart,
                              std::string_view printDate, const Vocabulary& words) {
  return chartPage(pageTemplate, chart, printDate, PageEncoding::Utf8, words);
}

std::string chartPageFile(const PreparedTemplate& pageTemplate, const Chart& chart,
                          std::string_view printDate, PageEncoding encoding,
                          const Vocabulary& words) {
  refuseBig5Unless(encoding, words);
  return pageFileBytes(encoding, [&](PageEncoding filled) {
    return chartPage(pageTemplate, chart, printDate, filled, words);
  });
}

std::string assembleChartPage(const Chart& chart, std::string_view pageTemplate,
                              std::string_view printDate, const Vocabulary& words) {
  if (pageTemplate == chartPageTemplate().text()) {
    return assembleChartPage(chartPageTemplate(), chart, printDate, words);
  }
  return assembleChartPage(PreparedTemplate(std::string(pageTemplate)), chart, printDate, words);
}

std::string todayShortDate() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  const auto format = [&local](const std::locale& locale) {
    std::ostringstream text;
    text.imbue(locale);
    text << std::put_time(&local, "%x");
    return text.str();
  };
  // The user's locale when it can be loaded and writes UTF-8; the C
  // locale's form otherwise.
  try {
    std::string date = format(std::locale(""));
    if (isValidUtf8(date)) return date;
  } catch (const std::runtime_error&) {
  }
  return format(std::locale::classic());
}

}  // namespace ziwei

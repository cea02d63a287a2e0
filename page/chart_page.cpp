#include "page/chart_page.h"

#include <array>
#include <cctype>
#include <chrono>
#include <ctime>
#include <iomanip>
#include <locale>
#include <mutex>
#include <sstream>
#include <stdexcept>

#include "chart/frame/cyclic_names.h"
#include "chart/frame/masters.h"
#include "page/append_buffer.h"
#include "page/page_file.h"
#include "page/page_template.h"
#include "page/palace_cell.h"
#include "page/palace_layout.h"
#include "page/user_text.h"

namespace ziwei {

namespace {

// Replaces every occurrence of `placeholder` in `page` by `value`.
void replaceAll(std::string& page, std::string_view placeholder, std::string_view value) {
  std::size_t at = page.find(placeholder);
  if (at == std::string::npos) return;
  std::string replaced;
  replaced.reserve(page.size() + value.size());
  std::size_t done = 0;
  while (at != std::string::npos) {
    replaced.append(page, done, at - done);
    replaced += value;
    done = at + placeholder.size();
    at = page.find(placeholder, done);
  }
  replaced.append(page, done);
  page = std::move(replaced);
}

// The placeholders in the order they are replaced; the last twelve are the
// palace cells 1..12.
constexpr std::array<std::string_view, 28> kPlaceholders{
    "@Title@",       "@FateName@",    "@PrintDate@",   "@txtNAME@",      "@SEXTEXT@",
    "@getAnimal@",   "@CYY@",         "@CMM@",         "@CDD@",          "@CHH@",
    "@CMU@",         "@FiveHourse@",  "@LiftHourseM@", "@getBodyStart@", "@getLifeDStart@",
    "@PAGENOTE@",    "@HourseNUM01@", "@HourseNUM02@", "@HourseNUM03@",  "@HourseNUM04@",
    "@HourseNUM05@", "@HourseNUM06@", "@HourseNUM07@", "@HourseNUM08@",  "@HourseNUM09@",
    "@HourseNUM10@", "@HourseNUM11@", "@HourseNUM12@",
};
constexpr std::size_t kFirstCell = 16;

// The values of the first sixteen placeholders, in order.
std::array<std::string, kFirstCell> headValues(const ChartState& chart, std::string_view name,
                                               std::string_view printDate) {
  return {"Tessaro",
          "Tessaro紫微斗數命盤",
          escapeUserText(printDate),
          escapeUserText(name),
          chart.SexText,
          getAnimal(chart.YearBranchNum),
          std::to_string(chart.BirthYear - 1911),
          std::to_string(chart.BirthMonth),
          std::to_string(chart.BirthDay),
          std::to_string(chart.BirthHour),
          std::to_string(chart.BirthMinute),
          chart.BureauName,
          getLiftStart(chart.LifePalaceNum),
          getBodyStart(chart),
          getEARTHWORD(getLifeDStart(chart)),
          ""};
}

// The placeholder that starts at `at`, as its step; kPlaceholders.size() for
// none.
std::size_t placeholderAt(std::string_view text, std::size_t at) {
  for (std::size_t step = 0; step < kPlaceholders.size(); ++step) {
    if (text.substr(at).starts_with(kPlaceholders[step])) return step;
  }
  return kPlaceholders.size();
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

}  // namespace

// While the template's "@"s are exactly the placeholders' own, and every
// literal between two placeholders holds a byte no placeholder name has, the
// only "@"s of a partly replaced page (its values hold none) are those of the
// placeholders not yet replaced, and an occurrence of a placeholder can only
// be one of them: the single pass puts each value where ordered replacement
// would.
PreparedTemplate::PreparedTemplate(std::string text)
    : text_(std::move(text)), validUtf8_(ziwei::isValidUtf8(text_)) {
  const std::string_view view = text_;
  std::size_t done = 0;
  for (std::size_t at = view.find('@'); at != std::string_view::npos; at = view.find('@', at)) {
    const std::size_t step = placeholderAt(view, at);
    if (step == kPlaceholders.size()) {
      onePass_ = false;
      break;
    }
    if (!pieces_.empty() && !separatesPlaceholders(view.substr(done, at - done))) onePass_ = false;
    done = at + kPlaceholders[step].size();
    pieces_.push_back({static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(done),
                       static_cast<std::uint8_t>(step)});
    at = done;
  }
  std::size_t from = 0;
  for (const Piece& piece : pieces_) {
    literals_.push_back(view.substr(from, piece.literalEnd - from));
    from = piece.next;
  }
  literals_.push_back(view.substr(from));
}

const std::vector<std::string_view>& PreparedTemplate::big5Literals() const {
  std::call_once(big5Once_, [this] {
    big5Literals_.reserve(literals_.size());
    for (const std::string_view literal : literals_) {
      std::string bytes;
      appendBig5(bytes, literal);
      big5Literals_.push_back(std::move(bytes));
    }
    big5Views_.assign(big5Literals_.begin(), big5Literals_.end());
  });
  return big5Views_;
}

const PreparedTemplate& chartPageTemplate() {
  static const PreparedTemplate prepared(buildPageTemplate());
  return prepared;
}

namespace {

// Fills the template in one pass into `out`, in the encoding of `buffer`
// (whose string is `out`); false when a value held "@", so that ordered
// replacement must decide.
bool fillInOnePass(const PreparedTemplate& pageTemplate, const ChartState& chart,
                   std::string_view name, std::string_view printDate, std::string& out,
                   AppendBuffer& buffer, bool big5) {
  const std::array<std::string, kFirstCell> head = headValues(chart, name, printDate);
  const ChartLayout layout = layOutPalaces(chart);
  const std::vector<std::string_view>& literals =
      big5 ? pageTemplate.big5Literals() : pageTemplate.literals();
  for (std::size_t i = 0; i < pageTemplate.pieces().size(); ++i) {
    const PreparedTemplate::Piece& piece = pageTemplate.pieces()[i];
    buffer.finish();
    out.append(literals[i]);
    if (piece.step < kFirstCell) {
      buffer += head[piece.step];
    } else {
      const std::size_t cell = piece.step - kFirstCell;
      appendPalaceCell(buffer, chart, layout[cell], static_cast<PalaceNum>(cell + 1));
    }
  }
  buffer.finish();
  out.append(literals.back());
  return big5 ? !buffer.sawAt() : out.find('@') == std::string::npos;
}

}  // namespace

std::string assembleChartPage(const PreparedTemplate& pageTemplate, const ChartState& chart,
                              std::string_view name, std::string_view printDate) {
  const std::string_view text = std::string_view(pageTemplate.text());
  if (pageTemplate.fillsInOnePass()) {
    std::string page;
    page.reserve(text.size() + 12 * 3072);
    AppendBuffer buffer(page);
    if (fillInOnePass(pageTemplate, chart, name, printDate, page, buffer, false)) return page;
  }
  return assembleChartPageByReplacement(chart, text, name, printDate);
}

std::string chartPageFile(const PreparedTemplate& pageTemplate, const ChartState& chart,
                          std::string_view name, std::string_view printDate,
                          PageEncoding encoding) {
  const std::string_view text = std::string_view(pageTemplate.text());
  // Encoded in pieces, a valid template's text comes out as encoded whole.
  if (encoding == PageEncoding::Big5 && pageTemplate.fillsInOnePass() &&
      pageTemplate.isValidUtf8()) {
    std::string bytes;
    bytes.reserve(text.size() + 12 * 3072);
    AppendBuffer buffer(bytes, big5Codes());
    if (fillInOnePass(pageTemplate, chart, name, printDate, bytes, buffer, true)) {
      bytes += "\r\n";
      return bytes;
    }
    return encodePage(assembleChartPageByReplacement(chart, text, name, printDate), encoding);
  }
  return encodePage(assembleChartPage(pageTemplate, chart, name, printDate), encoding);
}

std::string assembleChartPage(const ChartState& chart, std::string_view pageTemplate,
                              std::string_view name, std::string_view printDate) {
  if (pageTemplate == chartPageTemplate().text()) {
    return assembleChartPage(chartPageTemplate(), chart, name, printDate);
  }
  return assembleChartPage(PreparedTemplate(std::string(pageTemplate)), chart, name, printDate);
}

std::string assembleChartPageByReplacement(const ChartState& chart, std::string_view pageTemplate,
                                           std::string_view name, std::string_view printDate) {
  std::string page(pageTemplate);
  const std::array<std::string, kFirstCell> head = headValues(chart, name, printDate);
  for (std::size_t step = 0; step < kPlaceholders.size(); ++step) {
    if (step < kFirstCell) {
      replaceAll(page, kPlaceholders[step], head[step]);
    } else {
      replaceAll(page, kPlaceholders[step],
                 HourInStr(chart, static_cast<PalaceNum>(step - kFirstCell + 1)));
    }
  }
  return page;
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

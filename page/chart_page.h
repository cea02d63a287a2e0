#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "chart/chart.h"
#include "page/append_buffer.h"
#include "page/page_file.h"
#include "vocabulary/vocabulary.h"

namespace ziwei {

// The 28 placeholders in the order their values are defined: the sixteen of
// the title bar and the centre block, then the palace cells 1..12.
inline constexpr std::array<std::string_view, 28> kPagePlaceholders{
    "@Title@",       "@FateName@",    "@PrintDate@",   "@txtNAME@",      "@SEXTEXT@",
    "@getAnimal@",   "@CYY@",         "@CMM@",         "@CDD@",          "@CHH@",
    "@CMU@",         "@FiveHourse@",  "@LiftHourseM@", "@getBodyStart@", "@getLifeDStart@",
    "@PAGENOTE@",    "@HourseNUM01@", "@HourseNUM02@", "@HourseNUM03@",  "@HourseNUM04@",
    "@HourseNUM05@", "@HourseNUM06@", "@HourseNUM07@", "@HourseNUM08@",  "@HourseNUM09@",
    "@HourseNUM10@", "@HourseNUM11@", "@HourseNUM12@",
};
inline constexpr std::size_t kFirstCellPlaceholder = 16;

// The values of the first sixteen placeholders. The name and `printDate`
// are user text and are HTML-escaped, "@" included.
std::array<std::string, kFirstCellPlaceholder> pageHeadValues(const Chart& chart,
                                                              std::string_view printDate,
                                                              const Vocabulary& words);

// A page template split once at its placeholders (kPagePlaceholders, or the
// list given), so that a page is filled in one pass: each literal piece,
// then the value of the placeholder after it. Since no value holds a "@", that gives the page of
// replacing the placeholders one after another over the whole text, as long as the template's own
// "@"s are exactly its placeholders' and no two placeholders stand so close that a value could join
// their names into a third. The constructor refuses any other template, and one that is not valid
// UTF-8 (whose Big5 pieces could differ from the whole), with std::invalid_argument saying why.
class PreparedTemplate {
 public:
  explicit PreparedTemplate(std::string text,
                            std::span<const std::string_view> placeholders = kPagePlaceholders);

  const std::string& text() const { return text_; }
  std::span<const std::string_view> placeholders() const { return placeholders_; }

  // The placeholders as they stand, each with the literal before it.
  struct Piece {
    std::size_t literalEnd;  // the literal runs from the previous placeholder's end to here
    std::size_t next;        // where the text goes on after the placeholder
    std::uint8_t step;       // the placeholder's index in placeholders()
  };
  const std::vector<Piece>& pieces() const { return pieces_; }
  // The literals before each placeholder and after the last one, as text
  // and in Big5.
  const std::vector<std::string_view>& literals() const { return literals_; }
  const std::vector<std::string>& big5Literals() const { return big5Literals_; }

 private:
  std::string text_;
  std::span<const std::string_view> placeholders_;
  std::vector<Piece> pieces_;
  std::vector<std::string_view> literals_;
  std::vector<std::string> big5Literals_;
};

// The built-in template (buildPageTemplate), prepared on first use; in the
// language of `words` (its texts and style, translatedPageText).
const PreparedTemplate& chartPageTemplate();
const PreparedTemplate& chartPageTemplate(const Vocabulary& words);

// A page text (a template, a title) in the language of `words`: each of the
// zh-Hant template texts (Vocabulary::pageTexts) replaced by the language's,
// in their order, and the language's style sheet added after "<head>".
std::string translatedPageText(std::string text, const Vocabulary& words);

// The finished chart page (UTF-8, no trailing line break), named by `words`.
std::string assembleChartPage(const PreparedTemplate& pageTemplate, const Chart& chart,
                              std::string_view printDate, const Vocabulary& words = kZhHant);
// The same from a template's text (prepared for the call unless it is the
// built-in one).
std::string assembleChartPage(const Chart& chart, std::string_view pageTemplate,
                              std::string_view printDate, const Vocabulary& words = kZhHant);

// The bytes of the page file, encodePage(assembleChartPage(...), encoding);
// a Big5 page is encoded while it is filled.
std::string chartPageFile(const PreparedTemplate& pageTemplate, const Chart& chart,
                          std::string_view printDate, PageEncoding encoding,
                          const Vocabulary& words = kZhHant);

// Throws std::invalid_argument unless a page of `encoding` can hold the names
// of `words`: a Big5 page holds the zh-Hant ones only.
void refuseBig5Unless(PageEncoding encoding, const Vocabulary& words);

// Fills `pageTemplate` in one pass: each literal, then `appendValue(buffer,
// step)` for the placeholder that follows it (its index in the template's
// placeholders). Returns the UTF-8 page (`encoding` Utf8, no line break) or
// the bytes of its file (`encoding` Big5: encoded while filled, then CR LF).
// The values must hold no "@".
template <class AppendValue>
std::string fillPage(const PreparedTemplate& pageTemplate, PageEncoding encoding,
                     std::size_t valuesRoom, AppendValue&& appendValue);

// The bytes of a page file from `page(encoding)`, the page filled in that
// encoding: a Big5 file filled as Big5, any other filled as UTF-8 and
// encoded (encodePage).
template <class Page>
std::string pageFileBytes(PageEncoding encoding, Page&& page) {
  if (encoding == PageEncoding::Big5) return page(PageEncoding::Big5);
  return encodePage(page(PageEncoding::Utf8), encoding);
}

// Today's date in the user's locale's short date format.
std::string todayShortDate();

template <class AppendValue>
std::string fillPage(const PreparedTemplate& pageTemplate, PageEncoding encoding,
                     std::size_t valuesRoom, AppendValue&& appendValue) {
  const bool big5 = encoding == PageEncoding::Big5;
  std::string out;
  out.reserve(pageTemplate.text().size() + valuesRoom);
  AppendBuffer buffer(out, encoding);
  const auto fill = [&](const auto& literals) {
    for (std::size_t i = 0; i < pageTemplate.pieces().size(); ++i) {
      buffer.finish();
      out.append(literals[i]);
      appendValue(buffer, pageTemplate.pieces()[i].step);
    }
    buffer.finish();
    out.append(literals.back());
  };
  if (big5) {
    fill(pageTemplate.big5Literals());
    out += "\r\n";
  } else {
    fill(pageTemplate.literals());
  }
  return out;
}

}  // namespace ziwei

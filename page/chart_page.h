#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "chart/frame/chart_state.h"
#include "page/page_file.h"

namespace ziwei {

// A page template split once at its placeholders, so that a page is filled
// in one pass: each literal piece, then the value of the placeholder after
// it. The pages are the same as those of ordered whole-text replacement
// (assembleChartPageByReplacement); a template where the one pass could
// differ (a "@" that opens no placeholder, two placeholders that a value
// could join into a third) is filled by ordered replacement instead.
class PreparedTemplate {
 public:
  explicit PreparedTemplate(std::string text);

  const std::string& text() const { return text_; }
  // False when pages of this template are filled by ordered replacement.
  bool fillsInOnePass() const { return onePass_; }

  // The placeholders in the order they stand, each with the literal before it.
  struct Piece {
    std::uint32_t literalEnd;  // the literal runs from the previous placeholder's end to here
    std::uint32_t next;        // where the text goes on after the placeholder
    std::uint8_t step;         // the placeholder's place in the replacement order
  };
  const std::vector<Piece>& pieces() const { return pieces_; }
  // True when the text is valid UTF-8.
  bool isValidUtf8() const { return validUtf8_; }
  // The literals before each placeholder and after the last one; in Big5
  // (as appendBig5 writes them), encoded on first use.
  const std::vector<std::string_view>& literals() const { return literals_; }
  const std::vector<std::string_view>& big5Literals() const;

 private:
  std::string text_;
  std::vector<Piece> pieces_;
  bool onePass_ = true;
  bool validUtf8_ = true;
  std::vector<std::string_view> literals_;
  mutable std::once_flag big5Once_;
  mutable std::vector<std::string> big5Literals_;
  mutable std::vector<std::string_view> big5Views_;
};

// The built-in template (buildPageTemplate), prepared on first use.
const PreparedTemplate& chartPageTemplate();

// The finished chart page (UTF-8, no trailing line break): the template with
// every placeholder replaced in order. `name` and `printDate` are user text
// and are HTML-escaped, "@" included, before they go in.
std::string assembleChartPage(const PreparedTemplate& pageTemplate, const ChartState& chart,
                              std::string_view name, std::string_view printDate);
std::string assembleChartPage(const ChartState& chart, std::string_view pageTemplate,
                              std::string_view name, std::string_view printDate);

// The bytes of the page file, encodePage(assembleChartPage(...), encoding);
// a Big5 page is encoded while it is filled.
std::string chartPageFile(const PreparedTemplate& pageTemplate, const ChartState& chart,
                          std::string_view name, std::string_view printDate, PageEncoding encoding);

// The same page by replacing the placeholders one after another, each over
// the whole text, with the cells from HourInStr: a value holding a later
// placeholder has it replaced too.
std::string assembleChartPageByReplacement(const ChartState& chart, std::string_view pageTemplate,
                                           std::string_view name, std::string_view printDate);

// Today's date in the user's locale's short date format.
std::string todayShortDate();

}  // namespace ziwei

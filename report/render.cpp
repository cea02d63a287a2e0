#include "report/render.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "unicode/utf8.h"

namespace ziwei {

namespace {

// The code points a terminal shows two columns wide (East Asian Wide and
// Fullwidth): Hangul Jamo, the CJK blocks and their punctuation, Hangul
// syllables, compatibility ideographs, vertical and small forms, the
// full-width forms, pictographs and the supplementary ideographs.
struct Range {
  char32_t first;
  char32_t last;
};
constexpr std::array<Range, 13> kWide{{
    {0x1100, 0x115F},
    {0x2E80, 0x303E},
    {0x3041, 0x33FF},
    {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF},
    {0xA000, 0xA4CF},
    {0xAC00, 0xD7A3},
    {0xF900, 0xFAFF},
    {0xFE30, 0xFE4F},
    {0xFF00, 0xFF60},
    {0xFFE0, 0xFFE6},
    {0x1F300, 0x1F64F},
    {0x20000, 0x3FFFD},
}};

bool isWide(char32_t c) {
  return std::any_of(kWide.begin(), kWide.end(),
                     [c](const Range& range) { return c >= range.first && c <= range.last; });
}

// ------------------------------------------------------------------ text

void appendRule(std::string& out, std::size_t width, char c) {
  out.append(width, c);
  out += '\n';
}

// The cells of a row, each padded to its column's width but the last.
void appendTextRow(std::string& out, std::string_view indent, const std::vector<std::string>& cells,
                   const std::vector<std::size_t>& widths) {
  std::string line(indent);
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) line += "  ";
    line += cells[i];
    if (i + 1 < cells.size()) line.append(widths[i] - displayWidth(cells[i]), ' ');
  }
  out += line;
  out += '\n';
}

void appendTextTable(std::string& out, std::string_view indent, const ReportTable& table) {
  std::vector<std::size_t> widths(table.columns.size(), 0);
  const auto measure = [&widths](const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size() && i < widths.size(); ++i) {
      widths[i] = std::max(widths[i], displayWidth(cells[i]));
    }
  };
  measure(table.columns);
  for (const auto& row : table.rows) measure(row);
  appendTextRow(out, indent, table.columns, widths);
  std::vector<std::string> rule;
  for (const std::size_t width : widths) rule.emplace_back(width, '-');
  appendTextRow(out, indent, rule, widths);
  for (const auto& row : table.rows) appendTextRow(out, indent, row, widths);
}

std::string text(const Report& report) {
  std::string out;
  for (const ReportSection& section : report) {
    if (!out.empty()) out += '\n';
    out += section.title;
    out += '\n';
    if (section.depth <= 2)
      appendRule(out, displayWidth(section.title), section.depth == 1 ? '=' : '-');
    const std::string_view indent = section.depth >= 3 ? "  " : "";
    for (const ReportField& field : section.fields) {
      out += indent;
      out += field.label;
      out += field.value.empty() ? ":" : ": ";
      out += field.value;
      out += '\n';
    }
    if (section.table.columns.empty()) continue;
    if (!section.fields.empty()) out += '\n';
    appendTextTable(out, indent, section.table);
  }
  return out;
}

// -------------------------------------------------------------- Markdown

constexpr std::string_view kMarkup = "\\`*_[]<>|~&";

// `text` with every character Markdown reads as markup escaped.
std::string escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (kMarkup.find(c) != std::string_view::npos) out += '\\';
    out += c;
  }
  return out;
}

void appendMarkdownRow(std::string& out, const std::vector<std::string>& cells) {
  out += '|';
  for (const std::string& cell : cells) {
    out += ' ';
    out += escaped(cell);
    out += " |";
  }
  out += '\n';
}

std::string markdown(const Report& report) {
  std::string out;
  for (const ReportSection& section : report) {
    if (!out.empty()) out += '\n';
    out.append(static_cast<std::size_t>(std::clamp(section.depth, 1, 6)), '#');
    out += ' ';
    out += escaped(section.title);
    out += '\n';
    if (!section.fields.empty()) out += '\n';
    for (const ReportField& field : section.fields) {
      out += "- **";
      out += escaped(field.label);
      out += field.value.empty() ? "**:" : "**: ";
      out += escaped(field.value);
      out += '\n';
    }
    if (section.table.columns.empty()) continue;
    out += '\n';
    appendMarkdownRow(out, section.table.columns);
    out += '|';
    for (std::size_t i = 0; i < section.table.columns.size(); ++i) out += " --- |";
    out += '\n';
    for (const auto& row : section.table.rows) appendMarkdownRow(out, row);
  }
  return out;
}

}  // namespace

std::size_t displayWidth(std::string_view text) {
  std::size_t width = 0;
  while (!text.empty()) {
    const std::optional<char32_t> c = takeCodePoint(text);
    width += c && isWide(*c) ? 2u : 1u;
  }
  return width;
}

std::string renderReport(const Report& report, ReportFormat format) {
  return format == ReportFormat::Markdown ? markdown(report) : text(report);
}

std::string chartReportText(const Chart& chart, const ReportRecord& record, const Vocabulary& words,
                            ReportFormat format) {
  return renderReport(chartReport(chart, record, words), format);
}

}  // namespace ziwei

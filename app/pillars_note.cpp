#include "app/pillars_note.h"

#include "chart/frame/pillars.h"
#include "vocabulary/vocabulary.h"

namespace ziwei::desktop {

namespace {

QString name(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString pillarsText(const FourPillars& pillars) {
  const auto one = [](StemBranch pillar, const char16_t* unit) {
    return name(kZhHant(pillar.stem)) + name(kZhHant(pillar.branch)) + QString::fromUtf16(unit);
  };
  return one(pillars.year, u"年 ") + one(pillars.month, u"月 ") + one(pillars.day, u"日 ") +
         one(pillars.hour, u"時");
}

}  // namespace

QString pillarsNote(const Chart& chart) {
  const BirthPillars pillars = birthPillars(chart);
  QString note = QStringLiteral("四柱 ");
  if (pillars.bySolarTerms) {
    note += QStringLiteral("(節氣) ") + pillarsText(*pillars.bySolarTerms) + QStringLiteral(" ‧ ");
  }
  return note + QStringLiteral("(農曆) ") + pillarsText(pillars.byLunar);
}

}  // namespace ziwei::desktop

#include "app/artwork.h"

#include <array>

#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace ziwei::desktop {

namespace {

// Preferred families, best first: the Ming face the window was designed
// with, then common Traditional Chinese faces of Linux desktops.
constexpr std::array<const char*, 7> kPreferredFamilies{
    "新細明體",       "PMingLiU",      "Noto Serif CJK TC", "Noto Sans CJK TC",
    "AR PL UMing TW", "AR PL UKai TW", "WenQuanYi Zen Hei",
};

// A small four-pointed sparkle centred on (x, y).
void drawSparkle(QPainter& p, qreal x, qreal y, qreal r) {
  QPainterPath path;
  path.moveTo(x, y - r);
  path.quadTo(x, y, x + r, y);
  path.quadTo(x, y, x, y + r);
  path.quadTo(x, y, x - r, y);
  path.quadTo(x, y, x, y - r);
  p.drawPath(path);
}

}  // namespace

QString chineseFontFamily() {
  const QStringList installed = QFontDatabase::families();
  for (const char* name : kPreferredFamilies) {
    const QString family = QString::fromUtf8(name);
    if (installed.contains(family, Qt::CaseInsensitive)) return family;
  }
  const QStringList traditional = QFontDatabase::families(QFontDatabase::TraditionalChinese);
  if (!traditional.isEmpty()) return traditional.front();
  return QString::fromUtf8(kPreferredFamilies.front());
}

QFont labelFont() {
  QFont font(chineseFontFamily());
  font.setPointSize(12);
  return font;
}

QImage drawLinkPicture(const QString& words, int hue) {
  constexpr int kWidth = 80;
  constexpr int kHeight = 30;
  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);

  const QRectF frame(0.5, 0.5, kWidth - 1.0, kHeight - 1.0);
  QLinearGradient face(0, 0, 0, kHeight);
  face.setColorAt(0.0, QColor::fromHsv(hue, 90, 255));
  face.setColorAt(0.5, QColor::fromHsv(hue, 200, 200));
  face.setColorAt(1.0, QColor::fromHsv(hue, 230, 120));
  p.setPen(QPen(QColor(0xC8, 0x9B, 0x3C), 1.0));
  p.setBrush(face);
  p.drawRoundedRect(frame, 5, 5);

  // Inner gold line and corner sparkles.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0xFF, 0xE0, 0x80, 180), 0.8));
  p.drawRoundedRect(frame.adjusted(2.5, 2.5, -2.5, -2.5), 3, 3);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xFF, 0xF0, 0xB0));
  for (const QPointF c : {QPointF(7, 7), QPointF(kWidth - 7, 7), QPointF(7, kHeight - 7),
                          QPointF(kWidth - 7, kHeight - 7)}) {
    drawSparkle(p, c.x(), c.y(), 3.0);
  }

  QFont font(chineseFontFamily());
  font.setPixelSize(words.size() > 3 ? 14 : 16);
  font.setBold(true);
  p.setFont(font);
  const QRectF textBox(0, 0, kWidth, kHeight);
  p.setPen(QColor(0, 0, 0, 150));
  p.drawText(textBox.translated(1, 1), Qt::AlignCenter, words);
  p.setPen(Qt::white);
  p.drawText(textBox, Qt::AlignCenter, words);
  return image;
}

QImage drawProgramIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 50.0, size / 50.0);  // drawn on a 50 x 50 grid

  QRadialGradient disc(25, 20, 30);
  disc.setColorAt(0.0, QColor(0xB0, 0x60, 0xE0));
  disc.setColorAt(1.0, QColor(0x40, 0x10, 0x60));
  p.setPen(QPen(QColor(0xE0, 0xB0, 0x40), 2.5));
  p.setBrush(disc);
  p.drawEllipse(QRectF(2, 2, 46, 46));

  // Twelve ticks for the twelve palaces.
  p.setPen(QPen(QColor(0xFF, 0xE0, 0x90), 1.2));
  for (int i = 0; i < 12; ++i) {
    p.save();
    p.translate(25, 25);
    p.rotate(30.0 * i);
    p.drawLine(QPointF(0, -21), QPointF(0, -18));
    p.restore();
  }

  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xFF, 0xF4, 0xC0));
  drawSparkle(p, 38, 13, 3.5);
  drawSparkle(p, 12, 37, 2.5);

  QFont font(chineseFontFamily());
  font.setPixelSize(26);
  font.setBold(true);
  p.setFont(font);
  p.setPen(QColor(0xFF, 0xF0, 0xC0));
  p.drawText(QRectF(0, 0, 50, 50), Qt::AlignCenter, QStringLiteral("紫"));
  return image;
}

}  // namespace ziwei::desktop

#pragma once

#include <QFont>
#include <QImage>
#include <QString>

namespace ziwei::desktop {

// The family for the window's Chinese texts: "新細明體" when installed,
// otherwise an installed Traditional Chinese family (Noto CJK TC, AR PL
// UMing, ...), so that no text renders as empty boxes.
QString chineseFontFamily();

// The labels' font: the family above at 12 points.
QFont labelFont();

// A link button's picture: `words` on a decorated background, 80 x 30
// pixels. `hue` (0..359) tints the background.
QImage drawLinkPicture(const QString& words, int hue);

// The program icon, `size` x `size` pixels (the window uses 50).
QImage drawProgramIcon(int size);

}  // namespace ziwei::desktop

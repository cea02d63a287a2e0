#include "app/control_style.h"

#include <algorithm>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleFactory>
#include <QStyleOption>

namespace ziwei::desktop {

namespace {

// Fusion's distance between a group box's top and its frame line.
constexpr int kGroupBoxTopMargin = 3;

class ControlStyle : public QProxyStyle {
 public:
  ControlStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    switch (element) {
      case PE_PanelButtonCommand:
        if (qobject_cast<const QPushButton*>(widget) != nullptr) {
          drawFace(option, painter);
          return;
        }
        break;
      case PE_FrameGroupBox:
        drawEtchedFrame(option, painter, widget);
        return;
      default:
        break;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
  }

  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_ComboBox_Popup) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }

 private:
  static void drawFace(const QStyleOption* option, QPainter* painter) {
    const bool pressed = (option->state & (State_Sunken | State_On)) != 0;
    QColor face = option->palette.color(QPalette::Button);
    if (pressed) face = face.darker(115);
    if (!option->state.testFlag(State_Enabled)) face = face.lighter(110);
    const QRect r = option->rect;
    painter->save();
    painter->fillRect(r, face);
    // Raised: light top and left, dark bottom and right; pressed: all dark.
    const QColor dark(0x40, 0x40, 0x40);
    painter->setPen(pressed ? dark : face.lighter(130));
    painter->drawLine(r.topLeft(), r.topRight());
    painter->drawLine(r.topLeft(), r.bottomLeft());
    painter->setPen(dark);
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    painter->drawLine(r.topRight(), r.bottomRight());
    if (option->state.testFlag(State_HasFocus)) {
      painter->setPen(option->palette.color(QPalette::Highlight));
      painter->drawRect(r.adjusted(1, 1, -2, -2));
    }
    painter->restore();
  }

  void drawEtchedFrame(const QStyleOption* option, QPainter* painter, const QWidget* widget) const {
    // The line runs below the title, as Fusion places it.
    int top = kGroupBoxTopMargin;
    const auto* box = qobject_cast<const QGroupBox*>(widget);
    if (box != nullptr && !box->title().isEmpty()) {
      top += std::max(pixelMetric(PM_ExclusiveIndicatorHeight, option, widget),
                      option->fontMetrics.height());
    }
    const QRect r = option->rect.adjusted(0, top, -1, -1);
    const QColor window = option->palette.color(QPalette::Window);
    painter->save();
    painter->setPen(window.darker(250));
    painter->drawRect(r.adjusted(0, 0, -1, -1));
    painter->setPen(window.lighter(170));
    painter->drawRect(r.adjusted(1, 1, 0, 0));
    painter->restore();
  }
};

}  // namespace

QStyle* controlStyle() {
  static QPointer<QStyle> style;
  if (style.isNull()) {
    style = new ControlStyle;
    style->setParent(QCoreApplication::instance());
  }
  return style;
}

QLabel* problemLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(QStringLiteral("problem"));
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  QPalette red = label->palette();
  red.setColor(QPalette::WindowText, QColor(0xC0, 0x00, 0x00));
  label->setPalette(red);
  return label;
}

}  // namespace ziwei::desktop

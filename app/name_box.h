#pragma once

#include <QLineEdit>

namespace ziwei::desktop {

// The name box: on gaining focus it selects up to 10 characters from the
// caret (cut at the end of the text), so that typing over the default name
// replaces it. Qt's own select-all on keyboard focus is not used. The caret
// starts before the text and stays at the start of the selection, so that
// the field selects its default name again whenever it is entered.
class NameBox : public QLineEdit {
  Q_OBJECT

 public:
  NameBox(const QString& text, QWidget* parent);

  static constexpr int kSelectionLength = 10;

 protected:
  void focusInEvent(QFocusEvent* event) override;
};

}  // namespace ziwei::desktop

#include "app/name_box.h"

#include <algorithm>

#include <QFocusEvent>

namespace ziwei::desktop {

NameBox::NameBox(const QString& text, QWidget* parent) : QLineEdit(text, parent) {
  setCursorPosition(0);
}

void NameBox::focusInEvent(QFocusEvent* event) {
  const int caret = cursorPosition();
  QLineEdit::focusInEvent(event);
  const int length = std::min(kSelectionLength, static_cast<int>(text().size()) - caret);
  if (length > 0) {
    // Selected backwards: the caret stays where it was.
    setSelection(caret + length, -length);
  } else {
    deselect();
    setCursorPosition(caret);
  }
}

}  // namespace ziwei::desktop

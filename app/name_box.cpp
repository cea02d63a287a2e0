#include "app/name_box.h"

#include <algorithm>

#include <QFocusEvent>

namespace ziwei::desktop {

void NameBox::focusInEvent(QFocusEvent* event) {
  const int caret = cursorPosition();
  QLineEdit::focusInEvent(event);
  const int length = std::min(kSelectionLength, static_cast<int>(text().size()) - caret);
  if (length > 0) {
    setSelection(caret, length);
  } else {
    deselect();
    setCursorPosition(caret);
  }
}

}  // namespace ziwei::desktop

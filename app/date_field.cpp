#include "app/date_field.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalBlocker>

namespace ziwei::desktop {

namespace {

// What may have been typed so far of a whole date.
bool isTypedPrefix(const QString& typed) {
  static const QRegularExpression prefix(
      QStringLiteral(R"(^(\d{0,8}|\d{4}-|\d{4}-\d{1,2}|\d{4}-\d{1,2}-|\d{4}-\d{1,2}-\d{1,2})$)"));
  return prefix.match(typed).hasMatch();
}

// A whole date that needs nothing more.
bool isComplete(const QString& typed) {
  static const QRegularExpression whole(QStringLiteral(R"(^(\d{8}|\d{4}-\d{2}-\d{2})$)"));
  return whole.match(typed).hasMatch();
}

}  // namespace

DateField::DateField(const QDate& date, QWidget* parent) : QDateEdit(date, parent) {
  setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
}

QDate DateField::readTyped(const QString& typed) {
  static const QRegularExpression dashed(QStringLiteral(R"(^(\d{4})-(\d{1,2})-(\d{1,2})$)"));
  static const QRegularExpression digits(QStringLiteral(R"(^(\d{4})(\d{2})(\d{2})$)"));
  QRegularExpressionMatch m = dashed.match(typed);
  if (!m.hasMatch()) m = digits.match(typed);
  if (!m.hasMatch()) return {};
  return {m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()};
}

bool DateField::atStart() const {
  const QLineEdit* edit = lineEdit();
  return edit->hasSelectedText() ? edit->selectionStart() == 0 : edit->cursorPosition() == 0;
}

void DateField::showTyped() {
  const QSignalBlocker quiet(lineEdit());
  lineEdit()->setText(typed_);
  lineEdit()->setCursorPosition(static_cast<int>(typed_.size()));
}

bool DateField::finishTyping() {
  if (!typing_) return false;
  typing_ = false;
  const QDate date = readTyped(typed_);
  typed_.clear();
  if (date.isValid()) setDate(date);
  // The field shows its date again, also when the date typed was the one
  // it had or was cut to the field's range.
  const QSignalBlocker quiet(lineEdit());
  lineEdit()->setText(textFromDateTime(dateTime()));
  return date.isValid();
}

void DateField::keyPressEvent(QKeyEvent* event) {
  const QString text = event->text();
  const bool plain = (event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) == 0;
  const bool dateCharacter =
      plain && text.size() == 1 && (text[0].isDigit() || text[0] == QLatin1Char('-'));
  if (!typing_ && dateCharacter && text[0].isDigit() && atStart()) {
    typing_ = true;
    typed_.clear();
  }
  if (!typing_) {
    QDateEdit::keyPressEvent(event);
    return;
  }
  switch (event->key()) {
    case Qt::Key_Backspace:
      typed_.chop(1);
      showTyped();
      return;
    case Qt::Key_Escape:
      typed_.clear();
      finishTyping();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // A date typed whole is taken and Return goes on as usual; anything
      // less is dropped and Return stops here.
      if (finishTyping()) QDateEdit::keyPressEvent(event);
      return;
    default:
      break;
  }
  if (!dateCharacter) {
    // Any other key (a move, Tab) ends the typing first.
    finishTyping();
    QDateEdit::keyPressEvent(event);
    return;
  }
  if (isTypedPrefix(typed_ + text)) {
    typed_ += text;
    showTyped();
  }
  if (isComplete(typed_)) finishTyping();
}

void DateField::focusOutEvent(QFocusEvent* event) {
  finishTyping();
  QDateEdit::focusOutEvent(event);
}

}  // namespace ziwei::desktop

#pragma once

#include <QDateEdit>
#include <QString>

namespace ziwei::desktop {

// A date field shown as yyyy-MM-dd that also takes the date typed whole, as
// it is shown (1979-07-01) or as eight digits (19790701). Typing starts a
// whole date when the field is entered from its start: its first section or
// all of it selected (Tab, Ctrl+A) or the caret before the text (Home). The
// date typed so far shows as typed; it is taken once complete, or on Return
// or leaving the field when it is a date, and dropped otherwise (Escape drops
// it too). Digits typed elsewhere edit the section they are in, as usual.
class DateField : public QDateEdit {
  Q_OBJECT

 public:
  explicit DateField(const QDate& date, QWidget* parent = nullptr);

  // The date a whole-date text names ("YYYY-MM-DD", "YYYY-M-D", "YYYYMMDD"),
  // or an invalid date.
  static QDate readTyped(const QString& typed);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  bool atStart() const;
  void showTyped();
  // Takes the date typed when it is one; ends the typing either way. True
  // when a date was taken.
  bool finishTyping();

  bool typing_ = false;
  QString typed_;
};

}  // namespace ziwei::desktop

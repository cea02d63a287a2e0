#pragma once
// The 設定 dialog: the chart rules the window casts by. One selector for
// each rule of kRuleOptions (chart/rule_options.h), labelled with its title
// and offering its words' titles, and the table of the four transformations
// (四化): a selector of the transformable stars for each stem and each of
// 祿, 權, 科 and 忌. The rules can be read from and saved as a rules file.

#include <array>
#include <cstddef>

#include <QDialog>
#include <QString>

#include "chart/request.h"
#include "chart/rule_options.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace ziwei::desktop {

class RulesDialog : public QDialog {
  Q_OBJECT

 public:
  explicit RulesDialog(const ChartOptions& rules, QWidget* parent = nullptr);

  // The rules as the selectors hold them.
  ChartOptions rules() const;
  // Sets every selector to `rules`.
  void setRules(const ChartOptions& rules);
  // Why the rules cannot be taken (a stem that names a star twice); empty
  // when they can.
  QString problem() const;

  QComboBox* ruleBox(std::size_t rule) const { return ruleBoxes_[rule]; }
  QComboBox* starBox(std::size_t stem, std::size_t transformation) const {
    return starBoxes_[stem][transformation];
  }

 public slots:
  // 恢復預設: every rule back to its default (the dialog stays open).
  void restoreDefaults();
  // Reads a rules file into the selectors: the rules it names, the defaults
  // for the others. A file that does not read leaves the selectors as they
  // were and says which line is wrong; false then.
  bool readRulesFile(const QString& path);
  // Writes the rules as a rules file; false, with the reason told, when it
  // cannot be written.
  bool saveRulesFile(const QString& path);
  // Takes the rules only when problem() is empty.
  void accept() override;

 private:
  void askToRead();
  void askToSave();
  void check();
  void tell(const QString& title, const QString& text);

  std::array<QComboBox*, kRuleOptions.size()> ruleBoxes_{};
  std::array<std::array<QComboBox*, 4>, 10> starBoxes_{};
  QLabel* problem_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* save_ = nullptr;
};

}  // namespace ziwei::desktop

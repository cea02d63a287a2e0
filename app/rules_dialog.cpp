#include "app/rules_dialog.h"

#include <string>
#include <string_view>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

#include "app/artwork.h"
#include "app/control_style.h"
#include "rules/rule_text.h"
#include "vocabulary/vocabulary.h"

namespace ziwei::desktop {

namespace {

QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The word titles of a rule, one for each of its words.
QStringList wordTitles(const RuleOption& rule) {
  return fromUtf8(rule.wordTitles).split(QLatin1Char('|'));
}

QString starName(Star star) { return fromUtf8(kZhHant(star)); }

// A rules file is a few lines; anything much larger is not one.
constexpr qint64 kLargestRulesFile = 64 * 1024;

const QString kFileFilter = QStringLiteral("規則檔 (*.rules *.txt);;所有檔案 (*)");

}  // namespace

RulesDialog::RulesDialog(const ChartOptions& rules, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("rulesDialog"));
  setWindowTitle(QStringLiteral("設定"));
  setModal(true);
  QFont chinese(chineseFontFamily());
  chinese.setPointSize(10);
  setFont(chinese);

  // The rules, in the order of kRuleOptions; the first nine have the digit
  // of their row as mnemonic.
  auto* ruleGroup = new QGroupBox(QStringLiteral("排盤規則"), this);
  auto* form = new QFormLayout(ruleGroup);
  for (std::size_t i = 0; i < kRuleOptions.size(); ++i) {
    const RuleOption& rule = kRuleOptions[i];
    auto* box = new QComboBox(ruleGroup);
    box->setObjectName(QStringLiteral("rule_%1").arg(fromUtf8(rule.name)));
    const QStringList titles = wordTitles(rule);
    for (std::size_t word = 0; !ruleWord(rule, word).empty(); ++word) {
      const auto at = static_cast<qsizetype>(word);
      box->addItem(at < titles.size() ? titles[at] : fromUtf8(ruleWord(rule, word)),
                   fromUtf8(ruleWord(rule, word)));
    }
    box->setToolTip(fromUtf8(rule.help));
    box->setAccessibleName(fromUtf8(rule.title));
    box->setAccessibleDescription(fromUtf8(rule.help));
    const QString mnemonic = i < 9 ? QStringLiteral(" (&%1)").arg(i + 1) : QString();
    auto* label = new QLabel(fromUtf8(rule.title) + mnemonic, ruleGroup);
    label->setBuddy(box);
    label->setToolTip(fromUtf8(rule.help));
    form->addRow(label, box);
    ruleBoxes_[i] = box;
  }

  // The four transformations: a row for each stem, a column for each of
  // 祿 權 科 忌.
  auto* tableGroup = new QGroupBox(QStringLiteral("四化 (&T)"), this);
  tableGroup->setObjectName(QStringLiteral("transformationTable"));
  auto* grid = new QGridLayout(tableGroup);
  for (std::size_t t = 0; t < 4; ++t) {
    auto* head = new QLabel(
        QStringLiteral("化") + fromUtf8(kZhHant(static_cast<Transformation>(t + 1))), tableGroup);
    head->setAlignment(Qt::AlignCenter);
    grid->addWidget(head, 0, static_cast<int>(t) + 1);
  }
  for (std::size_t stem = 0; stem < starBoxes_.size(); ++stem) {
    const QString stemName = fromUtf8(kZhHant.stems[stem]);
    grid->addWidget(new QLabel(stemName, tableGroup), static_cast<int>(stem) + 1, 0);
    for (std::size_t t = 0; t < 4; ++t) {
      auto* box = new QComboBox(tableGroup);
      box->setObjectName(QStringLiteral("star_%1_%2").arg(stem).arg(t));
      for (const Star star : kTransformableStars) {
        box->addItem(starName(star), static_cast<int>(star));
      }
      box->setMaxVisibleItems(static_cast<int>(kTransformableStars.size()));
      const QString level = fromUtf8(kZhHant(static_cast<Transformation>(t + 1)));
      box->setAccessibleName(QStringLiteral("%1 化%2").arg(stemName, level));
      box->setToolTip(QStringLiteral("天干%1化%2的星").arg(stemName, level));
      grid->addWidget(box, static_cast<int>(stem) + 1, static_cast<int>(t) + 1);
      connect(box, &QComboBox::currentIndexChanged, this, &RulesDialog::check);
      starBoxes_[stem][t] = box;
    }
  }

  problem_ = problemLabel(this);

  auto* buttons = new QDialogButtonBox(this);
  ok_ = buttons->addButton(QStringLiteral("確定"), QDialogButtonBox::AcceptRole);
  ok_->setObjectName(QStringLiteral("ok"));
  ok_->setDefault(true);
  QPushButton* cancel = buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("cancel"));
  QPushButton* defaults =
      buttons->addButton(QStringLiteral("恢復預設 (&D)"), QDialogButtonBox::ResetRole);
  defaults->setObjectName(QStringLiteral("defaults"));
  defaults->setToolTip(QStringLiteral("每條規則改回預設 (按確定後才生效)"));
  QPushButton* read =
      buttons->addButton(QStringLiteral("讀入規則檔 (&R)…"), QDialogButtonBox::ActionRole);
  read->setObjectName(QStringLiteral("readFile"));
  save_ = buttons->addButton(QStringLiteral("存成規則檔 (&S)…"), QDialogButtonBox::ActionRole);
  save_->setObjectName(QStringLiteral("saveFile"));
  connect(buttons, &QDialogButtonBox::accepted, this, &RulesDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(defaults, &QPushButton::clicked, this, &RulesDialog::restoreDefaults);
  connect(read, &QPushButton::clicked, this, &RulesDialog::askToRead);
  connect(save_, &QPushButton::clicked, this, &RulesDialog::askToSave);

  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(ruleGroup);
  layout->addWidget(tableGroup);
  layout->addWidget(problem_);
  layout->addWidget(buttons);

  // Down the rules, across each stem's row, then the buttons.
  QWidget* previous = ruleBoxes_.front();
  for (QComboBox* box : ruleBoxes_) {
    if (box != previous) setTabOrder(previous, box);
    previous = box;
  }
  for (const auto& row : starBoxes_) {
    for (QComboBox* box : row) {
      setTabOrder(previous, box);
      previous = box;
    }
  }
  for (QPushButton* button : {ok_, cancel, defaults, read, save_}) {
    setTabOrder(previous, button);
    previous = button;
  }

  setRules(rules);
}

ChartOptions RulesDialog::rules() const {
  ChartOptions rules;
  for (std::size_t i = 0; i < kRuleOptions.size(); ++i) {
    kRuleOptions[i].set(rules, static_cast<std::size_t>(ruleBoxes_[i]->currentIndex()));
  }
  for (std::size_t stem = 0; stem < starBoxes_.size(); ++stem) {
    for (std::size_t t = 0; t < 4; ++t) {
      rules.transformations[stem][t] =
          static_cast<Star>(starBoxes_[stem][t]->currentData().toInt());
    }
  }
  return rules;
}

void RulesDialog::setRules(const ChartOptions& rules) {
  for (std::size_t i = 0; i < kRuleOptions.size(); ++i) {
    ruleBoxes_[i]->setCurrentIndex(static_cast<int>(kRuleOptions[i].get(rules)));
  }
  for (std::size_t stem = 0; stem < starBoxes_.size(); ++stem) {
    for (std::size_t t = 0; t < 4; ++t) {
      QComboBox* box = starBoxes_[stem][t];
      const QSignalBlocker quiet(box);
      box->setCurrentIndex(box->findData(static_cast<int>(rules.transformations[stem][t])));
    }
  }
  check();
}

QString RulesDialog::problem() const { return problem_->text(); }

void RulesDialog::check() {
  QString why;
  for (std::size_t stem = 0; stem < starBoxes_.size() && why.isEmpty(); ++stem) {
    for (std::size_t a = 0; a < 4 && why.isEmpty(); ++a) {
      for (std::size_t b = a + 1; b < 4 && why.isEmpty(); ++b) {
        if (starBoxes_[stem][a]->currentIndex() != starBoxes_[stem][b]->currentIndex()) continue;
        why = QStringLiteral(
                  "%1干的四化中「%2」重複 (化%3、化%4):每一干的祿、權、科、忌須是四顆不同的星。")
                  .arg(fromUtf8(kZhHant.stems[stem]), starBoxes_[stem][a]->currentText(),
                       fromUtf8(kZhHant(static_cast<Transformation>(a + 1))),
                       fromUtf8(kZhHant(static_cast<Transformation>(b + 1))));
      }
    }
  }
  problem_->setText(why);
  problem_->setVisible(!why.isEmpty());
  ok_->setEnabled(why.isEmpty());
  save_->setEnabled(why.isEmpty());
}

void RulesDialog::accept() {
  check();
  if (!problem().isEmpty()) return;
  QDialog::accept();
}

void RulesDialog::restoreDefaults() { setRules(ChartOptions{}); }

void RulesDialog::tell(const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, this);
  box.setObjectName(QStringLiteral("rulesFileMessage"));
  box.exec();
}

bool RulesDialog::readRulesFile(const QString& path) {
  const QString title = QStringLiteral("讀入規則檔");
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    tell(title, QStringLiteral("無法開啟 %1:%2").arg(path, file.errorString()));
    return false;
  }
  if (file.size() > kLargestRulesFile) {
    tell(title, QStringLiteral("%1 有 %2 位元組,不是規則檔 (規則檔最多 %3 位元組)。")
                    .arg(path)
                    .arg(file.size())
                    .arg(kLargestRulesFile));
    return false;
  }
  const QByteArray text = file.read(kLargestRulesFile + 1);
  // A rules file names the rules that differ from the defaults: the others
  // are the defaults, whatever the selectors held.
  ChartOptions read;
  if (const std::optional<RulesFileError> error = readRulesText(
          std::string_view(text.constData(), static_cast<std::size_t>(text.size())), read)) {
    tell(title, QStringLiteral("%1 第 %2 行不能讀入,規則未改變:\n%3")
                    .arg(QFileInfo(path).fileName())
                    .arg(error->line)
                    .arg(QString::fromStdString(error->message)));
    return false;
  }
  setRules(read);
  return true;
}

bool RulesDialog::saveRulesFile(const QString& path) {
  check();
  if (!problem().isEmpty()) return false;
  const std::string text = rulesFileText(rules());
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(text.data(), static_cast<qint64>(text.size())) !=
          static_cast<qint64>(text.size()) ||
      !file.commit()) {
    tell(QStringLiteral("存成規則檔"),
         QStringLiteral("無法寫入 %1:%2").arg(path, file.errorString()));
    return false;
  }
  return true;
}

void RulesDialog::askToRead() {
  const QString path =
      QFileDialog::getOpenFileName(this, QStringLiteral("讀入規則檔"), QString(), kFileFilter);
  if (!path.isEmpty()) readRulesFile(path);
}

void RulesDialog::askToSave() {
  const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("存成規則檔"),
                                                    QStringLiteral("ziwei.rules"), kFileFilter);
  if (!path.isEmpty()) saveRulesFile(path);
}

}  // namespace ziwei::desktop

#include "app/desktop_settings.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QtGlobal>

#include "chart/rule_options.h"
#include "page/publisher.h"
#include "rules/rule_text.h"

namespace ziwei::desktop {

namespace {
QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
QUrl toUrl(std::string_view address) { return QUrl(fromUtf8(address)); }
}  // namespace

QString userSettingsFile() {
  return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("ziwei"),
                   QStringLiteral("ziwei-desktop"))
      .fileName();
}

DesktopSettings publisherSettings() {
  DesktopSettings settings;
  settings.homePage = toUrl(publisher::kHomePage);
  for (std::size_t i = 0; i < settings.pictureLinks.size(); ++i) {
    settings.pictureLinks[i] = toUrl(publisher::kPictureLinks[i].url);
  }
  settings.lunarConverter = toUrl(publisher::kLunarConverter.url);
  settings.programDir = QCoreApplication::applicationDirPath();
  settings.rulesStore = userSettingsFile();
  settings.rules = rulesFromStore(QSettings(settings.rulesStore, QSettings::IniFormat));
  return settings;
}

ChartOptions rulesFromStore(const QSettings& store) {
  ChartOptions options;
  for (const RuleOption& rule : kRuleOptions) {
    const QByteArray word = store.value(fromUtf8(rule.setting)).toString().toUtf8();
    const std::size_t number =
        ruleWordNumber(rule, std::string_view(word.data(), static_cast<std::size_t>(word.size())));
    if (!ruleWord(rule, number).empty()) rule.set(options, number);
  }
  // An INI value with commas that is not quoted (as a hand-edited file may
  // have it) reads as a list: its items are the stars.
  const QVariant stored = store.value(fromUtf8(kTransformationsSetting));
  const QByteArray table =
      (stored.typeId() == QMetaType::QStringList ? stored.toStringList().join(QLatin1Char(','))
                                                 : stored.toString())
          .toUtf8();
  ChartOptions read = options;
  if (const std::optional<std::string> error = setTransformationsText(
          read, std::string_view(table.data(), static_cast<std::size_t>(table.size())))) {
    qWarning("%s in %s: %s; the default table is used", kTransformationsSetting.data(),
             qPrintable(store.fileName()), error->c_str());
  } else {
    options.transformations = read.transformations;
  }
  return options;
}

void storeRules(QSettings& store, const ChartOptions& rules) {
  for (const RuleOption& rule : kRuleOptions) {
    const std::size_t word = rule.get(rules);
    if (word == 0) {
      store.remove(fromUtf8(rule.setting));
    } else {
      store.setValue(fromUtf8(rule.setting), fromUtf8(ruleWord(rule, word)));
    }
  }
  const std::string table = transformationsText(rules);
  if (table.empty()) {
    store.remove(fromUtf8(kTransformationsSetting));
  } else {
    store.setValue(fromUtf8(kTransformationsSetting), QString::fromStdString(table));
  }
}

void prepareWebEngine() {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  if (::geteuid() != 0) return;
  QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
  if (flags.contains("--no-sandbox")) return;
  if (!flags.isEmpty()) flags += ' ';
  flags += "--no-sandbox";
  qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
}

void useTaiwaneseChinese() {
  QLocale::setDefault(
      QLocale(QLocale::Chinese, QLocale::TraditionalChineseScript, QLocale::Taiwan));
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (translator->load(QStringLiteral("qt_zh_TW"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(translator);
  } else {
    delete translator;
  }
}

}  // namespace ziwei::desktop

#include "app/desktop_settings.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QtGlobal>

#include "chart/rule_options.h"
#include "page/publisher.h"

namespace ziwei::desktop {

namespace {
QUrl toUrl(std::string_view address) {
  return QUrl(QString::fromUtf8(address.data(), static_cast<qsizetype>(address.size())));
}
}  // namespace

DesktopSettings publisherSettings() {
  DesktopSettings settings;
  settings.homePage = toUrl(publisher::kHomePage);
  for (std::size_t i = 0; i < settings.pictureLinks.size(); ++i) {
    settings.pictureLinks[i] = toUrl(publisher::kPictureLinks[i].url);
  }
  settings.lunarConverter = toUrl(publisher::kLunarConverter.url);
  settings.programDir = QCoreApplication::applicationDirPath();
  settings.rules = rulesFromStore(
      QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("ziwei"),
                QStringLiteral("ziwei-desktop")));
  return settings;
}

ChartOptions rulesFromStore(const QSettings& store) {
  ChartOptions options;
  for (const RuleOption& rule : kRuleOptions) {
    const QByteArray word =
        store.value(QString::fromUtf8(rule.setting.data(), static_cast<qsizetype>(rule.setting.size())))
            .toString()
            .toUtf8();
    const std::size_t number = ruleWordNumber(rule, std::string_view(word.data(), static_cast<std::size_t>(word.size())));
    if (!ruleWord(rule, number).empty()) rule.set(options, number);
  }
  return options;
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

#pragma once

#include <array>

#include <QSettings>
#include <QString>
#include <QUrl>

#include "chart/request.h"

namespace ziwei::desktop {

// Where the window links to and where it first tries to write its pages.
// The program takes the publisher's addresses; a test hands in its own
// (loopback) addresses and a folder of its own instead.
struct DesktopSettings {
  QUrl homePage;                     // first navigation, profile and offline pages
  std::array<QUrl, 7> pictureLinks;  // cmdB01 ... cmdB07
  QUrl lunarConverter;               // cmdGetC
  QString programDir;                // the work directory is tried here first
  ChartOptions rules;                // the chart rules every chart is cast by
  QString rulesStore;  // the settings file (INI) the 設定 dialog writes; empty: none
};

// The chart rules stored in `store`, each under its rule's setting key
// (chart/rule_options.h) as one of the rule's words, and the transformation
// table under kTransformationsSetting as its text (rules/rule_text.h); a
// missing or unknown word keeps that rule's default, a table that does not
// read keeps the whole default table (with a warning).
ChartOptions rulesFromStore(const QSettings& store);

// Writes `rules` into `store` the way rulesFromStore reads them. A rule that
// holds its default has its key removed, so that a store never changed stays
// empty and a later program's default is not pinned.
void storeRules(QSettings& store, const ChartOptions& rules);

// The user's settings file, ~/.config/ziwei/ziwei-desktop.ini on Linux.
QString userSettingsFile();

// The publisher's addresses, the folder holding the running program and the
// rules of the user's settings.
DesktopSettings publisherSettings();

// Sets the process up for Qt WebEngine before the application object exists:
// shares OpenGL contexts and, only when running as root (where Chromium
// refuses its sandbox), adds --no-sandbox to QTWEBENGINE_CHROMIUM_FLAGS.
void prepareWebEngine();

// The window is in Traditional Chinese as used in Taiwan, whatever the
// user's locale: makes that the default locale (A4 paper, Chinese month
// names) and installs Qt's own translations for it (standard buttons, print
// and print-preview dialogs). Call once after the application object exists.
// Without Qt's zh_TW translations installed, Qt's own texts stay in English.
void useTaiwaneseChinese();

}  // namespace ziwei::desktop

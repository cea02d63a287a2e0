#include "app/work_dir.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace ziwei::desktop {

namespace {

constexpr QFileDevice::Permissions kOwnerOnly =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

QString withoutTrailingSlash(QString dir) {
  while (dir.size() > 1 && dir.endsWith(QLatin1Char('/'))) dir.chop(1);
  return dir;
}

}  // namespace

bool passesWriteTest(const QString& dir) {
  if (dir.isEmpty() || !QFileInfo(dir).isDir()) return false;
  QTemporaryFile probe(dir + QStringLiteral("/T010191-XXXXXX.tmp"));
  probe.setAutoRemove(false);
  if (!probe.open()) return false;
  const QString probePath = probe.fileName();
  const bool written = probe.write("Test ok\r\n") == 9 && probe.flush();
  probe.close();
  const bool removed = QFile::remove(probePath);
  return written && probe.error() == QFileDevice::NoError && removed;
}

QString privateWorkDir() {
  QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (base.isEmpty()) base = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
  if (base.isEmpty()) return {};
  const QString dir = withoutTrailingSlash(base) + QStringLiteral("/ziwei-desktop");

  QFileInfo info(dir);
  if (!info.exists() && !info.isSymLink()) {
    if (!QDir().mkdir(dir, kOwnerOnly)) return {};
    info.refresh();
  }
  if (info.isSymLink() || !info.isDir() || info.ownerId() != ::geteuid()) return {};
  constexpr QFileDevice::Permissions kOthers = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                               QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                               QFileDevice::WriteOther | QFileDevice::ExeOther;
  if ((info.permissions() & kOthers).toInt() != 0 && !QFile::setPermissions(dir, kOwnerOnly)) {
    return {};
  }
  return dir;
}

QString settleWorkDir(const QString& programDir) {
  const QString own = withoutTrailingSlash(programDir);
  if (passesWriteTest(own)) return own;
  const QString fallback = privateWorkDir();
  if (passesWriteTest(fallback)) return fallback;
  return {};
}

QString pageFilePath(const QString& workDir, const char* fileName) {
  // The root directory "/" keeps its one separator.
  if (workDir.endsWith(QLatin1Char('/'))) return workDir + QLatin1String(fileName);
  return workDir + QLatin1Char('/') + QLatin1String(fileName);
}

void deletePageFiles(const QString& workDir) {
  if (workDir.isEmpty()) return;
  for (const char* name : {kChartPageFile, kProfilePageFile, kOfflinePageFile}) {
    const QString path = pageFilePath(workDir, name);
    const QFileInfo info(path);
    if (info.isFile() || info.isSymLink()) QFile::remove(path);
  }
}

}  // namespace ziwei::desktop

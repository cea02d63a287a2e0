#include "app/work_dir.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

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

// Opens and locks the lock file in `dir`. -1 when another window holds it,
// or when the name is taken by something that is not a plain file.
int lockWorkDir(const QString& lockPath) {
  const QByteArray path = QFile::encodeName(lockPath);
  // A window that is shutting down removes the lock file after dropping the
  // lock; a file locked after that is no longer the one in the directory, so
  // the attempt is repeated on the new file.
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
                          S_IRUSR | S_IWUSR);
    if (fd < 0) return -1;
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) ||
        ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      ::close(fd);
      return -1;
    }
    struct stat named {};
    if (::lstat(path.constData(), &named) == 0 && named.st_dev == opened.st_dev &&
        named.st_ino == opened.st_ino) {
      return fd;
    }
    ::close(fd);
  }
  return -1;
}

// A new folder "ziwei-XXXXXX" (mode 0700) in `dir`; empty when it cannot be
// made.
QString makePrivateFolder(const QString& dir) {
  QByteArray pattern = QFile::encodeName(pageFilePath(dir, "ziwei-XXXXXX"));
  if (::mkdtemp(pattern.data()) == nullptr) return {};
  return QFile::decodeName(pattern);
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
  for (const char* name :
       {kChartPageFile, kProfilePageFile, kOfflinePageFile, kPeriodPageFile, kStudyPageFile}) {
    const QString path = pageFilePath(workDir, name);
    const QFileInfo info(path);
    if (info.isFile() || info.isSymLink()) QFile::remove(path);
  }
}

WorkDirClaim WorkDirClaim::claim(const QString& settledDir) {
  WorkDirClaim c;
  if (settledDir.isEmpty()) return c;
  const QString lockPath = pageFilePath(settledDir, kLockFileName);
  c.lockFd_ = lockWorkDir(lockPath);
  if (c.lockFd_ >= 0) {
    c.dir_ = settledDir;
    c.lockPath_ = lockPath;
    return c;
  }
  c.dir_ = makePrivateFolder(settledDir);
  c.private_ = !c.dir_.isEmpty();
  return c;
}

WorkDirClaim::WorkDirClaim(WorkDirClaim&& other) noexcept
    : dir_(std::exchange(other.dir_, QString())),
      lockPath_(std::exchange(other.lockPath_, QString())),
      lockFd_(std::exchange(other.lockFd_, -1)),
      private_(std::exchange(other.private_, false)) {}

WorkDirClaim& WorkDirClaim::operator=(WorkDirClaim&& other) noexcept {
  if (this != &other) {
    release();
    dir_ = std::exchange(other.dir_, QString());
    lockPath_ = std::exchange(other.lockPath_, QString());
    lockFd_ = std::exchange(other.lockFd_, -1);
    private_ = std::exchange(other.private_, false);
  }
  return *this;
}

WorkDirClaim::~WorkDirClaim() { release(); }

void WorkDirClaim::release() {
  if (private_) {
    // Only an empty folder goes: anything else in it is left alone.
    ::rmdir(QFile::encodeName(dir_).constData());
    private_ = false;
  }
  if (lockFd_ >= 0) {
    // Removed while still locked, so that no other window is holding it.
    ::unlink(QFile::encodeName(lockPath_).constData());
    ::close(lockFd_);
    lockFd_ = -1;
  }
  dir_.clear();
  lockPath_.clear();
}

}  // namespace ziwei::desktop

// Settling the work directory and removing the page files.
#include <unistd.h>

#include <QtTest>

#include "app/work_dir.h"

using namespace ziwei::desktop;

namespace {

bool writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QStringList entries(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden);
}

constexpr QFileDevice::Permissions kOwnerOnly =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
constexpr QFileDevice::Permissions kGroupOrOther =
    QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
    QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;

}  // namespace

class TestWorkDir : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void writableProgramDirIsUsedAndLeftClean();
  void unwritableProgramDirFallsBackToPrivateFolder();
  void plantedLinkIsNotUsedAsFallback();
  void deletingPageFilesSkipsWhatIsMissingOrForeign();
  void firstClaimTakesTheSettledDirOthersGetPrivateFolders();
  void releasedDirIsTakenAgain();
  void plantedLockLinkIsNotFollowed();

 private:
  std::unique_ptr<QTemporaryDir> runtime_;
  QByteArray savedRuntime_;
};

void TestWorkDir::init() {
  // A private runtime directory per test, so the fallback folder is fresh.
  savedRuntime_ = qgetenv("XDG_RUNTIME_DIR");
  runtime_ = std::make_unique<QTemporaryDir>();
  QVERIFY(runtime_->isValid());
  QVERIFY(QFile::setPermissions(runtime_->path(), kOwnerOnly));
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_->path()));
}

void TestWorkDir::cleanup() {
  qputenv("XDG_RUNTIME_DIR", savedRuntime_);
  runtime_.reset();
}

void TestWorkDir::writableProgramDirIsUsedAndLeftClean() {
  QTemporaryDir program;
  QCOMPARE(settleWorkDir(program.path()), program.path());
  QCOMPARE(settleWorkDir(program.path() + QStringLiteral("/")), program.path());
  QVERIFY(entries(program.path()).isEmpty());  // the probe file is gone again
  QVERIFY(!QFileInfo::exists(runtime_->filePath(QStringLiteral("ziwei-desktop"))));

  // Another window's profile page in the same folder is neither truncated
  // nor deleted by the write test.
  const QString profile = pageFilePath(program.path(), kProfilePageFile);
  QCOMPARE(profile, program.path() + QStringLiteral("/T010191.htm"));
  QVERIFY(writeFile(profile, "<html>other window</html>"));
  QCOMPARE(settleWorkDir(program.path()), program.path());
  QFile f(profile);
  QVERIFY(f.open(QIODevice::ReadOnly));
  QCOMPARE(f.readAll(), QByteArray("<html>other window</html>"));
  QCOMPARE(entries(program.path()), QStringList{QStringLiteral("T010191.htm")});
  QCOMPARE(pageFilePath(QStringLiteral("/"), kOfflinePageFile), QStringLiteral("/T010192.htm"));
}

void TestWorkDir::unwritableProgramDirFallsBackToPrivateFolder() {
  QTemporaryDir scratch;
  const QString aFile = scratch.filePath(QStringLiteral("plain-file"));
  QVERIFY(writeFile(aFile, "x"));

  const QString expected = runtime_->filePath(QStringLiteral("ziwei-desktop"));
  QCOMPARE(settleWorkDir(scratch.filePath(QStringLiteral("no/such/dir"))), expected);
  QCOMPARE(settleWorkDir(aFile), expected);

  const QFileInfo info(expected);
  QVERIFY(info.isDir());
  QCOMPARE(info.ownerId(), ::geteuid());
  QCOMPARE(info.permissions() & kGroupOrOther, QFileDevice::Permissions());
  QVERIFY(entries(expected).isEmpty());

  if (::geteuid() != 0) {  // root writes anywhere, whatever the mode says
    QTemporaryDir readOnly;
    QVERIFY(QFile::setPermissions(readOnly.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    QCOMPARE(settleWorkDir(readOnly.path()), expected);
    QVERIFY(QFile::setPermissions(readOnly.path(), kOwnerOnly));
  }
}

void TestWorkDir::plantedLinkIsNotUsedAsFallback() {
  QTemporaryDir elsewhere;
  const QString name = runtime_->filePath(QStringLiteral("ziwei-desktop"));
  QVERIFY(QFile::link(elsewhere.path(), name));
  QCOMPARE(privateWorkDir(), QString());
  QCOMPARE(settleWorkDir(QStringLiteral("/nonexistent/ziwei")), QString());
  QVERIFY(entries(elsewhere.path()).isEmpty());

  // An existing folder of ours with loose permissions is tightened, not refused.
  QVERIFY(QFile::remove(name));
  QVERIFY(QDir().mkdir(name));
  QVERIFY(QFile::setPermissions(name, QFileDevice::Permissions(0x7777)));
  QCOMPARE(privateWorkDir(), name);
  QCOMPARE(QFileInfo(name).permissions() & QFileDevice::WriteOther, QFileDevice::Permissions());
}

void TestWorkDir::deletingPageFilesSkipsWhatIsMissingOrForeign() {
  QTemporaryDir work;
  QTemporaryDir elsewhere;
  const QString target = elsewhere.filePath(QStringLiteral("keep.htm"));
  QVERIFY(writeFile(target, "keep"));
  // The chart page is missing, the profile page is a link, the offline and
  // study pages plain files; an unrelated file stays.
  QVERIFY(QFile::link(target, pageFilePath(work.path(), kProfilePageFile)));
  QVERIFY(writeFile(pageFilePath(work.path(), kOfflinePageFile), "offline"));
  QVERIFY(writeFile(pageFilePath(work.path(), kStudyPageFile), "study"));
  QVERIFY(writeFile(work.filePath(QStringLiteral("notes.txt")), "mine"));

  deletePageFiles(work.path());
  QCOMPARE(entries(work.path()), QStringList{QStringLiteral("notes.txt")});
  QVERIFY(QFileInfo::exists(target));  // the link went, not what it pointed at

  // A directory under a page file's name is not removed, and nothing throws.
  QVERIFY(QDir(work.path()).mkdir(QStringLiteral("T010190.htm")));
  deletePageFiles(work.path());
  QVERIFY(QFileInfo(pageFilePath(work.path(), kChartPageFile)).isDir());
  deletePageFiles(QString());  // no work directory: nothing to do
}

void TestWorkDir::firstClaimTakesTheSettledDirOthersGetPrivateFolders() {
  QTemporaryDir settled;
  const QString lock = pageFilePath(settled.path(), kLockFileName);
  WorkDirClaim first = WorkDirClaim::claim(settled.path());
  QCOMPARE(first.dir(), settled.path());
  QVERIFY(!first.isPrivate());
  QVERIFY(QFileInfo(lock).isFile());

  // The lock is per open file, so a second claim in this process sees it
  // taken just as another process would.
  WorkDirClaim second = WorkDirClaim::claim(settled.path());
  WorkDirClaim third = WorkDirClaim::claim(settled.path());
  WorkDirClaim fourth = WorkDirClaim::claim(settled.path());
  for (const WorkDirClaim* c : {&second, &third, &fourth}) {
    QVERIFY(c->isPrivate());
    const QFileInfo info(c->dir());
    QVERIFY(info.isDir());
    QCOMPARE(info.absolutePath(), settled.path());
    QVERIFY(info.fileName().startsWith(QStringLiteral("ziwei-")));
    QCOMPARE(info.permissions() &
                 ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser),
             kOwnerOnly);
    QVERIFY(passesWriteTest(c->dir()));
  }
  QVERIFY(second.dir() != third.dir());

  // Shut-down of a private window: its pages, then its folder, go; the
  // first window's pages and lock stay.
  QVERIFY(writeFile(pageFilePath(first.dir(), kChartPageFile), "first"));
  QVERIFY(writeFile(pageFilePath(second.dir(), kChartPageFile), "second"));
  const QString secondDir = second.dir();
  deletePageFiles(second.dir());
  second.release();
  QVERIFY(second.dir().isEmpty());
  QVERIFY(!QFileInfo::exists(secondDir));
  QVERIFY(QFileInfo::exists(pageFilePath(first.dir(), kChartPageFile)));
  QVERIFY(QFileInfo::exists(lock));

  // A private folder holding a file that is not a page stays.
  const QString notes = QDir(fourth.dir()).filePath(QStringLiteral("notes.txt"));
  QVERIFY(writeFile(notes, "not ours"));
  deletePageFiles(fourth.dir());
  fourth.release();
  QVERIFY(QFileInfo::exists(notes));
  QVERIFY(QFile::remove(notes));
  QVERIFY(QDir().rmdir(QFileInfo(notes).absolutePath()));

  // Shut-down of the first window leaves the private one alone.
  const QString thirdDir = third.dir();
  QVERIFY(writeFile(pageFilePath(thirdDir, kChartPageFile), "third"));
  deletePageFiles(first.dir());
  first.release();
  first.release();  // once only
  QVERIFY(!QFileInfo::exists(lock));
  QVERIFY(QFileInfo::exists(pageFilePath(thirdDir, kChartPageFile)));
  third = WorkDirClaim();  // released on assignment, too
  QVERIFY(QFileInfo::exists(pageFilePath(thirdDir, kChartPageFile)));  // not emptied: kept
  QVERIFY(QFile::remove(pageFilePath(thirdDir, kChartPageFile)));
  QVERIFY(QDir().rmdir(thirdDir));
  QVERIFY(entries(settled.path()).isEmpty());
}

void TestWorkDir::releasedDirIsTakenAgain() {
  QTemporaryDir settled;
  {
    WorkDirClaim first = WorkDirClaim::claim(settled.path());
    QVERIFY(!first.isPrivate());
  }  // the destructor releases
  // A lock file left by a window that ended without releasing it (a crash)
  // is not held by anyone: the next window takes the settled dir.
  QVERIFY(writeFile(pageFilePath(settled.path(), kLockFileName), ""));
  WorkDirClaim next = WorkDirClaim::claim(settled.path());
  QCOMPARE(next.dir(), settled.path());
  QVERIFY(!next.isPrivate());
  WorkDirClaim moved = std::move(next);
  QVERIFY(next.dir().isEmpty());
  QCOMPARE(moved.dir(), settled.path());
  QVERIFY(WorkDirClaim::claim(settled.path()).isPrivate());  // still held after the move
  QVERIFY(WorkDirClaim::claim(QString()).dir().isEmpty());
}

void TestWorkDir::plantedLockLinkIsNotFollowed() {
  QTemporaryDir settled;
  QTemporaryDir elsewhere;
  const QString target = elsewhere.filePath(QStringLiteral("victim"));
  QVERIFY(QFile::link(target, pageFilePath(settled.path(), kLockFileName)));
  WorkDirClaim c = WorkDirClaim::claim(settled.path());
  QVERIFY(c.isPrivate());  // the link is neither opened nor followed
  QVERIFY(!QFileInfo::exists(target));
  c.release();
  QVERIFY(QFileInfo(pageFilePath(settled.path(), kLockFileName)).isSymLink());  // left alone
}

QTEST_GUILESS_MAIN(TestWorkDir)
#include "test_work_dir.moc"

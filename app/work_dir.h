#pragma once

#include <QString>

namespace ziwei::desktop {

// The page files that the window writes into its work directory.
inline constexpr const char* kChartPageFile = "T010190.htm";
inline constexpr const char* kProfilePageFile = "T010191.htm";
inline constexpr const char* kOfflinePageFile = "T010192.htm";
inline constexpr const char* kPeriodPageFile = "T010193.htm";  // the running periods (運限)
inline constexpr const char* kStudyPageFile = "T010194.htm";   // the study page (研讀)

// True when a new file can be created, written, closed and removed in `dir`.
// The probe file gets a fresh unique name, so that no existing file, link or
// page of another window is opened, followed or deleted.
bool passesWriteTest(const QString& dir);

// The work directory: `programDir` (the folder holding the program) when it
// passes the write test, otherwise the program's own folder in the user's
// runtime directory (or, lacking one, the temporary directory), created
// readable by its owner only. Never ends in "/". Empty when neither place
// can be written.
QString settleWorkDir(const QString& programDir);

// The per-user fallback folder; created (mode 0700) when missing. Empty when
// it cannot be made, or when the name is taken by something that is not a
// directory of this user (a planted link, another user's folder).
QString privateWorkDir();

// `workDir` + "/" + `fileName` (one separator, also for the root directory).
QString pageFilePath(const QString& workDir, const char* fileName);

// Deletes the chart, profile, offline, running-period and study pages from
// `workDir`, in that order; a file that is missing or cannot be deleted is skipped.
void deletePageFiles(const QString& workDir);

// The lock file that marks a settled work directory as in use by a window.
inline constexpr const char* kLockFileName = ".ziwei-desktop.lock";

// One window's share of a settled work directory, so that windows running at
// the same time never write, show or delete each other's page files.
//
// The first window takes an exclusive advisory lock (flock) on the lock file
// in the settled directory and writes its pages there. A window that finds
// the lock taken writes into a private folder of its own inside the settled
// directory instead: "ziwei-XXXXXX", unique, created readable by its owner
// only. The operating system drops the lock when the process ends, even by a
// crash, so the next window can take the settled directory again.
class WorkDirClaim {
 public:
  WorkDirClaim() = default;  // no directory
  ~WorkDirClaim();
  WorkDirClaim(WorkDirClaim&& other) noexcept;
  WorkDirClaim& operator=(WorkDirClaim&& other) noexcept;
  WorkDirClaim(const WorkDirClaim&) = delete;
  WorkDirClaim& operator=(const WorkDirClaim&) = delete;

  // Claims `settledDir` (a result of settleWorkDir). Empty `settledDir`, or
  // neither the lock nor a private folder to be had: dir() is empty.
  static WorkDirClaim claim(const QString& settledDir);

  // Where this window writes its pages; no trailing "/"; empty: nowhere.
  const QString& dir() const { return dir_; }
  // True when dir() is a private folder because another window holds the
  // settled directory.
  bool isPrivate() const { return private_; }

  // Gives the directory up: removes the private folder when it is empty, or
  // drops the lock and removes the lock file. Delete the page files first:
  // once the lock is gone, a new window may write its own pages into the
  // settled directory. Runs once; dir() is empty afterwards.
  void release();

 private:
  QString dir_;
  QString lockPath_;
  int lockFd_ = -1;
  bool private_ = false;
};

}  // namespace ziwei::desktop

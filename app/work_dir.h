#pragma once

#include <QString>

namespace ziwei::desktop {

// The page files that the window writes into its work directory.
inline constexpr const char* kChartPageFile = "T010190.htm";
inline constexpr const char* kProfilePageFile = "T010191.htm";
inline constexpr const char* kOfflinePageFile = "T010192.htm";

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

// Deletes the chart, profile and offline pages from `workDir`, in that
// order; a file that is missing or cannot be deleted is skipped.
void deletePageFiles(const QString& workDir);

}  // namespace ziwei::desktop

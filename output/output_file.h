#pragma once
// A file written as a whole: what every ziwei command and the desktop's page
// files write through.
//
// A regular file (or the file a chain of symbolic links names) is written to a
// temporary file beside it, flushed to disk and renamed over it, so that a
// reader sees the old file or the whole new one, never a part; the folder is
// flushed after the rename. The new file keeps the mode of the one it
// replaces, and its owner and group where the user may give them. Refused, as
// a shell's ">" refuses them and leaving the file as it was: a file the user
// may not write, a loop of links, a folder, and a file with other hard links
// (replacing it would leave the other names with the old content).
//
// A device, pipe or socket is written in place, and a name of one of the
// process's own descriptors (/dev/stdout, /dev/fd/N, /proc/self/fd/N) writes
// to that descriptor, whatever it is open on.
//
// The temporary file is named after its target: "NAME.tmp" and six random
// letters and digits, in the same folder, shortened so that the name stays
// within 255 bytes. It is removed when the write fails, when the OutputFile
// is dropped uncommitted, and when the process is ended by SIGINT, SIGTERM,
// SIGHUP or SIGPIPE; only a process killed outright (SIGKILL, a power cut)
// leaves one behind.

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct stat;

namespace ziwei {

// An output that could not be written; what() names it and the cause.
class OutputError : public std::runtime_error {
 public:
  OutputError(const std::string& message, int error) : std::runtime_error(message), error_(error) {}
  int error() const { return error_; }  // the errno value, 0 when none

 private:
  int error_;
};

// What a symbolic link at the target means: the file it names is written (as
// a shell's ">" writes it), or the link itself is replaced by the file.
enum class LinkRule { Follow, Replace };

// Whether a file is on disk before commit() returns, or only in place: a
// scratch file that is removed again (the window's page files) need not
// wait for the disk.
enum class Durability { Synced, Scratch };

class OutputFile {
 public:
  // The process's standard output.
  OutputFile();
  // The file `path`; its name as given is what messages show. Throws
  // OutputError when it cannot be written.
  explicit OutputFile(const std::filesystem::path& path, LinkRule links = LinkRule::Follow);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Appends `bytes`. Throws OutputError.
  void write(std::string_view bytes);

  // Finishes the output: a temporary file is flushed (for Synced to the
  // disk, with its folder) and replaces its target. Throws OutputError, and
  // the target stays as it was.
  void commit(Durability durability = Durability::Synced);

  // Finishes the output but for its flush and rename, which a
  // DurableGroup (below) makes for many files at once: the file is whole
  // under its temporary name. Nothing is left to do for an output written
  // in place (an empty PendingFile). Throws OutputError.
  struct PendingFile {
    std::filesystem::path temporary;  // empty: nothing pending
    std::filesystem::path target;
    std::filesystem::path folder;
    std::string name;  // as messages show the target
    int slot = -1;
  };
  PendingFile commitLater();

  // The output as messages name it: the path as given, or "standard output".
  const std::string& name() const { return name_; }

  // The folder a new file goes to, for a file replaced through a temporary
  // one; nothing for a device, a pipe or a descriptor.
  const std::optional<std::filesystem::path>& folder() const { return folder_; }

 private:
  [[noreturn]] void fail(std::string_view what, int error) const;
  void resolve(const std::filesystem::path& path, LinkRule links);
  void discard() noexcept;
  void openTemporary(const std::filesystem::path& target, const struct ::stat* replaced);

  int fd_ = -1;
  bool ownFd_ = false;
  bool standardOutput_ = false;
  std::string name_;
  std::filesystem::path target_;     // the file the temporary one replaces
  std::filesystem::path temporary_;  // empty when writing in place
  std::optional<std::filesystem::path> folder_;
  int slot_ = -1;  // the temporary's entry in the list removed on a signal
};

// Files written as a whole whose flushes are shared: each is written to its
// temporary file, unflushed; once `groupSize` of them are whole (and at
// finish()), one sync of their file system (syncfs) puts them all on disk,
// then each replaces its target and their folders are flushed. A reader sees
// the old file or the whole new one, also after a crash or a power cut: a
// file is renamed only after its content is on disk. A crash leaves the
// files of the group under way as temporary files (NAME.tmpXXXXXX, safe to
// delete), and the earlier groups in place. Safe to call from several
// threads.
class DurableGroup {
 public:
  explicit DurableGroup(std::size_t groupSize = 256) : groupSize_(groupSize) {}
  ~DurableGroup();  // removes temporary files not yet published
  DurableGroup(const DurableGroup&) = delete;
  DurableGroup& operator=(const DurableGroup&) = delete;

  // Writes `bytes` to `path` (as writeOutputFile does, but for the flush).
  // Throws OutputError.
  void write(const std::filesystem::path& path, std::string_view bytes);

  // Puts every file written on disk in place. Throws OutputError (the files
  // not published are removed).
  void finish();

  // The files put in place so far.
  std::size_t published() const { return published_.load(); }

 private:
  void publish(std::vector<OutputFile::PendingFile>& files);

  std::size_t groupSize_;
  std::mutex mutex_;
  std::vector<OutputFile::PendingFile> pending_;
  std::atomic<std::size_t> published_{0};
};

// Writes `bytes` to `path` as a whole (standard output when there is none).
void writeOutputFile(const std::optional<std::filesystem::path>& path, std::string_view bytes,
                     LinkRule links = LinkRule::Follow, Durability durability = Durability::Synced);

// Makes sure descriptors 0, 1 and 2 are open: each one closed at start-up is
// opened on /dev/null, so that no file the program opens takes its number.
// Call first thing in main.
void openStandardStreams();

// True when descriptor `fd` (0, 1 or 2) was closed when openStandardStreams
// ran: reading it is an error, not an empty input.
bool standardStreamWasClosed(int fd);

// The number of bytes free to the user in the folder `folder`; nothing when
// it cannot be told.
std::optional<unsigned long long> freeBytes(const std::filesystem::path& folder);

}  // namespace ziwei

#include "output/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <mutex>
#include <random>

#include "unicode/utf8.h"

namespace ziwei {

namespace fs = std::filesystem;

namespace {

// ------------------------------------------------ temporaries removed on a signal

// The temporary files under way, each in a slot of its own: claimed (kWriting)
// while its name is written, kReady while the file may exist. The signal
// handler takes each ready slot (kDying) before it removes the file, so that
// no thread reuses a name the handler is reading; the handler only uses
// lock-free atomics and unlink, which are async-signal-safe.
enum SlotState : int { kFree, kWriting, kReady, kDying };
struct Slot {
  std::atomic<int> state{kFree};
  char name[PATH_MAX];
};
constexpr std::size_t kSlots = 1024;  // more than the workers of a batch run and their writer
std::array<Slot, kSlots> gSlots;

// Set once a signal ends the process: no new temporary file is made.
std::atomic<bool> gDying{false};
// The threads between entering a temporary and opening it.
std::atomic<int> gOpening{0};
thread_local bool tOpening = false;

extern "C" void removeTemporariesAndDie(int signal) {
  gDying.store(true);
  // Waits (a second at most) for the files being made to be entered; the
  // thread the signal interrupted may be one of them.
  const int self = tOpening ? 1 : 0;
  for (int i = 0; i < 1000 && gOpening.load() > self; ++i) {
    const timespec pause{0, 1'000'000};
    ::nanosleep(&pause, nullptr);
  }
  for (Slot& slot : gSlots) {
    int ready = kReady;
    if (slot.state.compare_exchange_strong(ready, kDying)) ::unlink(slot.name);
  }
  // The handler was reset to the default on entry (SA_RESETHAND): end the
  // process as the signal would have.
  ::raise(signal);
}

// Brackets the making of a temporary file, so that a signal's handler waits
// for it; once the process is ending, the thread waits for its end instead.
class Opening {
 public:
  Opening() {
    gOpening.fetch_add(1);
    tOpening = true;
    while (gDying.load()) ::pause();
  }
  ~Opening() {
    tOpening = false;
    gOpening.fetch_sub(1);
  }
  Opening(const Opening&) = delete;
  Opening& operator=(const Opening&) = delete;
};

void installSignalHandlers() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
      struct sigaction old {};
      // A signal ignored (nohup) or handled by the program stays so.
      if (::sigaction(signal, nullptr, &old) != 0 || old.sa_handler != SIG_DFL) continue;
      struct sigaction action {};
      action.sa_handler = removeTemporariesAndDie;
      action.sa_flags = static_cast<int>(SA_RESETHAND | SA_NODEFER);
      sigemptyset(&action.sa_mask);
      ::sigaction(signal, &action, nullptr);
    }
  });
}

// Enters `name` in the list; -1 when it is too long for a slot or none is free
// (the file is then only removed by the OutputFile).
int enterTemporary(const std::string& name) {
  if (name.size() >= PATH_MAX) return -1;
  installSignalHandlers();
  for (std::size_t i = 0; i < kSlots; ++i) {
    int free = kFree;
    if (!gSlots[i].state.compare_exchange_strong(free, kWriting)) continue;
    std::memcpy(gSlots[i].name, name.c_str(), name.size() + 1);
    gSlots[i].state.store(kReady);
    return static_cast<int>(i);
  }
  return -1;
}

// Takes `name` off the list once the file is gone or renamed; a slot the
// handler has taken is left to it.
void leaveTemporary(int slot) {
  if (slot < 0) return;
  int ready = kReady;
  gSlots[static_cast<std::size_t>(slot)].state.compare_exchange_strong(ready, kFree);
}

// ------------------------------------------------ descriptors and names

std::array<bool, 3> gClosedAtStart{};

int writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

// A descriptor of at least 3 for `fd`, so that an output never takes the
// number of a standard stream.
int aboveStandardStreams(int fd) {
  if (fd < 0 || fd > STDERR_FILENO) return fd;
  const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
  const int error = errno;
  ::close(fd);
  errno = error;
  return moved;
}

// The descriptor that `path` names as one of the process's own
// (/proc/self/fd/N, reached from /dev/stdout or /dev/fd/N), or nothing.
std::optional<int> descriptorNamed(const fs::path& path) {
  const std::string file = path.filename();
  if (file.empty() || file.size() > 9 ||
      file.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  std::error_code error;
  const fs::path folder =
      fs::canonical(path.parent_path().empty() ? "." : path.parent_path(), error);
  if (error) return std::nullopt;
  const std::string own = "/proc/" + std::to_string(::getpid());
  const std::string text = folder.string();
  const bool process = text == own + "/fd";
  const bool thread = text.starts_with(own + "/task/") && text.ends_with("/fd");
  if (!process && !thread) return std::nullopt;
  return std::stoi(file);
}

// A name beside `target` for its temporary file, within 255 bytes: the
// target's name (cut at a character's start when too long), ".tmp" and six
// random letters and digits.
fs::path temporaryBeside(const fs::path& target, std::mt19937& random) {
  constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
  constexpr std::size_t kSuffix = 10;  // ".tmp" and six
  std::string name = target.filename();
  if (name.size() + kSuffix > NAME_MAX) name.resize(utf8CutWithin(name, NAME_MAX - kSuffix));
  name += ".tmp";
  for (int i = 0; i < 6; ++i) name += kLetters[random() % kLetters.size()];
  return target.parent_path() / name;
}

}  // namespace

// ------------------------------------------------ OutputFile

OutputFile::OutputFile() : fd_(STDOUT_FILENO), standardOutput_(true), name_("standard output") {}

OutputFile::OutputFile(const fs::path& path, LinkRule links) : name_(path.string()) {
  try {
    resolve(path, links);
  } catch (...) {
    discard();
    throw;
  }
}

void OutputFile::resolve(const fs::path& path, LinkRule links) {
  fs::path at = path;
  for (int hops = 0;; ++hops) {
    // As the kernel does, a chain of more than 40 links is taken for a loop.
    if (hops > 40) fail("", ELOOP);
    if (const std::optional<int> fd = descriptorNamed(at)) {
      fd_ = *fd;
      return;
    }
    struct stat found {};
    if (::lstat(at.c_str(), &found) != 0) {
      if (errno != ENOENT) fail("", errno);
      openTemporary(at, nullptr);  // a new file (or the one a dangling link names)
      return;
    }
    if (S_ISLNK(found.st_mode) && links == LinkRule::Follow) {
      std::error_code error;
      const fs::path next = fs::read_symlink(at, error);
      if (error) fail("", error.value());
      at = next.is_absolute() ? next : at.parent_path() / next;
      continue;
    }
    if (S_ISLNK(found.st_mode)) {
      openTemporary(at, nullptr);
      return;
    }
    if (S_ISDIR(found.st_mode)) fail("", EISDIR);
    if (!S_ISREG(found.st_mode)) {
      fd_ = aboveStandardStreams(::open(at.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
      if (fd_ < 0) fail("", errno);
      ownFd_ = true;
      return;
    }
    // Renaming over a file needs only a writable folder; a file the user may
    // not write is refused as a shell's ">" refuses it.
    if (::faccessat(AT_FDCWD, at.c_str(), W_OK, AT_EACCESS) != 0) fail("", errno);
    if (found.st_nlink > 1) {
      fail("the file has " + std::to_string(found.st_nlink - 1) +
               " other hard link(s), which would keep the old content; remove them or write "
               "to another name",
           0);
    }
    openTemporary(at, &found);
    return;
  }
}

void OutputFile::openTemporary(const fs::path& target, const struct stat* replaced) {
  target_ = target;
  folder_ = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path name = temporaryBeside(target, random);
    int fd = -1;
    {
      const Opening opening;
      slot_ = enterTemporary(name);
      fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                  replaced != nullptr ? 0600 : 0666);
    }
    if (fd >= 0) {
      temporary_ = name;
      fd_ = aboveStandardStreams(fd);
      ownFd_ = fd_ >= 0;
      if (fd_ < 0) fail("cannot create a temporary file beside it", errno);
      break;
    }
    const int error = errno;
    leaveTemporary(slot_);
    slot_ = -1;
    if (error != EEXIST) fail("cannot create a temporary file beside it", error);
  }
  if (fd_ < 0) fail("cannot create a temporary file beside it", EEXIST);
  if (replaced != nullptr) {
    // The owner first: a change of owner clears the set-user-ID bits that
    // the mode then restores. Where the user may not give the file away, the
    // group alone is tried.
    struct stat made {};
    if (::fstat(fd_, &made) == 0 &&
        (made.st_uid != replaced->st_uid || made.st_gid != replaced->st_gid) &&
        ::fchown(fd_, replaced->st_uid, replaced->st_gid) != 0) {
      (void)::fchown(fd_, static_cast<uid_t>(-1), replaced->st_gid);
    }
    if (::fchmod(fd_, replaced->st_mode & 07777) != 0) fail("cannot keep its mode", errno);
  }
}

OutputFile::~OutputFile() { discard(); }

void OutputFile::discard() noexcept {
  if (ownFd_ && fd_ >= 0) ::close(fd_);
  ownFd_ = false;
  fd_ = -1;
  if (!temporary_.empty()) {
    ::unlink(temporary_.c_str());
    leaveTemporary(slot_);
    temporary_.clear();
  }
}

void OutputFile::fail(std::string_view what, int error) const {
  std::string message = standardOutput_ ? "cannot write to " : "cannot write ";
  message += name_;
  if (!what.empty()) {
    message += ": ";
    message += what;
  }
  if (error != 0) {
    message += ": ";
    message += std::strerror(error);
  }
  throw OutputError(message, error);
}

void OutputFile::write(std::string_view bytes) {
  // A standard stream closed at start-up was opened on /dev/null only to
  // keep its number: writing to it is an error.
  if (!ownFd_ && standardStreamWasClosed(fd_)) fail("", EBADF);
  if (const int error = writeAll(fd_, bytes); error != 0) fail("", error);
}

void OutputFile::commit(Durability durability) {
  if (!ownFd_) return;
  const int fd = fd_;
  fd_ = -1;
  ownFd_ = false;
  if (temporary_.empty()) {
    if (::close(fd) != 0) fail("", errno);
    return;
  }
  if (durability == Durability::Synced && ::fsync(fd) != 0) {
    const int error = errno;
    ::close(fd);
    fail("", error);
  }
  if (::close(fd) != 0) fail("", errno);
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) fail("cannot replace it", errno);
  temporary_.clear();
  leaveTemporary(slot_);
  if (durability == Durability::Scratch) return;
  // The rename itself is on disk only once the folder is.
  const int folder = ::open(folder_->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    const int synced = ::fsync(folder);
    const int error = errno;
    ::close(folder);
    if (synced != 0 && error != EINVAL) fail("cannot flush its folder", error);
  }
}

OutputFile::PendingFile OutputFile::commitLater() {
  if (!ownFd_ || temporary_.empty()) {
    commit();
    return {};
  }
  const int fd = fd_;
  fd_ = -1;
  ownFd_ = false;
  if (::close(fd) != 0) fail("", errno);
  PendingFile pending{temporary_, target_, *folder_, name_, slot_};
  temporary_.clear();  // the group owns it now
  slot_ = -1;
  return pending;
}

DurableGroup::~DurableGroup() {
  for (const OutputFile::PendingFile& file : pending_) {
    ::unlink(file.temporary.c_str());
    leaveTemporary(file.slot);
  }
}

void DurableGroup::write(const fs::path& path, std::string_view bytes) {
  OutputFile file(path);
  file.write(bytes);
  OutputFile::PendingFile pending = file.commitLater();
  if (pending.temporary.empty()) return;
  std::vector<OutputFile::PendingFile> full;
  {
    const std::lock_guard lock(mutex_);
    pending_.push_back(std::move(pending));
    if (pending_.size() < groupSize_) return;
    full.swap(pending_);
  }
  publish(full);
}

void DurableGroup::finish() {
  std::vector<OutputFile::PendingFile> rest;
  {
    const std::lock_guard lock(mutex_);
    rest.swap(pending_);
  }
  publish(rest);
}

void DurableGroup::publish(std::vector<OutputFile::PendingFile>& files) {
  if (files.empty()) return;
  const auto drop = [&files](std::size_t from) {
    for (std::size_t i = from; i < files.size(); ++i) {
      ::unlink(files[i].temporary.c_str());
      leaveTemporary(files[i].slot);
    }
    files.clear();
  };
  const auto failed = [](const std::string& name, std::string_view what, int error) {
    std::string message = "cannot write " + name;
    if (!what.empty()) message += ": " + std::string(what);
    message += ": ";
    message += std::strerror(error);
    return OutputError(message, error);
  };
  // One sync of the file system for the whole group's content.
  std::vector<fs::path> folders;
  for (const OutputFile::PendingFile& file : files) {
    if (std::find(folders.begin(), folders.end(), file.folder) == folders.end()) {
      folders.push_back(file.folder);
    }
  }
  for (const fs::path& folder : folders) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const int synced = fd >= 0 ? ::syncfs(fd) : -1;
    const int error = errno;
    if (fd >= 0) ::close(fd);
    if (synced != 0) {
      const std::string name = files.front().name;
      drop(0);
      throw failed(name, "cannot flush it", error);
    }
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (::rename(files[i].temporary.c_str(), files[i].target.c_str()) != 0) {
      const int error = errno;
      const std::string name = files[i].name;
      drop(i);
      throw failed(name, "cannot replace it", error);
    }
    leaveTemporary(files[i].slot);
    ++published_;
  }
  files.clear();
  // The renames are on disk once the folders are.
  for (const fs::path& folder : folders) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) continue;
    const int synced = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (synced != 0 && error != EINVAL) {
      throw OutputError("cannot flush " + folder.string() + ": " + std::strerror(error), error);
    }
  }
}

void writeOutputFile(const std::optional<fs::path>& path, std::string_view bytes, LinkRule links,
                     Durability durability) {
  std::optional<OutputFile> file;
  if (path) {
    file.emplace(*path, links);
  } else {
    file.emplace();
  }
  file->write(bytes);
  file->commit(durability);
}

// ------------------------------------------------ the process's streams

void openStandardStreams() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    gClosedAtStart[static_cast<std::size_t>(fd)] = true;
    // The lowest free number is `fd`, the ones below it being open.
    const int opened = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    if (opened >= 0 && opened != fd) {
      ::dup2(opened, fd);
      ::close(opened);
    }
  }
}

bool standardStreamWasClosed(int fd) {
  return fd >= 0 && fd <= STDERR_FILENO && gClosedAtStart[static_cast<std::size_t>(fd)];
}

std::optional<unsigned long long> freeBytes(const fs::path& folder) {
  struct statvfs space {};
  if (::statvfs(folder.c_str(), &space) != 0) return std::nullopt;
  return static_cast<unsigned long long>(space.f_bavail) * space.f_frsize;
}

}  // namespace ziwei

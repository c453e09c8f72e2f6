#include "platform/registry/hive_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "platform/registry/reg_text.h"

namespace platform::registry {

namespace {

// Owns a file descriptor.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  bool ok() const { return fd_ >= 0; }
  // Closes now and reports whether closing succeeded (it can report a
  // failed write-back).
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

// Holds flock(LOCK_EX) on the lock file for its lifetime; the lock file
// itself stays (removing it would let two writers lock different files).
class ExclusiveFileLock {
 public:
  explicit ExclusiveFileLock(const std::string& path)
      : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (!fd_.ok()) return;
    int rc;
    do {
      rc = ::flock(fd_.get(), LOCK_EX);
    } while (rc != 0 && errno == EINTR);
    locked_ = rc == 0;
  }
  bool locked() const { return locked_; }

 private:
  Fd fd_;
  bool locked_ = false;
};

FileIdentity IdentityOf(const struct stat& st) {
  FileIdentity id;
  id.exists = true;
  id.dev = st.st_dev;
  id.ino = st.st_ino;
  id.size = st.st_size;
  id.mtimeSec = st.st_mtim.tv_sec;
  id.mtimeNsec = st.st_mtim.tv_nsec;
  id.ctimeSec = st.st_ctim.tv_sec;
  id.ctimeNsec = st.st_ctim.tv_nsec;
  return id;
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool FsyncDirectory(const std::string& dir) {
  Fd fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return fd.ok() && ::fsync(fd.get()) == 0;
}

// Creates `dir` and its missing parents with mode 0700.
bool MakeDirectories(const std::string& dir) {
  struct stat st;
  if (::stat(dir.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  std::string partial;
  size_t pos = 0;
  while (pos != std::string::npos) {
    pos = dir.find('/', pos + 1);
    partial = dir.substr(0, pos);
    if (partial.empty()) continue;
    if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string Timestamp() {
  const time_t now = ::time(nullptr);
  struct tm tmv;
  ::localtime_r(&now, &tmv);
  char buf[32];
  strftime(buf, sizeof buf, "%Y%m%d-%H%M%S", &tmv);
  return buf;
}

// Copies `from` to a new file `to` (mode 0600: the copy of the user hive
// holds saved logins). Used where a hard link cannot be made.
bool CopyFile(const std::string& from, const std::string& to) {
  Fd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (!in.ok()) return false;
  Fd out(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  if (!out.ok()) return false;
  char buf[65536];
  while (true) {
    const ssize_t n = ::read(in.get(), buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::unlink(to.c_str());
      return false;
    }
    if (n == 0) break;
    if (!WriteAll(out.get(), buf, static_cast<size_t>(n))) {
      ::unlink(to.c_str());
      return false;
    }
  }
  if (::fsync(out.get()) != 0 || !out.Close()) {
    ::unlink(to.c_str());
    return false;
  }
  return true;
}

}  // namespace

std::string RegistryDirectory() {
  if (const char* dir = std::getenv("DATROVA_REGISTRY"); dir && *dir) return dir;
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
      const struct passwd* pw = ::getpwuid(::getuid());
      home = pw ? pw->pw_dir : "/tmp";
    }
    base = std::string(home) + "/.config";
  }
  return base + "/datrova/registry";
}

HiveFile::HiveFile(std::string directory, std::string hiveName, mode_t fileMode)
    : directory_(std::move(directory)),
      hiveName_(std::move(hiveName)),
      path_(directory_ + "/" + hiveName_ + ".reg"),
      lockPath_(directory_ + "/" + hiveName_ + ".lock"),
      fileMode_(fileMode) {}

RegKey& HiveFile::Current() {
  RefreshIfChanged();
  return root_;
}

void HiveFile::RefreshIfChanged() {
  struct stat st;
  FileIdentity now;
  if (::stat(path_.c_str(), &st) == 0) now = IdentityOf(st);
  if (loaded_ && now == identity_) return;
  Load();
}

void HiveFile::Load() {
  loaded_ = true;
  root_ = RegKey{};
  damaged_ = false;
  identity_ = FileIdentity{};

  Fd fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.ok()) {
    struct stat st;
    if (errno == ENOENT && ::lstat(path_.c_str(), &st) != 0) return;  // no hive yet: empty
    // There is something we cannot read: it must not be replaced unseen.
    damaged_ = true;
    if (::stat(path_.c_str(), &st) == 0) identity_ = IdentityOf(st);
    return;
  }
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) {
    damaged_ = true;
    return;
  }
  identity_ = IdentityOf(st);
  if (!S_ISREG(st.st_mode)) {
    damaged_ = true;
    return;
  }

  std::string text;
  text.reserve(static_cast<size_t>(std::min<off_t>(st.st_size, kMaxHiveFileSize)));
  char buf[65536];
  bool complete = true;
  while (true) {
    const ssize_t n = ::read(fd.get(), buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      complete = false;
      break;
    }
    if (n == 0) break;
    if (text.size() + static_cast<size_t>(n) > kMaxHiveFileSize) {
      text.append(buf, kMaxHiveFileSize - text.size());
      complete = false;
      break;
    }
    text.append(buf, static_cast<size_t>(n));
  }
  ParseReport report;
  root_ = ParseHiveText(text, hiveName_, &report);
  damaged_ = !complete || report.Damaged();
}

bool HiveFile::EnsureDirectory() { return MakeDirectories(directory_); }

bool HiveFile::KeepDamagedCopy() {
  const std::string base = path_ + ".damaged-" + Timestamp();
  for (int n = 0; n < 1000; ++n) {
    const std::string name = n == 0 ? base : base + "-" + std::to_string(n);
    // A hard link keeps every byte without reading the file (and works for
    // a file we may not be able to read); a copy where links are refused.
    if (::link(path_.c_str(), name.c_str()) == 0) return FsyncDirectory(directory_);
    if (errno == EEXIST) continue;
    if (errno == ENOENT) return true;  // the damaged file went away by itself
    return CopyFile(path_, name) && FsyncDirectory(directory_);
  }
  return false;
}

void HiveFile::RemoveStaleTemporaries() {
  // Temporary files are only made while the lock is held, so any that is
  // there now was left by a writer that died before its rename.
  DIR* dir = ::opendir(directory_.c_str());
  if (!dir) return;
  const std::string prefix = hiveName_ + ".reg.tmp-";
  while (const struct dirent* entry = ::readdir(dir)) {
    if (std::string_view(entry->d_name).starts_with(prefix)) ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

bool HiveFile::WriteAtomically(const std::string& text) {
  RemoveStaleTemporaries();
  std::string tmpl = path_ + ".tmp-XXXXXX";
  Fd fd(::mkostemp(tmpl.data(), O_CLOEXEC));
  if (!fd.ok()) return false;
  const bool written = ::fchmod(fd.get(), fileMode_) == 0 && WriteAll(fd.get(), text.data(), text.size()) &&
                       ::fsync(fd.get()) == 0 && fd.Close();
  if (!written || ::rename(tmpl.c_str(), path_.c_str()) != 0) {
    ::unlink(tmpl.c_str());
    return false;
  }
  FsyncDirectory(directory_);  // the rename is done; a failed directory sync loses nothing now
  return true;
}

LSTATUS HiveFile::Modify(const std::function<LSTATUS(RegKey& root, bool* changed)>& change) {
  if (!EnsureDirectory()) return ERROR_CANTWRITE;
  ExclusiveFileLock lock(lockPath_);
  if (!lock.locked()) return ERROR_CANTWRITE;
  RefreshIfChanged();

  bool changed = false;
  const LSTATUS status = change(root_, &changed);
  if (status != ERROR_SUCCESS || !changed) return status;

  const std::string text = FormatHiveText(root_, hiveName_);
  const bool fits = text.size() <= kMaxHiveFileSize;
  if (!fits || (damaged_ && identity_.exists && !KeepDamagedCopy()) || !WriteAtomically(text)) {
    loaded_ = false;  // the tree holds a change the file does not
    return ERROR_CANTWRITE;
  }
  damaged_ = false;
  struct stat st;
  if (::stat(path_.c_str(), &st) == 0) {
    identity_ = IdentityOf(st);
  } else {
    loaded_ = false;
  }
  return ERROR_SUCCESS;
}

}  // namespace platform::registry

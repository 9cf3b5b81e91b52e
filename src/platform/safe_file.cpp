#include "platform/safe_file.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <ctime>

#include <string>
#include <vector>

int open_regular_file(const char* path) {
  if (!path) return -1;
  // Looking first keeps devices and the like from being opened at all; the
  // check on the open descriptor is the one that counts, since the name may
  // change in between. O_NONBLOCK makes opening a FIFO return at once.
  if (!is_regular_file(path)) return -1;
  const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return -1;
  }
  const int flags = fcntl(fd, F_GETFL);
  if (flags == -1 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1) {
    close(fd);
    return -1;
  }
  return fd;
}

std::FILE* fopen_regular_file(const char* path) {
  const int fd = open_regular_file(path);
  if (fd < 0) return nullptr;
  std::FILE* f = fdopen(fd, "rb");
  if (!f) close(fd);
  return f;
}

int is_regular_file(const char* path) {
  struct stat st;
  return path && stat(path, &st) == 0 && S_ISREG(st.st_mode) ? 1 : 0;
}

namespace {

bool write_all(int fd, const unsigned char* p, size_t n) {
  while (n > 0) {
    const ssize_t done = write(fd, p, n);
    if (done < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += done;
    n -= static_cast<size_t>(done);
  }
  return true;
}

}  // namespace

WriteResult write_file_whole(const char* path, const void* bytes, size_t size) {
  // An empty name would put the temporary file into the current folder.
  if (!path || !path[0] || (!bytes && size > 0)) return WRITE_NOT_CREATED;
  const std::string pattern = std::string(path) + ".XXXXXX";
  std::vector<char> temp(pattern.begin(), pattern.end());
  temp.push_back('\0');
  // mkostemp creates the name with O_CREAT | O_EXCL: it fails rather than
  // open anything that is already there, a link included.
  const int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return WRITE_NOT_CREATED;
  bool ok = fchmod(fd, 0644) == 0;
  ok = ok && write_all(fd, static_cast<const unsigned char*>(bytes), size);
  ok = (close(fd) == 0) && ok;
  ok = ok && rename(temp.data(), path) == 0;
  if (!ok) {
    unlink(temp.data());
    return WRITE_FAILED;
  }
  return WRITE_DONE;
}

namespace {

// "<name>.XXXXXX" as mkostemp makes it: six letters or digits.
bool is_temp_name_of(const char* entry, const char* name) {
  const size_t n = std::strlen(name);
  if (std::strncmp(entry, name, n) != 0 || entry[n] != '.' || std::strlen(entry) != n + 7) return false;
  for (size_t i = n + 1; i < n + 7; i++) {
    const char c = entry[i];
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

}  // namespace

int remove_stale_temp_files(const char* folder, const char* const* names, int count) {
  const int dir_fd = open(folder && folder[0] ? folder : ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir_fd < 0) return 0;
  DIR* dir = fdopendir(dir_fd);
  if (!dir) {
    close(dir_fd);
    return 0;
  }
  int removed = 0;
  while (const dirent* entry = readdir(dir)) {
    bool ours = false;
    for (int i = 0; i < count && !ours; i++) ours = is_temp_name_of(entry->d_name, names[i]);
    struct stat st;
    if (!ours || fstatat(dir_fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    if (unlinkat(dir_fd, entry->d_name, 0) == 0) removed++;
  }
  closedir(dir);
  return removed;
}

int lock_folder(const char* folder, int wait_ms) {
  const int fd = open(folder && folder[0] ? folder : ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return -1;
  // Tried at once, then every 10 ms until the time is up.
  const timespec pause{0, 10 * 1000 * 1000};
  for (int waited = 0;; waited += 10) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return fd;
    if ((errno != EWOULDBLOCK && errno != EINTR) || waited >= wait_ms) break;
    nanosleep(&pause, nullptr);
  }
  close(fd);
  return -1;
}

void release_folder_lock(int fd) {
  if (fd >= 0) close(fd);
}

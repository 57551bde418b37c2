#include "settings/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace zelkar {

namespace {

std::string tooLarge(std::size_t maxBytes) {
  return "is larger than " + std::to_string(maxBytes) + " bytes";
}

std::string systemReason(int error) {
  return std::string("cannot be read (") + std::strerror(error) + ")";
}

// Reads to the end, one byte past the limit at most so that a file that
// grew after its size was looked at is still caught.
FileRead readAll(int fd, std::size_t maxBytes) {
  std::string bytes;
  char buffer[64 * 1024];
  while (bytes.size() <= maxBytes) {
    const std::size_t want = std::min(sizeof buffer, maxBytes + 1 - bytes.size());
    const ssize_t n = ::read(fd, buffer, want);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return {std::nullopt, systemReason(errno)};
    if (n == 0) return {std::move(bytes), {}};
    bytes.append(buffer, std::size_t(n));
  }
  return {std::nullopt, tooLarge(maxBytes)};
}

std::string kindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "is a folder, not a file";
  if (S_ISFIFO(mode)) return "is a pipe, not a file";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device, not a file";
  if (S_ISSOCK(mode)) return "is a socket, not a file";
  return "is not a regular file";
}

}  // namespace

FileRead readRegularFile(const std::filesystem::path& path, std::size_t maxBytes) {
  // O_NONBLOCK: opening a pipe with no writer would wait for one forever.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    if (errno == ENOENT) return {std::nullopt, "does not exist"};
    return {std::nullopt, systemReason(errno)};
  }
  struct stat info = {};
  FileRead result;
  if (::fstat(fd, &info) != 0)
    result.error = systemReason(errno);
  else if (!S_ISREG(info.st_mode))
    result.error = kindOf(info.st_mode);
  else if (std::size_t(info.st_size) > maxBytes)
    result.error = tooLarge(maxBytes);
  else
    result = readAll(fd, maxBytes);
  ::close(fd);
  return result;
}

FileRead readStream(int fd, std::size_t maxBytes) {
  struct stat info = {};
  if (::fstat(fd, &info) != 0) return {std::nullopt, systemReason(errno)};
  if (S_ISDIR(info.st_mode)) return {std::nullopt, kindOf(info.st_mode)};
  if (S_ISREG(info.st_mode) && std::size_t(info.st_size) > maxBytes)
    return {std::nullopt, tooLarge(maxBytes)};
  return readAll(fd, maxBytes);
}

}  // namespace zelkar

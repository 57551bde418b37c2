// Reading a whole input file safely: only a regular file is read (a pipe
// would block start-up, a device like /dev/zero would never end, a folder
// reads as nothing), and only up to a size that fits what the file is for,
// so a wrong file cannot fill the memory.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace zelkar {

struct FileRead {
  std::optional<std::string> bytes;  // the whole file; none when refused
  std::string error;                 // why, as the end of a sentence ("is a folder")
  bool ok() const { return bytes.has_value(); }
};

// The file's bytes when it is a regular file of at most `maxBytes` bytes.
// Never blocks: the file is opened without waiting for a writer.
FileRead readRegularFile(const std::filesystem::path& path, std::size_t maxBytes);

// What an open descriptor reads as, for standard input: a folder is
// refused, any stream (a pipe, a terminal, a file) is read to its end or
// to `maxBytes`, whichever comes first, and then refused as too large.
FileRead readStream(int fd, std::size_t maxBytes);

}  // namespace zelkar

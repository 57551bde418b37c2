// A text file written a line at a time through the C library's buffer: the
// recording and the hash list. A failed write is told once on standard
// error and the file is left alone from then on, so the game plays on; the
// failure is kept, so that the program's exit status can tell it.
#pragma once

#include <QString>
#include <cstdio>
#include <string_view>

namespace zelkar::qt {

class LineFile {
 public:
  // Creates or empties the file; `what` names it in messages ("recording").
  LineFile(const QString& path, const char* what);
  ~LineFile();
  LineFile(const LineFile&) = delete;
  LineFile& operator=(const LineFile&) = delete;

  bool isOpen() const { return file_ != nullptr; }
  // Why the file could not be opened, as one sentence for the player.
  const QString& error() const { return error_; }

  // One line; the line break is added.
  void write(std::string_view line);
  // Hands what is buffered to the system, so that a killed program leaves
  // every line written so far complete.
  void flush();
  // Flushes and closes; true when every line written reached the file.
  // Later writes are ignored. The destructor finishes a file left open.
  bool finish();
  // A write, a flush or the close has failed (and was told).
  bool failed() const { return failed_; }

 private:
  void fail(const char* doing);

  std::FILE* file_ = nullptr;
  QString path_;
  const char* what_;
  QString error_;
  bool failed_ = false;
};

}  // namespace zelkar::qt

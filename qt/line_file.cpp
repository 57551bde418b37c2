#include "qt/line_file.h"

#include <QFile>
#include <cerrno>
#include <cstring>

#include "headless/printable.h"

namespace zelkar::qt {

namespace {

// Lines are short; a large buffer keeps the tick from waiting on the disk
// between flushes.
constexpr std::size_t kBufferBytes = 64 * 1024;

}  // namespace

LineFile::LineFile(const QString& path, const char* what) : path_(path), what_(what) {
  file_ = std::fopen(QFile::encodeName(path).constData(), "wb");
  if (file_ == nullptr) {
    error_ = QStringLiteral("cannot write the %1 %2: %3")
                 .arg(QLatin1String(what), path, QString::fromLocal8Bit(std::strerror(errno)));
    return;
  }
  std::setvbuf(file_, nullptr, _IOFBF, kBufferBytes);
}

LineFile::~LineFile() { finish(); }

bool LineFile::finish() {
  if (file_ == nullptr) return !failed_;
  if (std::fflush(file_) != 0) {
    fail("finish");
    return false;
  }
  // A network file system may tell a lost write only at the close.
  if (std::fclose(file_) != 0) {
    file_ = nullptr;
    failed_ = true;
    std::fprintf(stderr, "zelkar: cannot finish the %s %s: %s\n", what_,
                 sim::printable(QFile::encodeName(path_).toStdString()).c_str(),
                 std::strerror(errno));
    return false;
  }
  file_ = nullptr;
  return !failed_;
}

void LineFile::write(std::string_view line) {
  if (file_ == nullptr) return;
  if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() ||
      std::fputc('\n', file_) == EOF)
    fail("write");
}

void LineFile::flush() {
  if (file_ != nullptr && std::fflush(file_) != 0) fail("write");
}

void LineFile::fail(const char* doing) {
  // A full disk must not end the match: the file stops, the game goes on.
  std::fprintf(stderr, "zelkar: cannot %s the %s %s: %s; it stops here\n", doing, what_,
               sim::printable(QFile::encodeName(path_).toStdString()).c_str(),
               std::strerror(errno));
  std::fclose(file_);
  file_ = nullptr;
  failed_ = true;
}

}  // namespace zelkar::qt

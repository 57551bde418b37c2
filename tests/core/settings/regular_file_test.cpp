#include "settings/regular_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace zelkar {
namespace {

namespace fs = std::filesystem;

class RegularFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("zelkar-regular-" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path write(const std::string& name, const std::string& bytes) {
    const fs::path p = dir / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }
  fs::path dir;
};

TEST_F(RegularFileTest, AFileUpToTheLimitIsReadWholeOneByteMoreIsRefused) {
  const std::string atLimit(100, 'a');
  const FileRead whole = readRegularFile(write("at", atLimit), 100);
  ASSERT_TRUE(whole.ok()) << whole.error;
  EXPECT_EQ(*whole.bytes, atLimit);

  const FileRead over = readRegularFile(write("over", atLimit + "b"), 100);
  EXPECT_FALSE(over.ok());
  EXPECT_EQ(over.error, "is larger than 100 bytes");

  const FileRead empty = readRegularFile(write("empty", ""), 100);
  ASSERT_TRUE(empty.ok());
  EXPECT_EQ(*empty.bytes, "");
  // Bytes of every value pass through unchanged.
  const std::string binary("\0\r\n\xFF", 4);
  EXPECT_EQ(*readRegularFile(write("bin", binary), 4).bytes, binary);
}

TEST_F(RegularFileTest, WhatIsNotARegularFileIsRefusedWithoutWaiting) {
  EXPECT_EQ(readRegularFile(dir, 100).error, "is a folder, not a file");
  EXPECT_EQ(readRegularFile(dir / "missing", 100).error, "does not exist");
  // A pipe nobody writes to: opening it for reading would wait forever.
  const fs::path fifo = dir / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(readRegularFile(fifo, 100).error, "is a pipe, not a file");
  // An endless device, also behind a link.
  EXPECT_EQ(readRegularFile("/dev/zero", 100).error, "is a device, not a file");
  fs::create_symlink("/dev/zero", dir / "zero-link");
  EXPECT_EQ(readRegularFile(dir / "zero-link", 100).error, "is a device, not a file");
  // A link to a regular file is that file.
  write("target", "abc");
  fs::create_symlink(dir / "target", dir / "link");
  EXPECT_EQ(*readRegularFile(dir / "link", 100).bytes, "abc");
}

TEST_F(RegularFileTest, AStreamIsReadToItsEndOrRefusedPastTheLimit) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  ASSERT_EQ(::write(ends[1], "tick 5\n", 7), 7);
  ::close(ends[1]);
  const FileRead piped = readStream(ends[0], 7);
  ::close(ends[0]);
  ASSERT_TRUE(piped.ok()) << piped.error;
  EXPECT_EQ(*piped.bytes, "tick 5\n");

  // /dev/zero never ends: the read stops one byte past the limit.
  const int zero = ::open("/dev/zero", O_RDONLY);
  ASSERT_GE(zero, 0);
  EXPECT_EQ(readStream(zero, 1000).error, "is larger than 1000 bytes");
  ::close(zero);

  const int folder = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(folder, 0);
  EXPECT_EQ(readStream(folder, 1000).error, "is a folder, not a file");
  ::close(folder);
}

}  // namespace
}  // namespace zelkar

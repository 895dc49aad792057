#include "text/file_primitives.h"

#include <filesystem>

#include <gtest/gtest.h>
#include <unistd.h>

#include "support/temp_dir.h"
#include "text/gbk.h"
#include "text/text_primitives.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;

// A fresh folder for each test, removed afterwards.
class FilePrimitivesTest : public ::testing::Test {
 protected:
  void TearDown() override { SetWriteFaultForTesting({}); }

  // GBK path of a name (written as UTF-8 in the test) inside the folder.
  Text PathOf(const char* utf8_name) const {
    return ConcatText(dir_.gbk_path(), kPathSeparator, Utf8ToGbk(utf8_name));
  }
  fs::path NativeOf(const char* utf8_name) const { return dir_.Join(utf8_name); }

  static void WriteRaw(const fs::path& path, const std::string& content) {
    testing::WriteNativeFile(path.string(), content);
  }

  std::size_t EntryCount() const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
  }

  testing::TempDir dir_;
  const std::string& folder_ = dir_.path();
};

TEST_F(FilePrimitivesTest, WritesPartsInOrderSkippingEmptyOnes) {
  const Text path = PathOf("主图.jpg");
  EXPECT_TRUE(WriteFileBytes(path, Bytes{'a', 0}, Bytes{}, Bytes{'b', 'c'}));
  EXPECT_EQ(ReadFileBytes(path), (Bytes{'a', 0, 'b', 'c'}));
  // The name reaches the file system as UTF-8.
  EXPECT_TRUE(fs::exists(NativeOf("主图.jpg")));
  EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(FilePrimitivesTest, ReplacesALongerFileWhole) {
  const Text path = PathOf("info.txt");
  WriteRaw(NativeOf("info.txt"), "a much longer old content");
  EXPECT_TRUE(WriteFileBytes(path, ToBytes("new")));
  EXPECT_EQ(ReadFileBytes(path), ToBytes("new"));
}

TEST_F(FilePrimitivesTest, OnlyEmptyPartsLeaveAnEmptyFile) {
  WriteRaw(NativeOf("x"), "old");
  EXPECT_TRUE(WriteFileBytes(PathOf("x"), Bytes{}, Bytes{}));
  EXPECT_EQ(fs::file_size(NativeOf("x")), 0u);
  EXPECT_TRUE(WriteFileBytes(PathOf("fresh"), Bytes{}));
  EXPECT_TRUE(fs::exists(NativeOf("fresh")));
}

TEST_F(FilePrimitivesTest, RefusesWhatCannotBeCreated) {
  EXPECT_FALSE(WriteFileBytes(PathOf("missing/x.jpg"), ToBytes("data")));
  EXPECT_FALSE(fs::exists(NativeOf("missing")));
  EXPECT_FALSE(WriteFileBytes("", ToBytes("data")));
  // A folder where the file should be.
  fs::create_directory(NativeOf("taken"));
  EXPECT_FALSE(WriteFileBytes(PathOf("taken"), ToBytes("data")));
  EXPECT_TRUE(fs::is_directory(NativeOf("taken")));
  EXPECT_EQ(EntryCount(), 1u);  // no temporary file left behind
}

TEST_F(FilePrimitivesTest, FailedWriteKeepsTheOldFile) {
  const Text path = PathOf("1.jpg");
  WriteRaw(NativeOf("1.jpg"), "old image");
  int writes = 0;
  // The disk fills up after the first part.
  SetWriteFaultForTesting([&](const Text& written) { return written == path && ++writes > 1; });
  EXPECT_FALSE(WriteFileBytes(path, ToBytes("new "), ToBytes("image")));
  EXPECT_EQ(writes, 2);
  EXPECT_EQ(ReadFileBytes(path), ToBytes("old image"));
  EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(FilePrimitivesTest, BackslashInsideACharacterIsAnOrdinaryByte) {
  const Text name = Utf8ToGbk("誠");  // D5 5C: its second byte is a backslash
  ASSERT_EQ(name, "\xD5\x5C");
  const Text path = ConcatText(Utf8ToGbk(folder_), kPathSeparator, name);
  EXPECT_TRUE(WriteFileBytes(path, ToBytes("x")));
  EXPECT_TRUE(fs::exists(NativeOf("誠")));
  EXPECT_EQ(ReadFileBytes(path), ToBytes("x"));
}

TEST_F(FilePrimitivesTest, ReadGivesEmptyForWhatIsNotAReadableFile) {
  EXPECT_TRUE(ReadFileBytes("").empty());
  EXPECT_TRUE(ReadFileBytes(PathOf("missing")).empty());
  EXPECT_TRUE(ReadFileBytes(Utf8ToGbk(folder_)).empty());
}

TEST_F(FilePrimitivesTest, MakeDirectoryMakesExactlyOneLevel) {
  EXPECT_TRUE(MakeDirectory(PathOf("阿里巴巴")));
  EXPECT_TRUE(fs::is_directory(NativeOf("阿里巴巴")));
  EXPECT_FALSE(MakeDirectory(PathOf("阿里巴巴")));  // exists already
  EXPECT_FALSE(MakeDirectory(PathOf("a/b")));       // parent missing
  EXPECT_FALSE(fs::exists(NativeOf("a")));
  EXPECT_TRUE(MakeDirectory(PathOf("阿里巴巴/主图")));
  EXPECT_FALSE(MakeDirectory(""));
}

TEST_F(FilePrimitivesTest, PathExistsWithWildcards) {
  WriteRaw(NativeOf("1.jpg"), "x");
  WriteRaw(NativeOf("[a].txt"), "x");
  fs::create_directory(NativeOf("详情图"));
  const struct {
    const char* name;
    bool expected;
  } cases[] = {
      {"1.jpg", true},   {"详情图", true},  {"2.jpg", false},     {"*.jpg", true},
      {"?.jpg", true},   {"??.jpg", false}, {"*.png", false},     {"详*", true},
      {"[a].t?t", true}, {"a].txt", false}, {"missing/*", false},
  };
  for (const auto& c : cases) EXPECT_EQ(PathExists(PathOf(c.name)), c.expected) << c.name;
  EXPECT_FALSE(PathExists(""));
  EXPECT_TRUE(PathExists(Utf8ToGbk(folder_)));
  // An empty folder holds nothing, not even its links to itself and its parent.
  fs::create_directory(NativeOf("empty"));
  EXPECT_FALSE(PathExists(PathOf("empty/*")));
}

TEST_F(FilePrimitivesTest, RunDirectory) {
  const Text original = GetRunDirectory();
  EXPECT_FALSE(original.empty());
  EXPECT_NE(original.back(), kPathSeparator[0]);
  EXPECT_TRUE(PathExists(original));

  const Text chosen = Utf8ToGbk(folder_ + "/程序");
  fs::create_directory(NativeOf("程序"));
  SetRunDirectory(chosen + kPathSeparator);
  EXPECT_EQ(GetRunDirectory(), chosen);
  const fs::path previous = fs::current_path();
  EXPECT_TRUE(EnterRunDirectory());
  EXPECT_EQ(fs::current_path(), NativeOf("程序"));
  fs::current_path(previous);
  SetRunDirectory(original);
  EXPECT_EQ(GetRunDirectory(), original);
}

}  // namespace
}  // namespace tessaly

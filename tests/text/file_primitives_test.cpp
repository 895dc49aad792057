#include "text/file_primitives.h"

#include <filesystem>

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

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

// Permission bits and symbolic links as POSIX has them; Windows has neither in
// this form (its links need a privilege that ordinary sellers lack).
#ifndef _WIN32
TEST_F(FilePrimitivesTest, ReplacingAFileKeepsItsPermissions) {
  // The process's umask would give a new file other bits; the old file's stay.
  const mode_t previous_mask = ::umask(022);
  for (const fs::perms mode : {fs::perms(0600), fs::perms(0755), fs::perms(0666)}) {
    SCOPED_TRACE(static_cast<int>(mode));
    WriteRaw(NativeOf("kept.jpg"), "old");
    fs::permissions(NativeOf("kept.jpg"), mode);
    EXPECT_TRUE(WriteFileBytes(PathOf("kept.jpg"), ToBytes("new")));
    EXPECT_EQ(ReadFileBytes(PathOf("kept.jpg")), ToBytes("new"));
    EXPECT_EQ(fs::status(NativeOf("kept.jpg")).permissions(), mode);
  }
  // A file that did not exist gets the usual bits.
  EXPECT_TRUE(WriteFileBytes(PathOf("fresh.jpg"), ToBytes("new")));
  EXPECT_EQ(fs::status(NativeOf("fresh.jpg")).permissions(), fs::perms(0644));
  ::umask(previous_mask);
  EXPECT_EQ(EntryCount(), 2u);
}

TEST_F(FilePrimitivesTest, WritesThroughSymbolicLinksToTheirTarget) {
  fs::create_directory(NativeOf("store"));
  fs::create_directory(NativeOf("主图"));
  WriteRaw(NativeOf("store/real.jpg"), "old target");
  fs::permissions(NativeOf("store/real.jpg"), fs::perms(0600));
  struct Case {
    const char* link;
    std::string points_to;  // as written into the link
    const char* target;     // what receives the bytes
  };
  const Case cases[] = {
      {"主图/relative.jpg", "../store/real.jpg", "store/real.jpg"},
      {"主图/absolute.jpg", NativeOf("store/real.jpg").string(), "store/real.jpg"},
      // A link to a link: the end of the chain receives the bytes.
      {"主图/chained.jpg", "relative.jpg", "store/real.jpg"},
      // A dangling link gets its target created, as a shell's "> link" would.
      {"主图/dangling.jpg", "../store/new.jpg", "store/new.jpg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.link);
    fs::create_symlink(c.points_to, NativeOf(c.link));
    const Bytes bytes = ToBytes(std::string("via ") + c.link);

    EXPECT_TRUE(WriteFileBytes(PathOf(c.link), bytes));

    EXPECT_TRUE(fs::is_symlink(NativeOf(c.link)));
    EXPECT_EQ(fs::read_symlink(NativeOf(c.link)), c.points_to);
    EXPECT_EQ(ReadFileBytes(PathOf(c.target)), bytes);
  }
  EXPECT_EQ(fs::status(NativeOf("store/real.jpg")).permissions(), fs::perms(0600));
  // Nothing was left beside the links or the targets.
  EXPECT_EQ(std::distance(fs::directory_iterator(NativeOf("主图")), fs::directory_iterator()), 4);
  EXPECT_EQ(std::distance(fs::directory_iterator(NativeOf("store")), fs::directory_iterator()), 2);
}

TEST_F(FilePrimitivesTest, RefusesALoopOfSymbolicLinks) {
  fs::create_symlink("b.jpg", NativeOf("a.jpg"));
  fs::create_symlink("a.jpg", NativeOf("b.jpg"));
  // A dangling link into a folder that does not exist cannot be written either.
  fs::create_symlink("missing/c.jpg", NativeOf("c.jpg"));

  EXPECT_FALSE(WriteFileBytes(PathOf("a.jpg"), ToBytes("data")));
  EXPECT_FALSE(WriteFileBytes(PathOf("c.jpg"), ToBytes("data")));

  EXPECT_TRUE(fs::is_symlink(NativeOf("a.jpg")));
  EXPECT_TRUE(fs::is_symlink(NativeOf("b.jpg")));
  EXPECT_TRUE(fs::is_symlink(NativeOf("c.jpg")));
  EXPECT_EQ(EntryCount(), 3u);
}
#endif

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

TEST_F(FilePrimitivesTest, FileLengthIsForFilesOnly) {
  WriteRaw(NativeOf("主图.jpg"), "abc");
  WriteRaw(NativeOf("empty.jpg"), "");
  fs::create_directory(NativeOf("详情图"));
  EXPECT_EQ(FileLength(PathOf("主图.jpg")), 3);
  EXPECT_EQ(FileLength(PathOf("empty.jpg")), 0);
  EXPECT_EQ(FileLength(PathOf("详情图")), -1);
  EXPECT_EQ(FileLength(PathOf("missing.jpg")), -1);
  EXPECT_EQ(FileLength(""), -1);
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

// The file service as the program uses it. The same tests run natively
// against the posix mapping and under Wine against the real calls, so the
// mapping is held to what Windows does.
#include <gtest/gtest.h>

#include <algorithm>

#include "demo/installation.h"
#include "platform/platform.h"
#include "tests/support/fixture_drive.h"

namespace {

using demo::RemoveTree;
using okapi_test::TestMachine;

const std::string kDir = "c:\\okapi-files-test";

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(RemoveTree(kDir));
    ASSERT_TRUE(files.CreateDirectory(kDir));
  }
  void TearDown() override { EXPECT_TRUE(RemoveTree(kDir)); }

  void Write(const std::string& path, std::string_view bytes) {
    auto status = files.WriteFileAtomic(path, bytes);
    ASSERT_TRUE(status) << path << ": " << status.reason;
  }
  std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
  }

  TestMachine machine;
  platform::FileSystem& files = *platform::Os().files;
};

TEST_F(FilesTest, SpellingsWindowsAcceptsReachTheSameFile) {
  ASSERT_TRUE(files.CreateDirectory(kDir + "\\Sub Dir"));
  Write(kDir + "\\Sub Dir\\Data.ini", "[s]\r\nk=v\r\n");
  auto stamp = files.Stamp(kDir + "\\Sub Dir\\Data.ini");
  ASSERT_TRUE(stamp);

  for (const char* spelling : {
           "C:\\OKAPI-FILES-TEST\\SUB DIR\\DATA.INI",
           "c:\\okapi-files-test\\sub dir\\data.ini",
           "c:\\okapi-files-test\\\\Sub Dir\\\\Data.ini",
           "c:\\okapi-files-test\\Sub Dir\\Data.ini ",
           "c:\\okapi-files-test\\Sub Dir\\Data.ini.",
           "c:/okapi-files-test/sub dir/DATA.ini",
           "c:\\okapi-files-test\\.\\Sub Dir\\..\\Sub Dir\\Data.ini",
       }) {
    SCOPED_TRACE(spelling);
    EXPECT_TRUE(files.Exists(spelling));
    EXPECT_FALSE(files.IsDirectory(spelling));
    EXPECT_EQ("[s]\r\nk=v\r\n", files.ReadFile(spelling).value_or("<missing>"));
    EXPECT_EQ(stamp, files.Stamp(spelling));
  }
  EXPECT_TRUE(files.IsDirectory("C:\\Okapi-Files-Test\\sub dir\\"));
}

TEST_F(FilesTest, NewNamesKeepTheCaseGivenAndExistingNamesKeepTheirs) {
  ASSERT_TRUE(files.CreateDirectory(kDir + "\\MixedCase"));
  Write(kDir + "\\MIXEDCASE\\NewFile.TXT", "one");
  Write(kDir + "\\mixedcase\\newfile.txt", "two");  // replaces, keeps the first spelling

  EXPECT_EQ(std::vector<std::string>{"MixedCase"}, files.Find(kDir + "\\*"));
  EXPECT_EQ(std::vector<std::string>{"NewFile.TXT"}, files.Find(kDir + "\\mixedcase\\*"));
  EXPECT_EQ("two", files.ReadFile(kDir + "\\MixedCase\\NewFile.TXT").value_or(""));
}

TEST_F(FilesTest, MissingComponentsFailWithoutCreatingAnything) {
  const std::string missing = kDir + "\\no such dir\\file.ini";
  EXPECT_FALSE(files.Exists(missing));
  EXPECT_FALSE(files.ReadFile(missing));
  EXPECT_FALSE(files.Stamp(missing));
  EXPECT_FALSE(files.CreateDirectory(kDir + "\\no such dir\\child"));
  auto status = files.WriteFileAtomic(missing, "data");
  EXPECT_FALSE(status);
  EXPECT_FALSE(status.reason.empty());
  EXPECT_FALSE(files.CopyFile(kDir + "\\absent.ini", kDir + "\\copy.ini", false));
  EXPECT_FALSE(files.DeleteFile(kDir + "\\absent.ini"));
  EXPECT_TRUE(files.Find(kDir + "\\no such dir\\*").empty());
  EXPECT_TRUE(files.Find(kDir + "\\*").empty());
}

TEST_F(FilesTest, ADirectoryIsNeitherMadeTwiceNorTakenForAFile) {
  ASSERT_TRUE(files.CreateDirectory(kDir + "\\made"));
  EXPECT_FALSE(files.CreateDirectory(kDir + "\\MADE"));
  Write(kDir + "\\file", "x");
  EXPECT_FALSE(files.CreateDirectory(kDir + "\\file"));
  EXPECT_FALSE(files.DeleteFile(kDir + "\\made"));
  EXPECT_FALSE(files.WriteFileAtomic(kDir + "\\made", "x"));
  EXPECT_FALSE(files.ReadFile(kDir + "\\made"));
  EXPECT_TRUE(files.IsDirectory(kDir + "\\made"));
}

TEST_F(FilesTest, CopyWithFailIfExistsLeavesTheTargetAlone) {
  Write(kDir + "\\source.csv", "new");
  Write(kDir + "\\target.csv", "first");

  EXPECT_FALSE(files.CopyFile(kDir + "\\source.csv", kDir + "\\TARGET.csv", true));
  EXPECT_EQ("first", files.ReadFile(kDir + "\\target.csv").value_or(""));

  EXPECT_TRUE(files.CopyFile(kDir + "\\source.csv", kDir + "\\TARGET.csv", false));
  EXPECT_EQ("new", files.ReadFile(kDir + "\\target.csv").value_or(""));

  EXPECT_TRUE(files.CopyFile(kDir + "\\SOURCE.CSV", kDir + "\\fresh.csv", true));
  EXPECT_EQ("new", files.ReadFile(kDir + "\\fresh.csv").value_or(""));
}

TEST_F(FilesTest, CopyOntoItselfKeepsTheData) {
  Write(kDir + "\\same.ini", "keep me");
  EXPECT_FALSE(files.CopyFile(kDir + "\\same.ini", kDir + "\\SAME.INI", false));
  EXPECT_EQ("keep me", files.ReadFile(kDir + "\\same.ini").value_or(""));
}

TEST_F(FilesTest, ReadOnlyFilesRefuseChangesUntilMadeNormal) {
  Write(kDir + "\\locked.ini", "original");
  Write(kDir + "\\other.ini", "other");
  ASSERT_TRUE(files.SetReadOnly(kDir + "\\locked.ini"));

  auto status = files.WriteFileAtomic(kDir + "\\locked.ini", "changed");
  EXPECT_FALSE(status);
  EXPECT_FALSE(status.reason.empty());
  EXPECT_FALSE(files.CopyFile(kDir + "\\other.ini", kDir + "\\locked.ini", false));
  EXPECT_FALSE(files.DeleteFile(kDir + "\\locked.ini"));
  EXPECT_EQ("original", files.ReadFile(kDir + "\\locked.ini").value_or(""));
  // A failed write leaves no temporary file behind.
  EXPECT_EQ(Sorted({"locked.ini", "other.ini"}), Sorted(files.Find(kDir + "\\*")));

  ASSERT_TRUE(files.SetAttributesNormal(kDir + "\\locked.ini"));
  EXPECT_TRUE(files.WriteFileAtomic(kDir + "\\locked.ini", "changed"));
  EXPECT_EQ("changed", files.ReadFile(kDir + "\\locked.ini").value_or(""));
  EXPECT_TRUE(files.DeleteFile(kDir + "\\locked.ini"));
  EXPECT_FALSE(files.Exists(kDir + "\\locked.ini"));
}

TEST_F(FilesTest, FindMatchesNamesByPatternWithoutCase) {
  for (const char* name : {"a.jpg", "B.JPG", "ab.jpg", "photo.jpg.bak", "d.gif", "noext"}) {
    Write(kDir + "\\" + name, name);
  }
  ASSERT_TRUE(files.CreateDirectory(kDir + "\\sub.jpg"));

  const struct {
    std::string pattern;
    std::vector<std::string> names;
  } rows[] = {
      {"*.jpg", {"B.JPG", "a.jpg", "ab.jpg", "sub.jpg"}},
      {"*.JPG", {"B.JPG", "a.jpg", "ab.jpg", "sub.jpg"}},
      {"?.jpg", {"B.JPG", "a.jpg"}},
      {"a*", {"a.jpg", "ab.jpg"}},
      {"*.*", {"B.JPG", "a.jpg", "ab.jpg", "d.gif", "noext", "photo.jpg.bak", "sub.jpg"}},
      {"*", {"B.JPG", "a.jpg", "ab.jpg", "d.gif", "noext", "photo.jpg.bak", "sub.jpg"}},
      {"b.jpg", {"B.JPG"}},
      {"*.png", {}},
      {"*o*.*", {"noext", "photo.jpg.bak"}},  // a trailing ".*" asks for no dot
      {"*.jpg.*", {"B.JPG", "a.jpg", "ab.jpg", "photo.jpg.bak", "sub.jpg"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.pattern);
    EXPECT_EQ(row.names, Sorted(files.Find(kDir + "\\" + row.pattern)));
  }
  EXPECT_EQ(std::vector<std::string>{"a.jpg"}, Sorted(files.Find("C:\\OKAPI-files-test\\\\A.JPG")));
}

TEST_F(FilesTest, AtomicWriteReplacesWholeAndChangesTheStamp) {
  const std::string path = kDir + "\\lumen-config.ini";
  Write(path, std::string(5000, 'a'));
  auto before = files.Stamp(path);
  ASSERT_TRUE(before);
  EXPECT_EQ(5000u, before->size);
  EXPECT_EQ(before, files.Stamp(path));

  Write(path, std::string(5000, 'b'));  // same size: only the identity or time tells
  auto after = files.Stamp(path);
  ASSERT_TRUE(after);
  EXPECT_NE(before, after);
  EXPECT_EQ(std::string(5000, 'b'), files.ReadFile(path).value_or(""));

  Write(path, "");
  EXPECT_EQ("", files.ReadFile(path).value_or("<missing>"));
  EXPECT_EQ(0u, files.Stamp(path)->size);
  EXPECT_EQ(std::vector<std::string>{"lumen-config.ini"}, files.Find(kDir + "\\*"));
}

TEST_F(FilesTest, BinaryContentSurvivesUnchanged) {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
  bytes += "\r\n\n\r\x1a";
  Write(kDir + "\\blob.bin", bytes);
  EXPECT_EQ(bytes, files.ReadFile(kDir + "\\blob.bin").value_or(""));
  ASSERT_TRUE(files.CopyFile(kDir + "\\blob.bin", kDir + "\\copy.bin", true));
  EXPECT_EQ(bytes, files.ReadFile(kDir + "\\copy.bin").value_or(""));
}

TEST_F(FilesTest, RemoveDirectoryTakesOnlyEmptyOnes) {
  ASSERT_TRUE(files.CreateDirectory(kDir + "\\full"));
  Write(kDir + "\\full\\x", "x");
  EXPECT_FALSE(files.RemoveDirectory(kDir + "\\full"));
  ASSERT_TRUE(files.DeleteFile(kDir + "\\FULL\\X"));
  EXPECT_TRUE(files.RemoveDirectory(kDir + "\\Full"));
  EXPECT_FALSE(files.Exists(kDir + "\\full"));
}

}  // namespace

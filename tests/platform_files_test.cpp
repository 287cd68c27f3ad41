// The file and registry services as the program uses them. The same tests
// run natively against the posix mapping and the in-memory registry, under
// Wine against the real calls, so the stand-ins are held to what Windows
// does. (The version reader is held to the system's by the discovery tests.)
#include <gtest/gtest.h>

#include <algorithm>

#include "demo/installation.h"
#include "platform/platform.h"
#include "tests/support/fixture_drive.h"

namespace {

using platform::Access;
using platform::Hive;

const std::string kDir = "c:\\okapi-files-test";

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(demo::RemoveTree(kDir));
    ASSERT_TRUE(files.MakeDirectory(kDir));
  }
  void TearDown() override { EXPECT_TRUE(demo::RemoveTree(kDir)); }

  static std::string Path(const std::string& name) { return kDir + "\\" + name; }
  void Write(const std::string& name, std::string_view bytes) {
    auto status = files.WriteFileAtomic(Path(name), bytes);
    ASSERT_TRUE(status) << name << ": " << status.reason;
  }
  std::string Read(const std::string& name) {
    return files.ReadFile(Path(name)).value_or("<missing>");
  }
  std::vector<std::string> Find(const std::string& pattern) {
    std::vector<std::string> names = files.Find(Path(pattern));
    std::sort(names.begin(), names.end());
    return names;
  }

  okapi_test::TestMachine machine;
  platform::FileSystem& files = *platform::Os().files;
};

TEST_F(FilesTest, SpellingsWindowsAcceptsReachTheSameFileAndNamesKeepTheirFirstCase) {
  ASSERT_TRUE(files.MakeDirectory(Path("Sub Dir")));
  Write("Sub Dir\\Data.ini", "[s]\r\nk=v\r\n");
  auto stamp = files.Stamp(Path("Sub Dir\\Data.ini"));
  ASSERT_TRUE(stamp);

  for (const char* spelling : {
           "C:\\OKAPI-FILES-TEST\\SUB DIR\\DATA.INI",
           "c:\\okapi-files-test\\sub dir\\data.ini",
           "c:\\okapi-files-test\\\\Sub Dir\\\\Data.ini",
           "c:/okapi-files-test/sub dir/DATA.ini",
           "c:\\okapi-files-test\\.\\Sub Dir\\..\\Sub Dir\\Data.ini",
       }) {
    SCOPED_TRACE(spelling);
    EXPECT_TRUE(files.Exists(spelling));
    EXPECT_EQ("[s]\r\nk=v\r\n", files.ReadFile(spelling).value_or("<missing>"));
    EXPECT_EQ(stamp, files.Stamp(spelling));
  }
  EXPECT_TRUE(files.IsDirectory("C:\\Okapi-Files-Test\\sub dir\\"));

  // New names keep the case given, existing ones keep theirs.
  Write("SUB DIR\\NewFile.TXT", "one");
  Write("sub dir\\newfile.txt", "two");
  EXPECT_EQ((std::vector<std::string>{"Data.ini", "NewFile.TXT"}), Find("sub dir\\*"));
  EXPECT_EQ(std::vector<std::string>{"Sub Dir"}, Find("*"));
  EXPECT_EQ("two", Read("Sub Dir\\NewFile.TXT"));
}

TEST_F(FilesTest, MissingComponentsAndDirectoriesRefuseFileWork) {
  const std::string missing = Path("no such dir\\file.ini");
  EXPECT_FALSE(files.Exists(missing));
  EXPECT_FALSE(files.ReadFile(missing));
  EXPECT_FALSE(files.Stamp(missing));
  EXPECT_FALSE(files.MakeDirectory(Path("no such dir\\child")));
  EXPECT_FALSE(files.WriteFileAtomic(missing, "data").reason.empty());
  EXPECT_FALSE(files.Copy(Path("absent.ini"), Path("copy.ini"), false));
  EXPECT_TRUE(Find("no such dir\\*").empty());
  for (const char* refused : {"a|b", "what?", "1:\\x"})  // by Windows, so here too
    EXPECT_FALSE(files.WriteFileAtomic(Path(refused), "x")) << refused;

  ASSERT_TRUE(files.MakeDirectory(Path("made")));
  EXPECT_FALSE(files.WriteFileAtomic(Path("made"), "x"));
  EXPECT_FALSE(files.ReadFile(Path("made")));
}

TEST_F(FilesTest, CopyKeepsEveryByteAndNeverOverwritesWhatItMayNot) {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
  bytes += "\r\n\n\r\x1a";
  Write("source.bin", bytes);
  Write("target.bin", "first");

  EXPECT_FALSE(files.Copy(Path("source.bin"), Path("TARGET.bin"), true));
  EXPECT_EQ("first", Read("target.bin"));
  EXPECT_TRUE(files.Copy(Path("source.bin"), Path("TARGET.bin"), false));
  EXPECT_EQ(bytes, Read("target.bin"));
  EXPECT_TRUE(files.Copy(Path("SOURCE.BIN"), Path("fresh.bin"), true));
  EXPECT_EQ(bytes, Read("fresh.bin"));
  // Onto itself: refused, and the data stays.
  EXPECT_FALSE(files.Copy(Path("fresh.bin"), Path("FRESH.BIN"), false));
  EXPECT_EQ(bytes, Read("fresh.bin"));
}

TEST_F(FilesTest, ReadOnlyFilesRefuseChangesUntilMadeNormal) {
  Write("locked.ini", "original");
  Write("other.ini", "other");
  ASSERT_TRUE(files.SetReadOnly(Path("locked.ini")));

  EXPECT_FALSE(files.WriteFileAtomic(Path("locked.ini"), "changed").reason.empty());
  EXPECT_FALSE(files.Copy(Path("other.ini"), Path("locked.ini"), false));
  EXPECT_FALSE(files.Remove(Path("locked.ini")));
  EXPECT_EQ("original", Read("locked.ini"));
  // A failed write leaves no temporary file behind.
  EXPECT_EQ((std::vector<std::string>{"locked.ini", "other.ini"}), Find("*"));

  ASSERT_TRUE(files.SetAttributesNormal(Path("locked.ini")));
  Write("locked.ini", "changed");
  EXPECT_EQ("changed", Read("locked.ini"));
}

TEST_F(FilesTest, FindMatchesNamesByPatternWithoutCase) {
  for (const char* name : {"a.jpg", "B.JPG", "ab.jpg", "photo.jpg.bak", "d.gif", "noext"})
    Write(name, name);
  ASSERT_TRUE(files.MakeDirectory(Path("sub.jpg")));

  EXPECT_EQ((std::vector<std::string>{"B.JPG", "a.jpg", "ab.jpg", "sub.jpg"}), Find("*.jpg"));
}

using RegistryTest = okapi_test::MachineTest;

TEST_F(RegistryTest, NamesIgnoreCaseAValueFitsWithItsZeroAndOnlyAWriterSetsOne) {
  platform::Registry& registry = *platform::Os().registry;
  const std::string key = "Software\\ZAN\\OkapiRegistryTest\\Inner";
  ASSERT_TRUE(registry.CreateAndSet(Hive::LocalMachine, key, "InstallDir", "c:\\zan\\"));
  ASSERT_TRUE(registry.CreateAndSet(Hive::LocalMachine, key, "", "hhctrl.ocx"));
  auto reader =
      registry.Open(Hive::LocalMachine, "SOFTWARE\\zan\\okapiregistrytest\\INNER", Access::Read);
  ASSERT_TRUE(reader);
  EXPECT_EQ("c:\\zan\\", reader->QueryString("installdir", 260).value_or("<none>"));
  EXPECT_FALSE(reader->QueryString("InstallPath", 260));
  EXPECT_FALSE(registry.Open(Hive::LocalMachine, key + "\\Missing", Access::Read));
  EXPECT_FALSE(registry.Open(Hive::ClassesRoot, key, Access::Read));
  // The empty name is the key's default value.
  EXPECT_EQ("hhctrl.ocx", reader->QueryString("", 11).value_or("<none>"));
  EXPECT_FALSE(reader->QueryString("", 10));

  EXPECT_FALSE(reader->SetString("File", "by reader"));
  auto writer = registry.Open(Hive::LocalMachine, key, Access::Write);
  ASSERT_TRUE(writer);
  EXPECT_TRUE(writer->SetString("File", "c:\\Program Files\\Tool\\tool.exe"));
  EXPECT_EQ("c:\\Program Files\\Tool\\tool.exe", reader->QueryString("File", 255).value_or(""));
}

}  // namespace

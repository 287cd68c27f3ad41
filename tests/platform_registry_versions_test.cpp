// Registry and file-version services as the program uses them. Under Wine
// the real calls answer, so the in-memory registry and the scanning version
// reader are held to the same results.
#include <gtest/gtest.h>

#include "demo/installation.h"
#include "platform/platform.h"
#include "platform/version_resource.h"
#include "tests/support/fixture_drive.h"

namespace {

using demo::Exe;
using platform::Access;
using platform::Hive;

const std::string kKey = "Software\\ZAN\\OkapiRegistryTest";

class RegistryTest : public okapi_test::MachineTest {
 protected:
  platform::Registry& registry = *platform::Os().registry;
};

TEST_F(RegistryTest, KeysAndValuesAreFoundWithoutRegardToCase) {
  ASSERT_TRUE(registry.CreateAndSet(Hive::LocalMachine, kKey + "\\Inner", "InstallDir",
                                    "c:\\zantools\\zanhelp\\"));
  auto key =
      registry.Open(Hive::LocalMachine, "SOFTWARE\\zan\\okapiregistrytest\\INNER", Access::Read);
  ASSERT_TRUE(key);
  EXPECT_EQ("c:\\zantools\\zanhelp\\", key->QueryString("installdir", 260).value_or("<none>"));
  EXPECT_FALSE(key->QueryString("InstallPath", 260));
  EXPECT_FALSE(registry.Open(Hive::LocalMachine, kKey + "\\Missing", Access::Read));
  EXPECT_FALSE(registry.Open(Hive::ClassesRoot, kKey + "\\Inner", Access::Read));
}

TEST_F(RegistryTest, ValueMustFitTheBufferWithItsTerminatingZero) {
  ASSERT_TRUE(registry.CreateAndSet(Hive::LocalMachine, kKey, "File", "123456789"));
  auto key = registry.Open(Hive::LocalMachine, kKey, Access::Read);
  ASSERT_TRUE(key);
  EXPECT_EQ("123456789", key->QueryString("File", 10).value_or("<none>"));
  EXPECT_FALSE(key->QueryString("File", 9));
  EXPECT_FALSE(key->QueryString("File", 0));
}

TEST_F(RegistryTest, DefaultValueHasTheEmptyName) {
  ASSERT_TRUE(registry.CreateAndSet(Hive::LocalMachine, kKey, "", "hhctrl.ocx"));
  auto key = registry.Open(Hive::LocalMachine, kKey, Access::Read);
  ASSERT_TRUE(key);
  EXPECT_EQ("hhctrl.ocx", key->QueryString("", 260).value_or("<none>"));
}

TEST_F(RegistryTest, OnlyAKeyOpenedForWritingTakesValues) {
  ASSERT_TRUE(registry.CreateAndSet(Hive::LocalMachine, kKey, "File", "old"));
  auto reader = registry.Open(Hive::LocalMachine, kKey, Access::Read);
  ASSERT_TRUE(reader);
  EXPECT_FALSE(reader->SetString("File", "by reader"));

  auto writer = registry.Open(Hive::LocalMachine, kKey, Access::Write);
  ASSERT_TRUE(writer);
  EXPECT_TRUE(writer->SetString("File", "c:\\Program Files\\Tool\\tool.exe"));
  EXPECT_EQ("c:\\Program Files\\Tool\\tool.exe", reader->QueryString("File", 255).value_or(""));
}

TEST_F(RegistryTest, DeleteTreeTakesTheKeyWithEverythingBelowAndToleratesAbsence) {
  ASSERT_TRUE(registry.CreateAndSet(Hive::LocalMachine, kKey + "\\A\\B", "x", "1"));
  ASSERT_TRUE(registry.CreateAndSet(Hive::LocalMachine, kKey, "y", "2"));
  EXPECT_TRUE(registry.DeleteTree(Hive::LocalMachine, kKey));
  EXPECT_FALSE(registry.Open(Hive::LocalMachine, kKey, Access::Read));
  EXPECT_FALSE(registry.Open(Hive::LocalMachine, kKey + "\\A\\B", Access::Read));
  EXPECT_TRUE(registry.Open(Hive::LocalMachine, "Software\\ZAN", Access::Read));
  EXPECT_TRUE(registry.DeleteTree(Hive::LocalMachine, kKey));
  EXPECT_FALSE(registry.DeleteTree(Hive::LocalMachine, ""));
}

class VersionsTest : public okapi_test::MachineTest {};

TEST_F(VersionsTest, FixtureExecutablesCarryTheirVersions) {
  const struct {
    const char* name;
    Exe exe;
    std::optional<std::uint32_t> ms, ls;
  } rows[] = {
      {"3.5.0.0", Exe::V3_5_0_0, 0x00030005, 0x00000000},
      {"3.5.2.7", Exe::V3_5_2_7, 0x00030005, 0x00020007},
      {"3.0.1.0", Exe::V3_0_1_0, 0x00030000, 0x00010000},
      {"3.6.0.0", Exe::V3_6_0_0, 0x00030006, 0x00000000},
      {"none", Exe::NoVersionResource, std::nullopt, std::nullopt},
  };
  ASSERT_TRUE(demo::MakeDirectories("c:\\zantools"));
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string path = std::string("c:\\zantools\\") + row.name + ".exe";
    std::string_view bytes = demo::ExecutableBytes(row.exe);
    ASSERT_FALSE(bytes.empty());
    ASSERT_TRUE(platform::Os().files->WriteFileAtomic(path, bytes));

    auto read = platform::Os().versions->Read(path);
    auto scanned = platform::FindVersionResource(bytes);
    ASSERT_EQ(row.ms.has_value(), read.has_value());
    ASSERT_EQ(read.has_value(), scanned.has_value());
    if (!row.ms) continue;
    ASSERT_TRUE(read->fixed);
    ASSERT_TRUE(scanned->fixed);
    EXPECT_EQ(*row.ms, read->fixed->fileVersionMS);
    EXPECT_EQ(*row.ls, read->fixed->fileVersionLS);
    EXPECT_EQ(*row.ms, scanned->fixed->fileVersionMS);
    EXPECT_EQ(*row.ls, scanned->fixed->fileVersionLS);
  }
}

TEST(VersionResourceScan, ReadsTheLayoutAndRejectsWhatIsNoExecutable) {
  // A version block as windres lays it: header, key, padding, fixed info.
  auto block = [](std::uint16_t valueLength, std::uint32_t signature) {
    std::string bytes = "MZ";
    bytes.append(6, '\0');  // keeps the block 32-bit aligned
    bytes += std::string("\x5c\x01", 2);
    bytes += static_cast<char>(valueLength);
    bytes += '\0';
    bytes += std::string("\0\0", 2);
    for (char c : std::string("VS_VERSION_INFO")) bytes += std::string{c, '\0'};
    bytes += std::string(4, '\0');  // the key's zero and the padding
    for (std::uint32_t word : {signature, 0x00010000u, 0x00030005u, 0x00020007u}) {
      for (int i = 0; i < 4; ++i) bytes += static_cast<char>((word >> (8 * i)) & 0xff);
    }
    bytes.append(36, '\0');
    return bytes;
  };

  auto good = platform::FindVersionResource(block(52, 0xFEEF04BD));
  ASSERT_TRUE(good && good->fixed);
  EXPECT_EQ(0x00030005u, good->fixed->fileVersionMS);
  EXPECT_EQ(0x00020007u, good->fixed->fileVersionLS);

  auto empty = platform::FindVersionResource(block(0, 0));
  ASSERT_TRUE(empty);
  EXPECT_FALSE(empty->fixed);

  EXPECT_FALSE(platform::FindVersionResource(block(52, 0xFEEF04BD).substr(2)));  // no "MZ"
  EXPECT_FALSE(platform::FindVersionResource(block(52, 0x12345678)));
  EXPECT_FALSE(platform::FindVersionResource(block(52, 0xFEEF04BD).substr(0, 60)));
  EXPECT_FALSE(platform::FindVersionResource(""));
}

}  // namespace

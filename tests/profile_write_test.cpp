// Writing rules of the profile engine: the bytes a write leaves behind. Every
// byte the write does not need to touch must survive.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "store/profile.h"
#include "store/profile_text.h"
#include "tests/support/bytes.h"
#include "tests/support/counting_files.h"
#include "tests/support/rows.h"

namespace {

using okapi_test::Utf16;
using namespace std::string_literals;

constexpr const char* kFile = "c:\\data\\test.ini";

TEST(ProfileWrite, LeavesTheExpectedBytes) {
  for (const okapi_test::Row& row : okapi_test::Rows("profile_write.rows")) {
    SCOPED_TRACE(row["name"]);
    okapi_test::ScopedCountingFiles files;
    files->AddDirectory("c:\\data");
    if (row.Get("before")) files->AddFile(kFile, row["before"]);
    int reported = 0;
    store::SetWriteFailureReporter([&](const std::string&, const std::string&) { ++reported; });
    EXPECT_EQ(!row.Get("refused"),
              store::WriteString(row["section"], row.Get("key"), row.Get("value"), kFile).ok);
    store::SetWriteFailureReporter(nullptr);
    EXPECT_EQ(row.Get("refused") ? 1 : 0, reported);
    EXPECT_EQ(row["after"], files->Contents(kFile));
  }
}

// Batches skip the writes that would give the text back; a wrong skip loses a write.
TEST(ProfileWriteKeeps, OnlyWritesThatChangeNoByte) {
  const struct {
    std::string before;
    const char* key;
    bool keeps;
  } rows[] = {
      {"[s]\r\nk=v\r\n", "k", true},       {"[s]\r\nK=v\r\n", "k", true},
      {"[s]\r\nk=v", "k", false},          {"[s]\r\nk = v\r\n", "k", false},
      {"[s]\r\nk\r\nk=v\r\n", "k", false}, {"[s]\r\n;k=v\r\n", ";k", false},
      {"[s]\r\nk=vv\r\n", "k", false},     {Utf16("[s]\r\nk=v\r\n"), "k", false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.before);
    const store::ProfileText text(row.before);
    EXPECT_EQ(row.keeps, text.Keeps("s", row.key, "v"));
    if (row.keeps) {
      EXPECT_EQ(row.before, text.Edited("s", row.key, "v"));
    }
  }
}

TEST(ProfileWriteRoundTrip, WhatIsWrittenIsReadBack) {
  okapi_test::ScopedCountingFiles files;
  files->AddDirectory("c:\\data");
  for (const std::string& value :
       {"plain"s, ""s, "a=b"s, "x;y"s, "__TITLE__,\"Lumen ZAN\""s, std::string(65535, 'v')}) {
    SCOPED_TRACE(value.substr(0, 40));
    ASSERT_TRUE(store::WriteString("s", "k", value, kFile).ok);
    EXPECT_EQ(value, store::ReadString("s", "k", "d", 70000, kFile));
  }
  // One pair of enclosing quotes is the price of keeping the inner pair.
  ASSERT_TRUE(store::WriteString("s", "k", "\"\"quoted\"\"", kFile).ok);
  EXPECT_EQ("\"quoted\"", store::ReadString("s", "k", "d", 64, kFile));
}

}  // namespace

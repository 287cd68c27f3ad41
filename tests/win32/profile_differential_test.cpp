// The engine against the system's GetPrivateProfileStringA and
// WritePrivateProfileStringA on the same files. Where Wine is known to differ
// from Windows, the engine's own read and write tests hold what Windows does.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "demo/installation.h"
#include "store/profile.h"
#include "tests/support/bytes.h"

namespace {

using okapi_test::Utf16;

const std::string kDir = "c:\\okapi-differential";

struct Probe {
  std::string section;
  std::string key;
  std::string def = "d";
  std::size_t size = 256;
};

struct Write {
  std::string section;
  std::optional<std::string> key;
  std::optional<std::string> value;
};

struct Row {
  const char* behaviour;
  std::optional<std::string> file;  // nullopt: no file at first
  std::vector<Probe> probes;
  std::vector<Write> writes = {};  // applied by each side to its own copy before the probes
};

using Probes = std::vector<Probe>;
using Writes = std::vector<Write>;

std::ostream& operator<<(std::ostream& os, const Row& r) { return os << r.behaviour; }

const std::string kMessy =
    "; head\r\npre=top\r\n  [Lumen Text] ; after\r\nTEXT1 =  __TITLE__,\"Lumen ZAN\"\r\n\r\n"
    "odd line\nTEXT2=x\r\n; tail comment\r\n\r\n[Other]\rflag=TRUE";

const std::vector<Probe> kMessyProbes = {{"lumen text", "text1"}, {"Lumen Text", "TEXT2"},
                                         {"Lumen Text", "TEXT3"}, {"other", "FLAG"},
                                         {"Other", "new"},        {"New", "k"}};

const std::vector<Row> kReads = {
    {"names ignore case", "[Lumen Text]\r\nTEXT1=v\r\n", {{"LUMEN TEXT", "text1"}}},
    {"missing file gives the default", std::nullopt, {{"s", "k", "Error"}}},
    {"cut to size minus one", "[s]\nk=abcdef\n", {{"s", "k", "d", 4}, {"s", "k", "d", 1}}},
    {"CR alone ends a line", "[s]\rk=v\rj=w", {{"s", "k"}, {"s", "j"}}},
    {"LF alone ends a line", "[s]\nk=v\nj=w\n", {{"s", "j"}}},
    {"blanks inside brackets and around entries", "  [ \t s \v]\n \t k \t= v \t\n", {{"s", "k"}}},
    {"empty value is not the default", "[s]\nk=\n", {{"s", "k"}}},
    {"line without equals sign", "[s]\nk\n", {{"s", "k"}}},
    {"first duplicate key wins", "[s]\nk=1\nK=2\n", {{"s", "k"}}},
    {"later duplicate section not searched", "[s]\na=1\n[t]\n[S]\nb=2\n", {{"s", "b"}}},
    {"quotes", "[s]\na=\"v\"\nb='v'\nc=\"\"v\"\"\nd=\"v'\ne=\"\nf=\"a\" \"b\"\ng=x\"y\"\n",
     Probes{{"s", "a"}, {"s", "b"}, {"s", "c"}, {"s", "d"}, {"s", "e"}, {"s", "f"}, {"s", "g"}}},
    {"quoted value cut", "[s]\nk=\"hello\"\n", {{"s", "k", "d", 6}, {"s", "k", "d", 7}}},
    {"marker entry keeps its quotes", "[Lumen Text]\r\nTEXT1=__TITLE__,\"Lumen ZAN\"\r\n",
     Probes{{"Lumen Text", "TEXT1"}}},
    {"UTF-8 mark before a blank line 1", "\xEF\xBB\xBF\r\n[s]\r\nk=v\r\n", {{"s", "k"}}},
    {"UTF-16 LE", Utf16("[s]\r\nk=v\r\n"), {{"S", "K"}}},
};

const std::vector<Row> kWrites = {
    {"replace in place", kMessy, kMessyProbes, {{"LUMEN TEXT", "text2", "y"}}},
    {"replace the last line without line end", kMessy, kMessyProbes, {{"other", "FLAG", "no"}}},
    {"add keys and a section", kMessy, kMessyProbes,
     Writes{{"Lumen Text", "TEXT3", "z"}, {"Other", "new", "1"}, {"New", "k", "v"}}},
    {"delete a key", kMessy, kMessyProbes, {{"Lumen Text", "TEXT1", std::nullopt}}},
    {"delete a section", kMessy, kMessyProbes, {{"lumen text", std::nullopt, std::nullopt}}},
    {"create the file", std::nullopt, {{"s", "k"}, {"S", "J"}}, {{"s", "k", "v"}, {"s", "j", "w"}}},
    {"verbatim values, read trimmed and unquoted", "[s]\r\n",
     Probes{{"s", "a"}, {"s", "b"}, {"s", "c"}, {"s", "d"}},
     Writes{{"s", "a", "  v  "}, {"s", "b", "\"q\""}, {"s", "c", "x;y"}, {"s", "d", ""}}},
    {"first of duplicate sections gets it", "[s]\r\na=1\r\n[t]\r\n[s]\r\nb=2\r\n",
     Probes{{"s", "a"}, {"s", "b"}}, Writes{{"s", "b", "3"}}},
    {"UTF-16 file", Utf16("[s]\r\nk=1\r\n"), Probes{{"s", "k"}, {"s", "j"}},
     Writes{{"s", "k", "2"}, {"s", "j", "3"}}},
    {"new keys after blank lines and a header with trailing text",
     "[s] ; note\r\na=1\r\n\r\n\r\n[t]\r\nb=2\r\n",
     Probes{{"s", "a"}, {"s", "c"}, {"t", "b"}, {"t", "d"}},
     Writes{{"s", "c", "3"}, {"t", "d", "4"}}},
    {"delete the first of duplicate sections", "[s]\r\na=1\r\n[s]\r\nb=2\r\n",
     Probes{{"s", "a"}, {"s", "b"}}, Writes{{"s", std::nullopt, std::nullopt}}},
    {"a key set over a line without '='", "[s]\r\nk\r\nj=1\r\n", Probes{{"s", "k"}, {"s", "j"}},
     Writes{{"s", "k", "v"}}},
};

class ProfileDifferential : public testing::TestWithParam<Row> {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(demo::RemoveTree(kDir));
    ASSERT_TRUE(CreateDirectoryA(kDir.c_str(), nullptr));
  }
  static void TearDownTestSuite() { EXPECT_TRUE(demo::RemoveTree(kDir)); }

  // Every file gets a new name: the system caches profiles by name.
  static std::string NewFile(const std::optional<std::string>& bytes) {
    static int counter = 0;
    const std::string path = kDir + "\\f" + std::to_string(++counter) + ".ini";
    EXPECT_TRUE(!bytes || platform::Os().files->WriteFileAtomic(path, *bytes)) << path;
    return path;
  }

  // The system's answer to the probe.
  static std::string Answer(const Probe& p, const std::string& file) {
    std::string buffer(p.size + 1, '\0');
    buffer.resize(GetPrivateProfileStringA(p.section.c_str(), p.key.c_str(), p.def.c_str(),
                                           buffer.data(), static_cast<DWORD>(p.size),
                                           file.c_str()));
    return buffer;
  }
};

TEST_P(ProfileDifferential, EngineAnswersAsWindows) {
  const Row& row = GetParam();
  const std::string engineFile = NewFile(row.file);
  const std::string systemFile = row.writes.empty() ? engineFile : NewFile(row.file);
  for (const Write& w : row.writes) {
    const std::optional<std::string_view> key = w.key, value = w.value;
    EXPECT_TRUE(store::WriteString(w.section, key, value, engineFile).ok);
    EXPECT_TRUE(WritePrivateProfileStringA(w.section.c_str(), w.key ? w.key->c_str() : nullptr,
                                           w.value ? w.value->c_str() : nullptr,
                                           systemFile.c_str()));
  }
  for (const Probe& p : row.probes) {
    SCOPED_TRACE("[" + p.section + "] " + p.key + " size " + std::to_string(p.size));
    const std::string engine = store::ReadString(p.section, p.key, p.def, p.size, engineFile);
    EXPECT_EQ(Answer(p, systemFile), engine);
    // What the engine wrote reads the same through the system.
    if (!row.writes.empty()) {
      EXPECT_EQ(Answer(p, engineFile), engine);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Reads, ProfileDifferential, testing::ValuesIn(kReads));
INSTANTIATE_TEST_SUITE_P(Writes, ProfileDifferential, testing::ValuesIn(kWrites));

}  // namespace

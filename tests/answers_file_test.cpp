// The answers file's text form: what is taken, what is refused and on which
// line, and that an export reads back as it was written.
#include "app/answers_file.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "app/answers_command.h"

namespace {

const answers::Schema kSchema = {{"Company", {"Name"}},
                                 {"Menu", {"Title1", "Key1", "FourthMenu"}},
                                 {"Backgrounds", {"Name#", "File#"}}};

answers::Answers Taken(const std::string& text) {
  auto parsed = answers::Parse(text, kSchema);
  if (auto* refusal = std::get_if<answers::Refusal>(&parsed)) {
    ADD_FAILURE() << "refused on line " << refusal->line << ": " << refusal->text;
    return {};
  }
  return std::get<answers::Answers>(parsed);
}

TEST(AnswersFile, TakesWhatAnAdministratorWouldWrite) {
  const auto a = Taken(
      "\xEF\xBB\xBF; written by hand\n"
      "  [company]  \r\n"
      "name =  Tabula Inc.  \r\n"
      "\n# the menus\n"
      "[MENU]\n"
      "title1=\" Getting Started \"\n"
      "KEY1=\"\"\n"
      "[Backgrounds]\n"
      "name12=Sea = view\n");
  ASSERT_NE(a.Find("Company", "Name"), nullptr);
  EXPECT_EQ(a.Find("COMPANY", "NAME")->value, "Tabula Inc.");
  EXPECT_EQ(a.Find("Menu", "Title1")->value, " Getting Started ");
  EXPECT_EQ(a.Find("Menu", "Key1")->value, "");
  EXPECT_EQ(a.Find("Menu", "Key1")->line, 8);
  EXPECT_EQ(a.Find("Menu", "FourthMenu"), nullptr);  // absent: left as it is
  EXPECT_EQ(a.Find("Backgrounds", "Name12")->value, "Sea = view");
  // Spelled as the schema spells them, for the export and the log.
  EXPECT_EQ(a.Sections()[1].name, "Menu");
  EXPECT_EQ(a.Sections()[1].answers[0].key, "Title1");
}

TEST(AnswersFile, RefusesWithTheLineAndWhy) {
  const struct {
    std::string text;
    int line;
    std::string why;
  } rows[] = {
      {"[Company]\nName=x\n[Colours]\n", 3, "OKAPI knows no section [Colours]."},
      {"[Company]\nName=x\nTitle=y\n", 3, "OKAPI knows no key Title in section [Company]."},
      {"Name=x\n[Company]\n", 1, "The line comes before the first section."},
      {"[Company]\nName=x\nname=y\n", 3, "The key Name is in section [Company] twice."},
      {"[Company]\n[Menu]\n[company]\n", 3, "The section [Company] is there twice."},
      {"[Company]\nTabula\n", 2, "The line is neither a section, a Key=Value line nor a comment."},
      {"[Company\n", 1, "The section name has no closing ]."},
      {"[Backgrounds]\nName100=x\n", 2, "OKAPI knows no key Name100 in section [Backgrounds]."},
      {"[Backgrounds]\nName=x\n", 2, "OKAPI knows no key Name in section [Backgrounds]."},
      {std::string("\xFF\xFE[\0C\0", 6), 0, "The file is not plain text"},
      {std::string(answers::kMaxBytes + 1, ';'), 0, "The file is larger than 1 MB"},
  };
  for (const auto& row : rows) {
    const auto parsed = answers::Parse(row.text, kSchema);
    const auto* refusal = std::get_if<answers::Refusal>(&parsed);
    ASSERT_NE(refusal, nullptr) << row.why;
    EXPECT_EQ(refusal->line, row.line) << row.why;
    EXPECT_EQ(refusal->text.substr(0, row.why.size()), row.why);
  }
}

TEST(AnswersFile, WhatIsFormattedReadsBackTheSame) {
  answers::Answers a;
  a.Set("Company", "Name", " Tabula ");
  a.Set("Menu", "Title1", "\"Quoted\"");
  a.Set("Menu", "Key1", "");
  a.Set("Backgrounds", "Name1", "a;b=c");
  a.Set("Company", "Name", "Tabula\t");  // replaces, keeps its place
  const std::string text = answers::Format(a, {"Written by OKAPI", "on a test"});
  EXPECT_TRUE(text.starts_with(
      "; Written by OKAPI\r\n; on a test\r\n\r\n[Company]\r\nName=\"Tabula\t\"\r\n"));
  EXPECT_EQ(Taken(text), a);
}

TEST(AnswersCommandLine, VerbsSwitchesAndRefusals) {
  using Verb = answers::Command::Verb;
  const struct {
    const char* line;
    bool command;
    Verb verb;
    const char* file;
    bool quiet, package;
    const char* refusal;
  } rows[] = {
      // clang-format off
      {"", false, {}, "", false, false, ""},
      {"/restore", false, {}, "", false, false, ""},
      {"/EXPORT \"c:\\my answers.ini\"", true, Verb::Export, "c:\\my answers.ini", false, false, ""},
      {"/quiet /apply \\\\server\\okapi\\answers.ini /Package", true, Verb::Apply,
       "\\\\server\\okapi\\answers.ini", true, true, ""},
      {"/verify a.ini /quiet", true, Verb::Verify, "a.ini", true, false, ""},
      {"/verify a.ini /package", false, {}, "", false, false, "/package goes with /apply only."},
      {"/apply /quiet", false, {}, "", false, false, "/apply needs the answers file's path after it."},
      {"/apply a.ini /verify b.ini", false, {}, "", false, false,
       "Give one of /export, /apply and /verify, not several."},
      {"/apply a.ini /silent", false, {}, "", false, false,
       "OKAPI does not know \"/silent\" on its command line."},
      // clang-format on
  };
  for (const auto& row : rows) {
    const auto parsed = answers::ParseCommandLine(row.line);
    EXPECT_EQ(parsed.refusal, row.refusal) << row.line;
    ASSERT_EQ(parsed.command.has_value(), row.command) << row.line;
    if (!row.command) continue;
    EXPECT_EQ(parsed.command->verb, row.verb) << row.line;
    EXPECT_EQ(parsed.command->file, row.file) << row.line;
    EXPECT_EQ(parsed.command->quiet, row.quiet) << row.line;
    EXPECT_EQ(parsed.command->package, row.package) << row.line;
  }
}

}  // namespace

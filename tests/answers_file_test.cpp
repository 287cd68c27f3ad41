// The answers file's text form: what is taken, what is refused and on which
// line, and that what is taken formats into a file that reads back the same.
#include "app/answers_file.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "app/answers_command.h"
#include "app/answers_run.h"
#include "tests/support/rows.h"

namespace {

answers::Answers Taken(const std::string& text) {
  auto parsed = answers::Parse(text, answers::PagesSchema());
  if (auto* refusal = std::get_if<answers::Refusal>(&parsed)) {
    ADD_FAILURE() << "refused on line " << refusal->line << ": " << refusal->text;
    return {};
  }
  return std::get<answers::Answers>(parsed);
}

TEST(AnswersFile, TakesWhatAnAdministratorWouldWrite) {
  const auto a = Taken(okapi_test::Rows("answers_taken.rows").at(0)["text"]);
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
  // Blanks at the ends and the empty value survive, quoted.
  const std::string text = answers::Format(a, {"Written by OKAPI"});
  EXPECT_TRUE(
      text.starts_with("; Written by OKAPI\r\n\r\n[Company]\r\nName=Tabula Inc.\r\n\r\n"
                       "[Menu]\r\nTitle1=\" Getting Started \"\r\n"))
      << text;
  EXPECT_EQ(Taken(text), a);
}

TEST(AnswersFile, RefusesWithTheLineAndWhy) {
  auto rows = okapi_test::Rows("answers_refusals.rows");
  rows.push_back({{{"text", std::string(answers::kMaxBytes + 1, ';')},
                   {"line", "0"},
                   {"why", "The file is larger than 1 MB"}}});
  for (const auto& row : rows) {
    const auto parsed = answers::Parse(row["text"], answers::PagesSchema());
    const auto* refusal = std::get_if<answers::Refusal>(&parsed);
    ASSERT_NE(refusal, nullptr) << row["why"];
    EXPECT_EQ(refusal->line, std::stoi(row["line"])) << row["why"];
    EXPECT_EQ(refusal->text.substr(0, row["why"].size()), row["why"]);
  }
}

TEST(AnswersCommandLine, VerbsSwitchesAndRefusals) {
  const char* const verbs[] = {"export", "apply", "verify"};
  for (const okapi_test::Row& row : okapi_test::Rows("command_lines.rows")) {
    const auto parsed = answers::ParseCommandLine(row["line"]);
    EXPECT_EQ(parsed.refusal, row["refusal"]) << row["line"];
    ASSERT_EQ(parsed.command.has_value(), row.Get("verb").has_value()) << row["line"];
    if (!parsed.command) continue;
    EXPECT_EQ(verbs[static_cast<int>(parsed.command->verb)], row["verb"]) << row["line"];
    EXPECT_EQ(parsed.command->file, row["file"]) << row["line"];
    EXPECT_EQ(parsed.command->quiet, row.Get("quiet").has_value()) << row["line"];
    EXPECT_EQ(parsed.command->package, row.Get("package").has_value()) << row["line"];
  }
}

}  // namespace

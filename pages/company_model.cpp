#include "pages/company_model.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "pages/entry_words.h"
#include "store/item_table.h"
#include "store/seed.h"

namespace {

using Outcome = CompanyModel::Outcome;
namespace item = store::item;

constexpr std::string_view kModifiedBy = "Modified by";

Outcome Tell(Outcome::Kind kind, std::string text) {
  return {kind, CompanyModel::Told{std::move(text), "Information"}};
}

}  // namespace

void CompanyModel::Load() {
  // Titles this page builds can pass 127 characters; the item is read whole
  // enough that neither the name nor the closing quote is lost.
  const auto title = store::Read(item::kTitle);
  if (!title) return;  // a missing title is no first title
  const auto at = title->find(kModifiedBy);
  if (at == std::string::npos) {
    (void)store::Write(item::kFirstTitle, *title);  // a failure is told by the store
    return;
  }
  const std::size_t nameStart = at + kModifiedBy.size() + 1;
  std::string name = nameStart < title->size() ? title->substr(nameStart) : std::string();
  name.erase(std::remove(name.begin(), name.end(), '"'), name.end());
  m_name = name;
}

std::optional<CompanyModel::Told> CompanyModel::Check() const {
  const auto refuse = [](std::string text) { return Told{std::move(text), "Information"}; };
  if (m_name.empty()) return refuse("You need to enter a company name");
  if (m_name.size() > kMaxName) return refuse("The company name you entered is too long");
  // The title is stored in double quotes: one in the name would end it early.
  if (m_name.find('"') != std::string::npos)
    return refuse("The company name cannot contain a double quote (\")");
  return std::nullopt;
}

Outcome CompanyModel::Next() {
  if (auto refusal = Check()) return {Outcome::Refused, std::move(refusal)};

  if (!store::SlotOf(item::kTitle)) {
    return Tell(Outcome::LeftAlone,
                "The title was left unchanged: " +
                    NoEntryMarked(entry_words::FileName(item::kTitle), item::kTitle.key) +
                    ", so there is no title to add the company name to.");
  }
  auto first = store::Read(item::kFirstTitle);
  // Keeping the first title failed at start (told then); a title without
  // the suffix is still its own first title, and is kept with the write it
  // guards, or the next run would have none.
  bool keepFirst = false;
  if (!first || first->empty()) {
    const auto title = store::Read(item::kTitle);
    keepFirst = title && !title->empty() && title->find(kModifiedBy) == std::string::npos;
    if (keepFirst) first = title;
  }
  if (!first || first->empty()) {
    const std::string file = entry_words::FileName(item::kFirstTitle);
    return Tell(Outcome::LeftAlone,
                "The title was left unchanged: its original text (" +
                    std::string(item::kFirstTitle.key) + " in " + file +
                    ") is missing or empty. This happens when the title already carried \"" +
                    std::string(kModifiedBy) + "\" before OKAPI first ran.\n\nRemove the \"- " +
                    std::string(kModifiedBy) + "\" part from the title in " + file +
                    ", then run OKAPI again to add the company name.");
  }

  // A title not in quotes (edited by hand) gets no stray closing quote.
  std::string title = *first;
  const bool quoted = title.back() == '"';
  if (quoted) title.pop_back();
  title += " - " + std::string(kModifiedBy) + " " + m_name + (quoted ? "\"" : "");
  std::vector<std::pair<store::Item, std::string>> writes;
  if (keepFirst) writes.emplace_back(item::kFirstTitle, *first);
  writes.emplace_back(item::kTitle, title);
  // One write of the file: both or neither.
  if (!store::WriteAll(writes)) return {Outcome::Failed, std::nullopt};
  return {Outcome::Written, std::nullopt};
}

#include "store/profile_text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <type_traits>
#include <variant>

namespace store {
namespace {

template <class Ch>
constexpr bool IsBlank(Ch c) {
  return c == Ch(' ') || c == Ch('\t') || c == Ch('\v');
}

// Windows-1252 bytes 0x80-0x9F; the five unassigned ones become the C1
// control of the same value, as the system's conversion does.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t AnsiToUnit(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b);
}

char UnitToAnsi(char16_t u) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<char>(u);
  for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
    if (kCp1252High[i] == u) return static_cast<char>(0x80 + i);
  }
  return '?';
}

// Names ignore the case of ASCII letters only: the system's profile
// functions under Wine treat code-page letters (\xC9 and \xE9) as different,
// and the program's names are all ASCII.
template <class Ch>
inline std::uint32_t Fold(Ch c) {
  const auto u = static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<Ch>>(c));
  return u >= 'A' && u <= 'Z' ? u + 32 : u;
}

template <class Ch>
std::uint64_t CiHash(std::basic_string_view<Ch> s) {
  std::uint64_t h = 1469598103934665603ull;
  for (Ch c : s) h = (h ^ Fold(c)) * 1099511628211ull;
  h = (h ^ (h >> 32)) * 0xD6E8FEB86659FD93ull;
  return h ^ (h >> 32);
}

template <class Ch>
bool CiEqual(std::basic_string_view<Ch> a, std::basic_string_view<Ch> b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Fold(a[i]) != Fold(b[i])) return false;
  }
  return true;
}

// Open addressing without per-name allocations: a slot holds a hash, a
// scope (the section of a key) and a number (a line or section index);
// names are compared through the document. The first insertion of a name wins.
class FlatIndex {
 public:
  static constexpr std::uint32_t kNone = 0xFFFFFFFF;

  void Reserve(std::size_t names) {
    std::size_t capacity = 8;
    while (capacity < 2 * names) capacity <<= 1;
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(capacity, Slot{});
    for (const Slot& s : old) {
      if (s.value != kNone) Place(s);
    }
  }

  template <class Same>
  void Insert(std::uint64_t hash, std::uint32_t scope, std::uint32_t value, Same same) {
    if (2 * (count_ + 1) > slots_.size()) Reserve(count_ + 1 > 4 ? 2 * count_ : 4);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      Slot& s = slots_[i];
      if (s.value == kNone) {
        s = Slot{hash, scope, value};
        ++count_;
        return;
      }
      if (s.hash == hash && s.scope == scope && same(s.value)) return;
    }
  }

  template <class Same>
  std::uint32_t Find(std::uint64_t hash, std::uint32_t scope, Same same) const {
    if (slots_.empty()) return kNone;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      const Slot& s = slots_[i];
      if (s.value == kNone) return kNone;
      if (s.hash == hash && s.scope == scope && same(s.value)) return s.value;
    }
  }

 private:
  struct Slot {
    std::uint64_t hash = 0;
    std::uint32_t scope = 0;
    std::uint32_t value = kNone;
  };
  void Place(const Slot& slot) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = slot.hash & mask;
    while (slots_[i].value != kNone) i = (i + 1) & mask;
    slots_[i] = slot;
  }
  std::vector<Slot> slots_;
  std::size_t count_ = 0;
};

enum class Kind : std::uint8_t { Blank, Comment, Section, Entry, Other };

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

template <class Ch>
struct Doc {
  using View = std::basic_string_view<Ch>;
  using Text = std::basic_string<Ch>;

  struct Line {
    std::size_t begin, end, next;      // content [begin, end), line end [end, next)
    std::size_t nameBegin, nameEnd;    // section name or key
    std::size_t valueBegin, valueEnd;  // entries only
    Kind kind;
  };
  // A section's lines below its header are classified and indexed at its
  // first lookup: parsing is one pass that keeps only the sections, so its
  // memory does not grow with the lines (fresh memory costs a page fault per
  // page, which on Windows' heap made large files parse far slower per line).
  struct Body {
    std::vector<Line> lines;
    std::size_t lastEntry = kNone;  // where new keys go: the last entry line, else after the header
    FlatIndex entries;
    // Lines without '=' are no keys to a read, but other readers take them
    // for keys without a value, which would hide a same-named entry added below.
    FlatIndex bare;
  };
  struct Section {
    Line header;
    std::size_t end;  // where the next section's header begins, else the end of the text
    View name;
  };
  Text owned;  // decoded text of a UTF-16 file; ANSI files are viewed in place
  View text;
  bool hadBom = false;
  std::string oddTail;  // a UTF-16 file's stray last byte, kept as found
  std::vector<Section> sections;
  // Only the first section of a name and the first key of a name in it are
  // ever found.
  FlatIndex sectionIndex;
  // Not safe for concurrent readers.
  mutable std::vector<std::unique_ptr<Body>> bodies;
  // Reads come in runs over one section; the same spelling needs no new lookup.
  mutable Text lastSectionName;
  mutable std::uint32_t lastSection = FlatIndex::kNone;

  View Slice(std::size_t b, std::size_t e) const { return text.substr(b, e - b); }

  // The line starting at `pos` (before the end of the text), unclassified.
  Line LineAt(std::size_t pos) const {
    const std::size_t n = text.size();
    std::size_t e = pos;
    while (e < n && text[e] != Ch('\r') && text[e] != Ch('\n')) ++e;
    std::size_t next = e;
    if (next < n) next += (text[e] == Ch('\r') && e + 1 < n && text[e + 1] == Ch('\n')) ? 2 : 1;
    return Line{pos, e, next, 0, 0, 0, 0, Kind::Blank};
  }

  void Parse() {
    for (std::size_t pos = 0; pos < text.size();) {
      Line line = LineAt(pos);
      std::size_t i = line.begin;
      while (i < line.end && IsBlank(text[i])) ++i;
      if (i < line.end && text[i] == Ch('[')) {
        Classify(line);
        if (!sections.empty()) sections.back().end = line.begin;
        const View name = Slice(line.nameBegin, line.nameEnd);
        const auto si = static_cast<std::uint32_t>(sections.size());
        sections.push_back({line, text.size(), name});
        sectionIndex.Insert(CiHash(name), 0, si, [&](std::uint32_t other) {
          return CiEqual(sections[other].name, name);
        });
      }
      pos = line.next;
    }
    bodies.resize(sections.size());
  }

  const Body& BodyOf(const Section& sec) const {
    auto& body = bodies[static_cast<std::size_t>(&sec - sections.data())];
    if (!body) {
      body = std::make_unique<Body>();
      for (std::size_t pos = sec.header.next; pos < sec.end;) {
        Line line = LineAt(pos);
        Classify(line);
        pos = line.next;
        if (line.kind == Kind::Entry || line.kind == Kind::Other) {
          body->lastEntry = body->lines.size();
        }
        body->lines.push_back(line);
      }
      body->entries.Reserve(body->lines.size());
      for (std::size_t li = 0; li < body->lines.size(); ++li) {
        const Line& line = body->lines[li];
        if (line.kind != Kind::Entry && line.kind != Kind::Other) continue;
        const View key = NameOf(line);
        auto& index = line.kind == Kind::Entry ? body->entries : body->bare;
        index.Insert(CiHash(key), 0, static_cast<std::uint32_t>(li),
                     [&](std::uint32_t other) { return CiEqual(NameOf(body->lines[other]), key); });
      }
    }
    return *body;
  }

  void Classify(Line& line) const {
    std::size_t i = line.begin;
    const std::size_t end = line.end;
    while (i < end && IsBlank(text[i])) ++i;
    if (i == end) return;
    if (text[i] == Ch('[')) {
      // Windows' rule, not Wine's: the first ']' ends the name, and a line
      // without one still opens a section.
      std::size_t b = i + 1;
      std::size_t e = b;
      while (e < end && text[e] != Ch(']')) ++e;
      Trim(b, e);
      line.kind = Kind::Section;
      line.nameBegin = b;
      line.nameEnd = e;
      return;
    }
    if (text[i] == Ch(';')) {
      line.kind = Kind::Comment;
      return;
    }
    std::size_t eq = i;
    while (eq < end && text[eq] != Ch('=')) ++eq;
    if (eq == end) {
      std::size_t e = end;
      Trim(i, e);
      line.kind = Kind::Other;
      line.nameBegin = i;
      line.nameEnd = e;
      return;
    }
    std::size_t kb = i, ke = eq, vb = eq + 1, ve = end;
    Trim(kb, ke);
    Trim(vb, ve);
    line.kind = Kind::Entry;
    line.nameBegin = kb;
    line.nameEnd = ke;
    line.valueBegin = vb;
    line.valueEnd = ve;
  }

  void Trim(std::size_t& b, std::size_t& e) const {
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
  }

  View NameOf(const Line& line) const { return Slice(line.nameBegin, line.nameEnd); }

  std::uint32_t SectionIndexOf(View name) const {
    if (lastSection != FlatIndex::kNone && View(lastSectionName) == name) return lastSection;
    const std::uint32_t si = sectionIndex.Find(
        CiHash(name), 0, [&](std::uint32_t other) { return CiEqual(sections[other].name, name); });
    if (si != FlatIndex::kNone) {
      lastSectionName.assign(name);
      lastSection = si;
    }
    return si;
  }

  const Section* FindSection(View name) const {
    const std::uint32_t si = SectionIndexOf(name);
    return si == FlatIndex::kNone ? nullptr : &sections[si];
  }

  const Line* FindKey(View section, View key) const { return Find(&Body::entries, section, key); }

  // The line a write of the key replaces: the first entry or bare line of that name.
  const Line* FindKeyToReplace(View section, View key) const {
    const Line* entry = Find(&Body::entries, section, key);
    const Line* bare = Find(&Body::bare, section, key);
    if (!entry || !bare) return entry ? entry : bare;
    return bare->begin < entry->begin ? bare : entry;
  }

  const Line* Find(FlatIndex Body::*which, View section, View key) const {
    const Section* sec = FindSection(section);
    if (!sec) return nullptr;
    const Body& body = BodyOf(*sec);
    const std::uint32_t li = (body.*which).Find(CiHash(key), 0, [&](std::uint32_t other) {
      return CiEqual(NameOf(body.lines[other]), key);
    });
    return li == FlatIndex::kNone ? nullptr : &body.lines[li];
  }

  // Whether setting the key would give the text back as it is: the line that
  // a write replaces already reads key=value with its line end.
  bool Keeps(View section, View key, View value) const {
    if (!key.empty() && key[0] == Ch(';')) return false;
    const Line* line = FindKeyToReplace(section, key);
    return line && line->next != line->end && line->nameBegin == line->begin &&
           line->nameEnd < line->end && text[line->nameEnd] == Ch('=') &&
           Slice(line->nameEnd + 1, line->end) == value;
  }

  Text Edited(View section, std::optional<View> key, std::optional<View> value) const {
    static constexpr Ch kCrLf[] = {Ch('\r'), Ch('\n'), Ch(0)};
    const Section* sec = FindSection(section);
    if (!key) {
      if (!sec) return Text(text);
      // Header and entries go; comments and blank lines stay, as on Windows.
      Text out(text.substr(0, sec->header.begin));
      for (const Line& l : BodyOf(*sec).lines) {
        if (l.kind == Kind::Comment || l.kind == Kind::Blank) out += Slice(l.begin, l.next);
      }
      out += text.substr(sec->end);
      return out;
    }
    const bool comment = !key->empty() && (*key)[0] == Ch(';');
    if (!value) {
      const Line* line = sec && !comment ? FindKey(section, *key) : nullptr;
      if (!line) return Text(text);
      Text out(text.substr(0, line->begin));
      out += text.substr(line->next);
      return out;
    }
    Text entry(*key);
    entry += Ch('=');
    entry += *value;
    if (!sec) {
      Text out(text);
      const bool needsBreak =
          out.empty() ? hadBom : (out.back() != Ch('\r') && out.back() != Ch('\n'));
      if (needsBreak) out += kCrLf;
      out += Ch('[');
      out += section;
      out += Ch(']');
      out += kCrLf;
      out += entry;
      out += kCrLf;
      return out;
    }
    if (const Line* line = comment ? nullptr : FindKeyToReplace(section, *key)) {
      // The stored spelling of the key stays.
      Text out(text.substr(0, line->begin));
      out += Slice(line->nameBegin, line->nameEnd);
      out += Ch('=');
      out += *value;
      if (line->next == line->end) out += kCrLf;
      out += text.substr(line->end);
      return out;
    }
    const Body& body = BodyOf(*sec);
    const Line& after = body.lastEntry == kNone ? sec->header : body.lines[body.lastEntry];
    Text out(text.substr(0, after.next));
    if (after.next == after.end) out += kCrLf;
    out += entry;
    out += kCrLf;
    out += text.substr(after.next);
    return out;
  }
};

using AnsiDoc = Doc<char>;
using WideDoc = Doc<char16_t>;

std::u16string Widen(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  for (char c : s) out += AnsiToUnit(c);
  return out;
}

std::string Narrow(std::u16string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char16_t u : s) out += UnitToAnsi(u);
  return out;
}

std::optional<std::u16string> Widen(std::optional<std::string_view> s) {
  if (!s) return std::nullopt;
  return Widen(*s);
}

std::optional<std::u16string_view> View(const std::optional<std::u16string>& s) {
  if (!s) return std::nullopt;
  return std::u16string_view(*s);
}

bool StartsWithUtf16LeBom(std::string_view bytes) {
  return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
         static_cast<unsigned char>(bytes[1]) == 0xFE;
}

}  // namespace

struct ProfileText::Parsed {
  std::variant<AnsiDoc, WideDoc> doc;
};

ProfileText::ProfileText(std::string bytes) : bytes_(std::move(bytes)) {
  parsed_ = std::make_unique<Parsed>();
  if (StartsWithUtf16LeBom(bytes_)) {
    auto& doc = parsed_->doc.emplace<WideDoc>();
    doc.hadBom = true;
    const std::size_t units = (bytes_.size() - 2) / 2;
    doc.owned.resize(units);
    for (std::size_t i = 0; i < units; ++i) {
      doc.owned[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes_[2 + 2 * i]) |
                                           static_cast<unsigned char>(bytes_[3 + 2 * i]) << 8);
    }
    if ((bytes_.size() - 2) % 2) doc.oddTail = bytes_.substr(bytes_.size() - 1);
    doc.text = doc.owned;
    doc.Parse();
  } else {
    auto& doc = parsed_->doc.emplace<AnsiDoc>();
    doc.text = bytes_;
    doc.Parse();
  }
}

ProfileText::~ProfileText() = default;

std::optional<std::string> ProfileText::RawValue(std::string_view section,
                                                 std::string_view key) const {
  if (const auto* doc = std::get_if<AnsiDoc>(&parsed_->doc)) {
    const auto* line = doc->FindKey(section, key);
    if (!line) return std::nullopt;
    return std::string(doc->Slice(line->valueBegin, line->valueEnd));
  }
  const auto& doc = std::get<WideDoc>(parsed_->doc);
  const auto* line = doc.FindKey(Widen(section), Widen(key));
  if (!line) return std::nullopt;
  return Narrow(doc.Slice(line->valueBegin, line->valueEnd));
}

std::string ProfileText::Read(std::string_view section, std::string_view key, std::string_view def,
                              std::size_t size) const {
  if (const auto* doc = std::get_if<AnsiDoc>(&parsed_->doc)) {
    const auto* line = doc->FindKey(section, key);
    if (!line) return ProfileResult(std::nullopt, def, size);
    return ProfileResult(doc->Slice(line->valueBegin, line->valueEnd), def, size);
  }
  const auto raw = RawValue(section, key);
  return ProfileResult(raw ? std::optional<std::string_view>(*raw) : std::nullopt, def, size);
}

std::vector<std::string> ProfileText::SectionNames() const {
  std::vector<std::string> names;
  std::visit(
      [&](const auto& doc) {
        for (const auto& s : doc.sections) {
          if constexpr (std::is_same_v<std::decay_t<decltype(doc)>, AnsiDoc>) {
            names.emplace_back(s.name);
          } else {
            names.push_back(Narrow(s.name));
          }
        }
      },
      parsed_->doc);
  return names;
}

std::vector<std::string> ProfileText::KeyNames(std::string_view section) const {
  std::vector<std::string> names;
  std::visit(
      [&](const auto& doc) {
        using D = std::decay_t<decltype(doc)>;
        const typename D::Section* sec = nullptr;
        if constexpr (std::is_same_v<D, AnsiDoc>) {
          sec = doc.FindSection(section);
        } else {
          sec = doc.FindSection(Widen(section));
        }
        if (!sec) return;
        for (const auto& l : doc.BodyOf(*sec).lines) {
          if (l.kind != Kind::Entry) continue;
          if constexpr (std::is_same_v<D, AnsiDoc>) {
            names.emplace_back(doc.Slice(l.nameBegin, l.nameEnd));
          } else {
            names.push_back(Narrow(doc.Slice(l.nameBegin, l.nameEnd)));
          }
        }
      },
      parsed_->doc);
  return names;
}

bool ProfileText::Keeps(std::string_view section, std::string_view key,
                        std::string_view value) const {
  const auto* doc = std::get_if<AnsiDoc>(&parsed_->doc);
  return doc && doc->Keeps(section, key, value);
}

std::string ProfileText::Edited(std::string_view section, std::optional<std::string_view> key,
                                std::optional<std::string_view> value) const {
  if (const auto* doc = std::get_if<AnsiDoc>(&parsed_->doc)) {
    return doc->Edited(section, key, value);
  }
  const auto& doc = std::get<WideDoc>(parsed_->doc);
  const auto wideKey = Widen(key);
  const auto wideValue = Widen(value);
  const std::u16string text = doc.Edited(Widen(section), View(wideKey), View(wideValue));
  std::string out("\xFF\xFE", 2);
  out.reserve(2 + 2 * text.size() + doc.oddTail.size());
  for (char16_t u : text) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
  }
  out += doc.oddTail;
  return out;
}

std::string NewProfileBytes(std::string_view section, std::optional<std::string_view> key,
                            std::optional<std::string_view> value) {
  // A delete on a missing file leaves an empty file behind, as on Windows.
  if (!key || !value) return {};
  std::string out;
  out.reserve(section.size() + key->size() + value->size() + 8);
  out.append("[").append(section).append("]\r\n");
  out.append(*key).append("=").append(*value).append("\r\n");
  return out;
}

std::string ProfileResult(std::optional<std::string_view> raw, std::string_view def,
                          std::size_t size) {
  if (size == 0) return {};
  std::string_view v;
  if (raw) {
    v = *raw;
    // Longer values wrap: the length is kept modulo 65536 characters.
    if (v.size() > 0xFFFF) v = v.substr(0, v.size() % 0x10000);
  } else {
    v = def;
    while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
  }
  const std::size_t limit = size - 1;
  if (limit == 0) return {};
  std::string_view out;
  if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) {
    // The quotes go with the cut applied to the quoted text: a cut value
    // loses its opening quote and one more character.
    out = v.size() <= limit ? v.substr(1, v.size() - 2) : v.substr(1, limit - 1);
  } else {
    out = v.substr(0, limit);
  }
  // The caller sees a C string.
  return std::string(out.substr(0, out.find('\0')));
}

std::string_view TrimNameParameter(std::string_view name) {
  name = name.substr(0, name.find('\0'));
  while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  return name;
}

}  // namespace store

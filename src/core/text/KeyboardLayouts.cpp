// SPDX-License-Identifier: MIT
// Keyboard layout switching: which layout a field wants and the switcher over a layout backend.
#include "text/KeyboardLayouts.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace {
struct TLayoutNames {
  uint16_t LangId;
  std::string_view Names;  // comma-separated, best first
};

// Every language of the language table. Regional variants name their own country's layout
// first and fall back to the language's main one.
constexpr std::array<TLayoutNames, 88> kLayoutTable{{
    {0x0436, "za,us"},     // Afrikaans
    {0x041C, "al"},        // Albanian
    {0x042D, "es"},        // Basque
    {0x0423, "by"},        // Belarusian
    {0x0402, "bg"},        // Bulgarian
    {0x0403, "es"},        // Catalan
    {0x041A, "hr"},        // Croatian
    {0x0405, "cz"},        // Czech
    {0x0406, "dk"},        // Danish
    {0x0813, "be,nl"},     // Dutch (Belgian)
    {0x0413, "nl"},        // Dutch (Standard)
    {0x0C09, "au,us"},     // English (Australian)
    {0x1009, "us"},        // English (Canadian)
    {0x2409, "us"},        // English (Caribbean)
    {0x1809, "ie,gb"},     // English (Ireland)
    {0x2009, "us"},        // English (Jamaica)
    {0x1409, "nz,us"},     // English (New Zealand)
    {0x1C09, "za,us"},     // English (South Africa)
    {0x0809, "gb"},        // English (United Kingdom)
    {0x0409, "us"},        // English (United States)
    {0x0425, "ee"},        // Estonian
    {0x040B, "fi"},        // Finnish
    {0x080C, "be,fr"},     // French (Belgian)
    {0x0C0C, "ca,fr"},     // French (Canadian)
    {0x140C, "ch,fr"},     // French (Luxembourg)
    {0x040C, "fr"},        // French (Standard)
    {0x100C, "ch,fr"},     // French (Swiss)
    {0x0C07, "at,de"},     // German (Austrian)
    {0x1407, "ch,de"},     // German (Liechtenstein)
    {0x1007, "de"},        // German (Luxembourg)
    {0x0407, "de"},        // German (Standard)
    {0x0807, "ch,de"},     // German (Swiss)
    {0x0408, "gr"},        // Greek
    {0x040E, "hu"},        // Hungarian
    {0x040F, "is"},        // Icelandic
    {0x0421, "us"},        // Indonesian
    {0x0410, "it"},        // Italian (Standard)
    {0x0810, "ch,it"},     // Italian (Swiss)
    {0x0426, "lv"},        // Latvian
    {0x0427, "lt"},        // Lithuanian
    {0x042F, "mk"},        // Macedonian (FYROM)
    {0x0414, "no"},        // Norwegian (Bokmal)
    {0x0814, "no"},        // Norwegian (Nynorsk)
    {0x0415, "pl"},        // Polish
    {0x0416, "br,pt"},     // Portuguese (Brazilian)
    {0x0816, "pt"},        // Portuguese (Standard)
    {0x0418, "ro"},        // Romanian
    {0x0419, "ru"},        // Russian
    {0x0C1A, "rs"},        // Serbian (Cyrillic)
    {0x041B, "sk"},        // Slovak
    {0x0424, "si"},        // Slovenian
    {0x2C0A, "latam,es"},  // Spanish (Argentina)
    {0x400A, "latam,es"},  // Spanish (Bolivia)
    {0x340A, "latam,es"},  // Spanish (Chile)
    {0x240A, "latam,es"},  // Spanish (Colombia)
    {0x140A, "latam,es"},  // Spanish (Costa Rica)
    {0x1C0A, "latam,es"},  // Spanish (Dominican Republic)
    {0x300A, "latam,es"},  // Spanish (Ecuador)
    {0x440A, "latam,es"},  // Spanish (El Salvador)
    {0x100A, "latam,es"},  // Spanish (Guatemala)
    {0x480A, "latam,es"},  // Spanish (Honduras)
    {0x0C0A, "es"},        // Spanish (International Sort)
    {0x080A, "latam,es"},  // Spanish (Mexico)
    {0x4C0A, "latam,es"},  // Spanish (Nicaragua)
    {0x180A, "latam,es"},  // Spanish (Panama)
    {0x3C0A, "latam,es"},  // Spanish (Paraguay)
    {0x280A, "latam,es"},  // Spanish (Peru)
    {0x500A, "latam,es"},  // Spanish (Puerto Rico)
    {0x040A, "es"},        // Spanish (Traditional Sort)
    {0x380A, "latam,es"},  // Spanish (Uruguay)
    {0x200A, "latam,es"},  // Spanish (Venezuela)
    {0x041D, "se"},        // Swedish
    {0x041F, "tr"},        // Turkish
    {0x0422, "ua"},        // Ukrainian
    {0x0401, "ara"},       // Arabic
    {0x0429, "ir,ara"},    // Persian
    {0x040D, "il"},        // Hebrew
    {0x042A, "vn"},        // Vietnamese
    {0x041E, "th"},        // Thai
    {0x0411, "jp"},        // Japanese
    {0x0804, "cn"},        // Chinese (Simplified)
    {0x0404, "tw,cn"},     // Chinese (Traditional)
    {0x0412, "kr"},        // Korean
    {0x0439, "in"},        // Hindi
    {0x0445, "bd,in"},     // Bengali
    {0x0449, "in,lk"},     // Tamil
    {0x0437, "ge"},        // Georgian
    {0x042B, "am"},        // Armenian
}};

constexpr uint16_t kPrimaryMask = 0x03FF;

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// The layout without its variant: "de(nodeadkeys)" is "de".
std::string_view BaseLayout(std::string_view name) {
  return Trimmed(name.substr(0, name.find('(')));
}

// Parts of a symbols name that add keys to every layout rather than being one.
bool IsCommonPart(std::string_view name) {
  static constexpr std::array<std::string_view, 14> kCommon{
      "pc",     "inet",     "group",  "level3", "level5",    "ctrl",  "compose",
      "altwin", "capslock", "keypad", "kpdl",   "terminate", "shift", "lv3"};
  if (name.starts_with("pc")) return true;
  return std::find(kCommon.begin(), kCommon.end(), name) != kCommon.end();
}
}  // namespace

uint16_t TagLanguage(int tag, uint16_t foreignLang, uint16_t nativeLang) {
  if (tag == kTagForeign) return foreignLang;
  if (tag == kTagNative) return nativeLang;
  return 0;
}

std::vector<std::string_view> LanguageLayoutNames(uint16_t langId) {
  if (langId == 0) return {};
  auto row = std::find_if(kLayoutTable.begin(), kLayoutTable.end(),
                          [&](const TLayoutNames& r) { return r.LangId == langId; });
  if (row == kLayoutTable.end()) {
    row = std::find_if(kLayoutTable.begin(), kLayoutTable.end(), [&](const TLayoutNames& r) {
      return (r.LangId & kPrimaryMask) == (langId & kPrimaryMask);
    });
  }
  std::vector<std::string_view> names;
  if (row == kLayoutTable.end()) return names;
  std::string_view rest = row->Names;
  while (!rest.empty()) {
    const size_t comma = rest.find(',');
    names.push_back(rest.substr(0, comma));
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
  }
  return names;
}

int FindLayoutGroup(const std::vector<std::string>& layouts, uint16_t langId) {
  for (const std::string_view name : LanguageLayoutNames(langId)) {
    for (size_t group = 0; group < layouts.size(); ++group) {
      if (BaseLayout(layouts[group]) == name) return static_cast<int>(group);
    }
  }
  return -1;
}

std::vector<std::string> SplitLayoutList(std::string_view list) {
  std::vector<std::string> layouts;
  if (Trimmed(list).empty()) return layouts;
  while (true) {
    const size_t comma = list.find(',');
    layouts.emplace_back(Trimmed(list.substr(0, comma)));
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return layouts;
}

std::vector<std::string> SymbolsLayouts(std::string_view symbols) {
  // A keymap has at most four groups.
  constexpr size_t kMaxGroups = 4;
  std::vector<std::string> layouts;
  bool firstSeen = false;
  while (!symbols.empty()) {
    const size_t plus = symbols.find_first_of("+|");
    std::string_view part = symbols.substr(0, plus);
    symbols = plus == std::string_view::npos ? std::string_view() : symbols.substr(plus + 1);
    size_t group = 1;
    if (const size_t colon = part.find(':'); colon != std::string_view::npos) {
      const std::string_view digits = part.substr(colon + 1);
      const auto [end, error] =
          std::from_chars(digits.data(), digits.data() + digits.size(), group);
      if (error != std::errc() || end != digits.data() + digits.size() || group < 1 ||
          group > kMaxGroups) {
        continue;
      }
      part = part.substr(0, colon);
    } else {
      if (firstSeen || IsCommonPart(BaseLayout(part))) continue;
      firstSeen = true;
    }
    const std::string_view name = BaseLayout(part);
    if (name.empty()) continue;
    if (layouts.size() < group) layouts.resize(group);
    if (layouts[group - 1].empty()) layouts[group - 1] = std::string(name);
  }
  return layouts;
}

TKeyboardSwitcher::TKeyboardSwitcher(TKeyboardLayouts& layouts)
    : m_Layouts(layouts), m_DefaultGroup(layouts.CurrentGroup()) {}

void TKeyboardSwitcher::Switch(bool enabled, uint16_t language) {
  if (!enabled) return;
  int target = m_DefaultGroup;
  if (language != 0) {
    if (!m_NamesRead || language != m_LastLanguage) {
      m_LayoutNames = m_Layouts.Layouts();
      m_NamesRead = true;
    }
    if (const int group = FindLayoutGroup(m_LayoutNames, language); group >= 0) target = group;
  }
  m_LastLanguage = language;
  if (m_Layouts.CurrentGroup() != target) m_Layouts.LockGroup(target);
}

void TKeyboardSwitcher::Activated() {
  m_DefaultGroup = m_Layouts.CurrentGroup();
}

void TKeyboardSwitcher::Deactivated(bool enabled) {
  Switch(enabled, 0);
}

// SPDX-License-Identifier: MIT
// The examples on the help page about the answer notation, checked against the comparison.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "text/Languages.h"
#include "text/Matching.h"
#include "text/Utf8.h"

namespace {

constexpr uint16_t kEnglish = 0x0409;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Unescape(std::string text) {
  for (const auto& [entity, plain] :
       {std::pair<std::string, std::string>{"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}}) {
    for (size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at)) {
      text.replace(at, entity.size(), plain);
      at += plain.size();
    }
  }
  return text;
}

// The options as the page names them: the labels of the options dialog.
const std::map<std::string, TMatchOptions>& OptionLabels() {
  static const std::map<std::string, TMatchOptions> labels = {
      {"Ignore capitalization", moIgnoreCase},
      {"Ignore punctuation", moIgnorePunctuation},
      {"Ignore spacing", moIgnoreSpacing},
      {"Treat text in brackets as optional", moOptionalBrackets},
      {"Treat words separated by / as alternatives", moSlashAlternatives},
      {"Accept translations in any order", moAnyOrder},
      {"Accept any correct translation", moAnyCorrect},
      {"Ignore accents", moIgnoreAccents},
      {"Allow auxiliary verb contractions", moContractions},
      {"Allow omission of 'to' before verbs", moOmitTo},
      {"Allow substitution of '-ize' and '-ise'", moIzIs},
  };
  return labels;
}

// "standard", "without <label>" or "with <label>", applied to what a test of English answers
// uses when no options were ever changed.
TMatchOptions OptionsFromText(const std::string& text) {
  TMatchOptions options = moSynonymList | kDefaultDirectionOptions | kDefaultEnglishOptions;
  if (text == "standard") return options;
  const bool without = text.starts_with("without ");
  const bool with = text.starts_with("with ");
  EXPECT_TRUE(with || without) << "unknown options: " << text;
  const std::string label = text.substr(without ? 8 : 5);
  const auto found = OptionLabels().find(label);
  EXPECT_NE(found, OptionLabels().end()) << "unknown option label: " << label;
  if (found == OptionLabels().end()) return options;
  return without ? options & ~found->second : options | found->second;
}

std::string English(const std::string& utf8) {
  return WideToAnsi(Utf8ToWide(utf8), kEnglish);
}

}  // namespace

// Every example row says what the comparison does with it, under the options it names.
TEST(HelpNotation, ExamplesOnThePageAreJudgedAsThePageSays) {
  const std::string page = ReadFile(DADEZIVU_SOURCE_DIR "/resources/help/notation.html");
  ASSERT_FALSE(page.empty());
  const std::regex row(
      "<tr class=\"example\"><td>(.*?)</td><td>(.*?)</td><td>(.*?)</td><td>(.*?)</td></tr>");
  int accepted = 0, refused = 0;
  for (auto it = std::sregex_iterator(page.begin(), page.end(), row); it != std::sregex_iterator();
       ++it) {
    const std::string expected = Unescape((*it)[1]), typed = Unescape((*it)[2]);
    const std::string verdict = (*it)[4];
    ASSERT_TRUE(verdict == "accepted" || verdict == "refused") << verdict;
    const TMatchOptions options = OptionsFromText((*it)[3]);
    EXPECT_EQ(MatchAnswer(English(expected), English(typed), kEnglish, options),
              verdict == "accepted")
        << "stored '" << expected << "', typed '" << typed << "', " << (*it)[3];
    (verdict == "accepted" ? accepted : refused)++;
  }
  // The page shows both outcomes, and enough of them to cover each rule.
  EXPECT_GE(accepted, 10);
  EXPECT_GE(refused, 8);
}

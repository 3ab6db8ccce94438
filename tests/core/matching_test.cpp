// SPDX-License-Identifier: MIT
// Tests of the answer comparison and its notation.
#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "text/Languages.h"
#include "text/Matching.h"
#include "text/TextUtils.h"

namespace {

constexpr uint16_t kEnglish = 0x0409;
constexpr uint16_t kGerman = 0x0407;
// What the test run passes for an English answer with nothing configured.
constexpr TMatchOptions kDefaults =
    moSynonymList | kDefaultDirectionOptions | kDefaultEnglishOptions;

struct TCase {
  const char* Expected;
  const char* Typed;
  TMatchOptions Options;
  bool Result;
};

void ExpectCases(std::span<const TCase> cases, uint16_t langId = kEnglish) {
  for (const TCase& c : cases) {
    EXPECT_EQ(MatchAnswer(c.Expected, c.Typed, langId, c.Options), c.Result)
        << "expected '" << c.Expected << "', typed '" << c.Typed << "', options 0x" << std::hex
        << c.Options;
  }
}

// A literal rendering of the comparison stages, without any sharing or bound: the model that
// the engine must agree with on every ordinary entry.
namespace reference {

bool Match(const std::string& a, const std::string& b, uint16_t l, TMatchOptions f);

bool IsWordChar(char c, uint16_t l) {
  return LettersDigitsOnly(std::string(1, c), l, true).size() == 1;
}

std::string ReplaceIgnoringCase(const std::string& text, const std::string& find,
                                const std::string& by) {
  std::string lower = text;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::string out;
  size_t from = 0;
  for (size_t at; (at = lower.find(find, from)) != std::string::npos; from = at + find.size()) {
    out.append(text, from, at - from).append(by);
  }
  return out.append(text, from);
}

std::string Contract(std::string t) {
  static const char* const rules[14][2] = {
      {"would", "had"},       {"shall", "will"},    {"has", "is"},         {"won't", "will not"},
      {"shan't", "will not"}, {"can't", "can not"}, {"cannot", "can not"}, {"'m", " am"},
      {"'s", " is"},          {"'re", " are"},      {"'ve", " have"},      {"'ll", " will"},
      {"'d", " had"},         {"n't", " not"}};
  for (const auto& r : rules) t = ReplaceIgnoringCase(t, r[0], r[1]);
  return t;
}

bool Lists(const std::string& a, const std::string& b, uint16_t l, TMatchOptions f) {
  std::array<std::string, 16> pa, pb;
  const int ca = SplitList(a, ",;", true, pa, true);
  const int cb = SplitList(b, ",;", true, pb, true);
  int matches = 0;
  if (f & moAnyOrder) {
    for (int i = 0; i < ca; ++i) {
      for (int j = 0; j < cb; ++j) {
        if (Match(pa[i], pb[j], l, f)) {
          ++matches;
          break;
        }
      }
    }
  } else {
    for (int i = 0, j = 0; i < ca && j < cb; ++i) {
      if (Match(pa[i], pb[j], l, f)) ++matches, ++j;
    }
  }
  if (matches != cb) return false;
  if (f & moAnyCorrect) return !(cb == 0 && ca != 0);
  return cb == ca;
}

bool Slashes(const std::string& a, const std::string& b, uint16_t l, size_t p, TMatchOptions f) {
  const size_t s = a.find('/', p - 1);
  if (s == std::string::npos) return Match(a, b, l, f);
  auto token = [&](char c) { return IsWordChar(c, l) || c == '\'' || c == '-'; };
  size_t lo = s, hi = s;
  while (lo > 0 && token(a[lo - 1])) --lo;
  while (hi + 1 < a.size() && token(a[hi + 1])) ++hi;
  const std::string x = a.substr(lo, s - lo), y = a.substr(s + 1, hi - s);
  std::vector<std::string> variants;
  if (!x.empty())
    variants = y.empty() ? std::vector<std::string>{x}
                         : std::vector<std::string>{x, x + "/" + y, y, y + "/" + x};
  for (const std::string& v : variants) {
    if (Slashes(a.substr(0, lo) + v + a.substr(hi + 1), b, l, lo + v.size() + 1, f)) return true;
  }
  return false;
}

bool Brackets(const std::string& a, const std::string& b, uint16_t l, TMatchOptions f) {
  bool result = Match(a, b, l, f);
  for (size_t s = 1; !result;) {
    const size_t open = a.find('(', s - 1);
    if (open == std::string::npos) break;
    const size_t close = a.find(')', open + 1);
    if (close == std::string::npos) break;
    std::string kept = a;
    kept.erase(close, 1);
    kept.erase(open, 1);
    if (Brackets(kept, b, l, f)) return true;
    size_t from = open, to = close;
    if ((open == 0 || a[open - 1] == ' ') && (close + 1 == a.size() || a[close + 1] == ' ')) {
      if (open > 0) {
        --from;
      } else if (close + 1 < a.size()) {
        ++to;
      }
    }
    result = Brackets(a.substr(0, from) + a.substr(to + 1), b, l, f);
    s = close + 2;
  }
  return result;
}

bool Match(const std::string& a, const std::string& b, uint16_t l, TMatchOptions f) {
  if (a == b) return true;
  if (f & moSynonymList) return Lists(a, b, l, f & ~moSynonymList);
  if (f & moSlashAlternatives) return Slashes(a, b, l, 1, f & ~moSlashAlternatives);
  if (f & moOptionalBrackets) return Brackets(a, b, l, f & ~moOptionalBrackets);
  if (f & moContractions) {
    const TMatchOptions g = f & ~moContractions;
    if (Match(a, b, l, g)) return true;
    // (Asking the same question twice only costs time.)
    const std::string ca = Contract(a), cb = Contract(b);
    return (ca != a || cb != b) && Match(ca, cb, l, g);
  }
  auto lowerAscii = [](std::string t) {
    for (char& c : t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return t;
  };
  if ((f & moOmitTo) && lowerAscii(a.substr(0, 3)) == "to ") {
    const TMatchOptions g = f & ~moOmitTo;
    return Match(a, b, l, g) || Match(a.substr(3), b, l, g);
  }
  std::string x = a, y = b;
  if (f & moIzIs) x = ReplaceIgnoringCase(x, "iz", "is"), y = ReplaceIgnoringCase(y, "iz", "is");
  if (f & moIgnoreCase) x = LocaleLowerCase(x, l), y = LocaleLowerCase(y, l);
  if (f & moIgnoreAccents) x = StripAccents(x, l), y = StripAccents(y, l);
  if (f & moIgnorePunctuation) {
    x = LettersDigitsOnly(x, l, f & moIgnoreSpacing),
    y = LettersDigitsOnly(y, l, f & moIgnoreSpacing);
  } else if (f & moIgnoreSpacing) {
    std::erase(x, ' ');
    std::erase(y, ' ');
  }
  return x == y;
}

}  // namespace reference

}  // namespace

// The option words are stored as they are: the list items must make up the default words, all
// but the added last ones (ignore accents, accept a slip), which are off by default.
TEST(TMatchOptions, ListItemsMakeUpTheDefaultWords) {
  TMatchOptions direction = 0, english = 0;
  for (size_t i = 0; i + 2 < kDirectionOptionItems.size(); ++i)
    direction |= kDirectionOptionItems[i];
  EXPECT_EQ(kDirectionOptionItems[7], 0x0800);
  EXPECT_EQ(kDirectionOptionItems[8], 0x1000);
  EXPECT_EQ(kDefaultDirectionOptions & (moIgnoreAccents | moAcceptSlip), 0);
  for (const TMatchOptions bit : kEnglishOptionItems) english |= bit;
  EXPECT_EQ(direction, kDefaultDirectionOptions);
  EXPECT_EQ(english, kDefaultEnglishOptions);
  EXPECT_EQ(english, kEnglishMatchOptions);
  EXPECT_EQ(kDirectionOptionItems[0], 0x20);
  EXPECT_EQ(kDirectionOptionItems[6], 0x02);
  EXPECT_EQ(kNotesMatchOptions, 0x00E0);
}

TEST(MatchAnswer, IdenticalTextsMatchWhateverTheOptions) {
  for (const char* text : {"", "he / she", "(", "a, b", "x/"}) {
    for (unsigned options = 0; options <= 0x7FF; options += 0x3B) {
      EXPECT_TRUE(MatchAnswer(text, text, kEnglish, static_cast<TMatchOptions>(options))) << text;
    }
  }
}

TEST(MatchAnswer, SynonymLists) {
  constexpr TMatchOptions list = moSynonymList;
  const TCase cases[] = {
      {"big, large", "large, big", list, false},
      {"big, large", "large, big", list | moAnyOrder, true},
      {"big, large", "large", list, false},
      {"big, large", "large", list | moAnyCorrect, true},
      {"big, large", "big", list | moAnyCorrect, true},
      {"big, large", "big; large", list, true},
      {"big;large", " big ,large ", list, true},
      {"big, large", "big, large, huge", list | moAnyCorrect | moAnyOrder, false},
      // Same order skips expected parts freely, but never goes back.
      {"big, large, huge", "big, huge", list | moAnyCorrect, true},
      {"big, large, huge", "huge, big", list | moAnyCorrect, false},
      // An empty typed answer never matches a non-empty expected text.
      {"big", "", list | moAnyCorrect, false},
      {"big", "", list, false},
      {"big", " , ;", list | moAnyCorrect, false},
      // Both sides without parts agree.
      {",", ";", list, true},
      // Without list splitting the delimiters are ordinary text.
      {"a, b", "b, a", kNotesMatchOptions, false},
      {"A, b", "a b", kNotesMatchOptions, true},
      // Every typed part must have been matched by some expected part.
      {"big, large", "big, big", list | moAnyOrder | moAnyCorrect, false},
      // Any order counts the expected parts that found a typed part: a part given twice counts
      // twice, and then no longer equals the number of typed parts.
      {"a, a", "a", list | moAnyOrder | moAnyCorrect, false},
  };
  ExpectCases(cases);
}

TEST(MatchAnswer, ListsTakeSixteenPartsPerSide) {
  std::string seventeen, sixteen;
  for (int i = 1; i <= 17; ++i) {
    seventeen += (i > 1 ? "," : "") + std::string(1, static_cast<char>('a' + i));
    if (i == 16) sixteen = seventeen;
  }
  EXPECT_TRUE(MatchAnswer(seventeen, sixteen, kEnglish, moSynonymList));
  // The seventeenth typed part is dropped as well, whatever it says.
  EXPECT_TRUE(MatchAnswer(sixteen, sixteen + ",zzz", kEnglish, moSynonymList));
  EXPECT_FALSE(
      MatchAnswer(seventeen, sixteen.substr(0, sixteen.size() - 2), kEnglish, moSynonymList));
}

TEST(MatchAnswer, OptionalBrackets) {
  constexpr TMatchOptions br = moOptionalBrackets;
  const TCase cases[] = {
      {"colo(u)r", "color", br, true},
      {"colo(u)r", "colour", br, true},
      {"colo(u)r", "color", 0, false},
      {"colo(u)r", "colo(u)r", br, true},
      // A free-standing group takes one neighbouring blank with it.
      {"to go (home)", "to go", br, true},
      {"(to) go", "go", br, true},
      {"a (b) c", "a c", br, true},
      {"a (b) c", "a  c", br, false},
      {"a (b) c", "a b c", br, true},
      {"x(b) c", "x c", br, true},
      {"x(b) c", "xc", br, false},
      // Every combination of several groups, also one left in brackets.
      {"(a) (b) (c)", "b", br, true},
      {"(a) (b) (c)", "a c", br, true},
      {"(a) (b) (c)", "", br, true},
      {"(a) (b) (c)", "(a) c", br, true},
      {"(a) (b) (c)", "c a", br, false},
      // An unbalanced bracket is ordinary text.
      {"go (home", "go", br, false},
      {"go home)", "go home", br, false},
      {"go (home", "go (home", br, true},
      // Not nested: the first ")" after "(" closes the group.
      {"((a)b)", "(ab)", br, true},
      {"((a)b)", "b)", br, true},
      {"to go (home)", "go home", br | moOmitTo, true},
      {"to go (home)", "go", br | moOmitTo, true},
      {"to go (home)", "to go home", br | moOmitTo, true},
  };
  ExpectCases(cases);
}

TEST(MatchAnswer, SlashAlternatives) {
  constexpr TMatchOptions sl = moSlashAlternatives;
  const TCase cases[] = {
      {"he/she", "he", sl, true},
      {"he/she", "she", sl, true},
      {"he/she", "he/she", sl, true},
      {"he/she", "she/he", sl, true},
      {"he/she", "he she", sl, false},
      {"he/she", "she", 0, false},
      // Blanks around the slash leave a token without a left side: only the identical text.
      {"he / she", "he / she", sl | moIgnoreCase, true},
      {"he / she", "He / she", sl | moIgnoreCase, false},
      {"he / she", "He / she", moIgnoreCase, true},
      // An empty right side drops the slash.
      {"yes/ no", "yes no", sl, true},
      {"yes/", "yes", sl, true},
      {"yes/", "yes/", sl, true},
      // Apostrophes and hyphens belong to the word; other punctuation does not.
      {"isn't/wasn't", "wasn't", sl, true},
      {"well-known/famous", "famous", sl, true},
      {"(a/b)", "(b)", sl, true},
      {"x.y/z", "x.z", sl, true},
      // A chain expands each slash in turn.
      {"a/b/c", "c", sl, true},
      {"a/b/c", "a/c", sl, true},
      {"a/b/c", "b", sl, true},
      {"a/b/c", "c/b/a", sl, false},
      // Slashes before brackets: each variant is expanded for brackets.
      {"(the) man/woman", "woman", sl | moOptionalBrackets, true},
      {"colo(u)r/hue", "color", sl | moOptionalBrackets, true},
  };
  ExpectCases(cases);
}

TEST(MatchAnswer, FinalNormalisation) {
  const TCase cases[] = {
      {"ice cream", "icecream", moIgnoreSpacing, true},
      {"ice cream", "icecream", moIgnorePunctuation, false},
      {"ice cream", "ice cream!", moIgnorePunctuation, true},
      {"ice cream", "ice-cream", moIgnorePunctuation, false},
      {"ice cream", "icecream!", moIgnorePunctuation | moIgnoreSpacing, true},
      // Only blanks count as spacing.
      {"ice cream", "ice\tcream", moIgnoreSpacing, false},
      {"can't", "cant", moIgnorePunctuation, true},
      {"Haus", "haus", moIgnoreCase, true},
      {"Haus", "haus", moIgnorePunctuation | moIgnoreSpacing, false},
      {"organize", "organise", moIzIs, true},
      {"ORGANIZE", "organise", moIzIs | moIgnoreCase, true},
      {"organize", "ORGANISE", moIzIs, false},
  };
  ExpectCases(cases);
}

TEST(MatchAnswer, ContractionsAndOmittedTo) {
  const TCase cases[] = {
      {"I'm", "I am", moContractions, true},
      {"I'm", "I am", 0, false},
      {"can't", "cannot", moContractions, true},
      {"I WON'T", "i will not", moContractions | moIgnoreCase, true},
      {"he has gone", "he's gone", moContractions, true},
      {"you would go", "you'd go", moContractions, true},
      {"to go", "go", moOmitTo, true},
      {"To go", "go", moOmitTo, true},
      {"to go", "go", 0, false},
      // Only the expected text loses its "to ".
      {"go", "to go", moOmitTo, false},
      {"tour", "ur", moOmitTo, false},
      {"to be", "be", moOmitTo | moContractions, true},
  };
  ExpectCases(cases);
}

// Accents are forgiven only when asked, in every code page, and together with the other rules.
TEST(MatchAnswer, IgnoreAccents) {
  struct TAccentCase {
    uint16_t LangId;
    const char* Expected;
    const char* Typed;
  };
  const TAccentCase cases[] = {
      {0x040C, "\xE9t\xE9", "ete"},  // French, 1252: été
      {0x0405,
       "\xE8"
       "esk\xFD",
       "cesky"},                                 // Czech, 1250: český
      {0x0419, "\xE5\xB8\xE6", "\xE5\xE5\xE6"},  // Russian, 1251: ёж with е
      {0x0408, "\xDC\xED\xE8\xF1\xF9\xF0\xEF\xF2",
       "\xE1\xED\xE8\xF1\xF9\xF0\xEF\xF2"},  // Greek, 1253
      {0x041F,
       "\xFE"
       "eker",
       "seker"},  // Turkish, 1254: şeker
  };
  for (const TAccentCase& c : cases) {
    EXPECT_FALSE(MatchAnswer(c.Expected, c.Typed, c.LangId, kDefaultDirectionOptions))
        << c.Expected;
    EXPECT_TRUE(MatchAnswer(c.Expected, c.Typed, c.LangId, moIgnoreAccents)) << c.Expected;
    EXPECT_TRUE(MatchAnswer(c.Typed, c.Expected, c.LangId, moIgnoreAccents)) << c.Expected;
  }
  const TCase french[] = {
      // Case is still only forgiven when asked.
      {"\xC9t\xE9", "ete", moIgnoreAccents, false},
      {"\xC9t\xE9", "ete", moIgnoreAccents | moIgnoreCase, true},
      // A stripped letter is still a letter for the punctuation rule.
      {"caf\xE9 !", "cafe", moIgnoreAccents | moIgnorePunctuation | moIgnoreSpacing, true},
      {"(tr\xE8s) bien, d\xE9j\xE0", "deja, bien",
       kDefaultDirectionOptions | moSynonymList | moIgnoreAccents, true},
      {"tr\xE8s", "tres", kDefaultDirectionOptions | moSynonymList, false},
      // Different letters stay different.
      {"\xE9t\xE9", "eta", moIgnoreAccents, false},
  };
  ExpectCases(french, 0x040C);
}

// The English rules apply to English text only, whatever the options say.
TEST(MatchAnswer, EnglishRulesOnlyForEnglish) {
  const TCase cases[] = {
      {"I'm", "I am", kDefaults, false},
      {"to go", "go", kDefaults, false},
      {"organize", "organise", kDefaults, false},
      {"(zu) gehen", "gehen", kDefaults, true},
      {"gross/gro\xDF", "gro\xDF", kDefaults, true},
  };
  ExpectCases(cases, kGerman);
  for (const uint16_t english : {uint16_t{0x0409}, uint16_t{0x0809}, uint16_t{0x1409}}) {
    EXPECT_TRUE(MatchAnswer("I'm", "I am", english, kDefaults));
    EXPECT_TRUE(MatchAnswer("to go", "go", english, kDefaults));
    EXPECT_TRUE(MatchAnswer("organize", "organise", english, kDefaults));
  }
}

// Letters, case and word boundaries are the answer language's, for every candidate as a whole.
TEST(MatchAnswer, UsesTheLanguagesLettersAndCase) {
  // Cyrillic letters (code page 1251) make up a slash token.
  EXPECT_TRUE(MatchAnswer("\xEE\xED/\xEE\xED\xE0", "\xEE\xED\xE0", 0x0419, moSlashAlternatives));
  // Turkish lower-cases I to dotless i.
  EXPECT_TRUE(MatchAnswer("KIZ", "k\xFDz", 0x041F, moIgnoreCase));
  EXPECT_FALSE(MatchAnswer("KIZ", "kiz", 0x041F, moIgnoreCase));
  EXPECT_TRUE(MatchAnswer("KIZ", "kiz", kEnglish, moIgnoreCase));
  // A Greek capital sigma that ends the word once a group is dropped lower-cases to final sigma.
  EXPECT_TRUE(MatchAnswer("\xCF\xC4\xCF\xD3(\xC1)", "\xEF\xE4\xEF\xF2", 0x0408,
                          moOptionalBrackets | moIgnoreCase));
  EXPECT_TRUE(MatchAnswer("\xCF\xC4\xCF\xD3(\xC1)", "\xEF\xE4\xEF\xF3\xE1", 0x0408,
                          moOptionalBrackets | moIgnoreCase));
}

TEST(MatchAnswer, DefaultOptionsOnTypicalEntries) {
  const TCase cases[] = {
      {"to go (home)", "Go home", kDefaults, true},
      {"big, large, huge", "LARGE", kDefaults, true},
      {"big, large, huge", "huge, big", kDefaults, true},
      {"big, large, huge", "small", kDefaults, false},
      {"he/she is here", "she's here", kDefaults, true},
      {"to organize (oneself)", "organise oneself", kDefaults, true},
      {"bank, (river) bank", "river bank", kDefaults, true},
  };
  ExpectCases(cases);
}

TEST(ExpandContractions, RulesInTableOrderIgnoringCase) {
  const std::pair<const char*, const char*> cases[] = {
      {"I'm", "I am"},
      {"WON'T", "will not"},
      {"Shan't", "will not"},
      {"it's", "it is"},
      {"they're", "they are"},
      {"I've", "I have"},
      {"we'll", "we will"},
      {"you'd", "you had"},
      {"isn't", "is not"},
      {"Cannot", "can not"},
      // Earlier rules feed later ones ("wouldn't" by way of "hadn't"); "has" changes inside
      // words too.
      {"wouldn't", "had not"},
      {"Shall", "will"},
      {"hash", "ish"},
      {"would've", "had have"},
      {"plain", "plain"},
  };
  for (const auto& [text, result] : cases) EXPECT_EQ(ExpandContractions(text), result) << text;
}

// Random ordinary entries, typed answers derived from them, random options: the engine agrees
// with the literal model of the stages every time.
TEST(MatchAnswer, AgreesWithTheLiteralStagesOnOrdinaryEntries) {
  const std::vector<std::string> units = {
      "go",       "to",           "home",  "colo(u)r", "he/she",    "I'm", "can't", "cannot",
      "organize", "ice",          "Cream", "big",      "(the)",     "x/",  "/y",    "it's",
      "HAS",      "a/b/c",        "won't", "(to)",     "-",         "!",   "(b/c)", "would",
      "to",       "isn't/wasn't", "(a",    "b)",       "well-known"};
  std::mt19937 rng(20261208);
  auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };
  auto makeExpected = [&] {
    std::string text;
    const size_t parts = 1 + pick(3);
    for (size_t p = 0; p < parts; ++p) {
      if (p > 0) text += pick(2) ? ", " : ";";
      const size_t words = 1 + pick(3);
      for (size_t w = 0; w < words; ++w) {
        if (w > 0 && pick(5) != 0) text += ' ';
        text += units[pick(units.size())];
      }
    }
    return text;
  };
  // A typed text: the expected one with some of its notation resolved and some variation.
  auto makeTyped = [&](const std::string& expected) {
    std::string t;
    for (size_t i = 0; i < expected.size(); ++i) {
      const char c = expected[i];
      const size_t r = pick(6);
      if ((c == '(' || c == ')' || c == '/' || c == '\'' || c == ',') && r < 2) continue;
      if (c == ' ' && r == 0) continue;
      if (c == '(' && r == 2) {
        const size_t close = expected.find(')', i);
        if (close != std::string::npos) {
          i = close;
          continue;
        }
      }
      t += (r == 5 && c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    }
    if (pick(4) == 0) t = "to " + t;
    if (pick(4) == 0) t = ExpandContractions(t);
    return t;
  };

  int agreed = 0, trues = 0;
  for (int round = 0; round < 400; ++round) {
    const std::string expected = makeExpected();
    for (int k = 0; k < 3; ++k) {
      const std::string typed = k == 2 ? makeExpected() : makeTyped(expected);
      for (int o = 0; o < 3; ++o) {
        const auto options = static_cast<TMatchOptions>(o == 0 ? kDefaults : rng() & 0x7FF);
        const bool want = reference::Match(expected, typed, kEnglish, options);
        ASSERT_EQ(MatchAnswer(expected, typed, kEnglish, options), want)
            << "expected '" << expected << "', typed '" << typed << "', options 0x" << std::hex
            << options;
        ++agreed;
        trues += want;
      }
    }
  }
  // The cases must exercise both verdicts to show anything.
  EXPECT_GT(trues, agreed / 10);
  EXPECT_LT(trues, agreed * 9 / 10);
}

// Entries at the upper end of what people type (several groups and slashes in one part, or
// in each of a few parts) are still judged in full, not cut short by the work bound.
TEST(MatchAnswer, AgreesWithTheLiteralStagesOnRichEntries) {
  const std::vector<std::string> stored = {
      "to (be) (a) good/kind (wo)man (indeed)",
      "(the) (big) (old) (red) house/home",
      "colo(u)r/hue (of) (the) sky/heaven",
      "(to) make/do (something), (to) act (quickly), (to) behave",
      "(a)(b) (c) x/y/z",
      "he/she/it (has) (got)",
  };
  std::mt19937 rng(4711);
  int trues = 0;
  for (const std::string& expected : stored) {
    for (int k = 0; k < 4; ++k) {
      // Typed: some brackets and slash sides resolved at random.
      std::string typed;
      bool skipping = false;
      for (const char c : expected) {
        if (c == '(') skipping = rng() % 2 == 0;
        if (c == '(' || c == ')') continue;
        if (!skipping) typed += c;
        if (c == ')') skipping = false;
      }
      // Sometimes the left side of each slash alone.
      for (size_t slash; k % 3 == 1 && (slash = typed.find('/')) != std::string::npos;) {
        typed.erase(slash, typed.find_first_of(" ,", slash) - slash);
      }
      for (const TMatchOptions options :
           {kDefaults, TMatchOptions(moOptionalBrackets | moSlashAlternatives)}) {
        const bool want = reference::Match(expected, typed, kEnglish, options);
        EXPECT_EQ(MatchAnswer(expected, typed, kEnglish, options), want)
            << "expected '" << expected << "', typed '" << typed << "'";
        trues += want;
      }
    }
  }
  EXPECT_GT(trues, 10);
}

// Stored texts that never passed the edit dialog: many groups, many slashes, brackets in odd
// places, filling the 255 bytes of a field. Each comparison completes, and the answers that the
// stages reach first are still found.
TEST(MatchAnswer, PathologicalStoredTextsStayBounded) {
  auto repeat = [](const std::string& unit, size_t size = 255) {
    std::string text;
    while (text.size() + unit.size() <= size) text += unit;
    return text;
  };
  std::string letters;
  for (int i = 0; i < 85; ++i) letters += static_cast<char>('a' + i % 26);
  std::string groups;
  for (char c : letters) groups += std::string("(") + c + ")";
  std::string chain(1, 'a');
  for (int i = 1; i < 128; ++i) chain += std::string("/") + static_cast<char>('a' + i % 26);

  const std::vector<std::string> stored = {
      groups,
      repeat("(a) "),
      repeat("(ab/cd) "),
      repeat("a/b "),
      chain,
      repeat("("),
      repeat(")("),
      repeat("(()"),
      repeat("/"),
      repeat("x/"),
      repeat("(a/b)"),
      repeat("(a),(b)/c;"),
      repeat("to (be) "),
      repeat("(I'm) (can't)/"),
  };
  const std::vector<std::string> typed = {"",      "a",       "abc",
                                          letters, "a b c d", std::string(255, 'a')};
  for (const std::string& text : stored) {
    ASSERT_LE(text.size(), 255u);
    for (const std::string& answer : typed) {
      for (const TMatchOptions options :
           {kDefaults, TMatchOptions(kDefaults & ~moIgnorePunctuation),
            TMatchOptions(moOptionalBrackets | moSlashAlternatives)}) {
        MatchAnswer(text, answer, kEnglish, options);
      }
    }
    EXPECT_TRUE(MatchAnswer(text, text, kEnglish, kDefaults));
  }
  // The depth-first order keeps every group first, and takes the left side of each slash first.
  EXPECT_TRUE(MatchAnswer(groups, letters, kEnglish, kDefaults));
  EXPECT_TRUE(MatchAnswer(groups, letters, kEnglish, moOptionalBrackets));
  EXPECT_TRUE(MatchAnswer(chain, "a", kEnglish, moSlashAlternatives));
  EXPECT_FALSE(MatchAnswer(groups, "zzz", kEnglish, kDefaults));
  EXPECT_FALSE(MatchAnswer(chain, "zzz", kEnglish, kDefaults));
}

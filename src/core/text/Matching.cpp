// SPDX-License-Identifier: MIT
// The answer comparison: list splitting, optional brackets, alternatives and normalisation.
#include "text/Matching.h"

#include <algorithm>
#include <array>
#include <exception>
#include <span>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "text/Languages.h"
#include "text/TextUtils.h"

// The comparison is a cascade of stages, in the fixed order list -> slash -> brackets ->
// contractions -> "to " -> normalisation. Below the list stage every stage is a pure "or" over
// the candidates it makes from the expected text, and the typed text passes through unchanged
// until the contraction stage. So for one expected list part the candidates can be expanded
// once, each reduced to the few normal forms that the last three stages compare, and every
// typed part is then judged by looking its own two normal forms up among them:
//
//   match(r, b) = N(r) = N(b)  or  (r begins with "to " and N(r without it) = N(b))
//              or the same for C(r) against C(b)          (only with moContractions)
//
// where N is the final normalisation and C the contraction expansion. Equality tests of the
// intermediate stages are implied by N(r) = N(b), because the identity is always among the
// bracket candidates; the one stage that may drop the identity (a slash with an empty side)
// is covered by the equality test of the list part itself.
//
// Stored texts were not all checked when they were entered (imports, merges), so the number
// of candidates can be exponential in the number of groups and slashes, and the group loop
// reaches each combination of groups in every order. Here each combination is made once: by
// construction where the groups cannot affect each other (the usual case), else by skipping
// candidates met before. The expansion of each part stops after a fixed amount of work. As the
// candidates come in the stages' own depth-first order, the verdict is the unbounded one
// whenever the expansion completes, which ordinary entries do many times over, and otherwise
// still whatever the stages would have found first.

namespace {

constexpr int kMaxListParts = 16;
constexpr size_t kMaxSlashVariants = 64;
// Work allowed for the expansions of one call, shared out evenly over the expected list parts.
// It is counted roughly in bytes passed over: each candidate made costs its length plus a fixed
// amount, and each normal form or contraction expansion worked out costs a few passes more.
constexpr size_t kExpansionBudget = 256 * 1024;
constexpr size_t kCandidateCost = 32;

struct TContractionRule {
  std::string_view Find;
  std::string_view Replace;
};

constexpr std::array<TContractionRule, 14> ContractionRules = {{
    {"would", "had"},
    {"shall", "will"},
    {"has", "is"},
    {"won't", "will not"},
    {"shan't", "will not"},
    {"can't", "can not"},
    {"cannot", "can not"},
    {"'m", " am"},
    {"'s", " is"},
    {"'re", " are"},
    {"'ve", " have"},
    {"'ll", " will"},
    {"'d", " had"},
    {"n't", " not"},
}};

// The English rules run only for English text, in code page 1252, where no character outside
// ASCII folds to an ASCII letter; ASCII case folding is therefore the locale's.
char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string AsciiLowerCase(const std::string& text) {
  std::string out = text;
  for (char& c : out) c = AsciiLower(c);
  return out;
}

// Every occurrence of find (lower case) in text replaced by replacement (lower case), scanning
// left to right without rescanning a replacement, ignoring case. lower is text in lower case,
// kept so across replacements, and is where the search runs.
void ReplaceAllIgnoreCase(std::string& text, std::string& lower, std::string_view find,
                          std::string_view replacement) {
  size_t pos = lower.find(find);
  if (pos == std::string::npos) return;
  std::string newText;
  std::string newLower;
  size_t copied = 0;
  for (; pos != std::string::npos; pos = lower.find(find, copied)) {
    newText.append(text, copied, pos - copied).append(replacement);
    newLower.append(lower, copied, pos - copied).append(replacement);
    copied = pos + find.size();
  }
  newText.append(text, copied, std::string::npos);
  newLower.append(lower, copied, std::string::npos);
  text = std::move(newText);
  lower = std::move(newLower);
}

bool BeginsWithTo(std::string_view text) {
  return text.size() >= 3 && AsciiLower(text[0]) == 't' && AsciiLower(text[1]) == 'o' &&
         text[2] == ' ';
}

// The locale operations promise to fail soft; an exception from below is treated the same way.
std::string SafeLowerCase(const std::string& text, uint16_t langId) {
  try {
    return LocaleLowerCase(text, langId);
  } catch (const std::exception&) {
    return text;
  }
}

std::string SafeStripAccents(const std::string& text, uint16_t langId) {
  try {
    return StripAccents(text, langId);
  } catch (const std::exception&) {
    return text;
  }
}

std::string SafeLettersDigitsOnly(const std::string& text, uint16_t langId, bool dropSpaces) {
  try {
    return LettersDigitsOnly(text, langId, dropSpaces);
  } catch (const std::exception&) {
    return text;
  }
}

// The open and close positions (0-based) of a bracket group are already known here.
std::string KeepGroupText(const std::string& text, size_t open, size_t close) {
  std::string out;
  out.reserve(text.size() - 2);
  out.append(text, 0, open);
  out.append(text, open + 1, close - open - 1);
  out.append(text, close + 1, std::string::npos);
  return out;
}

// A group standing free between blanks (or the ends) takes one blank with it, so that
// "a (b) c" becomes "a c" and "(to) go" becomes "go". from is where the deleted text began.
std::string DropGroup(const std::string& text, size_t open, size_t close, size_t& from) {
  const bool last = close + 1 == text.size();
  from = open;
  size_t to = close;
  if ((open == 0 || text[open - 1] == ' ') && (last || text[close + 1] == ' ')) {
    if (open != 0) {
      --from;
    } else if (!last) {
      ++to;
    }
  }
  std::string out;
  out.reserve(text.size() - (to - from + 1));
  out.append(text, 0, from);
  out.append(text, to + 1, std::string::npos);
  return out;
}

// Whether keeping or dropping one group never changes another group or its surroundings, so
// that the order of the operations does not matter: no group holds a "(" (which a later ")"
// could close once the group is kept), and no group touches the next one.
bool GroupsCommute(const std::string& text) {
  size_t previousClose = std::string::npos;
  for (size_t start = 0;;) {
    const size_t open = text.find('(', start);
    if (open == std::string::npos) return true;
    const size_t close = text.find(')', open + 1);
    if (close == std::string::npos) return true;
    if (text.find('(', open + 1) < close) return false;
    if (previousClose != std::string::npos && open == previousClose + 1) return false;
    previousClose = close;
    start = close + 1;
  }
}

// The n-th "/"-separated piece (n from 1) and the text without it and one adjacent slash; false
// when the piece is missing or empty.
bool NthSlashPiece(std::string_view text, int n, std::string_view& piece, std::string& rest) {
  size_t begin = 0;
  for (int k = 1; k < n; ++k) {
    const size_t slash = text.find('/', begin);
    if (slash == std::string_view::npos) return false;
    begin = slash + 1;
  }
  size_t end = text.find('/', begin);
  if (end == std::string_view::npos) end = text.size();
  if (end == begin) return false;
  piece = text.substr(begin, end - begin);
  if (n == 1) {
    rest = std::string(end < text.size() ? text.substr(end + 1) : std::string_view());
  } else {
    rest = std::string(text.substr(0, begin - 1));
    rest.append(text.substr(end));
  }
  return true;
}

void AddSlashVariants(std::string_view text, const std::string& prefix,
                      std::vector<std::string>& variants) {
  std::string_view piece;
  std::string rest;
  for (int n = 1; variants.size() < kMaxSlashVariants && NthSlashPiece(text, n, piece, rest); ++n) {
    std::string variant = prefix;
    if (!variant.empty()) variant.push_back('/');
    variant.append(piece);
    variants.push_back(variant);
    AddSlashVariants(rest, variant, variants);
  }
}

// All ordered selections of the token's pieces: "x/y" gives x, x/y, y, y/x.
std::vector<std::string> SlashVariants(std::string_view token) {
  std::vector<std::string> variants;
  AddSlashVariants(token, std::string(), variants);
  return variants;
}

// One expected list part and the normal forms of everything its notation stands for.
struct TExpansion {
  std::string Text;
  bool Done = false;
  std::vector<const std::string*> Plain;     // compared with N(typed)
  std::vector<const std::string*> Expanded;  // compared with N(C(typed))
};

class TAnswerMatcher {
public:
  TAnswerMatcher(const std::string& expected, uint16_t langId, TMatchOptions options)
      : m_Expected(expected), m_LangId(langId), m_Options(options) {}

  bool MatchLists(const std::string& typed);
  bool Matches(TExpansion& expected, const std::string& typed, size_t budget);

private:
  bool Has(TMatchOptions bit) const { return (m_Options & bit) != 0; }
  const std::string& Normalised(const std::string& text);
  std::string Normalise(std::string text) const;
  bool Spend(size_t length);
  void Charge(size_t cost) { m_Budget -= std::min(m_Budget, cost); }
  bool ClassifyWordBytes();
  bool IsTokenByte(char c) const {
    return m_WordByte[static_cast<unsigned char>(c)] || c == '\'' || c == '-';
  }
  void ExpandSlashes(const std::string& text, size_t start);
  void ExpandBrackets(const std::string& text);
  void ExpandCommutingGroups(const std::string& text, size_t start);
  void ExpandAnyGroups(const std::string& text);
  void AddCandidate(const std::string& text);
  void AddForms(const std::string& text, std::vector<const std::string*>& forms);

  const std::string& m_Expected;
  const uint16_t m_LangId;
  const TMatchOptions m_Options;
  // The final normalisation is the same for every candidate of a call; references into the
  // map stay valid as it grows.
  std::unordered_map<std::string, std::string> m_Normal;
  enum class TClassState { Unknown, Ready, Failed } m_ClassState = TClassState::Unknown;
  std::array<bool, 256> m_WordByte{};
  // State of the expansion in progress.
  TExpansion* m_Target = nullptr;
  size_t m_Budget = 0;
  std::unordered_set<std::string> m_SlashSeen;
  std::unordered_set<std::string> m_BracketSeen;
};

std::string TAnswerMatcher::Normalise(std::string text) const {
  if (Has(moIzIs)) {
    std::string lower = AsciiLowerCase(text);
    ReplaceAllIgnoreCase(text, lower, "iz", "is");
  }
  if (Has(moIgnoreCase)) text = SafeLowerCase(text, m_LangId);
  // Before the punctuation step, so a letter that loses its accent stays a letter.
  if (Has(moIgnoreAccents)) text = SafeStripAccents(text, m_LangId);
  if (Has(moIgnorePunctuation)) {
    text = SafeLettersDigitsOnly(text, m_LangId, Has(moIgnoreSpacing));
  } else if (Has(moIgnoreSpacing)) {
    std::erase(text, ' ');
  }
  return text;
}

const std::string& TAnswerMatcher::Normalised(const std::string& text) {
  auto found = m_Normal.find(text);
  if (found == m_Normal.end()) {
    Charge(3 * text.size());
    found = m_Normal.emplace(text, Normalise(text)).first;
  }
  return found->second;
}

bool TAnswerMatcher::Spend(size_t length) {
  const size_t cost = length + kCandidateCost;
  if (m_Budget < cost) {
    m_Budget = 0;
    return false;
  }
  m_Budget -= cost;
  return true;
}

// Letter-or-digit classification is per character, and candidates only ever hold bytes of the
// expected text, so one probe of its distinct bytes classifies every candidate. The probe starts
// with a blank, which is never a letter: if it comes back unreplaced, classification failed.
bool TAnswerMatcher::ClassifyWordBytes() {
  if (m_ClassState == TClassState::Unknown) {
    std::array<bool, 256> present{};
    for (const char c : m_Expected) present[static_cast<unsigned char>(c)] = true;
    std::string probe = " ";
    for (int c = 0; c < 256; ++c) {
      if (present[c] && c != ' ' && c != '/') probe.push_back(static_cast<char>(c));
    }
    std::string marked;
    try {
      marked = ReplaceNonWordChars(probe, m_LangId, '/');
    } catch (const std::exception&) {
      marked = probe;
    }
    if (marked.size() != probe.size() || marked[0] != '/') {
      m_ClassState = TClassState::Failed;
    } else {
      for (size_t k = 1; k < probe.size(); ++k) {
        m_WordByte[static_cast<unsigned char>(probe[k])] = marked[k] == probe[k];
      }
      // A UTF-8 byte above 0x7F is no character on its own: it belongs to the word it is in,
      // so "猫/犬" splits only at ASCII punctuation and blanks.
      if (IsUtf8Language(m_LangId)) std::fill(m_WordByte.begin() + 0x80, m_WordByte.end(), true);
      m_ClassState = TClassState::Ready;
    }
  }
  return m_ClassState == TClassState::Ready;
}

// Expands the first slash token at or after start (0-based), then the later ones in each
// candidate; candidates without further slashes go on to the bracket stage. The caller has paid
// for text.
void TAnswerMatcher::ExpandSlashes(const std::string& text, size_t start) {
  const size_t slash = text.find('/', start);
  if (slash == std::string::npos || !ClassifyWordBytes()) {
    ExpandBrackets(text);
    return;
  }
  size_t left = slash;
  while (left > 0 && IsTokenByte(text[left - 1])) --left;
  size_t right = slash + 1;
  while (right < text.size() && IsTokenByte(text[right])) ++right;
  const std::string_view whole(text);
  const std::string_view prefix = whole.substr(0, left);
  const std::string_view suffix = whole.substr(right);
  for (const std::string& variant : SlashVariants(whole.substr(left, right - left))) {
    std::string candidate;
    candidate.reserve(prefix.size() + variant.size() + suffix.size() + 2);
    candidate.append(prefix).append(variant).append(suffix);
    // Twice: once made, once remembered.
    if (!Spend(2 * candidate.size())) return;
    const size_t next = prefix.size() + variant.size();
    // The same candidate can come from different variants ("a/a"); the resume position is part
    // of its identity.
    const size_t length = candidate.size();
    candidate.append(reinterpret_cast<const char*>(&next), sizeof next);
    if (!m_SlashSeen.insert(candidate).second) continue;
    candidate.resize(length);
    ExpandSlashes(candidate, next);
    if (m_Budget == 0) return;
  }
}

void TAnswerMatcher::ExpandBrackets(const std::string& text) {
  if (!Has(moOptionalBrackets)) {
    AddCandidate(text);
  } else if (GroupsCommute(text)) {
    ExpandCommutingGroups(text, 0);
  } else {
    ExpandAnyGroups(text);
  }
}

// Every combination of the groups at or after start left alone, kept or dropped, each exactly
// once, in the order in which the group loop first reaches them: the text itself, then for
// each group from the left its kept and then its dropped form, each expanded for the groups
// after it. (The loop also tries the earlier groups again; those combinations have already
// been met.)
void TAnswerMatcher::ExpandCommutingGroups(const std::string& text, size_t start) {
  AddCandidate(text);
  for (size_t search = start;;) {
    const size_t open = text.find('(', search);
    if (open == std::string::npos) return;
    const size_t close = text.find(')', open + 1);
    if (close == std::string::npos) return;
    const std::string kept = KeepGroupText(text, open, close);
    if (!Spend(kept.size())) return;
    ExpandCommutingGroups(kept, close - 1);
    size_t from = 0;
    const std::string dropped = DropGroup(text, open, close, from);
    if (m_Budget == 0 || !Spend(dropped.size())) return;
    ExpandCommutingGroups(dropped, from);
    if (m_Budget == 0) return;
    search = close + 1;
  }
}

// The group loop as it stands, for texts whose groups interact: each candidate is expanded
// from its first group, and one met before has already been expanded with all it reaches.
void TAnswerMatcher::ExpandAnyGroups(const std::string& text) {
  if (!m_BracketSeen.insert(text).second) return;
  AddCandidate(text);
  for (size_t search = 0;;) {
    const size_t open = text.find('(', search);
    if (open == std::string::npos) return;
    const size_t close = text.find(')', open + 1);
    if (close == std::string::npos) return;
    const std::string kept = KeepGroupText(text, open, close);
    if (!Spend(kept.size())) return;
    ExpandAnyGroups(kept);
    size_t from = 0;
    const std::string dropped = DropGroup(text, open, close, from);
    if (m_Budget == 0 || !Spend(dropped.size())) return;
    ExpandAnyGroups(dropped);
    if (m_Budget == 0) return;
    search = close + 1;
  }
}

void TAnswerMatcher::AddForms(const std::string& text, std::vector<const std::string*>& forms) {
  forms.push_back(&Normalised(text));
  if (Has(moOmitTo) && BeginsWithTo(text)) forms.push_back(&Normalised(text.substr(3)));
}

void TAnswerMatcher::AddCandidate(const std::string& text) {
  AddForms(text, m_Target->Plain);
  if (Has(moContractions)) {
    Charge(2 * text.size());
    AddForms(ExpandContractions(text), m_Target->Expanded);
  }
}

bool TAnswerMatcher::Matches(TExpansion& expected, const std::string& typed, size_t budget) {
  if (expected.Text == typed) return true;
  if (!expected.Done) {
    m_Target = &expected;
    m_Budget = budget;
    if (Spend(expected.Text.size())) {
      if (Has(moSlashAlternatives)) {
        ExpandSlashes(expected.Text, 0);
      } else {
        ExpandBrackets(expected.Text);
      }
    }
    m_SlashSeen.clear();
    m_BracketSeen.clear();
    m_Target = nullptr;
    expected.Done = true;
  }
  const std::string& plain = Normalised(typed);
  for (const std::string* form : expected.Plain) {
    if (*form == plain) return true;
  }
  if (Has(moContractions) && !expected.Expanded.empty()) {
    const std::string& expanded = Normalised(ExpandContractions(typed));
    for (const std::string* form : expected.Expanded) {
      if (*form == expanded) return true;
    }
  }
  return false;
}

bool TAnswerMatcher::MatchLists(const std::string& typed) {
  std::array<std::string, kMaxListParts> partsA;
  std::array<std::string, kMaxListParts> partsB;
  const int countA = SplitList(m_Expected, ",;", true, partsA, true);
  const int countB = SplitList(typed, ",;", true, partsB, true);
  std::array<TExpansion, kMaxListParts> expected;
  for (int i = 0; i < countA; ++i) expected[i].Text = std::move(partsA[i]);
  const size_t budget = kExpansionBudget / static_cast<size_t>(std::max(countA, 1));

  int matches = 0;
  if (Has(moAnyOrder)) {
    for (int i = 0; i < countA; ++i) {
      for (int j = 0; j < countB; ++j) {
        if (Matches(expected[i], partsB[j], budget)) {
          ++matches;
          break;
        }
      }
    }
  } else {
    // The typed parts in the expected order; expected parts may be skipped.
    for (int i = 0, j = 0; i < countA && j < countB; ++i) {
      if (Matches(expected[i], partsB[j], budget)) {
        ++matches;
        ++j;
      }
    }
  }
  if (matches != countB) return false;
  if (Has(moAnyCorrect)) return countB != 0 || countA == 0;
  return countB == countA;
}

}  // namespace

std::string ExpandContractions(const std::string& text) {
  std::string out = text;
  std::string lower = AsciiLowerCase(text);
  for (const TContractionRule& rule : ContractionRules) {
    ReplaceAllIgnoreCase(out, lower, rule.Find, rule.Replace);
  }
  return out;
}

bool MatchAnswer(const std::string& expected, const std::string& typed, uint16_t langId,
                 TMatchOptions options) {
  if (expected == typed) return true;
  if (!IsEnglish(langId)) options &= static_cast<TMatchOptions>(~kEnglishMatchOptions);
  TAnswerMatcher matcher(expected, langId, options);
  if ((options & moSynonymList) != 0) return matcher.MatchLists(typed);
  TExpansion whole;
  whole.Text = expected;
  return matcher.Matches(whole, typed, kExpansionBudget);
}

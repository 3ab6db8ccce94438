// SPDX-License-Identifier: MIT
// The slip rule and the letter alignment behind it and behind the marked differences.
#include "text/Slip.h"

#include <algorithm>
#include <array>
#include <exception>
#include <limits>
#include <span>
#include <unordered_set>

#include "text/Languages.h"
#include "text/TextUtils.h"

// The comparison stays the judge: the alignment here only proposes which edit would turn a
// typed item into a reading of an expected item, and an edit counts only when MatchAnswer then
// accepts the corrected answer. So the readings (the plain texts that brackets, "/" and "to "
// give) may be approximate and bounded: a missed reading can only miss a slip, never accept a
// wrong answer.

namespace {

constexpr int kMaxListParts = 16;
constexpr size_t kMaxReadings = 64;  // per call, shared out over the expected items
constexpr size_t kMaxProposals = 6;  // corrected answers put to the comparison
// Typed items the comparison is asked about one by one, when the letters leave several in doubt.
constexpr size_t kMaxItemChecks = 8;
// Expansion steps allowed per expected item and stage: different choices can give the same
// reading ("(a) (a)"), so the number of readings alone does not bound the work.
constexpr size_t kMaxReadingSteps = 4096;
// Alignment cells allowed for the marks of one answer; beyond it items stay unmarked.
constexpr size_t kMarkCellBudget = 1 << 21;
constexpr int kNoMatch = std::numeric_limits<int>::max() / 4;
size_t LetterEnd(const std::string& text, size_t pos, bool utf8) {
  if (pos >= text.size()) return text.size();
  const auto lead = static_cast<unsigned char>(text[pos]);
  size_t length = 1;
  if (utf8) length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  size_t end = pos + 1;
  // Only continuation bytes belong to the letter; a damaged sequence ends early.
  while (end < text.size() && end < pos + length &&
         (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
    ++end;
  }
  return end;
}

// One letter of a text as the comparison sees it.
struct TLetter {
  uint32_t Begin = 0;
  uint32_t End = 0;
  uint32_t Key = 0;  // equal keys: letters the comparison does not tell apart
  bool Digit = false;
  bool Word = false;  // a letter or digit, counted by the length rule
};
using TLetters = std::vector<TLetter>;

uint32_t HashKey(const std::string& text) {
  uint32_t hash = 2166136261u;
  for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return hash | 0x80000000u;  // never the key of a single byte
}

// Turns texts into letters under the options of one call.
class TLetterReader {
public:
  TLetterReader(uint16_t langId, TMatchOptions options)
      : m_LangId(langId), m_Options(options), m_Utf8(IsUtf8Language(langId)) {
    for (int b = 0; b < 256; ++b) m_Fold[b] = static_cast<uint8_t>(b);
    try {
      const std::array<bool, 256>& word = WordCharMap(langId);
      m_Word = word;
      if (Has(moIgnoreCase)) {
        const TByteMap& lower = LowerCaseMap(langId);
        for (int b = 0; b < 256; ++b) m_Fold[b] = lower.Map[m_Fold[b]];
      }
      if (Has(moIgnoreAccents)) {
        const TByteMap& strip = StripAccentsMap(langId);
        for (int b = 0; b < 256; ++b) m_Fold[b] = strip.Map[m_Fold[b]];
      }
    } catch (const std::exception&) {
      // Without the locale's tables the letters are compared as they are.
      for (int b = 0; b < 256; ++b)
        m_Word[b] = (b >= '0' && b <= '9') || ((b | 0x20) >= 'a' && (b | 0x20) <= 'z');
    }
  }

  bool Utf8() const { return m_Utf8; }
  bool IsWordByte(char c) const { return m_Word[static_cast<unsigned char>(c)]; }

  TLetters Read(const std::string& text, size_t begin, size_t end) const {
    TLetters letters;
    for (size_t pos = begin; pos < end;) {
      const size_t next = std::min(LetterEnd(text, pos, m_Utf8), end);
      auto b = static_cast<unsigned char>(text[pos]);
      TLetter letter;
      letter.Begin = static_cast<uint32_t>(pos);
      letter.End = static_cast<uint32_t>(next);
      if (next - pos > 1) {
        letter.Word = true;
        letter.Key = HashKey(FoldWide(text.substr(pos, next - pos)));
      } else {
        letter.Word = m_Word[b];
        letter.Digit = b >= '0' && b <= '9';
        if (Dropped(b)) {
          pos = next;
          continue;
        }
        // "iz" is read as "is" where the comparison does so.
        if (Has(moIzIs) && (b | 0x20) == 'z' && pos > 0 && (text[pos - 1] | 0x20) == 'i') b = 's';
        letter.Key = m_Fold[b];
      }
      letters.push_back(letter);
      pos = next;
    }
    return letters;
  }

private:
  bool Has(TMatchOptions bit) const { return (m_Options & bit) != 0; }
  bool Dropped(unsigned char b) const {
    if (Has(moIgnorePunctuation)) return !m_Word[b] && !(b == ' ' && !Has(moIgnoreSpacing));
    return b == ' ' && Has(moIgnoreSpacing);
  }
  std::string FoldWide(std::string letter) const {
    try {
      if (Has(moIgnoreCase)) letter = LocaleLowerCase(letter, m_LangId);
      if (Has(moIgnoreAccents)) letter = StripAccents(letter, m_LangId);
    } catch (const std::exception&) {
    }
    return letter;
  }

  uint16_t m_LangId;
  TMatchOptions m_Options;
  bool m_Utf8;
  std::array<uint8_t, 256> m_Fold{};
  std::array<bool, 256> m_Word{};
};

// Bytes [begin, end) of each list item of text, trimmed as the comparison trims them.
std::vector<TLetterSpan> ItemSpans(const std::string& text, bool list) {
  std::vector<TLetterSpan> items;
  if (!list) {
    if (!text.empty()) items.push_back({0, text.size()});
    return items;
  }
  for (size_t start = 0; start <= text.size() && items.size() < kMaxListParts;) {
    size_t end = text.find_first_of(",;", start);
    if (end == std::string::npos) end = text.size();
    size_t b = start;
    size_t e = end;
    while (b < e && static_cast<unsigned char>(text[b]) <= 0x20) ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 0x20) --e;
    if (e > b) items.push_back({b, e});
    start = end + 1;
  }
  return items;
}

// The plain texts one expected item stands for, the item itself first, at most cap of them.
class TReadingMaker {
public:
  TReadingMaker(const TLetterReader& reader, TMatchOptions options, size_t cap)
      : m_Reader(reader), m_Options(options), m_Cap(cap) {}

  std::vector<std::string> Make(const std::string& item) {
    m_Out.clear();
    m_Seen.clear();
    m_Steps = 0;
    Add(item);
    std::vector<std::string> slashed;
    if (Has(moSlashAlternatives)) {
      Slashes(item, 0, slashed);
    } else {
      slashed.push_back(item);
    }
    m_Steps = 0;
    for (const std::string& text : slashed) {
      if (Has(moOptionalBrackets)) {
        Brackets(text, 0);
      } else {
        Add(text);
      }
    }
    if (Has(moOmitTo)) {
      const size_t count = m_Out.size();
      for (size_t i = 0; i < count; ++i) {
        const std::string& text = m_Out[i];
        if (text.size() > 3 && (text[0] | 0x20) == 't' && (text[1] | 0x20) == 'o' &&
            text[2] == ' ') {
          Add(text.substr(3));
        }
      }
    }
    return std::move(m_Out);
  }

private:
  bool Has(TMatchOptions bit) const { return (m_Options & bit) != 0; }
  bool Full() const { return m_Out.size() >= m_Cap; }
  void Add(const std::string& text) {
    if (!Full() && m_Seen.insert(text).second) m_Out.push_back(text);
  }
  bool IsTokenByte(char c) const {
    return m_Reader.IsWordByte(c) || c == '\'' || c == '-' ||
           (m_Reader.Utf8() && static_cast<unsigned char>(c) >= 0x80);
  }

  // Each "/"-joined token read as each of its pieces, or left as it is.
  void Slashes(const std::string& text, size_t start, std::vector<std::string>& out) {
    if (out.size() >= m_Cap || ++m_Steps >= kMaxReadingSteps) return;
    const size_t slash = text.find('/', start);
    if (slash == std::string::npos) {
      out.push_back(text);
      return;
    }
    size_t left = slash;
    while (left > 0 && IsTokenByte(text[left - 1])) --left;
    size_t right = slash + 1;
    while (right < text.size() && (IsTokenByte(text[right]) || text[right] == '/')) ++right;
    const std::string token = text.substr(left, right - left);
    Slashes(text, right, out);
    for (size_t from = 0; from <= token.size() && out.size() < m_Cap;) {
      size_t to = token.find('/', from);
      if (to == std::string::npos) to = token.size();
      if (to > from) {
        const std::string piece = token.substr(from, to - from);
        Slashes(text.substr(0, left) + piece + text.substr(right), left + piece.size(), out);
      }
      from = to + 1;
    }
  }

  // Each "(...)" group kept without its brackets or left out with one blank beside it.
  void Brackets(const std::string& text, size_t start) {
    if (Full() || ++m_Steps >= kMaxReadingSteps) return;
    const size_t open = text.find('(', start);
    const size_t close = open == std::string::npos ? open : text.find(')', open + 1);
    if (close == std::string::npos) {
      Add(text);
      return;
    }
    std::string kept = text;
    kept.erase(close, 1);
    kept.erase(open, 1);
    Brackets(kept, close - 1);
    std::string dropped = text;
    size_t from = open;
    size_t to = close + 1;
    if (from > 0 && dropped[from - 1] == ' ') {
      --from;
    } else if (to < dropped.size() && dropped[to] == ' ') {
      ++to;
    }
    dropped.erase(from, to - from);
    Brackets(dropped, from);
  }

  const TLetterReader& m_Reader;
  TMatchOptions m_Options;
  size_t m_Cap;
  std::vector<std::string> m_Out;
  std::unordered_set<std::string> m_Seen;
  size_t m_Steps = 0;
};

enum class TEditKind : uint8_t { Replace, Extra, Missing, Swap };
// One edit that turns the typed letters into the reading's, at cell (I, J) of the alignment:
// Replace a[I-1] by b[J-1], Extra a[I-1], Missing b[J-1] after a[I-1], Swap a[I-2] and a[I-1].
struct TEdit {
  TEditKind Kind;
  uint32_t I;
  uint32_t J;
};

// The least number of edits (replace, delete, insert, swap neighbours) that turns a into b, or
// more than maxEdits when it takes more. With digitsFixed no edit may touch a digit. edits gets
// one least sequence, rightmost first. Only the cells within maxEdits of the diagonal are
// worked out.
class TAligner {
public:
  int Align(const TLetters& a, const TLetters& b, int maxEdits, bool digitsFixed,
            std::vector<TEdit>* edits) {
    const int n = static_cast<int>(a.size());
    const int m = static_cast<int>(b.size());
    if (std::abs(n - m) > maxEdits) return maxEdits + 1;
    m_Band = maxEdits;
    m_Width = 2 * maxEdits + 1;
    m_Cells.assign(static_cast<size_t>(n + 1) * m_Width, kNoMatch);
    const auto fixed = [&](const TLetter& l) { return digitsFixed && l.Digit; };
    int previousRowMin = kNoMatch;
    for (int i = 0; i <= n; ++i) {
      int rowMin = kNoMatch;
      for (int j = std::max(0, i - maxEdits); j <= std::min(m, i + maxEdits); ++j) {
        int best = kNoMatch;
        if (i == 0 && j == 0) {
          best = 0;
        } else {
          if (i > 0 && j > 0) {
            const bool same = a[i - 1].Key == b[j - 1].Key;
            if (same || !(fixed(a[i - 1]) || fixed(b[j - 1]))) {
              best = std::min(best, At(i - 1, j - 1) + (same ? 0 : 1));
            }
          }
          if (i > 0 && !fixed(a[i - 1])) best = std::min(best, At(i - 1, j) + 1);
          if (j > 0 && !fixed(b[j - 1])) best = std::min(best, At(i, j - 1) + 1);
          if (Swappable(a, b, i, j) && !fixed(a[i - 1]) && !fixed(a[i - 2])) {
            best = std::min(best, At(i - 2, j - 2) + 1);
          }
        }
        Cell(i, j) = std::min(best, kNoMatch);
        rowMin = std::min(rowMin, Cell(i, j));
      }
      // A swap reaches back two rows, so two rows over the limit end the search.
      if (rowMin > maxEdits && previousRowMin > maxEdits) return maxEdits + 1;
      previousRowMin = rowMin;
    }
    const int distance = At(n, m);
    if (distance > maxEdits) return maxEdits + 1;
    if (edits) Trace(a, b, n, m, digitsFixed, *edits);
    return distance;
  }

  static size_t Cells(const TLetters& a, int maxEdits) {
    return (a.size() + 1) * static_cast<size_t>(2 * maxEdits + 1);
  }

private:
  static bool Swappable(const TLetters& a, const TLetters& b, int i, int j) {
    return i > 1 && j > 1 && a[i - 1].Key == b[j - 2].Key && a[i - 2].Key == b[j - 1].Key &&
           a[i - 1].Key != a[i - 2].Key;
  }
  int& Cell(int i, int j) { return m_Cells[static_cast<size_t>(i) * m_Width + (j - i + m_Band)]; }
  int At(int i, int j) const {
    if (i < 0 || j < 0 || j - i > m_Band || i - j > m_Band) return kNoMatch;
    return m_Cells[static_cast<size_t>(i) * m_Width + (j - i + m_Band)];
  }

  void Trace(const TLetters& a, const TLetters& b, int i, int j, bool digitsFixed,
             std::vector<TEdit>& edits) const {
    const auto fixed = [&](const TLetter& l) { return digitsFixed && l.Digit; };
    while (i > 0 || j > 0) {
      const int here = At(i, j);
      const auto step = [&](TEditKind kind) {
        edits.push_back({kind, static_cast<uint32_t>(i), static_cast<uint32_t>(j)});
      };
      if (i > 0 && j > 0 && a[i - 1].Key == b[j - 1].Key && At(i - 1, j - 1) == here) {
        --i, --j;
      } else if (i > 0 && j > 0 && !fixed(a[i - 1]) && !fixed(b[j - 1]) &&
                 At(i - 1, j - 1) + 1 == here) {
        step(TEditKind::Replace);
        --i, --j;
      } else if (Swappable(a, b, i, j) && !fixed(a[i - 1]) && !fixed(a[i - 2]) &&
                 At(i - 2, j - 2) + 1 == here) {
        step(TEditKind::Swap);
        i -= 2, j -= 2;
      } else if (i > 0 && !fixed(a[i - 1]) && At(i - 1, j) + 1 == here) {
        step(TEditKind::Extra);
        --i;
      } else {
        step(TEditKind::Missing);
        --j;
      }
    }
  }

  std::vector<int> m_Cells;
  int m_Band = 0;
  int m_Width = 1;
};

// The typed letters an edit concerns; a missing letter marks its left neighbour.
void AddMarks(const TLetters& a, const std::vector<TEdit>& edits, std::vector<TLetterSpan>& marks) {
  for (const TEdit& edit : edits) {
    const auto mark = [&](size_t k) {
      if (k < a.size()) marks.push_back({a[k].Begin, a[k].End});
    };
    switch (edit.Kind) {
      case TEditKind::Replace:
      case TEditKind::Extra:
        mark(edit.I - 1);
        break;
      case TEditKind::Swap:
        mark(edit.I - 2);
        mark(edit.I - 1);
        break;
      case TEditKind::Missing:
        mark(edit.I > 0 ? edit.I - 1 : 0);
        break;
    }
  }
}

// typed with the edits applied; edits come rightmost first, so earlier offsets stay valid.
std::string ApplyEdits(const std::string& typed, size_t itemBegin, const TLetters& a,
                       const std::string& reading, const TLetters& b,
                       const std::vector<TEdit>& edits) {
  std::string out = typed;
  for (const TEdit& edit : edits) {
    const auto bytesOf = [&](const TLetter& l) { return reading.substr(l.Begin, l.End - l.Begin); };
    switch (edit.Kind) {
      case TEditKind::Replace: {
        const TLetter& l = a[edit.I - 1];
        out.replace(l.Begin, l.End - l.Begin, bytesOf(b[edit.J - 1]));
        break;
      }
      case TEditKind::Extra: {
        const TLetter& l = a[edit.I - 1];
        out.erase(l.Begin, l.End - l.Begin);
        break;
      }
      case TEditKind::Missing:
        out.insert(edit.I > 0 ? a[edit.I - 1].End : itemBegin, bytesOf(b[edit.J - 1]));
        break;
      case TEditKind::Swap: {
        const TLetter& first = a[edit.I - 2];
        const TLetter& second = a[edit.I - 1];
        const std::string between = typed.substr(first.End, second.Begin - first.End);
        out.replace(first.Begin, second.End - first.Begin,
                    typed.substr(second.Begin, second.End - second.Begin) + between +
                        typed.substr(first.Begin, first.End - first.Begin));
        break;
      }
    }
  }
  return out;
}

int WordCount(const TLetters& letters) {
  return static_cast<int>(
      std::count_if(letters.begin(), letters.end(), [](const TLetter& l) { return l.Word; }));
}

// Edits a slip may take between an item and a reading.
int SlipAllowance(const TLetters& a, const TLetters& b) {
  const int letters = std::min(WordCount(a), WordCount(b));
  if (letters <= 3) return 0;
  return letters >= 8 ? 2 : 1;
}

struct TReading {
  std::string Text;
  TLetters Letters;
  int Part = 0;
};

// The typed items and the readings of the expected items of one answer.
class TAnswerLetters {
public:
  TAnswerLetters(const std::string& expected, const std::string& typed, uint16_t langId,
                 TMatchOptions options)
      : m_Typed(typed), m_LangId(langId), m_Options(options), m_Reader(langId, options) {
    const bool list = (options & moSynonymList) != 0;
    Items = ItemSpans(typed, list);
    for (const TLetterSpan& item : Items)
      ItemLetters.push_back(m_Reader.Read(typed, item.Begin, item.End));
    std::array<std::string, kMaxListParts> parts;
    int count = 1;
    if (list) {
      count = SplitList(expected, ",;", true, parts, true);
    } else {
      parts[0] = expected;
    }
    Parts.assign(parts.begin(), parts.begin() + count);
    TReadingMaker maker(m_Reader, options, std::max<size_t>(4, kMaxReadings / std::max(count, 1)));
    for (int p = 0; p < count; ++p) {
      for (std::string& text : maker.Make(Parts[p])) {
        TReading reading;
        reading.Letters = m_Reader.Read(text, 0, text.size());
        reading.Text = std::move(text);
        reading.Part = p;
        Readings.push_back(std::move(reading));
      }
    }
  }

  std::string ItemText(size_t j) const {
    return m_Typed.substr(Items[j].Begin, Items[j].End - Items[j].Begin);
  }
  // Whether an expected item accepts typed item j on its own, as the list stage compares them.
  bool ItemAccepted(size_t j) const {
    const auto single = static_cast<TMatchOptions>(m_Options & ~moSynonymList);
    const std::string text = ItemText(j);
    return std::any_of(Parts.begin(), Parts.end(), [&](const std::string& part) {
      return MatchAnswer(part, text, m_LangId, single);
    });
  }

  std::vector<TLetterSpan> Items;
  std::vector<TLetters> ItemLetters;
  std::vector<std::string> Parts;
  std::vector<TReading> Readings;

private:
  const std::string& m_Typed;
  uint16_t m_LangId;
  TMatchOptions m_Options;
  TLetterReader m_Reader;
};

TMatchOptions EffectiveOptions(uint16_t langId, TMatchOptions options) {
  if (!IsEnglish(langId)) options &= static_cast<TMatchOptions>(~kEnglishMatchOptions);
  return options;
}

struct TProposal {
  int Distance;
  std::string Corrected;
  std::vector<TLetterSpan> Marks;
};

}  // namespace

size_t NextLetter(const std::string& text, size_t pos, uint16_t langId) {
  return LetterEnd(text, pos, IsUtf8Language(langId));
}

TSlipMatch MatchSlip(const std::string& expected, const std::string& typed, uint16_t langId,
                     TMatchOptions options) {
  TSlipMatch result;
  if ((options & moAcceptSlip) == 0) return result;
  options = EffectiveOptions(langId, options);
  const TAnswerLetters answer(expected, typed, langId, options);
  TAligner aligner;

  // The item to correct is the one no reading takes as it is; with several such items one slip
  // cannot be the whole fault, unless the comparison takes all but one of them.
  std::vector<size_t> unmatched;
  for (size_t j = 0; j < answer.Items.size(); ++j) {
    const bool matched =
        std::any_of(answer.Readings.begin(), answer.Readings.end(), [&](const TReading& r) {
          return aligner.Align(answer.ItemLetters[j], r.Letters, 0, false, nullptr) == 0;
        });
    if (!matched) unmatched.push_back(j);
  }
  if (unmatched.size() > kMaxItemChecks) return result;
  if (unmatched.size() > 1) {
    // Two items the comparison refuses settle it.
    std::vector<size_t> refused;
    for (const size_t j : unmatched) {
      if (!answer.ItemAccepted(j)) refused.push_back(j);
      if (refused.size() > 1) return result;
    }
    unmatched = refused;
  }
  if (unmatched.size() != 1) return result;
  const size_t j = unmatched[0];
  const TLetters& a = answer.ItemLetters[j];

  std::vector<TProposal> proposals;
  std::unordered_set<std::string> seen;
  std::vector<TEdit> edits;
  for (const TReading& r : answer.Readings) {
    const int allowed = SlipAllowance(a, r.Letters);
    if (allowed == 0) continue;
    edits.clear();
    const int distance = aligner.Align(a, r.Letters, allowed, true, &edits);
    if (distance < 1 || distance > allowed) continue;
    TProposal proposal{
        distance, ApplyEdits(typed, answer.Items[j].Begin, a, r.Text, r.Letters, edits), {}};
    if (!seen.insert(proposal.Corrected).second) continue;
    AddMarks(a, edits, proposal.Marks);
    proposals.push_back(std::move(proposal));
  }
  std::stable_sort(proposals.begin(), proposals.end(),
                   [](const TProposal& x, const TProposal& y) { return x.Distance < y.Distance; });
  if (proposals.size() > kMaxProposals) proposals.resize(kMaxProposals);
  for (TProposal& proposal : proposals) {
    if (!MatchAnswer(expected, proposal.Corrected, langId, options)) continue;
    result.Accepted = true;
    result.Corrected = std::move(proposal.Corrected);
    result.Marks = std::move(proposal.Marks);
    std::sort(result.Marks.begin(), result.Marks.end(),
              [](const TLetterSpan& x, const TLetterSpan& y) { return x.Begin < y.Begin; });
    result.Marks.erase(std::unique(result.Marks.begin(), result.Marks.end()), result.Marks.end());
    break;
  }
  return result;
}

std::vector<TLetterSpan> DifferingLetters(const std::string& expected, const std::string& typed,
                                          uint16_t langId, TMatchOptions options) {
  options = EffectiveOptions(langId, options);
  const TAnswerLetters answer(expected, typed, langId, options);
  TAligner aligner;
  std::vector<TLetterSpan> marks;
  size_t budget = kMarkCellBudget;
  std::vector<TEdit> edits;
  std::vector<TEdit> bestEdits;
  for (size_t j = 0; j < answer.Items.size(); ++j) {
    const TLetters& a = answer.ItemLetters[j];
    int best = kNoMatch;
    for (const TReading& r : answer.Readings) {
      const int limit = static_cast<int>(std::max(a.size(), r.Letters.size()));
      const size_t cells = TAligner::Cells(a, limit);
      if (cells > budget) break;
      budget -= cells;
      edits.clear();
      const int distance = aligner.Align(a, r.Letters, std::min(limit, best - 1), false, &edits);
      if (distance < best) {
        best = distance;
        bestEdits.swap(edits);
      }
      if (best == 0) break;
    }
    if (best == 0 || best == kNoMatch || answer.ItemAccepted(j)) continue;
    AddMarks(a, bestEdits, marks);
  }
  std::sort(marks.begin(), marks.end(),
            [](const TLetterSpan& x, const TLetterSpan& y) { return x.Begin < y.Begin; });
  marks.erase(std::unique(marks.begin(), marks.end()), marks.end());
  return marks;
}

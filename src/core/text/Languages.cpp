// SPDX-License-Identifier: MIT
// The language table, code-page conversion, case and accent maps and collation keys (ICU).
#include "text/Languages.h"

#include <unicode/ubrk.h>
#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/ulocdata.h>
#include <unicode/unorm2.h>
#include <unicode/uscript.h>
#include <unicode/uset.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

const std::array<TLangInfo, kLanguageCount>& Table() {
  static const std::array<TLangInfo, kLanguageCount> table = {{
      {0x0436, "Afrikaans", "Af", 1252},
      {0x041C, "Albanian", "Sq", 1250},
      {0x042D, "Basque", "Eu", 1252},
      {0x0423, "Belarusian", "Be", 1251},
      {0x0402, "Bulgarian", "Bg", 1251},
      {0x0403, "Catalan", "Ca", 1252},
      {0x041A, "Croatian", "Hr", 1250},
      {0x0405, "Czech", "Cs", 1250},
      {0x0406, "Danish", "Da", 1252},
      {0x0813, "Dutch (Belgian)", "Nl", 1252},
      {0x0413, "Dutch (Standard)", "Nl", 1252},
      {0x0C09, "English (Australian)", "En", 1252},
      {0x1009, "English (Canadian)", "En", 1252},
      {0x2409, "English (Caribbean)", "En", 1252},
      {0x1809, "English (Ireland)", "En", 1252},
      {0x2009, "English (Jamaica)", "En", 1252},
      {0x1409, "English (New Zealand)", "En", 1252},
      {0x1C09, "English (South Africa)", "En", 1252},
      {0x0809, "English (United Kingdom)", "En", 1252},
      {0x0409, "English (United States)", "En", 1252},
      {0x0425, "Estonian", "Et", 1257},
      {0x040B, "Finnish", "Fi", 1252},
      {0x080C, "French (Belgian)", "Fr", 1252},
      {0x0C0C, "French (Canadian)", "Fr", 1252},
      {0x140C, "French (Luxembourg)", "Fr", 1252},
      {0x040C, "French (Standard)", "Fr", 1252},
      {0x100C, "French (Swiss)", "Fr", 1252},
      {0x0C07, "German (Austrian)", "De", 1252},
      {0x1407, "German (Liechtenstein)", "De", 1252},
      {0x1007, "German (Luxembourg)", "De", 1252},
      {0x0407, "German (Standard)", "De", 1252},
      {0x0807, "German (Swiss)", "De", 1252},
      {0x0408, "Greek", "El", 1253},
      {0x040E, "Hungarian", "Hu", 1250},
      {0x040F, "Icelandic", "Is", 1252},
      {0x0421, "Indonesian", "In", 1252},
      {0x0410, "Italian (Standard)", "It", 1252},
      {0x0810, "Italian (Swiss)", "It", 1252},
      {0x0426, "Latvian", "Lv", 1257},
      {0x0427, "Lithuanian", "Lt", 1257},
      {0x042F, "Macedonian (FYROM)", "Mk", 1251},
      {0x0414, "Norwegian (Bokmal)", "No", 1252},
      {0x0814, "Norwegian (Nynorsk)", "No", 1252},
      {0x0415, "Polish", "Pl", 1250},
      {0x0416, "Portuguese (Brazilian)", "Pt", 1252},
      {0x0816, "Portuguese (Standard)", "Pt", 1252},
      {0x0418, "Romanian", "Ro", 1250},
      {0x0419, "Russian", "Ru", 1251},
      {0x0C1A, "Serbian (Cyrillic)", "Sr", 1251},
      {0x041B, "Slovak", "Sk", 1250},
      {0x0424, "Slovenian", "Sl", 1250},
      {0x2C0A, "Spanish (Argentina)", "Es", 1252},
      {0x400A, "Spanish (Bolivia)", "Es", 1252},
      {0x340A, "Spanish (Chile)", "Es", 1252},
      {0x240A, "Spanish (Colombia)", "Es", 1252},
      {0x140A, "Spanish (Costa Rica)", "Es", 1252},
      {0x1C0A, "Spanish (Dominican Republic)", "Es", 1252},
      {0x300A, "Spanish (Ecuador)", "Es", 1252},
      {0x440A, "Spanish (El Salvador)", "Es", 1252},
      {0x100A, "Spanish (Guatemala)", "Es", 1252},
      {0x480A, "Spanish (Honduras)", "Es", 1252},
      {0x0C0A, "Spanish (International Sort)", "Es", 1252},
      {0x080A, "Spanish (Mexico)", "Es", 1252},
      {0x4C0A, "Spanish (Nicaragua)", "Es", 1252},
      {0x180A, "Spanish (Panama)", "Es", 1252},
      {0x3C0A, "Spanish (Paraguay)", "Es", 1252},
      {0x280A, "Spanish (Peru)", "Es", 1252},
      {0x500A, "Spanish (Puerto Rico)", "Es", 1252},
      {0x040A, "Spanish (Traditional Sort)", "Es", 1252},
      {0x380A, "Spanish (Uruguay)", "Es", 1252},
      {0x200A, "Spanish (Venezuela)", "Es", 1252},
      {0x041D, "Swedish", "Sv", 1252},
      {0x041F, "Turkish", "Tr", 1254},
      {0x0422, "Ukrainian", "Uk", 1251},
      // Added later, so they follow the original rows.
      {0x0401, "Arabic", "Ar", 1256},
      {0x0429, "Persian", "Fa", 1256},
      {0x040D, "Hebrew", "He", 1255},
      {0x042A, "Vietnamese", "Vi", 1258},
      {0x041E, "Thai", "Th", 874},
      {0x0411, "Japanese", "Ja", kUtf8CodePage},
      {0x0804, "Chinese (Simplified)", "Zh", kUtf8CodePage},
      {0x0404, "Chinese (Traditional)", "Zh", kUtf8CodePage},
      {0x0412, "Korean", "Ko", kUtf8CodePage},
      {0x0439, "Hindi", "Hi", kUtf8CodePage},
      {0x0445, "Bengali", "Bn", kUtf8CodePage},
      {0x0449, "Tamil", "Ta", kUtf8CodePage},
      {0x0437, "Georgian", "Ka", kUtf8CodePage},
      {0x042B, "Armenian", "Hy", kUtf8CodePage},
  }};
  return table;
}

const TLangInfo* FindRow(uint16_t langId) {
  for (const TLangInfo& row : Table()) {
    if (row.LangId == langId) return &row;
  }
  return nullptr;
}

constexpr int32_t kDefaultCodePage = 1252;

struct TConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
struct TCollatorCloser {
  void operator()(UCollator* c) const { ucol_close(c); }
};
struct TBreakCloser {
  void operator()(UBreakIterator* b) const { ubrk_close(b); }
};

// What a code page needs, opened once per thread: the converter (not thread-safe, hence the
// per-thread cache) and the per-byte tables derived from it.
struct TCodePage {
  int32_t CodePage = 0;
  std::unique_ptr<UConverter, TConverterCloser> Converter;
  std::string Error;            // why there is no converter
  bool OneUnitPerByte = false;  // every byte is one UTF-16 unit: Wide is the whole conversion
  bool Utf8 = false;
  bool BytesAreCharacters = false;  // one unit per byte and no combining marks among them
  // Vietnamese: letters with two marks exist only as a letter with one mark and a tone mark.
  bool Composes = false;
  std::u16string Chars;  // every character of the code page, sorted (only when Composes)
  std::array<char16_t, 256> Wide{};
  // UTF-16 unit -> byte for the characters the converter takes there and back, -1 for the
  // rest: the whole conversion of a text made only of them, without the converter. Empty for
  // pages with multi-byte characters or composing.
  std::vector<int16_t> Narrow;
  std::array<bool, 256> Word{};  // letter or digit
  TByteMap Strip;
};

struct TLanguage {
  uint16_t LangId = 0;
  TCodePage* CodePage = nullptr;
  std::string Locale;  // ICU locale id; empty for the root locale
  TByteMap Lower;
  UCollator* Collator = nullptr;  // opened on first use; owned by the cache
  std::string CollatorError;
  bool CollatorTried = false;
};

struct TCache {
  std::vector<std::unique_ptr<TCodePage>> CodePages;
  std::unordered_map<uint16_t, std::unique_ptr<TLanguage>> Languages;
  std::unordered_map<std::string, std::unique_ptr<UCollator, TCollatorCloser>> Collators;
  std::unordered_map<std::string, std::string> CollatorErrors;
  TLanguage* Last = nullptr;
  // Scratch buffers reused across calls so that the hot paths do not allocate.
  std::u16string Wide1, Wide2;
  std::vector<uint8_t> Key;
  std::unique_ptr<UBreakIterator, TBreakCloser> Characters;  // grapheme clusters, any locale
  UText* Utf8Text = nullptr;  // reused over the calls; closed with the thread
  ~TCache() { utext_close(Utf8Text); }
};

TCache& Cache() {
  thread_local TCache cache;
  return cache;
}

[[noreturn]] void RaiseIcu(UErrorCode status) {
  throw std::runtime_error(u_errorName(status));
}

void ToWide(const TCodePage& cp, std::string_view text, std::u16string& out) {
  if (!cp.Converter) throw std::runtime_error(cp.Error);
  if (cp.OneUnitPerByte) {
    out.resize(text.size());
    for (size_t i = 0; i < text.size(); ++i) out[i] = cp.Wide[static_cast<uint8_t>(text[i])];
    return;
  }
  UErrorCode status = U_ZERO_ERROR;
  out.resize(text.size() * 2 + 2);
  int32_t n = ucnv_toUChars(cp.Converter.get(), out.data(), static_cast<int32_t>(out.size()),
                            text.data(), static_cast<int32_t>(text.size()), &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    status = U_ZERO_ERROR;
    out.resize(n);
    n = ucnv_toUChars(cp.Converter.get(), out.data(), n, text.data(),
                      static_cast<int32_t>(text.size()), &status);
  }
  if (U_FAILURE(status)) RaiseIcu(status);
  out.resize(n);
}

// The text with each character the code page lacks replaced by the nearest letter it has plus
// combining marks: "ệ" becomes "ê" and a dot below.
std::u16string SplitForCodePage(const TCodePage& cp, const char16_t* text, int32_t length) {
  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
  const UNormalizer2* nfd = unorm2_getNFDInstance(&status);
  if (U_FAILURE(status)) return std::u16string(text, static_cast<size_t>(length));
  const auto has = [&](UChar32 ch) {
    return ch >= 0 && ch < 0x10000 &&
           std::binary_search(cp.Chars.begin(), cp.Chars.end(), static_cast<char16_t>(ch));
  };
  std::u16string out;
  for (int32_t i = 0; i < length;) {
    const int32_t start = i;
    UChar32 ch;
    U16_NEXT(text, i, length, ch);
    UChar parts[8];
    status = U_ZERO_ERROR;
    const int32_t n = has(ch) ? -1 : unorm2_getDecomposition(nfd, ch, parts, 8, &status);
    if (n <= 1 || U_FAILURE(status) || U16_IS_SURROGATE(parts[0])) {
      out.append(text + start, text + i);
      continue;
    }
    char16_t base = parts[0];
    std::u16string marks(parts + 1, parts + n);
    // Put back into the letter each mark that makes a letter of the code page and that no mark
    // before it blocks (the same canonical class).
    for (size_t k = 0; k < marks.size();) {
      const UChar32 composed = unorm2_composePair(nfc, base, marks[k]);
      bool blocked = false;
      for (size_t j = 0; j < k; ++j) {
        blocked = blocked || u_getCombiningClass(marks[j]) >= u_getCombiningClass(marks[k]);
      }
      if (!blocked && has(composed)) {
        base = static_cast<char16_t>(composed);
        marks.erase(k, 1);
        k = 0;
      } else {
        ++k;
      }
    }
    out += base;
    out += marks;
  }
  return out;
}

void FromWide(const TCodePage& cp, const char16_t* text, int32_t length, std::string& out) {
  if (!cp.Converter) throw std::runtime_error(cp.Error);
  if (!cp.Narrow.empty()) {
    out.resize(static_cast<size_t>(length));
    int32_t i = 0;
    for (; i < length; ++i) {
      const int16_t byte = cp.Narrow[text[i]];
      if (byte < 0) break;
      out[static_cast<size_t>(i)] = static_cast<char>(byte);
    }
    if (i == length) return;
  }
  if (cp.Composes) {
    const std::u16string split = SplitForCodePage(cp, text, length);
    UErrorCode status = U_ZERO_ERROR;
    UConverter* conv = cp.Converter.get();
    out.resize(UCNV_GET_MAX_BYTES_FOR_STRING(split.size(), ucnv_getMaxCharSize(conv)));
    const int32_t n = ucnv_fromUChars(conv, out.data(), static_cast<int32_t>(out.size()),
                                      split.data(), static_cast<int32_t>(split.size()), &status);
    if (U_FAILURE(status)) RaiseIcu(status);
    out.resize(n);
    return;
  }
  UConverter* conv = cp.Converter.get();
  UErrorCode status = U_ZERO_ERROR;
  out.resize(UCNV_GET_MAX_BYTES_FOR_STRING(length, ucnv_getMaxCharSize(conv)));
  const int32_t n =
      ucnv_fromUChars(conv, out.data(), static_cast<int32_t>(out.size()), text, length, &status);
  if (U_FAILURE(status)) RaiseIcu(status);
  out.resize(n);
}

// The full operations, on UTF-16 through the converter. They return false when ICU fails.
bool LowerFull(const TLanguage& lang, std::string_view text, std::string& out) {
  TCache& c = Cache();
  try {
    ToWide(*lang.CodePage, text, c.Wide1);
    UErrorCode status = U_ZERO_ERROR;
    c.Wide2.resize(c.Wide1.size() * 3 + 8);
    const int32_t n =
        u_strToLower(c.Wide2.data(), static_cast<int32_t>(c.Wide2.size()), c.Wide1.data(),
                     static_cast<int32_t>(c.Wide1.size()), lang.Locale.c_str(), &status);
    if (U_FAILURE(status)) return false;
    FromWide(*lang.CodePage, c.Wide2.data(), n, out);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

// Whether a nonspacing mark is a diacritic that "ignore accents" may drop. The marks of kana
// (voicing), of the Indic and South-East Asian scripts (vowels, virama) are part of the letter.
bool IsDroppableMark(UChar32 ch) {
  if (u_charType(ch) != U_NON_SPACING_MARK || ch == 0x3099 || ch == 0x309A) return false;
  UErrorCode status = U_ZERO_ERROR;
  switch (uscript_getScript(ch, &status)) {
    case USCRIPT_INHERITED:
    case USCRIPT_COMMON:
    case USCRIPT_LATIN:
    case USCRIPT_GREEK:
    case USCRIPT_CYRILLIC:
    case USCRIPT_ARABIC:
    case USCRIPT_HEBREW:
    case USCRIPT_ARMENIAN:
    case USCRIPT_GEORGIAN:
      return true;
    default:
      return false;
  }
}

// Canonical decomposition with every diacritic mark dropped: 'é' becomes 'e'.
bool StripFull(const TCodePage& cp, std::string_view text, std::string& out) {
  TCache& c = Cache();
  try {
    ToWide(cp, text, c.Wide1);
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfd = unorm2_getNFDInstance(&status);
    if (U_FAILURE(status)) return false;
    c.Wide2.resize(c.Wide1.size() * 4 + 8);
    int32_t n = unorm2_normalize(nfd, c.Wide1.data(), static_cast<int32_t>(c.Wide1.size()),
                                 c.Wide2.data(), static_cast<int32_t>(c.Wide2.size()), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
      status = U_ZERO_ERROR;
      c.Wide2.resize(n);
      n = unorm2_normalize(nfd, c.Wide1.data(), static_cast<int32_t>(c.Wide1.size()),
                           c.Wide2.data(), n, &status);
    }
    if (U_FAILURE(status)) return false;
    int32_t kept = 0;
    bool keptMark = false;
    for (int32_t i = 0; i < n;) {
      const int32_t start = i;
      UChar32 ch;
      U16_NEXT(c.Wide2.data(), i, n, ch);
      if (IsDroppableMark(ch)) continue;
      keptMark = keptMark || u_getCombiningClass(ch) != 0 || u_charType(ch) == U_NON_SPACING_MARK;
      for (int32_t j = start; j < i; ++j) c.Wide2[kept++] = c.Wide2[j];
    }
    if (keptMark) {
      // Marks that belong to their letter (kana voicing) go back into it: "が" stays "が".
      const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
      std::u16string composed(static_cast<size_t>(kept), u'\0');
      const int32_t m = U_SUCCESS(status) ? unorm2_normalize(nfc, c.Wide2.data(), kept,
                                                             composed.data(), kept, &status)
                                          : 0;
      if (U_FAILURE(status)) return false;
      FromWide(cp, composed.data(), m, out);
      return true;
    }
    FromWide(cp, c.Wide2.data(), kept, out);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool HasMovingMark(char16_t ch) {
  // A combining mark that survives stripping can be reordered against its neighbours, so a byte
  // that brings one cannot be stripped on its own.
  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* nfd = unorm2_getNFDInstance(&status);
  if (U_FAILURE(status)) return true;
  UChar buf[16];
  const int32_t n = unorm2_getDecomposition(nfd, ch, buf, 16, &status);
  if (U_FAILURE(status)) return true;
  if (n < 0) return u_getCombiningClass(ch) != 0;
  for (int32_t i = 0; i < n;) {
    UChar32 part;
    U16_NEXT(buf, i, n, part);
    if (u_getCombiningClass(part) != 0 && u_charType(part) != U_NON_SPACING_MARK) return true;
  }
  return false;
}

void SetIdentity(TByteMap& map) {
  for (int b = 0; b < 256; ++b) {
    map.Map[b] = static_cast<uint8_t>(b);
    map.Exact[b] = true;
  }
}

TCodePage* OpenCodePage(TCache& c, int32_t codePage) {
  for (const auto& cp : c.CodePages) {
    if (cp->CodePage == codePage) return cp.get();
  }
  auto cp = std::make_unique<TCodePage>();
  cp->CodePage = codePage;
  cp->Utf8 = codePage == kUtf8CodePage;
  const std::string name = cp->Utf8 ? "UTF-8" : "windows-" + std::to_string(codePage);
  UErrorCode status = U_ZERO_ERROR;
  cp->Converter.reset(ucnv_open(name.c_str(), &status));
  if (U_SUCCESS(status)) ucnv_setSubstChars(cp->Converter.get(), "?", 1, &status);
  if (U_FAILURE(status)) {
    cp->Converter.reset();
    cp->Error = u_errorName(status);
    // Every locale operation then leaves the text unchanged.
    SetIdentity(cp->Strip);
    cp->Word.fill(true);
  } else {
    // A UTF-8 byte above 0x7F is part of a character, never one of its own.
    cp->OneUnitPerByte = !cp->Utf8;
    cp->BytesAreCharacters = cp->OneUnitPerByte;
    for (int b = 0; b < 256; ++b) {
      const char byte = static_cast<char>(b);
      UChar out[4];
      status = U_ZERO_ERROR;
      const int32_t n = ucnv_toUChars(cp->Converter.get(), out, 4, &byte, 1, &status);
      if (U_FAILURE(status) || n != 1 || U16_IS_SURROGATE(out[0])) {
        cp->OneUnitPerByte = false;
        cp->Wide[b] = 0xFFFD;
      } else {
        cp->Wide[b] = out[0];
        const bool mark = (U_GET_GC_MASK(out[0]) & U_GC_M_MASK) != 0;
        if (mark) cp->BytesAreCharacters = false;
        // Marks belong to their letter (Hebrew points, Thai vowels, Vietnamese tones).
        cp->Word[b] = (u_isalnum(out[0]) || mark) && !(cp->Utf8 && b > 0x7F);
      }
    }
    if (cp->OneUnitPerByte && codePage != 1258) {
      cp->Narrow.assign(0x10000, -1);
      for (int b = 0; b < 256; ++b) {
        const UChar ch = cp->Wide[b];
        char back[4];
        status = U_ZERO_ERROR;
        const int32_t n = ucnv_fromUChars(cp->Converter.get(), back, 4, &ch, 1, &status);
        if (U_SUCCESS(status) && n == 1 && static_cast<uint8_t>(back[0]) == b &&
            cp->Narrow[ch] < 0) {
          cp->Narrow[ch] = static_cast<int16_t>(b);
        }
      }
    }
    if (codePage == 1258) {
      cp->Composes = true;
      for (const char16_t ch : cp->Wide) {
        if (ch != 0xFFFD) cp->Chars += ch;
      }
      std::sort(cp->Chars.begin(), cp->Chars.end());
    }
    for (int b = 0; b < 256; ++b) {
      const char byte = static_cast<char>(b);
      std::string stripped;
      const bool ok = StripFull(*cp, std::string_view(&byte, 1), stripped);
      const bool exact = (cp->OneUnitPerByte || (cp->Utf8 && b < 0x80)) && ok &&
                         stripped.size() == 1 && u_getCombiningClass(cp->Wide[b]) == 0 &&
                         !HasMovingMark(cp->Wide[b]);
      cp->Strip.Exact[b] = exact;
      cp->Strip.Map[b] = exact ? static_cast<uint8_t>(stripped[0]) : static_cast<uint8_t>(b);
    }
  }
  c.CodePages.push_back(std::move(cp));
  return c.CodePages.back().get();
}

std::unique_ptr<TLanguage> MakeLanguage(TCache& c, uint16_t langId) {
  auto lang = std::make_unique<TLanguage>();
  lang->LangId = langId;
  lang->CodePage = OpenCodePage(c, LanguageCodePage(langId));
  char locale[ULOC_FULLNAME_CAPACITY];
  UErrorCode status = U_ZERO_ERROR;
  const int32_t n = uloc_getLocaleForLCID(langId, locale, ULOC_FULLNAME_CAPACITY, &status);
  // Ids ICU does not know get the language-neutral root rules rather than none at all.
  if (U_SUCCESS(status) && n > 0 && n < ULOC_FULLNAME_CAPACITY) lang->Locale.assign(locale, n);

  const TCodePage& cp = *lang->CodePage;
  if (!cp.Converter) {
    SetIdentity(lang->Lower);
    return lang;
  }
  for (int b = 0; b < 256; ++b) {
    const char byte = static_cast<char>(b);
    std::string lower;
    const bool ok = LowerFull(*lang, std::string_view(&byte, 1), lower);
    // Capital sigma lower-cases by its position in the word, and a combining mark can change
    // the casing of the letter before it: such bytes always take the full operation.
    const char16_t ch = cp.Wide[b];
    const bool exact = (cp.OneUnitPerByte || (cp.Utf8 && b < 0x80)) && ok && lower.size() == 1 &&
                       ch != 0x03A3 && u_getCombiningClass(ch) == 0;
    lang->Lower.Exact[b] = exact;
    lang->Lower.Map[b] = exact ? static_cast<uint8_t>(lower[0]) : static_cast<uint8_t>(b);
  }
  return lang;
}

TLanguage& Language(uint16_t langId) {
  TCache& c = Cache();
  if (c.Last != nullptr && c.Last->LangId == langId) return *c.Last;
  auto& slot = c.Languages[langId];
  if (!slot) slot = MakeLanguage(c, langId);
  c.Last = slot.get();
  return *slot;
}

// Case-insensitive collation: strength secondary compares letters and accents but not case,
// the counterpart of a case-blind sort key. Blanks stay significant (non-ignorable).
UCollator* Collator(TLanguage& lang) {
  if (!lang.CollatorTried) {
    lang.CollatorTried = true;
    TCache& c = Cache();
    auto found = c.Collators.find(lang.Locale);
    if (found != c.Collators.end()) {
      lang.Collator = found->second.get();
    } else if (auto failed = c.CollatorErrors.find(lang.Locale); failed != c.CollatorErrors.end()) {
      lang.CollatorError = failed->second;
    } else {
      UErrorCode status = U_ZERO_ERROR;
      std::unique_ptr<UCollator, TCollatorCloser> coll(ucol_open(lang.Locale.c_str(), &status));
      if (U_SUCCESS(status)) ucol_setStrength(coll.get(), UCOL_SECONDARY);
      if (U_FAILURE(status) || !coll) {
        lang.CollatorError = u_errorName(status);
        c.CollatorErrors.emplace(lang.Locale, lang.CollatorError);
      } else {
        lang.Collator = coll.get();
        c.Collators.emplace(lang.Locale, std::move(coll));
      }
    }
  }
  if (lang.Collator == nullptr) throw std::runtime_error(lang.CollatorError);
  return lang.Collator;
}

// Maps text byte by byte when every byte is exact; false otherwise (out is then unspecified).
bool MapBytes(const TByteMap& map, const std::string& text, std::string& out) {
  out.resize(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<uint8_t>(text[i]);
    if (!map.Exact[b]) return false;
    out[i] = static_cast<char>(map.Map[b]);
  }
  return true;
}

// A letter, digit or combining mark (which belongs to the letter before it).
bool IsWordCodePoint(UChar32 ch) {
  return ch >= 0 && (u_isalnum(ch) || (U_GET_GC_MASK(ch) & U_GC_M_MASK) != 0);
}

// Calls keep(start, end, isWord) for each code point of UTF-8 text; an ill-formed byte is a
// code point of its own that is no letter.
template <typename F>
void ForEachCodePoint(const std::string& text, F keep) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const auto length = static_cast<int32_t>(text.size());
  for (int32_t i = 0; i < length;) {
    const int32_t start = i;
    UChar32 ch;
    U8_NEXT(bytes, i, length, ch);
    keep(static_cast<size_t>(start), static_cast<size_t>(i), IsWordCodePoint(ch));
  }
}
}  // namespace

const std::array<TLangInfo, kLanguageCount>& LanguageTable() {
  return Table();
}

TLangInfo FindLanguage(uint16_t langId) {
  const TLangInfo* row = FindRow(langId);
  return row != nullptr ? *row : TLangInfo{};
}

int32_t LanguageCodePage(uint16_t langId) {
  const TLangInfo* row = FindRow(langId);
  return row != nullptr ? row->CodePage : kDefaultCodePage;
}

uint8_t LanguageCharset(uint16_t langId) {
  const TLangInfo* row = FindRow(langId);
  switch (row != nullptr ? row->CodePage : 0) {
    case 1250:
      return 238;
    case 1251:
      return 204;
    case 1253:
      return 161;
    case 1254:
      return 162;
    case 1257:
      return 186;
    case 1255:
      return 177;
    case 1256:
      return 178;
    case 1258:
      return 163;
    case 874:
      return 222;
    default:
      return 0;
  }
}

uint16_t LanguageFromLocale(const std::string& locale) {
  // ICU reads "en_GB": the language in lower case, "_" before the region; "de_DE.UTF-8" and
  // "sr@latin" carry more than a language.
  std::string code = locale.substr(0, locale.find_first_of("@."));
  std::replace(code.begin(), code.end(), '-', '_');
  const size_t letters = std::min(code.find('_'), code.size());
  if (letters < 2 || letters > 3) return 0;
  for (size_t i = 0; i < code.size(); ++i) {
    const auto c = static_cast<unsigned char>(code[i]);
    code[i] = static_cast<char>(i < letters ? std::tolower(c) : std::toupper(c));
  }
  // Plain "zh" is Chinese in the simplified script, as most files mean it.
  if (code == "zh") code = "zh_CN";
  const auto lcid = static_cast<uint16_t>(uloc_getLCID(code.c_str()));
  if (lcid != 0 && FindRow(lcid)) return lcid;
  // Not in the table as such ("en_IN", "sr"): a row of the same primary language, the one with
  // the same two-letter code first, then the default sub-language. Without an identifier from
  // ICU the two-letter code alone decides.
  const std::string twoLetters = {
      static_cast<char>(std::toupper(static_cast<unsigned char>(code[0]))), code[1]};
  const TLangInfo* best = nullptr;
  int bestScore = 0;
  for (const TLangInfo& row : Table()) {
    const bool samePrimary = lcid != 0 && (row.LangId & 0x3FF) == (lcid & 0x3FF);
    const bool sameCode = letters == 2 && row.LangCode == twoLetters;
    if (!samePrimary && !(lcid == 0 && sameCode)) continue;
    const int score = 1 + (sameCode ? 2 : 0) + ((row.LangId >> 10) == 1 ? 1 : 0);
    if (score > bestScore) {
      best = &row;
      bestScore = score;
    }
  }
  return best ? best->LangId : 0;
}

std::string CharsetFontSuffix(uint8_t charset) {
  switch (charset) {
    case 238:
      return " CE";
    case 204:
      return " Cyr";
    case 161:
      return " Greek";
    case 162:
      return " Tur";
    case 186:
      return " Baltic";
    default:
      return {};
  }
}

bool IsEnglish(uint16_t langId) {
  return (langId & 0x3FF) == 9;
}

bool IsUtf8Language(uint16_t langId) {
  return LanguageCodePage(langId) == kUtf8CodePage;
}

bool IsRightToLeft(uint16_t langId) {
  const TLangInfo* row = FindRow(langId);
  if (row == nullptr) return false;
  switch (langId & 0x3FF) {
    case 0x01:  // Arabic
    case 0x29:  // Persian
    case 0x0D:  // Hebrew
      return true;
    default:
      return false;
  }
}

namespace {
// The grapheme boundaries of text near pos, by ICU's rules (the same for every locale). Returns
// the boundary after pos when next is set, else the boundary at or before pos.
size_t CharacterBoundary(const std::string& text, size_t pos, uint16_t langId, bool next) {
  const TCodePage& cp = *Language(langId).CodePage;
  if (pos >= text.size()) return text.size();
  if (cp.BytesAreCharacters || !cp.Converter) return next ? pos + 1 : pos;
  TCache& c = Cache();
  UErrorCode status = U_ZERO_ERROR;
  if (!c.Characters) {
    c.Characters.reset(ubrk_open(UBRK_CHARACTER, "", nullptr, 0, &status));
    if (U_FAILURE(status)) c.Characters.reset();
  }
  UBreakIterator* bi = c.Characters.get();
  if (bi == nullptr) return next ? pos + 1 : pos;
  const auto at = static_cast<int32_t>(pos);
  if (cp.Utf8) {
    // UTF-8 text is read in place: the iterator's positions are byte offsets.
    c.Utf8Text =
        utext_openUTF8(c.Utf8Text, text.data(), static_cast<int64_t>(text.size()), &status);
    if (U_SUCCESS(status)) ubrk_setUText(bi, c.Utf8Text, &status);
  } else {
    // One unit per byte: the positions in UTF-16 are the byte offsets.
    c.Wide1.resize(text.size());
    for (size_t i = 0; i < text.size(); ++i) c.Wide1[i] = cp.Wide[static_cast<uint8_t>(text[i])];
    ubrk_setText(bi, c.Wide1.data(), static_cast<int32_t>(c.Wide1.size()), &status);
  }
  if (U_FAILURE(status)) return next ? pos + 1 : pos;
  // The boundary after pos, then for the start the one before that: asked directly, ICU would
  // first move a position inside a UTF-8 sequence to the sequence's start.
  int32_t found = ubrk_following(bi, at);
  if (found == UBRK_DONE) found = static_cast<int32_t>(text.size());
  if (!next) found = ubrk_previous(bi);
  if (found == UBRK_DONE) found = 0;
  return static_cast<size_t>(found);
}
}  // namespace

size_t NextCharacter(const std::string& text, size_t pos, uint16_t langId) {
  return CharacterBoundary(text, pos, langId, true);
}

size_t CharacterStart(const std::string& text, size_t pos, uint16_t langId) {
  return CharacterBoundary(text, pos, langId, false);
}

bool BytesAreCharacters(uint16_t langId) {
  return Language(langId).CodePage->BytesAreCharacters;
}

std::string FirstLetterLowerCase(const std::string& text, size_t skip, uint16_t langId) {
  const TCodePage& cp = *Language(langId).CodePage;
  for (size_t pos = std::min(skip, text.size()); pos < text.size();) {
    const size_t end = NextCharacter(text, pos, langId);
    const std::string character = text.substr(pos, end - pos);
    bool word = false;
    if (cp.Utf8) {
      ForEachCodePoint(character, [&](size_t, size_t, bool w) { word = word || w; });
    } else {
      word = std::any_of(character.begin(), character.end(),
                         [&](char ch) { return cp.Word[static_cast<uint8_t>(ch)]; });
    }
    if (word) return LocaleLowerCase(character, langId);
    pos = end;
  }
  return {};
}

std::vector<std::u16string> ExemplarCharacters(uint16_t langId) {
  std::vector<std::u16string> out;
  const std::string& locale = Language(langId).Locale;
  if (locale.empty() || FindRow(langId) == nullptr) return out;
  UErrorCode status = U_ZERO_ERROR;
  ULocaleData* data = ulocdata_open(locale.c_str(), &status);
  if (U_FAILURE(status)) return out;
  for (const ULocaleDataExemplarSetType type : {ULOCDATA_ES_STANDARD, ULOCDATA_ES_PUNCTUATION}) {
    status = U_ZERO_ERROR;
    USet* set = ulocdata_getExemplarSet(data, nullptr, 0, type, &status);
    if (U_FAILURE(status) || set == nullptr) continue;
    const int32_t items = uset_getItemCount(set);
    for (int32_t k = 0; k < items; ++k) {
      UChar32 first = 0, last = 0;
      UChar str[32];
      status = U_ZERO_ERROR;
      const int32_t length = uset_getItem(set, k, &first, &last, str, 32, &status);
      if (U_FAILURE(status)) continue;
      if (length > 0) {
        out.emplace_back(reinterpret_cast<const char16_t*>(str), length);
        continue;
      }
      for (UChar32 ch = first; ch <= last; ++ch) {
        char16_t units[2];
        int32_t n = 0;
        U16_APPEND_UNSAFE(units, n, ch);
        out.emplace_back(units, n);
      }
    }
    uset_close(set);
  }
  ulocdata_close(data);
  return out;
}

namespace {
// MapBytes for UTF-8: exact ASCII bytes through the table, and characters that no step changes
// as they are.
bool MapUtf8(const TByteMap& map, const std::string& text, std::string& out) {
  out.resize(text.size());
  const auto size = static_cast<int32_t>(text.size());
  for (int32_t i = 0; i < size;) {
    const auto b = static_cast<uint8_t>(text[i]);
    if (b < 0x80) {
      if (!map.Exact[b]) return false;
      out[static_cast<size_t>(i++)] = static_cast<char>(map.Map[b]);
      continue;
    }
    int32_t next = i;
    UChar32 ch;
    U8_NEXT(text.data(), next, size, ch);
    if (!IsInertCharacter(ch)) return false;
    for (; i < next; ++i) out[static_cast<size_t>(i)] = text[static_cast<size_t>(i)];
  }
  return true;
}
}  // namespace

std::string LocaleLowerCase(const std::string& text, uint16_t langId) {
  if (text.empty()) return text;
  const TLanguage& lang = Language(langId);
  std::string out;
  if (MapBytes(lang.Lower, text, out)) return out;
  if (lang.CodePage->Utf8 && MapUtf8(lang.Lower, text, out)) return out;
  if (LowerFull(lang, text, out) && !out.empty()) return out;
  return text;
}

std::string StripAccents(const std::string& text, uint16_t langId) {
  if (text.empty()) return text;
  const TCodePage& cp = *Language(langId).CodePage;
  std::string out;
  if (MapBytes(cp.Strip, text, out)) return out;
  if (cp.Utf8 && MapUtf8(cp.Strip, text, out)) return out;
  if (StripFull(cp, text, out) && !out.empty()) return out;
  return text;
}

std::string LettersDigitsOnly(const std::string& text, uint16_t langId, bool dropSpaces) {
  const TCodePage& cp = *Language(langId).CodePage;
  std::string out;
  out.reserve(text.size());
  if (cp.Utf8) {
    ForEachCodePoint(text, [&](size_t start, size_t end, bool word) {
      if (word || (text[start] == ' ' && !dropSpaces)) out.append(text, start, end - start);
    });
    return out;
  }
  for (const char ch : text) {
    if (cp.Word[static_cast<uint8_t>(ch)] || (ch == ' ' && !dropSpaces)) out += ch;
  }
  return out;
}

std::string ReplaceNonWordChars(const std::string& text, uint16_t langId, char replacement) {
  const TCodePage& cp = *Language(langId).CodePage;
  std::string out(text);
  if (cp.Utf8) {
    // Byte for byte, so the text keeps its length and its positions.
    ForEachCodePoint(text, [&](size_t start, size_t end, bool word) {
      if (!word) std::fill(out.begin() + start, out.begin() + end, replacement);
    });
    return out;
  }
  for (char& ch : out) {
    if (!cp.Word[static_cast<uint8_t>(ch)]) ch = replacement;
  }
  return out;
}

std::string MakeSortKey(const std::string& text, uint16_t langId) {
  if (text.empty()) return {};
  TLanguage& lang = Language(langId);
  UCollator* coll = Collator(lang);
  const TCodePage& cp = *lang.CodePage;
  TCache& c = Cache();
  if (cp.OneUnitPerByte) {
    // Letters, digits and blanks straight into UTF-16, without an intermediate string.
    c.Wide1.clear();
    for (const char ch : text) {
      const auto b = static_cast<uint8_t>(ch);
      if (cp.Word[b] || ch == ' ') c.Wide1 += cp.Wide[b];
    }
  } else {
    ToWide(cp, LettersDigitsOnly(text, langId, false), c.Wide1);
  }
  if (c.Key.size() < 256) c.Key.resize(256);
  int32_t n = ucol_getSortKey(coll, c.Wide1.data(), static_cast<int32_t>(c.Wide1.size()),
                              c.Key.data(), static_cast<int32_t>(c.Key.size()));
  if (n > static_cast<int32_t>(c.Key.size())) {
    c.Key.resize(n);
    n = ucol_getSortKey(coll, c.Wide1.data(), static_cast<int32_t>(c.Wide1.size()), c.Key.data(),
                        n);
  }
  if (n <= 0) throw std::runtime_error("U_INTERNAL_PROGRAM_ERROR");
  // ICU ends the key with a NUL of its own; callers append their own terminator.
  return std::string(reinterpret_cast<const char*>(c.Key.data()), n - 1);
}

std::u16string AnsiToWide(const std::string& text, uint16_t langId) {
  std::u16string out;
  if (text.empty()) return out;
  const TCodePage& cp = *Language(langId).CodePage;
  ToWide(cp, text, out);
  if (cp.Composes) {
    // Shown and passed on composed, as typed: "ệ" rather than "ê" and a dot below.
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
    std::u16string composed(out.size(), u'\0');
    const int32_t n =
        U_SUCCESS(status)
            ? unorm2_normalize(nfc, out.data(), static_cast<int32_t>(out.size()), composed.data(),
                               static_cast<int32_t>(composed.size()), &status)
            : 0;
    if (U_SUCCESS(status)) out.assign(composed, 0, static_cast<size_t>(n));
  }
  return out;
}

std::string WideToAnsi(const std::u16string& text, uint16_t langId) {
  std::string out;
  if (!text.empty()) {
    FromWide(*Language(langId).CodePage, text.data(), static_cast<int32_t>(text.size()), out);
  }
  return out;
}

std::string HtmlCharRefs(const std::string& text, uint16_t langId) {
  const std::u16string wide = AnsiToWide(text, langId);
  std::string out;
  out.reserve(wide.size() * 6);
  char digits[8];
  for (const char16_t unit : wide) {
    const auto result = std::to_chars(digits, digits + sizeof digits, static_cast<unsigned>(unit));
    out += "&#";
    out.append(digits, result.ptr);
    out += ';';
  }
  return out;
}

std::u16string BytesToWide(const std::string& bytes) {
  std::u16string out(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                   static_cast<uint8_t>(bytes[2 * i + 1]) << 8);
  }
  return out;
}

void NormaliseByteOrder(std::u16string& text) {
  if (!text.empty() && text[0] == 0xFFFE) {
    for (char16_t& unit : text) unit = static_cast<char16_t>(unit << 8 | unit >> 8);
  }
  if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);
}

const TByteMap& LowerCaseMap(uint16_t langId) {
  return Language(langId).Lower;
}

const TByteMap& StripAccentsMap(uint16_t langId) {
  return Language(langId).CodePage->Strip;
}

namespace {
bool InertUncached(int32_t codePoint);

// The two classes of the BMP code points met so far, worked out once per thread: bit 0 known,
// bit 1 word character, bit 2 inert.
uint8_t CodePointClass(int32_t codePoint) {
  thread_local std::vector<uint8_t> classes(0x10000, 0);
  const bool bmp = codePoint >= 0 && codePoint < 0x10000;
  if (bmp && classes[static_cast<size_t>(codePoint)] != 0) {
    return classes[static_cast<size_t>(codePoint)];
  }
  const auto found = static_cast<uint8_t>(1 | (IsWordCodePoint(codePoint) ? 2 : 0) |
                                          (InertUncached(codePoint) ? 4 : 0));
  if (bmp) classes[static_cast<size_t>(codePoint)] = found;
  return found;
}
}  // namespace

bool IsWordCharacter(int32_t codePoint) {
  return (CodePointClass(codePoint) & 2) != 0;
}

bool IsInertCharacter(int32_t codePoint) {
  return (CodePointClass(codePoint) & 4) != 0;
}

namespace {
bool InertUncached(int32_t codePoint) {
  if (codePoint < 0 || u_getCombiningClass(codePoint) != 0 ||
      (U_GET_GC_MASK(codePoint) & U_GC_M_MASK) != 0 ||
      u_hasBinaryProperty(codePoint, UCHAR_CHANGES_WHEN_LOWERCASED)) {
    return false;
  }
  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* nfd = unorm2_getNFDInstance(&status);
  UChar parts[8];
  const int32_t n =
      U_SUCCESS(status) ? unorm2_getDecomposition(nfd, codePoint, parts, 8, &status) : 0;
  if (U_FAILURE(status)) return false;
  if (n < 0) return true;
  // Decomposed only into marks that stay, which are then composed again ("が"): it must be the
  // composed form itself.
  for (int32_t i = 0; i < n;) {
    UChar32 part;
    U16_NEXT(parts, i, n, part);
    if (i > U16_LENGTH(part) && IsDroppableMark(part)) return false;
  }
  const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
  UChar unit[2];
  int32_t length = 0;
  U16_APPEND_UNSAFE(unit, length, codePoint);
  return U_SUCCESS(status) && unorm2_isNormalized(nfc, unit, length, &status) && U_SUCCESS(status);
}
}  // namespace

const std::array<bool, 256>& WordCharMap(uint16_t langId) {
  return Language(langId).CodePage->Word;
}

// SPDX-License-Identifier: MIT
// The plain text of an Anki field: cloze markers, media references, HTML tags and character
// references.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/Utf8.h"
#include "vocab/AnkiPackage.h"

namespace {
// The named character references of HTML 4 (those an editor writes); others stay as written.
constexpr const char* kLatin1[96] = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",
    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn",
    "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
    "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
    "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
    "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
    "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};
// The Greek capitals from U+0391 (U+03A2 is unassigned); the small letters follow 32 later.
constexpr const char* kGreek[25] = {
    "Alpha", "Beta",   "Gamma",   "Delta", "Epsilon", "Zeta",    "Eta",  "Theta", "Iota",
    "Kappa", "Lambda", "Mu",      "Nu",    "Xi",      "Omicron", "Pi",   "Rho",   "",
    "Sigma", "Tau",    "Upsilon", "Phi",   "Chi",     "Psi",     "Omega"};
constexpr std::pair<const char*, char32_t> kOthers[] = {
    {"quot", 34},     {"amp", 38},      {"apos", 39},     {"lt", 60},        {"gt", 62},
    {"OElig", 338},   {"oelig", 339},   {"Scaron", 352},  {"scaron", 353},   {"Yuml", 376},
    {"fnof", 402},    {"circ", 710},    {"tilde", 732},   {"sigmaf", 962},   {"thetasym", 977},
    {"upsih", 978},   {"piv", 982},     {"ensp", 8194},   {"emsp", 8195},    {"thinsp", 8201},
    {"zwnj", 8204},   {"zwj", 8205},    {"lrm", 8206},    {"rlm", 8207},     {"ndash", 8211},
    {"mdash", 8212},  {"lsquo", 8216},  {"rsquo", 8217},  {"sbquo", 8218},   {"ldquo", 8220},
    {"rdquo", 8221},  {"bdquo", 8222},  {"dagger", 8224}, {"Dagger", 8225},  {"bull", 8226},
    {"hellip", 8230}, {"permil", 8240}, {"prime", 8242},  {"Prime", 8243},   {"lsaquo", 8249},
    {"rsaquo", 8250}, {"oline", 8254},  {"frasl", 8260},  {"euro", 8364},    {"image", 8465},
    {"weierp", 8472}, {"real", 8476},   {"trade", 8482},  {"alefsym", 8501}, {"larr", 8592},
    {"uarr", 8593},   {"rarr", 8594},   {"darr", 8595},   {"harr", 8596},    {"crarr", 8629},
    {"lArr", 8656},   {"uArr", 8657},   {"rArr", 8658},   {"dArr", 8659},    {"hArr", 8660},
    {"forall", 8704}, {"part", 8706},   {"exist", 8707},  {"empty", 8709},   {"nabla", 8711},
    {"isin", 8712},   {"notin", 8713},  {"ni", 8715},     {"prod", 8719},    {"sum", 8721},
    {"minus", 8722},  {"lowast", 8727}, {"radic", 8730},  {"prop", 8733},    {"infin", 8734},
    {"ang", 8736},    {"and", 8743},    {"or", 8744},     {"cap", 8745},     {"cup", 8746},
    {"int", 8747},    {"there4", 8756}, {"sim", 8764},    {"cong", 8773},    {"asymp", 8776},
    {"ne", 8800},     {"equiv", 8801},  {"le", 8804},     {"ge", 8805},      {"sub", 8834},
    {"sup", 8835},    {"nsub", 8836},   {"sube", 8838},   {"supe", 8839},    {"oplus", 8853},
    {"otimes", 8855}, {"perp", 8869},   {"sdot", 8901},   {"lceil", 8968},   {"rceil", 8969},
    {"lfloor", 8970}, {"rfloor", 8971}, {"lang", 9001},   {"rang", 9002},    {"loz", 9674},
    {"spades", 9824}, {"clubs", 9827},  {"hearts", 9829}, {"diams", 9830}};

// The code point of a named reference, 0 when it is not one of the table.
char32_t NamedCharacter(std::string_view name) {
  for (size_t i = 0; i < std::size(kLatin1); ++i) {
    if (name == kLatin1[i]) return static_cast<char32_t>(0xA0 + i);
  }
  for (size_t i = 0; i < std::size(kGreek); ++i) {
    if (!*kGreek[i]) continue;
    if (name == kGreek[i]) return static_cast<char32_t>(0x391 + i);
    // The small letter: the capital's name with a small first letter.
    if (name.size() == std::strlen(kGreek[i]) && name[0] == kGreek[i][0] + ('a' - 'A') &&
        name.substr(1) == kGreek[i] + 1) {
      return static_cast<char32_t>(0x3B1 + i);
    }
  }
  for (const auto& [entity, code] : kOthers) {
    if (name == entity) return code;
  }
  return 0;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    if (c != prefix[i]) return false;
  }
  return true;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// "{{c1::text::hint}}" gives "text"; clozes may nest. Markers without their end keep their text.
std::string WithoutClozes(std::string_view text) {
  if (text.find("{{c") == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size());
  struct TOpen {
    size_t Start;
    size_t Hint = std::string::npos;  // where its hint begins in out
  };
  std::vector<TOpen> open;
  size_t i = 0;
  while (i < text.size()) {
    if (text.compare(i, 3, "{{c") == 0) {
      size_t j = i + 3;
      while (j < text.size() && IsDigit(text[j])) ++j;
      if (j > i + 3 && text.compare(j, 2, "::") == 0) {
        open.push_back({out.size()});
        i = j + 2;
        continue;
      }
    }
    if (!open.empty() && text.compare(i, 2, "::") == 0 && open.back().Hint == std::string::npos) {
      open.back().Hint = out.size();
      i += 2;
      continue;
    }
    if (!open.empty() && text.compare(i, 2, "}}") == 0) {
      if (open.back().Hint != std::string::npos) out.resize(open.back().Hint);
      open.pop_back();
      i += 2;
      continue;
    }
    out += text[i++];
  }
  return out;
}

// Builds the plain text: white space collapses, breaks become "; " between texts.
class TPlainText {
public:
  explicit TPlainText(size_t capacity) { m_Out.reserve(capacity); }
  void Space() {
    if (m_Pending == kNone) m_Pending = kSpace;
  }
  void Break() { m_Pending = kBreak; }
  void Text(std::string_view text) {
    if (text.empty()) return;
    if (!m_Out.empty() && m_Pending != kNone) m_Out += m_Pending == kBreak ? "; " : " ";
    m_Pending = kNone;
    m_Out += text;
  }
  void Character(char32_t c) {
    if (c == 0xA0 || c == 0x2002 || c == 0x2003 || c == 0x2009) return Space();
    if (c <= 0x20 || c == 0x7F) return c == '\n' ? Break() : Space();
    std::string bytes;
    AppendUtf8(bytes, c);
    Text(bytes);
  }
  std::string Take() { return std::move(m_Out); }

private:
  enum { kNone, kSpace, kBreak } m_Pending = kNone;
  std::string m_Out;
};

// Tags whose start or end breaks the line.
bool BreaksLine(std::string_view name) {
  static constexpr std::string_view kBlocks[] = {"br", "div", "p",  "li", "tr", "hr", "h1",   "h2",
                                                 "h3", "h4",  "h5", "h6", "ul", "ol", "table"};
  return std::find(std::begin(kBlocks), std::end(kBlocks), name) != std::end(kBlocks);
}
}  // namespace

std::string AnkiFieldText(std::string_view html, int32_t& droppedMedia) {
  const std::string text = WithoutClozes(html);
  TPlainText out(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '[' && text.compare(i, 7, "[sound:") == 0) {
      const size_t end = text.find(']', i);
      if (end != std::string::npos) {
        ++droppedMedia;
        i = end + 1;
        continue;
      }
    }
    if (c == '<') {
      if (text.compare(i, 4, "<!--") == 0) {
        const size_t end = text.find("-->", i + 4);
        i = end == std::string::npos ? text.size() : end + 3;
        continue;
      }
      size_t j = i + 1;
      const bool closing = j < text.size() && text[j] == '/';
      if (closing) ++j;
      const size_t nameStart = j;
      while (j < text.size() && (std::isalnum(static_cast<unsigned char>(text[j])))) ++j;
      if (j > nameStart || (j < text.size() && (text[j] == '!' || text[j] == '?'))) {
        std::string name(text.substr(nameStart, j - nameStart));
        for (char& n : name) n = static_cast<char>(std::tolower(static_cast<unsigned char>(n)));
        // The end of the tag, past quoted attribute values.
        char quote = 0;
        while (j < text.size() && (quote || text[j] != '>')) {
          if (quote ? text[j] == quote : (text[j] == '"' || text[j] == '\'')) {
            quote = quote ? 0 : text[j];
          }
          ++j;
        }
        i = std::min(j + 1, text.size());
        if (!closing && (name == "img" || name == "audio" || name == "video")) ++droppedMedia;
        if (!closing && (name == "script" || name == "style")) {
          // Their content is no text.
          const size_t end = [&] {
            for (size_t k = i; k < text.size(); ++k) {
              if (text[k] == '<' && StartsWithNoCase(text.substr(k), "</" + name)) return k;
            }
            return text.size();
          }();
          i = end;
        }
        if (BreaksLine(name)) out.Break();
        continue;
      }
    }
    if (c == '&') {
      const size_t end = text.find(';', i);
      if (end != std::string::npos && end - i <= 32) {
        const std::string_view name = std::string_view(text).substr(i + 1, end - i - 1);
        char32_t code = 0;
        if (name.size() > 1 && name[0] == '#') {
          const bool hex = name[1] == 'x' || name[1] == 'X';
          const std::string_view digits = name.substr(hex ? 2 : 1);
          bool valid = !digits.empty();
          for (const char d : digits) {
            const int value = IsDigit(d)                    ? d - '0'
                              : hex && d >= 'a' && d <= 'f' ? d - 'a' + 10
                              : hex && d >= 'A' && d <= 'F' ? d - 'A' + 10
                                                            : -1;
            if (value < 0) {
              valid = false;
              break;
            }
            code =
                std::min<char32_t>(code * (hex ? 16 : 10) + static_cast<char32_t>(value), 0x110000);
          }
          if (valid) {
            out.Character(code == 0 ? 0xFFFD : code);
            i = end + 1;
            continue;
          }
        } else if ((code = NamedCharacter(name)) != 0) {
          out.Character(code);
          i = end + 1;
          continue;
        }
      }
    }
    if (static_cast<unsigned char>(c) < 0x80) {
      out.Character(static_cast<unsigned char>(c));
      ++i;
      continue;
    }
    // A run of other bytes passes as it is (UTF-8; checked when converted).
    size_t j = i;
    while (j < text.size() && static_cast<unsigned char>(text[j]) >= 0x80) ++j;
    // No-break spaces are spaces here.
    std::string_view run = std::string_view(text).substr(i, j - i);
    while (!run.empty()) {
      const size_t nbsp = run.find("\xC2\xA0");
      out.Text(run.substr(0, nbsp));
      if (nbsp == std::string_view::npos) break;
      out.Space();
      run.remove_prefix(nbsp + 2);
    }
    i = j;
  }
  return out.Take();
}

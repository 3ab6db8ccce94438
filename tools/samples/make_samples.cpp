// SPDX-License-Identifier: MIT
// Writes the sample vocabularies shipped with the program, with the program's own writer:
//   make_samples <output folder>
#include <cstdio>
#include <string>
#include <vector>

#include "text/Languages.h"
#include "vocab/VocFile.h"

namespace {
struct TSampleEntry {
  const char* Foreign;  // UTF-8 here; stored in the language's code page
  const char* Category;
  const char* Notes;
  const char* Native;
  int SortPos;
};

std::u16string FromUtf8(const std::string& text) {
  std::u16string out;
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    char32_t cp;
    int extra;
    if (c < 0x80) {
      cp = c;
      extra = 0;
    } else if (c < 0xE0) {
      cp = c & 0x1F;
      extra = 1;
    } else if (c < 0xF0) {
      cp = c & 0x0F;
      extra = 2;
    } else {
      cp = c & 0x07;
      extra = 3;
    }
    for (int k = 1; k <= extra; ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    i += static_cast<size_t>(extra) + 1;
    out.push_back(static_cast<char16_t>(cp));
  }
  return out;
}

bool Write(const std::string& path, uint16_t foreign, uint16_t native, const char* description,
           const std::vector<TSampleEntry>& entries) {
  TVocabFile v;
  v.SetForeignLangID(foreign);
  v.SetNativeLangID(native);
  v.SetProperty(0, WideToAnsi(FromUtf8(description), native));
  v.SetProperty(1, "Dadezivu");
  for (const TSampleEntry& e : entries) {
    TVocabItem& item = v.EditItem();
    item.Values = {WideToAnsi(FromUtf8(e.Foreign), foreign),
                   WideToAnsi(FromUtf8(e.Category), native), WideToAnsi(FromUtf8(e.Notes), native),
                   WideToAnsi(FromUtf8(e.Native), native)};
    item.SortPos = e.SortPos;
    v.AddItem(2);
  }
  try {
    v.SaveToFile(path);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s: %s\n", path.c_str(), error.what());
    return false;
  }
  return true;
}

const std::vector<TSampleEntry> kGerman = {
    {"der Apfel", "n", "", "apple", 4},
    {"arbeiten", "v", "", "work", 0},
    {"der Bahnhof", "n", "", "railway station, train station", 4},
    {"bekommen", "v", "not: become", "get, receive", 0},
    {"das Brot", "n", "", "bread", 4},
    {"danke", "interj", "", "thank you, thanks", 0},
    {"die Entschuldigung", "n", "", "apology; excuse", 4},
    {"fahren", "v", "by vehicle", "drive, go, travel", 0},
    {"das Frühstück", "n", "", "breakfast", 4},
    {"der Garten", "n", "", "garden", 4},
    {"gestern", "adv", "", "yesterday", 0},
    {"glücklich", "adj", "", "happy, lucky", 0},
    {"das Haus", "n", "", "house", 4},
    {"heute", "adv", "", "today", 0},
    {"die Katze", "n", "", "cat", 4},
    {"kaufen", "v", "", "buy", 0},
    {"langsam", "adj", "", "slow", 0},
    {"das Mädchen", "n", "neuter!", "girl", 4},
    {"morgen", "adv", "", "tomorrow", 0},
    {"die Straße", "n", "", "street, road", 4},
    {"schnell", "adj", "", "fast, quick", 0},
    {"schön", "adj", "", "beautiful, nice", 0},
    {"sprechen", "v", "", "speak, talk", 0},
    {"der Tisch", "n", "", "table", 4},
    {"vergessen", "v", "", "forget", 0},
    {"warum", "adv", "", "why", 0},
    {"das Wetter", "n", "", "weather", 4},
    {"die Zeitung", "n", "", "newspaper", 4},
};

const std::vector<TSampleEntry> kFrench = {
    {"l'ami", "n", "m.", "friend", 2},
    {"l'arbre", "n", "m.", "tree", 2},
    {"aujourd'hui", "adv", "", "today", 0},
    {"beaucoup", "adv", "", "a lot, much, many", 0},
    {"la bibliothèque", "n", "", "library", 3},
    {"le château", "n", "", "castle", 3},
    {"chercher", "v", "", "look for, search", 0},
    {"content", "adj", "", "happy, glad", 0},
    {"le déjeuner", "n", "", "lunch", 3},
    {"demain", "adv", "", "tomorrow", 0},
    {"l'école", "n", "f.", "school", 2},
    {"être", "v", "", "(to) be", 0},
    {"la fenêtre", "n", "", "window", 3},
    {"la fille", "n", "", "girl; daughter", 3},
    {"le garçon", "n", "", "boy; waiter", 3},
    {"heureux", "adj", "", "happy", 0},
    {"hier", "adv", "", "yesterday", 0},
    {"le livre", "n", "", "book", 3},
    {"manger", "v", "", "eat", 0},
    {"la mer", "n", "", "sea", 3},
    {"parler", "v", "", "speak, talk", 0},
    {"pourquoi", "adv", "", "why", 0},
    {"la rue", "n", "", "street", 3},
    {"vite", "adv", "", "quickly, fast", 0},
    {"la voiture", "n", "", "car", 3},
};

const std::vector<TSampleEntry> kRussian = {
    {"апельсин", "n", "", "orange", 0},
    {"белый", "adj", "", "white", 0},
    {"библиотека", "n", "", "library", 0},
    {"большой", "adj", "", "big, large", 0},
    {"быстро", "adv", "", "quickly, fast", 0},
    {"вода", "n", "", "water", 0},
    {"вчера", "adv", "", "yesterday", 0},
    {"говорить", "v", "impf.", "speak, talk", 0},
    {"город", "n", "", "city, town", 0},
    {"дом", "n", "", "house, home", 0},
    {"друг", "n", "", "friend", 0},
    {"завтра", "adv", "", "tomorrow", 0},
    {"здравствуйте", "interj", "formal", "hello", 0},
    {"книга", "n", "", "book", 0},
    {"красивый", "adj", "", "beautiful", 0},
    {"медленно", "adv", "", "slowly", 0},
    {"молоко", "n", "", "milk", 0},
    {"окно", "n", "", "window", 0},
    {"почему", "adv", "", "why", 0},
    {"работать", "v", "impf.", "work", 0},
    {"сегодня", "adv", "", "today", 0},
    {"спасибо", "interj", "", "thank you, thanks", 0},
    {"улица", "n", "", "street", 0},
    {"хлеб", "n", "", "bread", 0},
    {"чёрный", "adj", "", "black", 0},
    {"школа", "n", "", "school", 0},
};
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  bool ok = Write(dir + "/German-English.doz", 0x0407, 0x0409, "Everyday German words", kGerman);
  ok = Write(dir + "/French-English.doz", 0x040C, 0x0409, "Everyday French words", kFrench) && ok;
  ok =
      Write(dir + "/Russian-English.doz", 0x0419, 0x0409, "Everyday Russian words", kRussian) && ok;
  return ok ? 0 : 1;
}

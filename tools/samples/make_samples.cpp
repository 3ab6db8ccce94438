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
const std::vector<TSampleEntry> kJapanese = {
    {"猫/ねこ", "n", "neko", "cat", 0},
    {"犬/いぬ", "n", "inu", "dog", 0},
    {"水/みず", "n", "mizu", "water", 0},
    {"本/ほん", "n", "hon", "book", 0},
    {"学校/がっこう", "n", "gakkou", "school", 0},
    {"先生/せんせい", "n", "sensei", "teacher", 0},
    {"友達/ともだち", "n", "tomodachi", "friend", 0},
    {"電車/でんしゃ", "n", "densha", "train", 0},
    {"駅/えき", "n", "eki", "station", 0},
    {"食べる/たべる", "v", "taberu", "eat", 0},
    {"飲む/のむ", "v", "nomu", "drink", 0},
    {"行く/いく", "v", "iku", "go", 0},
    {"来る/くる", "v", "kuru", "come", 0},
    {"見る/みる", "v", "miru", "see, look, watch", 0},
    {"勉強する/べんきょうする", "v", "benkyou suru", "study", 0},
    {"話す/はなす", "v", "hanasu", "speak, talk", 0},
    {"大きい/おおきい", "adj", "ookii", "big, large", 0},
    {"小さい/ちいさい", "adj", "chiisai", "small, little", 0},
    {"新しい/あたらしい", "adj", "atarashii", "new", 0},
    {"高い/たかい", "adj", "takai", "expensive; high, tall", 0},
    {"今日/きょう", "n", "kyou", "today", 0},
    {"明日/あした", "n", "ashita", "tomorrow", 0},
    {"昨日/きのう", "n", "kinou", "yesterday", 0},
    {"ありがとう", "interj", "arigatou", "thank you", 0},
    {"すみません", "interj", "sumimasen", "excuse me; sorry", 0},
    {"雨/あめ", "n", "ame", "rain", 0},
    {"山/やま", "n", "yama", "mountain", 0},
    {"時間/じかん", "n", "jikan", "time; hour", 0},
};

const std::vector<TSampleEntry> kChinese = {
    {"猫", "n", "mao1", "cat", 0},
    {"狗", "n", "gou3", "dog", 0},
    {"水", "n", "shui3", "water", 0},
    {"书", "n", "shu1", "book", 0},
    {"学校", "n", "xue2xiao4", "school", 0},
    {"老师", "n", "lao3shi1", "teacher", 0},
    {"朋友", "n", "peng2you3", "friend", 0},
    {"火车", "n", "huo3che1", "train", 0},
    {"吃", "v", "chi1", "eat", 0},
    {"喝", "v", "he1", "drink", 0},
    {"去", "v", "qu4", "go", 0},
    {"来", "v", "lai2", "come", 0},
    {"看", "v", "kan4", "look, see, watch; read", 0},
    {"学习", "v", "xue2xi2", "study, learn", 0},
    {"说", "v", "shuo1", "speak, say", 0},
    {"大", "adj", "da4", "big, large", 0},
    {"小", "adj", "xiao3", "small, little", 0},
    {"新", "adj", "xin1", "new", 0},
    {"贵", "adj", "gui4", "expensive", 0},
    {"今天", "n", "jin1tian1", "today", 0},
    {"明天", "n", "ming2tian1", "tomorrow", 0},
    {"昨天", "n", "zuo2tian1", "yesterday", 0},
    {"谢谢", "interj", "xie4xie4", "thank you", 0},
    {"对不起", "interj", "dui4buqi3", "sorry", 0},
    {"雨", "n", "yu3", "rain", 0},
    {"山", "n", "shan1", "mountain", 0},
    {"时间", "n", "shi2jian1", "time", 0},
    {"你好", "interj", "ni3hao3", "hello", 0},
};

const std::vector<TSampleEntry> kKorean = {
    {"고양이", "n", "goyangi", "cat", 0},
    {"개", "n", "gae", "dog", 0},
    {"물", "n", "mul", "water", 0},
    {"책", "n", "chaek", "book", 0},
    {"학교", "n", "hakgyo", "school", 0},
    {"선생님", "n", "seonsaengnim", "teacher", 0},
    {"친구", "n", "chingu", "friend", 0},
    {"기차", "n", "gicha", "train", 0},
    {"역", "n", "yeok", "station", 0},
    {"먹다", "v", "meokda", "eat", 0},
    {"마시다", "v", "masida", "drink", 0},
    {"가다", "v", "gada", "go", 0},
    {"오다", "v", "oda", "come", 0},
    {"보다", "v", "boda", "see, look, watch", 0},
    {"공부하다", "v", "gongbuhada", "study", 0},
    {"말하다", "v", "malhada", "speak, say", 0},
    {"크다", "adj", "keuda", "big, large", 0},
    {"작다", "adj", "jakda", "small, little", 0},
    {"새롭다", "adj", "saeropda", "new", 0},
    {"비싸다", "adj", "bissada", "expensive", 0},
    {"오늘", "n", "oneul", "today", 0},
    {"내일", "n", "naeil", "tomorrow", 0},
    {"어제", "n", "eoje", "yesterday", 0},
    {"감사합니다", "interj", "gamsahamnida", "thank you", 0},
    {"미안합니다", "interj", "mianhamnida", "sorry", 0},
    {"비", "n", "bi", "rain", 0},
    {"산", "n", "san", "mountain", 0},
    {"안녕하세요", "interj", "annyeonghaseyo", "hello", 0},
};

const std::vector<TSampleEntry> kArabic = {
    {"قطة", "n", "qitta", "cat", 0},
    {"كلب", "n", "kalb", "dog", 0},
    {"ماء", "n", "maa'", "water", 0},
    {"كتاب", "n", "kitaab", "book", 0},
    {"مدرسة", "n", "madrasa", "school", 0},
    {"معلم", "n", "mu'allim", "teacher", 0},
    {"صديق", "n", "sadiiq", "friend", 0},
    {"قطار", "n", "qitaar", "train", 0},
    {"بيت", "n", "bayt", "house", 0},
    {"أكل", "v", "akala", "eat", 0},
    {"شرب", "v", "shariba", "drink", 0},
    {"ذهب", "v", "dhahaba", "go", 0},
    {"جاء", "v", "jaa'a", "come", 0},
    {"رأى", "v", "ra'aa", "see", 0},
    {"درس", "v", "darasa", "study", 0},
    {"تكلم", "v", "takallama", "speak, talk", 0},
    {"كبير", "adj", "kabiir", "big, large", 0},
    {"صغير", "adj", "saghiir", "small, little", 0},
    {"جديد", "adj", "jadiid", "new", 0},
    {"غالي", "adj", "ghaali", "expensive", 0},
    {"اليوم", "adv", "al-yawm", "today", 0},
    {"غدا", "adv", "ghadan", "tomorrow", 0},
    {"أمس", "adv", "ams", "yesterday", 0},
    {"شكرا", "interj", "shukran", "thank you", 0},
    {"مطر", "n", "matar", "rain", 0},
    {"جبل", "n", "jabal", "mountain", 0},
    {"مرحبا", "interj", "marhaban", "hello", 0},
    {"ثلاثة", "num", "thalaatha", "three (3)", 0},
};

const std::vector<TSampleEntry> kHindiNative = {
    {"cat", "संज्ञा", "", "बिल्ली", 0},
    {"dog", "संज्ञा", "", "कुत्ता", 0},
    {"water", "संज्ञा", "", "पानी", 0},
    {"book", "संज्ञा", "", "किताब, पुस्तक", 0},
    {"school", "संज्ञा", "", "विद्यालय, स्कूल", 0},
    {"teacher", "संज्ञा", "", "शिक्षक, अध्यापक", 0},
    {"friend", "संज्ञा", "", "दोस्त, मित्र", 0},
    {"train", "संज्ञा", "", "रेलगाड़ी, ट्रेन", 0},
    {"house", "संज्ञा", "", "घर, मकान", 0},
    {"eat", "क्रिया", "", "खाना", 0},
    {"drink", "क्रिया", "", "पीना", 0},
    {"go", "क्रिया", "", "जाना", 0},
    {"come", "क्रिया", "", "आना", 0},
    {"see", "क्रिया", "", "देखना", 0},
    {"study", "क्रिया", "", "पढ़ना", 0},
    {"speak", "क्रिया", "", "बोलना", 0},
    {"big", "विशेषण", "", "बड़ा", 0},
    {"small", "विशेषण", "", "छोटा", 0},
    {"new", "विशेषण", "", "नया", 0},
    {"expensive", "विशेषण", "", "महँगा", 0},
    {"beautiful", "विशेषण", "", "सुंदर", 0},
    {"today", "क्रियाविशेषण", "", "आज", 0},
    {"thank you", "विस्मयादिबोधक", "", "धन्यवाद, शुक्रिया", 0},
    {"hello", "विस्मयादिबोधक", "", "नमस्ते", 0},
    {"rain", "संज्ञा", "", "बारिश, वर्षा", 0},
    {"mountain", "संज्ञा", "", "पहाड़, पर्वत", 0},
    {"time", "संज्ञा", "", "समय", 0},
    {"language", "संज्ञा", "", "भाषा", 0},
    {"word", "संज्ञा", "", "शब्द", 0},
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
  ok = Write(dir + "/Japanese-English.doz", 0x0411, 0x0409, "Everyday Japanese words", kJapanese) &&
       ok;
  ok =
      Write(dir + "/Chinese-English.doz", 0x0804, 0x0409, "Everyday Chinese words", kChinese) && ok;
  ok = Write(dir + "/Korean-English.doz", 0x0412, 0x0409, "Everyday Korean words", kKorean) && ok;
  ok = Write(dir + "/Arabic-English.doz", 0x0401, 0x0409, "Everyday Arabic words", kArabic) && ok;
  ok = Write(dir + "/English-Hindi.doz", 0x0409, 0x0439, "रोज़मर्रा के अंग्रेज़ी शब्द", kHindiNative) && ok;
  return ok ? 0 : 1;
}

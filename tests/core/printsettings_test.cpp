// SPDX-License-Identifier: MIT
// Tests of the print options and page setup byte codecs.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "TestSupport.h"
#include "settings/PrintSettings.h"

TEST(PrintOptions, DefaultsAndLayout) {
  EXPECT_EQ(Hex(EncodePrintOptions(TPrintOptions{})), "01 01 0e");
  TPrintOptions o;
  o.PrintTitle = false;
  o.PrintFields = kPrintNotes;
  EXPECT_EQ(Hex(EncodePrintOptions(o)), "00 01 04");
  TPrintOptions read;
  DecodePrintOptions(EncodePrintOptions(o), read);
  EXPECT_TRUE(read == o);
}

TEST(PrintOptions, DamagedBlocks) {
  TPrintOptions o;
  o.PrintPageNumbers = false;
  DecodePrintOptions(std::string("\0\0\x08\0", 4), o);  // longer: the defaults
  EXPECT_TRUE(o == TPrintOptions{});
  DecodePrintOptions(std::string("\0", 1), o);  // shorter: the rest kept
  EXPECT_FALSE(o.PrintTitle);
  EXPECT_TRUE(o.PrintPageNumbers);
  EXPECT_EQ(o.PrintFields, 0x0E);
  DecodePrintOptions("\x01\x02\xFF", o);  // the word/phrase bit and unknown bits dropped
  EXPECT_TRUE(o.PrintPageNumbers);
  EXPECT_EQ(o.PrintFields, 0x0E);
  EXPECT_EQ(Hex(EncodePrintOptions(o)), "01 01 0e");
}

TEST(PageSetup, DefaultsAndLayout) {
  EXPECT_EQ(Hex(EncodePageSetup(TPageSetup{})),
            "a0 05 00 00 a0 05 00 00 a0 05 00 00 a0 05 00 00 02 00 00 00 01 00 00 00");
  TPageSetup s;
  s.MarginLeft = 1418;
  s.MarginTop = 0;
  s.MarginRight = 567;
  s.MarginBottom = kMaxMargin;
  s.Columns = 3;
  s.Separator = false;
  s.Reserved = {0xAA, 0xBB, 0xCC};
  EXPECT_EQ(Hex(EncodePageSetup(s)),
            "8a 05 00 00 00 00 00 00 37 02 00 00 e0 2c 02 00 03 00 00 00 00 aa bb cc");
  TPageSetup read;
  DecodePageSetup(EncodePageSetup(s), read);
  EXPECT_TRUE(read == s);  // reserved bytes are kept as read
}

TEST(PageSetup, DamagedBlocks) {
  TPageSetup s;
  s.Columns = 3;
  DecodePageSetup(EncodePageSetup(s) + "x", s);
  EXPECT_TRUE(s == TPageSetup{});

  // A shorter block: the first margin read, the rest kept.
  s.MarginTop = 100;
  DecodePageSetup(std::string("\x10\x00\x00\x00\x20", 5), s);
  EXPECT_EQ(s.MarginLeft, 16);
  EXPECT_EQ(s.MarginTop, 0x20);  // low byte replaced
  EXPECT_EQ(s.Columns, 2);

  struct TCase {
    int32_t columns;
    int32_t margin;
    int32_t wantColumns;
    int32_t wantMargin;
  };
  for (const TCase& c :
       {TCase{0, -1, 1, 1440}, TCase{4, kMaxMargin + 1, 1, 1440}, TCase{-7, 0, 1, 0},
        TCase{1, kMaxMargin, 1, kMaxMargin}, TCase{3, 720, 3, 720}}) {
    TPageSetup stored;
    stored.Columns = c.columns;
    stored.MarginRight = c.margin;
    TPageSetup read;
    DecodePageSetup(EncodePageSetup(stored), read);
    EXPECT_EQ(read.Columns, c.wantColumns) << c.columns;
    EXPECT_EQ(read.MarginRight, c.wantMargin) << c.margin;
  }
}

TEST(PageSetup, AnyBlockGivesASoundRecord) {
  std::mt19937 random(815);
  for (int run = 0; run < 2000; ++run) {
    std::string bytes(random() % (kPageSetupSize + 2), '\0');
    for (char& b : bytes) b = static_cast<char>(random() % 4 == 0 ? random() : random() % 3);
    TPageSetup s;
    DecodePageSetup(bytes, s);
    for (int32_t margin : {s.MarginLeft, s.MarginTop, s.MarginRight, s.MarginBottom}) {
      EXPECT_GE(margin, 0);
      EXPECT_LE(margin, kMaxMargin);
    }
    EXPECT_GE(s.Columns, kMinColumns);
    EXPECT_LE(s.Columns, kMaxColumns);
    TPageSetup again;
    DecodePageSetup(EncodePageSetup(s), again);
    ASSERT_TRUE(again == s) << "run " << run;

    TPrintOptions o;
    DecodePrintOptions(bytes.substr(0, random() % (kPrintOptionsSize + 2)), o);
    EXPECT_EQ(o.PrintFields & ~kPrintFieldsMask, 0);
  }
}

#include "core/text.h"

#include <gtest/gtest.h>

#include "core/vb_array.h"
#include "core/vb_error.h"
#include "core/vb_math.h"
#include "test_support.h"

namespace qv {
namespace {

TEST(TrimBlanks, RemovesOnlyBlanksAtBothEnds) {
  EXPECT_EQ(TrimBlanks("  Door  "), "Door");
  EXPECT_EQ(TrimBlanks(std::string(15, ' ')), "");
  std::string zeros(15, '\0');
  EXPECT_EQ(TrimBlanks(zeros), zeros) << "zero bytes are not blanks";
  EXPECT_EQ(TrimBlanks("\tx "), "\tx");
}

TEST(NumberTexts, WrittenWithALeadingBlankForZeroAndAboveAndReadFromTheStartOfAText) {
  EXPECT_EQ(NumText(0), " 0");
  EXPECT_EQ(NumText(-4), "-4");
  EXPECT_EQ(PlainNum(5), "5");
  EXPECT_EQ(LeadingNumber("  42px"), 42);
  EXPECT_EQ(LeadingNumber("-12.5"), -12.5);
  EXPECT_EQ(LeadingNumber("1e3"), 1000);
  EXPECT_EQ(LeadingNumber("abc"), 0);
  EXPECT_EQ(LeadingNumber("."), 0);
}

TEST(VbNumbers, HalvesRoundToTheEvenNeighbourOverflowIsErrorSixABadIndexErrorNine) {
  EXPECT_EQ(ToInt16(12.5), 12);
  EXPECT_EQ(ToInt16(13.5), 14);
  EXPECT_EQ(ToInt16(-2.5), -2);
  EXPECT_THROW(ToInt16(32767.5), VbError) << "rounds to 32768";
  EXPECT_THROW(ToInt16(1e300), VbError);
  EXPECT_EQ(ToInt32(1.5), 2);
  EXPECT_EQ(AddInt16(32766, 1), 32767);
  EXPECT_EQ(testing::VbErrorText([] { AddInt16(32767, 1); }), "6 Overflow");
  EXPECT_THROW(AddInt16(-32768, -1), VbError);
  VbArray<int16_t, 0, 20> table;
  EXPECT_NO_THROW(table[20] = 3);
  EXPECT_EQ(testing::VbErrorText([&] { table[21] = 1; }), "9 Subscript out of range");
  EXPECT_THROW(table[-1], VbError);
}

TEST(Cp1252, EveryByteRoundTripsThroughUtf8) {
  std::string all;
  for (int b = 0; b < 256; ++b)
    all += static_cast<char>(b);
  std::string utf8 = Cp1252ToUtf8(all);
  auto back = Utf8ToCp1252(utf8);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, all);
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC") << "0x80 is the euro sign";
  EXPECT_FALSE(Utf8ToCp1252("\xE4\xB8\xAD").has_value()) << "a CJK character has no byte";
  EXPECT_FALSE(Utf8ToCp1252("\xC3").has_value()) << "truncated UTF-8";
  EXPECT_EQ(Utf8ToCp1252Lossy("a\xE4\xB8\xAD"
                              "b"),
            "a?b");
}

TEST(LastThreeLower, TellsFileKinds) {
  EXPECT_EQ(LastThreeLower("Intro.AVI"), "avi");
  EXPECT_EQ(LastThreeLower("ab"), "ab");
}

}  // namespace
}  // namespace qv

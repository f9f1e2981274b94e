#include "core/text.h"

#include <gtest/gtest.h>

#include "core/vb_array.h"
#include "core/vb_error.h"
#include "core/vb_math.h"
#include "test_support.h"

namespace qv {
namespace {

// Trimming, number texts and rounding halves to even show in the scene data, the log
// lines and the flag conjunctions' tests; here the edges those do not reach.
TEST(TextsAndNumbers, TheEdgesTheGamesDoNotReach) {
  EXPECT_EQ(TrimBlanks("\tx "), "\tx") << "only blanks";
  EXPECT_EQ(LeadingNumber("1e3"), 1000);
  EXPECT_EQ(LeadingNumber("."), 0);
  EXPECT_THROW(ToInt16(32767.5), VbError) << "rounds to 32768";
  EXPECT_THROW(ToInt16(1e300), VbError);
  EXPECT_THROW(AddInt16(-32768, -1), VbError);
  VbArray<int16_t, 0, 20> table;
  EXPECT_NO_THROW(table[20] = 3);
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

}  // namespace
}  // namespace qv

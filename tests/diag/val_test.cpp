// Numbers typed into the debug window, read as the classic Val reads them.

#include "diag/val.h"

#include <gtest/gtest.h>

#include "core/vb_error.h"
#include "diag/debug_window.h"

namespace qv::diag {
namespace {

TEST(Val, DecimalHexOctalAndWhatReadsAsNothingAndFieldsRoundHalvesToEven) {
  EXPECT_EQ(Val("  42abc"), 42);
  EXPECT_EQ(Val("1 2\t3"), 123) << "blanks and tabs anywhere are skipped";
  EXPECT_EQ(Val("-3.5e2x"), -350);
  EXPECT_EQ(Val("2D2"), 200);
  EXPECT_EQ(Val(".5"), 0.5);
  EXPECT_EQ(Val("1e"), 1);
  for (const char* nothing : {"", "abc", "-", ".", "$5", "e5"})
    EXPECT_EQ(Val(nothing), 0) << nothing;
  EXPECT_EQ(Val("&H1f"), 31);
  EXPECT_EQ(Val("&HFFFF"), -1) << "four hex digits are a 16-bit value";
  EXPECT_EQ(Val("&H10000"), 65536);
  EXPECT_EQ(Val("&HFFFFFFFF"), -1);
  EXPECT_EQ(Val("&O17"), 15);
  EXPECT_EQ(Val("&17"), 15);
  EXPECT_EQ(Val("&Hz"), 0);
  EXPECT_THROW(Val("&H100000000"), VbError);
  EXPECT_THROW(Val("1e999"), VbError);

  EXPECT_EQ(ReadNumber("12.5"), 12);
  EXPECT_EQ(ReadNumber("13.5"), 14);
  EXPECT_EQ(ReadNumber("-0.5"), 0);
  EXPECT_EQ(ReadNumber(" 7.51"), 8);
}

}  // namespace
}  // namespace qv::diag

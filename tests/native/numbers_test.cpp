#include <gtest/gtest.h>

#include <limits>

#include "core/numbers.h"
#include "core/twips.h"

using num::ParseLeadingNumber;

TEST(ParseLeadingNumber, ReadsTheLeadingNumberAndIgnoresBlanks) {
  EXPECT_EQ(ParseLeadingNumber(L"480"), 480.0);
  EXPECT_EQ(ParseLeadingNumber(L"-15"), -15.0);
  EXPECT_EQ(ParseLeadingNumber(L"+7"), 7.0);
  EXPECT_EQ(ParseLeadingNumber(L"1.5"), 1.5);
  EXPECT_EQ(ParseLeadingNumber(L".5"), 0.5);
  EXPECT_EQ(ParseLeadingNumber(L"2.5e2"), 250.0);
  EXPECT_EQ(ParseLeadingNumber(L"1E-1"), 0.1);
  EXPECT_EQ(ParseLeadingNumber(L" 1 2 3 "), 123.0);
  EXPECT_EQ(ParseLeadingNumber(L"\t- 4"), -4.0);
  EXPECT_EQ(ParseLeadingNumber(L"12abc"), 12.0);
  EXPECT_EQ(ParseLeadingNumber(L"3e"), 3.0);      // exponent without digits is not part of it
  EXPECT_EQ(ParseLeadingNumber(L"3e+x"), 3.0);
  EXPECT_EQ(ParseLeadingNumber(L"1,5"), 1.0);     // the decimal separator is always "."
  EXPECT_EQ(ParseLeadingNumber(L"5."), 5.0);
}

TEST(ParseLeadingNumber, TextThatIsNoNumberIsZero) {
  EXPECT_EQ(ParseLeadingNumber(L""), 0.0);
  EXPECT_EQ(ParseLeadingNumber(L"abc"), 0.0);
  EXPECT_EQ(ParseLeadingNumber(L"-"), 0.0);
  EXPECT_EQ(ParseLeadingNumber(L"."), 0.0);
  EXPECT_EQ(ParseLeadingNumber(L"e5"), 0.0);
  EXPECT_EQ(ParseLeadingNumber(L"1e-999"), 0.0);  // underflow
}

TEST(ParseLeadingNumber, OverflowIsNoNumberAtAll) {
  EXPECT_FALSE(ParseLeadingNumber(L"1e999").has_value());
  EXPECT_FALSE(ParseLeadingNumber("-1e400").has_value());
}

TEST(Rounding, HalfToEven) {
  EXPECT_EQ(num::RoundHalfEven(2.5), 2);
  EXPECT_EQ(num::RoundHalfEven(3.5), 4);
  EXPECT_EQ(num::RoundHalfEven(1.5), 2);
  EXPECT_EQ(num::RoundHalfEven(-2.5), -2);
  EXPECT_EQ(num::RoundHalfEven(-3.5), -4);
  EXPECT_EQ(num::RoundHalfEven(2.4999), 2);
  EXPECT_EQ(num::RoundHalfEven(2.5001), 3);
}

TEST(Rounding, ToInt32FailsOutsideTheRange) {
  EXPECT_EQ(num::ToInt32(2147483647.0), 2147483647);
  EXPECT_EQ(num::ToInt32(2147483647.4), 2147483647);
  EXPECT_FALSE(num::ToInt32(2147483647.5));  // rounds to even 2147483648
  EXPECT_EQ(num::ToInt32(-2147483648.5), std::numeric_limits<std::int32_t>::min());
  EXPECT_FALSE(num::ToInt32(-2147483649.0));
  EXPECT_FALSE(num::ToInt32(12345678901.0));
  EXPECT_FALSE(num::ToInt32(std::numeric_limits<double>::quiet_NaN()));
}

TEST(Rounding, IntegerDivisionRoundsOperandsThenTruncates) {
  EXPECT_EQ(num::IntDiv(7.5, 15), 0);  // 8 \ 15
  EXPECT_EQ(num::IntDiv(17, 8.5), 2);  // 17 \ 8
  EXPECT_EQ(num::IntDiv(-29, 15), -1);
  EXPECT_EQ(num::IntDiv(4695, 2), 2347);
  EXPECT_EQ(num::IntDiv(5, 0.4), 0);  // divisor rounds to 0
}

TEST(NumberText, IntegersAndSingles) {
  EXPECT_EQ(num::IntToText(480), "480");
  EXPECT_EQ(num::IntToText(-15), "-15");
  EXPECT_EQ(num::SingleToText(9390.0f), "9390");
  EXPECT_EQ(num::SingleToText(-15.0f), "-15");
  EXPECT_EQ(num::SingleToText(0.0f), "0");
  EXPECT_EQ(num::SingleToText(-0.0f), "0");
  EXPECT_EQ(num::SingleToText(1e10f), "10000000000");
  // Fractions read back to the same single.
  for (float v : {1.5f, 0.1f, -7.25f, 3.4028235e38f, 1e-20f, 123456.79f}) {
    auto text = num::SingleToText(v);
    EXPECT_EQ(num::ToSingle(*ParseLeadingNumber(text)), v) << text;
  }
}

TEST(Twips, ConversionsAt15TwipsPerPixel) {
  EXPECT_EQ(twips::ToPixels(14, 15), 0);
  EXPECT_EQ(twips::ToPixels(15, 15), 1);
  EXPECT_EQ(twips::ToPixels(29, 15), 1);
  EXPECT_EQ(twips::ToPixels(30, 15), 2);
  EXPECT_EQ(twips::ToPixels(-14, 15), 0);
  EXPECT_EQ(twips::FromPixels(32, 15), 480);
}

TEST(Twips, ConversionsAtFractionalRatios) {
  EXPECT_EQ(twips::ToPixels(17, 8.5), 2);    // divisor rounded to 8
  EXPECT_EQ(twips::FromPixels(3, 8.5), 26);  // 25.5 to even
  EXPECT_EQ(twips::FromPixels(32, 12), 384);
  EXPECT_EQ(twips::ToPixels(4800, 12), 400);
  EXPECT_DOUBLE_EQ(twips::TwipsPerPixelForDpi(96), 15);
  EXPECT_DOUBLE_EQ(twips::TwipsPerPixelForDpi(120), 12);
}

TEST(Twips, WindowPlacementTruncatesLikeEveryOtherConversion) {
  EXPECT_EQ(twips::ToPixels(9390, 15), 626);
  EXPECT_EQ(twips::ToPixels(7470, 12), 622);
  EXPECT_EQ(twips::ToPixels(7482, 12), 623);
  EXPECT_EQ(twips::ToPixels(-15, 15), -1);
}

TEST(Twips, FractionalRatiosDivideByTheExactRatio) {
  // 200 % scaling: 7.5 twips per pixel. The frame at 1500, 900, 750 x 375
  // twips is 100 x 50 pixels at (200, 120), not 93 x 46 at (187, 112).
  const double r = twips::TwipsPerPixelForDpi(192);
  EXPECT_EQ(twips::ToPixels(1500, r), 200);
  EXPECT_EQ(twips::ToPixels(900, r), 120);
  EXPECT_EQ(twips::ToPixels(750, r), 100);
  EXPECT_EQ(twips::ToPixels(375, r), 50);
  EXPECT_EQ(twips::FromPixels(5, r), 38);
  EXPECT_EQ(twips::FromPixels(-5, r), -38);
  // 175 %: 60/7 twips per pixel. 857 twips are 99.98 pixels, so 100 pixels
  // are 858 twips.
  const double s = twips::TwipsPerPixelForDpi(168);
  EXPECT_EQ(twips::FromPixels(100, s), 858);
  EXPECT_EQ(twips::ToPixels(857, s), 99);
  EXPECT_EQ(twips::ToPixels(858, s), 100);
  EXPECT_EQ(twips::ToPixels(-858, s), -100);
}

TEST(Twips, PixelsComeBackThroughTwipsAtEveryRatio) {
  for (int dpi : {96, 120, 144, 168, 192, 216, 240, 288}) {
    const double r = twips::TwipsPerPixelForDpi(dpi);
    const bool whole = 1440 % dpi == 0;
    for (int p = -8000; p <= 16000; ++p) {
      const std::int32_t t = twips::FromPixels(p, r);
      ASSERT_EQ(twips::ToPixels(t, r), p) << dpi << " dpi, pixel " << p;
      if (whole) {
        ASSERT_EQ(t, p * (1440 / dpi)) << dpi << " dpi, pixel " << p;
      }
    }
  }
}

TEST(Twips, ALayoutAt96DpiScalesByTheSameRule) {
  // The version dialog's client area, 263 x 75 at 96 dpi: 328.75 x 93.75 at
  // 120 dpi, in whole pixels as every window is placed.
  EXPECT_EQ(twips::ScaledFrom96(263, 12), 328);
  EXPECT_EQ(twips::ScaledFrom96(75, 12), 93);
  EXPECT_EQ(twips::ScaledFrom96(263, 7.5), 526);
  EXPECT_EQ(twips::ScaledFrom96(-9, 15), -9);
}

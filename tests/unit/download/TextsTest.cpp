#include <gtest/gtest.h>

#include <QLocale>
#include <cmath>
#include <limits>

#include "download/UMPDownloader.h"

namespace {

struct SizeCase {
  std::int64_t bytes;
  const char* text;
};

TEST(DownloadTexts, ByteSizesPickTheUnitAndUseTheLocaleDecimalSeparator) {
  const SizeCase cases[] = {
      {0, "0"},
      {-1, "0"},
      {512, "512,00 B"},
      {1023, "1023,00 B"},
      {1024, "1,00 KB"},
      {1536, "1,50 KB"},
      {1048576, "1,00 MB"},  // an exact power stays in its own unit
      {9332326, "8,90 MB"},
      {3221225472LL, "3,00 GB"},
      {1099511627776LL, "1,00 TB"},
      {std::numeric_limits<std::int64_t>::max(), "8,00 EB"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ByteSizeText(c.bytes).toStdString(), c.text) << c.bytes;
  }
}

TEST(DownloadTexts, ByteSizesNeverGroupThousands) {
  EXPECT_EQ(ByteSizeText(1023, QLocale(QLocale::English, QLocale::UnitedStates)).toStdString(),
            "1023.00 B");
}

TEST(DownloadTexts, RemainingTimeRoundsHalvesToEvenAndGrowsPastTwoDigitHours) {
  const struct {
    double seconds;
    const char* text;
  } cases[] = {
      {0, "00:00:00"},   {3725.4, "01:02:05"}, {59.5, "00:01:00"},    {58.5, "00:00:58"},
      {0.5, "00:00:00"}, {1.5, "00:00:02"},    {360000, "100:00:00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RemainingTimeText(c.seconds).toStdString(), c.text) << c.seconds;
  }
}

TEST(DownloadTexts, RemainingTimeRefusesValuesNoClockCanShow) {
  EXPECT_ANY_THROW(RemainingTimeText(std::numeric_limits<double>::infinity()));
  EXPECT_ANY_THROW(RemainingTimeText(std::nan("")));
  EXPECT_ANY_THROW(RemainingTimeText(-1));
}

TEST(DownloadTexts, SpeedIsMegabytesTimesEightPointNineWithGroupedThousands) {
  EXPECT_EQ(SpeedText(1048576).toStdString(), "8,90 MB");
  EXPECT_EQ(SpeedText(0).toStdString(), "0,00 MB");
  EXPECT_EQ(SpeedText(1048576.0 * 200).toStdString(), "1.780,00 MB");
}

}  // namespace

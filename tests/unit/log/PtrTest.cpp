// The protocol number: its parts, their lengths and the label.
#include <gtest/gtest.h>

#include <optional>

#include "report/Ptr.h"

namespace {

TEST(TPtr, NumberIsYearDayMonthSecondsMillisecondsThenCodes) {
  QDateTime now(QDate(2023, 2, 10), QTime(14, 35, 7, 123));
  std::optional<QString> label;
  TPtr ptr([&] { return now; }, [&](const QString& text) { label = text; });
  ptr.Initialize();
  EXPECT_EQ(ptr.GetProtocol(), "23100207123-000-00");
  EXPECT_EQ(ptr.GetProtocol().size(), 18);
  EXPECT_FALSE(label) << "the label stays empty until a code changes";

  // Single digits keep their leading zeros.
  now = QDateTime(QDate(2009, 11, 3), QTime(0, 0, 5, 9));
  ptr.Initialize();
  EXPECT_EQ(ptr.GetProtocol(), "09031105009-000-00");
}

TEST(TPtr, CodesChangeTheNumberAndTheLabelWhileTheStartStays) {
  QDateTime now(QDate(2023, 2, 10), QTime(14, 35, 7, 123));
  std::optional<QString> label;
  TPtr ptr([&] { return now; }, [&](const QString& text) { label = text; });
  ptr.Initialize();
  now = now.addSecs(3600);

  ptr.SetCodigoErro("007");
  EXPECT_EQ(ptr.GetProtocol(), "23100207123-007-00");
  EXPECT_EQ(label, "Protocolo: 23100207123-007-00");
  ptr.SetTipoOperacao("01");
  EXPECT_EQ(label, "Protocolo: 23100207123-007-01");
  // Longer codes are cut to their lengths.
  ptr.SetCodigoErro("0123");
  ptr.SetTipoOperacao("025");
  EXPECT_EQ(ptr.GetProtocol(), "23100207123-012-02");
  // A new start takes the new time and restores the codes.
  now = now.addSecs(2);
  ptr.Initialize();
  EXPECT_EQ(ptr.GetProtocol(), "23100209123-000-00");
}

}  // namespace

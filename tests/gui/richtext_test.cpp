#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>

#include "app/Fmessage.h"
#include "app/RichTextBold.h"

namespace {

// One character per character of the control's document: 'B' bold, '.' not;
// a line break reads as '|'.
QString BoldMask(const QTextEdit& re) {
  QString mask;
  const QTextDocument* doc = re.document();
  for (int i = 0; i + 1 < doc->characterCount(); ++i) {
    QTextCursor cursor(const_cast<QTextDocument*>(doc));
    cursor.setPosition(i);
    cursor.setPosition(i + 1, QTextCursor::KeepAnchor);
    if (cursor.selectedText() == QChar::ParagraphSeparator) {
      mask += QLatin1Char('|');
    } else {
      mask += cursor.charFormat().fontWeight() >= QFont::Bold ? QLatin1Char('B') : QLatin1Char('.');
    }
  }
  return mask;
}

// The mask expected when the first occurrence of each phrase, found in the
// document's own text (one character per line break), is bold.
QString ExpectedMask(const QTextEdit& re, const QStringList& phrases, int shift = 0) {
  const QString text = re.document()->toPlainText();
  QString mask;
  for (const QChar c : text) {
    mask += c == QLatin1Char('\n') ? QLatin1Char('|') : QLatin1Char('.');
  }
  for (const QString& phrase : phrases) {
    const qsizetype at = text.indexOf(phrase);
    for (qsizetype i = 0; at >= 0 && i < phrase.size(); ++i) {
      if (mask[at - shift + i] != QLatin1Char('|')) {
        mask[at - shift + i] = QLatin1Char('B');
      }
    }
  }
  return mask;
}

// Shows the bold-phrase message, records the rich text's look while it is
// open, and closes it with OK.
QString ShowBold(TFmessage& dialog, const QString& text, const QString& bold) {
  QString mask;
  QTimer::singleShot(0, &dialog, [&] {
    mask = BoldMask(*dialog.RichText());
    dialog.done(mrOk);
  });
  dialog.MsgPadrao(text, false, bold);
  return mask;
}

const QString kPendrive = QStringLiteral(
    "Atenção\r\n\r\nÉ necessário ao menos um pendrive de 8 Gb\r\nPlugue o pendriver no computador "
    "e clique em confirmar para tentar novamente ou cancelar para encerrar o sistema.");

}  // namespace

TEST(CountOccurrences, CountsLikeRemovingEveryOccurrence) {
  struct Case {
    const char* sub;
    const char* text;
    int expected;
  };
  const Case cases[] = {
      {"", "abc", 0},      {"a", "", 0},     {"x", "abc", 0},   {"\r\n", "a\r\nb\r\n", 2},
      {"ab", "xabyab", 2}, {"aa", "aaa", 1}, {"aa", "aaaa", 2}, {"abc", "abc", 1},
      {"A", "aaa", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CountOccurrences(QString::fromUtf8(c.sub), QString::fromUtf8(c.text)), c.expected)
        << "sub=" << c.sub << " text=" << c.text;
  }
}

TEST(MsgPadraoBold, LineBreaksBeforeAPhraseDoNotShiftTheBoldCharacters) {
  TFmessage dialog;
  const QString mask = ShowBold(dialog, kPendrive, QStringLiteral("Atenção*confirmar*cancelar"));
  const QStringList phrases{QStringLiteral("Atenção"), QStringLiteral("confirmar"),
                            QStringLiteral("cancelar")};
  EXPECT_EQ(mask, ExpectedMask(*dialog.RichText(), phrases));
  EXPECT_EQ(mask.count(QLatin1Char('B')), 7 + 9 + 8);
}

TEST(MsgPadraoBold, ShownTwiceBoldsTheSameCharacters) {
  TFmessage dialog;
  const QString bold = QStringLiteral("Atenção*confirmar*cancelar");
  const QString first = ShowBold(dialog, kPendrive, bold);
  const QString second = ShowBold(dialog, kPendrive, bold);
  EXPECT_EQ(first, second);
  // A plain text after a bold one carries no bold over either.
  EXPECT_FALSE(ShowBold(dialog, QStringLiteral("sem destaque"), QString()).contains('B'));
}

TEST(MsgPadraoBold, MissingOrEmptyPhrasesBoldNothing) {
  const struct { const char* bold; } cases[] = {{""}, {"inexistente"}, {"*"}, {"**"}, {"Atenção!"}};
  for (const auto& c : cases) {
    TFmessage dialog;
    const QString mask = ShowBold(dialog, kPendrive, QString::fromUtf8(c.bold));
    EXPECT_FALSE(mask.contains(QLatin1Char('B'))) << c.bold << ": " << mask.toStdString();
  }
}

TEST(MsgPadraoBold, OnlyThePhrasesThatOccurAreBold) {
  TFmessage dialog;
  const QString mask = ShowBold(dialog, kPendrive, QStringLiteral("xyz*pendrive*zzz"));
  EXPECT_EQ(mask, ExpectedMask(*dialog.RichText(), {QStringLiteral("pendrive")}));
}

TEST(MakeItBold, AjusteMovesTheBoldBackAndThePanelEndsDisabled) {
  for (const int ajuste : {0, 1, 3}) {
    QWidget panel;
    panel.setEnabled(false);
    QTextEdit re(&panel);
    re.setPlainText(QStringLiteral("linha um\r\nlinha dois\r\npalavra chave aqui"));
    MakeItBold(&re, &panel, QStringLiteral("chave"), ajuste);
    EXPECT_EQ(BoldMask(re), ExpectedMask(re, {QStringLiteral("chave")}, ajuste)) << ajuste;
    EXPECT_FALSE(panel.isEnabled());
    EXPECT_FALSE(re.textCursor().hasSelection());
  }
}

TEST(MakeItBold, AjustePastTheStartOrNoControlDoesNotCrash) {
  QTextEdit re;
  re.setPlainText(QStringLiteral("abc"));
  MakeItBold(&re, nullptr, QStringLiteral("abc"), 10);
  EXPECT_EQ(BoldMask(re), QStringLiteral("BBB"));
  MakeItBold(nullptr, nullptr, QStringLiteral("abc"), 0);
}

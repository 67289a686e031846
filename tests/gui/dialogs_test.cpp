#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include "app/Fmessage.h"
#include "app/Globals.h"
#include "app/fp.h"
#include "app/msgSimNao.h"

namespace {

enum class Close { Sim, Nao, Ok, Escape, WindowClose };

// Closes the open dialog the way the user would.
void CloseBy(QDialog& dialog, Close how) {
  const auto click = [&](const char* name) {
    auto* button = dialog.findChild<QWidget*>(QLatin1String(name));
    ASSERT_NE(button, nullptr) << name;
    ASSERT_TRUE(button->isVisible()) << name;
    QTest::mouseClick(button, Qt::LeftButton);
  };
  switch (how) {
    case Close::Sim:
      click("BtnSim");
      break;
    case Close::Nao:
      click("BtnNao");
      break;
    case Close::Ok:
      click("BtnOk");
      break;
    case Close::Escape:
      QTest::keyClick(&dialog, Qt::Key_Escape);
      break;
    case Close::WindowClose:
      dialog.close();
      break;
  }
  // A button that was not found leaves the dialog open; end it with no answer.
  if (dialog.isVisible()) {
    dialog.reject();
  }
}

bool Visible(const QDialog& dialog, const char* name) {
  return dialog.findChild<QWidget*>(QLatin1String(name))->isVisible();
}

}  // namespace

TEST(MsgPadrao, ResultDependsOnSimNaoAndOnHowTheDialogClosed) {
  const struct {
    bool simNao;
    Close how;
    bool expected;
  } cases[] = {
      {false, Close::Ok, true},          {false, Close::Escape, true},
      {false, Close::WindowClose, true}, {true, Close::Sim, true},
      {true, Close::Nao, false},         {true, Close::Escape, false},
      {true, Close::WindowClose, false},
  };
  TFmessage dialog;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "simNao=" << c.simNao << " how=" << int(c.how));
    bool simShown = false, naoShown = false, okShown = false, textShown = false;
    QTimer::singleShot(0, &dialog, [&] {
      simShown = Visible(dialog, "BtnSim");
      naoShown = Visible(dialog, "BtnNao");
      okShown = Visible(dialog, "BtnOk");
      textShown = Visible(dialog, "mensagem") && !Visible(dialog, "Panel1");
      CloseBy(dialog, c.how);
    });
    EXPECT_EQ(dialog.MsgPadrao(QStringLiteral("Gostaria de encerrar o sistema ?"), c.simNao),
              c.expected);
    EXPECT_EQ(simShown, c.simNao);
    EXPECT_EQ(naoShown, c.simNao);
    EXPECT_EQ(okShown, !c.simNao);
    EXPECT_TRUE(textShown);
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("mensagem"))->text(),
              QStringLiteral("Gostaria de encerrar o sistema ?"));
  }
}

TEST(MsgPadrao, BoldFormShowsTheRichTextInsteadOfTheLabel) {
  TFmessage dialog;
  bool richShown = false, labelShown = true;
  QString text;
  QTimer::singleShot(0, &dialog, [&] {
    richShown = Visible(dialog, "Panel1") && Visible(dialog, "RichText");
    labelShown = Visible(dialog, "mensagem");
    text = dialog.RichText()->toPlainText();
    CloseBy(dialog, Close::Nao);
  });
  EXPECT_FALSE(
      dialog.MsgPadrao(QStringLiteral("Atenção\r\nclique em confirmar"), true, "confirmar"));
  EXPECT_TRUE(richShown);
  EXPECT_FALSE(labelShown);
  EXPECT_EQ(text, QStringLiteral("Atenção\nclique em confirmar"));
  EXPECT_TRUE(dialog.RichText()->isReadOnly());
}

TEST(MsgPadraoSimNao, TrueOnlyForSim) {
  const struct {
    Close how;
    bool expected;
  } cases[] = {
      {Close::Sim, true}, {Close::Nao, false}, {Close::Escape, false}, {Close::WindowClose, false}};
  TmsgSimNao dialog;
  for (const auto& c : cases) {
    QString shown;
    QTimer::singleShot(0, &dialog, [&] {
      shown = dialog.findChild<QLabel*>(QStringLiteral("mensagem"))->text();
      CloseBy(dialog, c.how);
    });
    EXPECT_EQ(dialog.MsgPadraoSimNao(QStringLiteral("Deseja continuar ?")), c.expected)
        << int(c.how);
    EXPECT_EQ(shown, QStringLiteral("Deseja continuar ?"));
  }
}

TEST(Dialogs, LaidExactlyOverTheStageWithTheirControlsInPlace) {
  Tfp window;
  window.move(30, 20);
  window.show();
  ::fp = &window;
  TFmessage message(&window);
  TmsgSimNao question(&window);
  const QPoint stage = window.panelStage()->mapToGlobal(QPoint(0, 0));

  QPoint messageAt, questionAt;
  QTimer::singleShot(0, &message, [&] {
    messageAt = message.pos();
    message.done(mrOk);
  });
  message.MsgPadrao(QStringLiteral("x"), false);
  QTimer::singleShot(0, &question, [&] {
    questionAt = question.pos();
    question.done(mrNo);
  });
  question.MsgPadraoSimNao(QStringLiteral("x"));
  ::fp = nullptr;
  EXPECT_EQ(messageAt, stage);
  EXPECT_EQ(questionAt, stage);

  const struct {
    QDialog* dialog;
    const char* name;
    QRect geometry;
  } rows[] = {
      {&message, "Image2", {0, 0, 735, 592}},      {&message, "Image3", {65, 159, 605, 274}},
      {&message, "mensagem", {99, 226, 521, 137}}, {&message, "Panel1", {99, 222, 520, 150}},
      {&message, "BtnNao", {127, 391, 112, 25}},   {&message, "BtnOk", {290, 391, 112, 25}},
      {&message, "BtnSim", {453, 391, 112, 25}},   {&question, "Image6", {0, 0, 735, 592}},
      {&question, "Image3", {65, 159, 605, 274}},  {&question, "mensagem", {114, 232, 521, 137}},
      {&question, "BtnNao", {127, 391, 98, 24}},   {&question, "BtnSim", {525, 391, 98, 24}},
  };
  for (const auto& row : rows) {
    const auto* control = row.dialog->findChild<QWidget*>(QLatin1String(row.name));
    ASSERT_NE(control, nullptr) << row.name;
    EXPECT_EQ(control->geometry(), row.geometry)
        << row.dialog->objectName().toStdString() << "." << row.name;
  }
  for (QDialog* dialog : {static_cast<QDialog*>(&message), static_cast<QDialog*>(&question)}) {
    const auto* title = dialog->findChild<QLabel*>(QStringLiteral("Label2"));
    EXPECT_EQ(title->pos(), QPoint(208, 179));
    EXPECT_EQ(title->text(), QStringLiteral("Assistente Inteligente Solvanta"));
    EXPECT_EQ(title->font().pixelSize(), 21);
    EXPECT_EQ(dialog->size(), QSize(735, 592));
    EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::FramelessWindowHint));
  }
  EXPECT_EQ(message.objectName(), QStringLiteral("Fmessage"));
  EXPECT_EQ(question.objectName(), QStringLiteral("msgSimNao"));
}

TEST(Dialogs, KeyColourOfTheBackdropIsSeeThroughAndTheMessageBoxIsNot) {
  TFmessage message;
  TmsgSimNao question;
  for (QDialog* dialog : {static_cast<QDialog*>(&message), static_cast<QDialog*>(&question)}) {
    const QRegion mask = dialog->mask();
    EXPECT_FALSE(mask.contains(QPoint(10, 10)));           // margin
    EXPECT_FALSE(mask.contains(QPoint(700, 500)));         // margin
    EXPECT_TRUE(mask.contains(QRect(65, 159, 605, 274)));  // the whole message box
  }
}

TEST(Dialogs, WithoutAMainWindowTheDialogStillOpensAndAnswers) {
  ::fp = nullptr;
  TFmessage dialog;
  QTimer::singleShot(0, &dialog, [&] { CloseBy(dialog, Close::Sim); });
  EXPECT_TRUE(dialog.MsgPadrao(QStringLiteral("x"), true));
}

TEST(Dialogs, RichTextHandsTheFocusBackToTheDialog) {
  TFmessage dialog;
  QWidget* focused = nullptr;
  QTimer::singleShot(0, &dialog, [&] {
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.RichText()->setFocus();
    focused = QApplication::focusWidget();
    dialog.done(mrOk);
  });
  dialog.MsgPadrao(QStringLiteral("texto"), false, QString());
  EXPECT_EQ(focused, &dialog);
}

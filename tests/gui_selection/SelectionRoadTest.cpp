// The road from the welcome screen to the confirmation, in the whole program
// on a demo world with the maker's server on loopback.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "app/Fmessage.h"
#include "app/Globals.h"
#include "app/ProgramEntry.h"
#include "app/ServerSettings.h"
#include "app/UAPI.h"
#include "app/fp.h"
#include "catalogue/DataModule.h"
#include "catalogue/FCliEntry.h"
#include "catalogue/FSModel.h"
#include "catalogue/FWCmsg.h"
#include "catalogue/FsTsystem.h"
#include "catalogue/TvsGetRadical.h"
#include "catalogue/acceptcontract.h"
#include "platform/Platform.h"
#include "report/Rel.h"
#include "sim/DemoState.h"
#include "sim/DemoWorld.h"

namespace {

class SelectionRoadTest : public testing::Test {
 protected:
  void SetUp() override {
    sim::DemoWorldOptions options;
    options.fontsSource = SOLVANTA_FONTS_DIR;
    auto created = sim::DemoWorld::Create(options);
    ASSERT_TRUE(created) << created.error();
    world_ = std::move(*created);
    auto state = sim::WriteDemoState(*world_, QStringLiteral("/bin/true"));
    ASSERT_TRUE(state) << state.error().toStdString();
    statePath_ = state->toStdString();
    ServerSettings::SetMakerBaseUrl(world_->ServerUrl());
    Start();
  }

  void TearDown() override {
    DestroyProgramObjects();
    platform::SetCurrent({});
  }

  void Start() {
    platform::PlatformOptions options;
    options.name = "sim";
    options.simStatePath = statePath_;
    platform::SetCurrent(platform::CreatePlatform(options));
    CreateProgramObjects();
    // Screens run their show handlers only inside a shown main window.
    fp->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(fp));
    fp->Fs.ShowScreen(fp->panelStage(), FWCmsg);
  }

  void Restart() {
    DestroyProgramObjects();
    Start();
  }

  // Closes the message dialog with `answer` once it shows; its text lands in
  // `message_`.
  void AnswerWhenShown(int answer) {
    auto* timer = new QTimer(fp);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, fp, [this, timer, answer] {
      if (!Fmessage->isVisible())
        return;
      message_ = Fmessage->findChild<QLabel*>(QStringLiteral("mensagem"))->text();
      timer->stop();
      Fmessage->done(answer);
    });
    timer->start();
  }

  template <typename T>
  T* Child(QWidget* screen, const char* name) {
    return screen->findChild<T*>(QString::fromLatin1(name));
  }

  // Confirms the device on the confirmation screen. The confirmation hands
  // over to the recovery flow, whose roads other tests walk: the run is
  // closed as soon as the flow opens its first screen.
  void ConfirmAndStopTheFlow() {
    QTimer::singleShot(0, fp, [] { UAPI->FecharSistema(); });
    acceptcontract->avancarClick();
    EXPECT_TRUE(UAPI->Terminating());
  }

  // Welcome and identification, as a first-time user passes them.
  void Identify() {
    FWCmsg->avancarClick();
    ASSERT_EQ(fp->Fs.atual, FCliEntry);
    Child<QLineEdit>(FCliEntry, "cpf")->setText(QStringLiteral("52998224725"));
    Child<QLineEdit>(FCliEntry, "nome")->setText(QStringLiteral("Maria Souza"));
    Child<QLineEdit>(FCliEntry, "telefone")->setText(QStringLiteral("11987654321"));
    Child<QLineEdit>(FCliEntry, "email")->setText(QStringLiteral("maria@exemplo.com"));
    FCliEntry->avancarClick();
    ASSERT_EQ(fp->Fs.atual, FsTsystem);
  }

  bool WaitForScreen(QWidget* screen) {
    return QTest::qWaitFor([screen] { return fp->Fs.atual == screen; }, 10000);
  }

  QList<qint64> TvIdsAbove999() {
    QList<qint64> ids;
    TADOQuery q(dm->adoConnBase, QStringLiteral("select id from devices where id>999 order by id"));
    q.Open();
    for (q.First(); !q.Eof(); q.Next())
      ids << q.FieldValue(QStringLiteral("id")).toLongLong();
    return ids;
  }

  std::unique_ptr<sim::DemoWorld> world_;
  std::string statePath_;
  QString message_;
};

TEST_F(SelectionRoadTest, IdentificationIsAskedOnlyOncePerUser) {
  Identify();
  Restart();
  FWCmsg->avancarClick();
  EXPECT_EQ(fp->Fs.atual, FsTsystem);
  EXPECT_EQ(UAPI->ItemclientCpf(), QStringLiteral("52998224725"));
  EXPECT_EQ(UAPI->ItemclientName(), QStringLiteral("Maria Souza"));
  EXPECT_EQ(UAPI->ItemClientTelefone(), QStringLiteral("11987654321"));
  EXPECT_EQ(UAPI->ItemClientEmail(), QStringLiteral("maria@exemplo.com"));
}

TEST_F(SelectionRoadTest, MalformedEmailIsRefusedAndNothingStored) {
  FWCmsg->avancarClick();
  Child<QLineEdit>(FCliEntry, "cpf")->setText(QStringLiteral("52998224725"));
  Child<QLineEdit>(FCliEntry, "email")->setText(QStringLiteral("a@abcd"));
  AnswerWhenShown(mrOk);
  FCliEntry->avancarClick();
  EXPECT_EQ(message_, QStringLiteral("Email em formato incorreto, favor verificar"));
  EXPECT_EQ(fp->Fs.atual, FCliEntry);
  EXPECT_FALSE(UAPI->GetIsCpfDone());
}

TEST_F(SelectionRoadTest, CpfMovesOnAfterTheEleventhDigitAndTakesATwelfthLater) {
  FWCmsg->avancarClick();
  auto* cpf = Child<QLineEdit>(FCliEntry, "cpf");
  auto* nome = Child<QLineEdit>(FCliEntry, "nome");
  QApplication::setActiveWindow(fp);
  cpf->setFocus();
  QTest::keyClicks(cpf, QStringLiteral("529a98224725"));
  EXPECT_EQ(cpf->text(), QStringLiteral("52998224725"));
  EXPECT_TRUE(nome->hasFocus());
  EXPECT_TRUE(nome->text().isEmpty());
  cpf->setFocus();
  QTest::keyClicks(cpf, QStringLiteral("12"));
  EXPECT_EQ(cpf->text(), QStringLiteral("529982247251"));
  cpf->clear();
  QTest::keyClick(cpf, Qt::Key_Return);
  EXPECT_TRUE(nome->hasFocus());
}

TEST_F(SelectionRoadTest, ModelListLeavesOutTheUnlistedDeviceAndConfirmationCopiesTheRow) {
  Identify();
  FsTsystem->Image2Click();  // tablets
  ASSERT_EQ(fp->Fs.atual, FSModel);
  QStringList captions;
  for (int i = 0; i < FSModel->Liview()->count(); ++i)
    captions << FSModel->Liview()->item(i)->text();
  EXPECT_EQ(captions,
            (QStringList{"Tablet Solvanta T10 Pro", "Tablet Solvanta T7", "Tablet Solvanta T8"}));
  EXPECT_TRUE(QTest::qWaitFor([] { return FSModel->Liview()->PendingPictures() == 0; }, 5000));

  FSModel->LiviewClick(FSModel->Liview()->item(0));
  ASSERT_EQ(fp->Fs.atual, acceptcontract);
  EXPECT_EQ(Child<QLabel>(acceptcontract, "modelo")->text(),
            QStringLiteral("Modelo: Tablet Solvanta T10 Pro"));
  EXPECT_TRUE(QTest::qWaitFor([] { return acceptcontract->PictureLoaded(); }, 5000));
  EXPECT_FALSE(Child<QLabel>(acceptcontract, "ImgDispositivo")->pixmap().isNull());

  AnswerWhenShown(mrOk);
  acceptcontract->avancarClick();
  EXPECT_EQ(message_, QStringLiteral("É necessário aceitar os termos antes de continuar."));
  EXPECT_TRUE(UAPI->ItemModelo.isEmpty());

  Child<QCheckBox>(acceptcontract, "CheckBox1")->setChecked(true);
  ConfirmAndStopTheFlow();
  EXPECT_EQ(UAPI->ItemModelo, QStringLiteral("Tablet Solvanta T10 Pro"));
  EXPECT_EQ(UAPI->ItemChipset, QStringLiteral("Rockchip"));
  EXPECT_EQ(UAPI->ItemnomeImg, UAPI->FImgDir + QStringLiteral("t10pro.jpg"));
  EXPECT_EQ(UAPI->ItemIsoPlace, UAPI->FisoDir + QStringLiteral("t10pro_rk3326"));
  EXPECT_TRUE(
      Rel->logs().log.contains(QStringLiteral("Dispositivo Escolhido - Tablet Solvanta T10 Pro")));

  // The feature phone has no chipset word: the last one stays.
  UAPI->ReturnBegining(acceptcontract);
  FsTsystem->Image1Click();
  auto* radical = Child<QLineEdit>(FSModel, "radical");
  radical->setText(QStringLiteral("FLP"));
  FSModel->radicalEnter();
  EXPECT_EQ(fp->Fs.atual, FSModel);
  radical->setText(QStringLiteral("SN190321FLP20"));
  FSModel->radicalEnter();
  ASSERT_EQ(fp->Fs.atual, acceptcontract);
  Child<QCheckBox>(acceptcontract, "CheckBox1")->setChecked(true);
  ConfirmAndStopTheFlow();
  EXPECT_EQ(UAPI->ItemModelo, QStringLiteral("Celular Solvanta Flip 2"));
  EXPECT_EQ(UAPI->ItemBurnMode, 5);
  EXPECT_EQ(UAPI->ItemChipset, QStringLiteral("Rockchip"));
}

TEST_F(SelectionRoadTest, TvUpdateLoadsReleasedModelsAndTheTvCodeMustMatch) {
  Identify();
  FsTsystem->Image3Click();
  ASSERT_TRUE(WaitForScreen(TvsGetRadical));
  EXPECT_EQ(TvIdsAbove999(), (QList<qint64>{1001, 1002}));
  EXPECT_TRUE(dm->devices.Locate(QStringLiteral("id"), 1001));  // the selection was re-read

  auto* radical = Child<QLineEdit>(TvsGetRadical, "radical");
  radical->setText(QStringLiteral("43U"));
  TvsGetRadical->BtnAvancarClick();
  EXPECT_EQ(fp->Fs.atual, TvsGetRadical);
  radical->setText(QStringLiteral("SN43UH1"));
  AnswerWhenShown(mrOk);
  TvsGetRadical->BtnAvancarClick();
  EXPECT_EQ(message_, QStringLiteral("Radical não encontrado."));
  radical->setText(QStringLiteral("43UH1"));
  TvsGetRadical->BtnAvancarClick();
  ASSERT_EQ(fp->Fs.atual, acceptcontract);
  EXPECT_EQ(Child<QLabel>(acceptcontract, "modelo")->text(),
            QStringLiteral("Modelo: Smart TV Solvanta 43' 4K"));
}

TEST_F(SelectionRoadTest, ServiceDownKeepsTheTvRowsAndAsksWhetherToGoOn) {
  Identify();
  FsTsystem->Image3Click();
  ASSERT_TRUE(WaitForScreen(TvsGetRadical));
  world_->Server().SetSoapFault("UpdateDbTvs", sim::SoapFault{"SOAP-ENV:Server", "fora do ar"});
  UAPI->ReturnBegining(TvsGetRadical);
  AnswerWhenShown(mrYes);
  FsTsystem->Image3Click();
  ASSERT_TRUE(WaitForScreen(TvsGetRadical));
  EXPECT_EQ(
      message_,
      QStringLiteral("Atenção, não foi possível atualizar, gostaria de continuar assim mesmo ?"));
  EXPECT_EQ(TvIdsAbove999(), (QList<qint64>{1001, 1002}));
}

}  // namespace

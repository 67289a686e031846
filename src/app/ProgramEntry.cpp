#include "app/ProgramEntry.h"

#include <QLabel>
#include <functional>
#include <vector>

#include "app/FBNB.h"
#include "app/Fmessage.h"
#include "app/Globals.h"
#include "app/SystemDone.h"
#include "app/UAPI.h"
#include "app/fp.h"
#include "app/msgSimNao.h"
#include "catalogue/DataModule.h"
#include "drivers/DrvInstall.h"
#include "rewrite/uClassDeviceChanges.h"

Tfp* fp = nullptr;
Tdm* dm = nullptr;
TUAPI* UAPI = nullptr;
TFmessage* Fmessage = nullptr;
TSystemDone* SystemDone = nullptr;
TFBNB* FBNB = nullptr;
TmsgSimNao* msgSimNao = nullptr;
TDrvInstall* DrvInstall = nullptr;
TClassDeviceChanges* ClassDeviceChanges = nullptr;

namespace {

struct Slot {
  std::function<void()> create;
  std::function<void()> destroy;
};

template <typename T>
Slot slot(T*& instance) {
  return {[&instance] { instance = new T; },
          [&instance] {
            delete instance;
            instance = nullptr;
          }};
}

// The order of creation. The application object's start-up relies on the
// main window and the data module existing already, and on nothing created
// after it; the screens still to be built take their places in this table.
std::vector<Slot> creationOrder() {
  return {
      slot(fp),          // Tfp
      slot(dm),          // Tdm
      slot(UAPI),        // TUAPI
      slot(DrvInstall),  // TDrvInstall
      slot(Fmessage),    // TFmessage
      slot(SystemDone),  // TSystemDone
      slot(FBNB),        // TFBNB
      slot(msgSimNao),   // TmsgSimNao
      slot(ClassDeviceChanges),  // TClassDeviceChanges
  };
}

// The main window's first show starts the run; later shows do nothing.
bool fpShown = false;

}  // namespace

void CreateProgramObjects() {
  for (const Slot& s : creationOrder()) s.create();
  fpShown = false;

  QObject::connect(fp, &Tfp::closeRequested, UAPI, [] { UAPI->FecharSistema(); });
  QObject::connect(fp, &Tfp::homologacaoRequested, UAPI, [] { UAPI->DoHomologacao(); });
  QObject::connect(fp, &Tfp::shown, UAPI, [] {
    if (!std::exchange(fpShown, true)) FpFormShow();
  });
}

void DestroyProgramObjects() {
  auto order = creationOrder();
  for (auto it = order.rbegin(); it != order.rend(); ++it) it->destroy();
}

void FpFormShow() {
  // A database that could not be opened ends the run with its message; the
  // dialogs exist only now, and the close needs the running message loop.
  if (!dm->OpenFailure().isEmpty()) {
    QMetaObject::invokeMethod(
        UAPI,
        [] {
          UAPI->MsgPadrao(dm->OpenFailure(), false);
          UAPI->FecharSistema();
        },
        Qt::QueuedConnection);
    return;
  }
  fp->Windows()->setText(UAPI->FOSInfo);
  fp->cpu()->setText(QStringLiteral("CPU: ") + UAPI->InfoCpu);
  fp->memoria()->setText(QStringLiteral("Memória: ") + UAPI->InfoMemoria + QStringLiteral(" MB"));
  fp->disk()->setText(QStringLiteral("Cap do Disco : ") + UAPI->InfoDiscoCapacidade +
                      QStringLiteral(" GB"));
  fp->diskfree()->setText(QStringLiteral("Disco livre: ") + UAPI->InfoDiscoFree +
                          QStringLiteral(" GB"));
  fp->versao()->setText(UAPI->FExecVersion);
  // The self-update screen takes the stage first once it exists; until then
  // the waiting screen holds it.
  fp->Fs.ShowScreen(fp->panelStage(), FBNB);
}

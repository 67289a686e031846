#include "app/ProgramEntry.h"

#include <QLabel>
#include <QLocale>
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
#include "catalogue/FCliEntry.h"
#include "catalogue/FSModel.h"
#include "catalogue/FWCmsg.h"
#include "catalogue/FsTsystem.h"
#include "catalogue/TvsGetRadical.h"
#include "catalogue/acceptcontract.h"
#include "download/UformCacheImg.h"
#include "download/uDownloadMultipart.h"
#include "download/uFormDescompactaFirmwares.h"
#include "download/uFormDownloadFirmware.h"
#include "download/uFormdownloadextractgeral.h"
#include "drivers/DrvInstall.h"
#include "platform/Platform.h"
#include "report/Ptr.h"
#include "report/Rel.h"
#include "rewrite/FallDone.h"
#include "rewrite/uClassDeviceChanges.h"
#include "service/Tvs_update.h"
#include "service/UpdateSystem.h"

Tfp* fp = nullptr;
Tdm* dm = nullptr;
TUAPI* UAPI = nullptr;
TRel* Rel = nullptr;
TPtr* Ptr = nullptr;
TFmessage* Fmessage = nullptr;
TSystemDone* SystemDone = nullptr;
TFBNB* FBNB = nullptr;
TmsgSimNao* msgSimNao = nullptr;
TDrvInstall* DrvInstall = nullptr;
TClassDeviceChanges* ClassDeviceChanges = nullptr;
TImg* Img = nullptr;
TUpdateSystem* UpdateSystem = nullptr;
TFSModel* FSModel = nullptr;
TFWCmsg* FWCmsg = nullptr;
Tacceptcontract* acceptcontract = nullptr;
TFCliEntry* FCliEntry = nullptr;
TFsTsystem* FsTsystem = nullptr;
TTvsGetRadical* TvsGetRadical = nullptr;
TTvs_update* Tvs_update = nullptr;
TDIso* DIso = nullptr;
TDownloadMultipart* DownloadMultipart = nullptr;
TExtFiles* ExtFiles = nullptr;
TIsoExp* IsoExp = nullptr;
TFallDone* FallDone = nullptr;

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
      slot(fp),                  // Tfp
      slot(FSModel),             // TFSModel
      slot(dm),                  // Tdm
      slot(UAPI),                // TUAPI
      slot(Rel),                 // TRel
      slot(Ptr),                 // TPtr
      slot(Img),                 // TImg
      slot(FWCmsg),              // TFWCmsg
      slot(acceptcontract),      // Tacceptcontract
      slot(DrvInstall),          // TDrvInstall
      slot(ExtFiles),            // TExtFiles
      slot(DIso),                // TDIso
      slot(Fmessage),            // TFmessage
      slot(FallDone),            // TFallDone
      slot(IsoExp),              // TIsoExp
      slot(FCliEntry),           // TFCliEntry
      slot(UpdateSystem),        // TUpdateSystem
      slot(SystemDone),          // TSystemDone
      slot(FBNB),                // TFBNB
      slot(FsTsystem),           // TFsTsystem
      slot(TvsGetRadical),       // TTvsGetRadical
      slot(Tvs_update),          // TTvs_update
      slot(msgSimNao),           // TmsgSimNao
      slot(ClassDeviceChanges),  // TClassDeviceChanges
      slot(DownloadMultipart),   // TDownloadMultipart
  };
}

// The main window's first show starts the run; later shows do nothing.
bool fpShown = false;

}  // namespace

void CreateProgramObjects() {
  // Numbers, sizes and dates in the user's locale (Brazilian Portuguese on
  // the simulated PC), whatever the process was started with.
  QLocale::setDefault(UserLocale(*platform::Current().environment));
  for (const Slot& s : creationOrder())
    s.create();
  fpShown = false;

  QObject::connect(fp, &Tfp::closeRequested, UAPI, [] { UAPI->FecharSistema(); });
  QObject::connect(fp, &Tfp::homologacaoRequested, UAPI, [] { UAPI->DoHomologacao(); });
  QObject::connect(fp, &Tfp::shown, UAPI, [] {
    if (!std::exchange(fpShown, true))
      FpFormShow();
  });
}

void DestroyProgramObjects() {
  auto order = creationOrder();
  for (auto it = order.rbegin(); it != order.rend(); ++it)
    it->destroy();
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
  Rel->inicializar();
  fp->Windows()->setText(UAPI->FOSInfo);
  fp->cpu()->setText(QStringLiteral("CPU: ") + UAPI->InfoCpu);
  fp->memoria()->setText(QStringLiteral("Memória: ") + UAPI->InfoMemoria + QStringLiteral(" MB"));
  fp->disk()->setText(QStringLiteral("Cap do Disco : ") + UAPI->InfoDiscoCapacidade +
                      QStringLiteral(" GB"));
  fp->diskfree()->setText(QStringLiteral("Disco livre: ") + UAPI->InfoDiscoFree +
                          QStringLiteral(" GB"));
  fp->versao()->setText(UAPI->FExecVersion);
  fp->Fs.ShowScreen(fp->panelStage(), UpdateSystem);
}

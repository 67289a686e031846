#pragma once

// The program-wide references to the single instances of the screens and
// shared objects. Each is set once by the program entry, in the order of
// creation, and lives until the process ends.

class Tfp;
class Tdm;
class TUAPI;
class TRel;
class TPtr;
class TFmessage;
class TSystemDone;
class TFBNB;
class TmsgSimNao;
class TDrvInstall;
class TClassDeviceChanges;
class TImg;
class TUpdateSystem;
class TFSModel;
class TFWCmsg;
class Tacceptcontract;
class TFCliEntry;
class TFsTsystem;
class TTvsGetRadical;
class TTvs_update;
class TDIso;
class TDownloadMultipart;
class TExtFiles;
class TIsoExp;
class TFallDone;

extern Tfp* fp;
extern Tdm* dm;
extern TUAPI* UAPI;
extern TRel* Rel;
extern TPtr* Ptr;
extern TFmessage* Fmessage;
extern TSystemDone* SystemDone;
extern TFBNB* FBNB;
extern TmsgSimNao* msgSimNao;
extern TDrvInstall* DrvInstall;
extern TClassDeviceChanges* ClassDeviceChanges;
extern TImg* Img;
extern TUpdateSystem* UpdateSystem;
extern TFSModel* FSModel;
extern TFWCmsg* FWCmsg;
extern Tacceptcontract* acceptcontract;
extern TFCliEntry* FCliEntry;
extern TFsTsystem* FsTsystem;
extern TTvsGetRadical* TvsGetRadical;
extern TTvs_update* Tvs_update;
extern TDIso* DIso;
extern TDownloadMultipart* DownloadMultipart;
extern TExtFiles* ExtFiles;
extern TIsoExp* IsoExp;
extern TFallDone* FallDone;

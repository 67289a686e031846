#pragma once

// The program-wide references to the single instances of the screens and
// shared objects. Each is set once by the program entry, in the order of
// creation, and lives until the process ends.

class Tfp;
class Tdm;
class TUAPI;
class TFmessage;
class TSystemDone;
class TFBNB;
class TmsgSimNao;
class TDrvInstall;
class TClassDeviceChanges;

extern Tfp* fp;
extern Tdm* dm;
extern TUAPI* UAPI;
extern TFmessage* Fmessage;
extern TSystemDone* SystemDone;
extern TFBNB* FBNB;
extern TmsgSimNao* msgSimNao;
extern TDrvInstall* DrvInstall;
extern TClassDeviceChanges* ClassDeviceChanges;

#pragma once

#include <QDateTime>
#include <atomic>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "system/ArchiveSafety.h"
#include "system/RarLibrary.h"

// Raised by List, Extract and Test when the archive file does not exist.
class ERARAssertion : public std::logic_error {
 public:
  ERARAssertion() : std::logic_error("Assertion failure") {}
};

enum class TRAROperation { roInitArchive, roListFiles, roExtract, roTest };
enum class TRARReplace { rrCancel, rrOverwrite, rrSkip };

struct TRARProgressInfo {
  std::uint32_t FileBytesDone = 0;
  std::uint32_t FileBytesTotal = 0;
  std::wstring FileName;
  std::uint32_t TotalSize = 0;  // bytes unpacked by the running operation
};

struct TRARArchiveInformation {
  bool fOpened = false;
  std::string FileName;
  int ArchiverMajorVersion = 0;
  int ArchiverMinorVersion = 0;
  std::uint32_t DictionarySize = 0;
  bool Encryption = false;
  bool Solid = false;
  std::string HostOS;
  int TotalFiles = 0;
  std::uint64_t CompressedSize = 0;
  std::uint64_t UnCompressedSize = 0;
  bool HeaderEncrypted = false;
  bool MultiVolume = false;
  bool ArchiveComment = false;
  bool FileComment = false;
  std::string Comment;
  bool Signed = false;
  bool Locked = false;
  bool Recovery = false;
};

struct TRARFileItem {
  std::string FileName;
  std::wstring FileNameW;
  std::uint32_t CompressedSize = 0;
  std::uint32_t UnCompressedSize = 0;
  std::string HostOS;
  std::string CRC32;  // hexadecimal, upper-case digits
  std::uint32_t Attributes = 0;
  std::string Comment;
  QDateTime Time;
  int CompressionStrength = 0;
  int ArchiverVersion = 0;
  bool Encrypted = false;
};

struct TRARReplaceData {
  std::string FileName;
  std::int64_t Size = 0;
  QDateTime Time;
};

// The RAR archive reader: lists an archive, extracts it with progress per
// data block, and tests it, on the RAR decompression interface. Runs on the
// thread that calls it; Abort may come from any thread.
class TRAR {
 public:
  TRAR();
  ~TRAR();
  TRAR(const TRAR&) = delete;
  TRAR& operator=(const TRAR&) = delete;

  bool LoadDLL();
  void UnloadDLL();
  bool isDLLLoaded() const { return RARDLLInstance; }
  int GetDllVersion();
  const std::string& DllName() const { return fDLLName; }
  static std::string Version() { return "1.2"; }

  bool OpenFile(const std::string& FileName);
  bool List();
  bool Extract(const std::string& Path, bool RestoreFolder, const std::vector<std::string>& Files);
  bool Test();
  void Abort() { fAbort = true; }

  const TRARArchiveInformation& ArchiveInformation() const { return fArchiveInformation; }
  const TRARProgressInfo& ProgressInfo() const { return fProgressInfo; }
  bool ReadMultiVolumeToEnd = false;
  std::string Password;
  archives::ArchiveLimits Limits;

  std::function<void(TRAR&, int ErrorCode, TRAROperation Operation)> OnError;
  std::function<void(TRAR&, const TRARFileItem& FileInformation)> OnListFile;
  std::function<void(TRAR&, bool HeaderPassword, const std::string& FileName,
                     std::string& NewPassword, bool& Cancel)>
      OnPasswordRequired;
  std::function<void(TRAR&, const std::string& requiredFileName, std::string& newFileName,
                     bool& Cancel)>
      OnNextVolumeRequired;
  std::function<void(TRAR&, const std::wstring& FileName, std::uint32_t ArchiveBytesTotal,
                     std::uint32_t ArchiveBytesDone, std::uint32_t FileBytesTotal,
                     std::uint32_t FileBytesDone)>
      OnProgress;
  std::function<void(TRAR&, const TRARReplaceData& ExistingData, const TRARReplaceData& NewData,
                     TRARReplace& Action)>
      OnReplace;

 private:
  // Opens the archive for `operation`; null after reporting when it fails.
  archives::unrar::ArchiveHandle Open(unsigned mode, TRAROperation operation);
  bool Close(archives::unrar::ArchiveHandle& handle, TRAROperation operation);
  void Report(int code, TRAROperation operation);
  int Callback(unsigned msg, std::string& p1, std::int64_t p2);
  void Account(const archives::unrar::RARHeaderDataEx& header);
  // The entries loop of Extract and Test.
  bool Process(bool test, const std::string& path, bool restoreFolder,
               const std::vector<std::string>& files);

  bool RARDLLInstance = false;
  std::atomic<bool> fAbort{false};
  TRARProgressInfo fProgressInfo;
  std::uint64_t fPackedSizeMVVolume = 0;
  std::vector<char> Comment;
  TRARArchiveInformation fArchiveInformation;
  archives::unrar::RAROpenArchiveDataEx ArchiveData;
  archives::unrar::RARHeaderDataEx hdrData;
  std::string fDLLName;
};

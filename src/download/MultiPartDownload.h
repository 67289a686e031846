#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace download {

// Outcome of a part or of the whole transfer, with the component's numbering.
enum TProcessStatus : int {
  psUnknown = 0,
  psSuccess = 1,
  psFailed = 2,
  psErrors = 3,
  psProcess = 4,
  psTerminated = 5,
};

// One part of the resource: its first byte, its length and how much of it is
// already in the local file.
struct TResourceStateItem {
  std::int64_t ResourcePos = 0;
  std::int64_t BytesToProceed = 0;
  std::int64_t BytesProceed = 0;
  TProcessStatus LastStatus = psUnknown;

  std::int64_t NextByte() const { return ResourcePos + BytesProceed; }
};

// The resource's identity as the server last described it; a resumed state is
// used only while the server still describes the resource the same way.
struct TResourceValidator {
  std::string ETag;
  std::string LastModified;
};

// Everything a state file records, taken at one instant.
struct TResourceSnapshot {
  std::int64_t ResourceSize = 0;
  TResourceValidator Validator;
  std::vector<TResourceStateItem> Items;
};

// The resumable state of a transfer: the parts and the list-wide values. The
// worker threads update the counters while the owner reads them; every
// operation is thread-safe.
class TResourceState {
 public:
  std::int64_t ResourceSize() const;
  void SetResourceSize(std::int64_t size);
  TResourceValidator Validator() const;
  void SetValidator(TResourceValidator validator);

  int Count() const;
  TResourceStateItem Item(int index) const;  // an empty item when out of range
  std::vector<TResourceStateItem> Items() const;
  void SetItem(int index, const TResourceStateItem& item);
  void Clear();
  int Add();  // appends an empty item; returns its index
  TResourceSnapshot Snapshot() const;
  void Assign(const TResourceSnapshot& snapshot);

  std::int64_t BytesProceed() const;          // over all items
  double Speed() const;                       // bytes per second of the current run
  double RemainingTime() const;               // seconds; 0 without a size or a speed
  TProcessStatus LastStatus() const;          // by the precedence of the items' statuses
  void SetLastStatus(TProcessStatus status);  // the list's own status

 private:
  friend class TMultiPartDownloader;
  struct Slot {
    std::int64_t pos = 0;
    std::atomic<std::int64_t> toProceed{0};
    std::atomic<std::int64_t> proceed{0};
    std::atomic<int> status{psUnknown};
  };
  Slot* SlotAt(int index) const;
  void StartRun();

  mutable std::mutex mutex_;
  std::vector<std::unique_ptr<Slot>> slots_;
  std::atomic<std::int64_t> size_{0};
  std::atomic<int> ownStatus_{psUnknown};
  TResourceValidator validator_;
  std::atomic<std::int64_t> transferred_{0};  // bytes written in the current run
  std::chrono::steady_clock::time_point runStart_{};
};

// Downloads one HTTP or HTTPS resource into one local file over `ThreadCount`
// parallel connections, each writing its part at its own offset. `Start`
// returns at once; the transfer runs on worker threads until it ends or `Stop`
// is called. A state that already holds items is resumed part by part, once
// the server's size and validator confirm it still describes the resource.
class TMultiPartDownloader {
 public:
  TMultiPartDownloader();
  ~TMultiPartDownloader();  // stops a running transfer
  TMultiPartDownloader(const TMultiPartDownloader&) = delete;
  TMultiPartDownloader& operator=(const TMultiPartDownloader&) = delete;

  // Settings; change them only while no transfer runs.
  std::string URL;
  std::string LocalFile;
  int ThreadCount = 1;
  int TryCount = 5;  // attempts of a connection that makes no progress
  int Port = 0;      // 0: the URL's port, or its scheme's default
  std::string UserName;
  std::string Password;
  std::string CaBundle;  // CA file for HTTPS; empty: the system's
  std::chrono::milliseconds RetryDelay{500};
  std::chrono::seconds StallTimeout{30};  // a connection silent this long is retried

  void Start();
  void Stop();  // waits for the worker threads; the state keeps what was done
  bool Running() const;

  TResourceState& ResourceState() { return state_; }
  const TResourceState& ResourceState() const { return state_; }

  // A copy of the state whose counters are all on disk: the counters are read
  // first, then the local file is flushed, so nothing recorded is missing.
  TResourceSnapshot DurableState() const;

 private:
  struct Probe;
  struct PartRun;
  void Run();
  bool ProbeResource(Probe& probe);
  TProcessStatus RunPart(int index, int fd, bool sizeKnown);
  bool WaitRetry();
  bool ResumedStateMatches(const Probe& probe) const;
  void SetupRequest(void* curl) const;

  TResourceState state_;
  std::thread controller_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> running_{false};
  mutable std::mutex waitMutex_;
  std::condition_variable waitCv_;
};

}  // namespace download

#include "download/MultiPartDownload.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <optional>
#include <string_view>

namespace download {

namespace {

constexpr long kBufferSize = 256 * 1024;
constexpr const char* kUserAgent = "AssistenteSolvanta";

using Curl = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;
using Headers = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
    s.remove_prefix(1);
  while (!s.empty() &&
         (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
    s.remove_suffix(1);
  return s;
}

std::optional<std::int64_t> ParseInt(std::string_view s) {
  s = Trim(s);
  std::int64_t value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc() || end != s.data() + s.size() || value < 0)
    return std::nullopt;
  return value;
}

// "bytes first-last/total" or "bytes */total"; -1 for what is absent or "*".
struct ContentRange {
  std::int64_t first = -1;
  std::int64_t total = -1;
};

ContentRange ParseContentRange(std::string_view value) {
  ContentRange range;
  value = Trim(value);
  if (!value.starts_with("bytes "))
    return range;
  value.remove_prefix(6);
  const auto slash = value.find('/');
  if (slash == std::string_view::npos)
    return range;
  range.total = ParseInt(value.substr(slash + 1)).value_or(-1);
  const auto spec = value.substr(0, slash);
  const auto dash = spec.find('-');
  if (dash != std::string_view::npos)
    range.first = ParseInt(spec.substr(0, dash)).value_or(-1);
  return range;
}

// The headers of the last response (a redirect's are dropped at the next status line).
struct ResponseHeaders {
  long status = 0;
  std::string contentRange;
  std::optional<std::int64_t> contentLength;
  TResourceValidator validator;
};

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

size_t OnHeader(char* data, size_t size, size_t count, void* context) {
  auto& headers = *static_cast<ResponseHeaders*>(context);
  const std::string_view line(data, size * count);
  if (line.starts_with("HTTP/")) {
    headers = {};
    const auto blank = line.find(' ');
    if (blank != std::string_view::npos) {
      headers.status = static_cast<long>(ParseInt(line.substr(blank + 1, 3)).value_or(0));
    }
    return size * count;
  }
  const auto colon = line.find(':');
  if (colon == std::string_view::npos)
    return size * count;
  const auto name = line.substr(0, colon);
  const auto value = Trim(line.substr(colon + 1));
  if (EqualsNoCase(name, "Content-Range")) {
    headers.contentRange = value;
  } else if (EqualsNoCase(name, "Content-Length")) {
    headers.contentLength = ParseInt(value);
  } else if (EqualsNoCase(name, "ETag")) {
    headers.validator.ETag = value;
  } else if (EqualsNoCase(name, "Last-Modified")) {
    headers.validator.LastModified = value;
  }
  return size * count;
}

int OnProgress(void* context, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<std::atomic<bool>*>(context)->load() ? 1 : 0;
}

bool WriteAll(int fd, const char* data, std::int64_t length, std::int64_t offset) {
  while (length > 0) {
    const ssize_t written = ::pwrite(fd, data, static_cast<size_t>(length), offset);
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      return false;
    data += written;
    length -= written;
    offset += written;
  }
  return true;
}

void GlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

// --- resource state

TResourceState::Slot* TResourceState::SlotAt(int index) const {
  std::lock_guard lock(mutex_);
  if (index < 0 || index >= static_cast<int>(slots_.size()))
    return nullptr;
  return slots_[static_cast<size_t>(index)].get();
}

std::int64_t TResourceState::ResourceSize() const {
  return size_;
}
void TResourceState::SetResourceSize(std::int64_t size) {
  size_ = size;
}

TResourceValidator TResourceState::Validator() const {
  std::lock_guard lock(mutex_);
  return validator_;
}

void TResourceState::SetValidator(TResourceValidator validator) {
  std::lock_guard lock(mutex_);
  validator_ = std::move(validator);
}

int TResourceState::Count() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(slots_.size());
}

TResourceStateItem TResourceState::Item(int index) const {
  const Slot* slot = SlotAt(index);
  if (!slot)
    return {};
  return {slot->pos, slot->toProceed, slot->proceed,
          static_cast<TProcessStatus>(slot->status.load())};
}

std::vector<TResourceStateItem> TResourceState::Items() const {
  std::lock_guard lock(mutex_);
  std::vector<TResourceStateItem> items;
  for (const auto& slot : slots_) {
    items.push_back({slot->pos, slot->toProceed, slot->proceed,
                     static_cast<TProcessStatus>(slot->status.load())});
  }
  return items;
}

void TResourceState::SetItem(int index, const TResourceStateItem& item) {
  std::lock_guard lock(mutex_);
  if (index < 0 || index >= static_cast<int>(slots_.size()))
    return;
  Slot& slot = *slots_[static_cast<size_t>(index)];
  slot.pos = item.ResourcePos;
  slot.toProceed = item.BytesToProceed;
  slot.proceed = item.BytesProceed;
  slot.status = item.LastStatus;
}

void TResourceState::Clear() {
  std::lock_guard lock(mutex_);
  slots_.clear();
}

int TResourceState::Add() {
  std::lock_guard lock(mutex_);
  slots_.push_back(std::make_unique<Slot>());
  return static_cast<int>(slots_.size()) - 1;
}

TResourceSnapshot TResourceState::Snapshot() const {
  std::lock_guard lock(mutex_);
  TResourceSnapshot snapshot{size_, validator_, {}};
  for (const auto& slot : slots_) {
    snapshot.Items.push_back({slot->pos, slot->toProceed, slot->proceed,
                              static_cast<TProcessStatus>(slot->status.load())});
  }
  return snapshot;
}

void TResourceState::Assign(const TResourceSnapshot& snapshot) {
  std::lock_guard lock(mutex_);
  size_ = snapshot.ResourceSize;
  validator_ = snapshot.Validator;
  slots_.clear();
  for (const auto& item : snapshot.Items) {
    auto& slot = *slots_.emplace_back(std::make_unique<Slot>());
    slot.pos = item.ResourcePos;
    slot.toProceed = item.BytesToProceed;
    slot.proceed = item.BytesProceed;
    slot.status = item.LastStatus;
  }
}

std::int64_t TResourceState::BytesProceed() const {
  std::lock_guard lock(mutex_);
  std::int64_t sum = 0;
  for (const auto& slot : slots_)
    sum += slot->proceed;
  return sum;
}

double TResourceState::Speed() const {
  std::chrono::steady_clock::time_point start;
  {
    std::lock_guard lock(mutex_);
    start = runStart_;
  }
  if (start == std::chrono::steady_clock::time_point{})
    return 0;
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return seconds > 0 ? static_cast<double>(transferred_.load()) / seconds : 0;
}

double TResourceState::RemainingTime() const {
  const std::int64_t size = ResourceSize();
  const double speed = Speed();
  if (size <= 0 || speed <= 0)
    return 0;
  return static_cast<double>(std::max<std::int64_t>(0, size - BytesProceed())) / speed;
}

TProcessStatus TResourceState::LastStatus() const {
  std::lock_guard lock(mutex_);
  for (const TProcessStatus wanted : {psProcess, psTerminated, psFailed, psErrors}) {
    for (const auto& slot : slots_) {
      if (slot->status == wanted)
        return wanted;
    }
  }
  if (ownStatus_ != psUnknown)
    return static_cast<TProcessStatus>(ownStatus_.load());
  for (const auto& slot : slots_) {
    if (slot->status == psSuccess)
      return psSuccess;
  }
  return psUnknown;
}

void TResourceState::SetLastStatus(TProcessStatus status) {
  ownStatus_ = status;
}

void TResourceState::StartRun() {
  std::lock_guard lock(mutex_);
  transferred_ = 0;
  runStart_ = std::chrono::steady_clock::now();
  for (auto& slot : slots_)
    slot->status = psProcess;
  ownStatus_ = slots_.empty() ? psSuccess : psUnknown;
}

// --- the transfer

struct TMultiPartDownloader::Probe {
  std::int64_t size = -1;  // -1: the server gives no length
  bool rangesOk = false;
  TResourceValidator validator;
};

// What one connection of a part has seen so far.
struct TMultiPartDownloader::PartRun {
  TResourceState* state = nullptr;
  TResourceState::Slot* slot = nullptr;
  int fd = -1;
  bool sizeKnown = true;
  bool ranged = false;  // a Range header was sent
  std::int64_t from = 0;
  ResponseHeaders headers;
  bool started = false;
  bool rejected = false;  // the answer is not the part's bytes
  bool writeFailed = false;
  std::int64_t skip = 0;  // leading bytes of a whole-body answer before the part

  static size_t OnBody(char* data, size_t size, size_t count, void* context);
};

size_t TMultiPartDownloader::PartRun::OnBody(char* data, size_t size, size_t count, void* context) {
  auto& run = *static_cast<PartRun*>(context);
  auto& slot = *run.slot;
  const size_t total = size * count;
  if (!run.started) {
    run.started = true;
    if (run.headers.status == 206) {
      const ContentRange range = ParseContentRange(run.headers.contentRange);
      if (range.first != run.from) {
        run.rejected = true;
        return 0;
      }
      // A part that runs past the real end of the resource ends there.
      if (run.sizeKnown && range.total >= 0 && slot.pos + slot.toProceed > range.total) {
        slot.toProceed = std::max<std::int64_t>(slot.proceed, range.total - slot.pos);
      }
    } else if (run.headers.status == 200) {
      // The whole body: the part starts over at its own offset, rewriting
      // what it had, so a server that ignores ranges never causes an append.
      if (run.ranged) {
        slot.proceed = 0;
        run.skip = slot.pos;
      }
    } else {
      run.rejected = true;
      return 0;
    }
  }
  const char* p = data;
  std::int64_t n = static_cast<std::int64_t>(total);
  const std::int64_t skipped = std::min(run.skip, n);
  run.skip -= skipped;
  p += skipped;
  n -= skipped;
  while (n > 0) {
    const std::int64_t room = run.sizeKnown ? slot.toProceed - slot.proceed : n;
    if (room <= 0)
      return 0;  // the part is complete; the rest belongs to others
    const std::int64_t length = std::min(room, n);
    if (!WriteAll(run.fd, p, length, slot.pos + slot.proceed)) {
      run.writeFailed = true;
      return 0;
    }
    slot.proceed += length;
    run.state->transferred_ += length;
    p += length;
    n -= length;
  }
  return total;
}

TMultiPartDownloader::TMultiPartDownloader() {
  GlobalInit();
}

TMultiPartDownloader::~TMultiPartDownloader() {
  Stop();
}

void TMultiPartDownloader::Start() {
  if (running_)
    return;
  if (controller_.joinable())
    controller_.join();
  stop_ = false;
  running_ = true;
  state_.SetLastStatus(psProcess);
  controller_ = std::thread([this] { Run(); });
}

void TMultiPartDownloader::Stop() {
  {
    std::lock_guard lock(waitMutex_);
    stop_ = true;
  }
  waitCv_.notify_all();
  if (controller_.joinable())
    controller_.join();
}

bool TMultiPartDownloader::Running() const {
  return running_;
}

TResourceSnapshot TMultiPartDownloader::DurableState() const {
  auto snapshot = state_.Snapshot();
  const int fd = ::open(LocalFile.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 || ::fdatasync(fd) != 0) {
    for (auto& item : snapshot.Items)
      item.BytesProceed = 0;
  }
  if (fd >= 0)
    ::close(fd);
  return snapshot;
}

bool TMultiPartDownloader::WaitRetry() {
  std::unique_lock lock(waitMutex_);
  return !waitCv_.wait_for(lock, RetryDelay, [this] { return stop_.load(); });
}

void TMultiPartDownloader::SetupRequest(void* handle) const {
  CURL* curl = static_cast<CURL*>(handle);
  curl_easy_setopt(curl, CURLOPT_URL, URL.c_str());
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_USERAGENT, kUserAgent);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 30L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, static_cast<long>(StallTimeout.count()));
  curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, kBufferSize);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &OnProgress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(&stop_));
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &OnHeader);
  if (Port > 0)
    curl_easy_setopt(curl, CURLOPT_PORT, static_cast<long>(Port));
  if (!UserName.empty() || !Password.empty()) {
    curl_easy_setopt(curl, CURLOPT_USERNAME, UserName.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, Password.c_str());
  }
  if (!CaBundle.empty())
    curl_easy_setopt(curl, CURLOPT_CAINFO, CaBundle.c_str());
}

// One byte is asked for: the answer tells the size, whether ranges are
// honoured and the validators, without fetching the body.
bool TMultiPartDownloader::ProbeResource(Probe& probe) {
  for (int attempt = 0; attempt < std::max(1, TryCount); ++attempt) {
    if (attempt > 0 && !WaitRetry())
      return false;
    Curl curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl)
      continue;
    ResponseHeaders headers;
    SetupRequest(curl.get());
    curl_easy_setopt(curl.get(), CURLOPT_HEADERDATA, &headers);
    curl_easy_setopt(curl.get(), CURLOPT_RANGE, "0-0");
    curl_easy_setopt(
        curl.get(), CURLOPT_WRITEFUNCTION,
        +[](char*, size_t, size_t, void*) -> size_t { return 0; });
    const CURLcode code = curl_easy_perform(curl.get());
    if (stop_)
      return false;
    if (code != CURLE_OK && code != CURLE_WRITE_ERROR)
      continue;
    probe.validator = headers.validator;
    if (headers.status == 206) {
      probe.size = ParseContentRange(headers.contentRange).total;
      probe.rangesOk = true;
      return true;
    }
    if (headers.status == 200) {
      probe.size = headers.contentLength.value_or(-1);
      probe.rangesOk = false;
      return true;
    }
    if (headers.status == 416) {
      probe.size = std::max<std::int64_t>(0, ParseContentRange(headers.contentRange).total);
      probe.rangesOk = true;
      return true;
    }
  }
  return false;
}

bool TMultiPartDownloader::ResumedStateMatches(const Probe& probe) const {
  const std::int64_t size = state_.ResourceSize();
  if (size <= 0 || probe.size != size)
    return false;
  const TResourceValidator saved = state_.Validator();
  if (!saved.ETag.empty() && saved.ETag != probe.validator.ETag)
    return false;
  if (saved.ETag.empty() && !saved.LastModified.empty() &&
      saved.LastModified != probe.validator.LastModified) {
    return false;
  }
  auto items = state_.Items();
  std::sort(items.begin(), items.end(),
            [](const auto& a, const auto& b) { return a.ResourcePos < b.ResourcePos; });
  std::int64_t end = 0;
  for (const auto& item : items) {
    if (item.ResourcePos < end || item.BytesToProceed <= 0 || item.BytesProceed < 0 ||
        item.BytesProceed > item.BytesToProceed || item.NextByte() > size) {
      return false;
    }
    end = item.ResourcePos + item.BytesToProceed;
  }
  return true;
}

TProcessStatus TMultiPartDownloader::RunPart(int index, int fd, bool sizeKnown) {
  TResourceState::Slot* slot = state_.SlotAt(index);
  int idleAttempts = 0;
  for (;;) {
    if (stop_)
      return psTerminated;
    if (sizeKnown && slot->proceed >= slot->toProceed)
      return psSuccess;
    PartRun run;
    run.state = &state_;
    run.slot = slot;
    run.fd = fd;
    run.sizeKnown = sizeKnown;
    run.from = slot->pos + slot->proceed;
    run.ranged = sizeKnown;
    const std::int64_t before = slot->proceed;

    Curl curl(curl_easy_init(), &curl_easy_cleanup);
    CURLcode code = CURLE_FAILED_INIT;
    if (curl) {
      SetupRequest(curl.get());
      curl_easy_setopt(curl.get(), CURLOPT_HEADERDATA, &run.headers);
      curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, &PartRun::OnBody);
      curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &run);
      const std::string range =
          std::to_string(run.from) + "-" + std::to_string(slot->pos + slot->toProceed - 1);
      if (run.ranged)
        curl_easy_setopt(curl.get(), CURLOPT_RANGE, range.c_str());
      code = curl_easy_perform(curl.get());
    }
    if (stop_)
      return psTerminated;
    if (run.writeFailed)
      return psErrors;
    if (run.headers.status == 416 && sizeKnown) {
      // Nothing is left at or after the part's next byte: the part is complete.
      const ContentRange range = ParseContentRange(run.headers.contentRange);
      if (range.total >= 0 && run.from >= range.total) {
        slot->toProceed = slot->proceed.load();
        continue;
      }
    }
    const bool answered = !run.rejected && (run.headers.status == 200 || run.headers.status == 206);
    if (!sizeKnown && code == CURLE_OK && answered) {
      slot->toProceed = slot->proceed.load();
      state_.SetResourceSize(slot->proceed);
      return psSuccess;
    }
    if (sizeKnown && answered && slot->proceed >= slot->toProceed)
      continue;
    // A failed or short connection: try again from the next byte.
    if (slot->proceed > before)
      idleAttempts = 0;
    if (++idleAttempts >= std::max(1, TryCount))
      return psFailed;
    if (!sizeKnown)
      slot->proceed = 0;  // without a length there is nothing to resume from
    if (!WaitRetry())
      return psTerminated;
  }
}

void TMultiPartDownloader::Run() {
  Probe probe;
  if (!ProbeResource(probe)) {
    state_.SetLastStatus(stop_ ? psTerminated : psFailed);
    running_ = false;
    return;
  }
  const bool resume = state_.Count() > 0 && ResumedStateMatches(probe);
  // A fresh transfer truncates the file, so an older, longer file leaves no tail.
  const int fd =
      ::open(LocalFile.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (resume ? 0 : O_TRUNC), 0644);
  if (fd < 0) {
    state_.SetLastStatus(psErrors);
    running_ = false;
    return;
  }
  const bool sizeKnown = probe.size >= 0;
  // The new parts, size and validator replace the old ones in one step, so a
  // state saved meanwhile never pairs old counters with the new validator.
  TResourceSnapshot fresh{std::max<std::int64_t>(0, probe.size), probe.validator, {}};
  if (resume) {
    fresh.Items = state_.Items();
  } else if (probe.size > 0) {
    const std::int64_t parts =
        probe.rangesOk ? std::clamp<std::int64_t>(ThreadCount, 1, probe.size) : 1;
    const std::int64_t chunk = probe.size / parts;
    for (std::int64_t i = 0; i < parts; ++i) {
      const std::int64_t pos = i * chunk;
      fresh.Items.push_back({pos, i == parts - 1 ? probe.size - pos : chunk, 0});
    }
  } else if (!sizeKnown) {
    fresh.Items.push_back({});
  }
  state_.Assign(fresh);
  state_.StartRun();

  // The parts report their outcome only once the file is final, so a
  // success seen by the owner always means the whole resource is on disk.
  const int count = state_.Count();
  std::vector<TProcessStatus> outcomes(static_cast<size_t>(count), psUnknown);
  std::vector<std::thread> workers;
  for (int i = 0; i < count; ++i) {
    workers.emplace_back([this, i, fd, sizeKnown, &outcomes] {
      outcomes[static_cast<size_t>(i)] = RunPart(i, fd, sizeKnown);
    });
  }
  for (auto& worker : workers)
    worker.join();

  const bool complete = std::ranges::all_of(outcomes, [](auto s) { return s == psSuccess; });
  // The file ends where the resource ends.
  if (complete && ::ftruncate(fd, state_.ResourceSize()) != 0)
    state_.SetLastStatus(psErrors);
  ::close(fd);
  for (int i = 0; i < count; ++i)
    state_.SlotAt(i)->status = outcomes[static_cast<size_t>(i)];
  running_ = false;
}

}  // namespace download

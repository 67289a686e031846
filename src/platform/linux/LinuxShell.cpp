#include "platform/linux/LinuxShell.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "platform/Wql.h"
#include "platform/linux/Builtins.h"
#include "platform/linux/CommandLine.h"
#include "platform/linux/ProcFs.h"
#include "platform/linux/SystemFiles.h"

extern char** environ;

namespace platform {

namespace {

namespace fs = std::filesystem;

// Built-in processes get pids above every real one (the kernel's pid_max is
// at most 2^22).
constexpr std::int64_t kFirstBuiltinPid = std::int64_t{1} << 30;
constexpr std::uint32_t kKilledExitCode = 128 + SIGKILL;

// The pid of the built-in that runs on this thread, 0 on other threads.
thread_local std::int64_t tCurrentBuiltin = 0;

bool EndsWithIgnoreCase(const std::string& text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         EqualsIgnoreCase(text.substr(text.size() - suffix.size()), std::string(suffix));
}

std::string WithoutExe(const std::string& name) {
  return EndsWithIgnoreCase(name, ".exe") ? name.substr(0, name.size() - 4) : name;
}

std::string BuiltinKey(const std::string& file) {
  std::string key = WithoutExe(linux_files::FileNamePart(file));
  std::ranges::transform(key, key.begin(),
                         [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return key;
}

std::uint32_t ExitCodeOf(int status) {
  if (WIFEXITED(status)) {
    return static_cast<std::uint32_t>(WEXITSTATUS(status));
  }
  if (WIFSIGNALED(status)) {
    return 128 + static_cast<std::uint32_t>(WTERMSIG(status));
  }
  return 1;
}

bool IsRegularFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

// The file to run: `file` in `workingDir` (or the current folder), then the
// same without ".exe"; a bare name is also looked for along PATH.
std::optional<std::string> ResolveExecutable(const std::string& file,
                                             const std::string& workingDir) {
  std::vector<std::string> names{file};
  if (EndsWithIgnoreCase(file, ".exe")) {
    names.push_back(WithoutExe(file));
  }
  for (const std::string& name : names) {
    const fs::path path = fs::path(name).is_absolute() || workingDir.empty()
                              ? fs::path(name)
                              : fs::path(workingDir) / name;
    if (IsRegularFile(path)) {
      return path.string();
    }
  }
  const char* pathVariable = std::getenv("PATH");
  if (file.find('/') != std::string::npos || !pathVariable) {
    return std::nullopt;
  }
  std::string_view folders(pathVariable);
  while (!folders.empty()) {
    const std::size_t colon = folders.find(':');
    const std::string folder(folders.substr(0, colon));
    folders = colon == std::string_view::npos ? std::string_view{} : folders.substr(colon + 1);
    for (const std::string& name : names) {
      if (!folder.empty() && IsRegularFile(fs::path(folder) / name)) {
        return (fs::path(folder) / name).string();
      }
    }
  }
  return std::nullopt;
}

// A process the shell can end at once.
class Terminable {
 public:
  virtual ~Terminable() = default;
  virtual void Terminate() = 0;
};

}  // namespace

class BuiltinProcess;

struct LinuxShell::Core {
  Scope scope = Scope::Machine;
  Shell* front = nullptr;
  std::mutex mutex;
  std::condition_variable idle;
  std::map<std::string, Builtin> builtins;  // by BuiltinKey
  std::vector<std::shared_ptr<BuiltinProcess>> running;
  std::map<pid_t, std::int64_t> builtinParent;  // real child -> built-in that started it
  std::vector<pid_t> orphans;                   // live children whose handle is gone
  int threads = 0;
  std::int64_t nextBuiltinPid = kFirstBuiltinPid;

  void Forget(pid_t pid) {
    std::lock_guard lock(mutex);
    builtinParent.erase(pid);
  }
  void ReapOrphans() {
    std::vector<pid_t> ended;
    {
      std::lock_guard lock(mutex);
      std::erase_if(orphans, [&](pid_t pid) {
        int status = 0;
        const pid_t result = ::waitpid(pid, &status, WNOHANG);
        if (result == 0) {
          return false;
        }
        ended.push_back(pid);
        return true;
      });
    }
    for (pid_t pid : ended) {
      Forget(pid);
    }
  }
  void Remove(const BuiltinProcess* process);
};

namespace {

class RealProcess : public ChildProcess, public Terminable {
 public:
  RealProcess(std::shared_ptr<LinuxShell::Core> core, pid_t pid, int outputFd)
      : core_(std::move(core)), pid_(pid), outputFd_(outputFd) {}
  ~RealProcess() override {
    if (outputFd_ >= 0) {
      ::close(outputFd_);
    }
    if (!Poll()) {
      std::lock_guard lock(core_->mutex);
      core_->orphans.push_back(pid_);
    }
  }

  std::int64_t Pid() const override { return pid_; }
  std::uint32_t ExitCode() override { return Poll() ? exitCode_ : kStillActive; }
  bool WaitFor(std::chrono::milliseconds timeout) override {
    const auto end = std::chrono::steady_clock::now() + timeout;
    auto step = std::chrono::milliseconds(1);
    while (!Poll()) {
      const auto now = std::chrono::steady_clock::now();
      if (now >= end) {
        return false;
      }
      std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(step, end - now));
      step = std::min(step * 2, std::chrono::milliseconds(20));
    }
    return true;
  }
  std::string ReadOutput() override {
    std::lock_guard lock(mutex_);
    std::string text;
    char buffer[4096];
    while (outputFd_ >= 0) {
      const ssize_t count = ::read(outputFd_, buffer, sizeof buffer);
      if (count > 0) {
        text.append(buffer, static_cast<std::size_t>(count));
      } else if (count < 0 && errno == EINTR) {
        continue;
      } else {
        if (count == 0) {  // every writer closed its end
          ::close(outputFd_);
          outputFd_ = -1;
        }
        break;
      }
    }
    return text;
  }
  void Terminate() override {
    std::lock_guard lock(mutex_);
    if (!reaped_) {
      ::kill(pid_, SIGKILL);
    }
  }

 private:
  // Reaps the child when it has ended; true once it has.
  bool Poll() {
    {
      std::lock_guard lock(mutex_);
      if (reaped_) {
        return true;
      }
      int status = 0;
      const pid_t result = ::waitpid(pid_, &status, WNOHANG);
      if (result == 0) {
        return false;
      }
      reaped_ = true;
      exitCode_ = result == pid_ ? ExitCodeOf(status) : 1;
    }
    core_->Forget(pid_);
    return true;
  }

  std::shared_ptr<LinuxShell::Core> core_;
  const pid_t pid_;
  std::mutex mutex_;
  int outputFd_;
  bool reaped_ = false;
  std::uint32_t exitCode_ = kStillActive;
};

}  // namespace

class BuiltinProcess : public ChildProcess, public BuiltinContext, public Terminable {
 public:
  BuiltinProcess(std::shared_ptr<LinuxShell::Core> core, ProcessEntry entry,
                 std::vector<std::string> arguments, std::string workingDir, bool hidden,
                 bool capture)
      : core_(std::move(core)),
        entry_(std::move(entry)),
        arguments_(std::move(arguments)),
        workingDir_(std::move(workingDir)),
        hidden_(hidden),
        capture_(capture) {}

  const ProcessEntry& Entry() const { return entry_; }

  // ChildProcess
  std::int64_t Pid() const override { return entry_.pid; }
  std::uint32_t ExitCode() override {
    std::lock_guard lock(mutex_);
    return ended_ ? exitCode_ : kStillActive;
  }
  bool WaitFor(std::chrono::milliseconds timeout) override {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return ended_; });
  }
  std::string ReadOutput() override {
    std::lock_guard lock(mutex_);
    return std::exchange(output_, {});
  }

  // BuiltinContext
  const std::vector<std::string>& Arguments() const override { return arguments_; }
  const std::string& WorkingDir() const override { return workingDir_; }
  bool Hidden() const override { return hidden_; }
  void Output(std::string_view text) override {
    if (capture_) {
      std::lock_guard lock(mutex_);
      output_ += text;
    }
  }
  bool Killed() const override {
    std::lock_guard lock(mutex_);
    return killed_;
  }
  Shell& Through() override { return *core_->front; }
  std::optional<std::uint32_t> RunChild(const StartRequest& request) override {
    std::shared_ptr<ChildProcess> child = core_->front->Start(request);
    if (!child) {
      return std::nullopt;
    }
    bool killedMeanwhile = false;
    {
      std::lock_guard lock(mutex_);
      current_ = child;
      killedMeanwhile = killed_;
    }
    if (killedMeanwhile) {
      TerminateChild(*child);
    }
    while (!child->WaitFor(std::chrono::milliseconds(20))) {
      Output(child->ReadOutput());
    }
    Output(child->ReadOutput());
    std::lock_guard lock(mutex_);
    current_.reset();
    return child->ExitCode();
  }

  // Terminable: ends the process at once with its current child.
  void Terminate() override {
    std::shared_ptr<ChildProcess> child;
    {
      std::lock_guard lock(mutex_);
      if (ended_) {
        return;
      }
      killed_ = ended_ = true;
      exitCode_ = kKilledExitCode;
      child = current_;
    }
    changed_.notify_all();
    core_->Remove(this);
    if (child) {
      TerminateChild(*child);
    }
  }

  // The built-in returned.
  void Finish(std::uint32_t exitCode) {
    {
      std::lock_guard lock(mutex_);
      if (!ended_) {
        ended_ = true;
        exitCode_ = exitCode;
      }
    }
    changed_.notify_all();
  }

 private:
  static void TerminateChild(ChildProcess& child) {
    if (auto* terminable = dynamic_cast<Terminable*>(&child)) {
      terminable->Terminate();
    }
  }

  std::shared_ptr<LinuxShell::Core> core_;
  const ProcessEntry entry_;
  const std::vector<std::string> arguments_;
  const std::string workingDir_;
  const bool hidden_;
  const bool capture_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool ended_ = false;
  bool killed_ = false;
  std::uint32_t exitCode_ = kStillActive;
  std::string output_;
  std::shared_ptr<ChildProcess> current_;
};

void LinuxShell::Core::Remove(const BuiltinProcess* process) {
  std::lock_guard lock(mutex);
  std::erase_if(running, [&](const auto& p) { return p.get() == process; });
}

namespace {

std::shared_ptr<ChildProcess> StartBuiltin(const std::shared_ptr<LinuxShell::Core>& core,
                                           const Builtin& builtin, const std::string& imageName,
                                           const StartRequest& request) {
  std::string workingDir = request.workingDir;
  if (workingDir.empty()) {
    std::error_code error;
    workingDir = fs::current_path(error).string();
  }
  std::shared_ptr<BuiltinProcess> process;
  {
    std::lock_guard lock(core->mutex);
    const std::int64_t parent = tCurrentBuiltin != 0 ? tCurrentBuiltin : ::getpid();
    process = std::make_shared<BuiltinProcess>(
        core, ProcessEntry{core->nextBuiltinPid++, parent, imageName},
        SplitCommandLine(request.parameters), std::move(workingDir), request.hide,
        request.captureOutput);
    core->running.push_back(process);
    ++core->threads;
  }
  auto body = [core, process, builtin] {
    tCurrentBuiltin = process->Pid();
    std::uint32_t exitCode = 1;
    try {
      exitCode = builtin(*process);
    } catch (const std::exception& error) {
      process->Output(std::string(error.what()) + "\r\n");
    } catch (...) {
      process->Output("erro desconhecido\r\n");
    }
    process->Finish(exitCode);
    core->Remove(process.get());
    std::lock_guard lock(core->mutex);
    --core->threads;
    core->idle.notify_all();
  };
  try {
    std::thread(std::move(body)).detach();
  } catch (const std::system_error&) {
    core->Remove(process.get());
    std::lock_guard lock(core->mutex);
    --core->threads;
    return nullptr;
  }
  return process;
}

// Spawns `path` with argv[0] = `argv0`; the child's pid and the read end of
// its output pipe (-1 without capture), or nullopt.
std::optional<std::pair<pid_t, int>> Spawn(const std::string& path, const std::string& argv0,
                                           const StartRequest& request) {
  std::vector<std::string> arguments = SplitCommandLine(request.parameters);
  arguments.insert(arguments.begin(), argv0);
  std::vector<char*> argv;
  for (std::string& argument : arguments) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);

  int pipeFds[2] = {-1, -1};
  if (request.captureOutput && ::pipe2(pipeFds, O_CLOEXEC) != 0) {
    return std::nullopt;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  if (request.captureOutput) {
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
  }
  if (!request.workingDir.empty()) {
    posix_spawn_file_actions_addchdir_np(&actions, request.workingDir.c_str());
  }
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t signals;
  sigemptyset(&signals);
  posix_spawnattr_setsigmask(&attributes, &signals);
  sigfillset(&signals);
  posix_spawnattr_setsigdefault(&attributes, &signals);
  // A session of its own: the child outlives this program and its terminal.
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  pid_t pid = 0;
  const int error = ::posix_spawn(&pid, path.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (request.captureOutput) {
    ::close(pipeFds[1]);
    if (error == 0) {
      ::fcntl(pipeFds[0], F_SETFL, ::fcntl(pipeFds[0], F_GETFL) | O_NONBLOCK);
    } else {
      ::close(pipeFds[0]);
    }
  }
  if (error != 0) {
    return std::nullopt;
  }
  return std::make_pair(pid, pipeFds[0]);
}

}  // namespace

LinuxShell::LinuxShell(Scope scope, Shell* front) : core_(std::make_shared<Core>()) {
  core_->scope = scope;
  core_->front = front ? front : this;
  RegisterBuiltin("taskkill.exe", Taskkill);
}

LinuxShell::~LinuxShell() {
  StopBuiltins();
}

void LinuxShell::StopBuiltins() {
  std::vector<std::shared_ptr<BuiltinProcess>> running;
  {
    std::lock_guard lock(core_->mutex);
    running = core_->running;
  }
  for (const auto& process : running) {
    process->Terminate();
  }
  std::unique_lock lock(core_->mutex);
  core_->idle.wait(lock, [this] { return core_->threads == 0; });
}

void LinuxShell::RegisterBuiltin(const std::string& name, Builtin builtin) {
  std::lock_guard lock(core_->mutex);
  core_->builtins[BuiltinKey(name)] = std::move(builtin);
}

std::shared_ptr<ChildProcess> LinuxShell::Start(const StartRequest& request) {
  core_->ReapOrphans();
  if (request.file.empty()) {
    return nullptr;
  }
  const std::string imageName = linux_files::FileNamePart(request.file);
  std::optional<Builtin> builtin;
  {
    std::lock_guard lock(core_->mutex);
    if (const auto it = core_->builtins.find(BuiltinKey(request.file));
        it != core_->builtins.end()) {
      builtin = it->second;
    }
  }
  if (builtin) {
    return StartBuiltin(core_, *builtin, imageName, request);
  }
  if (EndsWithIgnoreCase(request.file, ".bat") || EndsWithIgnoreCase(request.file, ".cmd")) {
    fs::path path(request.file);
    if (!path.is_absolute() && !request.workingDir.empty()) {
      path = fs::path(request.workingDir) / path;
    }
    if (!IsRegularFile(path)) {
      return nullptr;
    }
    const std::string batch = fs::absolute(path).string();
    return StartBuiltin(
        core_, [batch](BuiltinContext& context) { return RunBatchFile(context, batch); }, imageName,
        request);
  }
  const auto path = ResolveExecutable(request.file, request.workingDir);
  if (!path) {
    return nullptr;
  }
  std::unique_lock lock(core_->mutex);  // so a kill never sees the child without its parent
  const auto spawned = Spawn(*path, request.file, request);
  if (!spawned) {
    return nullptr;
  }
  if (tCurrentBuiltin != 0) {
    core_->builtinParent[spawned->first] = tCurrentBuiltin;
  }
  lock.unlock();
  return std::make_shared<RealProcess>(core_, spawned->first, spawned->second);
}

std::vector<ProcessEntry> LinuxShell::Processes() {
  core_->ReapOrphans();
  std::vector<ProcessEntry> entries = ReadProcFs();
  if (core_->scope == Scope::Descendants) {
    std::set<std::int64_t> ours{::getpid()};
    for (bool grew = true; grew;) {
      grew = false;
      for (const ProcessEntry& entry : entries) {
        if (ours.contains(entry.parentPid) && ours.insert(entry.pid).second) {
          grew = true;
        }
      }
    }
    std::erase_if(entries, [&](const ProcessEntry& entry) {
      return entry.pid == ::getpid() || !ours.contains(entry.pid);
    });
  }
  std::lock_guard lock(core_->mutex);
  for (ProcessEntry& entry : entries) {
    if (const auto it = core_->builtinParent.find(static_cast<pid_t>(entry.pid));
        it != core_->builtinParent.end()) {
      entry.parentPid = it->second;
    }
  }
  for (const auto& process : core_->running) {
    entries.push_back(process->Entry());
  }
  return entries;
}

int LinuxShell::KillByImageName(const std::string& imageName, bool tree) {
  const std::vector<ProcessEntry> entries = Processes();
  std::set<std::int64_t> targets;
  for (const ProcessEntry& entry : entries) {
    if (SameImageName(entry.imageName, imageName)) {
      targets.insert(entry.pid);
    }
  }
  for (bool grew = tree; grew;) {
    grew = false;
    for (const ProcessEntry& entry : entries) {
      if (targets.contains(entry.parentPid) && targets.insert(entry.pid).second) {
        grew = true;
      }
    }
  }
  targets.erase(::getpid());
  targets.erase(tCurrentBuiltin);

  std::vector<std::shared_ptr<BuiltinProcess>> builtins;
  {
    std::lock_guard lock(core_->mutex);
    builtins = core_->running;
  }
  int killed = 0;
  for (const std::int64_t pid : targets) {
    if (pid >= kFirstBuiltinPid) {
      const auto it = std::ranges::find(builtins, pid, &BuiltinProcess::Pid);
      if (it != builtins.end()) {
        (*it)->Terminate();
        ++killed;
      }
    } else if (::kill(static_cast<pid_t>(pid), SIGKILL) == 0) {
      ++killed;
    }
  }
  return killed;
}

bool SameImageName(const std::string& a, const std::string& b) {
  return EqualsIgnoreCase(WithoutExe(a), WithoutExe(b));
}

}  // namespace platform

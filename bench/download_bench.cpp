// The multi-part downloader against curl and aria2c on loopback, all three
// fetching the same file from nginx (run by hand; needs nginx, curl, aria2c):
//   one part at full speed, against curl;
//   four parts from a server throttled to 20 MB/s per connection, against
//   aria2c with four connections.
// Prints throughput ratios; exits 1 when a ratio is below 0.9.
// Usage: download_bench [SIZE_MIB (2048)] [WORK_FOLDER (/tmp/solvanta-download-bench)]

#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "download/MultiPartDownload.h"
#include "download/UMPDownloader.h"

namespace fs = std::filesystem;

namespace {

int FreePort() {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(s);
  return ntohs(address.sin_port);
}

pid_t Spawn(const std::vector<std::string>& args) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    std::vector<char*> argv;
    for (const auto& a : args)
      argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const int devnull = ::open("/dev/null", O_WRONLY);
    ::dup2(devnull, 1);
    ::dup2(devnull, 2);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  return pid;
}

int Run(const std::vector<std::string>& args) {
  int status = 0;
  ::waitpid(Spawn(args), &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Seconds taken by `fetch`, which must leave a file of `size` bytes at `out`.
double Timed(const fs::path& out, std::uintmax_t size, const std::function<bool()>& fetch) {
  fs::remove(out);
  const auto start = std::chrono::steady_clock::now();
  const bool ok = fetch();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::error_code ec;
  if (!ok || fs::file_size(out, ec) != size) {
    std::fprintf(stderr, "download_bench: a transfer to %s failed\n", out.c_str());
    return -1;
  }
  fs::remove(out);
  return seconds;
}

bool Component(const std::string& url, const fs::path& out, int parts) {
  download::TMultiPartDownloader component;
  component.URL = url;
  component.LocalFile = out;
  component.ThreadCount = parts;
  component.Start();
  while (component.Running())
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  return component.ResourceState().LastStatus() == download::psSuccess;
}

// As the program runs it: polled every 200 ms, checkpointing its state file.
bool Polled(const std::string& url, const fs::path& out, const fs::path& stateFolder) {
  TUMPDownloader downloader(QString::fromStdString(stateFolder));
  downloader.SetDownload(QString::fromStdString(url), QString::fromStdString(out));
  QTimer timer;
  bool done = false;
  QObject::connect(&timer, &QTimer::timeout, &timer, [&] {
    if (downloader.GetStatusDownload()) {
      downloader.StopDownload(&timer);
      done = true;
    }
  });
  downloader.StarDownload(&timer);
  while (!done) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  return true;
}

double Best(int runs, const std::function<double()>& once) {
  double best = -1;
  for (int i = 0; i < runs; ++i) {
    const double s = once();
    if (s < 0)
      return -1;
    if (best < 0 || s < best)
      best = s;
  }
  return best;
}

bool Report(const char* what, double ours, const char* otherName, double other, double mib) {
  if (ours <= 0 || other <= 0) {
    std::printf("%-44s failed\n", what);
    return false;
  }
  const double ratio = other / ours;
  std::printf("%-44s %8.1f MiB/s   %-7s %8.1f MiB/s   ratio %.2f %s\n", what, mib / ours, otherName,
              mib / other, ratio, ratio >= 0.9 ? "(ok, >= 0.90)" : "(BELOW 0.90)");
  return ratio >= 0.9;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const std::uintmax_t mib = argc > 1 ? std::stoull(argv[1]) : 2048;
  const fs::path work = argc > 2 ? argv[2] : "/tmp/solvanta-download-bench";
  const std::uintmax_t size = mib << 20;
  fs::remove_all(work);
  fs::create_directories(work / "www");
  fs::create_directories(work / "logs");
  // A sparse file: written at once, read back by nginx at memory speed.
  {
    std::ofstream(work / "www" / "big.bin");
    fs::resize_file(work / "www" / "big.bin", size);
  }
  const int port = FreePort();
  {
    std::ofstream conf(work / "nginx.conf");
    conf << "user root;\nworker_processes 4;\npid " << (work / "nginx.pid").string()
         << ";\nerror_log " << (work / "logs/error.log").string()
         << ";\nevents { worker_connections 64; }\nhttp {\n  access_log off;\n"
         << "  sendfile on;\n  tcp_nopush on;\n  server {\n    listen 127.0.0.1:" << port
         << ";\n    root " << (work / "www").string() << ";\n"
         << "    location /throttled/ { alias " << (work / "www").string()
         << "/; limit_rate 20m; }\n  }\n}\n";
  }
  const pid_t nginx = Spawn(
      {"nginx", "-p", work.string(), "-c", (work / "nginx.conf").string(), "-g", "daemon off;"});
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const std::string base = "http://127.0.0.1:" + std::to_string(port);
  const std::string full = base + "/big.bin";
  const std::string throttled = base + "/throttled/big.bin";
  const fs::path out = work / "out.bin";
  const double m = static_cast<double>(mib);

  std::printf("%ju MiB from nginx on loopback\n", mib);
  const double curl = Best(2, [&] {
    return Timed(out, size, [&] { return Run({"curl", "-s", "-f", "-o", out, full}) == 0; });
  });
  const double one =
      Best(2, [&] { return Timed(out, size, [&] { return Component(full, out, 1); }); });
  const double polled =
      Best(2, [&] { return Timed(out, size, [&] { return Polled(full, out, work); }); });
  bool ok = Report("one part, full speed (component)", one, "curl", curl, m);
  ok = Report("one part, full speed (polled, checkpointed)", polled, "curl", curl, m) && ok;

  const double aria = Timed(out, size, [&] {
    return Run({"aria2c", "-q", "-x4", "-s4", "-k1M", "--file-allocation=none",
                "--allow-overwrite=true", "-d", work.string(), "-o", "out.bin", throttled}) == 0;
  });
  const double four = Timed(out, size, [&] { return Component(throttled, out, 4); });
  ok = Report("four parts, 20 MB/s per connection", four, "aria2c", aria, m) && ok;

  ::kill(nginx, SIGTERM);
  ::waitpid(nginx, nullptr, 0);
  fs::remove_all(work);
  return ok ? 0 : 1;
}

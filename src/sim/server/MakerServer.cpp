#include "sim/server/MakerServer.h"

#include <httplib.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "sim/server/SoapEnvelope.h"

namespace sim {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kBlockSize = 64 * 1024;

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

std::optional<std::string> FindValue(const HeaderList& list, const std::string& name,
                                     bool ignoreCase) {
  for (const auto& [key, value] : list) {
    if (ignoreCase ? EqualsIgnoringCase(key, name) : key == name) {
      return value;
    }
  }
  return std::nullopt;
}

// Reads body bytes from a file or from memory.
struct BodySource {
  std::uint64_t size = 0;
  std::function<bool(std::uint64_t offset, char* buffer, std::size_t count)> read;
};

BodySource MemorySource(std::string text) {
  auto data = std::make_shared<std::string>(std::move(text));
  return {data->size(), [data](std::uint64_t offset, char* buffer, std::size_t count) {
            if (offset + count > data->size()) {
              return false;
            }
            std::memcpy(buffer, data->data() + offset, count);
            return true;
          }};
}

std::optional<BodySource> FileSource(const std::filesystem::path& path, std::uint64_t size) {
  auto file = std::make_shared<std::ifstream>(path, std::ios::binary);
  if (!*file) {
    return std::nullopt;
  }
  return BodySource{size, [file](std::uint64_t offset, char* buffer, std::size_t count) {
                      file->seekg(static_cast<std::streamoff>(offset));
                      file->read(buffer, static_cast<std::streamsize>(count));
                      return file->gcount() == static_cast<std::streamsize>(count);
                    }};
}

struct ByteRange {
  std::uint64_t first = 0;
  std::uint64_t last = 0;
};

enum class RangeKind { Whole, Partial, Unsatisfiable };

// A single "bytes=" range of a resource of `size` bytes. Several ranges or an
// unreadable header give the whole resource, as HTTP allows.
RangeKind ParseRange(const std::string& header, std::uint64_t size, ByteRange& range) {
  constexpr std::string_view kUnit = "bytes=";
  if (!header.starts_with(kUnit) || header.find(',') != std::string::npos) {
    return RangeKind::Whole;
  }
  const std::string spec = header.substr(kUnit.size());
  const auto dash = spec.find('-');
  if (dash == std::string::npos) {
    return RangeKind::Whole;
  }
  const auto number = [](const std::string& text) -> std::optional<std::uint64_t> {
    if (text.empty() || text.size() > 19 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      return std::nullopt;
    }
    return std::stoull(text);
  };
  const std::string firstText = spec.substr(0, dash);
  const std::string lastText = spec.substr(dash + 1);
  if (firstText.empty()) {  // the last N bytes
    const auto suffix = number(lastText);
    if (!suffix) {
      return RangeKind::Whole;
    }
    if (*suffix == 0 || size == 0) {
      return RangeKind::Unsatisfiable;
    }
    range = {size - std::min(*suffix, size), size - 1};
    return RangeKind::Partial;
  }
  const auto first = number(firstText);
  const auto last = lastText.empty() ? std::optional<std::uint64_t>(UINT64_MAX) : number(lastText);
  if (!first || !last || *last < *first) {
    return RangeKind::Whole;
  }
  if (*first >= size) {
    return RangeKind::Unsatisfiable;
  }
  range = {*first, std::min(*last, size - 1)};
  return RangeKind::Partial;
}

std::string HttpDate(std::filesystem::file_time_type time) {
  static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const std::time_t t = std::chrono::system_clock::to_time_t(
      std::chrono::time_point_cast<std::chrono::system_clock::duration>(
          std::chrono::file_clock::to_sys(time)));
  std::tm tm{};
  gmtime_r(&t, &tm);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%s, %02d %s %04d %02d:%02d:%02d GMT", kDays[tm.tm_wday],
                tm.tm_mday, kMonths[tm.tm_mon], tm.tm_year + 1900, tm.tm_hour, tm.tm_min,
                tm.tm_sec);
  return buffer;
}

std::string ContentTypeOf(const std::filesystem::path& path) {
  static const std::map<std::string, std::string> kTypes = {
      {".jpg", "image/jpeg"},        {".jpeg", "image/jpeg"},     {".png", "image/png"},
      {".gif", "image/gif"},         {".txt", "text/plain"},      {".xml", "text/xml"},
      {".json", "application/json"}, {".zip", "application/zip"}, {".rar", "application/x-rar"},
  };
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  const auto it = kTypes.find(extension);
  return it == kTypes.end() ? "application/octet-stream" : it->second;
}

// The entry of `folder` named `segment`; like the maker's Windows server, a
// name in another letter case is found when the exact one is missing.
std::filesystem::path Child(const std::filesystem::path& folder, const std::string& segment) {
  std::error_code error;
  const std::filesystem::path exact = folder / segment;
  if (std::filesystem::exists(exact, error) || !std::filesystem::is_directory(folder, error)) {
    return exact;
  }
  const auto lower = [](std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
  };
  const std::string wanted = lower(segment);
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (lower(entry.path().filename().string()) == wanted) {
      return entry.path();
    }
  }
  return exact;
}

// The file below `root` that a decoded URL path names; nullopt when the path
// climbs out of it.
std::optional<std::filesystem::path> MapPath(const std::filesystem::path& root,
                                             const std::string& urlPath) {
  std::filesystem::path result = root;
  std::size_t start = 0;
  while (start <= urlPath.size()) {
    auto end = urlPath.find('/', start);
    if (end == std::string::npos) {
      end = urlPath.size();
    }
    const std::string segment = urlPath.substr(start, end - start);
    if (segment == ".." || segment.find('\\') != std::string::npos ||
        segment.find('\0') != std::string::npos) {
      return std::nullopt;
    }
    if (!segment.empty() && segment != ".") {
      result = Child(result, segment);
    }
    start = end + 1;
  }
  return result;
}

using X509Ptr = std::unique_ptr<X509, decltype(&X509_free)>;
using KeyPtr = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using BioPtr = std::unique_ptr<BIO, decltype(&BIO_free)>;

BioPtr MemoryBio(const std::string& text) {
  return BioPtr(BIO_new_mem_buf(text.data(), static_cast<int>(text.size())), &BIO_free);
}

bool ConfigureTls(SSL_CTX& ctx, const TlsIdentity& identity) {
  auto certificates = MemoryBio(identity.certificatePem);
  X509Ptr leaf(PEM_read_bio_X509(certificates.get(), nullptr, nullptr, nullptr), &X509_free);
  if (!leaf || SSL_CTX_use_certificate(&ctx, leaf.get()) != 1) {
    return false;
  }
  while (X509* next = PEM_read_bio_X509(certificates.get(), nullptr, nullptr, nullptr)) {
    if (SSL_CTX_add0_chain_cert(&ctx, next) != 1) {
      X509_free(next);
      return false;
    }
  }
  auto keyBio = MemoryBio(identity.privateKeyPem);
  KeyPtr key(PEM_read_bio_PrivateKey(keyBio.get(), nullptr, nullptr, nullptr), &EVP_PKEY_free);
  return key && SSL_CTX_use_PrivateKey(&ctx, key.get()) == 1 &&
         SSL_CTX_check_private_key(&ctx) == 1;
}

const char* const kConnectionHeaders[] = {"REMOTE_ADDR", "REMOTE_PORT", "LOCAL_ADDR", "LOCAL_PORT"};

}  // namespace

std::optional<std::string> RecordedRequest::Header(const std::string& name) const {
  return FindValue(headers, name, true);
}

std::optional<std::string> SoapCall::Parameter(const std::string& name) const {
  return FindValue(parameters, name, false);
}

std::string GeolocationJson(const std::string& ip, const std::string& city,
                            const std::string& region) {
  const QJsonObject object{{"ip", QString::fromStdString(ip)},
                           {"city", QString::fromStdString(city)},
                           {"region", QString::fromStdString(region)}};
  return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString();
}

struct MakerServer::State {
  ServerOptions options;
  std::unique_ptr<httplib::Server> http;
  std::thread listener;
  int port = 0;

  std::mutex wakeMutex;
  std::condition_variable wake;
  bool stopping = false;

  mutable std::mutex mutex;  // guards everything below
  std::string returnUpdate;
  std::string updateDbTvs;
  bool recebeSystemLog = true;
  std::map<std::string, SoapFault> soapFaults;
  SoapStyle soapStyle = SoapStyle::Inline;
  HttpAnswer geolocation{200, GeolocationJson("200.160.2.3", "São Paulo", "São Paulo")};
  HttpAnswer geolocationWithToken = geolocation;
  bool ignoreRanges = false;
  std::map<std::string, PathFault> faults;
  std::vector<RecordedRequest> requests;
  std::vector<SoapCall> soapCalls;

  // Sleeps until `deadline`; false when the server stops first.
  bool WaitUntil(Clock::time_point deadline) {
    std::unique_lock lock(wakeMutex);
    return !wake.wait_until(lock, deadline, [this] { return stopping; });
  }

  PathFault TakeFault(const std::string& path) {
    std::lock_guard lock(mutex);
    auto chosen = faults.end();
    const auto exact = faults.find(path);
    if (exact != faults.end()) {
      chosen = exact;
    } else {
      std::size_t best = 0;
      for (auto it = faults.begin(); it != faults.end(); ++it) {
        const std::string& key = it->first;
        if (key.ends_with('*') && path.starts_with(key.substr(0, key.size() - 1)) &&
            key.size() > best) {
          best = key.size();
          chosen = it;
        }
      }
    }
    if (chosen == faults.end()) {
      return {};
    }
    PathFault fault = chosen->second;
    if (chosen->second.times && --*chosen->second.times == 0) {
      faults.erase(chosen);
    }
    return fault;
  }

  void Record(const httplib::Request& req) {
    RecordedRequest r;
    r.method = req.method;
    r.path = req.path;
    const auto question = req.target.find('?');
    if (question != std::string::npos) {
      r.query = req.target.substr(question + 1);
    }
    for (const auto& [name, value] : req.headers) {
      if (std::find(std::begin(kConnectionHeaders), std::end(kConnectionHeaders), name) ==
          std::end(kConnectionHeaders)) {
        r.headers.emplace_back(name, value);
      }
    }
    r.body = req.body;
    std::lock_guard lock(mutex);
    requests.push_back(std::move(r));
  }

  void Handle(const httplib::Request& req, httplib::Response& res) {
    Record(req);
    // Ranges are answered here, never by the library, so that the fault modes
    // and the ignore-ranges mode keep full control of the body.
    const_cast<httplib::Request&>(req).ranges.clear();
    const PathFault fault = TakeFault(req.path);
    if (fault.delay.count() > 0 && !WaitUntil(Clock::now() + fault.delay)) {
      res.status = 503;
      return;
    }
    if (!fault.redirectTo.empty()) {
      res.status = 302;
      res.set_header("Location", fault.redirectTo);
      return;
    }
    if (fault.status != 0) {
      SendBody(res, fault.status, "text/plain",
               MemorySource("Falha simulada: status " + std::to_string(fault.status) + "\n"), 0,
               std::nullopt, fault);
      return;
    }
    if (req.path == kSoapPath) {
      ServeSoap(req, res, fault);
    } else if (req.path == kGeolocationPath) {
      ServeGeolocation(req, res, fault);
    } else {
      ServeFile(req, res, fault);
    }
  }

  void ServeText(httplib::Response& res, int status, const std::string& text,
                 const PathFault& fault) {
    SendBody(res, status, "text/plain; charset=utf-8", MemorySource(text + "\n"), 0, std::nullopt,
             fault);
  }

  void ServeGeolocation(const httplib::Request& req, httplib::Response& res,
                        const PathFault& fault) {
    HttpAnswer answer;
    {
      std::lock_guard lock(mutex);
      answer = req.has_param("token") ? geolocationWithToken : geolocation;
    }
    SendBody(res, answer.status, "application/json; charset=utf-8", MemorySource(answer.body), 0,
             std::nullopt, fault);
  }

  void ServeSoap(const httplib::Request& req, httplib::Response& res, const PathFault& fault) {
    if (req.method != "POST") {
      ServeText(res, 405, "O serviço de atualização aceita apenas POST", fault);
      return;
    }
    const auto send = [&](int status, std::string envelope) {
      SendBody(res, status, "text/xml; charset=\"utf-8\"", MemorySource(std::move(envelope)), 0,
               std::nullopt, fault);
    };
    const auto parsed = soap::ParseRequest(req.body);
    if (!parsed) {
      send(500, soap::FaultEnvelope({"SOAP-ENV:Client", parsed.error()}));
      return;
    }
    SoapCall call;
    call.operation = parsed->operation;
    call.soapAction = req.get_header_value("SOAPAction");
    if (call.soapAction.size() >= 2 && call.soapAction.front() == '"' &&
        call.soapAction.back() == '"') {
      call.soapAction = call.soapAction.substr(1, call.soapAction.size() - 2);
    }
    call.parameters = parsed->parameters;

    std::lock_guard lock(mutex);
    std::optional<SoapFault> answerFault;
    std::string type = "string";
    std::string value;
    const auto configured = soapFaults.find(call.operation);
    if (parsed->operationNamespace != kSoapNamespace) {
      answerFault = SoapFault{"SOAP-ENV:Client",
                              "Espaço de nomes desconhecido: " + parsed->operationNamespace};
    } else if (call.soapAction != std::string(kSoapNamespace) + "#" + call.operation) {
      answerFault = SoapFault{"SOAP-ENV:Client", "SOAPAction inválida: " + call.soapAction};
    } else if (call.operation == "ReturnUpdate") {
      value = returnUpdate;
    } else if (call.operation == "UpdateDbTvs") {
      value = updateDbTvs;
    } else if (call.operation == "RecebeSystemLog") {
      type = "boolean";
      value = recebeSystemLog ? "true" : "false";
    } else {
      answerFault = SoapFault{"SOAP-ENV:Client", "Operação desconhecida: " + call.operation};
    }
    if (!answerFault && call.Parameter("Key") != kServiceKey) {
      answerFault = SoapFault{"SOAP-ENV:Client", "Chave de acesso inválida"};
    }
    if (!answerFault && configured != soapFaults.end()) {
      answerFault = configured->second;
    }
    call.faultString = answerFault ? answerFault->message : std::string();
    soapCalls.push_back(call);
    if (answerFault) {
      send(500, soap::FaultEnvelope(*answerFault));
    } else {
      send(200, soap::ResultEnvelope(call.operation, type, value, soapStyle));
    }
  }

  void ServeFile(const httplib::Request& req, httplib::Response& res, const PathFault& fault) {
    const auto path = MapPath(options.root, req.path);
    std::error_code error;
    if (!path) {
      ServeText(res, 403, "Caminho não permitido: " + req.path, fault);
      return;
    }
    if (options.root.empty() || !std::filesystem::is_regular_file(*path, error)) {
      ServeText(res, 404, "Arquivo não encontrado: " + req.path, fault);
      return;
    }
    if (req.method != "GET" && req.method != "HEAD") {
      ServeText(res, 405, "Arquivos aceitam apenas GET e HEAD", fault);
      return;
    }
    const std::uint64_t size = std::filesystem::file_size(*path, error);
    const auto modified = std::filesystem::last_write_time(*path, error);
    auto source = error ? std::nullopt : FileSource(*path, size);
    if (!source) {
      ServeText(res, 500, "Arquivo ilegível: " + req.path, fault);
      return;
    }
    const bool ignore = [this] {
      std::lock_guard lock(mutex);
      return ignoreRanges;
    }();
    char etag[64];
    std::snprintf(etag, sizeof etag, "\"%llx-%llx\"", static_cast<unsigned long long>(size),
                  static_cast<unsigned long long>(modified.time_since_epoch().count()));
    res.set_header("ETag", etag);
    res.set_header("Last-Modified", HttpDate(modified));
    res.set_header("Accept-Ranges", ignore ? "none" : "bytes");

    ByteRange range{0, size == 0 ? 0 : size - 1};
    RangeKind kind = RangeKind::Whole;
    if (!ignore && !fault.chunked && req.has_header("Range")) {
      kind = ParseRange(req.get_header_value("Range"), size, range);
    }
    if (kind == RangeKind::Unsatisfiable) {
      res.status = 416;
      res.set_header("Content-Range", "bytes */" + std::to_string(size));
      return;
    }
    if (kind == RangeKind::Partial) {
      res.set_header("Content-Range", "bytes " + std::to_string(range.first) + "-" +
                                          std::to_string(range.last) + "/" + std::to_string(size));
      SendBody(res, 206, ContentTypeOf(*path), std::move(*source), range.first,
               range.last - range.first + 1, fault);
    } else {
      SendBody(res, 200, ContentTypeOf(*path), std::move(*source), 0, std::nullopt, fault);
    }
  }

  // Streams `length` bytes of `source` from `first` (all that follow when
  // nullopt), applying the throttle, cut, chunked and wrong-length faults.
  void SendBody(httplib::Response& res, int status, const std::string& contentType,
                BodySource source, std::uint64_t first, std::optional<std::uint64_t> length,
                const PathFault& fault) {
    res.status = status;
    const std::uint64_t real = length.value_or(source.size - first);
    const std::uint64_t announced = fault.announcedLength.value_or(real);
    const std::uint64_t sendable = fault.chunked ? real : std::min(real, announced);
    const std::uint64_t limit = std::min(sendable, fault.cutAfterBytes.value_or(UINT64_MAX));
    struct Progress {
      Clock::time_point start;
      bool started = false;
    };
    auto progress = std::make_shared<Progress>();
    auto writeBlock = [this, source = std::move(source), first, limit, fault, progress](
                          std::uint64_t offset, httplib::DataSink& sink) {
      if (offset >= limit) {
        return false;  // the cut, or a body shorter than its announced length
      }
      std::size_t count =
          static_cast<std::size_t>(std::min<std::uint64_t>(kBlockSize, limit - offset));
      if (fault.bytesPerSecond > 0) {
        count = std::min<std::size_t>(count, std::max<std::uint64_t>(1, fault.bytesPerSecond / 20));
        if (!progress->started) {
          progress->start = Clock::now();
          progress->started = true;
        }
        // Each block leaves when the whole rate allows it, so the measured
        // rate matches the setting from the first block on.
        const auto due =
            progress->start +
            std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                static_cast<double>(offset + count) / static_cast<double>(fault.bytesPerSecond)));
        if (!WaitUntil(due)) {
          return false;
        }
      }
      std::string buffer(count, '\0');
      if (!source.read(first + offset, buffer.data(), count) || !sink.write(buffer.data(), count)) {
        return false;
      }
      return true;
    };
    if (fault.chunked) {
      res.set_chunked_content_provider(
          contentType, [writeBlock, sendable](std::size_t offset, httplib::DataSink& sink) {
            if (offset == sendable) {
              sink.done();
              return true;
            }
            return writeBlock(offset, sink);
          });
    } else if (announced == 0) {
      res.set_header("Content-Type", contentType);
    } else {
      res.set_content_provider(
          announced, contentType,
          [writeBlock](std::size_t offset, std::size_t, httplib::DataSink& sink) {
            return writeBlock(offset, sink);
          });
    }
  }
};

MakerServer::MakerServer(ServerOptions options)
    : options_(std::move(options)), state_(std::make_shared<State>()) {
  state_->options = options_;
}

MakerServer::~MakerServer() {
  Stop();
}

std::expected<int, std::string> MakerServer::Start() {
  State& s = *state_;
  if (s.http) {
    return std::unexpected(std::string("O servidor já está em execução"));
  }
  if (options_.tls) {
    const TlsIdentity identity = *options_.tls;
    s.http = std::make_unique<httplib::SSLServer>(
        [identity](SSL_CTX& ctx) { return ConfigureTls(ctx, identity); });
  } else {
    s.http = std::make_unique<httplib::Server>();
  }
  if (!s.http->is_valid()) {
    s.http.reset();
    return std::unexpected(std::string("Certificado ou chave TLS inválidos"));
  }
  {
    std::lock_guard lock(s.wakeMutex);
    s.stopping = false;
  }
  // Short keep-alive so that an idle client connection never holds up Stop().
  s.http->set_keep_alive_timeout(1);
  const auto handler = [&s](const httplib::Request& req, httplib::Response& res) {
    s.Handle(req, res);
  };
  s.http->Get(".*", handler);
  s.http->Post(".*", handler);
  const int port =
      options_.port == 0
          ? s.http->bind_to_any_port(options_.bindAddress)
          : (s.http->bind_to_port(options_.bindAddress, options_.port) ? options_.port : -1);
  if (port <= 0) {
    s.http.reset();
    return std::unexpected("Não foi possível escutar em " + options_.bindAddress + ":" +
                           std::to_string(options_.port));
  }
  s.port = port;
  httplib::Server* http = s.http.get();
  s.listener = std::thread([http] { http->listen_after_bind(); });
  // The socket already listens; wait for the accept loop so that Stop() finds it running.
  while (!http->is_running()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return port;
}

void MakerServer::Stop() {
  State& s = *state_;
  if (!s.http) {
    return;
  }
  {
    std::lock_guard lock(s.wakeMutex);
    s.stopping = true;
  }
  s.wake.notify_all();
  s.http->stop();
  s.listener.join();
  s.http.reset();
}

int MakerServer::Port() const {
  return state_->port;
}

std::string MakerServer::BaseUrl() const {
  return std::string(options_.tls ? "https://" : "http://") + options_.bindAddress + ":" +
         std::to_string(state_->port);
}

void MakerServer::SetReturnUpdate(std::string answer) {
  std::lock_guard lock(state_->mutex);
  state_->returnUpdate = std::move(answer);
}

void MakerServer::SetUpdateDbTvs(std::string answer) {
  std::lock_guard lock(state_->mutex);
  state_->updateDbTvs = std::move(answer);
}

void MakerServer::SetRecebeSystemLog(bool answer) {
  std::lock_guard lock(state_->mutex);
  state_->recebeSystemLog = answer;
}

void MakerServer::SetSoapFault(const std::string& operation, std::optional<SoapFault> fault) {
  std::lock_guard lock(state_->mutex);
  if (fault) {
    state_->soapFaults[operation] = std::move(*fault);
  } else {
    state_->soapFaults.erase(operation);
  }
}

void MakerServer::SetSoapStyle(SoapStyle style) {
  std::lock_guard lock(state_->mutex);
  state_->soapStyle = style;
}

void MakerServer::SetGeolocation(HttpAnswer answer) {
  std::lock_guard lock(state_->mutex);
  state_->geolocation = std::move(answer);
}

void MakerServer::SetGeolocationWithToken(HttpAnswer answer) {
  std::lock_guard lock(state_->mutex);
  state_->geolocationWithToken = std::move(answer);
}

void MakerServer::SetIgnoreRanges(bool ignore) {
  std::lock_guard lock(state_->mutex);
  state_->ignoreRanges = ignore;
}

void MakerServer::SetFault(const std::string& path, PathFault fault) {
  std::lock_guard lock(state_->mutex);
  state_->faults[path] = std::move(fault);
}

void MakerServer::ClearFaults() {
  std::lock_guard lock(state_->mutex);
  state_->faults.clear();
}

std::vector<RecordedRequest> MakerServer::Requests() const {
  std::lock_guard lock(state_->mutex);
  return state_->requests;
}

std::vector<SoapCall> MakerServer::SoapCalls() const {
  std::lock_guard lock(state_->mutex);
  return state_->soapCalls;
}

void MakerServer::ClearRecord() {
  std::lock_guard lock(state_->mutex);
  state_->requests.clear();
  state_->soapCalls.clear();
}

}  // namespace sim

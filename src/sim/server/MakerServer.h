#pragma once

#include <chrono>
#include <cstdint>
#include <expected>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sim {

using HeaderList = std::vector<std::pair<std::string, std::string>>;

// One request as the server received it.
struct RecordedRequest {
  std::string method;
  std::string path;   // decoded path, without the query
  std::string query;  // raw text after "?", empty when none
  HeaderList headers;
  std::string body;

  // First value of the header `name` (compared without regard to case).
  std::optional<std::string> Header(const std::string& name) const;
};

// One call of the update service.
struct SoapCall {
  std::string operation;
  std::string soapAction;   // the SOAPAction header as sent, quotes removed
  HeaderList parameters;    // name and value, in the order received
  std::string faultString;  // empty when the call was answered normally

  std::optional<std::string> Parameter(const std::string& name) const;
};

// What goes wrong, on purpose, with the answers for one path.
struct PathFault {
  int status = 0;                      // answer with this status and a short body (0: off)
  std::string redirectTo{};            // answer 302 with this Location (empty: off)
  std::chrono::milliseconds delay{0};  // wait before answering
  std::uint64_t bytesPerSecond = 0;    // throttle each connection (0: off)
  std::optional<std::uint64_t> cutAfterBytes{};  // close the connection after this many body bytes
  bool chunked = false;                          // no Content-Length, chunked transfer
  std::optional<std::uint64_t> announcedLength{};  // send this Content-Length instead of the
                                                   // real one; close when the body is shorter
  std::optional<unsigned> times{};  // applies to the next N matching requests only (nullopt: all)
};

struct SoapFault {
  std::string code = "SOAP-ENV:Server";
  std::string message{};
};

// How a SOAP response carries its return value.
enum class SoapStyle {
  Inline,    // <return xsi:type="xsd:string">value</return>
  MultiRef,  // <return href="#1"/> and the value in a separate element with id="1"
};

// An HTTP answer set by a test: status and body.
struct HttpAnswer {
  int status = 200;
  std::string body{};
};

// The certificate chain (leaf first) and private key of an HTTPS server, as PEM text.
struct TlsIdentity {
  std::string certificatePem{};
  std::string privateKeyPem{};
};

struct ServerOptions {
  std::string bindAddress = "127.0.0.1";
  int port = 0;                  // 0: a free port chosen by the system
  std::filesystem::path root{};  // folder of the static files; empty: none served
  std::optional<TlsIdentity> tls{};
};

inline constexpr const char* kSoapPath = "/solvanta/webservers/SoapServerSlv.dll/soap/Idmserver";
inline constexpr const char* kSoapNamespace = "urn:udmserver-Idmserver";
inline constexpr const char* kServiceKey = "%&*#!?qzvnmlkjpw!&?rtyuOPQ";
inline constexpr const char* kGeolocationPath = "/json";

// The maker's world on one port: static files with byte ranges, the SOAP update
// service and the IP-geolocation JSON, with faults injected per path and every
// request recorded. All operations are thread-safe and may be called while the
// server answers requests.
class MakerServer {
 public:
  explicit MakerServer(ServerOptions options);
  ~MakerServer();
  MakerServer(const MakerServer&) = delete;
  MakerServer& operator=(const MakerServer&) = delete;

  // Starts listening; returns the port or the reason it could not start.
  std::expected<int, std::string> Start();
  void Stop();  // waits for the running requests; idempotent

  int Port() const;
  std::string BaseUrl() const;  // "http://127.0.0.1:port" or "https://...", no trailing "/"

  void SetReturnUpdate(std::string answer);
  void SetUpdateDbTvs(std::string answer);
  void SetRecebeSystemLog(bool answer);
  // A fault answered by `operation` instead of its result; nullopt removes it.
  void SetSoapFault(const std::string& operation, std::optional<SoapFault> fault);
  void SetSoapStyle(SoapStyle style);

  void SetGeolocation(HttpAnswer answer);           // "/json" without "token"
  void SetGeolocationWithToken(HttpAnswer answer);  // "/json?token=..."

  // Static files answer 200 with the whole body even when a range is asked for.
  void SetIgnoreRanges(bool ignore);

  // `path` is an exact path, or a prefix when it ends with "*". An exact match
  // wins over prefixes, a longer prefix over a shorter one.
  void SetFault(const std::string& path, PathFault fault);
  void ClearFaults();

  std::vector<RecordedRequest> Requests() const;
  std::vector<SoapCall> SoapCalls() const;
  void ClearRecord();

 private:
  struct State;
  ServerOptions options_;
  std::shared_ptr<State> state_;
};

// The JSON body of a geolocation answer.
std::string GeolocationJson(const std::string& ip, const std::string& city,
                            const std::string& region);

}  // namespace sim

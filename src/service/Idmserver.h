#pragma once

#include <array>
#include <memory>
#include <stdexcept>
#include <string>

// The client of the maker's update service: SOAP 1.1 in RPC style with
// section-5 encoding, over HTTPS with the certificates verified.
namespace service {

inline constexpr const char* kNamespace = "urn:udmserver-Idmserver";
// The service's path on the maker's server.
inline constexpr const char* kServicePath = "/solvanta/webservers/SoapServerSlv.dll/soap/Idmserver";
// The access code of every operation.
inline constexpr const char* kKey = "%&*#!?qzvnmlkjpw!&?rtyuOPQ";

// The parameters of RecebeSystemLog after `Key`, in the order of the
// interface; each carries the `systemlog` column of the same name.
inline constexpr std::array<const char*, 26> kSystemLogParameters = {"macadress",
                                                                     "pcname",
                                                                     "windowsuser",
                                                                     "externalipv4",
                                                                     "operationsystem",
                                                                     "cpu",
                                                                     "memory_capacity",
                                                                     "memory_free",
                                                                     "disk_capacity",
                                                                     "disk_free",
                                                                     "city",
                                                                     "state",
                                                                     "systemversion",
                                                                     "protocol",
                                                                     "productid",
                                                                     "chipset",
                                                                     "idlastuserinteraction",
                                                                     "idsystemstatus",
                                                                     "systemtotaltime",
                                                                     "firmwaredownloadtime",
                                                                     "downloadsize",
                                                                     "useractions",
                                                                     "cd_cpf",
                                                                     "cd_nome",
                                                                     "cd_telefone",
                                                                     "cd_email"};
using SystemLogValues = std::array<std::string, kSystemLogParameters.size()>;

// A call that did not bring back a result.
class ServiceError : public std::runtime_error {
 public:
  enum class Kind {
    Transport,   // no answer: connection, TLS, HTTP status without a SOAP body
    Fault,       // the service answered with a SOAP fault
    Unreadable,  // the answer is not a SOAP response carrying a value
  };
  ServiceError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
  Kind kind() const { return kind_; }

 private:
  Kind kind_;
};

// The service contract. Every operation blocks until the answer arrives and
// throws ServiceError when there is none to give.
class Idmserver {
 public:
  virtual ~Idmserver() = default;
  // The program's files the server offers, one "name,version,place,folder" a line.
  virtual std::string ReturnUpdate(const std::string& Key) = 0;
  // Stores one log row; true when the server kept it.
  virtual bool RecebeSystemLog(const std::string& Key, const SystemLogValues& values) = 0;
  // The TV models as "$"-separated records, each ended by "#"; "0" for none.
  virtual std::string UpdateDbTvs(const std::string& Key) = 0;
};

// The service at `url` over libcurl. With `caBundle` set, HTTPS certificates
// are verified against it instead of the system's bundle.
std::unique_ptr<Idmserver> CreateIdmserver(std::string url, std::string caBundle);

}  // namespace service

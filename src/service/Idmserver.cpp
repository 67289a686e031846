#include "service/Idmserver.h"

#include <curl/curl.h>

#include <memory>

#include "service/SoapMessages.h"

namespace service {
namespace {

// No service answer comes near this; a longer one is cut off as an error.
constexpr std::size_t kMaxAnswerBytes = 64u << 20;

struct CurlDeleter {
  void operator()(CURL* c) const { curl_easy_cleanup(c); }
  void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* user) {
  auto& body = *static_cast<std::string*>(user);
  const std::size_t bytes = size * count;
  if (body.size() + bytes > kMaxAnswerBytes)
    return 0;  // curl ends the transfer
  body.append(data, bytes);
  return bytes;
}

[[noreturn]] void TransportFailure(const std::string& why) {
  throw ServiceError(ServiceError::Kind::Transport,
                     "Não foi possível se comunicar com o serviço: " + why);
}

class HttpIdmserver : public Idmserver {
 public:
  HttpIdmserver(std::string url, std::string caBundle)
      : url_(std::move(url)), caBundle_(std::move(caBundle)) {
    curl_global_init(CURL_GLOBAL_DEFAULT);
  }

  std::string ReturnUpdate(const std::string& Key) override {
    return Call("ReturnUpdate", {{"Key", Key}});
  }

  bool RecebeSystemLog(const std::string& Key, const SystemLogValues& values) override {
    soap::Parameters parameters{{"Key", Key}};
    for (std::size_t i = 0; i < values.size(); ++i) {
      parameters.emplace_back(kSystemLogParameters[i], values[i]);
    }
    return soap::ReadBoolean(Call("RecebeSystemLog", parameters));
  }

  std::string UpdateDbTvs(const std::string& Key) override {
    return Call("UpdateDbTvs", {{"Key", Key}});
  }

 private:
  std::string Call(const std::string& operation, const soap::Parameters& parameters) {
    const std::string envelope = soap::RequestEnvelope(operation, parameters);
    const std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl)
      TransportFailure("libcurl não iniciou");
    curl_slist* list = nullptr;
    for (const std::string& h :
         {std::string("Content-Type: text/xml; charset=\"utf-8\""),
          "SOAPAction: \"" + soap::SoapAction(operation) + "\"", std::string("Expect:")}) {
      curl_slist* grown = curl_slist_append(list, h.c_str());
      if (grown == nullptr) {
        curl_slist_free_all(list);
        TransportFailure("sem memória");
      }
      list = grown;
    }
    const std::unique_ptr<curl_slist, CurlDeleter> headers(list);
    std::string answer;
    char error[CURL_ERROR_SIZE] = {};
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, url_.c_str());
    curl_easy_setopt(c, CURLOPT_POST, 1L);
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, envelope.data());
    curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(envelope.size()));
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &Collect);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &answer);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!caBundle_.empty())
      curl_easy_setopt(c, CURLOPT_CAINFO, caBundle_.c_str());

    const CURLcode code = curl_easy_perform(c);
    if (code != CURLE_OK)
      TransportFailure(error[0] != '\0' ? error : curl_easy_strerror(code));
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    // A fault comes with status 500; other failures carry no envelope.
    if (status != 200 && status != 500)
      TransportFailure("HTTP " + std::to_string(status));
    try {
      return soap::ReadReturnValue(answer);
    } catch (const ServiceError& e) {
      if (status == 500 && e.kind() == ServiceError::Kind::Unreadable) {
        TransportFailure("HTTP 500");
      }
      throw;
    }
  }

  std::string url_;
  std::string caBundle_;
};

}  // namespace

std::unique_ptr<Idmserver> CreateIdmserver(std::string url, std::string caBundle) {
  return std::make_unique<HttpIdmserver>(std::move(url), std::move(caBundle));
}

}  // namespace service

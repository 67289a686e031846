#pragma once

#include <curl/curl.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct HttpRequest {
  std::string url{};
  std::string method = "GET";          // "GET", "HEAD", "POST"
  std::vector<std::string> headers{};  // "Name: value"
  std::string body{};                  // sent with POST
  std::string range{};                 // "first-last", as curl's CURLOPT_RANGE
  std::string caFile{};                // CA bundle for HTTPS; empty: the system's
  bool pathAsIs = false;               // send "/../" segments unchanged
  bool followRedirects = false;
  long timeoutMs = 10000;
};

struct HttpResponse {
  CURLcode code = CURLE_OK;
  long status = 0;
  std::vector<std::pair<std::string, std::string>> headers;  // of the last response
  std::string body;
  std::string error;   // curl's message when code is not CURLE_OK
  double seconds = 0;  // whole transfer

  std::optional<std::string> Header(const std::string& name) const;
};

// One request with libcurl, on a fresh connection.
HttpResponse Fetch(const HttpRequest& request);

// A SOAP 1.1 POST of `envelope` with the SOAPAction header `action`.
HttpResponse PostSoap(const std::string& url, const std::string& action,
                      const std::string& envelope, const std::string& caFile = {});

}  // namespace testsupport

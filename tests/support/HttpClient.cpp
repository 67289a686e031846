#include "HttpClient.h"

#include <algorithm>
#include <cctype>
#include <memory>

namespace testsupport {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
  static_cast<std::string*>(user)->append(data, size * count);
  return size * count;
}

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
  auto* headers = static_cast<std::vector<std::pair<std::string, std::string>>*>(user);
  std::string line(data, size * count);
  if (line.starts_with("HTTP/")) {
    headers->clear();  // a new response (after a redirect or 100 Continue)
  }
  const auto colon = line.find(':');
  if (colon != std::string::npos) {
    auto value = line.substr(colon + 1);
    const auto start = value.find_first_not_of(" \t");
    const auto end = value.find_last_not_of(" \t\r\n");
    value = start == std::string::npos ? std::string() : value.substr(start, end - start + 1);
    headers->emplace_back(line.substr(0, colon), value);
  }
  return size * count;
}

}  // namespace

std::optional<std::string> HttpResponse::Header(const std::string& name) const {
  for (const auto& [key, value] : headers) {
    if (Lower(key) == Lower(name)) {
      return value;
    }
  }
  return std::nullopt;
}

HttpResponse Fetch(const HttpRequest& request) {
  HttpResponse response;
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
  std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(nullptr,
                                                                      &curl_slist_free_all);
  for (const auto& header : request.headers) {
    headers.reset(curl_slist_append(headers.release(), header.c_str()));
  }
  char error[CURL_ERROR_SIZE] = {};
  CURL* c = curl.get();
  curl_easy_setopt(c, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, request.timeoutMs);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &OnBody);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &response.body);
  curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, &OnHeader);
  curl_easy_setopt(c, CURLOPT_HEADERDATA, &response.headers);
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, request.followRedirects ? 1L : 0L);
  curl_easy_setopt(c, CURLOPT_PATH_AS_IS, request.pathAsIs ? 1L : 0L);
  if (!request.range.empty()) {
    curl_easy_setopt(c, CURLOPT_RANGE, request.range.c_str());
  }
  if (!request.caFile.empty()) {
    curl_easy_setopt(c, CURLOPT_CAINFO, request.caFile.c_str());
  }
  if (request.method == "HEAD") {
    curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
  } else if (request.method == "POST") {
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, request.body.c_str());
    curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
  } else if (request.method != "GET") {
    curl_easy_setopt(c, CURLOPT_CUSTOMREQUEST, request.method.c_str());
  }
  response.code = curl_easy_perform(c);
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &response.status);
  curl_easy_getinfo(c, CURLINFO_TOTAL_TIME, &response.seconds);
  if (response.code != CURLE_OK) {
    response.error = error[0] != '\0' ? error : curl_easy_strerror(response.code);
  }
  return response;
}

HttpResponse PostSoap(const std::string& url, const std::string& action,
                      const std::string& envelope, const std::string& caFile) {
  HttpRequest request;
  request.url = url;
  request.method = "POST";
  request.headers = {"Content-Type: text/xml; charset=utf-8", "SOAPAction: \"" + action + "\""};
  request.body = envelope;
  request.caFile = caFile;
  return Fetch(request);
}

}  // namespace testsupport

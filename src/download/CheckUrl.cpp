#include "download/CheckUrl.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace download {

namespace {

constexpr long kConnectSeconds = 30;
constexpr long kAnswerSeconds = 60;

struct CurlCleanup {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// Ends the transfer at the first byte of the body: the status is known by then.
std::size_t StopAtBody(char*, std::size_t, std::size_t, void*) {
  return 0;
}

}  // namespace

std::string CheckUrlTarget(const std::string& url) {
  std::string lower = url;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (lower.find("http://") == std::string::npos && lower.find("https://") == std::string::npos) {
    return "http://" + url;
  }
  return url;
}

bool CheckUrl(const std::string& url, const std::string& caBundle) {
  std::unique_ptr<CURL, CurlCleanup> curl(curl_easy_init());
  if (!curl)
    return false;
  curl_slist* list = curl_slist_append(nullptr, "Cache-Control: no-cache");
  if (list) {
    if (curl_slist* more = curl_slist_append(list, "Pragma: no-cache"))
      list = more;
  }
  const std::unique_ptr<curl_slist, CurlCleanup> headers(list);

  const std::string target = CheckUrlTarget(url);
  CURL* c = curl.get();
  curl_easy_setopt(c, CURLOPT_URL, target.c_str());
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_USERAGENT, kCheckUrlAgent);
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(c, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
  curl_easy_setopt(c, CURLOPT_TIMEOUT, kAnswerSeconds);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &StopAtBody);
  curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!caBundle.empty())
    curl_easy_setopt(c, CURLOPT_CAINFO, caBundle.c_str());

  const CURLcode result = curl_easy_perform(c);
  // Stopping at the body is how a good answer ends; any other error means the
  // URL could not be opened.
  if (result != CURLE_OK && result != CURLE_WRITE_ERROR)
    return false;
  long status = 0;
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
  return status == 200 || status == 302;
}

}  // namespace download

#include "report/MachineInfo.h"

#include <curl/curl.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <charconv>
#include <stdexcept>

#include "app/WMI.h"

namespace report {

namespace {

// A figure of WMI: a whole non-negative number in decimal, nothing else.
std::int64_t Figure(const std::string& text) {
  std::int64_t value = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0) {
    throw std::invalid_argument("not a figure: \"" + text + "\"");
  }
  return value;
}

QString Rounded(std::int64_t numerator, std::int64_t denominator) {
  return QString::number(RoundHalfEven(numerator, denominator));
}

// The body of one GET; nullopt on any failure (connection, time-out, a status
// other than 200, an answer too large to be the expected object).
std::optional<std::string> Get(const std::string& url) {
  constexpr std::size_t kMaxBody = 64 * 1024;
  CURL* curl = curl_easy_init();
  if (!curl)
    return std::nullopt;
  std::string body;
  const auto write = +[](char* data, size_t size, size_t count, void* out) -> size_t {
    auto& text = *static_cast<std::string*>(out);
    if (text.size() + size * count > kMaxBody)
      return 0;
    text.append(data, size * count);
    return size * count;
  };
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http");
  curl_easy_setopt(curl, CURLOPT_PROXY, "");  // a direct connection, as the service expects
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, kGeoTimeoutMs);
  // The read time-out: the transfer ends when no byte arrives for 8 s.
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kGeoTimeoutMs / 1000);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, write);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
  const CURLcode code = curl_easy_perform(curl);
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  curl_easy_cleanup(curl);
  if (code != CURLE_OK || status != 200)
    return std::nullopt;
  return body;
}

std::optional<PublicAddress> Lookup(const std::string& url) {
  const auto body = Get(url);
  return body ? ParsePublicAddress(*body) : std::nullopt;
}

}  // namespace

std::int64_t RoundHalfEven(std::int64_t numerator, std::int64_t denominator) {
  const std::int64_t quotient = numerator / denominator;
  const std::int64_t twiceRest = 2 * (numerator % denominator);
  if (twiceRest > denominator || (twiceRest == denominator && quotient % 2 != 0)) {
    return quotient + 1;
  }
  return quotient;
}

void ReadProcessor(const std::shared_ptr<platform::Wmi>& wmi, MachineInfo& info) {
  try {
    TWMI connection(wmi);
    const auto query = connection.CreateQuery("SELECT name FROM Win32_Processor");
    QString name;
    while (query->Next())
      name = QString::fromStdString(query->Value("name")).toUpper();
    info.InfoCpu = name;
  } catch (const std::exception&) {
    // The processor stays as it was.
  }
}

void ReadMemory(const std::shared_ptr<platform::Wmi>& wmi, MachineInfo& info) {
  try {
    TWMI connection(wmi);
    const auto query = connection.CreateQuery(
        "SELECT TotalVisibleMemorySize,FreePhysicalMemory FROM Win32_OperatingSystem");
    while (query->Next()) {
      const std::int64_t total = Figure(query->Value("TotalVisibleMemorySize"));
      const std::int64_t free = Figure(query->Value("FreePhysicalMemory"));
      info.InfoMemoria = Rounded(total, 1024);
      info.InfoMemoriaFree = Rounded(free, 1024);
    }
  } catch (const std::exception&) {
    // The memory figures stay as they were.
  }
}

void ReadDriveC(const std::shared_ptr<platform::Wmi>& wmi, MachineInfo& info) {
  constexpr std::int64_t kGigabyte = std::int64_t{1024} * 1024 * 1024;
  try {
    TWMI connection(wmi);
    const auto query = connection.CreateQuery(
        std::string("SELECT Size,FreeSpace  FROM Win32_LogicalDisk where Caption =") + "\"C:\"");
    while (query->Next()) {
      const std::int64_t size = Figure(query->Value("Size"));
      const std::int64_t free = Figure(query->Value("FreeSpace"));
      info.InfoDiscoCapacidade = Rounded(size, kGigabyte);
      info.InfoDiscoFree = Rounded(free, kGigabyte);
    }
  } catch (const std::exception&) {
    // The drive figures stay as they were.
  }
}

void ReadPublicAddress(const std::string& geoBaseUrl, MachineInfo& info) {
  const std::string url = geoBaseUrl + "/json";
  auto address = Lookup(url);
  if (!address)
    address = Lookup(url + "?token=" + kGeoToken);
  if (!address)
    address = PublicAddress{};
  info.InfoIp = address->ip;
  info.InfoCidade = address->city;
  info.InfoEstado = address->region;
}

void GatherMachineInfo(const std::shared_ptr<platform::Wmi>& wmi, const std::string& geoBaseUrl,
                       MachineInfo& info) {
  ReadProcessor(wmi, info);
  ReadMemory(wmi, info);
  ReadDriveC(wmi, info);
  ReadPublicAddress(geoBaseUrl, info);
}

std::optional<PublicAddress> ParsePublicAddress(const std::string& json) {
  const QJsonDocument document =
      QJsonDocument::fromJson(QByteArray::fromRawData(json.data(), qsizetype(json.size())));
  if (!document.isObject())
    return std::nullopt;
  const QJsonObject object = document.object();
  for (const char* member : {"ip", "city", "region"}) {
    if (!object.value(QLatin1String(member)).isString())
      return std::nullopt;
  }
  return PublicAddress{object.value(QLatin1String("ip")).toString(),
                       object.value(QLatin1String("city")).toString(),
                       object.value(QLatin1String("region")).toString()};
}

std::uint32_t ElapsedSeconds(std::uint32_t now, std::uint32_t since) {
  return static_cast<std::uint32_t>(now - since) / 1000;
}

}  // namespace report

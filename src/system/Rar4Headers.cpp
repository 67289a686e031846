#include "system/Rar4Headers.h"

#include <array>
#include <cstring>
#include <fstream>

namespace archives::rar4 {

namespace {

std::uint16_t Le16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t Le32(const unsigned char* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

constexpr std::uint8_t kMainType = 0x73;
constexpr std::uint8_t kFileType = 0x74;
constexpr std::uint8_t kEndType = 0x7B;
constexpr std::size_t kFileFixed = 32;  // a file header up to its name, from HEAD_CRC

}  // namespace

std::uint32_t Crc32(const void* data, std::size_t size, std::uint32_t crc) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k)
        c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  crc = ~crc;
  const auto* p = static_cast<const unsigned char*>(data);
  for (std::size_t i = 0; i < size; ++i)
    crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

bool Volume::Continues() const {
  if (endBlock)
    return (endFlags & kNextVolume) != 0;
  return (mainFlags & kVolume) != 0 && !files.empty() && (files.back().flags & kSplitAfter) != 0;
}

Kind Identify(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  char head[8] = {};
  in.read(head, sizeof head);
  if (in.gcount() >= 7 && std::memcmp(head, kSignature, 7) == 0)
    return Kind::kRar4;
  if (in.gcount() == 8 && std::memcmp(head, kSignature5, 8) == 0)
    return Kind::kRar5;
  return Kind::kOther;
}

std::expected<Volume, std::string> ReadVolume(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in)
    return std::unexpected("não foi possível abrir " + file.string());
  in.seekg(0, std::ios::end);
  const std::uint64_t length = static_cast<std::uint64_t>(in.tellg());
  in.seekg(7);
  Volume volume;
  std::uint64_t position = 7;
  bool mainSeen = false;
  while (position + 7 <= length) {
    unsigned char base[7];
    in.seekg(static_cast<std::streamoff>(position));
    if (!in.read(reinterpret_cast<char*>(base), 7))
      break;
    const std::uint8_t type = base[2];
    const std::uint16_t flags = Le16(base + 3);
    const std::uint16_t size = Le16(base + 5);
    if (size < 7)
      return std::unexpected("cabeçalho inválido em " + file.string());
    std::string header(size, '\0');
    std::memcpy(header.data(), base, 7);
    if (!in.read(header.data() + 7, size - 7)) {
      return std::unexpected("cabeçalho truncado em " + file.string());
    }
    const auto* h = reinterpret_cast<const unsigned char*>(header.data());
    if ((Crc32(h + 2, size - 2) & 0xFFFF) != Le16(h)) {
      return std::unexpected("CRC de cabeçalho inválido em " + file.string());
    }
    std::uint64_t addSize = 0;
    if (type == kFileType) {
      if (size < kFileFixed)
        return std::unexpected("cabeçalho de arquivo curto");
      FileHeader f;
      f.flags = flags;
      f.packSize = Le32(h + 7);
      f.unpSize = Le32(h + 11);
      f.hostOs = h[15];
      f.fileCrc = Le32(h + 16);
      f.fileTime = Le32(h + 20);
      f.unpVer = h[24];
      f.method = h[25];
      const std::uint16_t nameSize = Le16(h + 26);
      f.attributes = Le32(h + 28);
      std::size_t nameAt = kFileFixed;
      if ((flags & kLarge) != 0) {
        if (size < kFileFixed + 8)
          return std::unexpected("cabeçalho de arquivo curto");
        f.packSize |= static_cast<std::uint64_t>(Le32(h + 32)) << 32;
        f.unpSize |= static_cast<std::uint64_t>(Le32(h + 36)) << 32;
        nameAt += 8;
      }
      if (nameAt + nameSize > size)
        return std::unexpected("nome de arquivo truncado");
      f.name.assign(header.data() + nameAt, nameSize);
      if ((flags & kUnicode) != 0)
        f.name = f.name.substr(0, f.name.find('\0'));
      addSize = f.packSize;
      volume.files.push_back(std::move(f));
    } else {
      if (type == kMainType) {
        volume.mainFlags = flags;
        mainSeen = true;
      } else if (type == kEndType) {
        volume.endBlock = true;
        volume.endFlags = flags;
        break;
      }
      if ((flags & kLongBlock) != 0 && size >= 11)
        addSize = Le32(h + 7);
    }
    position += size + addSize;
    if (!mainSeen)
      return std::unexpected("cabeçalho do arquivo ausente em " + file.string());
    if ((volume.mainFlags & kEncryptedHeaders) != 0)
      break;
  }
  if (!mainSeen)
    return std::unexpected("cabeçalho do arquivo ausente em " + file.string());
  return volume;
}

std::string NextVolumeName(const std::string& current, bool newNumbering) {
  std::string name = current;
  if (newNumbering) {
    // The last run of digits before the extension counts up, keeping its width.
    const std::size_t dot = name.rfind('.');
    std::size_t end = dot == std::string::npos ? name.size() : dot;
    std::size_t start = end;
    while (start > 0 && std::isdigit(static_cast<unsigned char>(name[start - 1])))
      --start;
    if (start == end)
      return name.substr(0, end) + ".part2" + name.substr(end);
    std::string digits = name.substr(start, end - start);
    int i = static_cast<int>(digits.size()) - 1;
    while (i >= 0 && digits[i] == '9')
      digits[i--] = '0';
    if (i < 0) {
      digits.insert(digits.begin(), '1');
    } else {
      ++digits[i];
    }
    return name.substr(0, start) + digits + name.substr(end);
  }
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || name.size() - dot != 4)
    return name + ".r00";
  const std::string ext = name.substr(dot + 1);
  if (std::isdigit(static_cast<unsigned char>(ext[1])) &&
      std::isdigit(static_cast<unsigned char>(ext[2]))) {
    const int n = (ext[1] - '0') * 10 + (ext[2] - '0') + 1;
    if (n < 100) {
      name[dot + 2] = static_cast<char>('0' + n / 10);
      name[dot + 3] = static_cast<char>('0' + n % 10);
      return name;
    }
    name[dot + 1] = static_cast<char>(name[dot + 1] + 1);
    name[dot + 2] = '0';
    name[dot + 3] = '0';
    return name;
  }
  return name.substr(0, dot) + ".r00";
}

}  // namespace archives::rar4

#include "sim/ArchiveWriters.h"

#include <archive.h>
#include <archive_entry.h>

#include <fstream>
#include <memory>

#include "system/Rar4Headers.h"

namespace sim {

namespace fs = std::filesystem;
namespace rar4 = archives::rar4;

namespace {

struct WriterDeleter {
  void operator()(archive* a) const { archive_write_free(a); }
};
struct EntryDeleter {
  void operator()(archive_entry* e) const { archive_entry_free(e); }
};

constexpr std::time_t kFixedTime =
    1704067200;  // 2024-01-01 00:00:00 UTC: archives are reproducible
constexpr std::uint32_t kDosTime = (44u << 25) | (1u << 21) | (1u << 16);  // 2024-01-01 00:00:00

void Put16(std::string& out, std::uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}
void Put32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A block: HEAD_CRC over everything after it, then the given type, flags and body.
std::string Block(std::uint8_t type, std::uint16_t flags, const std::string& body) {
  std::string header;
  header.push_back(static_cast<char>(type));
  Put16(header, flags);
  Put16(header, static_cast<std::uint16_t>(body.size() + 7));
  header += body;
  std::string block;
  Put16(block, static_cast<std::uint16_t>(rar4::Crc32(header.data(), header.size()) & 0xFFFF));
  return block + header;
}

std::string FileBlock(const ArchiveFile& file, std::uint16_t splitFlags, std::uint32_t packSize,
                      std::uint32_t crc) {
  const std::uint32_t mode = file.directory ? 040755u
                             : file.symlink ? 0120777u
                                            : (file.executable ? 0100755u : 0100644u);
  std::string body;
  Put32(body, packSize);
  Put32(body, static_cast<std::uint32_t>(file.contents.size()));
  body.push_back(3);  // Unix
  Put32(body, crc);
  Put32(body, kDosTime);
  body.push_back(20);    // version 2.0 unpacks it
  body.push_back(0x30);  // store
  Put16(body, static_cast<std::uint16_t>(file.name.size()));
  Put32(body, mode);
  body += file.name;
  const std::uint16_t flags =
      rar4::kLongBlock | splitFlags | (file.directory ? rar4::kDirectoryBits : 0);
  return Block(0x74, flags, body);
}

}  // namespace

std::expected<void, std::string> WriteZip(const fs::path& file,
                                          const std::vector<ArchiveFile>& entries) {
  std::unique_ptr<archive, WriterDeleter> a(archive_write_new());
  archive_write_set_format_zip(a.get());
  if (archive_write_open_filename(a.get(), file.c_str()) != ARCHIVE_OK) {
    return std::unexpected(archive_error_string(a.get()));
  }
  for (const ArchiveFile& f : entries) {
    std::unique_ptr<archive_entry, EntryDeleter> entry(archive_entry_new());
    archive_entry_set_pathname(entry.get(), f.name.c_str());
    archive_entry_set_mtime(entry.get(), kFixedTime, 0);
    if (f.directory) {
      archive_entry_set_filetype(entry.get(), AE_IFDIR);
      archive_entry_set_perm(entry.get(), 0755);
    } else if (f.symlink) {
      archive_entry_set_filetype(entry.get(), AE_IFLNK);
      archive_entry_set_perm(entry.get(), 0777);
      archive_entry_set_symlink(entry.get(), f.contents.c_str());
    } else {
      archive_entry_set_filetype(entry.get(), AE_IFREG);
      archive_entry_set_perm(entry.get(), f.executable ? 0755 : 0644);
      archive_entry_set_size(entry.get(), static_cast<la_int64_t>(f.contents.size()));
    }
    if (archive_write_header(a.get(), entry.get()) != ARCHIVE_OK) {
      return std::unexpected(archive_error_string(a.get()));
    }
    if (!f.directory && !f.symlink && !f.contents.empty() &&
        archive_write_data(a.get(), f.contents.data(), f.contents.size()) < 0) {
      return std::unexpected(archive_error_string(a.get()));
    }
  }
  if (archive_write_close(a.get()) != ARCHIVE_OK) {
    return std::unexpected(archive_error_string(a.get()));
  }
  return {};
}

std::expected<std::vector<fs::path>, std::string> WriteStoredRar4(
    const fs::path& first, const std::vector<ArchiveFile>& entries, std::uint64_t volumeDataSize,
    bool newNumbering) {
  const bool multi = volumeDataSize > 0;
  std::vector<std::string> volumes(1);
  std::uint64_t room = multi ? volumeDataSize : UINT64_MAX;
  for (const ArchiveFile& f : entries) {
    const std::string& data = f.contents;
    std::uint64_t offset = 0;
    bool continued = false;
    do {
      if (room == 0 && !data.empty()) {
        volumes.emplace_back();
        room = volumeDataSize;
      }
      const std::uint64_t piece = std::min<std::uint64_t>(room, data.size() - offset);
      const bool last = offset + piece == data.size();
      const std::uint16_t split =
          (continued ? rar4::kSplitBefore : 0) | (last ? 0 : rar4::kSplitAfter);
      // A piece carries its own data's CRC; the last one the whole file's.
      const std::uint32_t crc =
          last ? rar4::Crc32(data.data(), data.size()) : rar4::Crc32(data.data() + offset, piece);
      volumes.back() += FileBlock(f, split, static_cast<std::uint32_t>(piece), crc);
      volumes.back().append(data, offset, piece);
      offset += piece;
      room -= piece;
      continued = true;
    } while (offset < data.size());
  }

  std::vector<fs::path> paths;
  std::string name = first.string();
  for (std::size_t i = 0; i < volumes.size(); ++i) {
    std::uint16_t mainFlags = 0;
    if (multi)
      mainFlags = rar4::kVolume | (newNumbering ? rar4::kNewNumbering : 0);
    if (multi && i == 0)
      mainFlags |= 0x0100;  // first volume
    const bool more = i + 1 < volumes.size();
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(rar4::kSignature, 7);
    const std::string main = Block(0x73, mainFlags, std::string(6, '\0'));
    out << main << volumes[i] << Block(0x7B, more ? rar4::kNextVolume : 0, {});
    if (!out)
      return std::unexpected("não foi possível gravar " + name);
    paths.emplace_back(name);
    name = rar4::NextVolumeName(name, newNumbering);
  }
  return paths;
}

}  // namespace sim

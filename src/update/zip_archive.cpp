#include "update/zip_archive.h"

#include <algorithm>

namespace qm {

namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr std::uint32_t kZip64EndSignature = 0x06064b50;
constexpr std::uint32_t kCentralHeaderSignature = 0x02014b50;
constexpr size_t kEndSize = 22;
constexpr size_t kZip64LocatorSize = 20;
constexpr size_t kZip64EndSize = 56;
constexpr size_t kCentralHeaderSize = 46;
constexpr size_t kMaxCommentSize = 0xFFFF;

// Little-endian reads that refuse to run past the end.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  bool Has(std::uint64_t offset, std::uint64_t count) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
  }
  std::uint64_t Read(std::uint64_t offset, int byteCount) const {
    std::uint64_t value = 0;
    for (int i = byteCount - 1; i >= 0; --i) value = (value << 8) | bytes_[offset + i];
    return value;
  }
  std::uint32_t Read32(std::uint64_t offset) const { return static_cast<std::uint32_t>(Read(offset, 4)); }
  std::uint16_t Read16(std::uint64_t offset) const { return static_cast<std::uint16_t>(Read(offset, 2)); }
  std::string Text(std::uint64_t offset, std::uint64_t count) const {
    return std::string(reinterpret_cast<const char*>(bytes_.data() + offset), count);
  }
  std::uint64_t Size() const { return bytes_.size(); }

 private:
  std::span<const std::uint8_t> bytes_;
};

struct CentralDirectory {
  std::uint64_t offset = 0;
  std::uint64_t entryCount = 0;
};

// The end record: the last signature found scanning back from the end of the archive.
std::optional<std::uint64_t> FindEndRecord(const ByteReader& zip) {
  if (zip.Size() < kEndSize) return std::nullopt;
  const std::uint64_t last = zip.Size() - kEndSize;
  const std::uint64_t first = last > kMaxCommentSize ? last - kMaxCommentSize : 0;
  for (std::uint64_t at = last + 1; at-- > first;)
    if (zip.Read32(at) == kEndSignature) return at;
  return std::nullopt;
}

// The 64-bit end record, consulted when the classic record's fields are saturated.
std::optional<CentralDirectory> ReadZip64Directory(const ByteReader& zip, std::uint64_t endRecord) {
  if (endRecord < kZip64LocatorSize) return std::nullopt;
  const std::uint64_t locator = endRecord - kZip64LocatorSize;
  if (zip.Read32(locator) != kZip64LocatorSignature) return std::nullopt;
  const std::uint64_t record = zip.Read(locator + 8, 8);
  if (!zip.Has(record, kZip64EndSize) || zip.Read32(record) != kZip64EndSignature) return std::nullopt;
  if (zip.Read32(record + 16) != 0 || zip.Read32(record + 20) != 0) return std::nullopt;
  if (zip.Read(record + 24, 8) != zip.Read(record + 32, 8)) return std::nullopt;
  return CentralDirectory{zip.Read(record + 48, 8), zip.Read(record + 32, 8)};
}

std::optional<CentralDirectory> LocateCentralDirectory(const ByteReader& zip) {
  auto end = FindEndRecord(zip);
  if (!end) return std::nullopt;
  const std::uint16_t disk = zip.Read16(*end + 4), directoryDisk = zip.Read16(*end + 6);
  const std::uint16_t entriesHere = zip.Read16(*end + 8), entries = zip.Read16(*end + 10);
  const std::uint32_t offset = zip.Read32(*end + 16);
  if (disk == 0xFFFF || entries == 0xFFFF || offset == 0xFFFFFFFF) {
    if (auto zip64 = ReadZip64Directory(zip, *end)) return zip64;
  }
  if (disk != 0 || directoryDisk != 0 || entriesHere != entries) return std::nullopt;
  return CentralDirectory{offset, entries};
}

bool IsDotsAndBlanks(std::string_view segment) {
  return std::count(segment.begin(), segment.end(), '.') >= 2 &&
         segment.find_first_not_of(". ") == std::string_view::npos;
}

}  // namespace

std::optional<std::vector<std::string>> ReadZipEntryNames(std::span<const std::uint8_t> archive) {
  const ByteReader zip(archive);
  auto directory = LocateCentralDirectory(zip);
  if (!directory) return std::nullopt;
  std::vector<std::string> names;
  std::uint64_t at = directory->offset;
  // The unpacker reads headers one after the other for as long as their signature
  // follows, then insists on the recorded count; so does this.
  while (zip.Has(at, 4) && zip.Read32(at) == kCentralHeaderSignature) {
    if (!zip.Has(at, kCentralHeaderSize)) return std::nullopt;
    const std::uint64_t nameSize = zip.Read16(at + 28);
    const std::uint64_t extraSize = zip.Read16(at + 30);
    const std::uint64_t commentSize = zip.Read16(at + 32);
    const std::uint64_t headerSize = kCentralHeaderSize + nameSize + extraSize + commentSize;
    if (!zip.Has(at, headerSize)) return std::nullopt;
    names.push_back(zip.Text(at + kCentralHeaderSize, nameSize));
    at += headerSize;
  }
  if (names.size() != directory->entryCount) return std::nullopt;
  return names;
}

bool IsSafeZipEntryName(std::string_view name) {
  if (name.empty() || name.front() == '/' || name.front() == '\\' || name.front() == ' ') return false;
  auto isControl = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; };
  if (name.find(':') != std::string_view::npos || std::any_of(name.begin(), name.end(), isControl)) return false;
  for (size_t start = 0; start <= name.size();) {
    size_t end = name.find_first_of("/\\", start);
    if (end == std::string_view::npos) end = name.size();
    if (IsDotsAndBlanks(name.substr(start, end - start))) return false;
    start = end + 1;
  }
  return true;
}

bool IsSafeToUnpack(std::span<const std::uint8_t> archive) {
  auto names = ReadZipEntryNames(archive);
  return names && std::all_of(names->begin(), names->end(), [](const std::string& name) { return IsSafeZipEntryName(name); });
}

}  // namespace qm

#include "help/ChmContainerCheck.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "help/LittleEndian.h"

namespace {

constexpr std::size_t kItsfV2HeaderSize = 0x58;
constexpr std::size_t kItsfV3HeaderSize = 0x60;
constexpr std::size_t kItspHeaderSize = 0x54;
constexpr std::size_t kControlDataSize = 0x18;
constexpr std::size_t kResetTableHeaderSize = 0x28;
constexpr std::uint64_t kLzxFrame = 0x8000;

constexpr std::size_t kListingHeaderSize = 0x14;
constexpr std::size_t kIndexHeaderSize = 0x08;
constexpr std::uint64_t kMaxNameLength = 512;
constexpr std::uint32_t kNone = 0xffffffffu;
// The decompressor's input buffer holds a frame plus this slack.
constexpr std::uint64_t kMaxCompressedFrame = kLzxFrame + 6144;

const std::string_view kControlDataName = "::DataSpace/Storage/MSCompressed/ControlData";
const std::string_view kContentName = "::DataSpace/Storage/MSCompressed/Content";
const std::string_view kResetTableName =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";

bool IsPowerOfTwo(std::uint32_t value)
{
    return value != 0 && (value & (value - 1)) == 0;
}

// The container's variable-length numbers: 7 bits a byte, high bit set on
// all but the last. Fails if the number runs past `end` or past 64 bits.
std::optional<std::uint64_t> ReadEncodedInt(std::string_view chunk, std::size_t& at, std::size_t end)
{
    std::uint64_t value = 0;
    for (int used = 0; at < end && used < 9; ++used) {
        const unsigned char byte = static_cast<unsigned char>(chunk[at++]);
        value = (value << 7) | (byte & 0x7f);
        if (!(byte & 0x80))
            return value;
    }
    return std::nullopt;
}

std::optional<std::string_view> ReadName(std::string_view chunk, std::size_t& at, std::size_t end)
{
    const auto length = ReadEncodedInt(chunk, at, end);
    if (!length || *length > kMaxNameLength || *length > end - at)
        return std::nullopt;
    const std::string_view name = chunk.substr(at, std::size_t(*length));
    at += std::size_t(*length);
    return name;
}

struct Layout {
    std::uint64_t dataOffset = 0;
    std::uint64_t chunksOffset = 0;
    std::uint32_t chunkLength = 0;
    std::uint32_t chunkCount = 0;
    std::uint32_t firstListingChunk = 0;
};

Layout ReadLayout(std::string_view file)
{
    Layout layout;
    const std::uint32_t version = ReadU32(file, 4);
    const std::uint64_t dirOffset = ReadU64(file, 0x48);
    layout.dataOffset = version == 3 ? ReadU64(file, 0x58) : dirOffset + ReadU64(file, 0x50);
    layout.chunksOffset = dirOffset + ReadU32(file, dirOffset + 8);
    layout.chunkLength = ReadU32(file, dirOffset + 0x10);
    layout.firstListingChunk = ReadU32(file, dirOffset + 0x20);
    layout.chunkCount = ReadU32(file, dirOffset + 0x2c);
    return layout;
}

bool ListingChunkPlausible(std::string_view chunk, std::vector<ChmDirectoryEntry>& entries)
{
    const std::uint32_t freeSpace = ReadU32(chunk, 4);
    if (freeSpace > chunk.size() - kListingHeaderSize)
        return false;
    const std::size_t end = chunk.size() - freeSpace;
    std::size_t at = kListingHeaderSize;
    while (at < end) {
        const auto name = ReadName(chunk, at, end);
        if (!name)
            return false;
        const auto space = ReadEncodedInt(chunk, at, end);
        const auto start = space ? ReadEncodedInt(chunk, at, end) : std::nullopt;
        const auto length = start ? ReadEncodedInt(chunk, at, end) : std::nullopt;
        if (!length)
            return false;
        entries.push_back({*name, *space, *start, *length});
    }
    return true;
}

bool IndexChunkPlausible(std::string_view chunk, std::uint32_t ownNumber)
{
    const std::uint32_t freeSpace = ReadU32(chunk, 4);
    if (freeSpace > chunk.size() - kIndexHeaderSize)
        return false;
    const std::size_t end = chunk.size() - freeSpace;
    std::size_t at = kIndexHeaderSize;
    while (at < end) {
        const auto name = ReadName(chunk, at, end);
        const auto child = name ? ReadEncodedInt(chunk, at, end) : std::nullopt;
        // Children come before their index chunk, so a lookup always ends.
        if (!child || *child >= ownNumber)
            return false;
    }
    return true;
}

const ChmDirectoryEntry* FindUnique(const std::vector<ChmDirectoryEntry>& entries, std::string_view name)
{
    const ChmDirectoryEntry* found = nullptr;
    for (const ChmDirectoryEntry& entry : entries) {
        if (entry.name.size() != name.size()
            || !std::equal(name.begin(), name.end(), entry.name.begin(), [](char a, char b) {
                   return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == (b >= 'A' && b <= 'Z' ? b - 'A' + 'a' : b);
               }))
            continue;
        if (found)
            return nullptr;
        found = &entry;
    }
    return found;
}

} // namespace

bool ChmHeadersPlausible(std::string_view file)
{
    const std::uint64_t size = file.size();
    if (size < kItsfV2HeaderSize || file.substr(0, 4) != "ITSF")
        return false;
    const std::uint32_t version = ReadU32(file, 4);
    const std::uint32_t headerLength = ReadU32(file, 8);
    if (version != 2 && version != 3)
        return false;
    const std::size_t needed = version == 3 ? kItsfV3HeaderSize : kItsfV2HeaderSize;
    if (headerLength < needed || headerLength > size)
        return false;

    const std::uint64_t dirOffset = ReadU64(file, 0x48);
    const std::uint64_t dirLength = ReadU64(file, 0x50);
    if (dirOffset > size || dirLength > size - dirOffset || dirLength < kItspHeaderSize)
        return false;
    const std::uint64_t dataOffset = version == 3 ? ReadU64(file, 0x58) : dirOffset + dirLength;
    if (dataOffset > size)
        return false;

    const std::string_view dir = file.substr(dirOffset, dirLength);
    if (dir.substr(0, 4) != "ITSP")
        return false;
    const std::uint32_t dirHeaderLength = ReadU32(dir, 8);
    const std::uint32_t blockLength = ReadU32(dir, 0x10);
    const std::uint32_t rootChunk = ReadU32(dir, 0x1c);
    const std::uint32_t firstListingChunk = ReadU32(dir, 0x20);
    const std::uint32_t blockCount = ReadU32(dir, 0x2c);
    if (dirHeaderLength < kItspHeaderSize || dirHeaderLength > dirLength || blockLength == 0)
        return false;
    // The library seeks to these chunks by number; -1 means no index tree.
    if (firstListingChunk >= blockCount || (rootChunk != 0xffffffffu && rootChunk >= blockCount))
        return false;
    // Both factors are 32-bit, so the product cannot overflow 64 bits.
    return std::uint64_t(blockLength) * blockCount <= dirLength - dirHeaderLength;
}

bool LzxControlDataPlausible(std::string_view controlData)
{
    if (controlData.size() < kControlDataSize || controlData.substr(4, 4) != "LZXC")
        return false;
    const std::uint32_t version = ReadU32(controlData, 8);
    std::uint64_t resetInterval = ReadU32(controlData, 12);
    std::uint64_t windowSize = ReadU32(controlData, 16);
    const std::uint32_t windowsPerReset = ReadU32(controlData, 20);
    // Version 2 counts in units of 32 KiB.
    if (version == 2) {
        resetInterval *= kLzxFrame;
        windowSize *= kLzxFrame;
    } else if (version != 1) {
        return false;
    }
    if (windowSize < (1u << 15) || windowSize > (1u << 21) || !IsPowerOfTwo(std::uint32_t(windowSize)))
        return false;
    const std::uint64_t halfWindow = windowSize / 2;
    return resetInterval >= halfWindow && resetInterval % halfWindow == 0 && resetInterval <= 0xffffffffu
           && windowsPerReset >= 1;
}

bool LzxResetTablePlausible(std::string_view resetTable)
{
    if (resetTable.size() < kResetTableHeaderSize || ReadU32(resetTable, 0) != 2)
        return false;
    const std::uint64_t blockCount = ReadU32(resetTable, 4);
    const std::uint64_t tableOffset = ReadU32(resetTable, 12);
    const std::uint64_t blockLength = ReadU64(resetTable, 32);
    if (blockLength != kLzxFrame || tableOffset < kResetTableHeaderSize || tableOffset > resetTable.size())
        return false;
    return blockCount * 8 <= resetTable.size() - tableOffset;
}

bool ChmDirectoryPlausible(std::string_view file, std::vector<ChmDirectoryEntry>& entries)
{
    entries.clear();
    if (!ChmHeadersPlausible(file))
        return false;
    const Layout layout = ReadLayout(file);
    std::vector<bool> isListing(layout.chunkCount, false);
    for (std::uint32_t number = 0; number < layout.chunkCount; ++number) {
        const std::string_view chunk =
            file.substr(layout.chunksOffset + std::uint64_t(number) * layout.chunkLength, layout.chunkLength);
        if (chunk.size() >= kListingHeaderSize && chunk.substr(0, 4) == "PMGL") {
            if (!ListingChunkPlausible(chunk, entries))
                return false;
            isListing[number] = true;
        } else if (chunk.size() >= kIndexHeaderSize && chunk.substr(0, 4) == "PMGI") {
            if (!IndexChunkPlausible(chunk, number))
                return false;
        } else {
            return false;
        }
    }
    // The chain of listing chunks that enumeration follows must end.
    std::vector<bool> visited(layout.chunkCount, false);
    for (std::uint32_t number = layout.firstListingChunk; number != kNone;) {
        if (number >= layout.chunkCount || !isListing[number] || visited[number])
            return false;
        visited[number] = true;
        number = ReadU32(file, layout.chunksOffset + std::uint64_t(number) * layout.chunkLength + 0x10);
    }
    const std::uint64_t dataSize = file.size() - layout.dataOffset;
    for (const ChmDirectoryEntry& entry : entries) {
        if (entry.space > 1 || (entry.space == 0 && (entry.start > dataSize || entry.length > dataSize - entry.start)))
            return false;
    }
    return true;
}

bool ChmContainerPlausible(std::string_view file)
{
    std::vector<ChmDirectoryEntry> entries;
    if (!ChmDirectoryPlausible(file, entries))
        return false;
    const std::uint64_t dataOffset = ReadLayout(file).dataOffset;
    const ChmDirectoryEntry* control = FindUnique(entries, kControlDataName);
    const ChmDirectoryEntry* reset = FindUnique(entries, kResetTableName);
    const ChmDirectoryEntry* content = FindUnique(entries, kContentName);
    // The library reads these three from the uncompressed space.
    if (!control || !reset || !content || control->space != 0 || reset->space != 0 || content->space != 0)
        return false;
    const std::string_view controlData = file.substr(dataOffset + control->start, control->length);
    const std::string_view resetTable = file.substr(dataOffset + reset->start, reset->length);
    if (!LzxControlDataPlausible(controlData) || !LzxResetTablePlausible(resetTable))
        return false;

    // Every compressed frame lies inside the content and fits the decoder's buffer.
    const std::uint64_t frames = ReadU32(resetTable, 4);
    const std::uint64_t tableOffset = ReadU32(resetTable, 12);
    const std::uint64_t uncompressedLength = ReadU64(resetTable, 16);
    const std::uint64_t compressedLength = ReadU64(resetTable, 24);
    if (compressedLength > content->length || uncompressedLength > frames * kLzxFrame)
        return false;
    for (std::uint64_t k = 0; k < frames; ++k) {
        const std::uint64_t from = ReadU64(resetTable, tableOffset + 8 * k);
        const std::uint64_t to = k + 1 < frames ? ReadU64(resetTable, tableOffset + 8 * (k + 1)) : compressedLength;
        if (from > to || to > compressedLength || to - from > kMaxCompressedFrame)
            return false;
    }
    // Compressed objects lie inside the uncompressed length of the content.
    for (const ChmDirectoryEntry& entry : entries) {
        if (entry.space == 1 && (entry.start > uncompressedLength || entry.length > uncompressedLength - entry.start))
            return false;
    }
    return true;
}

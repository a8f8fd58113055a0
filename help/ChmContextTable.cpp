#include "help/ChmContextTable.h"

#include <algorithm>
#include <unordered_map>

namespace {

std::uint32_t ReadU32(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

std::uint64_t ReadU64(std::string_view bytes, std::size_t at)
{
    return ReadU32(bytes, at) | (std::uint64_t(ReadU32(bytes, at + 4)) << 32);
}

std::string AsciiLower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : char(c); });
    return lower;
}

using ObjectIndex = std::unordered_map<std::string, std::string>;

ObjectIndex IndexObjects(const std::vector<std::string>& objectNames)
{
    ObjectIndex index;
    for (const std::string& name : objectNames)
        index.emplace(AsciiLower(name), name);
    return index;
}

std::string Resolve(std::string_view recordedPath, const ObjectIndex& index)
{
    std::string path(recordedPath);
    std::replace(path.begin(), path.end(), '\\', '/');
    // A drive letter ("C:") is a leading folder like any other.
    if (path.size() >= 2 && path[1] == ':')
        path.erase(0, 2);
    if (path.empty() || path.front() != '/')
        path.insert(path.begin(), '/');
    path = AsciiLower(path);

    std::size_t start = 0;
    while (start < path.size()) {
        const std::string candidate = path.substr(start);
        if (candidate.size() > 1) {
            auto found = index.find(candidate);
            if (found != index.end())
                return found->second;
        }
        const std::size_t next = path.find('/', start + 1);
        if (next == std::string::npos)
            break;
        start = next;
    }
    return {};
}

constexpr std::size_t kItsfV2HeaderSize = 0x58;
constexpr std::size_t kItsfV3HeaderSize = 0x60;
constexpr std::size_t kItspHeaderSize = 0x54;

} // namespace

std::string ResolveTopicObject(std::string_view recordedPath, const std::vector<std::string>& objectNames)
{
    return Resolve(recordedPath, IndexObjects(objectNames));
}

std::optional<std::vector<ChmContextEntry>> ReadContextTable(std::string_view ivb, std::string_view strings,
                                                             const std::vector<std::string>& objectNames)
{
    if (ivb.size() < 4)
        return std::nullopt;
    const std::uint32_t pairBytes = ReadU32(ivb, 0);
    if (pairBytes % 8 != 0 || pairBytes > ivb.size() - 4)
        return std::nullopt;

    const ObjectIndex index = IndexObjects(objectNames);
    std::vector<ChmContextEntry> entries;
    for (std::size_t at = 4; at < 4 + std::size_t(pairBytes); at += 8) {
        const std::uint32_t context = ReadU32(ivb, at);
        const std::uint32_t offset = ReadU32(ivb, at + 4);
        if (offset >= strings.size())
            return std::nullopt;
        const std::size_t end = strings.find('\0', offset);
        if (end == std::string_view::npos)
            return std::nullopt;
        const bool known = std::any_of(entries.begin(), entries.end(),
                                       [context](const ChmContextEntry& e) { return e.context == context; });
        if (known)
            continue;
        entries.push_back({context, Resolve(strings.substr(offset, end - offset), index)});
    }
    return entries;
}

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

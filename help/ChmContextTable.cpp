#include "help/ChmContextTable.h"

#include <algorithm>
#include <unordered_map>

#include "help/LittleEndian.h"

namespace {

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

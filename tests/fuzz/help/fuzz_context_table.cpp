// Drives the help file's table reader and the decompressor parameter checks
// with arbitrary bytes, as a replaced help file could hold them. Input layout: a 16-bit
// little-endian length n, then n bytes of the context table object, then the
// strings object; the same two parts also stand in for the decompressor's
// control data and reset table. The object list is fixed, with names like
// those of the game's own file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "help/ChmContainerCheck.h"
#include "help/ChmContextTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::vector<std::string> objects = {"/de.html", "/en.html", "/rules.css", "/board-start.png",
                                                     "/board-match.png", "/sub/topic.html"};
    if (size < 2)
        return 0;
    const std::size_t ivbLength = std::min<std::size_t>(data[0] | (std::size_t(data[1]) << 8), size - 2);
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 2, size - 2);
    const std::string_view ivb = bytes.substr(0, ivbLength);
    const std::string_view strings = bytes.substr(ivbLength);

    if (auto table = ReadContextTable(ivb, strings, objects)) {
        for (const ChmContextEntry& entry : *table) {
            // A resolved topic is always one of the file's objects.
            if (!entry.topic.empty() && std::find(objects.begin(), objects.end(), entry.topic) == objects.end())
                __builtin_trap();
        }
    }
    ResolveTopicObject(strings, objects);
    LzxControlDataPlausible(ivb);
    LzxResetTablePlausible(strings);
    // The whole input also stands in for a help file's first bytes.
    ChmContainerPlausible(bytes);
    return 0;
}

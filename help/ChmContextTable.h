#pragma once
// Reading the context-number table of a compiled help file from raw bytes.
//
// The help file lies beside the program and anyone can replace it, so every
// count, offset and length read from it is checked against the bytes actually
// there. These functions use nothing but the standard library: they are the
// part of the help viewer that a fuzzer drives directly.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ChmContextEntry {
    std::uint32_t context = 0;
    // The object of the file that holds the topic ("/de.html"); empty when the
    // file names a topic it does not contain.
    std::string topic;
};

// Reads the table that ties context numbers to topics. `ivb` is the "/#IVB"
// object: a 32-bit little-endian byte count, then that many bytes of pairs
// (context number, offset into "/#STRINGS"). `strings` is the "/#STRINGS"
// object: NUL-terminated paths. `objectNames` are the file's objects.
// Returns nothing when the table is damaged (a count or offset pointing past
// the data, a path without its terminator). A context number listed twice
// keeps its first topic.
std::optional<std::vector<ChmContextEntry>> ReadContextTable(std::string_view ivb, std::string_view strings,
                                                             const std::vector<std::string>& objectNames);

// The compiler records each topic under the path it had on the build machine
// ("/home/x/build/help/chm/de.html", or "C:\build\de.html"). Leading folders
// are dropped until what is left names an object of the file, compared without
// regard to ASCII case. Returns that object's name, or "" if none matches.
std::string ResolveTopicObject(std::string_view recordedPath, const std::vector<std::string>& objectNames);

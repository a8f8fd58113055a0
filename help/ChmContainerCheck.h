#pragma once
// Checks on the structures of a compiled help file that the CHM library
// trusts without checking them itself: the container headers, and the
// parameters of its LZX decompressor. A replaced help file with bad values
// there would crash the library (a null decoder for an odd window size, a
// division by a zero block length), so the help viewer runs these first.
// Pure functions over bytes, driven by the fuzzer too. The layout follows the
// ITSF/ITSP container as the CHM library reads it.
#include <cstdint>
#include <string_view>
#include <vector>

// Everything below, on the whole file, before the library opens it: the
// headers, every directory chunk, and the decompressor's parameters as the
// directory locates them.
bool ChmContainerPlausible(std::string_view file);

// The whole file: the "ITSF" header and the "ITSP" directory header it points
// to have known signatures and versions, and the directory and data sections
// lie inside the file.
bool ChmHeadersPlausible(std::string_view file);

// The object "::DataSpace/Storage/MSCompressed/ControlData": an "LZXC" block
// whose window is 2^15 .. 2^21 bytes, with a reset interval that is a whole
// number of half windows, and at least one window per reset.
bool LzxControlDataPlausible(std::string_view controlData);

// The object ".../InstanceData/ResetTable": version 2, blocks of 32 KiB (the
// LZX frame), and a table of block offsets that lies inside the object.
bool LzxResetTablePlausible(std::string_view resetTable);

// One entry of a directory listing: where an object's bytes lie.
struct ChmDirectoryEntry {
    std::string_view name;
    std::uint64_t space = 0;
    std::uint64_t start = 0;
    std::uint64_t length = 0;
};

// Every chunk of the directory is a listing ("PMGL") or index ("PMGI") chunk
// whose entries lie whole inside it; index entries point to earlier chunks
// and the listing chain has no loop, so no lookup can run away. Fills
// `entries` with the listed objects.
bool ChmDirectoryPlausible(std::string_view file, std::vector<ChmDirectoryEntry>& entries);

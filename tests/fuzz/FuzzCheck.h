#pragma once
// What the fuzz targets share: a failed property stops the run loudly (the
// fuzzer keeps the input as a crash), and input bytes become texts the way a
// settings store could hand them over.
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

inline void FuzzRequire(bool holds, const char* property)
{
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

// The first byte picks how the rest is read: as UTF-8 (invalid sequences
// become replacement characters, as when the store decodes a damaged file)
// or as raw UTF-16 code units (lone surrogates included).
inline QString FuzzText(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return QString();
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    const qsizetype length = qsizetype(size - 1);
    if (data[0] & 1)
        return QString::fromUtf8(bytes, length);
    QString text(length / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(char16_t(std::uint8_t(bytes[2 * i]) | (std::uint8_t(bytes[2 * i + 1]) << 8)));
    return text;
}

// A little-endian 32-bit number from up to four bytes.
inline std::int32_t FuzzInt32(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4 && i < size; ++i)
        value |= std::uint32_t(data[i]) << (8 * i);
    return std::int32_t(value);
}

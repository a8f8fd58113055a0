#include "cipher/qt/ChiffreQString.h"

#include <QList>

namespace {

std::u32string FromQString(const QString& text)
{
    const QList<uint> ucs4 = text.toUcs4();
    return std::u32string(ucs4.cbegin(), ucs4.cend());
}

QString ToQString(const std::u32string& text)
{
    // Not QString::fromUcs4: it takes a leading U+FEFF for a byte order mark
    // and drops it, so a text would come back one character short.
    QString result;
    result.reserve(static_cast<qsizetype>(text.size()));
    for (const char32_t ch : text) {
        if (ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF))
            result.append(QChar(QChar::ReplacementCharacter));
        else
            result.append(QStringView(QChar::fromUcs4(ch)));
    }
    return result;
}

} // namespace

void Init(TChiffre& cipher, const QString& alphabet, std::int64_t key)
{
    cipher.Init(FromQString(alphabet), key);
}

QString Encipher(const TChiffre& cipher, const QString& text)
{
    return ToQString(cipher.Encipher(FromQString(text)));
}

QString Decipher(const TChiffre& cipher, const QString& text)
{
    return ToQString(cipher.Decipher(FromQString(text)));
}

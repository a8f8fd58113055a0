#include "settings/IntegerText.h"

#include <limits>

namespace {

int DigitValue(QChar ch, int base)
{
    const char16_t c = ch.unicode();
    int value = -1;
    if (c >= u'0' && c <= u'9')
        value = c - u'0';
    else if (c >= u'a' && c <= u'f')
        value = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        value = c - u'A' + 10;
    return value < base ? value : -1;
}

} // namespace

std::optional<int> ParseIntegerText(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;

    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }

    int base = 10;
    if (i < text.size() && text[i] == u'$') {
        base = 16;
        ++i;
    }

    if (i == text.size())
        return std::nullopt;

    // Accumulated as a magnitude in 64 bits and checked against the limit of
    // its sign at every digit, so that long digit strings cannot overflow.
    const long long limit = negative ? -static_cast<long long>(std::numeric_limits<int>::min())
                                     : std::numeric_limits<int>::max();
    long long magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0)
            return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return std::nullopt;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

int StrToIntDef(QStringView text, int def)
{
    return ParseIntegerText(text).value_or(def);
}

// The reader of whole numbers in the store ("tongue", "backmode", the parts
// of "MainForm", and the booleans "sound" and "music", which are read as
// numbers). Checked against a second, deliberately simple reading of the
// same rules, and against the text the store writes for every number.
#include "settings/IntegerText.h"
#include "tests/fuzz/FuzzCheck.h"

#include <optional>

namespace {

// Blanks, a sign, an optional "$", then digits of that base and nothing
// else; the value must fit in 32 bits. Digits are taken as plain ASCII only.
std::optional<long long> ReferenceValue(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    long long sign = 1;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        sign = text[i++] == u'-' ? -1 : 1;
    int base = 10;
    if (i < text.size() && text[i] == u'$') {
        base = 16;
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch.unicode() > 127)
            return std::nullopt;
        const int digit = QStringLiteral("0123456789abcdef").indexOf(ch.toLower());
        if (digit < 0 || digit >= base)
            return std::nullopt;
        value = value * base + digit;
        if (value > 2147483648LL)
            return std::nullopt;
    }
    value *= sign;
    if (value < -2147483648LL || value > 2147483647LL)
        return std::nullopt;
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = FuzzText(data, size);
    const std::optional<int> parsed = ParseIntegerText(text);
    const std::optional<long long> expected = ReferenceValue(text);
    FuzzRequire(parsed.has_value() == expected.has_value(), "accepts exactly the valid number texts");
    if (parsed)
        FuzzRequire(*parsed == *expected, "gives the value the text stands for");
    FuzzRequire(StrToIntDef(text, -77) == (parsed ? *parsed : -77), "the default stands in for invalid text");
    // Booleans are numbers with 1 or 0 as default: never both true and false.
    const bool withTrue = StrToIntDef(text, 1) != 0;
    const bool withFalse = StrToIntDef(text, 0) != 0;
    FuzzRequire(!parsed || withTrue == withFalse, "a valid boolean does not depend on its default");

    // What the store writes for a number reads back as that number, in
    // decimal and in the "$" hexadecimal form.
    const std::int32_t n = FuzzInt32(data, size);
    FuzzRequire(ParseIntegerText(QString::number(n)) == n, "decimal text round trip");
    const long long magnitude = n < 0 ? -static_cast<long long>(n) : n;
    const QString hex = (n < 0 ? QStringLiteral("-$") : QStringLiteral("$")) + QString::number(magnitude, 16);
    FuzzRequire(ParseIntegerText(hex) == n, "hexadecimal text round trip");
    return 0;
}

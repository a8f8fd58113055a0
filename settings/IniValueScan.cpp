#include "settings/IniValueScan.h"

#include <cstdint>
#include <string>
#include <string_view>

// Follows the store reader's rules for lines and values closely enough to see
// what each value (and each element of a comma-separated list) starts with
// once unescaped: that is all the reader looks at before decoding binary data.
namespace {

struct Line {
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype equals = -1;
};

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsNewline(char c)
{
    return c == '\n' || c == '\r';
}

// The next logical line: a newline inside quotes or after a backslash does
// not end it, and a ';' outside quotes starts a comment that does.
bool NextLine(QByteArrayView text, qsizetype& pos, Line& line)
{
    const qsizetype size = text.size();
    bool inQuotes = false;
    line.equals = -1;
    qsizetype start = pos;
    while (start < size && IsSpace(text[start]))
        ++start;
    qsizetype i = start;
    while (i < size) {
        const char ch = text[i++];
        if (ch == '=') {
            if (!inQuotes && line.equals == -1)
                line.equals = i - 1;
        } else if (IsNewline(ch)) {
            if (i == start + 1) {
                ++start;
            } else if (!inQuotes) {
                --i;
                break;
            }
        } else if (ch == '\\') {
            if (i < size) {
                const char next = text[i++];
                if (i < size && IsNewline(next) && IsNewline(text[i]) && text[i] != next)
                    ++i;
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else if (ch == ';') {
            if (i == start + 1) {
                while (i < size && !IsNewline(text[i]))
                    ++i;
                start = i;
            } else if (!inQuotes) {
                --i;
                break;
            }
        }
    }
    pos = i;
    line.start = start;
    line.length = i - start;
    return line.length > 0;
}

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    return (c | 0x20) - 'a' + 10;
}

bool IsOctalDigit(char c)
{
    return c >= '0' && c <= '7';
}

char16_t SimpleEscape(char c)
{
    switch (c) {
    case 'a': return u'\a';
    case 'b': return u'\b';
    case 'f': return u'\f';
    case 'n': return u'\n';
    case 'r': return u'\r';
    case 't': return u'\t';
    case 'v': return u'\v';
    case '"': return u'"';
    case '?': return u'?';
    case '\'': return u'\'';
    case '\\': return u'\\';
    default: return 0;
    }
}

// The beginning of one unescaped list element: long enough to tell.
class ElementStart
{
public:
    void Add(char16_t c)
    {
        if (text_.size() < Kept)
            text_.push_back(c);
    }
    bool IsBinary() const
    {
        const std::u16string_view text(text_);
        return text.starts_with(u"@Variant(") || text.starts_with(u"@DateTime(");
    }
    void Clear() { text_.clear(); }

private:
    static constexpr std::size_t Kept = 10;
    std::u16string text_;
};

// Whether an element of the value text[from, to) unescapes to binary data.
bool ValueHoldsBinary(QByteArrayView text, qsizetype from, qsizetype to)
{
    ElementStart element;
    bool inQuotes = false;
    qsizetype i = from;
    bool skipSpaces = true;
    while (true) {
        if (skipSpaces) {
            while (i < to && (text[i] == ' ' || text[i] == '\t'))
                ++i;
            skipSpaces = false;
        }
        if (i >= to)
            break;
        const char ch = text[i];
        if (ch == '\\') {
            if (++i >= to)
                break;
            const char escaped = text[i++];
            if (const char16_t simple = SimpleEscape(escaped)) {
                element.Add(simple);
            } else if (escaped == 'x') {
                if (i < to && IsHexDigit(text[i])) {
                    std::uint32_t value = 0;
                    while (i < to && IsHexDigit(text[i]))
                        value = (value << 4) + std::uint32_t(HexValue(text[i++]));
                    element.Add(char16_t(value & 0xffff));
                }
            } else if (IsOctalDigit(escaped)) {
                std::uint32_t value = std::uint32_t(escaped - '0');
                while (i < to && IsOctalDigit(text[i]))
                    value = (value << 3) + std::uint32_t(text[i++] - '0');
                element.Add(char16_t(value & 0xffff));
            } else if (IsNewline(escaped)) {
                if (i < to && IsNewline(text[i]) && text[i] != escaped)
                    ++i;
            }
            // Any other escaped character is dropped.
        } else if (ch == '"') {
            ++i;
            inQuotes = !inQuotes;
            skipSpaces = !inQuotes;
        } else if (ch == ',' && !inQuotes) {
            if (element.IsBinary())
                return true;
            element.Clear();
            ++i;
            skipSpaces = true;
        } else {
            // Bytes beyond ASCII decode to characters that match nothing here.
            element.Add(static_cast<unsigned char>(ch) < 0x80 ? char16_t(ch) : u'\xfffd');
            ++i;
        }
    }
    return element.IsBinary();
}

} // namespace

namespace {

// Calls `binaryLine` with the place of each line whose value, or an element
// of it, would be decoded as binary data; stops early when it returns false.
template <typename Visit>
void ForEachBinaryLine(QByteArrayView iniText, Visit binaryLine)
{
    qsizetype pos = iniText.startsWith("\xef\xbb\xbf") ? 3 : 0;
    Line line;
    while (NextLine(iniText, pos, line)) {
        // Section headers hold no value; every other line with an '=' does,
        // in whichever section it stands.
        if (iniText[line.start] == '[' || line.equals < 0)
            continue;
        if (ValueHoldsBinary(iniText, line.equals + 1, line.start + line.length) && !binaryLine(line))
            return;
    }
}

} // namespace

bool HoldsBinaryValue(QByteArrayView iniText)
{
    bool found = false;
    ForEachBinaryLine(iniText, [&found](const Line&) {
        found = true;
        return false;
    });
    return found;
}

QByteArray WithoutBinaryValues(QByteArrayView iniText)
{
    QByteArray kept;
    qsizetype copiedUpTo = 0;
    ForEachBinaryLine(iniText, [&](const Line& line) {
        kept += iniText.sliced(copiedUpTo, line.start - copiedUpTo);
        copiedUpTo = line.start + line.length;
        return true;
    });
    kept += iniText.sliced(copiedUpTo);
    return kept;
}

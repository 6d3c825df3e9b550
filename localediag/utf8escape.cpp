#include "localediag/localediag.h"

#include "localecodec/localecodec.h"
#include "platform/platform.h"

namespace {

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

void writeLine(QByteArray bytes)
{
    bytes += '\n';
    writeStandardOutput(bytes.constData(), bytes.size());
}

// The operand as typed: its bytes as given when it is in the locale's
// encoding; otherwise the text, in that encoding or to a console in Unicode.
void writeOperandLine(const char *operand)
{
    if (!commandLineIsUtf8())
        writeLine(QByteArray(operand));
    else
        writeStandardOutputText(operandToUnicode(operand) + u'\n');
}

} // namespace

QByteArray escapeForCSource(const QByteArray &utf8)
{
    static const char digits[] = "0123456789abcdef";
    QByteArray escaped;
    const qsizetype length = qstrnlen(utf8.constData(), utf8.size());
    escaped.reserve(length * 4);
    for (qsizetype i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte >= 0x20 && byte <= 0x7e && !isHexDigit(char(byte))) {
            escaped += char(byte);
            continue;
        }
        escaped += "\\x";
        if (byte >= 0x10)
            escaped += digits[byte >> 4];
        escaped += digits[byte & 0xf];
    }
    return escaped;
}

void printUtf8Escaped(const char *operand)
{
    writeOperandLine(operand);
    writeLine(escapeForCSource(operandToUnicode(operand).toUtf8()));
}

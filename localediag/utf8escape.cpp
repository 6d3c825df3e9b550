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
    writeLine(QByteArray(operand));
    writeLine(escapeForCSource(localToUnicode(operand).toUtf8()));
}

#include "localecodec/localecodec.h"

#include "platform/platform.h"

#include <QStringEncoder>
#include <QTextCodec>

#include <climits>
#include <cstring>

namespace {

enum class Conversion { Utf8, Codec, Latin1 };

Conversion conversion = Conversion::Utf8;
QTextCodec *codec = nullptr;

bool isAsciiCodeset(const char *codeset)
{
    return std::strcmp(codeset, "ANSI_X3.4-1968") == 0 || std::strcmp(codeset, "ASCII") == 0;
}

bool isUtf8Codeset(const char *codeset)
{
    return qstricmp(codeset, "UTF-8") == 0 || qstricmp(codeset, "UTF8") == 0;
}

// Qt's codecs for multibyte encodings drop an incomplete sequence at the end
// of their input without a trace. Behind a line feed, which ends every
// sequence, they show it as a replacement character instead; the line feed
// is then taken off again.
QString decodeWithCodec(const char *text, qsizetype size)
{
    QByteArray terminated(text, size);
    terminated += '\n';
    QString decoded = codec->toUnicode(terminated);
    if (!decoded.endsWith(u'\n'))
        return codec->toUnicode(text, int(size));
    decoded.chop(1);
    return decoded;
}

} // namespace

void chooseLocaleCodec()
{
    chooseCodecForCodeset(localeCharsetName().constData());
}

void chooseCodecForCodeset(const char *codeset)
{
    codec = nullptr;
    if (!codeset || !*codeset || isAsciiCodeset(codeset) || isUtf8Codeset(codeset)) {
        // UTF-8 is converted by QString itself; its QTextCodec is looked up only
        // when a diagnostic asks for it.
        conversion = Conversion::Utf8;
        return;
    }
    codec = QTextCodec::codecForName(codeset);
    if (!codec)
        codec = fallbackLocaleCodec();
    conversion = codec ? Conversion::Codec : Conversion::Latin1;
}

QTextCodec *localeCodec()
{
    if (conversion == Conversion::Utf8 && !codec)
        codec = QTextCodec::codecForMib(106);
    return codec;
}

QString localToUnicode(const char *text, qsizetype size)
{
    if (!text)
        return QString();
    if (size < 0)
        size = qsizetype(std::strlen(text));
    switch (conversion) {
    case Conversion::Utf8:
        return QString::fromUtf8(text, size);
    case Conversion::Codec:
        return decodeWithCodec(text, qMin<qsizetype>(size, INT_MAX - 1));
    case Conversion::Latin1:
        break;
    }
    return QString::fromLatin1(text, size);
}

QByteArray unicodeToLocal(QStringView text)
{
    QByteArray bytes;
    appendLocal(text, &bytes);
    return bytes;
}

void appendLocal(QStringView text, QByteArray *out)
{
    switch (conversion) {
    case Conversion::Utf8: {
        // As the UTF-8 codec: a lone surrogate becomes U+FFFD.
        QStringEncoder encoder(QStringEncoder::Utf8, QStringConverter::Flag::Stateless);
        const qsizetype start = out->size();
        out->resize(start + encoder.requiredSpace(text.size()));
        char *end = encoder.appendToBuffer(out->data() + start, text);
        out->truncate(end - out->constData());
        return;
    }
    case Conversion::Codec:
        out->append(codec->fromUnicode(text));
        return;
    case Conversion::Latin1:
        out->append(text.toLatin1());
        return;
    }
}

QByteArray localToUtf8(const char *text)
{
    if (conversion == Conversion::Utf8)
        return QByteArray(text);
    return localToUnicode(text).toUtf8();
}

QString operandToUnicode(const char *operand)
{
    return commandLineIsUtf8() ? QString::fromUtf8(operand) : localToUnicode(operand);
}

QByteArray operandToUtf8(const char *operand)
{
    return commandLineIsUtf8() ? QByteArray(operand) : localToUtf8(operand);
}

bool writeStandardOutputText(QStringView text)
{
    if (standardOutputTakesUnicode())
        return writeStandardOutputUnicode(text);
    const QByteArray bytes = unicodeToLocal(text);
    return writeStandardOutput(bytes.constData(), bytes.size());
}

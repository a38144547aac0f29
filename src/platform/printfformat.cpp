#include "strings.h"

namespace glimmerix
{

namespace
{

struct ConversionSpec {
    bool leftAlign = false;
    bool zeroPad = false;
    bool plusSign = false;
    int width = 0;
    int precision = -1;
    QChar conversion;
};

QString pad(QString text, const ConversionSpec &conv, bool numeric)
{
    if (text.size() >= conv.width)
        return text;
    const qsizetype fill = conv.width - text.size();
    if (conv.leftAlign)
        return text + QString(fill, u' ');
    if (conv.zeroPad && numeric) {
        const qsizetype signLength = (text.startsWith(u'-') || text.startsWith(u'+')) ? 1 : 0;
        return text.left(signLength) + QString(fill, u'0') + text.mid(signLength);
    }
    return QString(fill, u' ') + text;
}

QString convert(const ConversionSpec &conv, const QString &arg)
{
    const char32_t c = conv.conversion.unicode();
    switch (c) {
    case 's': {
        QString text = conv.precision >= 0 ? arg.left(conv.precision) : arg;
        return pad(text, conv, false);
    }
    case 'c':
        return pad(arg.left(1), conv, false);
    case 'd':
    case 'i':
    case 'u': {
        bool ok = false;
        qlonglong value = arg.trimmed().toLongLong(&ok);
        if (!ok)
            value = qlonglong(arg.trimmed().toDouble());
        QString text = QString::number(value);
        if (conv.plusSign && value >= 0)
            text.prepend(u'+');
        return pad(text, conv, true);
    }
    case 'x':
    case 'X': {
        QString text = QString::number(arg.trimmed().toULongLong(), 16);
        return pad(c == 'X' ? text.toUpper() : text, conv, true);
    }
    case 'f':
    case 'g': {
        const double value = arg.trimmed().toDouble();
        QString text = c == 'f'
            ? QString::number(value, 'f', conv.precision < 0 ? 6 : conv.precision)
            : QString::number(value, 'g', conv.precision < 0 ? 6 : conv.precision);
        if (conv.plusSign && value >= 0)
            text.prepend(u'+');
        return pad(text, conv, true);
    }
    default:
        return QString();
    }
}

} // namespace

QString formatPrintf(const QString &format, const QStringList &args)
{
    QString out;
    out.reserve(format.size() + 32);
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] != u'%') {
            out += format[i];
            continue;
        }
        qsizetype j = i + 1;
        if (j < format.size() && format[j] == u'%') {
            out += u'%';
            i = j;
            continue;
        }
        ConversionSpec conv;
        for (; j < format.size(); ++j) {
            const QChar flag = format[j];
            if (flag == u'-')
                conv.leftAlign = true;
            else if (flag == u'0')
                conv.zeroPad = true;
            else if (flag == u'+')
                conv.plusSign = true;
            else if (flag != u' ' && flag != u'#')
                break;
        }
        for (; j < format.size() && format[j].isDigit(); ++j)
            conv.width = qMin(conv.width * 10 + format[j].digitValue(), 1000);
        if (j < format.size() && format[j] == u'.') {
            conv.precision = 0;
            for (++j; j < format.size() && format[j].isDigit(); ++j)
                conv.precision = qMin(conv.precision * 10 + format[j].digitValue(), 1000);
        }
        while (j < format.size() && (format[j] == u'l' || format[j] == u'h' || format[j] == u'I'))
            ++j;
        if (j >= format.size() || !QStringLiteral("sciduxXfg").contains(format[j])) {
            // Not a conversion we know: keep the text as it stands.
            out += format.mid(i, j - i + (j < format.size() ? 1 : 0));
            i = j;
            continue;
        }
        conv.conversion = format[j];
        out += convert(conv, next < args.size() ? args[next] : QString());
        ++next;
        i = j;
    }
    return out;
}

} // namespace glimmerix

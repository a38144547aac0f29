#include "strings.h"

namespace {

struct Spec {
    bool leftAlign = false;
    bool zeroPad = false;
    bool plusSign = false;
    int width = 0;
    int precision = -1;
    QChar conversion;
};

QString pad(QString text, const Spec &spec, bool numeric)
{
    if (text.size() >= spec.width)
        return text;
    const qsizetype fill = spec.width - text.size();
    if (spec.leftAlign)
        return text + QString(fill, u' ');
    if (spec.zeroPad && numeric) {
        const qsizetype signLength = (text.startsWith(u'-') || text.startsWith(u'+')) ? 1 : 0;
        return text.left(signLength) + QString(fill, u'0') + text.mid(signLength);
    }
    return QString(fill, u' ') + text;
}

QString convert(const Spec &spec, const QString &arg)
{
    const char32_t c = spec.conversion.unicode();
    switch (c) {
    case 's': {
        QString text = spec.precision >= 0 ? arg.left(spec.precision) : arg;
        return pad(text, spec, false);
    }
    case 'c':
        return pad(arg.left(1), spec, false);
    case 'd':
    case 'i':
    case 'u': {
        bool ok = false;
        qlonglong value = arg.trimmed().toLongLong(&ok);
        if (!ok)
            value = qlonglong(arg.trimmed().toDouble());
        QString text = QString::number(value);
        if (spec.plusSign && value >= 0)
            text.prepend(u'+');
        return pad(text, spec, true);
    }
    case 'x':
    case 'X': {
        QString text = QString::number(arg.trimmed().toULongLong(), 16);
        return pad(c == 'X' ? text.toUpper() : text, spec, true);
    }
    case 'f':
    case 'g': {
        const double value = arg.trimmed().toDouble();
        QString text = c == 'f' ? QString::number(value, 'f', spec.precision < 0 ? 6 : spec.precision)
                                : QString::number(value, 'g', spec.precision < 0 ? 6 : spec.precision);
        if (spec.plusSign && value >= 0)
            text.prepend(u'+');
        return pad(text, spec, true);
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
        Spec spec;
        for (; j < format.size(); ++j) {
            const QChar flag = format[j];
            if (flag == u'-')
                spec.leftAlign = true;
            else if (flag == u'0')
                spec.zeroPad = true;
            else if (flag == u'+')
                spec.plusSign = true;
            else if (flag != u' ' && flag != u'#')
                break;
        }
        for (; j < format.size() && format[j].isDigit(); ++j)
            spec.width = qMin(spec.width * 10 + format[j].digitValue(), 1000);
        if (j < format.size() && format[j] == u'.') {
            spec.precision = 0;
            for (++j; j < format.size() && format[j].isDigit(); ++j)
                spec.precision = qMin(spec.precision * 10 + format[j].digitValue(), 1000);
        }
        while (j < format.size() && (format[j] == u'l' || format[j] == u'h' || format[j] == u'I'))
            ++j;
        if (j >= format.size() || !QStringLiteral("sciduxXfg").contains(format[j])) {
            // Not a conversion we know: keep the text as it stands.
            out += format.mid(i, j - i + (j < format.size() ? 1 : 0));
            i = j;
            continue;
        }
        spec.conversion = format[j];
        out += convert(spec, next < args.size() ? args[next] : QString());
        ++next;
        i = j;
    }
    return out;
}

#include "wavetestsupport.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>

QByteArray chunk(const char *id, const QByteArray &body, qint64 sizeField)
{
    QByteArray bytes(id, 4);
    bytes.resize(8);
    qToLittleEndian<quint32>(quint32(sizeField < 0 ? body.size() : sizeField), bytes.data() + 4);
    bytes += body;
    if (body.size() & 1)
        bytes += '\0';
    return bytes;
}

QByteArray riff(const QByteArray &chunks, qint64 sizeField, const char *form)
{
    return chunk("RIFF", QByteArray(form, 4) + chunks, sizeField);
}

QByteArray formatChunk(const WaveFormat &format, int blockSize)
{
    return chunk("fmt ", format.toBlock(18).left(blockSize));
}

QString runTool(const QString &program, const QStringList &arguments)
{
    if (QStandardPaths::findExecutable(program).isEmpty())
        return {};
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return {};
    const QString out = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    return out.isEmpty() ? QStringLiteral("ok") : out;
}

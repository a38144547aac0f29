// Replay driver for fuzz targets in ordinary builds: runs every file of the corpus folders given
// on the command line, then a fixed number of deterministic mutations of each (bit flips, cuts,
// repeated and random bytes), so the test run exercises the parser on hostile input.

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>
#include <random>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace
{

void runOne(const QByteArray &input)
{
    LLVMFuzzerTestOneInput(
        reinterpret_cast<const uint8_t *>(input.constData()), size_t(input.size()));
}

QByteArray mutate(QByteArray input, std::mt19937 &random)
{
    const int kind = int(random() % 5);
    if (input.isEmpty())
        return QByteArray(int(random() % 64), char(random()));
    const qsizetype at = qsizetype(random() % quint32(input.size()));
    switch (kind) {
    case 0:
        input[at] = char(input[at] ^ (1 << (random() % 8)));
        break;
    case 1:
        input.truncate(at);
        break;
    case 2:
        input[at] = char(random());
        break;
    case 3:
        input[at] = char(0xFF);
        if (at + 1 < input.size())
            input[at + 1] = char(0xFF);
        break;
    default:
        input.insert(at, input.mid(at, 16));
        break;
    }
    return input;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::mt19937 random(12345);
    int inputs = 0;
    const int mutationsPerFile = qEnvironmentVariableIntValue("GLIMMERIX_FUZZ_MUTATIONS") > 0
        ? qEnvironmentVariableIntValue("GLIMMERIX_FUZZ_MUTATIONS")
        : 200;
    for (int i = 1; i < argc; ++i) {
        // An argument is a corpus folder, or a single file (the crasher files).
        const QString argument = QString::fromLocal8Bit(argv[i]);
        QStringList paths;
        if (QFileInfo(argument).isFile())
            paths.append(argument);
        QDirIterator files(argument, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext())
            paths.append(files.next());
        for (const QString &path : paths) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QByteArray original = file.readAll();
            runOne(original);
            QByteArray current = original;
            for (int m = 0; m < mutationsPerFile; ++m) {
                current = (m % 8 == 0) ? mutate(original, random) : mutate(current, random);
                runOne(current);
            }
            inputs += 1 + mutationsPerFile;
        }
    }
    std::printf("replayed %d inputs\n", inputs);
    return 0;
}

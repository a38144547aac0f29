// The programs as a user meets them: version, string look-up, and the start without a bundle.

#include "support/testenvironment.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace
{

struct ProgramRun {
    int status;
    QString out;
    QString err;
};

ProgramRun runProgram(
    const QString &program, const QStringList &args, const QString &resources = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    if (!resources.isEmpty())
        environment.insert(QStringLiteral("GLIMMERIX_RESOURCES"), resources);
    process.setProcessEnvironment(environment);
    process.start(programFolder() + u'/' + program, args);
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return { -1, {}, QStringLiteral("timed out") };
    }
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        QString::fromUtf8(process.readAllStandardOutput()),
        QString::fromUtf8(process.readAllStandardError()) };
}

const QString kMissingBundleText = QStringLiteral(
    "Unable to find the file \"Glimix.rcc\", please check your installation or reinstall "
    "Glimmerix.");

} // namespace

TEST(ProgramStart, CommandLineToolPrintsVersionAndStrings)
{
    const ProgramRun version
        = runProgram(QStringLiteral("glimix-cli"), { QStringLiteral("--version") });
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, QStringLiteral("Glimmerix 2.0\n"));

    const ProgramRun text = runProgram(
        QStringLiteral("glimix-cli"), { QStringLiteral("strings"), QStringLiteral("316") });
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(text.out,
        QStringLiteral("Unable to find the file \"%s\", please check your installation "
                       "or reinstall Glimmerix.\n"));

    const ProgramRun missing = runProgram(
        QStringLiteral("glimix-cli"), { QStringLiteral("strings"), QStringLiteral("1") });
    EXPECT_NE(missing.status, 0);
}

TEST(ProgramStart, WithoutTheBundleBothProgramsEndWithTheBuiltInMessage)
{
    const QString emptyResources = makeTestFolder(QStringLiteral("no-bundle"));
    for (const QString &program : { QStringLiteral("glimix"), QStringLiteral("glimix-cli") }) {
        const QStringList args = program == QLatin1String("glimix")
            ? QStringList {}
            : QStringList { QStringLiteral("strings"), QStringLiteral("316") };
        const ProgramRun run = runProgram(program, args, emptyResources);
        EXPECT_EQ(run.status, 1) << program.toStdString();
        EXPECT_TRUE(run.err.contains(kMissingBundleText)) << run.err.toStdString();
    }
}

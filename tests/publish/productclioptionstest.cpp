// glimix-cli's product commands read their options alike: an unknown option and an option with
// nothing after it are usage errors (status 2), and an option's value may itself start with "--".

#include "support/processrun.h"

#include <gtest/gtest.h>

namespace
{

TEST(ProductCliOptions, UnknownOptionsAndMissingValuesAreUsageErrors)
{
    // The album need not exist: the options are read before any file.
    const QString album = QStringLiteral("/nonexistent/trip.gmx");
    const struct {
        const char *command;
        const char *valueOption; // one that takes a value
        const char *flag; // one that takes none
    } commands[] = {
        { "webalbum", "--columns", "--no-name" },
        { "slideshow", "--music", "--item-sounds" },
        { "postcard", "--frame", "--large" },
        { "print", "--page", "--landscape" },
    };
    for (const auto &c : commands) {
        const QString command = QLatin1String(c.command);
        const QString option = QLatin1String(c.valueOption);
        const QString flag = QLatin1String(c.flag);
        const ProcessRun unknown = runCli({ command, album, "out", flag, "--bogus" });
        EXPECT_EQ(unknown.status, 2) << c.command;
        EXPECT_TRUE(unknown.err.contains(QStringLiteral("unknown option --bogus")))
            << qPrintable(unknown.err);
        const ProcessRun missing = runCli({ command, album, "out", flag, option });
        EXPECT_EQ(missing.status, 2) << c.command;
        EXPECT_TRUE(missing.err.contains(option + QStringLiteral(" needs a value")))
            << qPrintable(missing.err);
    }
    // "--bogus" is the title here, so the run gets as far as the missing album.
    const ProcessRun titled = runCli({ "webalbum", album, "out", "--title", "--bogus" });
    EXPECT_EQ(titled.status, 1);
    EXPECT_FALSE(titled.err.contains(QStringLiteral("unknown option"))) << qPrintable(titled.err);
}

} // namespace

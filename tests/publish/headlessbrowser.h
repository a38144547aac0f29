#pragma once

// Headless Chromium for the tests that open generated pages in a real browser.

#include "support/processrun.h"

#include <QStandardPaths>
#include <QString>
#include <QUrl>

// The installed Chromium (or Chrome), empty when there is none.
inline QString chromium()
{
    for (const char *name : { "chromium", "chromium-browser", "google-chrome" }) {
        const QString path = QStandardPaths::findExecutable(QLatin1String(name));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

// The page's DOM after loading, with scripts run.
inline QString dumpDom(const QString &browser, const QString &page)
{
    return runProgram(browser,
        { "--headless", "--no-sandbox", "--disable-gpu", "--allow-file-access-from-files",
            "--virtual-time-budget=5000", "--dump-dom", QUrl::fromLocalFile(page).toString() },
        { {}, 60000 })
        .out;
}

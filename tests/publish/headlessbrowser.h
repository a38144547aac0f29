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

// The page's DOM after loading, with scripts run for `virtualMs` of the page's own time.
inline QString dumpDom(const QString &browser, const QString &page, int virtualMs = 5000)
{
    return runProgram(browser,
        { "--headless", "--no-sandbox", "--disable-gpu", "--allow-file-access-from-files",
            QStringLiteral("--virtual-time-budget=%1").arg(virtualMs), "--dump-dom",
            QUrl::fromLocalFile(page).toString() },
        { {}, 90000 })
        .out;
}

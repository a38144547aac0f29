#include "helptopics.h"

#include "platform/paths.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include <iterator>

namespace glimmerix
{

namespace
{

struct TopicEntry {
    int command;
    int topic;
};

constexpr TopicEntry kTopics[] = {
    { 0, 300 },
    { 32772, 626 },
    { 32775, 624 },
    { 32776, 623 },
    { 32780, 625 },
    { 32781, 607 },
    { 32790, 601 },
    { 32792, 640 },
    { 32793, 611 },
    { 32795, 602 },
    { 32796, 603 },
    { 32797, 603 },
    { 32798, 605 },
    { 32800, 606 },
    { 32806, 641 },
    { 32807, 642 },
    { 32808, 612 },
    { 32811, 627 },
    { 32812, 613 },
    { 32815, 643 },
    { 32816, 646 },
    { 32817, 628 },
    { 32818, 647 },
    { 32819, 644 },
    { 32820, 645 },
    { 32831, 690 },
    { 32832, 615 },
    { 57600, 600 },
    { 57603, 608 },
    { 57606, 610 },
    { 57607, 609 },
    { 57634, 621 },
    { 57635, 620 },
    { 57637, 622 },
    { 57665, 614 },
    { 59392, 630 },
    { 59393, 631 },
};

std::function<void(const QString &)> &helpViewer()
{
    static std::function<void(const QString &)> viewer;
    return viewer;
}

void showInHelpViewer(const QString &page)
{
    if (helpViewer())
        helpViewer()(page);
}

} // namespace

void setHelpViewer(std::function<void(const QString &page)> viewer)
{
    helpViewer() = std::move(viewer);
}

int helpTopicForCommand(int command)
{
    for (const TopicEntry &entry : kTopics) {
        if (entry.command == command)
            return entry.topic;
    }
    return 0;
}

QString helpPagePath(int topic)
{
    const QString folder = joinPath(resourceFolder(), QStringLiteral("help"));
    if (topic > 0) {
        const QString page = joinPath(folder, QStringLiteral("%1.html").arg(topic));
        if (QFileInfo::exists(page))
            return page;
    }
    return joinPath(folder, QStringLiteral("index.html"));
}

bool openHelpTopic(int topic)
{
    const QString page = helpPagePath(topic);
    if (!QFileInfo::exists(page))
        return false;
    // QDesktopServices only says whether xdg-open started, not whether it found a browser, so
    // xdg-open runs here and its exit status decides. It may run as long as the browser does.
    auto *opener = new QProcess(QCoreApplication::instance());
    QObject::connect(opener, &QProcess::errorOccurred, opener, [opener, page](auto error) {
        if (error != QProcess::FailedToStart)
            return;
        opener->deleteLater();
        showInHelpViewer(page);
    });
    QObject::connect(
        opener, &QProcess::finished, opener, [opener, page](int code, QProcess::ExitStatus status) {
            opener->deleteLater();
            if (status == QProcess::NormalExit && code != 0)
                showInHelpViewer(page);
        });
    opener->start(QStringLiteral("xdg-open"), { QUrl::fromLocalFile(page).toString() });
    return true;
}

} // namespace glimmerix

#include "helptopics.h"

#include "platform/paths.h"

#include "platform/programstarter.h"

#include <QFileInfo>

#include <iterator>

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

} // namespace

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
    return programStarter().openDocument(page);
}

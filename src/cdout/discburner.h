#pragma once

#include <QList>
#include <QString>

namespace glimmerix
{

class DiscLayout;
class Progress;

// A writer the disc library sees: its address ("/dev/sr0", or "stdio:/path" for a file that
// stands in for a writer) and its maker's names.
struct DiscWriter {
    QString address;
    QString vendor;
    QString product;
};

// The CD and DVD writers of this machine (none when the library cannot look).
QList<DiscWriter> discWriters();

// What recording on a writer needs besides the layout.
struct BurnRequest {
    QString address;
    qint64 capacityBytes = -1; // the medium's own free space counts too; -1: only that
    Progress *progress = nullptr;
};

// Records `layout` on the writer. A medium that is not blank is erased first when it can be and
// the user agrees (message 59163 through the host); otherwise nothing is recorded. The result
// is the image's outcome (disclayout.h), with the cause in `error`.
enum class BurnOutcome { Written, TooLarge, Cancelled, Failed };
BurnOutcome burnDisc(const DiscLayout &layout, const BurnRequest &request, QString *error);

} // namespace glimmerix

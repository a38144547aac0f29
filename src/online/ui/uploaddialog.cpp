#include "uploaddialog.h"

#include "downloaddialog.h"

#include "online/onlineworker.h"

#include "core/messageids.h"
#include "platform/host.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace glimmerix
{

UploadDialog::UploadDialog(HttpTransport &transport, const OnlineService &service,
    const QList<UploadItem> &items, QWidget *parent)
    : QDialog(parent)
    , m_transport(transport)
    , m_service(service)
    , m_items(items)
    , m_list(new QListWidget(this))
    , m_userName(new QLineEdit(sessionCredentials().userName, this))
    , m_password(new QLineEdit(sessionCredentials().password, this))
{
    setWindowTitle(tr("Upload to the Online Photo Service"));
    setObjectName(QStringLiteral("onlineUpload"));
    m_list->setObjectName(QStringLiteral("pictures"));
    m_userName->setObjectName(QStringLiteral("userName"));
    m_password->setObjectName(QStringLiteral("password"));
    m_password->setEchoMode(QLineEdit::Password);
    for (const UploadItem &item : items)
        m_list->addItem(item.path);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &UploadDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &UploadDialog::reject);
    auto *listLabel = new QLabel(tr("Pictures to up&load:"), this);
    listLabel->setBuddy(m_list);
    auto *fields = new QFormLayout;
    fields->addRow(tr("&User name:"), m_userName);
    fields->addRow(tr("&Password:"), m_password);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(listLabel);
    layout->addWidget(m_list);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    setMinimumWidth(480);
}

void UploadDialog::accept()
{
    OnlineClient client(m_transport, m_service);
    if (!client.siteUsable()) {
        host().showMessage(Message::kOnlineNoUploadConnection);
        return;
    }
    if (m_userName->text().isEmpty()) {
        host().showMessage(Message::kOnlineNoUserName);
        return;
    }
    if (m_password->text().isEmpty()) {
        host().showMessage(Message::kOnlineNoPassword);
        return;
    }
    client.setCredentials(m_userName->text(), m_password->text());
    UploadOutcome outcome;
    const std::unique_ptr<Progress> progress = host().createProgress();
    progress->setTitle(windowTitle());
    runOnWorker(*progress, int(m_items.size()),
        [&](const std::atomic<bool> &cancel, const EntryReport &report) {
            outcome = uploadPictures(client, m_service.getServer, m_items, cancel, report);
        });
    if (outcome.keepDialogOpen())
        return;
    sessionCredentials() = { m_userName->text(), m_password->text() };
    QDialog::accept();
}

} // namespace glimmerix

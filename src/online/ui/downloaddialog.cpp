#include "downloaddialog.h"

#include "logindialog.h"
#include "previewarea.h"

#include "online/onlineworker.h"

#include "core/messageids.h"
#include "platform/host.h"
#include "publish/ui/destinationpage.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace glimmerix
{

namespace
{

QString withoutTrailingSlash(const QString &folder)
{
    return folder.size() > 1 && folder.endsWith(QLatin1Char('/')) ? folder.chopped(1) : folder;
}

} // namespace

OnlineCredentials &sessionCredentials()
{
    static OnlineCredentials credentials;
    return credentials;
}

DownloadDialog::DownloadDialog(HttpTransport &transport, const OnlineService &service,
    const QString &photosFolder, QWidget *parent)
    : QDialog(parent)
    , m_client(transport, service)
    , m_photosFolder(photosFolder)
    , m_list(new QListWidget(this))
    , m_preview(new PreviewArea(this))
    , m_previewBox(new QCheckBox(tr("Pre&view"), this))
    , m_folderEdit(new QLineEdit(this))
{
    setWindowTitle(tr("Download from the Online Photo Service"));
    setObjectName(QStringLiteral("onlineDownload"));
    m_list->setObjectName(QStringLiteral("pictures"));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_previewBox->setObjectName(QStringLiteral("previewBox"));
    m_folderEdit->setObjectName(QStringLiteral("folder"));
    auto *browse = new QPushButton(tr("&Browse..."), this);
    browse->setObjectName(QStringLiteral("browse"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto *listLabel = new QLabel(tr("&Pictures:"), this);
    listLabel->setBuddy(m_list);
    auto *folderLabel = new QLabel(tr("Download &to folder:"), this);
    folderLabel->setBuddy(m_folderEdit);
    auto *layout = new QGridLayout(this);
    layout->addWidget(listLabel, 0, 0, 1, 2);
    layout->addWidget(m_list, 1, 0, 3, 1);
    layout->addWidget(m_preview, 1, 1);
    layout->addWidget(m_previewBox, 2, 1);
    layout->addWidget(folderLabel, 4, 0, 1, 2);
    layout->addWidget(m_folderEdit, 5, 0);
    layout->addWidget(browse, 5, 1);
    layout->addWidget(buttons, 6, 0, 1, 2);
    layout->setRowStretch(3, 1);

    connect(m_list, &QListWidget::currentRowChanged, this, &DownloadDialog::showCurrentPreview);
    connect(m_previewBox, &QCheckBox::toggled, m_preview, &PreviewArea::setShown);
    connect(browse, &QPushButton::clicked, this, &DownloadDialog::browse);
    connect(buttons, &QDialogButtonBox::accepted, this, &DownloadDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &DownloadDialog::reject);

    m_loginPrompt = [this](OnlineCredentials &credentials) {
        LoginDialog login(credentials.userName, credentials.password, this);
        if (login.exec() != QDialog::Accepted)
            return false;
        credentials = { login.userName(), login.password() };
        return true;
    };
}

DownloadDialog::~DownloadDialog() = default;

int DownloadDialog::run()
{
    if (!signIn())
        return QDialog::Rejected;
    m_previewBox->setChecked(true);
    return exec();
}

bool DownloadDialog::signIn()
{
    if (!m_client.siteUsable()) {
        host().showMessage(Message::kOnlineNoConnection);
        return false;
    }
    OnlineCredentials credentials = sessionCredentials();
    // A refused login asks again; Cancel, an unusable service or a failed list ends the dialog.
    for (;;) {
        if (!m_loginPrompt(credentials))
            return false;
        m_client.setCredentials(credentials.userName, credentials.password);
        ListResult result = ListResult::Empty;
        OnlineOutcome outcome;
        {
            const WaitCursor wait;
            outcome = m_client.lookupServer();
            if (outcome.ok())
                outcome = m_client.listImages(m_records, result);
        }
        if (outcome.status == OnlineStatus::Unavailable)
            return false;
        if (!outcome.ok()) {
            host().showMessage(onlineFailureMessage(outcome, Message::kOnlineFileFailed));
            return false;
        }
        switch (result) {
        case ListResult::Listed:
            break;
        case ListResult::Empty:
            host().showMessage(Message::kOnlineLoginRefused);
            continue;
        case ListResult::SingleField:
            host().showMessage(Message::kOnlineCannotList);
            return false;
        }
        sessionCredentials() = credentials;
        break;
    }
    m_previews = QList<QImage>(m_records.size());
    for (int i = 0; i < m_records.size(); ++i) {
        if (m_records[i].filename.isEmpty())
            continue;
        auto *entry = new QListWidgetItem(m_records[i].filename, m_list);
        entry->setData(Qt::UserRole, i);
    }
    m_folder = withoutTrailingSlash(m_photosFolder);
    m_folderEdit->setText(m_folder);
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    return true;
}

void DownloadDialog::showCurrentPreview()
{
    const QListWidgetItem *entry = m_list->currentItem();
    if (!entry)
        return;
    const int record = entry->data(Qt::UserRole).toInt();
    if (m_previews[record].isNull()) {
        const WaitCursor wait;
        const OnlineOutcome outcome
            = m_client.fetchPreview(m_records[record].id, m_previews[record]);
        if (!outcome.ok()) {
            host().showMessage(onlineFailureMessage(outcome, Message::kOnlineDownloadFileFailed));
        }
    }
    m_preview->setImage(m_previews[record]);
}

void DownloadDialog::browse()
{
    const QString folder = pickFolder(this, m_photosFolder);
    if (folder.isEmpty())
        return;
    m_folder = folder;
    m_folderEdit->setText(folder);
}

void DownloadDialog::accept()
{
    const QString folder = withoutTrailingSlash(m_folderEdit->text().trimmed());
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        host().showMessage(Message::kOnlineNoDownloadFolder);
        return;
    }
    m_folder = folder;
    QList<int> rows;
    for (int i = 0; i < m_list->count(); ++i) {
        if (m_list->item(i)->isSelected())
            rows.append(m_list->item(i)->data(Qt::UserRole).toInt());
    }
    if (!rows.isEmpty()) {
        const std::unique_ptr<Progress> progress = host().createProgress();
        progress->setTitle(windowTitle());
        runOnWorker(*progress, int(rows.size()),
            [&](const std::atomic<bool> &cancel, const EntryReport &report) {
                downloadPictures(m_client, m_records, rows, folder, cancel, report);
            });
    }
    QDialog::accept();
}

} // namespace glimmerix

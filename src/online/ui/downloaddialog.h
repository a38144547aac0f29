#pragma once

#include "online/onlineclient.h"

#include <QDialog>
#include <QImage>
#include <QList>

#include <functional>

class QCheckBox;
class QLineEdit;
class QListWidget;

namespace glimmerix
{

class PreviewArea;

// The session's sign-in: the user name and password typed last, kept in memory only (never in
// the settings), so the next dialog can prefill them.
struct OnlineCredentials {
    QString userName;
    QString password;
};
OnlineCredentials &sessionCredentials();

// The download dialog: signs in (the login dialog, repeated while the service refuses), lists
// the user's pictures with a preview of the current one, and on OK downloads the selected ones
// into the chosen folder on a worker thread. The records with `downloaded` set are the caller's
// to add to the album.
class DownloadDialog : public QDialog
{
    Q_OBJECT
public:
    DownloadDialog(HttpTransport &transport, const OnlineService &service,
        const QString &photosFolder, QWidget *parent = nullptr);
    ~DownloadDialog() override;

    // Signs in and lists, then shows the dialog. QDialog::Rejected when the user cancels the
    // login or the service cannot be used (after its message).
    int run();
    const QList<RemoteImage> &records() const { return m_records; }
    QString downloadFolder() const { return m_folder; }

    void accept() override;

    // Replaces the login dialog (tests): returns false for Cancel.
    using LoginPrompt = std::function<bool(OnlineCredentials &credentials)>;
    void setLoginPrompt(LoginPrompt prompt) { m_loginPrompt = std::move(prompt); }

private:
    bool signIn();
    void showCurrentPreview();
    void browse();

    OnlineClient m_client;
    QString m_photosFolder;
    QString m_folder;
    QList<RemoteImage> m_records;
    QList<QImage> m_previews; // by record, null until fetched
    QListWidget *m_list;
    PreviewArea *m_preview;
    QCheckBox *m_previewBox;
    QLineEdit *m_folderEdit;
    LoginPrompt m_loginPrompt;
};

} // namespace glimmerix

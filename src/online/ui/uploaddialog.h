#pragma once

#include "online/onlineclient.h"
#include "online/onlinejobs.h"

#include <QDialog>

class QLineEdit;
class QListWidget;

namespace glimmerix
{

// The upload dialog: lists the chosen pictures, takes the user name and password, and on OK
// uploads them on a worker thread. It stays open when the service refused the login.
class UploadDialog : public QDialog
{
    Q_OBJECT
public:
    UploadDialog(HttpTransport &transport, const OnlineService &service,
        const QList<UploadItem> &items, QWidget *parent = nullptr);

    void accept() override;

private:
    HttpTransport &m_transport;
    OnlineService m_service;
    QList<UploadItem> m_items;
    QListWidget *m_list;
    QLineEdit *m_userName;
    QLineEdit *m_password;
};

} // namespace glimmerix

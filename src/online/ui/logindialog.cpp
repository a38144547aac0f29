#include "logindialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

namespace glimmerix
{

LoginDialog::LoginDialog(const QString &userName, const QString &password, QWidget *parent)
    : QDialog(parent)
    , m_userName(new QLineEdit(userName, this))
    , m_password(new QLineEdit(password, this))
{
    setWindowTitle(tr("Sign In to the Online Photo Service"));
    setObjectName(QStringLiteral("onlineLogin"));
    m_userName->setObjectName(QStringLiteral("userName"));
    m_password->setObjectName(QStringLiteral("password"));
    m_password->setEchoMode(QLineEdit::Password);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QFormLayout(this);
    layout->addRow(tr("&User name:"), m_userName);
    layout->addRow(tr("&Password:"), m_password);
    layout->addRow(buttons);
    if (!userName.isEmpty())
        m_password->setFocus();
}

QString LoginDialog::userName() const
{
    return m_userName->text();
}

QString LoginDialog::password() const
{
    return m_password->text();
}

} // namespace glimmerix

#pragma once

#include <QDialog>

class QLineEdit;

namespace glimmerix
{

// Asks for the online service's user name and password, each prefilled when not empty. The
// password field never shows its text.
class LoginDialog : public QDialog
{
    Q_OBJECT
public:
    LoginDialog(const QString &userName, const QString &password, QWidget *parent = nullptr);
    QString userName() const;
    QString password() const;

private:
    QLineEdit *m_userName;
    QLineEdit *m_password;
};

} // namespace glimmerix

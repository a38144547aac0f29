#pragma once

#include "cdout/discburner.h"
#include "cdout/disccomponent.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace glimmerix
{

// Asks where our disc component records a disc: into an image file (proposed in the user's
// folder) or onto a disc in one of the writers found. Shows the disc's size against what it
// holds.
class DiscTargetDialog final : public QDialog
{
    Q_OBJECT
public:
    DiscTargetDialog(
        const DiscSummary &summary, const QList<DiscWriter> &writers, QWidget *parent = nullptr);
    DiscTarget target() const;
    void setImagePath(const QString &path);

private:
    void browse();
    void updateControls();

    QRadioButton *m_imageRadio;
    QLineEdit *m_imagePath;
    QRadioButton *m_writerRadio;
    QComboBox *m_writers;
};

// Installs the dialog as the component's way of choosing (over the active window).
void installDiscTargetDialog();

} // namespace glimmerix

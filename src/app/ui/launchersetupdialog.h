#pragma once

#include "app/launchersetup.h"

#include "core/controlids.h"

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace glimmerix
{

// The launcher set-up dialog (template 192): a strip of 50 x 50 program cells, the selected
// program's path, label and icon, and Add, Change, Remove and OK. It edits copies; programs()
// gives the list that replaces the application's list after OK.
class LauncherSetupDialog : public QDialog
{
    Q_OBJECT
public:
    // Control numbers of the dialog, kept as object names ("1260", ...).
    static constexpr int kProgramList = LauncherSetupControl::kProgramList;
    static constexpr int kPathField = LauncherSetupControl::kPathField;
    static constexpr int kLabelField = LauncherSetupControl::kLabelField;
    static constexpr int kIconPicture = LauncherSetupControl::kIconPicture;
    static constexpr int kAddButton = LauncherSetupControl::kAddButton;
    static constexpr int kChangeButton = LauncherSetupControl::kChangeButton;
    static constexpr int kRemoveButton = LauncherSetupControl::kRemoveButton;

    LauncherSetupDialog(const QList<LauncherEntry> &programs, const QString &preselectLabel,
        QWidget *parent = nullptr);

    // Replaces the file dialog that picks a program (tests script it). An empty answer cancels.
    void setProgramChooser(std::function<QString()> chooser) { m_chooser = std::move(chooser); }
    // The programs after OK, laid out as buttons.
    const QList<LauncherEntry> &programs() const { return m_accepted; }
    const LauncherSetupModel &model() const { return m_model; }

    void accept() override;

private:
    QString chooseProgram();
    void addProgram();
    void changeProgram();
    void removeProgram();
    void selectionChanged();
    void fillList();
    void showSelected();
    void updateButtons();

    LauncherSetupModel m_model;
    QList<LauncherEntry> m_accepted;
    std::function<QString()> m_chooser;
    QListWidget *m_list = nullptr;
    QLineEdit *m_path = nullptr;
    QLineEdit *m_label = nullptr;
    QLabel *m_icon = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_change = nullptr;
    QPushButton *m_remove = nullptr;
    bool m_filling = false;
};

} // namespace glimmerix

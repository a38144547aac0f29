#pragma once

#include <QDialog>
#include <QHash>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;

namespace glimmerix
{

class ScanSourceManager;

// The scanner's user interface: mode, resolution and area from the device's options, a preview
// scan, Scan (the "transfer ready" event: the picture goes to the album and the dialog stays
// for more) and Close (the "close request": the source and the manager are closed).
class ScanDialog final : public QDialog
{
    Q_OBJECT
public:
    ScanDialog(ScanSourceManager &manager, QWidget *parent = nullptr);

    void scan();
    void previewScan();
    void cancelScan() { m_cancel = true; }
    bool isScanning() const { return m_scanning; }

    void done(int result) override;

private:
    void applyOptions();
    bool cancelCheck();
    void setScanning(bool scanning);

    ScanSourceManager &m_manager;
    QComboBox *m_mode = nullptr;
    QComboBox *m_resolution = nullptr;
    QHash<QString, QDoubleSpinBox *> m_area;
    QLabel *m_preview;
    QLabel *m_status;
    QPushButton *m_scan;
    QPushButton *m_previewButton;
    QPushButton *m_cancelButton;
    bool m_scanning = false;
    bool m_cancel = false;
};

} // namespace glimmerix

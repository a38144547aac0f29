#pragma once

#include <QByteArray>
#include <QColor>
#include <QSize>
#include <QString>

class QWidget;

// Every test process runs in a private temporary home: GLIMMERIX_HOME, XDG_CONFIG_HOME,
// XDG_DATA_HOME (and so the Trash), XDG_RUNTIME_DIR and HOME point into it, so no test can touch
// the real user's files. The test main calls setUpTestEnvironment() before anything else.
void setUpTestEnvironment();
// The temporary root of this test process.
QString testRoot();
// A fresh, empty folder under the test root (unique per call).
QString makeTestFolder(const QString &hint = QStringLiteral("dir"));
// Absolute path of a committed fixture: tests/fixtures/<relativePath>.
QString fixturePath(const QString &relativePath);
// The whole content of a file (empty when it cannot be read).
QByteArray fileBytes(const QString &path);
// Creates or truncates `path` with `bytes`; a file that cannot be written fails the test.
void writeFile(const QString &path, const QByteArray &bytes);
// Writes a picture of one colour to `folder`/`name` (the name's extension picks the format) and
// returns its path; a picture that cannot be written fails the test.
QString makeTestPicture(const QString &folder, const QString &name, QColor colour = Qt::darkCyan,
    QSize size = QSize(64, 48));
// Folder with the built programs (glimix, glimix-cli) and the language bundle.
QString programFolder();
// When GLIMMERIX_SCREENSHOTS names a folder, shows `widget` and saves a picture of it there as
// `fileName`, for the documentation; otherwise does nothing.
void saveScreenshotWhenAsked(QWidget &widget, const QString &fileName);

#include "app/ui/guihost.h"

#include "support/recordinghost.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace glimmerix;

// The desktop host gives a box the caption and default button it is asked for; callers that ask
// for neither get the program's name and the first button.
TEST(GuiHost, MessageBoxTakesItsCaptionAndDefaultButton)
{
    struct Row {
        const char *name;
        MessageBoxLook look;
        QString title;
        QMessageBox::StandardButton defaultButton;
        MessageAnswer answer;
    };
    const Row rows[] = {
        { "plain", {}, QApplication::applicationDisplayName(), QMessageBox::Yes,
            MessageAnswer::Yes },
        { "caption, second default", { QStringLiteral("Cannot Open Album"), 1 },
            QStringLiteral("Cannot Open Album"), QMessageBox::No, MessageAnswer::No },
        { "third default", { {}, 2 }, QApplication::applicationDisplayName(), QMessageBox::Cancel,
            MessageAnswer::Cancel },
    };
    GuiHost gui;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QString title;
        QMessageBox::StandardButton pressed = QMessageBox::NoButton;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            title = box->windowTitle();
            pressed = box->standardButton(box->defaultButton());
            box->defaultButton()->click();
        });
        const MessageAnswer answer = gui.showText(QStringLiteral("Save the changes?"),
            MessageIcon::Question, MessageButtons::YesNoCancel, 0, row.look);
        EXPECT_EQ(title, row.title);
        EXPECT_EQ(pressed, row.defaultButton);
        EXPECT_EQ(answer, row.answer);
        // A host that shows nothing takes the same default.
        RecordingHost recorder;
        EXPECT_EQ(
            recorder.showText({}, MessageIcon::Question, MessageButtons::YesNoCancel, 0, row.look),
            row.answer);
    }
}

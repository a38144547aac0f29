#include "view/ui/printoptionsdialog.h"

#include "core/messageids.h"
#include "platform/strings.h"
#include "support/recordinghost.h"
#include "support/testenvironment.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

QPushButton *button(QWidget &dialog, const QString &text)
{
    for (QPushButton *candidate : dialog.findChildren<QPushButton *>()) {
        if (candidate->text() == text)
            return candidate;
    }
    return nullptr;
}

TEST(PrintOptionsDialog, RefusesABadNumberedRangeAndStaysOpen)
{
    RecordingHost host;
    PrintOptions options;
    options.range = PrintOptions::NumberedItems;
    options.from = 3;
    options.to = 2;
    options.title = QStringLiteral("Summer");
    CellPictureLists pictures { { QStringLiteral("Gold.frm") }, { QStringLiteral("Sky.bkg") } };
    PrintOptionsDialog dialog(options, pictures);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    saveScreenshotWhenAsked(dialog, QStringLiteral("print-options.png"));

    QPushButton *print = button(dialog, QStringLiteral("&Print..."));
    ASSERT_TRUE(print);
    print->click();
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(host.messageIds(), QList<int> { Message::kPrintRangeReversed });
    EXPECT_EQ(host.shown().first().look.caption, loadString(Message::kWarningTitle));

    const QList<QSpinBox *> numbers = dialog.findChildren<QSpinBox *>();
    ASSERT_EQ(numbers.size(), 2);
    numbers[0]->setValue(0);
    print->click();
    EXPECT_EQ(host.messageIds().last(), Message::kPrintNumberTooSmall);

    // All items: the numbers are not asked for, and the dialog ends with the button pressed.
    dialog.findChildren<QButtonGroup *>().first()->button(PrintOptions::AllItems)->click();
    EXPECT_FALSE(numbers[0]->isEnabled());
    button(dialog, QStringLiteral("Pre&view..."))->click();
    EXPECT_EQ(dialog.result(), PrintOptionsDialog::Preview);
    EXPECT_EQ(dialog.options().range, PrintOptions::AllItems);
    EXPECT_EQ(dialog.options().title, QStringLiteral("Summer"));
    EXPECT_EQ(host.messageIds().size(), 2);
}

} // namespace

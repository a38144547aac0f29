// Test main shared by every suite: private temporary home, offscreen Qt application, language
// bundle loaded, silent host (suites install a RecordingHost where they check messages).

#include "testenvironment.h"

#include "platform/paths.h"
#include "platform/strings.h"

#include <QApplication>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace glimmerix;

int main(int argc, char **argv)
{
    setUpTestEnvironment();
    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    loadLanguageBundle(joinPath(programFolder(), QString::fromLatin1(kLanguageBundleFileName)));
    return RUN_ALL_TESTS();
}

// The window tests need one QApplication for the whole run.
#include <QApplication>
#include <QDir>
#include <QFontDatabase>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // Qt's offscreen platform on Windows has no fonts of its own: the Windows
    // pass hands it the faces the Linux tests draw with.
    const QString fonts = qEnvironmentVariable("QUIMBRA_TEST_FONTS");
    if (!fonts.isEmpty()) {
        for (const QFileInfo& file : QDir(fonts).entryInfoList({"*.ttf"}, QDir::Files)) {
            QFontDatabase::addApplicationFont(file.absoluteFilePath());
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

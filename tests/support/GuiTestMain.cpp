// The main of the window tests: a QApplication on Qt's offscreen platform (unless the environment
// names another), then the tests.

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace {

// The offscreen platform says this of every window shown; it means nothing to the tests.
void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains(QLatin1String("does not support propagateSizeHints"))) {
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Qt complains on every run without a private one; the tests do not use it.
    if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
        char dir[] = "/tmp/halvex-tests-XXXXXX";
        if (mkdtemp(dir) != nullptr) {
            setenv("XDG_RUNTIME_DIR", dir, 0);
        }
    }
    qInstallMessageHandler(QuietOffscreenNotes);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// The window tests share one application object; after each test no window of it may be
// left open on screen.

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include <string>

namespace {

class NoWindowLeftOpen : public ::testing::EmptyTestEventListener {
public:
    // Listeners hear of a test's end in reverse order, so this runs before the result is
    // printed and a failure here still belongs to the test.
    void OnTestEnd(const ::testing::TestInfo& /*test*/) override {
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget* window : windows) {
            if (!window->isVisible())
                continue;
            const QString name = window->windowTitle().isEmpty()
                                     ? QString::fromUtf8(window->metaObject()->className())
                                     : window->windowTitle();
            ADD_FAILURE() << "a window was left open: \"" << name.toStdString() << "\"";
            window->hide(); // so that the next test starts clean
        }
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new NoWindowLeftOpen);
    return RUN_ALL_TESTS();
}

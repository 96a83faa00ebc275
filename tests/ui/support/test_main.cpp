// The window tests share one application object; after each test no window of it may be
// left open on screen. Recovery files go to a folder of the run's own, never the user's.

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include <stdlib.h>

#include <filesystem>
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
    std::string state =
        (std::filesystem::temp_directory_path() / "permora-ui-tests-XXXXXX").string();
    if (::mkdtemp(state.data()) == nullptr)
        return 1;
    ::setenv("XDG_STATE_HOME", state.c_str(), 1);
    struct RemoveState {
        std::string path;
        ~RemoveState() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    } removeState{state};

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new NoWindowLeftOpen);
    return RUN_ALL_TESTS();
}

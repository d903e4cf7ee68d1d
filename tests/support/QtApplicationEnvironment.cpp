// One QApplication for the whole test program, created before the first test
// and destroyed after the last. Runs offscreen unless told otherwise.

#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>
#include <memory>

namespace {

class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QLocale::setDefault(QLocale::c());
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
    }

    void TearDown() override { m_app.reset(); }

private:
    char m_name[16] = "tagwell_test";
    char* m_argv[2] = {m_name, nullptr};
    int m_argc = 1;
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace

// The explorer's small parts on their own: reading the interval answer,
// finding the help page and starting programs.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include "explorer_app/HelpPage.h"
#include "explorer_app/IntervalAnswer.h"
#include "explorer_app/SpawnProgramStarter.h"

namespace tagwell::test {
namespace {

struct AnswerCase {
    const char* answer;
    IntervalAnswer::Kind kind;
    int milliseconds;
};

class IntervalAnswers : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(IntervalAnswers, AreReadAsWholeMillisecondsOfSixteenBits)
{
    const AnswerCase& c = GetParam();
    const IntervalAnswer answer = IntervalAnswer::Parse(c.answer);
    EXPECT_EQ(answer.kind(), c.kind);
    EXPECT_EQ(answer.milliseconds(), c.milliseconds);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IntervalAnswers,
    ::testing::Values(AnswerCase{"250", IntervalAnswer::Kind::Accepted, 250},
                      AnswerCase{"  75\t", IntervalAnswer::Kind::Accepted, 75},
                      AnswerCase{"1e3", IntervalAnswer::Kind::Accepted, 1000},
                      AnswerCase{"2.5", IntervalAnswer::Kind::Accepted, 2},
                      AnswerCase{"3.5", IntervalAnswer::Kind::Accepted, 4},
                      AnswerCase{"-32768", IntervalAnswer::Kind::Accepted, -32768},
                      AnswerCase{"32767.4", IntervalAnswer::Kind::Accepted, 32767},
                      AnswerCase{"32767.5", IntervalAnswer::Kind::OutOfRange, 0},
                      AnswerCase{"-32768.6", IntervalAnswer::Kind::OutOfRange, 0},
                      AnswerCase{"1e30", IntervalAnswer::Kind::OutOfRange, 0},
                      AnswerCase{"inf", IntervalAnswer::Kind::NotNumeric, 0},
                      AnswerCase{"nan", IntervalAnswer::Kind::NotNumeric, 0},
                      AnswerCase{"12ms", IntervalAnswer::Kind::NotNumeric, 0},
                      AnswerCase{"", IntervalAnswer::Kind::NotNumeric, 0},
                      AnswerCase{"   ", IntervalAnswer::Kind::NotNumeric, 0}));

class HelpPages : public ::testing::Test {
protected:
    QString makePage(const QString& folder, const QString& relative)
    {
        const QString path = QDir(folder).filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<html></html>");
        return QFileInfo(path).absoluteFilePath();
    }

    QTemporaryDir program;
    QTemporaryDir source;
};

TEST_F(HelpPages, ComeFromBesideTheProgramFirst)
{
    const QString beside = makePage(program.path(), "help/XOPC.html");
    makePage(source.path(), "XOPC.html");

    EXPECT_EQ(HelpPage::PathFrom(program.path(), source.path()), beside);
}

TEST_F(HelpPages, FallBackToTheSourceTree)
{
    const QString fallback = makePage(source.path(), "XOPC.html");

    EXPECT_EQ(HelpPage::PathFrom(program.path(), source.path()), fallback);
}

TEST_F(HelpPages, AreEmptyWhenThereIsNone)
{
    EXPECT_TRUE(HelpPage::PathFrom(program.path(), source.path()).isEmpty());
    EXPECT_TRUE(HelpPage::PathFrom({}, {}).isEmpty());
}

TEST(SpawnProgramStarter, FindsProgramsOnThePathOnly)
{
    SpawnProgramStarter starter;
    EXPECT_TRUE(starter.available("sh"));
    EXPECT_TRUE(starter.available("/bin/sh"));
    EXPECT_FALSE(starter.available("tagwell-no-such-program"));
    EXPECT_FALSE(starter.available("/nonexistent/sh"));
    EXPECT_FALSE(starter.available(""));
}

TEST(SpawnProgramStarter, StartsAProgramWithItsArgumentsUnchanged)
{
    QTemporaryDir folder;
    const QString marker = QDir(folder.path()).filePath("a b;c");
    SpawnProgramStarter starter;

    ASSERT_TRUE(starter.start("touch", {marker.toStdString()}));
    EXPECT_FALSE(starter.start("tagwell-no-such-program", {}));

    // touch runs on its own; give it the time it needs without sleeping blindly
    for (int attempt = 0; attempt < 500 && !QFile::exists(marker); ++attempt)
        QThread::msleep(10);
    EXPECT_TRUE(QFile::exists(marker));
}

}  // namespace
}  // namespace tagwell::test

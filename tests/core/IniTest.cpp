#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "core/cINI.h"

using namespace tagwell;
namespace fs = std::filesystem;

namespace {

class IniTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() /
                 ("tagwell-ini-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        path = (folder / "config.ini").string();
        ini.Create(path);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string fileText(const std::string& file) const
    {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path folder;
    std::string path;
    cINI ini;
};

}  // namespace

TEST_F(IniTest, CreateTouchesNoFile)
{
    cINI other;
    other.Create((folder / "never.ini").string());
    EXPECT_EQ(other.File(), (folder / "never.ini").string());
    EXPECT_FALSE(fs::exists(folder / "never.ini"));
}

TEST_F(IniTest, MissingKeysReadAsEmptyTextAndMinusOne)
{
    EXPECT_EQ(ini.Text("Header", "ConfigurationName"), "") << "no file yet";
    EXPECT_EQ(ini.Data("Header", "Servers"), -1);
    ASSERT_TRUE(ini.Text("Header", "ConfigurationName", "Plant"));
    EXPECT_EQ(ini.Text("Header", "Servers"), "");
    EXPECT_EQ(ini.Data("Header", "Servers"), -1);
    EXPECT_EQ(ini.Data("Server 0", "Groups"), -1);
}

TEST_F(IniTest, DataReadsTheLeadingWholeNumber)
{
    struct Case { const char* stored; int32_t expected; };
    const Case cases[] = {
        {"42", 42},          {"-7", -7},          {"+3", 3},           {"  12", 12},
        {"0", 0},            {"250ms", 250},      {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},          {"2147483648", -1},  {"99999999999999999999", -1},
        {"", -1},            {"abc", -1},         {"-", -1},           {"True", -1},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(ini.Text("Numbers", "Value", c.stored));
        EXPECT_EQ(ini.Data("Numbers", "Value"), c.expected) << '"' << c.stored << '"';
    }
}

TEST_F(IniTest, TextsAndNumbersRoundTripInPlainForm)
{
    ASSERT_TRUE(ini.Text("Header", "ConfigurationName", "Demo Configuration"));
    ASSERT_TRUE(ini.Data("Header", "Servers", 2));
    ASSERT_TRUE(ini.Data("Group 1 0", "Deadband", 0));
    ASSERT_TRUE(ini.Data("Group 1 0", "TimeBias", -60));
    EXPECT_EQ(fileText(path),
              "[Header]\nConfigurationName=Demo Configuration\nServers=2\n"
              "[Group 1 0]\nDeadband=0\nTimeBias=-60\n");
    EXPECT_EQ(ini.Text("header", "configurationname"), "Demo Configuration");
    EXPECT_EQ(ini.Data("HEADER", "SERVERS"), 2);
    EXPECT_EQ(ini.Data("Group 1 0", "TimeBias"), -60);
}

TEST_F(IniTest, AwkwardTextsComeBackWholeAndLeaveOtherKeysAlone)
{
    const std::string texts[] = {
        std::string(300, 'a'),
        std::string(1500, 'x') + "\n[Header]\nServers=99\n" + std::string(1500, 'y'),
        "[Server 0]",
        "x\r\nProgID=Injected",
        "Setpoint=5 == five",
        "  blanks at both ends  ",
        "\"already quoted\"",
    };
    ASSERT_TRUE(ini.Data("Header", "Servers", 1));
    ASSERT_TRUE(ini.Text("Server 0", "ProgID", "Sim.Server.1"));
    for (size_t i = 0; i < std::size(texts); ++i)
        ASSERT_TRUE(ini.Text("Group 1 0", "Alias" + std::to_string(i + 1), texts[i]));

    cINI reader;
    reader.Create(path);
    for (size_t i = 0; i < std::size(texts); ++i)
        EXPECT_EQ(reader.Text("Group 1 0", "Alias" + std::to_string(i + 1)), texts[i]) << "text " << i;
    EXPECT_EQ(reader.Data("Header", "Servers"), 1);
    EXPECT_EQ(reader.Text("Server 0", "ProgID"), "Sim.Server.1");
}

TEST_F(IniTest, WritesThatCannotReachTheFileSayFalse)
{
    std::ofstream(folder / "plain-file") << "not a folder";
    const std::string unwritable[] = {
        (folder / "missing" / "config.ini").string(),
        (folder / "plain-file" / "config.ini").string(),
    };
    for (const std::string& file : unwritable) {
        cINI target;
        target.Create(file);
        EXPECT_FALSE(target.Text("Header", "ConfigurationName", "Plant")) << file;
        EXPECT_FALSE(target.Data("Header", "Servers", 1)) << file;
        ASSERT_TRUE(target.BeginBatch()) << "nothing to read is no failure";
        EXPECT_TRUE(target.Data("Header", "Servers", 1));
        EXPECT_FALSE(target.CommitBatch()) << file;
        EXPECT_EQ(target.Data("Header", "Servers"), -1);
    }
    EXPECT_FALSE(fs::exists(folder / "missing"));
    EXPECT_FALSE(ini.Text("Bad]Section", "Key", "value")) << "a name that cannot be stored";
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(IniTest, ABatchWritesTheSameFileAsSingleWritesWithOneSave)
{
    auto writeConfiguration = [](cINI& target) {
        target.Text("Header", "ConfigurationName", "Batch");
        target.Data("Header", "Servers", 1);
        for (int i = 1; i <= 50; ++i) {
            const std::string n = std::to_string(i);
            target.Text("Group 1 0", "Item" + n, "Plant.Tag" + n);
            target.Text("Group 1 0", "Active" + n, "True");
        }
        target.Text("Header", "ConfigurationName", "Batch, renamed");
    };
    cINI single;
    single.Create((folder / "single.ini").string());
    writeConfiguration(single);

    ASSERT_TRUE(ini.BeginBatch());
    writeConfiguration(ini);
    EXPECT_FALSE(fs::exists(path)) << "nothing is written before the commit";
    EXPECT_EQ(ini.Text("Group 1 0", "Item50"), "Plant.Tag50") << "reads see the batch";
    ASSERT_TRUE(ini.CommitBatch());
    EXPECT_FALSE(ini.InBatch());
    EXPECT_EQ(fileText(path), fileText((folder / "single.ini").string()));
}

TEST_F(IniTest, ABatchWithARefusedWriteSavesTheRestAndSaysFalse)
{
    ASSERT_TRUE(ini.BeginBatch());
    EXPECT_TRUE(ini.Text("Header", "ConfigurationName", "Plant"));
    EXPECT_FALSE(ini.Text("Header", "Bad=Key", "value"));
    EXPECT_FALSE(ini.CommitBatch());
    EXPECT_EQ(ini.Text("Header", "ConfigurationName"), "Plant");
}

TEST_F(IniTest, AnOpenBatchIsCommittedWhenTheObjectGoes)
{
    {
        cINI writer;
        writer.Create(path);
        ASSERT_TRUE(writer.BeginBatch());
        writer.Data("Header", "Servers", 3);
    }
    EXPECT_EQ(ini.Data("Header", "Servers"), 3);
}

TEST_F(IniTest, ABatchThatOnlyReadsReadsTheFileOnceAndWritesNothing)
{
    ASSERT_TRUE(ini.Data("Header", "Servers", 2));
    ASSERT_TRUE(ini.BeginBatch());
    fs::remove(path);  // later reads still see the copy
    EXPECT_EQ(ini.Data("Header", "Servers"), 2);
    EXPECT_TRUE(ini.CommitBatch());
    EXPECT_FALSE(fs::exists(path)) << "nothing was written back";
}

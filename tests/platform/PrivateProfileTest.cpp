#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

#include "platform/PrivateProfile.h"

using namespace tagwell;
namespace fs = std::filesystem;

namespace {

class PrivateProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() /
                 ("tagwell-profile-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        path = (folder / "config.ini").string();
    }
    void TearDown() override { fs::remove_all(folder); }

    void writeFile(const std::string& contents) { std::ofstream(path, std::ios::binary) << contents; }
    std::string readFile() const
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::vector<std::string> folderEntries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        return names;
    }

    fs::path folder;
    std::string path;
};

}  // namespace

TEST_F(PrivateProfileTest, MissingFileSectionOrKeyReadsAsNothing)
{
    EXPECT_EQ(PrivateProfile::ReadString(path, "Header", "Servers"), std::nullopt);
    writeFile("[Header]\nServers=2\n");
    EXPECT_EQ(PrivateProfile::ReadString(path, "Header", "Groups"), std::nullopt);
    EXPECT_EQ(PrivateProfile::ReadString(path, "Server 0", "Servers"), std::nullopt);
    EXPECT_EQ(PrivateProfile::ReadString(path, "Header", "Servers"), "2");
}

TEST_F(PrivateProfileTest, NamesCompareWithoutRegardToCaseAndSurroundingBlanks)
{
    writeFile("[Server 0]\n  ProgID =  Sim.Server.1  \n");
    EXPECT_EQ(PrivateProfile::ReadString(path, "SERVER 0", "progid"), "Sim.Server.1");
    ASSERT_TRUE(PrivateProfile::WriteString(path, "server 0", "PROGID", "Other.Server.2"));
    EXPECT_EQ(readFile(), "[Server 0]\nPROGID=Other.Server.2\n") << "the key is replaced, not added";
}

TEST_F(PrivateProfileTest, NewSectionsGoToTheEndAndNewKeysToTheEndOfTheirSection)
{
    writeFile("; saved by hand\n[Header]\nServers=1\n\n[Server 0]\nProgID=A\n");
    ASSERT_TRUE(PrivateProfile::WriteString(path, "Group 1 0", "GroupName", "G"));
    ASSERT_TRUE(PrivateProfile::WriteString(path, "Header", "ConfigurationName", "Plant"));
    ASSERT_TRUE(PrivateProfile::WriteString(path, "Server 0", "Node", ""));
    EXPECT_EQ(readFile(),
              "; saved by hand\n"
              "[Header]\nServers=1\nConfigurationName=Plant\n\n"
              "[Server 0]\nProgID=A\nNode=\n"
              "[Group 1 0]\nGroupName=G\n");
}

TEST_F(PrivateProfileTest, LinesTheReaderDoesNotUseAreKeptAsTheyWere)
{
    const std::string kept = "junk before any section\n"
                             "[A]\n"
                             "; comment = not a key\n"
                             "line without assignment\n"
                             "  Key = spaced  \n"
                             "key=second of the same name\n"
                             "[a]\n"
                             "Key=in a second section of the same name\n";
    writeFile(kept);
    EXPECT_EQ(PrivateProfile::ReadString(path, "A", "Key"), "spaced") << "first section and key win";
    EXPECT_EQ(PrivateProfile::ReadString(path, "A", "; comment"), std::nullopt);
    ASSERT_TRUE(PrivateProfile::WriteString(path, "B", "New", "1"));
    EXPECT_EQ(readFile(), kept + "[B]\nNew=1\n");
}

TEST_F(PrivateProfileTest, WindowsLineEndsAndByteOrderMarkSurviveAWrite)
{
    writeFile("\xEF\xBB\xBF[Header]\r\nServers=1\r\n");
    EXPECT_EQ(PrivateProfile::ReadString(path, "Header", "Servers"), "1");
    ASSERT_TRUE(PrivateProfile::WriteString(path, "Header", "Groups", "0"));
    EXPECT_EQ(readFile(), "\xEF\xBB\xBF[Header]\r\nServers=1\r\nGroups=0\r\n");
}

TEST_F(PrivateProfileTest, EveryValueReadsBackWholeAndTouchesNoOtherKey)
{
    const std::string values[] = {
        "",
        "plain text",
        "a=b=c",
        "[Section]",
        "x\n[Header]\nServers=99",
        "line\r\nbreak\rand\nmore",
        "  leading and trailing blanks\t ",
        "\"quoted\"",
        "\"",
        "100% and %0A and %25 and %zz",
        "C:\\new\\table.ini",
        std::string("zero\0inside", 11),
        std::string(5000, 'x') + "end",
        "; not a comment",
    };
    PrivateProfile profile;
    ASSERT_TRUE(profile.setValue("Header", "Servers", "1"));
    for (size_t i = 0; i < std::size(values); ++i)
        ASSERT_TRUE(profile.setValue("Data", "Value" + std::to_string(i), values[i]));
    ASSERT_TRUE(profile.save(path));

    PrivateProfile loaded;
    ASSERT_TRUE(loaded.load(path));
    for (size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(loaded.value("Data", "Value" + std::to_string(i)), values[i]) << "value " << i;
    EXPECT_EQ(loaded.value("Header", "Servers"), "1");
    EXPECT_EQ(loaded.sections(), (std::vector<std::string>{"Header", "Data"}));
}

TEST_F(PrivateProfileTest, PlainValuesOfOtherToolsLoadAsTheyAreWritten)
{
    struct Case { const char* line; const char* value; };
    const Case cases[] = {
        {"Path=C:\\new\\table.ini", "C:\\new\\table.ini"},
        {"Rate=100%", "100%"},
        {"Code=%0A", "%0A"},
        {"Quoted=\"  padded  \"", "  padded  "},
        {"Half=\"open", "\"open"},
        {"Empty=", ""},
    };
    std::string contents = "[S]\n";
    for (const Case& c : cases)
        contents += std::string(c.line) + "\n";
    writeFile(contents);
    PrivateProfile profile;
    ASSERT_TRUE(profile.load(path));
    for (const Case& c : cases) {
        const std::string line = c.line;
        EXPECT_EQ(profile.value("S", line.substr(0, line.find('='))), c.value) << c.line;
    }
}

TEST_F(PrivateProfileTest, NamesThatCannotBeStoredAreRefusedAndChangeNothing)
{
    struct Case { std::string section; std::string key; };
    const Case cases[] = {
        {"", "Key"},         {"   ", "Key"},        {"Sec]tion", "Key"}, {"Sec\ntion", "Key"},
        {"Section", ""},     {"Section", "a=b"},    {"Section", "[Key]"}, {"Section", ";Key"},
        {"Section", "K\ney"}, {std::string("S\0", 2), "Key"},
    };
    PrivateProfile profile;
    ASSERT_TRUE(profile.setValue("Header", "Servers", "1"));
    const std::string before = profile.text();
    for (const Case& c : cases)
        EXPECT_FALSE(profile.setValue(c.section, c.key, "value")) << c.section << "/" << c.key;
    EXPECT_EQ(profile.text(), before);
}

TEST_F(PrivateProfileTest, FailedWritesAreReportedAndLeaveTheOldFileWhole)
{
    writeFile("[Header]\nServers=1\n");
    std::ofstream(folder / "plain-file") << "not a folder";
    const std::string unwritable[] = {
        (folder / "missing" / "config.ini").string(),
        (folder / "plain-file" / "config.ini").string(),
        folder.string(),
        "",
    };
    for (const std::string& target : unwritable) {
        EXPECT_FALSE(PrivateProfile::WriteString(target, "Header", "Servers", "2")) << target;
        PrivateProfile profile;
        profile.setValue("Header", "Servers", "2");
        EXPECT_FALSE(profile.save(target)) << target;
    }
    EXPECT_FALSE(fs::exists(folder / "missing"));
    EXPECT_EQ(readFile(), "[Header]\nServers=1\n");
    EXPECT_EQ(folderEntries().size(), 2u) << "no temporary file is left behind";
}

TEST_F(PrivateProfileTest, ASaveThatFailsHalfWayLeavesTheOldFileWhole)
{
    const std::string old = "[Header]\nServers=1\n";
    writeFile(old);
    PrivateProfile profile;
    ASSERT_TRUE(profile.load(path));
    for (int i = 0; i < 1000; ++i)
        profile.setValue("Group 1 0", "Item" + std::to_string(i), std::string(100, 'v'));

    // Files may grow to less than the new document: the write stops half way,
    // whoever runs the test.
    rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = profile.save(path);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(readFile(), old);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"config.ini"});
}

TEST_F(PrivateProfileTest, AFileThatCannotBeReadIsNeitherReadNorReplaced)
{
    fs::create_directories(path);  // a folder where the file should be
    EXPECT_EQ(PrivateProfile::ReadString(path, "Header", "Servers"), std::nullopt);
    EXPECT_FALSE(PrivateProfile::WriteString(path, "Header", "Servers", "2"));
    EXPECT_TRUE(fs::is_directory(path));
    PrivateProfile profile;
    EXPECT_FALSE(profile.load(path));
}

TEST_F(PrivateProfileTest, SaveReplacesTheFileAtOnceAndKeepsSymbolicLinks)
{
    writeFile("[Header]\nServers=1\n");
    const fs::path link = folder / "link.ini";
    fs::create_symlink(path, link);

    PrivateProfile profile;
    ASSERT_TRUE(profile.load(link.string()));
    profile.setValue("Header", "Servers", "2");
    ASSERT_TRUE(profile.save(link.string()));

    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFile(), "[Header]\nServers=2\n");
    EXPECT_EQ(folderEntries().size(), 2u);
}

TEST_F(PrivateProfileTest, ManyKeysAreWrittenWithOneSave)
{
    constexpr int Items = 10000;
    PrivateProfile profile;
    for (int i = 1; i <= Items; ++i) {
        const std::string n = std::to_string(i);
        profile.setValue("Group 1 0", "Item" + n, "Plant.Tag" + n);
        profile.setValue("Group 1 0", "Alias" + n, "Alias " + n);
    }
    ASSERT_TRUE(profile.save(path));

    PrivateProfile loaded;
    ASSERT_TRUE(loaded.load(path));
    for (int i = 1; i <= Items; i += 999)
        EXPECT_EQ(loaded.value("Group 1 0", "item" + std::to_string(i)), "Plant.Tag" + std::to_string(i));
    EXPECT_EQ(loaded.text(), profile.text());
}

TEST_F(PrivateProfileTest, AFileNameOfTheLongestAllowedLengthSaves)
{
    const std::string longPath = (folder / (std::string(251, 'n') + ".ini")).string();
    EXPECT_TRUE(PrivateProfile::WriteString(longPath, "Header", "Servers", "1"));
    EXPECT_EQ(PrivateProfile::ReadString(longPath, "Header", "Servers"), "1");
}

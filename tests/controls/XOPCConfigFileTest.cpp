// Configuration files of the data control: what WriteConfig puts in the file
// and in which order, what LoadConfig builds from a file, where a load stops
// and what it leaves, and what a failed write leaves on disk.

#include "XOPCFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "automation/sim/SimServer.h"
#include "core/cOPCGroup.h"
#include "core/cOPCItem.h"
#include "core/cOPCServer.h"
#include "platform/ComError.h"
#include "platform/PrivateProfile.h"

namespace tagwell::test {
namespace {

constexpr int ItemsInFirstGroup = 12;

class XOPCConfigFile : public XOPCFixture {
protected:
    void SetUp() override
    {
        XOPCFixture::SetUp();
        ASSERT_TRUE(folder.isValid());
        demo().addGeneratedTags("Bulk", ItemsInFirstGroup, SimSignal::Ramp);
    }

    QString path(const QString& name) const { return folder.filePath(name); }

    QString writeFile(const QString& name, const QByteArray& text) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path(name);
    }

    static QByteArray readFile(const QString& filePath)
    {
        QFile file(filePath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The key names of one section, in file order.
    static QStringList keysOf(const QString& filePath, const QString& section)
    {
        QStringList keys;
        bool inside = false;
        for (const QByteArray& raw : readFile(filePath).split('\n')) {
            const QString line = QString::fromUtf8(raw).trimmed();
            if (line.startsWith('['))
                inside = line == '[' + section + ']';
            else if (inside && line.contains('='))
                keys << line.section('=', 0, 0);
        }
        return keys;
    }

    static QString value(const QString& filePath, const std::string& section, const std::string& key)
    {
        return QString::fromStdString(
            PrivateProfile::ReadString(filePath.toStdString(), section, key).value_or("<missing>"));
    }

    // Two servers with two groups each. The first group holds the generated
    // tags with flags, aliases and tags that differ from item to item; the
    // groups start inactive or unsubscribed, with fractional dead bands.
    void buildTwoServers()
    {
        for (int s = 0; s < 2; ++s) {
            const qint16 id = control->AddNewServer(DemoProgId);
            ASSERT_GE(id, 0);
            const QString first = control->AddNewGroup(QString("G%1a").arg(s), 100 + s, 2.5f, false,
                                                       true, id);
            control->AddNewGroup(QString("G%1b").arg(s), 250, 0.125f, true, false, id);
            ASSERT_FALSE(first.isEmpty());
            const int items = s == 0 ? ItemsInFirstGroup : 1;
            for (int i = 1; i <= items; ++i) {
                const QString key = control->AddNewItem(id, first, QString("Bulk.Tag%1").arg(i),
                                                        vtR8, i % 2 == 0, QString("alias %1").arg(i),
                                                        QString("t1-%1").arg(i), QString("t2-%1").arg(i));
                ASSERT_FALSE(key.isEmpty());
                cOPCItem& item = itemOf(collector().ServerById(id), first, key);
                item.SetItemLogged(i % 3 == 0);
                item.SetItemDisplayUpdates(i % 4 != 0);
            }
        }
    }

    static cOPCItem& itemOf(const std::shared_ptr<cOPCServer>& server, const QString& groupKey,
                            const QString& itemKey)
    {
        cOPCGroup& group = **server->GetOPCServerGroupCollection().find(groupKey.toStdString());
        return **group.GetOPCGroupItemsCollection().find(itemKey.mid(4).toStdString());
    }

    // The configuration as lines: servers, groups with name, rate and dead
    // band, items with every saved setting and the requested data type.
    QStringList describe()
    {
        QStringList lines;
        for (auto& server : collector().Servers()) {
            lines << "server " + QString::fromStdString(server.value->GetServerName());
            for (auto& group : server.value->GetOPCServerGroupCollection()) {
                int32_t rate = 0;
                float deadband = 0;
                group.value->GetGroupUpdateRate(rate);
                group.value->GetGroupDeadBand(deadband);
                lines << QString(" group %1 %2 %3")
                             .arg(QString::fromStdString(group.value->GetGroupName()))
                             .arg(rate)
                             .arg(double(deadband));
                for (auto& entry : group.value->GetOPCGroupItemsCollection()) {
                    cOPCItem& item = *entry.value;
                    lines << QString("  %1 active=%2 logged=%3 updated=%4 [%5] [%6] [%7]")
                                 .arg(QString::fromStdString(item.GetItemID()))
                                 .arg(item.GetItemActiveState())
                                 .arg(item.GetItemLogged())
                                 .arg(item.GetItemDisplayUpdates())
                                 .arg(QString::fromStdString(item.GetItemAlias()))
                                 .arg(QString::fromStdString(item.GetItemCustomTag1()))
                                 .arg(QString::fromStdString(item.GetItemCustomTag2()));
                }
            }
        }
        return lines;
    }

    std::vector<std::shared_ptr<cOPCGroup>> allGroups()
    {
        std::vector<std::shared_ptr<cOPCGroup>> groups;
        for (auto& server : collector().Servers())
            for (auto& group : server.value->GetOPCServerGroupCollection())
                groups.push_back(group.value);
        return groups;
    }

    size_t itemCount()
    {
        size_t n = 0;
        for (const auto& group : allGroups())
            n += group->GetOPCGroupItemsCollection().count();
        return n;
    }

    bool stateWatchRuns() const
    {
        const auto timer = control->Timer();
        return timer && timer->Enabled() && timer->Time3Enabled();
    }

    QTemporaryDir folder;
};

// ---- Writing -----------------------------------------------------------------

TEST_F(XOPCConfigFile, SectionsFollowServersEachWithItsGroups)
{
    buildTwoServers();
    const QString file = path("two.ini");

    ASSERT_TRUE(control->WriteConfig("Two servers", file));

    PrivateProfile profile;
    ASSERT_TRUE(profile.load(file.toStdString()));
    EXPECT_EQ(profile.sections(),
              (std::vector<std::string>{"Header", "Server 0", "Group 1 0", "Group 1 1", "Server 1",
                                        "Group 2 0", "Group 2 1"}));
    EXPECT_EQ(keysOf(file, "Header"), QStringList({"ConfigurationName", "Servers"}));
    EXPECT_EQ(keysOf(file, "Server 1"), QStringList({"ProgID", "Node", "Groups"}));
    EXPECT_EQ(value(file, "Header", "ConfigurationName"), "Two servers");
    EXPECT_EQ(value(file, "Header", "Servers"), "2");
    EXPECT_EQ(value(file, "Server 0", "Node"), "") << "the local computer is stored as no node";
}

TEST_F(XOPCConfigFile, ItemKeysCarryTheItemPositionWithoutSeparator)
{
    buildTwoServers();
    const QString file = path("two.ini");
    ASSERT_TRUE(control->WriteConfig("x", file));

    const QStringList keys = keysOf(file, "Group 1 0");
    ASSERT_EQ(keys.size(), 4 + 7 * ItemsInFirstGroup);
    EXPECT_EQ(keys.mid(0, 5), QStringList({"GroupName", "UpdateRate", "Deadband", "Items", "Item1"}));
    EXPECT_EQ(keys.mid(keys.size() - 7),
              QStringList({"Item12", "Active12", "Logged12", "Updated12", "Alias12", "CustomTag112",
                           "CustomTag212"}));
    EXPECT_EQ(value(file, "Group 1 0", "Item12"), "Bulk.Tag12");
    EXPECT_EQ(value(file, "Group 1 0", "Active12"), "True");
    EXPECT_EQ(value(file, "Group 1 0", "Logged12"), "True");
    EXPECT_EQ(value(file, "Group 1 0", "Updated12"), "False");
    EXPECT_EQ(value(file, "Group 1 0", "CustomTag212"), "t2-12");
    EXPECT_EQ(value(file, "Group 1 0", "Items"), QString::number(ItemsInFirstGroup));
}

struct DeadbandCase {
    float deadband;
    const char* written;
};

class XOPCConfigDeadbandWrite : public XOPCConfigFile,
                                public ::testing::WithParamInterface<DeadbandCase> {};

TEST_P(XOPCConfigDeadbandWrite, DeadbandIsWrittenUnroundedInGeneralForm)
{
    const qint16 id = addServer();
    ASSERT_FALSE(control->AddNewGroup("G", 100, GetParam().deadband, true, true, id).isEmpty());
    const QString file = path("deadband.ini");

    ASSERT_TRUE(control->WriteConfig("x", file));
    EXPECT_EQ(value(file, "Group 1 0", "Deadband"), GetParam().written);

    ASSERT_TRUE(control->LoadConfig(file));
    float loaded = -1;
    ASSERT_TRUE(allGroups().at(0)->GetGroupDeadBand(loaded));
    EXPECT_EQ(loaded, GetParam().deadband);
}

INSTANTIATE_TEST_SUITE_P(Values, XOPCConfigDeadbandWrite,
                         ::testing::Values(DeadbandCase{2.5f, "2.5"}, DeadbandCase{3.5f, "3.5"},
                                           DeadbandCase{0.125f, "0.125"}, DeadbandCase{2.0f, "2"},
                                           DeadbandCase{0.0f, "0"}));

TEST_F(XOPCConfigFile, WriteIntoMissingFolderFailsAndMakesNoFile)
{
    buildTwoServers();
    const QString file = path("missing/folder/config.ini");

    EXPECT_FALSE(control->WriteConfig("x", file));
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_FALSE(QDir(path("missing")).exists());
}

TEST_F(XOPCConfigFile, WriteUnderAPathWhoseFolderIsAFileFails)
{
    buildTwoServers();
    const QString blocker = writeFile("plain-file", "not a folder");

    EXPECT_FALSE(control->WriteConfig("x", blocker + "/config.ini"));
    EXPECT_EQ(readFile(blocker), "not a folder");
}

TEST_F(XOPCConfigFile, FailedWriteLeavesTheEarlierFileWhole)
{
    buildTwoServers();
    const QString file = path("kept.ini");
    ASSERT_TRUE(control->WriteConfig("first", file));
    const QByteArray before = readFile(file);
    // The first group cannot tell its update rate: the write stops there.
    demo().faults().fail("UpdateRate", errors::E_FAIL_);
    EXPECT_FALSE(control->WriteConfig("second", file));
    demo().faults().clearAll();

    EXPECT_EQ(readFile(file), before);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList({"kept.ini"}))
        << "no temporary file is left behind";
}

TEST_F(XOPCConfigFile, WriteReplacesTheEarlierFileInsteadOfAddingToIt)
{
    buildTwoServers();
    const QString file = writeFile("old.ini", "[Group 1 0]\nItem99=Stale\n[Other]\nKey=1\n");

    ASSERT_TRUE(control->WriteConfig("x", file));

    EXPECT_EQ(value(file, "Group 1 0", "Item99"), "<missing>");
    EXPECT_EQ(value(file, "Other", "Key"), "<missing>");
}

// ---- Round trips -----------------------------------------------------------------

TEST_F(XOPCConfigFile, RoundTripKeepsServersGroupsItemsFlagsAndTags)
{
    buildTwoServers();
    const QStringList before = describe();
    const QString file = path("round.ini");
    ASSERT_TRUE(control->WriteConfig("x", file));

    ASSERT_TRUE(control->LoadConfig(file));

    EXPECT_EQ(describe(), before);
    for (const auto& group : allGroups()) {
        bool active = false, subscribed = false;
        ASSERT_TRUE(group->GetGroupActiveState(active));
        ASSERT_TRUE(group->GetGroupSubscribed(subscribed));
        EXPECT_TRUE(active && subscribed) << group->GetGroupName();
        for (auto& item : group->GetOPCGroupItemsCollection())
            EXPECT_EQ(item.value->GetItemDataType(cOPCItem::ReadStored), 0) << item.value->GetItemID();
    }
}

TEST_F(XOPCConfigFile, LongAndMultiLineTextsComeBackWhole)
{
    const qint16 id = addServer();
    const QString group = addGroup(id);
    const QString longAlias(300, QChar('a'));
    const QString twoLines = "first line\nsecond line = 100%";
    ASSERT_FALSE(control->AddNewItem(id, group, Ramp1, 0, true, longAlias, twoLines, " padded ").isEmpty());
    const QString file = path("texts.ini");
    ASSERT_TRUE(control->WriteConfig("x", file));

    ASSERT_TRUE(control->LoadConfig(file));

    const cOPCItem& item = *allGroups().at(0)->GetOPCGroupItemsCollection().begin()->value;
    EXPECT_EQ(QString::fromStdString(item.GetItemAlias()), longAlias);
    EXPECT_EQ(QString::fromStdString(item.GetItemCustomTag1()), twoLines);
    EXPECT_EQ(QString::fromStdString(item.GetItemCustomTag2()), " padded ");
}

// ---- Loading -------------------------------------------------------------------------

struct DeadbandText {
    const char* stored;
    float loaded;
};

class XOPCConfigDeadbandRead : public XOPCConfigFile,
                               public ::testing::WithParamInterface<DeadbandText> {};

TEST_P(XOPCConfigDeadbandRead, StoredDeadbandIsReadAsAFloat)
{
    const QString file = writeFile("d.ini", QByteArray("[Header]\nServers=1\n[Server 0]\nProgID=") +
                                                DemoProgId + "\nGroups=1\n[Group 1 0]\nGroupName=G\n"
                                                "UpdateRate=100\nDeadband=" + GetParam().stored + "\n");

    ASSERT_TRUE(control->LoadConfig(file));

    float loaded = -1;
    ASSERT_TRUE(allGroups().at(0)->GetGroupDeadBand(loaded));
    EXPECT_EQ(loaded, GetParam().loaded);
}

INSTANTIATE_TEST_SUITE_P(Texts, XOPCConfigDeadbandRead,
                         ::testing::Values(DeadbandText{"2", 2.0f}, DeadbandText{"2.5", 2.5f},
                                           DeadbandText{" 4 ", 4.0f}, DeadbandText{"1E-2", 0.01f}));

TEST_F(XOPCConfigFile, LoadShowsTheLastGroupWithItsItemsAndStartsTheStateWatch)
{
    buildTwoServers();
    const QString file = path("shown.ini");
    ASSERT_TRUE(control->WriteConfig("x", file));
    control->StartDisplayUpdate(100);

    ASSERT_TRUE(control->LoadConfig(file));

    // The last group in the file, G1b, has no items; the one before it shows
    // how the title reads after items were loaded.
    EXPECT_EQ(collector().SelectedOPCGroup->GetGroupName(), "G1b");
    EXPECT_EQ(list().RowCount(), 0);
    EXPECT_TRUE(stateWatchRuns());
    EXPECT_FALSE(control->Timer()->Time1Enabled()) << "display updates stop";
    EXPECT_EQ(collector().GlobalItemCount, ItemsInFirstGroup + 1);
}

TEST_F(XOPCConfigFile, LoadedGroupIsListedWithEveryItemUnderItsMemberTitle)
{
    const QString file = writeFile(
        "one.ini", QByteArray("[Header]\nServers=1\n[Server 0]\nProgID=") + DemoProgId +
                       "\nGroups=1\n[Group 1 0]\nGroupName=Only\nUpdateRate=100\nDeadband=0\nItems=3\n"
                       "Item1=Bulk.Tag1\nActive1=True\nLogged1=False\nUpdated1=True\n"
                       "Item2=No.Such.Item\nActive2=1\nLogged2=0\nUpdated2=-1\n"
                       "Item3=Bulk.Tag3\nActive3=false\nLogged3=TRUE\nUpdated3=0\n");

    ASSERT_TRUE(control->LoadConfig(file));

    ASSERT_EQ(list().RowCount(), 2);
    EXPECT_TRUE(rowText(0).startsWith("    Bulk.Tag1 | "));
    EXPECT_TRUE(rowText(1).startsWith("    Bulk.Tag3 | "));
    EXPECT_EQ(control->Title(), "Total Item Count = 2, Member(s) of Group 'Only':");
    EXPECT_TRUE(control->LogLines().contains("Unable to add Item No.Such.Item"));
    EXPECT_EQ(control->LogLines().first(), "New configuration...");
}

TEST_F(XOPCConfigFile, LoadReplacesTheCurrentConfiguration)
{
    buildTwoServers();
    const QString file = writeFile("empty.ini", "[Header]\nConfigurationName=Nothing\n");

    ASSERT_TRUE(control->LoadConfig(file));

    EXPECT_EQ(collector().Servers().count(), 0u);
    EXPECT_EQ(collector().GlobalItemCount, 0);
    EXPECT_TRUE(stateWatchRuns());
}

TEST_F(XOPCConfigFile, APathWithoutAFileFailsAndKeepsTheCurrentConfiguration)
{
    buildTwoServers();
    const size_t groupsBefore = allGroups().size();
    for (const QString& missing : {path("no-such-config.ini"), path("")}) {
        EXPECT_FALSE(control->LoadConfig(missing)) << missing.toStdString();
        EXPECT_EQ(collector().Servers().count(), 2u);
        EXPECT_EQ(allGroups().size(), groupsBefore);
        EXPECT_FALSE(stateWatchRuns());
    }
}

// One file per failure point; each names what must be left loaded.
struct LoadCase {
    const char* name;
    std::string text;  // "%1" stands for the demonstration ProgID
    bool result;
    size_t groups;
    size_t items;
};

// A first server whose group loads with one item, before the case's own.
const std::string GoodServerWithOneItem =
    "[Header]\nServers=2\n"
    "[Server 0]\nProgID=%1\nGroups=1\n"
    "[Group 1 0]\nGroupName=Good\nUpdateRate=100\nDeadband=0\nItems=1\n"
    "Item1=Bulk.Tag1\nActive1=True\nLogged1=False\nUpdated1=True\n";

class XOPCConfigLoad : public XOPCConfigFile, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(XOPCConfigLoad, LoadStopsWhereTheFileFailsAndKeepsWhatWasLoaded)
{
    const LoadCase& c = GetParam();
    const QString text = QString::fromStdString(c.text).replace("%1", DemoProgId);
    const QString file = writeFile("case.ini", text.toUtf8());

    EXPECT_EQ(control->LoadConfig(file), c.result);

    EXPECT_EQ(allGroups().size(), c.groups);
    EXPECT_EQ(itemCount(), c.items);
    EXPECT_EQ(stateWatchRuns(), c.result) << "the watch is started by a load that succeeds";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XOPCConfigLoad,
    ::testing::Values(
        LoadCase{"NoServersKey", "[Header]\nConfigurationName=x\n", true, 0, 0},
        LoadCase{"EmptyFile", "", true, 0, 0},
        LoadCase{"FirstServerFailsWithGroups",
                 "[Header]\nServers=2\n[Server 0]\nProgID=No.Such.Server\nGroups=1\n"
                 "[Group 1 0]\nGroupName=G\nUpdateRate=100\nDeadband=0\n"
                 "[Server 1]\nProgID=%1\nGroups=1\n"
                 "[Group 2 0]\nGroupName=G\nUpdateRate=100\nDeadband=0\n",
                 false, 0, 0},
        LoadCase{"FirstServerFailsWithoutGroups",
                 "[Header]\nServers=2\n[Server 0]\nProgID=No.Such.Server\n"
                 "[Server 1]\nProgID=%1\nGroups=1\n"
                 "[Group 2 0]\nGroupName=G\nUpdateRate=100\nDeadband=0\n",
                 true, 1, 0},
        LoadCase{"EmptyProgIdWithoutGroups",
                 "[Header]\nServers=1\n[Server 0]\nNode=\n", true, 0, 0},
        LoadCase{"MissingUpdateRate",
                 GoodServerWithOneItem + "[Server 1]\nProgID=%1\nGroups=1\n[Group 2 0]\nGroupName=G\nDeadband=0\n",
                 false, 1, 1},
        LoadCase{"UpdateRateNotANumber",
                 GoodServerWithOneItem + "[Server 1]\nProgID=%1\nGroups=1\n[Group 2 0]\nGroupName=G\nUpdateRate=fast\nDeadband=0\n",
                 false, 1, 1},
        LoadCase{"MissingDeadband",
                 GoodServerWithOneItem + "[Server 1]\nProgID=%1\nGroups=1\n[Group 2 0]\nGroupName=G\nUpdateRate=100\n",
                 false, 1, 1},
        LoadCase{"BadFlagKeepsTheItemsBeforeIt",
                 "[Header]\nServers=1\n[Server 0]\nProgID=%1\nGroups=1\n"
                 "[Group 1 0]\nGroupName=G\nUpdateRate=100\nDeadband=0\nItems=3\n"
                 "Item1=Bulk.Tag1\nActive1=True\nLogged1=False\nUpdated1=True\n"
                 "Item2=Bulk.Tag2\nActive2=Yes\nLogged2=False\nUpdated2=True\n"
                 "Item3=Bulk.Tag3\nActive3=True\nLogged3=False\nUpdated3=True\n",
                 false, 1, 1},
        LoadCase{"MissingFlag",
                 "[Header]\nServers=1\n[Server 0]\nProgID=%1\nGroups=1\n"
                 "[Group 1 0]\nGroupName=G\nUpdateRate=100\nDeadband=0\nItems=1\n"
                 "Item1=Bulk.Tag1\nActive1=True\nUpdated1=True\n",
                 false, 1, 0},
        LoadCase{"ItemCountBeyondSixteenBits",
                 "[Header]\nServers=1\n[Server 0]\nProgID=%1\nGroups=1\n"
                 "[Group 1 0]\nGroupName=G\nUpdateRate=100\nDeadband=0\nItems=32768\n",
                 false, 1, 0},
        LoadCase{"ServerCountBeyondSixteenBits", "[Header]\nServers=40000\n", false, 0, 0},
        LoadCase{"MissingCountsMeanNone",
                 "[Header]\nServers=1\n[Server 0]\nProgID=%1\n", true, 0, 0}),
    [](const ::testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tagwell::test

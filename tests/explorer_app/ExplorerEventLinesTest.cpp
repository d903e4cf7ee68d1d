// The lines the explorer writes for the control's events.
#include "ExplorerFixture.h"

#include <QListWidget>
#include <QSignalSpy>

#include "controls/xopc/XOPCItemListModel.h"
#include "core/MCollector.h"
#include "core/cOPCGroup.h"
#include "core/cOPCItem.h"
#include "core/cOPCServer.h"
#include "platform/OleDate.h"
#include "platform/PointerService.h"

namespace tagwell::test {
namespace {

constexpr const char* Ramp1 = "SimulatePLC.PHASED.Ramp1";

class ExplorerEventLines : public ExplorerFixture {
protected:
    // The demonstration configuration, the list emptied.
    void loadDemo()
    {
        trigger("mnuLoadDefault");
        form->updates()->clear();
    }

    // Every item of the demonstration's first group, logged for collection.
    void logFirstGroup()
    {
        auto& server = collector().Servers().begin()->value;
        auto& group = server->GetOPCServerGroupCollection().begin()->value;
        for (const auto& item : group->GetOPCGroupItemsCollection())
            item.value->SetItemLogged(true);
    }

    void addLines(const QStringList& lines) { form->updates()->addItems(lines); }
};

TEST_F(ExplorerEventLines, CollectedItemUpdatesReplaceTheListWithTheirValues)
{
    loadDemo();
    logFirstGroup();
    control().setCollectMode(cmItem);
    trigger("mnuCollectionUpdates");
    QSignalSpy batches(&control(), &XOPC::BatchItemUpdate);
    addLines({"older line"});

    advance(600);
    tick(1000);

    ASSERT_GE(batches.count(), 1);
    const QList<QVariant> last = batches.last();
    const qint32 count = last[1].toInt();
    const auto values = last[2].value<OleArray<Variant>>();
    const auto stamps = last[3].value<OleArray<double>>();
    const auto qualities = last[4].value<OleArray<qint32>>();
    ASSERT_GT(count, 1);

    const QStringList lines = form->UpdateLines();
    ASSERT_EQ(lines.size(), 2 + 3 * count);
    EXPECT_EQ(lines[0], "ItemID = " + last[0].toString());
    EXPECT_EQ(lines[1], "Count = " + QString::number(count));
    for (qint32 i = 1; i <= count; ++i) {
        const int first = 2 + 3 * (i - 1);
        EXPECT_EQ(lines[first], QStringLiteral("Value(%1) = %2").arg(i).arg(QString::fromStdString(values[i].toString())));
        EXPECT_EQ(lines[first + 1], QStringLiteral("Timestamp(%1) = %2").arg(i).arg(QString::fromStdString(OleDate::toText(stamps[i]))));
        EXPECT_EQ(lines[first + 2], QStringLiteral("Quality(%1) = %2").arg(i).arg(qualities[i]));
    }
    EXPECT_EQ(pointer.shape, pointer::Default);
    EXPECT_NE(std::find(pointer.changes.begin(), pointer.changes.end(), int(pointer::Hourglass)),
              pointer.changes.end());
}

TEST_F(ExplorerEventLines, AnItemBatchOfNoUpdatesLeavesExactlyTwoLines)
{
    addLines({"one", "two", "three"});

    emit control().BatchItemUpdate(Ramp1, 0, {}, {}, {});

    EXPECT_EQ(form->UpdateLines(), QStringList({QString("ItemID = ") + Ramp1, "Count = 0"}));
}

struct ValueCase {
    const char* name;
    Variant value;
    const char* line;  // nullptr: no Value line
};

class ExplorerBatchValues : public ExplorerEventLines,
                            public ::testing::WithParamInterface<ValueCase> {};

TEST_P(ExplorerBatchValues, ShowEachValueOrSkipIt)
{
    const ValueCase& c = GetParam();
    const double stamp = OleDate::fromCivil({2024, 5, 17, 8, 30, 15, 0});

    emit control().BatchItemUpdate(Ramp1, 1, OleArray<Variant>(1, {c.value}),
                                   OleArray<double>(1, {stamp}), OleArray<qint32>(1, {192}));

    QStringList expected{QString("ItemID = ") + Ramp1, "Count = 1"};
    if (c.line)
        expected << c.line;
    expected << "Timestamp(1) = 2024-05-17 08:30:15" << "Quality(1) = 192";
    EXPECT_EQ(form->UpdateLines(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ExplorerBatchValues,
    ::testing::Values(
        ValueCase{"Number", Variant(12.5), "Value(1) = 12.5"},
        ValueCase{"Boolean", Variant(true), "Value(1) = True"},
        ValueCase{"ArrayFromZero",
                  Variant::array(vtI4, {Variant(int32_t(4)), Variant(int32_t(5)), Variant(int32_t(6))}, 0),
                  "Value(1) = 4, 5, 6, "},
        ValueCase{"ArrayOfOne", Variant::array(vtR8, {Variant(1.5)}, 0), "Value(1) = 1.5, "},
        ValueCase{"Null", Variant::null(), nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExplorerEventLines, AllItemBatchesAddOneLineUnlessEmpty)
{
    addLines({"kept"});
    pointer.setPointer(pointer::Cross);

    emit control().BatchAllUpdates(0, {}, {}, {}, {}, {});
    EXPECT_EQ(form->UpdateLines(), QStringList({"kept"}));

    emit control().BatchAllUpdates(3, {}, {}, {}, {}, {});
    EXPECT_EQ(form->UpdateLines(),
              QStringList({"kept", "3 updates received, " +
                                       QString::fromStdString(OleDate::toText(clock.currentDate()))}));
    EXPECT_EQ(pointer.shape, pointer::Cross);
    EXPECT_NE(std::find(pointer.changes.begin(), pointer.changes.end(), int(pointer::Hourglass)),
              pointer.changes.end());
}

TEST_F(ExplorerEventLines, ErrorsOfTheControlAreListed)
{
    loadDemo();
    QSignalSpy errors(&control(), &XOPC::OPCError);
    const qint16 server = 0;

    control().AddNewItem(server, collector().SelectedOPCGroup->GetGroupKey().c_str(),
                         "No.Such.Item", 0, true);

    ASSERT_GE(errors.count(), 1);
    QStringList expected;
    for (const QList<QVariant>& error : errors)
        expected << "OPC Error: " + error[0].toString();
    EXPECT_EQ(form->UpdateLines().mid(0, expected.size()), expected);
}

TEST_F(ExplorerEventLines, AShutDownServerIsListedAndConnectedAgain)
{
    loadDemo();

    demo().shutdown("Maintenance");
    advance(1);

    const QStringList lines = form->UpdateLines();
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], "OPC Server Shutdown, serverkey =  Server 0, Reason = Maintenance");
    EXPECT_EQ(lines[1], "Server Added: Server 1, ICONICS.Simulator.1");
    ASSERT_EQ(collector().Servers().count(), 1u);
    EXPECT_EQ(collector().Servers().begin()->key, "Server 1");
    EXPECT_GT(demo().connectionCount(), 0);
}

}  // namespace
}  // namespace tagwell::test

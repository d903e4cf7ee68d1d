// Saving and loading the chart through a property bag, and the notices of
// changed properties.

#include <QLineEdit>
#include <QMetaProperty>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <ostream>

#include "ChartProbe.h"
#include "platform/qt/MemoryPropertyBag.h"

namespace tagwell::test {
namespace {

const QStringList AllKeys = {QStringLiteral("ScaleHeight"),  QStringLiteral("ScaleWidth"),
                             QStringLiteral("ShowValueInToolTip"), QStringLiteral("LegendBackgroundColour"),
                             QStringLiteral("LegendColour"), QStringLiteral("Min"), QStringLiteral("Max")};

TEST(LumaplotProperties, SaveAndLoadRoundTrip)
{
    auto saved = shownChart();
    saved->setScaleHeight(120);
    saved->setScaleWidth(300);
    saved->setShowValueInToolTip(true);
    saved->setLegendBackgroundColour(0x123456);
    saved->setLegendColour(0x80000012u);
    saved->setMin(-2.5f);
    saved->setMax(7.25f);
    MemoryPropertyBag bag;
    saved->WriteProperties(bag);
    const QStringList stored = bag.keys();
    EXPECT_EQ(QSet<QString>(stored.begin(), stored.end()), QSet<QString>(AllKeys.begin(), AllKeys.end()));

    auto loaded = shownChart();
    loaded->ReadProperties(bag);

    for (const QString& key : AllKeys)
        EXPECT_EQ(loaded->property(key.toLatin1()), saved->property(key.toLatin1())) << key.toStdString();
    EXPECT_EQ(loaded->findChild<QLineEdit*>(QStringLiteral("txtMid"))->text(), QStringLiteral("2.375"));
    MemoryPropertyBag again;
    loaded->WriteProperties(again);
    EXPECT_EQ(again.values(), bag.values());
}

TEST(LumaplotProperties, DefaultsAreNotStored)
{
    auto chart = shownChart();
    MemoryPropertyBag bag;
    chart->WriteProperties(bag);
    // Only the area's size differs from its default of 555.
    EXPECT_EQ(bag.keys(), (QStringList{QStringLiteral("ScaleHeight"), QStringLiteral("ScaleWidth")}));

    MemoryPropertyBag empty;
    auto loaded = shownChart();
    loaded->ReadProperties(empty);
    EXPECT_EQ(loaded->ScaleHeight(), 555);
    EXPECT_EQ(loaded->Min(), 0.0f);
    EXPECT_EQ(loaded->Max(), 100.0f);
    EXPECT_EQ(loaded->LegendBackgroundColour(), 0x80000018u);
    EXPECT_EQ(loaded->LegendColour(), 0x80000008u);
}

TEST(LumaplotProperties, PlotDialogSettingMatchesItsChartSize)
{
    MemoryPropertyBag bag;
    Lumaplot::writePlotDialogProperties(bag);
    auto chart = shownChart();
    const qint16 laidOutHeight = chart->ScaleHeight();
    const qint16 laidOutWidth = chart->ScaleWidth();

    chart->ReadProperties(bag);

    EXPECT_EQ(chart->ScaleHeight(), 183);
    EXPECT_EQ(chart->ScaleWidth(), 551);
    EXPECT_TRUE(chart->ShowValueInToolTip());
    // The dialog's chart (8295 x 2775 twips) has exactly that inner area.
    EXPECT_EQ(chart->ScaleHeight(), laidOutHeight);
    EXPECT_EQ(chart->ScaleWidth(), laidOutWidth);
}

TEST(LumaplotProperties, UnreadableOrEmptyStoredRangeStillLoads)
{
    MemoryPropertyBag bag;
    bag.write(QStringLiteral("Min"), QStringLiteral("not a number"), 0.0f);
    bag.write(QStringLiteral("LegendColour"), QStringLiteral("blue"), 0u);
    auto chart = shownChart();
    chart->ReadProperties(bag);
    EXPECT_EQ(chart->Min(), 0.0f);
    EXPECT_EQ(chart->LegendColour(), 0x80000008u);

    MemoryPropertyBag emptyRange;
    Lumaplot::writePlotDialogProperties(emptyRange);  // the area's real size
    emptyRange.write(QStringLiteral("Min"), 5.0f, 0.0f);
    emptyRange.write(QStringLiteral("Max"), 5.0f, 100.0f);
    auto flat = shownChart();
    flat->ReadProperties(emptyRange);
    EXPECT_EQ(flat->lastError(), Lumaplot::DivisionByZero);
    EXPECT_EQ(flat->findChild<QLineEdit*>(QStringLiteral("txtMid"))->text(), QStringLiteral("5"));
    for (qint32 x = 1; x <= 3; ++x)
        EXPECT_EQ(flat->UpdateGraph(1, x, 5), 0);
    EXPECT_EQ(rowsWith(picture(*flat), 4, Red).size(), 1);
}

struct StoredFlagCase {
    QVariant stored;
    bool shown;
};

void PrintTo(const StoredFlagCase& c, std::ostream* out) { *out << c.stored.toString().toStdString(); }

class LumaplotStoredFlag : public ::testing::TestWithParam<StoredFlagCase> {};

TEST_P(LumaplotStoredFlag, ReadsAsTheFlagOrFallsBackToHidden)
{
    for (const bool before : {false, true}) {
        MemoryPropertyBag bag;
        bag.write(QStringLiteral("ShowValueInToolTip"), GetParam().stored, QVariant());
        auto chart = shownChart();
        chart->setShowValueInToolTip(before);
        chart->ReadProperties(bag);
        EXPECT_EQ(chart->ShowValueInToolTip(), GetParam().shown) << "shown before: " << before;
    }
}

INSTANTIATE_TEST_SUITE_P(, LumaplotStoredFlag,
                         ::testing::Values(StoredFlagCase{true, true}, StoredFlagCase{false, false},
                                           StoredFlagCase{QStringLiteral("true"), true},
                                           StoredFlagCase{QStringLiteral("False"), false},
                                           StoredFlagCase{QStringLiteral("-1"), true}, StoredFlagCase{0, false},
                                           StoredFlagCase{QStringLiteral("maybe"), false},
                                           StoredFlagCase{QStringLiteral(""), false}));

struct WriteCase {
    const char* property;
    QVariant value;
};

void PrintTo(const WriteCase& c, std::ostream* out) { *out << c.property; }

class LumaplotPropertyWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(LumaplotPropertyWrite, IsReportedChangedOnceAndReadsBack)
{
    auto chart = shownChart();
    QSignalSpy changed(chart.get(), &Lumaplot::propertyChanged);
    const QMetaProperty property =
        chart->metaObject()->property(chart->metaObject()->indexOfProperty(GetParam().property));
    ASSERT_TRUE(property.isValid());

    ASSERT_TRUE(property.write(chart.get(), GetParam().value));

    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toString(), QString::fromLatin1(GetParam().property));
    EXPECT_EQ(property.read(chart.get()), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    , LumaplotPropertyWrite,
    ::testing::Values(WriteCase{"ScaleHeight", QVariant::fromValue<qint16>(100)},
                      WriteCase{"ScaleWidth", QVariant::fromValue<qint16>(200)},
                      WriteCase{"ShowValueInToolTip", true}, WriteCase{"LegendBackgroundColour", 0xFFu},
                      WriteCase{"LegendColour", 0xFF00u}, WriteCase{"Min", -5.0f}, WriteCase{"Max", 50.0f}));

}  // namespace
}  // namespace tagwell::test

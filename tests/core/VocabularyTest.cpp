#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "core/IndexAllocator.h"
#include "core/KeyedCollection.h"
#include "core/OPCKeys.h"
#include "core/OPCText.h"

using namespace tagwell;

TEST(OPCKeys, NumbersInsideKeysKeepTheirSignedFieldBlank)
{
    EXPECT_EQ(OPCKeys::ServerKey(0), "Server 0");
    EXPECT_EQ(OPCKeys::ServerKey(-1), "Server-1");
    EXPECT_EQ(OPCKeys::GroupKey(1, 0), "Group 1 0");
    EXPECT_EQ(OPCKeys::GroupKey(2, -1), "Group 2-1");
    EXPECT_EQ(OPCKeys::ItemKey(12), "Item 12");
    EXPECT_EQ(OPCKeys::ItemCollectionKey(12), " 12");
    EXPECT_EQ(OPCKeys::CollectionKeyOfItemKey("Item 12"), " 12");
    EXPECT_EQ(OPCKeys::CollectionKeyOfItemKey("Item12"), std::nullopt);
}

// The allocation rule stated plainly: with n entries, the first of 1..n not
// taken, else n + 1.
static int32_t ruleOfSmallestFree(const std::set<int32_t>& taken)
{
    for (int32_t candidate = 1; candidate <= int32_t(taken.size()); ++candidate)
        if (!taken.count(candidate))
            return candidate;
    return int32_t(taken.size()) + 1;
}

TEST(IndexAllocator, ReusesTheFreedNumber)
{
    IndexAllocator a;
    EXPECT_EQ(a.allocate(), 1);
    EXPECT_EQ(a.allocate(), 2);
    EXPECT_EQ(a.allocate(), 3);
    a.release(2);
    EXPECT_EQ(a.allocate(), 2);
    EXPECT_EQ(a.allocate(), 4);
}

TEST(IndexAllocator, AgreesWithTheSmallestFreeRuleOverRandomAddsAndRemoves)
{
    std::mt19937 random(7);
    IndexAllocator allocator;
    std::set<int32_t> taken;
    for (int step = 0; step < 20000; ++step) {
        const bool add = taken.empty() || random() % 3 != 0;
        if (add) {
            const int32_t expected = ruleOfSmallestFree(taken);
            const int32_t got = allocator.allocate();
            ASSERT_EQ(got, expected) << "step " << step;
            taken.insert(got);
        } else {
            auto it = taken.begin();
            std::advance(it, random() % taken.size());
            allocator.release(*it);
            taken.erase(it);
        }
    }
}

TEST(KeyedCollection, FindsKeysWithoutRegardToCaseAndKeepsOrder)
{
    KeyedCollection<int> c;
    EXPECT_TRUE(c.add("Group 1 0", 1));
    EXPECT_TRUE(c.add("Group 2 0", 2));
    EXPECT_FALSE(c.add("GROUP 1 0", 3));
    ASSERT_NE(c.find("group 1 0"), nullptr);
    EXPECT_EQ(*c.find("group 1 0"), 1);
    EXPECT_TRUE(c.add("Group 3 0", 3));
    EXPECT_TRUE(c.remove("GROUP 2 0"));
    EXPECT_FALSE(c.remove("Group 2 0"));
    std::vector<int> order;
    for (auto& entry : c)
        order.push_back(entry.value);
    EXPECT_EQ(order, (std::vector<int>{1, 3}));
    EXPECT_EQ(c.takeLast(), 3);
    EXPECT_EQ(c.count(), 1u);
}

TEST(OPCText, QualityTextsMatchTheWholeNumber)
{
    struct Case { int32_t quality; const char* full; const char* brief; };
    const Case cases[] = {
        {0, "Bad, Non Specific", "Bad  0"},
        {8, "Bad - Not connected", "Bad  8"},
        {28, "Bad - Out of service", "Bad  28"},
        {64, "Uncertain", "Good"},
        {88, "Uncertain - Sub-normal", "Good"},
        {192, "Good", "Good"},
        {193, "??", "Good"},
        {216, "Good - Local override", "Good"},
        {-1, "??", "Good"},
        {3, "??", "Bad  3"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OPCText::QualityText(c.quality), c.full) << c.quality;
        EXPECT_EQ(OPCText::ShortQualityText(c.quality), c.brief) << c.quality;
    }
}

TEST(OPCText, DataTypeTextsForScalarsArraysAndUnknownCodes)
{
    struct Case { int32_t type; const char* properties; const char* write; };
    const Case cases[] = {
        {2, "Short Integer - 16 bit Signed", "Integer - 16 bit Signed"},
        {8194, "Short Integer - 16 bit Signed Array", "Integer - 16 bit SignedArray"},
        {17, "Char - 8 bit Unsigned Byte", "Byte - 8 bit Unsigned "},
        {8209, "Char - 8 bit Unsigned Byte Array", "Byte - 8 bit Unsigned Array"},
        {14, "Decimal  - Not Allowed", "Decimal Type Not Allowed"},
        {8192, "Possible Unsigned data type, Writes may not work",
         "Possible Unsigned data type, Writes may not work"},
        {8210, "Possible Unsigned data type, Writes may not work",
         "Possible Unsigned data type, Writes may not work"},
        {18, "Possible Unsigned data type, Writes may not work",
         "Possible Unsigned data type, Writes may not work"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OPCText::PropertiesDataTypeText(c.type), c.properties) << c.type;
        EXPECT_EQ(OPCText::WriteDataTypeText(c.type), c.write) << c.type;
    }
    EXPECT_EQ(OPCText::DataTypeChoices().front(), (std::pair<std::string, int16_t>{"Native", 0}));
    EXPECT_EQ(OPCText::DataTypeChoices().back(), (std::pair<std::string, int16_t>{"String", 8}));
    EXPECT_EQ(OPCText::AccessRightsChoices()[3], "Read/Write");
}

TEST(OPCText, ServerStateTextsForDialogAndStatusMessage)
{
    EXPECT_EQ(OPCText::ServerStateText(1), "SERVER RUNNING - NORMAL");
    EXPECT_EQ(OPCText::ServerStateText(99), "");
    EXPECT_EQ(OPCText::ServerStateText(42), std::nullopt);
    EXPECT_EQ(OPCText::ServerStateMessage(1), "");
    EXPECT_EQ(OPCText::ServerStateMessage(2), "OPC SERVER FAILED - CHECK WITH OPC SERVER VENDOR");
    EXPECT_EQ(OPCText::ServerStateMessage(6), "OPC SERVER DISCONNECTED");
    EXPECT_EQ(OPCText::ServerStateMessage(99), "Failed to obtain OPC Server State");
    EXPECT_EQ(OPCText::ServerStateMessage(999), "");
    EXPECT_EQ(OPCText::ServerStateMessage(7), "Unknown Error Occurred While Obtaining OPC Server State");
}

#include <gtest/gtest.h>

#include "core/ErrorReport.h"
#include "core/IServerCallback.h"
#include "core/MItems.h"
#include "core/PendingMessages.h"
#include "platform/ComError.h"
#include "platform/RecordingMessageBoxService.h"
#include "platform/Services.h"

using namespace tagwell;
using Reporter = ErrorReport::Reporter;

namespace {

class ErrorReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Services::installMessageBox(&boxes);
        PendingMessages::Clear();
    }
    void TearDown() override { Services::installMessageBox(nullptr); }
    RecordingMessageBoxService boxes;
};

}  // namespace

TEST_F(ErrorReportTest, TextCarriesSignedFieldAndUpperCaseHexadecimal)
{
    EXPECT_EQ(ErrorReport::Text(Reporter::Server, "Connect", errors::E_FAIL_),
              "Function 'Connect' returned an error of -2147467259 or Hex 0x80004005");
    EXPECT_EQ(ErrorReport::Text(Reporter::Group, "Add Item", 429),
              "OPC function 'Add Item' returned an error of  429 or Hex 0x1AD");
    EXPECT_EQ(ErrorReport::Text(Reporter::Browser, "MoveDown", 0),
              "OPC function 'MoveDown' returned an error of  0 or Hex 0x0");
}

TEST_F(ErrorReportTest, HintsDependOnReporterAndNumber)
{
    const std::string dcom = "Error! Possible cause: DCOM Timeout on Remote OPC Server";
    struct Case { Reporter reporter; int32_t error; std::optional<std::string> hint; };
    const Case cases[] = {
        {Reporter::Server, 429, "Error! Possible cause: No ProgID or Incorrect DCOM configuration."},
        {Reporter::Server, 70, "Error! Possible cause: No ProgID or Incorrect DCOM configuration."},
        {Reporter::Server, errors::OPC_E_DUPLICATENAME, "Error! Possible cause: Cannot Add Duplicate Groupname"},
        {Reporter::Server, errors::E_FAIL_, "Error! Possible cause: Invalid ProgID or OPC Server Disconnected"},
        {Reporter::Server, errors::RPC_E_CALL_REJECTED_, dcom},
        {Reporter::Server, errors::RPC_E_SERVERCALL_RETRYLATER_, dcom},
        {Reporter::Group, errors::RPC_E_SERVERCALL_RETRYLATER_, dcom},
        {Reporter::Item, errors::RPC_E_CALL_REJECTED_, dcom},
        {Reporter::Group, errors::E_FAIL_, std::nullopt},
        {Reporter::Item, 429, std::nullopt},
        {Reporter::Browser, errors::RPC_E_CALL_REJECTED_, dcom},
        {Reporter::Browser, errors::RPC_E_SERVERCALL_RETRYLATER_, std::nullopt},
        {Reporter::Browser, errors::E_FAIL_, std::nullopt},
        {Reporter::Server, 5, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorReport::Hint(c.reporter, c.error), c.hint) << c.error;
}

TEST_F(ErrorReportTest, ShowsHintThenTellsOwnerThenQueuesTheText)
{
    std::vector<std::string> order;
    struct OrderingBoxes : RecordingMessageBoxService {
        std::vector<std::string>* order;
        int show(const std::string& p, int s, const std::string& t) override
        {
            order->push_back("box:" + p);
            return RecordingMessageBoxService::show(p, s, t);
        }
    } orderingBoxes;
    orderingBoxes.order = &order;
    Services::installMessageBox(&orderingBoxes);

    const std::string text = ErrorReport::Report(Reporter::Server, "Connect", 429, [&](const std::string& t) {
        order.push_back("owner:" + t);
        order.push_back("pending:" + std::to_string(PendingMessages::Count()));
    });

    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0], "box:Error! Possible cause: No ProgID or Incorrect DCOM configuration.");
    EXPECT_EQ(order[1], "owner:" + text);
    EXPECT_EQ(order[2], "pending:0");
    EXPECT_EQ(PendingMessages::All(), std::vector<std::string>{text});
    EXPECT_EQ(orderingBoxes.shown[0].style, msgbox::OKOnly);
    EXPECT_EQ(orderingBoxes.shown[0].title, "");
}

TEST_F(ErrorReportTest, AFailingOwnerDoesNotLoseTheReport)
{
    ErrorReport::Report(Reporter::Item, "GetItemValue", errors::E_FAIL_,
                        [](const std::string&) { throw std::runtime_error("owner broke"); });
    EXPECT_EQ(PendingMessages::Count(), 1u);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(OwnerRef, BecomesEmptyWhenTheOwnerGoes)
{
    OwnerRef<IServerCallback> ref;
    EXPECT_EQ(MItems::ResolveOwner(ref), nullptr);
    {
        IServerCallback owner;
        ref = OwnerRef<IServerCallback>(&owner);
        EXPECT_EQ(MItems::ResolveOwner(ref), &owner);
    }
    EXPECT_EQ(MItems::ResolveOwner(ref), nullptr);
}

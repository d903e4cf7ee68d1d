#include "PlotFixture.h"

#include "core/OPCKeys.h"
#include "core/PendingMessages.h"
#include "platform/Services.h"

namespace tagwell::test {

void PlotFixture::SetUp()
{
    Dispatcher::install(&clock);
    Services::installMessageBox(&boxes);
    SimulationBackend::shared()->reset();
    PendingMessages::Clear();

    SimTag::Definition counts;
    counts.itemId = CountsItemId;
    counts.canonicalType = vtI4;
    counts.euRange = SimEURange{CountsLow, CountsHigh};
    counts.initial = Variant(int32_t(0));
    demo().addressSpace().add(counts);

    server = std::make_shared<cOPCServer>();
    ASSERT_TRUE(server->ConnectOPCServer(SimulationBackend::DemoProgId, OPCKeys::ServerKey(0), 0, ""));
    std::string name = "Plot";
    std::string key;
    ASSERT_TRUE(server->AddOPCGroup(name, 100, 0, true, true, key));
    group = *server->GetOPCServerGroupCollection().find(key);
}

void PlotFixture::TearDown()
{
    group.reset();
    server.reset();  // groups go before the clock they tick on
    Services::installMessageBox(nullptr);
    Dispatcher::install(nullptr);
}

SimServer& PlotFixture::demo() { return SimulationBackend::shared()->server(SimulationBackend::DemoProgId); }

std::shared_ptr<cOPCItem> PlotFixture::addItem(const std::string& itemId)
{
    std::string key;
    EXPECT_TRUE(group->AddOPCItem(itemId, vtEmpty, true, true, false, key)) << itemId;
    const auto collectionKey = OPCKeys::CollectionKeyOfItemKey(key);
    if (!collectionKey)
        return nullptr;
    const std::shared_ptr<cOPCItem>* item = group->GetOPCGroupItemsCollection().find(*collectionKey);
    return item ? *item : nullptr;
}

std::unique_ptr<frmOPCItemPlot> PlotFixture::plotFor(const std::string& itemId, bool* accepted)
{
    auto dialog = std::make_unique<frmOPCItemPlot>();
    const bool result = dialog->Setup(server, addItem(itemId));
    if (accepted)
        *accepted = result;
    return dialog;
}

QLineEdit& PlotFixture::box(frmOPCItemPlot& dialog, const char* name)
{
    return *dialog.findChild<QLineEdit*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

QPushButton& PlotFixture::button(frmOPCItemPlot& dialog, const char* name)
{
    return *dialog.findChild<QPushButton*>(QString::fromLatin1(name));
}

}  // namespace tagwell::test

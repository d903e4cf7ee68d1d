#include "controls/xopc/XOPC.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QResizeEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <bit>
#include <optional>
#include <utility>

#include "controls/xopc/ConfigFileKeys.h"
#include "controls/xopc/XOPCImages.h"
#include "controls/xopc/XOPCItemListModel.h"
#include "controls/xopc/XOPCItemListView.h"
#include "controls/xopc/XOPCTimerSink.h"
#include "controls/xopc/XOPCTreeView.h"
#include "controls/xopc/cCollector.h"
#include "core/MCollector.h"
#include "core/MGlobal.h"
#include "core/OPCKeys.h"
#include "core/OPCText.h"
#include "core/PendingMessages.h"
#include "core/cINI.h"
#include "core/cMousePointer.h"
#include "core/cOPCGroup.h"
#include "core/cOPCItem.h"
#include "core/cOPCServer.h"
#include "dialogs/frmOPCItemPlot.h"
#include "graph/Twips.h"
#include "platform/ComError.h"
#include "platform/Dispatcher.h"
#include "platform/OleDate.h"
#include "platform/Services.h"
#include "platform/ValueText.h"
#include "platform/qt/DialogRunner.h"
#include "platform/qt/PropertyBag.h"
#include "timer/CPacetick.h"
#include "timer/PacetickError.h"

namespace tagwell {

namespace {

using Row = XOPCItemListModel::Row;

const QString RootKey = QStringLiteral("ServerRoot");
const QString DummyRootKey = QStringLiteral("DummyRoot");
const QString RootText = QStringLiteral("OPC Servers");
const QString LocalNode = QStringLiteral("Local");
const QString ItemIndent = QStringLiteral("    ");
const QString TrueText = QStringLiteral("True");
const QString FalseText = QStringLiteral("False");
const QString UnknownText = QStringLiteral("Unknown");
const QString BadText = QStringLiteral("Bad");
const QString ListSeparator = QStringLiteral(", ");
const char* const ShutdownReason = "ServerShutdown";

// The timer's tick period and resolution whenever the control starts it.
constexpr int32_t TimerTickMs = 5;
constexpr int32_t TimerResolutionMs = 2;
constexpr int DisplayChannel = 1;
constexpr int CollectionChannel = 2;
constexpr int StateWatchChannel = 3;

// Design positions of the toolbar, twips.
constexpr int ButtonTop = 120;
constexpr int ButtonSize = 360;
constexpr int TitleHeight = 375;
constexpr int ColumnFractionAtStart = 5;
constexpr double TitleFontPoints = 9.75;

const char* const TimerMissingMessage = "Check Registration of Pacetick.dll";
const char* const StartUpFailureMessage =
    "XOPC could not initialise corrrectly. Check ActiveX components registration. Error number ";

QString toQ(const std::string& text) { return QString::fromStdString(text); }
std::string toStd(const QString& text) { return text.toStdString(); }
const QString& flagText(bool value) { return value ? TrueText : FalseText; }

XOPC::TimerFactory& timerFactory()
{
    static XOPC::TimerFactory factory;
    return factory;
}

void registerMetaTypes()
{
    static const bool registered = [] {
        qRegisterMetaType<tagwell::Variant>();
        qRegisterMetaType<tagwell::OleArray<tagwell::Variant>>();
        qRegisterMetaType<tagwell::OleArray<double>>();
        qRegisterMetaType<tagwell::OleArray<qint32>>();
        qRegisterMetaType<tagwell::OleArray<std::string>>();
        return true;
    }();
    (void)registered;
}

// The text of a value; an empty or null value has none.
QString scalarText(const Variant& value)
{
    if (value.isEmpty() || value.isNull())
        return {};
    return toQ(value.toString());
}

// An array element the way the list is first filled: numbers zero or above
// get a leading blank, as in keys.
QString signedElementText(const Variant& element)
{
    const QString text = scalarText(element);
    if (element.isNumeric() && !element.get<bool>() && element.toR8() >= 0)
        return QLatin1Char(' ') + text;
    return text;
}

// A value as a cell shows it: arrays as their elements, each followed by
// ", ", in signed or plain form; anything else as its text.
QString valueCellText(const Variant& value, bool signedElements)
{
    if (!value.isArray())
        return scalarText(value);
    QString text;
    for (const Variant& element : value.toArray().elements)
        text += (signedElements ? signedElementText(element) : scalarText(element)) + ListSeparator;
    return text;
}

// ItemIndent followed by the text, in one allocation when the text is ASCII.
QString indentedText(const std::string& text)
{
    const bool ascii = std::all_of(text.begin(), text.end(),
                                   [](char ch) { return static_cast<unsigned char>(ch) < 0x80; });
    if (!ascii)
        return ItemIndent + toQ(text);
    QString result(ItemIndent.size() + qsizetype(text.size()), Qt::Uninitialized);
    QChar* out = std::copy(ItemIndent.cbegin(), ItemIndent.cend(), result.data());
    for (char ch : text)
        *out++ = QLatin1Char(ch);
    return result;
}

QString dateText(double oleDate) { return toQ(OleDate::toText(oleDate)); }

// Runs `undo` when the scope ends, however it ends.
template <class Undo>
class ScopeExit {
public:
    explicit ScopeExit(Undo undo) : m_undo(std::move(undo)) {}
    ~ScopeExit() { m_undo(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Undo m_undo;
};

// Runs one independent step: a failure is dropped and the caller goes on.
template <class Step>
void step(Step&& body)
{
    try {
        body();
    } catch (...) {
    }
}

}  // namespace

// ---- Construction and start-up ---------------------------------------------

XOPC::XOPC(QWidget* parent) : QWidget(parent)
{
    registerMetaTypes();
    StartUp();
}

XOPC::~XOPC()
{
    if (frmOPCItemPlot* plot = m_plot.data()) {
        disconnect(plot, nullptr, this, nullptr);
        delete plot;
    }
    TearDown();
    if (m_timerSink)
        m_timerSink->Detach();
}

void XOPC::setTimerFactory(TimerFactory factory) { timerFactory() = std::move(factory); }

void XOPC::StartUp()
{
    try {
        MCollector::SetCollectionActive(false);
        BuildControls();
        m_lastFirstVisibleRow = -1;
        CreateTimer();
        AddRootNode();
        m_collector = std::make_shared<cCollector>();
        m_collector->DisplayInterval = cCollector::DefaultDisplayInterval;
        MCollector::ClearAllUpdates();
        PendingMessages::Clear();
        m_collector->ServerIndex = 0;
        m_collector->GlobalItemCount = 0;
        ApplyFont(font());
        m_log->clear();
        m_showLog = m_showToolbar = m_showTree = true;
        ArrangeLayout();
    } catch (const ComError& e) {
        Services::messageBox().show(StartUpFailureMessage + std::to_string(e.number()) + ", " +
                                        e.description(),
                                    msgbox::OKOnly, "");
    } catch (const PacetickError& e) {
        Services::messageBox().show(StartUpFailureMessage + std::to_string(e.number()) + ", " +
                                        e.description(),
                                    msgbox::OKOnly, "");
    } catch (const std::exception& e) {
        Services::messageBox().show(StartUpFailureMessage + std::to_string(errors::InternalError) +
                                        ", " + e.what(),
                                    msgbox::OKOnly, "");
    }
}

void XOPC::BuildControls()
{
    setMinimumSize(twips::toPixels(XOPCLayout::MinimumWidth),
                   twips::toPixels(XOPCLayout::MinimumHeight));

    m_toolbar = new QWidget(this);
    m_toolbar->setObjectName("picTitles");
    m_cmdTree = AddToolButton("cmdTree", 150, "Show/Hide Server Tree");
    m_cmdTree->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    m_cmdShowLog = AddToolButton("cmdShowLog", 600, "Show/Hide Activity Log");
    m_cmdShowLog->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    m_cmdDisplay = AddToolButton("cmdDisplay", 1080, "Commence Display Updates");
    m_cmdDisplay->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    m_cmdPause = AddToolButton("cmdPause", 1560, "Stop Display Updates");
    m_cmdPause->setIcon(style()->standardIcon(QStyle::SP_MediaPause));
    m_cmdPause->setEnabled(false);
    connect(m_cmdTree, &QToolButton::clicked, this, [this] { cmdTree_Click(); });
    connect(m_cmdShowLog, &QToolButton::clicked, this, [this] { cmdShowLog_Click(); });
    connect(m_cmdDisplay, &QToolButton::clicked, this, [this] { cmdDisplay_Click(); });
    connect(m_cmdPause, &QToolButton::clicked, this, [this] { cmdPause_Click(); });

    m_title = new QLabel("Item List: No Group Selected", m_toolbar);
    m_title->setObjectName("lblTitle");
    m_title->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_title->setAlignment(Qt::AlignCenter);
    QFont titleFont(QStringLiteral("MS Sans Serif"));
    titleFont.setPointSizeF(TitleFontPoints);
    m_title->setFont(titleFont);
    QPalette titlePalette = m_title->palette();
    titlePalette.setColor(QPalette::WindowText, palette().color(QPalette::Active, QPalette::Highlight));
    m_title->setPalette(titlePalette);

    m_tree = new XOPCTreeView(this);
    m_tree->setObjectName("tvTreeView");
    connect(m_tree, &XOPCTreeView::NodeMouseUp, this, &XOPC::OnNodeMouseUp);
    connect(m_tree, &XOPCTreeView::NodeKeyUp, this, &XOPC::OnNodeKeyUp);
    connect(m_tree, &XOPCTreeView::NodeCollapsed, this, [this] { OnNodeCollapsed(); });

    m_listModel = new XOPCItemListModel(this);
    m_list = new XOPCItemListView(this);
    m_list->setObjectName("lvListView");
    m_list->setModel(m_listModel);
    connect(m_listModel, &XOPCItemListModel::RowCheckChanged, this, &XOPC::OnRowCheckChanged);
    connect(m_list->header(), &QHeaderView::sectionClicked, m_listModel,
            &XOPCItemListModel::SetSortKey);
    const int startWidth = m_list->width() / ColumnFractionAtStart;
    for (int c = 0; c < XOPCItemListModel::ColumnCount; ++c)
        m_list->setColumnWidth(c, startWidth);

    m_log = new QListWidget(this);
    m_log->setObjectName("lstInfo");
    m_log->setToolTip("This is the activity log. Important events are notified here");
    // One line per entry: every row is as high as the first, so selecting
    // the newest line does not measure every line of a long log again.
    m_log->setUniformItemSizes(true);
    QPalette logPalette = m_log->palette();
    logPalette.setColor(QPalette::Base, palette().color(QPalette::Window));
    logPalette.setColor(QPalette::Text, palette().color(QPalette::Active, QPalette::Highlight));
    m_log->setPalette(logPalette);
}

QToolButton* XOPC::AddToolButton(const char* name, int leftTwips, const QString& toolTip)
{
    auto* button = new QToolButton(m_toolbar);
    button->setObjectName(name);
    button->setToolTip(toolTip);
    button->setAutoRaise(false);
    button->setGeometry(twips::toPixels(leftTwips), twips::toPixels(ButtonTop),
                        twips::toPixels(ButtonSize), twips::toPixels(ButtonSize));
    return button;
}

void XOPC::CreateTimer()
{
    std::shared_ptr<CPacetick> timer;
    try {
        timer = timerFactory() ? timerFactory()() : CPacetick::create();
    } catch (...) {
        timer = nullptr;
    }
    if (!timer) {
        Services::messageBox().show(TimerMissingMessage, msgbox::OKOnly, "");
        return;
    }
    m_timer = timer;
    m_timerSink = std::make_shared<XOPCTimerSink>([this] { RefreshItemList(); },
                                                  [this] { RaiseBatchEvents(); },
                                                  [this] { CheckServerState(); });
    m_timer->RequestNotify(m_timerSink);
    // Should the timer ever raise its channels as signals instead (after a
    // CancelNotify), they run the same handlers.
    connect(m_timer.get(), &CPacetick::Time1, this, [this] { RefreshItemList(); });
    connect(m_timer.get(), &CPacetick::Time2, this, [this] { RaiseBatchEvents(); });
    connect(m_timer.get(), &CPacetick::Time3, this, [this] { CheckServerState(); });
    m_timer->setBreakInDebugMode(true);
    m_timer->setTime1msEnabled(true);
}

void XOPC::AddRootNode()
{
    if (QTreeWidgetItem* root = m_tree->AddNode({}, RootKey, RootText, "NetHood")) {
        m_tree->SelectNode(root);
        root->setExpanded(true);
    }
}

// ---- Building the configuration ---------------------------------------------

qint16 XOPC::AddNewServer(const QString& ProgID, const QString& Node)
{
    QString node = Node;
    return AddServerCore(ProgID, node);
}

qint16 XOPC::AddNewServer(const QString& ProgID, QString& Node) { return AddServerCore(ProgID, Node); }

qint16 XOPC::AddServerCore(const QString& ProgID, QString& Node)
{
    const std::shared_ptr<cCollector> c = m_collector;
    if (!c)
        return -1;
    const int16_t index = c->ServerIndex;
    const std::string serverKey = "Server " + std::to_string(index);
    auto server = std::make_shared<cOPCServer>();
    bool connected = false;
    step([&] { connected = server->ConnectOPCServer(toStd(ProgID), serverKey, index, toStd(Node)); });

    qint16 serverId = -1;
    if (connected) {
        const QString key = toQ(serverKey);
        serverId = index;
        step([&] { c->Servers().add(serverKey, server); });
        step([&] {
            if (QTreeWidgetItem* node = m_tree->AddNode(RootKey, key, ProgID, "Computer"))
                m_tree->scrollToItem(node);
        });
        emit ServerAdded(key, ProgID, Node);
        c->SelectedOPCServer = server;
        server->SetServerOwner(this);
        c->SelectedOPCGroup.reset();
        c->SelectedOPCItem.reset();
        m_listModel->Clear();
        SetTitle(NoGroupTitle());
        if (Node.isEmpty())
            Node = LocalNode;
        AddLogLine("New Server connection to " + ProgID + " on node " + Node);
    }
    c->ServerIndex = int16_t(index + 1);
    return serverId;
}

QString XOPC::AddNewGroup(const QString& GroupName, qint32 UpdateRate, float DeadBand,
                          bool ActiveState, bool Subscribed, qint16 ServerID)
{
    const std::shared_ptr<cCollector> c = m_collector;
    if (!c)
        return {};
    c->SelectedOPCServer = c->ServerById(ServerID);
    return AddGroupCore(GroupName, UpdateRate, DeadBand, ActiveState, Subscribed);
}

QString XOPC::AddGroupCore(const QString& GroupName, int32_t UpdateRate, float DeadBand,
                           bool ActiveState, bool Subscribed)
{
    const std::shared_ptr<cCollector> c = m_collector;
    if (!c || !c->SelectedOPCServer)
        return {};
    const std::shared_ptr<cOPCServer> server = c->SelectedOPCServer;
    std::string name = toStd(GroupName);
    std::string groupKey;
    bool added = false;
    step([&] { added = server->AddOPCGroup(name, UpdateRate, DeadBand, ActiveState, Subscribed, groupKey); });
    if (!added)
        return {};

    const QString key = toQ(groupKey);
    const QString groupName = toQ(name);
    const QString serverKey = toQ(server->GetOPCServerKey());
    step([&] {
        if (QTreeWidgetItem* node = m_tree->AddNode(serverKey, key, groupName, "Cardfile"))
            m_tree->SelectNode(node);
    });
    emit GroupAdded(serverKey, key, groupName);
    const std::shared_ptr<cOPCGroup> group = GroupOf(server, key);
    c->SelectedOPCGroup = group;
    if (m_receiveGroupUpdateEvents && group) {
        group->SetGroupOwner(this);
        group->GroupUpdates(true);
        group->GroupUpdatesWithItemIDs(true);
    }
    AddLogLine("Group " + groupName + " added; Update Rate = " + QString::number(UpdateRate) +
               ", Deadband = " + toQ(ValueText::ofFloat(DeadBand)) +
               ", Active state = " + flagText(ActiveState));
    return key;
}

QString XOPC::AddNewItem(qint16 ServerID, const QString& GroupKey, const QString& ItemID,
                         qint16 DataTypeSelected, bool ActiveState, const QString& Alias,
                         const QString& CustomTag1, const QString& CustomTag2)
{
    const std::shared_ptr<cCollector> c = m_collector;
    if (!c)
        return {};
    c->SelectedOPCServer = c->ServerById(ServerID);
    const std::shared_ptr<cOPCGroup> group = GroupOf(c->SelectedOPCServer, GroupKey);
    if (group != c->SelectedOPCGroup)
        c->SelectedOPCGroup = group;
    ShowGroupItems();
    const QString itemKey = AddItemCore(ItemID, DataTypeSelected, ActiveState, false, true, Alias,
                                        CustomTag1, CustomTag2);
    ShowGroupItems();
    if (c->SelectedOPCGroup)
        SetTitle(MemberTitle(toQ(c->SelectedOPCGroup->GetGroupName()), false));
    return itemKey;
}

QString XOPC::AddItemCore(const QString& ItemID, int16_t DataType, bool ActiveState, bool Logged,
                          bool DisplayUpdates, const QString& Alias, const QString& CustomTag1,
                          const QString& CustomTag2)
{
    const std::shared_ptr<cCollector> c = m_collector;
    if (!c)
        return {};
    const std::shared_ptr<cOPCGroup> group = c->SelectedOPCGroup;
    std::string itemKey;
    bool added = false;
    if (group) {
        step([&] {
            added = group->AddOPCItem(toStd(ItemID), DataType, ActiveState, DisplayUpdates, Logged,
                                      itemKey, toStd(Alias), toStd(CustomTag1), toStd(CustomTag2));
        });
    }
    if (!added) {
        const QString failure = "Unable to add Item " + ItemID;
        AddLogLine(failure);
        emit OPCError(failure);
        return {};
    }

    const std::shared_ptr<cOPCItem> item = ItemOfKey(*group, itemKey);
    Row row;
    row.handle = item ? item->GetItemIndex() : 0;
    row.icon = XOPCItemListModel::Icon::Other;
    row.cells = {ItemIndent + ItemID, QString(), BadText, UnknownText, UnknownText};
    if (m_deferItemRows)
        m_pendingItemRows.push_back(std::move(row));
    else
        m_listModel->AppendRow(std::move(row));
    AddLogLine("Item " + ItemID + " added");
    c->SelectedOPCItem = item;
    if (m_receiveItemUpdateEvents && item)
        item->SetItemOwner(this);
    c->GlobalItemCount += 1;
    const QString serverKey = c->SelectedOPCServer ? toQ(c->SelectedOPCServer->GetOPCServerKey()) : QString();
    emit ItemAdded(serverKey, toQ(group->GetGroupKey()), toQ(itemKey), ItemID, c->GlobalItemCount);
    return toQ(itemKey);
}

std::shared_ptr<cOPCGroup> XOPC::GroupOf(const std::shared_ptr<cOPCServer>& server,
                                         const QString& groupKey) const
{
    if (!server)
        return nullptr;
    const std::shared_ptr<cOPCGroup>* group = server->GetOPCServerGroupCollection().find(toStd(groupKey));
    return group ? *group : nullptr;
}

std::shared_ptr<cOPCItem> XOPC::ItemOfKey(const cOPCGroup& group, const std::string& itemKey)
{
    const auto collectionKey = OPCKeys::CollectionKeyOfItemKey(itemKey);
    if (!collectionKey)
        return nullptr;
    const std::shared_ptr<cOPCItem>* item = group.GetOPCGroupItemsCollection().find(*collectionKey);
    return item ? *item : nullptr;
}

// ---- Display and collection updates -----------------------------------------

bool XOPC::StartDisplayUpdate(qint32 Interval)
{
    const std::shared_ptr<cCollector> c = m_collector;
    if (!c)
        return false;
    c->DisplayInterval = int16_t(std::clamp(Interval, MinimumDisplayInterval, MaximumDisplayInterval));
    if (!RunTimerChannel(DisplayChannel, float(c->DisplayInterval) / 1000.0f))
        return false;
    emit Information("Display update commenced");
    AddLogLine("Display update commenced...");
    SetDisplayButtons(true);
    return true;
}

void XOPC::StopDisplayUpdate()
{
    step([&] {
        if (m_timer)
            m_timer->setTime1Enabled(false);
    });
    emit Information("Display update terminated");
    AddLogLine("Display update terminated...");
    SetDisplayButtons(false);
}

bool XOPC::StartCollectionUpdates()
{
    m_collectInterval = std::clamp(m_collectInterval, MinimumCollectInterval, MaximumCollectInterval);
    if (!m_collector || !RunTimerChannel(CollectionChannel, float(m_collectInterval) / 1000.0f))
        return false;
    emit Information("Collection updates commenced");
    AddLogLine("Collection updates commenced...");
    MCollector::SetCollectionActive(true);
    return true;
}

void XOPC::StopCollectionUpdates()
{
    step([&] {
        if (m_timer)
            m_timer->setTime2Enabled(false);
    });
    MCollector::SetCollectionActive(false);
    MCollector::ClearAllUpdates();
    emit Information("Collection updates terminated");
    AddLogLine("Collection updates terminated...");
}

bool XOPC::StartStateWatch()
{
    if (!m_timer)
        return false;
    try {
        EnableTimerFromScratch();
        m_timer->setTime3Interval(StateWatchSeconds);
        m_timer->setTime3Enabled(true);
        return true;
    } catch (...) {
        return false;
    }
}

// Starts one channel of the timer. A running timer is stopped and started
// again around the change, which keeps the schedules of the other channels;
// a stopped one starts from scratch.
bool XOPC::RunTimerChannel(int channel, float seconds)
{
    if (!m_timer)
        return false;
    try {
        if (m_timer->Enabled()) {
            m_timer->setEnabled(false);
            m_timer->setTimeInterval(channel, seconds);
            m_timer->setTimeEnabled(channel, true);
            m_timer->setEnabled(true);
        } else {
            EnableTimerFromScratch();
            m_timer->setTimeInterval(channel, seconds);
            m_timer->setTimeEnabled(channel, true);
        }
        return true;
    } catch (...) {
        return false;
    }
}

void XOPC::EnableTimerFromScratch()
{
    m_timer->Reset();
    m_timer->setInterval(TimerTickMs);
    m_timer->setResolution(TimerResolutionMs);
    m_timer->setEnabled(true);
}

void XOPC::RefreshItemList()
{
    const std::shared_ptr<cCollector> c = m_collector;
    if (!c)
        return;
    step([&] {
        const QString nodeKey = m_tree->SelectedKey();
        if (!nodeKey.contains("Group"))
            return;
        const std::shared_ptr<cOPCGroup> group = GroupOf(c->SelectedOPCServer, nodeKey);
        if (!group || group->GetOPCGroupItemsCollection().empty())
            return;
        const int first = m_list->FirstVisibleRow();
        if (first < 0)
            return;
        const int rows = m_listModel->RowCount();
        const int n = std::min({MCollector::VisibleRowCount(*m_list) + 1, rows, rows - first});
        const int position = first + 1;
        if (position != m_lastFirstVisibleRow) {
            if (m_lastFirstVisibleRow != -1)
                m_list->SelectRow(first);
            m_lastFirstVisibleRow = position;
        }
        for (int i = 0; i < n; ++i)
            RefreshRow(first + i, *group);
    });
    step([&] { FeedPlot(); });
}

// Writes the stored update of one row's item into its cells; a row whose
// item is not in the group ends the refresh.
void XOPC::RefreshRow(int row, cOPCGroup& group)
{
    const std::string key = OPCKeys::ItemCollectionKey(m_listModel->RowHandle(row));
    const std::shared_ptr<cOPCItem>* found = group.GetOPCGroupItemsCollection().find(key);
    if (!found)
        throw ComError(errors::InvalidProcedureCall, "XOPC", "No item for row");
    cOPCItem& item = **found;
    m_listModel->SetCell(row, XOPCItemListModel::ValueColumn,
                         valueCellText(item.GetItemValue(cOPCItem::ReadStored), false));
    const int32_t quality = item.GetItemQuality(cOPCItem::ReadStored);
    m_listModel->SetCell(row, XOPCItemListModel::QualityColumn,
                         m_showItemQualityAsText ? toQ(item.GetItemQualityString())
                                                 : toQ(ValueText::signedField(quality)));
    m_listModel->SetCell(row, XOPCItemListModel::DateTimeColumn,
                         dateText(item.GetItemTimeStamp(cOPCItem::ReadStored)));
    m_listModel->SetCell(row, XOPCItemListModel::ActiveColumn, flagText(item.GetItemActiveState()));
}

void XOPC::FeedPlot()
{
    if (!m_plot || m_plot->isUnloaded() || !m_collector || !m_collector->SelectedOPCItem)
        return;
    const std::shared_ptr<cOPCItem> item = m_collector->SelectedOPCItem;
    const Variant value = item->GetItemValue(cOPCItem::ReadStored);
    ++m_plotSampleCounter;
    m_plot->FeedSample(value, item->GetItemCanonicalType(), m_plotSampleCounter);
}

void XOPC::RaiseBatchEvents()
{
    const std::shared_ptr<cCollector> c = m_collector;
    if (!c)
        return;
    switch (MCollector::GetCollectionMode()) {
    case cmItem: {
        // The items with something to raise are gathered first, so that a
        // host that changes the configuration from its handler cannot pull
        // the collections from under the loop.
        std::vector<std::shared_ptr<cOPCItem>> due;
        step([&] {
            for (auto& server : c->Servers())
                for (auto& group : server.value->GetOPCServerGroupCollection())
                    for (auto& item : group.value->GetOPCGroupItemsCollection())
                        if (item.value->GetItemLogged() && item.value->GetItemUpdatesCount() > 0)
                            due.push_back(item.value);
        });
        for (const auto& item : due) {
            step([&] {
                const int32_t n = item->GetItemUpdatesCount();
                if (n <= 0)
                    return;
                OleArray<Variant> values;
                OleArray<double> dateTimes;
                OleArray<int32_t> qualities;
                item->GetAllItemUpdates(values, dateTimes, qualities);
                emit BatchItemUpdate(toQ(item->GetItemID()), n, values, dateTimes, qualities);
            });
        }
        break;
    }
    case cmAll:
        step([&] {
            const int32_t n = MCollector::AllUpdatesCount();
            if (n <= 0)
                return;
            OleArray<std::string> aliases, itemIds;
            OleArray<Variant> values;
            OleArray<double> dateTimes;
            OleArray<int32_t> qualities;
            MCollector::TakeAllUpdates(aliases, itemIds, values, dateTimes, qualities);
            emit BatchAllUpdates(n, aliases, itemIds, values, dateTimes, qualities);
        });
        break;
    default: break;
    }
}

void XOPC::CheckServerState()
{
    const std::shared_ptr<cCollector> c = m_collector;
    if (!c || !c->SelectedOPCServer)
        return;
    const std::shared_ptr<cOPCServer> server = c->SelectedOPCServer;
    int32_t state = m_lastServerState;
    step([&] {
        state = MGlobal::GetServerStateCode(server.get());
        if (state != m_lastServerState) {
            const std::string message = OPCText::ServerStateMessage(state);
            if (!message.empty())
                emit OPCError(toQ(message));
        }
    });
    m_lastServerState = state;
    const std::vector<std::string> waiting = PendingMessages::TakeAll();
    if (!m_log->isHidden()) {
        for (const std::string& line : waiting)
            AddLogLine(toQ(line));
    }
    PendingMessages::Clear();
}

// ---- Other methods ------------------------------------------------------------

void XOPC::DisconnectAll()
{
    cMousePointer busy;
    const std::shared_ptr<cCollector> old = m_collector;
    if (!old)
        return;
    step([&] { old->RemoveAllServers(); });
    m_tree->clear();
    m_listModel->Clear();
    emit Information("New configuration");
    AddLogLine("New configuration...");
    AddRootNode();
    auto fresh = std::make_shared<cCollector>();
    fresh->DisplayInterval = old->DisplayInterval;
    fresh->ServerIndex = 0;
    fresh->GlobalItemCount = 0;
    m_collector = fresh;
    StopDisplayUpdate();
}

qint32 XOPC::RefreshGroupAsync(qint32 Source, qint32 TransactionID)
{
    const std::shared_ptr<cCollector> c = m_collector;
    if (!c || !c->SelectedOPCGroup)
        return 0;
    const std::shared_ptr<cOPCGroup> group = c->SelectedOPCGroup;
    qint32 cancelId = 0;
    step([&] { cancelId = group->AsyncRefresh(Source, TransactionID); });
    return cancelId;
}

bool XOPC::WriteItem(qint32 ServerIndex, const QString& GroupKey, const QString& ItemKey,
                     const Variant& Value)
{
    const std::shared_ptr<cCollector> c = m_collector;
    if (!c)
        return false;
    const std::shared_ptr<cOPCGroup> group = GroupOf(c->ServerById(ServerIndex), GroupKey);
    constexpr int ItemKeyPrefixLength = 4;  // "Item"
    if (!group || ItemKey.size() <= ItemKeyPrefixLength)
        return false;
    const std::shared_ptr<cOPCItem>* item =
        group->GetOPCGroupItemsCollection().find(toStd(ItemKey.mid(ItemKeyPrefixLength)));
    if (!item)
        return false;
    bool written = false;
    step([&] { written = (*item)->SetItemValue(Value); });
    return written;
}

bool XOPC::WriteGroupSynchronous(qint32 ServerIndex, const QString& GroupKey,
                                 const OleArray<std::string>& ItemIDsOrKeys,
                                 const OleArray<Variant>& Values)
{
    OleArray<std::string> keys = ItemIDsOrKeys;
    return WriteGroup(ServerIndex, GroupKey, keys, Values, nullptr);
}

bool XOPC::WriteGroupAsynchronous(qint32 ServerIndex, const QString& GroupKey,
                                  OleArray<std::string>& ItemIDsOrKeys,
                                  const OleArray<Variant>& Values, qint32 TransactionID)
{
    return WriteGroup(ServerIndex, GroupKey, ItemIDsOrKeys, Values, &TransactionID);
}

// Both group writes: the items named by entries 1 .. upper bound, written in
// one call. The asynchronous write also takes ItemIDs, which it turns into
// ItemKeys in place. False when a lookup fails or the server refuses.
bool XOPC::WriteGroup(qint32 ServerIndex, const QString& GroupKey,
                      OleArray<std::string>& ItemIDsOrKeys, const OleArray<Variant>& Values,
                      const qint32* asyncTransactionID)
{
    try {
        const std::shared_ptr<cCollector> c = m_collector;
        if (!c)
            return false;
        const std::shared_ptr<cOPCGroup> group = GroupOf(c->ServerById(ServerIndex), GroupKey);
        if (!group)
            return false;
        const int32_t upper = ItemIDsOrKeys.ubound();
        if (upper < 1)
            return false;
        auto items = OleArray<std::shared_ptr<cOPCItem>>::withBounds(1, upper);
        for (int32_t i = 1; i <= upper; ++i) {
            if (!ItemIDsOrKeys.contains(i))
                return false;
            std::string& entry = ItemIDsOrKeys[i];
            if (asyncTransactionID && entry.rfind("Item ", 0) != 0)
                entry = group->GetItemKeyForItemID(entry);
            items[i] = ItemOfKey(*group, entry);
            if (!items[i])
                return false;
        }
        return asyncTransactionID ? group->AsyncWriteOPCGroup(items, Values, *asyncTransactionID)
                                  : group->SyncWriteOPCGroup(items, Values);
    } catch (...) {
        return false;
    }
}

void XOPC::About()
{
    try {
        QDialog box(this);
        box.setObjectName("frmAbout");
        box.setWindowTitle("About XOPC");
        auto* layout = new QVBoxLayout(&box);
        auto* text = new QLabel(
            "XOPC\nA control that is used to configure, collect and display OPC data in "
            "multiple OPC Groups on multiple OPC Servers.",
            &box);
        text->setWordWrap(true);
        layout->addWidget(text);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
        connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
        layout->addWidget(buttons);
        DialogRunner::exec(box);
    } catch (...) {
    }
}

// ---- Configuration files ------------------------------------------------------

namespace {

// A count as stored: blanks, an optional sign and decimal digits, anything
// after them ignored; a missing key or one without a number counts 0.
// Nothing for a count outside the 16-bit range.
std::optional<int> readCount(const cINI& ini, const std::string& section, const char* key)
{
    const std::string text = ini.Text(section, key);
    size_t at = text.find_first_not_of(" \t");
    if (at == std::string::npos)
        return 0;
    const bool negative = text[at] == '-';
    if (text[at] == '+' || negative)
        ++at;
    long long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > configfile::MaximumCount + 1)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > configfile::MaximumCount || value < configfile::MinimumCount)
        return std::nullopt;
    return int(value);
}

// A stored flag: "True" or "False" in any case, or a number (0 is False).
// Nothing for an empty or any other text.
std::optional<bool> readFlag(const cINI& ini, const std::string& section, const std::string& key)
{
    try {
        return Variant(ini.Text(section, key)).toBool();
    } catch (...) {
        return std::nullopt;
    }
}

QString readText(const cINI& ini, const std::string& section, const std::string& key)
{
    return toQ(ini.Text(section, key));
}

}  // namespace

bool XOPC::WriteConfig(const QString& Name, const QString& Path)
{
    const std::shared_ptr<cCollector> c = m_collector;
    if (!c)
        return false;
    try {
        return c->WriteConfigFile(toStd(Name), toStd(Path));
    } catch (...) {
        return false;
    }
}

bool XOPC::LoadConfig(const QString& Path)
{
    cMousePointer busy;
    ++m_loadDepth;
    const ScopeExit endLoad([this] {
        if (--m_loadDepth == 0 && m_logSelectionPending) {
            m_logSelectionPending = false;
            m_log->setCurrentRow(m_log->count() - 1);
        }
    });
    try {
        // A path that names no file is a mistake, not an empty configuration:
        // it fails before the current configuration is dropped.
        if (!m_collector || !QFileInfo(Path).isFile())
            return false;
        DisconnectAll();
        cINI ini;
        ini.Create(toStd(Path));
        // One read of the file serves every key.
        if (!ini.BeginBatch())
            return false;
        const std::optional<int> servers = readCount(ini, configfile::HeaderSection, configfile::ServersKey);
        if (!servers)
            return false;
        for (int number = 1; number <= *servers; ++number) {
            if (!LoadServer(ini, number))
                return false;
        }
        return StartStateWatch();
    } catch (...) {
        return false;
    }
}

// A server that does not connect is passed over, unless it has groups.
bool XOPC::LoadServer(const cINI& ini, int serverNumber)
{
    const std::string section = configfile::serverSection(serverNumber - 1);
    QString node = readText(ini, section, configfile::NodeKey);
    const QString progId = readText(ini, section, configfile::ProgIDKey);
    const qint16 serverId = AddServerCore(progId, node);
    const std::optional<int> groups = readCount(ini, section, configfile::GroupsKey);
    if (!groups)
        return false;
    for (int g = 0; g < *groups; ++g) {
        if (!LoadGroup(ini, serverNumber, g, serverId))
            return false;
    }
    return true;
}

bool XOPC::LoadGroup(const cINI& ini, int serverNumber, int groupPosition, qint16 serverId)
{
    const std::shared_ptr<cCollector> c = m_collector;
    const std::string section = configfile::groupSection(serverNumber, groupPosition);
    const QString groupName = readText(ini, section, configfile::GroupNameKey);
    c->SelectedOPCServer = c->ServerById(serverId);
    if (!c->SelectedOPCServer)
        return false;
    // Both must be present and numbers; the conversions throw otherwise.
    const int32_t updateRate = Variant(ini.Text(section, configfile::UpdateRateKey)).toI4();
    const float deadband = Variant(ini.Text(section, configfile::DeadbandKey)).toR4();
    const QString key = AddGroupCore(groupName, updateRate, deadband, true, true);
    const std::optional<int> items = readCount(ini, section, configfile::ItemsKey);
    const std::shared_ptr<cOPCGroup> group = GroupOf(c->SelectedOPCServer, key);
    if (!items || !group)
        return false;
    if (group != c->SelectedOPCGroup)
        c->SelectedOPCGroup = group;
    ShowGroupItems();
    return LoadItems(ini, section, *items);
}

// Adds the selected group's items. The list is filled once at the end (and
// when a bad flag stops the load), not after every item: what is shown is
// the same, the group's items under its member title.
bool XOPC::LoadItems(const cINI& ini, const std::string& section, int count)
{
    using namespace configfile;
    bool complete = true;
    int attempted = 0;
    // The rows AddItemCore would append one by one are replaced by the
    // filling below; any left when the loop is left early are appended at
    // once.
    const bool deferring = m_deferItemRows;
    m_deferItemRows = true;
    const ScopeExit flushRows([this, deferring] {
        m_deferItemRows = deferring;
        if (!deferring)
            m_listModel->AppendRows(std::exchange(m_pendingItemRows, {}));
    });
    for (int i = 1; i <= count; ++i) {
        const QString itemId = readText(ini, section, itemKey(ItemKey, i));
        const std::optional<bool> active = readFlag(ini, section, itemKey(ActiveKey, i));
        const std::optional<bool> updated = readFlag(ini, section, itemKey(UpdatedKey, i));
        const std::optional<bool> logged = readFlag(ini, section, itemKey(LoggedKey, i));
        if (!active || !updated || !logged) {
            complete = false;
            break;
        }
        AddItemCore(itemId, 0, *active, *logged, *updated, readText(ini, section, itemKey(AliasKey, i)),
                    readText(ini, section, itemKey(CustomTag1Key, i)),
                    readText(ini, section, itemKey(CustomTag2Key, i)));
        ++attempted;
    }
    const std::shared_ptr<cCollector> c = m_collector;
    if (attempted > 0 && c && c->SelectedOPCGroup) {
        ShowGroupItems();
        SetTitle(MemberTitle(toQ(c->SelectedOPCGroup->GetGroupName()), false));
    }
    return complete;
}

bool XOPC::OpenItemPlot()
{
    const std::shared_ptr<cCollector> c = m_collector;
    if (!c || !c->SelectedOPCItem || m_plot)
        return false;
    m_tree->setEnabled(false);
    auto* plot = new frmOPCItemPlot(this);
    connect(plot, &frmOPCItemPlot::Closed, this, [this, plot] { OnPlotClosed(plot); });
    m_plot = plot;
    if (!plot->Setup(c->SelectedOPCServer, c->SelectedOPCItem))
        return false;
    DialogRunner::exec(*plot);
    return true;
}

frmOPCItemPlot* XOPC::ItemPlot() const { return m_plot.data(); }

void XOPC::OnPlotClosed(frmOPCItemPlot* plot)
{
    m_tree->setEnabled(true);
    if (m_plot == plot)
        m_plot = nullptr;
    plot->deleteLater();
}

void XOPC::TearDown()
{
    if (m_tornDown)
        return;
    m_tornDown = true;
    step([&] { StopDisplayUpdate(); });
    step([&] {
        if (m_collector)
            m_collector->RemoveAllServers();
    });
    step([&] {
        if (m_timer)
            m_timer->setEnabled(false);
    });
    m_timer.reset();
    m_collector.reset();
    if (m_hostWindow)
        m_hostWindow->removeEventFilter(this);
    m_hostWindow = nullptr;
}

// ---- Owner callbacks ---------------------------------------------------------

void XOPC::OPCItemUpdate(const std::string& Alias, const std::string& ItemID, const Variant& Value,
                         double TimeDate, int32_t Quality)
{
    step([&] { emit ItemDataUpdate(toQ(Alias), toQ(ItemID), Value, TimeDate, Quality); });
}

void XOPC::OPCItemError(const std::string& ItemError)
{
    step([&] { emit OPCError(toQ(ItemError)); });
}

void XOPC::Update(const std::string& GroupKey, int32_t TransactionID, int32_t NumItems,
                  const OleArray<int32_t>& /*ClientHandles*/, const OleArray<Variant>& ItemValues,
                  const OleArray<int32_t>& Qualities, const OleArray<double>& TimeStamps,
                  const OleArray<std::string>& ItemIDs)
{
    step([&] {
        emit GroupDataUpdate(toQ(GroupKey), NumItems, ItemIDs, ItemValues, TimeStamps, Qualities,
                             TransactionID);
    });
}

void XOPC::OPCGroupError(const std::string& GroupError)
{
    step([&] { emit OPCError(toQ(GroupError)); });
}

void XOPC::AsyncWriteComplete(int32_t TransactionID)
{
    step([&] { emit Information("Asynchronous Write Complete: Transaction ID = " + QString::number(TransactionID)); });
}

void XOPC::OPCServerError(const std::string& ServerError)
{
    step([&] { emit OPCError(toQ(ServerError)); });
}

// A server announced that it is going away: its groups and then the server
// leave the configuration and the tree, and the host hears of it. The server
// object stays alive until the announcement has returned to it.
void XOPC::Shutdown(const std::string& ServerKey, const std::string& Reason)
{
    step([&] {
        const std::shared_ptr<cCollector> c = m_collector;
        if (!c)
            return;
        const std::shared_ptr<cOPCServer> server = c->ServerByKey(ServerKey);
        if (!server)
            return;
        Dispatcher::current().post([keep = server] {});
        RemoveServerGroups(*server, ShutdownReason);
        m_listModel->Clear();
        SetTitle(NoGroupTitle());
        const QString progId = toQ(server->GetServerName());
        const QString node = toQ(server->GetNodeName());
        server->DisconnectOPCServer(ShutdownReason);
        c->Servers().remove(ServerKey);
        m_tree->RemoveNode(toQ(ServerKey));
        const auto blank = ServerKey.find(' ');
        const std::string number = blank == std::string::npos ? std::string() : ServerKey.substr(blank + 1);
        emit ServerShutdown(toQ("Server " + number), progId, node, toQ(Reason));
    });
}

void XOPC::RemoveServerGroups(cOPCServer& server, const std::string& reason)
{
    const std::shared_ptr<cCollector> c = m_collector;
    std::vector<std::shared_ptr<cOPCGroup>> groups;
    for (auto& entry : server.GetOPCServerGroupCollection())
        groups.push_back(entry.value);
    for (auto it = groups.rbegin(); it != groups.rend(); ++it) {
        const std::string key = (*it)->GetGroupKey();
        c->SelectedOPCGroup = *it;
        server.RemoveOPCGroup(key, reason);
        m_tree->RemoveNode(toQ(key));
        c->SelectedOPCGroup.reset();
    }
}

// ---- Tree, list and toolbar --------------------------------------------------------

void XOPC::ShowGroupItems()
{
    cMousePointer busy;
    m_pendingItemRows.clear();
    m_listModel->Clear();
    SetTitle(NoGroupTitle());
    m_lastFirstVisibleRow = -1;
    const std::shared_ptr<cCollector> c = m_collector;
    if (!c || !c->SelectedOPCGroup)
        return;
    const std::shared_ptr<cOPCGroup> group = c->SelectedOPCGroup;
    const auto& items = group->GetOPCGroupItemsCollection();
    // Neighbouring items often share a quality and a time stamp: their texts
    // are made once and shared between the cells that show them.
    std::optional<int32_t> lastQuality;
    QString qualityText;
    std::optional<uint64_t> lastStamp;  // the bits, so that 0 and -0 stay apart
    QString stampText;
    std::vector<Row> rows;
    rows.reserve(items.count());
    for (const auto& entry : items) {
        cOPCItem& item = *entry.value;
        Row& row = rows.emplace_back();
        step([&] {
            row.icon = item.GetItemCanonicalType() == vtBool ? XOPCItemListModel::Icon::Boolean
                                                             : XOPCItemListModel::Icon::Sine;
        });
        row.handle = item.GetItemIndex();
        row.cells[XOPCItemListModel::ItemIDColumn] = indentedText(item.GetItemID());
        step([&] {
            row.cells[XOPCItemListModel::ValueColumn] =
                valueCellText(item.GetItemValue(cOPCItem::ReadStored), true);
        });
        const int32_t quality = item.GetItemQuality(cOPCItem::ReadStored);
        if (lastQuality != quality) {
            qualityText = toQ(OPCText::ShortQualityText(quality));
            lastQuality = quality;
        }
        row.cells[XOPCItemListModel::QualityColumn] = qualityText;
        const double stamp = item.GetItemTimeStamp(cOPCItem::ReadStored);
        if (lastStamp != std::bit_cast<uint64_t>(stamp)) {
            stampText = dateText(stamp);
            lastStamp = std::bit_cast<uint64_t>(stamp);
        }
        row.cells[XOPCItemListModel::DateTimeColumn] = stampText;
        row.cells[XOPCItemListModel::ActiveColumn] = flagText(item.GetItemActiveState());
    }
    m_listModel->SetRows(std::move(rows));
}

void XOPC::OnNodeMouseUp(const QString& key, Qt::MouseButton button)
{
    if (key.isEmpty())
        return;
    if (button == Qt::LeftButton)
        ChooseNode(key, false);
    else if (button == Qt::RightButton)
        ChooseNode(key, true);
}

void XOPC::OnNodeKeyUp(const QString& key)
{
    if (!key.isEmpty())
        ChooseNode(key, false);
}

void XOPC::ChooseNode(const QString& key, bool byRightClick)
{
    const std::shared_ptr<cCollector> c = m_collector;
    if (!c)
        return;
    if (key == RootKey || key == DummyRootKey) {
        c->SelectedOPCServer.reset();
        SetTitle(NoServerTitle());
    } else if (key.contains("Server")) {
        if (auto server = c->ServerByKey(toStd(key)))
            c->SelectedOPCServer = server;
        c->SelectedOPCGroup.reset();
        m_listModel->Clear();
        SetTitle(NoGroupTitle());
    } else if (key.contains("Group")) {
        ChooseGroupNode(key, byRightClick);
    }
}

void XOPC::ChooseGroupNode(const QString& key, bool byRightClick)
{
    const std::shared_ptr<cCollector> c = m_collector;
    QTreeWidgetItem* node = m_tree->Node(key);
    if (node) {
        if (auto server = c->ServerByKey(toStd(XOPCTreeView::KeyOf(node->parent()))))
            c->SelectedOPCServer = server;
    }
    const std::shared_ptr<cOPCGroup> group = GroupOf(c->SelectedOPCServer, key);
    if (!group || group == c->SelectedOPCGroup)
        return;
    c->SelectedOPCGroup = group;
    ShowGroupItems();
    SetTitle(MemberTitle(toQ(group->GetGroupName()), byRightClick));
}

void XOPC::OnNodeCollapsed()
{
    if (m_collector)
        m_collector->SelectedOPCGroup.reset();
    m_listModel->Clear();
    SetTitle(NoGroupTitle());
}

// The user ticked or cleared a row: that row's item is selected and is
// collected (logged) from now on, or no longer.
void XOPC::OnRowCheckChanged(int row, bool checked)
{
    const std::shared_ptr<cCollector> c = m_collector;
    if (!c || !c->SelectedOPCGroup)
        return;
    c->SelectedOPCItem = ItemOfKey(*c->SelectedOPCGroup, toStd(m_listModel->RowKey(row)));
    if (c->SelectedOPCItem)
        c->SelectedOPCItem->SetItemLogged(checked);
}

void XOPC::cmdTree_Click()
{
    setShowTree(!m_showTree);
    MarkChanged("ShowTree");
}

void XOPC::cmdShowLog_Click()
{
    setShowLog(!m_showLog);
    MarkChanged("ShowLog");
}

void XOPC::cmdDisplay_Click()
{
    SetDisplayButtons(true);
    StartDisplayUpdate(m_collector ? m_collector->DisplayInterval : cCollector::DefaultDisplayInterval);
}

void XOPC::cmdPause_Click()
{
    SetDisplayButtons(false);
    StopDisplayUpdate();
}

void XOPC::SetDisplayButtons(bool running)
{
    m_cmdDisplay->setEnabled(!running);
    m_cmdPause->setEnabled(running);
}

void XOPC::ArrangeLayout()
{
    const double W = twips::fromPixels(width());
    const double H = twips::fromPixels(height());
    m_layout = XOPCLayout::Arrange(W, H, m_showToolbar, m_showTree, m_showLog);
    const auto place = [](QWidget* widget, const XOPCLayout::Rect& r) {
        widget->setGeometry(twips::toPixels(r.left), twips::toPixels(r.top),
                            std::max(0, twips::toPixels(r.width)),
                            std::max(0, twips::toPixels(r.height)));
    };
    m_toolbar->setVisible(m_layout.toolbarVisible);
    m_tree->setVisible(m_layout.treeVisible);
    m_log->setVisible(m_layout.logVisible);
    place(m_toolbar, m_layout.toolbar);
    place(m_title, {m_layout.title.left, ButtonTop, m_layout.title.width, TitleHeight});
    place(m_tree, m_layout.tree);
    place(m_list, m_layout.list);
    place(m_log, m_layout.log);
    for (int c = 0; c < XOPCLayout::ColumnCount; ++c)
        m_list->setColumnWidth(c, twips::toPixels(m_layout.columnWidths[size_t(c)]));
}

// ---- Properties ----------------------------------------------------------------

qint32 XOPC::CollectMode() const { return MCollector::GetCollectionMode(); }

void XOPC::setCollectMode(qint32 value)
{
    MCollector::SetCollectionMode(CollectionMode(value));
    MarkChanged("CollectMode");
}

void XOPC::setShowLog(bool value)
{
    m_showLog = value;
    step([&] { ArrangeLayout(); });
}

void XOPC::setShowTree(bool value)
{
    m_showTree = value;
    step([&] { ArrangeLayout(); });
}

void XOPC::setShowToolbar(bool value)
{
    m_showToolbar = value;
    step([&] { ArrangeLayout(); });
}

QFont XOPC::Font() const { return m_tree->font(); }

void XOPC::setControlFont(const QFont& font)
{
    ApplyFont(font);
    MarkChanged("Font");
}

void XOPC::ApplyFont(const QFont& font)
{
    m_tree->setFont(font);
    m_list->setFont(font);
    m_log->setFont(font);
    m_title->setFont(font);
}

void XOPC::setReceiveItemUpdateEvents(bool value)
{
    m_receiveItemUpdateEvents = value;
    MarkChanged("ReceiveItemUpdateEvents");
}

void XOPC::setReceiveGroupUpdateEvents(bool value)
{
    m_receiveGroupUpdateEvents = value;
    MarkChanged("ReceiveGroupUpdateEvents");
}

void XOPC::setCollectInterval(qint32 value)
{
    m_collectInterval = value;
    MarkChanged("CollectInterval");
}

void XOPC::setShowItemQualityAsText(bool value)
{
    m_showItemQualityAsText = value;
    MarkChanged("ShowItemQualityAsText");
}

void XOPC::setAllowEdit(bool value)
{
    m_allowEdit = value;
    MarkChanged("AllowEdit");
}

void XOPC::setCustomTag1Caption(const QString& value)
{
    m_customTag1Caption = value;
    MarkChanged("CustomTag1Caption");
}

void XOPC::setCustomTag2Caption(const QString& value)
{
    m_customTag2Caption = value;
    MarkChanged("CustomTag2Caption");
}

void XOPC::setTimeout(float value)
{
    m_timeout = value;
    MarkChanged("Timeout");
}

void XOPC::MarkChanged(const char* name) { emit propertyChanged(QString::fromLatin1(name)); }

// ---- Saved properties -------------------------------------------------------------

namespace saved {

const QString FontKey = QStringLiteral("Font");
const QString CollectIntervalKey = QStringLiteral("CollectInterval");
const QString CollectModeKey = QStringLiteral("CollectMode");
const QString CustomTag1CaptionKey = QStringLiteral("CustomTag1Caption");
const QString CustomTag2CaptionKey = QStringLiteral("CustomTag2Caption");
const QString AllowEditKey = QStringLiteral("AllowEdit");
const QString ShowItemQualityAsTextKey = QStringLiteral("ShowItemQualityAsText");
const QString TimeoutKey = QStringLiteral("Timeout");
const QString ReceiveItemUpdateEventsKey = QStringLiteral("ReceiveItemUpdateEvents");
const QString ReceiveGroupUpdateEventsKey = QStringLiteral("ReceiveGroupUpdateEvents");
const QString ShowLogKey = QStringLiteral("ShowLog");
const QString ShowToolbarKey = QStringLiteral("ShowToolbar");
const QString ShowTreeKey = QStringLiteral("ShowTree");

constexpr qint32 DefaultCollectInterval = 5000;
constexpr qint32 DefaultCollectMode = cmNone;
const QString DefaultCustomTag1Caption = QStringLiteral("Custom Tag 1");
const QString DefaultCustomTag2Caption = QStringLiteral("Custom Tag 2");
constexpr bool DefaultAllowEdit = true;
constexpr bool DefaultShowItemQualityAsText = true;
constexpr float DefaultTimeout = 5.0f;
constexpr bool DefaultReceiveEvents = false;
constexpr bool DefaultShow = true;

// Each read on its own: a value that does not convert leaves the target as
// it was.
void readBool(PropertyBag& bag, const QString& key, bool defaultValue, bool& target)
{
    if (const std::optional<bool> flag = bag.readFlag(key, defaultValue))
        target = *flag;
}

void readInt(PropertyBag& bag, const QString& key, qint32 defaultValue, qint32& target)
{
    bool ok = false;
    const qint32 value = bag.read(key, defaultValue).toInt(&ok);
    if (ok)
        target = value;
}

void readFloat(PropertyBag& bag, const QString& key, float defaultValue, float& target)
{
    bool ok = false;
    const float value = bag.read(key, defaultValue).toFloat(&ok);
    if (ok)
        target = value;
}

void readText(PropertyBag& bag, const QString& key, const QString& defaultValue, QString& target)
{
    const QVariant v = bag.read(key, defaultValue);
    if (v.canConvert<QString>())
        target = v.toString();
}

}  // namespace saved

QFont XOPC::AmbientFont() const
{
    return parentWidget() ? parentWidget()->font() : QApplication::font();
}

void XOPC::InitProperties()
{
    m_timeout = saved::DefaultTimeout;
    m_receiveItemUpdateEvents = saved::DefaultReceiveEvents;
    m_receiveGroupUpdateEvents = saved::DefaultReceiveEvents;
    m_showLog = m_showToolbar = m_showTree = true;
    m_allowEdit = true;
    step([&] { ArrangeLayout(); });
}

void XOPC::WriteProperties(PropertyBag& bag) const
{
    using namespace saved;
    step([&] { bag.write(FontKey, Font().toString(), AmbientFont().toString()); });
    bag.write(CollectIntervalKey, m_collectInterval, DefaultCollectInterval);
    bag.write(CollectModeKey, CollectMode(), DefaultCollectMode);
    bag.write(CustomTag1CaptionKey, m_customTag1Caption, DefaultCustomTag1Caption);
    bag.write(CustomTag2CaptionKey, m_customTag2Caption, DefaultCustomTag2Caption);
    bag.write(AllowEditKey, m_allowEdit, DefaultAllowEdit);
    bag.write(ShowItemQualityAsTextKey, m_showItemQualityAsText, DefaultShowItemQualityAsText);
    bag.write(TimeoutKey, m_timeout, DefaultTimeout);
    bag.write(ReceiveItemUpdateEventsKey, m_receiveItemUpdateEvents, DefaultReceiveEvents);
    bag.write(ReceiveGroupUpdateEventsKey, m_receiveGroupUpdateEvents, DefaultReceiveEvents);
    bag.write(ShowLogKey, m_showLog, DefaultShow);
    bag.write(ShowToolbarKey, m_showToolbar, DefaultShow);
    bag.write(ShowTreeKey, m_showTree, DefaultShow);
}

void XOPC::ReadProperties(PropertyBag& bag)
{
    using namespace saved;
    step([&] { WatchHostWindow(); });
    step([&] {
        const QString ambient = AmbientFont().toString();
        QFont font;
        if (font.fromString(bag.read(FontKey, ambient).toString()))
            ApplyFont(font);
    });
    step([&] { readInt(bag, CollectIntervalKey, DefaultCollectInterval, m_collectInterval); });
    step([&] {
        qint32 mode = CollectMode();
        readInt(bag, CollectModeKey, DefaultCollectMode, mode);
        if (mode >= cmNone && mode <= cmAll)
            MCollector::SetCollectionMode(CollectionMode(mode));
    });
    step([&] { readText(bag, CustomTag1CaptionKey, DefaultCustomTag1Caption, m_customTag1Caption); });
    step([&] { readText(bag, CustomTag2CaptionKey, DefaultCustomTag2Caption, m_customTag2Caption); });
    step([&] { readBool(bag, AllowEditKey, DefaultAllowEdit, m_allowEdit); });
    step([&] { readBool(bag, ShowItemQualityAsTextKey, DefaultShowItemQualityAsText, m_showItemQualityAsText); });
    step([&] { readFloat(bag, TimeoutKey, DefaultTimeout, m_timeout); });
    step([&] { readBool(bag, ReceiveItemUpdateEventsKey, DefaultReceiveEvents, m_receiveItemUpdateEvents); });
    step([&] { readBool(bag, ReceiveGroupUpdateEventsKey, DefaultReceiveEvents, m_receiveGroupUpdateEvents); });
    step([&] { readBool(bag, ShowLogKey, DefaultShow, m_showLog); });
    step([&] { readBool(bag, ShowToolbarKey, DefaultShow, m_showToolbar); });
    step([&] { readBool(bag, ShowTreeKey, DefaultShow, m_showTree); });
    step([&] { ArrangeLayout(); });
}

// ---- Texts -------------------------------------------------------------------------

QStringList XOPC::LogLines() const
{
    QStringList lines;
    for (int i = 0; i < m_log->count(); ++i)
        lines << m_log->item(i)->text();
    return lines;
}

QString XOPC::Title() const { return m_title->text(); }

void XOPC::SetTitle(const QString& text) { m_title->setText(text); }

QString XOPC::NoGroupTitle() const
{
    return "Total Item Count = " + QString::number(m_collector ? m_collector->GlobalItemCount : 0) +
           ", Item List: No Group Selected";
}

QString XOPC::NoServerTitle() const
{
    return "Total Item Count = " + QString::number(m_collector ? m_collector->GlobalItemCount : 0) +
           ", Item List: No Server Selected";
}

QString XOPC::MemberTitle(const QString& groupName, bool byRightClick) const
{
    return "Total Item Count = " + QString::number(m_collector ? m_collector->GlobalItemCount : 0) +
           ", Member(s) of Group '" + (byRightClick ? " " : "") + groupName + "':";
}

void XOPC::AddLogLine(const QString& line)
{
    m_log->addItem(line);
    if (m_loadDepth > 0)
        m_logSelectionPending = true;
    else
        m_log->setCurrentRow(m_log->count() - 1);
}

// ---- Widget events and the host window ------------------------------------------------

void XOPC::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int minimumWidth = twips::toPixels(XOPCLayout::MinimumWidth);
    const int minimumHeight = twips::toPixels(XOPCLayout::MinimumHeight);
    if (width() < minimumWidth || height() < minimumHeight) {
        resize(std::max(width(), minimumWidth), std::max(height(), minimumHeight));
        return;
    }
    step([&] { ArrangeLayout(); });
}

void XOPC::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    step([&] { ArrangeLayout(); });
    WatchHostWindow();
}

bool XOPC::event(QEvent* event)
{
    if (event->type() == QEvent::ParentChange)
        WatchHostWindow();
    return QWidget::event(event);
}

// The window the control sits in: when it closes or is destroyed, the
// control tears itself down, once.
void XOPC::WatchHostWindow()
{
    if (m_tornDown)
        return;
    QWidget* host = window();
    if (host == this || host == m_hostWindow)
        return;
    if (m_hostWindow)
        m_hostWindow->removeEventFilter(this);
    m_hostWindow = host;
    host->installEventFilter(this);
    connect(host, &QObject::destroyed, this, [this] { TearDown(); });
}

bool XOPC::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_hostWindow && event->type() == QEvent::Close)
        TearDown();
    return QWidget::eventFilter(watched, event);
}

}  // namespace tagwell

#include "explorer_app/frmTest.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QListWidget>
#include <QMenuBar>
#include <QScreen>

#include "automation/OPCServer.h"
#include "controls/xopc/XOPC.h"
#include "core/MGlobal.h"
#include "core/cMousePointer.h"
#include "explorer_app/HelpPage.h"
#include "explorer_app/IntervalAnswer.h"
#include "explorer_app/SettingsTools.h"
#include "explorer_app/SpawnProgramStarter.h"
#include "explorer_app/UpdateLineText.h"
#include "graph/Twips.h"
#include "platform/ComError.h"
#include "platform/Dispatcher.h"
#include "platform/MessageBoxService.h"
#include "platform/PointerService.h"
#include "platform/Services.h"
#include "platform/qt/DialogRunner.h"
#include "platform/qt/QtWindowHandle.h"

namespace tagwell {

namespace {

constexpr const char* FileDialogTitle = "Select Configuration File";
constexpr const char* FileDialogFilter = "Config (*.ini)";
constexpr const char* ConfigSuffix = "ini";
constexpr const char* IntervalPrompt = "Enter the display update interval in milliseconds";
constexpr const char* IntervalTitle = "Display Update Interval";
constexpr const char* LocalNode = "";
constexpr const char* NoTitle = "";

// The font of the data control and of the event list.
constexpr const char* ControlFontFamily = "MS Sans Serif";
constexpr double ControlFontPoints = 8.25;

// The demonstration groups: both update every 200 ms with a dead band of 2,
// active and subscribed; their items are added with the server's own type,
// active.
constexpr qint32 DemoUpdateRate = 200;
constexpr float DemoDeadBand = 2.0f;
constexpr bool DemoActive = true;
constexpr bool DemoSubscribed = true;
constexpr qint16 ServerDataType = 0;

const QStringList& RampItems()
{
    static const QStringList items{
        "SimulatePLC.PHASED.Ramp1", "SimulatePLC.PHASED.Ramp2", "SimulatePLC.PHASED.Ramp3",
        "SimulatePLC.PHASED.Ramp4", "SimulatePLC.PHASED.Ramp5"};
    return items;
}

const QStringList& BoolItems()
{
    static const QStringList items{"SimulatePLC.BOOL.In1", "SimulatePLC.BOOL.In2",
                                   "SimulatePLC.BOOL.Out1", "SimulatePLC.BOOL.Out2"};
    return items;
}

QRect pixelRect(const ExplorerLayout::Rect& twips)
{
    return QRect(twips::toPixels(twips.left), twips::toPixels(twips.top),
                 twips::toPixels(twips.width), twips::toPixels(twips.height));
}

QString serverListText(const OleArray<std::string>& servers)
{
    QString text = QStringLiteral("OPC servers on this computer (%1):\n")
                       .arg(QString::fromStdString(MGlobal::GetLocalComputerName()));
    for (const std::string& progId : servers)
        text += "\n" + QString::fromStdString(progId);
    if (servers.size() == 0)
        text += "\n(none)";
    return text;
}

QString outOfRangeText(const QString& answer, qint16 remembered)
{
    return QStringLiteral("\"%1\" cannot be used as a display update interval: enter a whole "
                          "number of milliseconds from %2 to %3 (the list refreshes at most "
                          "every %4 and at least every %5 milliseconds). The interval stays at "
                          "%6 milliseconds.")
        .arg(answer.trimmed())
        .arg(IntervalAnswer::Smallest)
        .arg(IntervalAnswer::Largest)
        .arg(XOPC::MinimumDisplayInterval)
        .arg(XOPC::MaximumDisplayInterval)
        .arg(remembered);
}

}  // namespace

frmTest::frmTest(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("frmTest");
    setWindowTitle(Caption);
    m_ownStarter = std::make_unique<SpawnProgramStarter>();
    m_starter = m_ownStarter.get();
    BuildControls();
    BuildMenus();
    ConnectControlEvents();
    resize(twips::toPixels(DesignWidthTwips), twips::toPixels(DesignHeightTwips));
    CentreOnScreen();
}

frmTest::~frmTest()
{
    try {
        if (m_XOPC1)
            m_XOPC1->DisconnectAll();
    } catch (...) {
    }
}

// ---- Building the window ------------------------------------------------

void frmTest::BuildControls()
{
    auto* client = new QWidget(this);
    client->setObjectName("client");
    setCentralWidget(client);
    m_XOPC1 = new XOPC(client);
    m_XOPC1->setObjectName("XOPC1");
    m_XOPC1->setReceiveGroupUpdateEvents(true);
    m_lstUpdates = new QListWidget(client);
    m_lstUpdates->setObjectName("lstUpdates");
    QFont controlFont(QString::fromLatin1(ControlFontFamily));
    controlFont.setPointSizeF(ControlFontPoints);
    m_XOPC1->setControlFont(controlFont);
    m_lstUpdates->setFont(controlFont);
}

void frmTest::BuildMenus()
{
    QMenu* file = AddMenu("&File");
    AddCommand(file, "mnuOpen", "&Open...", &frmTest::mnuOpen_Click, QKeySequence("Ctrl+O"));
    file->addSeparator();
    AddCommand(file, "mnuSave", "&Save...", &frmTest::mnuSave_Click, QKeySequence("Ctrl+S"));
    file->addSeparator();
    AddCommand(file, "mnuLoadDefault", "Load &Default", &frmTest::mnuLoadDefault_Click,
               QKeySequence("Ctrl+H"));
    file->addSeparator();
    AddCommand(file, "mnuExit", "E&xit", &frmTest::mnuExit_Click, QKeySequence("Ctrl+Q"));

    QMenu* view = AddMenu("&View");
    AddCommand(view, "mnuBrowseServers", "&Browse All OPC Servers", &frmTest::mnuBrowseServers_Click);
    AddCommand(view, "mnuDisplayInterval", "&Display Update Interval",
               &frmTest::mnuDisplayInterval_Click);
    m_mnuShowLog = AddToggle(view, "mnuShowLog", "Show &Log", &frmTest::mnuShowLog_Click);
    m_mnuShowToolbar =
        AddToggle(view, "mnuShowToolbar", "Show &Toolbar", &frmTest::mnuShowToolbar_Click);
    m_mnuShowTree = AddToggle(view, "mnuShowTree", "Show &Tree", &frmTest::mnuShowTree_Click);

    QMenu* options = AddMenu("&Options");
    m_mnuAllowEdit = AddToggle(options, "mnuAllowEdit", "Allow &Edit", &frmTest::mnuAllowEdit_Click);
    m_mnuCollectionUpdates = AddToggle(options, "mnuCollectionUpdates", "&Collection Updates",
                                       &frmTest::mnuCollectionUpdates_Click);
    AddCommand(options, "mnuDisconnectAll", "&Disconnect All", &frmTest::mnuDisconnectAll_Click);
    AddCommand(options, "mnuCheckRegistrations", "Check Component &Registrations",
               &frmTest::CheckComponentRegistrations);

    QMenu* help = AddMenu("&Help");
    AddCommand(help, "mnuHelpXOPC", "&Tagwell Help For XOPC", &frmTest::mnuHelpXOPC_Click);
    AddCommand(help, "mnuNetworkConnections", "&Network Connections",
               &frmTest::mnuNetworkConnections_Click);
    AddCommand(help, "mnuPCIdentification", "&PC Identification",
               &frmTest::mnuPCIdentification_Click);
    AddCommand(help, "mnuDCOMConfiguration", "&DCOM Configuration",
               &frmTest::mnuDCOMConfiguration_Click);
    AddCommand(help, "mnuAbout", "&About", &frmTest::mnuAbout_Click);
    SyncPaneCheckMarks();
}

QMenu* frmTest::AddMenu(const QString& caption) { return menuBar()->addMenu(caption); }

QAction* frmTest::AddCommand(QMenu* menu, const char* name, const QString& caption,
                             void (frmTest::*command)(), const QKeySequence& shortcut)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, command);
    return action;
}

QAction* frmTest::AddToggle(QMenu* menu, const char* name, const QString& caption,
                            void (frmTest::*command)())
{
    QAction* action = AddCommand(menu, name, caption, command);
    action->setCheckable(true);
    return action;
}

void frmTest::ConnectControlEvents()
{
    connect(m_XOPC1, &XOPC::ServerAdded, this, &frmTest::XOPC1_ServerAdded);
    connect(m_XOPC1, &XOPC::ServerShutdown, this, &frmTest::XOPC1_ServerShutdown);
    connect(m_XOPC1, &XOPC::GroupAdded, this, &frmTest::XOPC1_GroupAdded);
    connect(m_XOPC1, &XOPC::ItemAdded, this, &frmTest::XOPC1_ItemAdded);
    connect(m_XOPC1, &XOPC::BatchItemUpdate, this, &frmTest::XOPC1_BatchItemUpdate);
    connect(m_XOPC1, &XOPC::BatchAllUpdates, this, [this](qint32 Count) { XOPC1_BatchAllUpdates(Count); });
    connect(m_XOPC1, &XOPC::OPCError, this, &frmTest::XOPC1_OPCError);
}

// Once shown, the window's frame is known, so the first showing centres the
// whole window, frame included.
void frmTest::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_centred) {
        m_centred = true;
        CentreOnScreen();
    }
}

void frmTest::CentreOnScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

// ---- Window layout ------------------------------------------------------

void frmTest::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    ArrangeChildren();
    m_rememberedInterval = DefaultDisplayInterval;
    SyncPaneCheckMarks();
}

void frmTest::ArrangeChildren()
{
    ExplorerLayout::Arrange(twips::fromPixels(width()), twips::fromPixels(height()),
                            m_controlRect, m_listRect);
    m_XOPC1->setGeometry(pixelRect(m_controlRect));
    m_lstUpdates->setGeometry(pixelRect(m_listRect));
}

void frmTest::SyncPaneCheckMarks()
{
    m_mnuShowLog->setChecked(m_XOPC1->ShowLog());
    m_mnuShowToolbar->setChecked(m_XOPC1->ShowToolbar());
    m_mnuShowTree->setChecked(m_XOPC1->ShowTree());
    m_mnuAllowEdit->setChecked(m_XOPC1->AllowEdit());
}

void frmTest::closeEvent(QCloseEvent* event)
{
    try {
        m_XOPC1->DisconnectAll();
    } catch (...) {
    }
    QMainWindow::closeEvent(event);
}

// ---- File menu ----------------------------------------------------------

void frmTest::mnuOpen_Click()
{
    try {
        const QString file = ChooseConfigFile(false);
        if (!file.isEmpty()) {
            cMousePointer busy;
            const bool loaded = m_XOPC1->LoadConfig(file);
            AddLine((loaded ? UpdateLineText::ConfigLoaded : UpdateLineText::ConfigNotLoaded) + file);
        }
        m_XOPC1->StartDisplayUpdate(DefaultDisplayInterval);
    } catch (...) {
    }
}

void frmTest::mnuSave_Click()
{
    try {
        const QString file = ChooseConfigFile(true);
        if (file.isEmpty())
            return;
        const bool saved = m_XOPC1->WriteConfig(SavedConfigName, file);
        AddLine((saved ? UpdateLineText::ConfigSaved : UpdateLineText::ConfigNotSaved) + file);
    } catch (...) {
    }
}

QString frmTest::ChooseConfigFile(bool forSaving)
{
    QFileDialog dialog(this, FileDialogTitle, QCoreApplication::applicationDirPath(),
                       FileDialogFilter);
    dialog.setObjectName("dlgOpenAndSave");
    dialog.setAcceptMode(forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(forSaving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (forSaving)
        dialog.setDefaultSuffix(ConfigSuffix);
    if (DialogRunner::exec(dialog) != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

void frmTest::mnuLoadDefault_Click()
{
    LoadDefaultConfiguration();
    m_XOPC1->StartDisplayUpdate(DefaultDisplayInterval);
}

void frmTest::LoadDefaultConfiguration()
{
    try {
        AddLine(UpdateLineText::LoadingDefault);
        m_XOPC1->DisconnectAll();
        const qint16 server = m_XOPC1->AddNewServer(DemoProgId, LocalNode);
        AddDemoGroup(server, "Test1", RampItems());
        AddDemoGroup(server, "Test2", RampItems() + BoolItems());
        AddLine(UpdateLineText::LoadedDefault);
    } catch (...) {
    }
}

void frmTest::AddDemoGroup(qint16 serverId, const QString& groupName, const QStringList& itemIds)
{
    const QString group = m_XOPC1->AddNewGroup(groupName, DemoUpdateRate, DemoDeadBand, DemoActive,
                                               DemoSubscribed, serverId);
    for (const QString& itemId : itemIds)
        m_XOPC1->AddNewItem(serverId, group, itemId, ServerDataType, DemoActive);
}

void frmTest::mnuExit_Click()
{
    close();
    QCoreApplication::quit();
}

// ---- View menu ----------------------------------------------------------

void frmTest::mnuBrowseServers_Click()
{
    try {
        OPCServer server;
        ShowMessage(serverListText(server.GetOPCServers(LocalNode)));
    } catch (const ComError& failure) {
        ShowMessage("The OPC servers of this computer could not be listed: " +
                    QString::fromStdString(failure.description()));
    } catch (...) {
        ShowMessage("The OPC servers of this computer could not be listed.");
    }
}

void frmTest::mnuDisplayInterval_Click()
{
    try {
        QInputDialog box(this);
        box.setObjectName("InputBox");
        box.setWindowTitle(IntervalTitle);
        box.setLabelText(IntervalPrompt);
        box.setInputMode(QInputDialog::TextInput);
        box.setTextValue(QString::number(m_rememberedInterval));
        if (DialogRunner::exec(box) == QDialog::Accepted) {
            const IntervalAnswer answer = IntervalAnswer::Parse(box.textValue());
            if (answer.kind() == IntervalAnswer::Kind::Accepted)
                m_rememberedInterval = answer.milliseconds();
            else if (answer.kind() == IntervalAnswer::Kind::OutOfRange)
                ShowMessage(outOfRangeText(box.textValue(), m_rememberedInterval));
        }
        m_XOPC1->StartDisplayUpdate(m_rememberedInterval);
    } catch (...) {
    }
}

void frmTest::mnuShowLog_Click() { ToggleProperty(m_mnuShowLog, &XOPC::setShowLog); }
void frmTest::mnuShowToolbar_Click() { ToggleProperty(m_mnuShowToolbar, &XOPC::setShowToolbar); }
void frmTest::mnuShowTree_Click() { ToggleProperty(m_mnuShowTree, &XOPC::setShowTree); }

// The action has already inverted its check mark when this runs.
void frmTest::ToggleProperty(QAction* action, void (XOPC::*setter)(bool))
{
    try {
        (m_XOPC1->*setter)(action->isChecked());
    } catch (...) {
    }
}

// ---- Options menu -------------------------------------------------------

void frmTest::mnuAllowEdit_Click() { ToggleProperty(m_mnuAllowEdit, &XOPC::setAllowEdit); }

void frmTest::mnuCollectionUpdates_Click()
{
    try {
        if (m_mnuCollectionUpdates->isChecked())
            m_XOPC1->StartCollectionUpdates();
        else
            m_XOPC1->StopCollectionUpdates();
    } catch (...) {
    }
}

void frmTest::mnuDisconnectAll_Click()
{
    try {
        m_XOPC1->DisconnectAll();
    } catch (...) {
    }
}

void frmTest::CheckComponentRegistrations()
{
    try {
        m_registrations.CheckComponentRegistrations();
    } catch (...) {
    }
}

// ---- Help menu ----------------------------------------------------------

void frmTest::mnuHelpXOPC_Click()
{
    try {
        const QString page = HelpPage::Path();
        if (page.isEmpty()) {
            ShowMessage(QStringLiteral("The help page for XOPC was not found: it belongs in %1 "
                                       "beside the explorer.")
                            .arg(HelpPage::RelativePath));
            return;
        }
        const int32_t code = MGlobal::ShellOpen(QtWindowHandle::of(this), page.toStdString());
        if (!shell::succeeded(code))
            ShowMessage("The help page for XOPC could not be opened: " + page);
    } catch (...) {
    }
}

void frmTest::mnuNetworkConnections_Click()
{
    OpenSettings(static_cast<int>(SettingsTools::Tool::Network));
}

void frmTest::mnuPCIdentification_Click()
{
    OpenSettings(static_cast<int>(SettingsTools::Tool::Identification));
}

void frmTest::mnuDCOMConfiguration_Click()
{
    OpenSettings(static_cast<int>(SettingsTools::Tool::DCOM));
}

void frmTest::OpenSettings(int tool)
{
    try {
        SettingsTools::Open(static_cast<SettingsTools::Tool>(tool), *m_starter);
    } catch (...) {
    }
}

void frmTest::mnuAbout_Click()
{
    try {
        m_XOPC1->About();
    } catch (...) {
    }
}

void frmTest::setProgramStarter(ProgramStarter* starter)
{
    m_starter = starter ? starter : m_ownStarter.get();
}

// ---- Event lines --------------------------------------------------------

QStringList frmTest::UpdateLines() const
{
    QStringList lines;
    for (int row = 0; row < m_lstUpdates->count(); ++row)
        lines << m_lstUpdates->item(row)->text();
    return lines;
}

void frmTest::AddLine(const QString& line) { m_lstUpdates->addItem(line); }

void frmTest::ShowMessage(const QString& text)
{
    Services::messageBox().show(text.toStdString(), msgbox::OKOnly, NoTitle);
}

void frmTest::XOPC1_ServerAdded(const QString& ServerKey, const QString& ProgID, const QString&)
{
    try {
        // The line names the server twice over: by its key in the control
        // and by the ProgID it was connected with.
        AddLine(UpdateLineText::ServerAdded(ServerKey, ProgID));
    } catch (...) {
    }
}

void frmTest::XOPC1_ServerShutdown(const QString& ServerKey, const QString& ProgID,
                                   const QString& Node, const QString& Reason)
{
    try {
        AddLine(UpdateLineText::ServerShutdown(ServerKey, Reason));
        m_XOPC1->AddNewServer(ProgID, Node);
    } catch (...) {
    }
}

void frmTest::XOPC1_GroupAdded(const QString& ServerKey, const QString& GroupKey,
                               const QString& GroupName)
{
    try {
        AddLine(UpdateLineText::GroupAdded(ServerKey, GroupKey, GroupName));
    } catch (...) {
    }
}

void frmTest::XOPC1_ItemAdded(const QString& ServerKey, const QString& GroupKey,
                              const QString& ItemKey, const QString& ItemName,
                              qint32 TotalItemCount)
{
    try {
        AddLine(UpdateLineText::ItemAdded(ServerKey, GroupKey, ItemKey, ItemName, TotalItemCount));
    } catch (...) {
    }
}

void frmTest::XOPC1_BatchItemUpdate(const QString& FullItemID, qint32 Count,
                                    const OleArray<Variant>& Values,
                                    const OleArray<double>& DateTimes,
                                    const OleArray<qint32>& Qualities)
{
    try {
        Services::pointer().setPointer(pointer::Hourglass);
        m_lstUpdates->clear();
        m_lstUpdates->addItems(
            UpdateLineText::BatchItemUpdate(FullItemID, Count, Values, DateTimes, Qualities));
    } catch (...) {
    }
    Services::pointer().setPointer(pointer::Default);
}

void frmTest::XOPC1_BatchAllUpdates(qint32 Count)
{
    try {
        if (Count == 0)
            return;
        cMousePointer busy;
        AddLine(UpdateLineText::BatchAllUpdates(Count, Dispatcher::current().currentDate()));
    } catch (...) {
    }
}

void frmTest::XOPC1_OPCError(const QString& Description)
{
    try {
        AddLine(UpdateLineText::OPCError(Description));
    } catch (...) {
    }
}

}  // namespace tagwell

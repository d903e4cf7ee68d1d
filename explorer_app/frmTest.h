#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <memory>

#include "explorer_app/ComponentRegistrations.h"
#include "explorer_app/ExplorerLayout.h"
#include "platform/OleArray.h"
#include "platform/Variant.h"

class QAction;
class QListWidget;
class QMenu;

namespace tagwell {

class ProgramStarter;
class XOPC;

// The explorer's main window: one data control (XOPC1) and below it a list
// of what the control reports (lstUpdates), under a menu bar that opens and
// saves configuration files, builds the demonstration configuration, starts
// display and collection updates, shows or hides the control's panes, checks
// the components and opens help and the desktop's settings.
//
// Modal dialogs (the file dialog, the interval input box, the control's
// about box) go through DialogRunner; message boxes through the installed
// message box service; help pages through the shell service; settings tools
// through a ProgramStarter. Tests replace each of them.
//
// Commands and event handlers never throw: a failing step is reported where
// the command says so and otherwise skipped.
class frmTest : public QMainWindow {
    Q_OBJECT

public:
    static constexpr double DesignWidthTwips = 12795;
    static constexpr double DesignHeightTwips = 10875;
    // The display interval offered after every resize, milliseconds.
    static constexpr qint16 DefaultDisplayInterval = 250;
    static constexpr const char* Caption = "Tagwell Test Client";
    static constexpr const char* DemoProgId = "ICONICS.Simulator.1";
    // Name under which Save writes the configuration.
    static constexpr const char* SavedConfigName = "MyConfig";

    explicit frmTest(QWidget* parent = nullptr);
    ~frmTest() override;

    // Builds the demonstration configuration on the built-in simulator:
    // everything is disconnected first, then groups Test1 and Test2.
    void LoadDefaultConfiguration();

    // The menu commands.
    void mnuOpen_Click();
    void mnuSave_Click();
    void mnuLoadDefault_Click();
    void mnuExit_Click();
    void mnuBrowseServers_Click();
    void mnuDisplayInterval_Click();
    void mnuShowLog_Click();
    void mnuShowToolbar_Click();
    void mnuShowTree_Click();
    void mnuAllowEdit_Click();
    void mnuCollectionUpdates_Click();
    void mnuDisconnectAll_Click();
    void CheckComponentRegistrations();
    void mnuHelpXOPC_Click();
    void mnuNetworkConnections_Click();
    void mnuPCIdentification_Click();
    void mnuDCOMConfiguration_Click();
    void mnuAbout_Click();

    XOPC* control() const { return m_XOPC1; }
    QListWidget* updates() const { return m_lstUpdates; }
    QStringList UpdateLines() const;
    // The interval "&Display Update Interval" offers and uses.
    qint16 RememberedInterval() const { return m_rememberedInterval; }
    ComponentRegistrations& registrations() { return m_registrations; }
    // Not owned; nullptr goes back to starting programs directly.
    void setProgramStarter(ProgramStarter* starter);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Building the window.
    void BuildControls();
    void BuildMenus();
    QMenu* AddMenu(const QString& caption);
    QAction* AddCommand(QMenu* menu, const char* name, const QString& caption,
                        void (frmTest::*command)(), const QKeySequence& shortcut = {});
    QAction* AddToggle(QMenu* menu, const char* name, const QString& caption,
                       void (frmTest::*command)());
    void ConnectControlEvents();
    void CentreOnScreen();

    // Window layout.
    void ArrangeChildren();
    void SyncPaneCheckMarks();

    // Commands' steps.
    QString ChooseConfigFile(bool forSaving);
    void AddDemoGroup(qint16 serverId, const QString& groupName, const QStringList& itemIds);
    void ToggleProperty(QAction* action, void (XOPC::*setter)(bool));
    void OpenSettings(int tool);
    void AddLine(const QString& line);
    void ShowMessage(const QString& text);

    // Events of XOPC1.
    void XOPC1_ServerAdded(const QString& ServerKey, const QString& ProgID, const QString& Node);
    void XOPC1_ServerShutdown(const QString& ServerKey, const QString& ProgID, const QString& Node,
                              const QString& Reason);
    void XOPC1_GroupAdded(const QString& ServerKey, const QString& GroupKey, const QString& GroupName);
    void XOPC1_ItemAdded(const QString& ServerKey, const QString& GroupKey, const QString& ItemKey,
                         const QString& ItemName, qint32 TotalItemCount);
    void XOPC1_BatchItemUpdate(const QString& FullItemID, qint32 Count,
                               const OleArray<Variant>& Values, const OleArray<double>& DateTimes,
                               const OleArray<qint32>& Qualities);
    void XOPC1_BatchAllUpdates(qint32 Count);
    void XOPC1_OPCError(const QString& Description);

    XOPC* m_XOPC1 = nullptr;
    QListWidget* m_lstUpdates = nullptr;
    QAction* m_mnuShowLog = nullptr;
    QAction* m_mnuShowToolbar = nullptr;
    QAction* m_mnuShowTree = nullptr;
    QAction* m_mnuAllowEdit = nullptr;
    QAction* m_mnuCollectionUpdates = nullptr;

    ExplorerLayout::Rect m_controlRect;
    ExplorerLayout::Rect m_listRect;
    qint16 m_rememberedInterval = DefaultDisplayInterval;
    bool m_centred = false;
    ComponentRegistrations m_registrations;
    std::unique_ptr<ProgramStarter> m_ownStarter;
    ProgramStarter* m_starter = nullptr;
};

}  // namespace tagwell

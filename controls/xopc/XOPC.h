#pragma once

#include <QFont>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/IGroupCallback.h"
#include "core/IItemCallback.h"
#include "controls/xopc/XOPCItemListModel.h"
#include "controls/xopc/XOPCLayout.h"
#include "core/IServerCallback.h"
#include "platform/OleArray.h"
#include "platform/Variant.h"

class QLabel;
class QListWidget;
class QToolButton;

namespace tagwell {

class CPacetick;
class XOPCItemListModel;
class XOPCItemListView;
class XOPCTimerSink;
class XOPCTreeView;
class cCollector;
class cINI;
class PropertyBag;
class cOPCGroup;
class cOPCItem;
class cOPCServer;
class frmOPCItemPlot;

// The data control: configures, collects and displays OPC data in many
// groups on many servers. It shows its configuration as a tree of servers
// and groups (tvTreeView), the items of the selected group with their live
// values (lvListView), and an activity log (lstInfo) under a toolbar
// (picTitles). It turns what the object layer reports into signals for its
// host, and runs three timed activities on one timer object: display
// updates of the list (Time1), collection events (Time2) and a watch on the
// selected server's state (Time3).
//
// Keys. The n-th server added (n counting from 0, failed attempts included)
// has ServerID n and ServerKey "Server n"; groups are keyed "Group g n" and
// items "Item h" by the object layer. A host passes ServerIDs and these keys
// back to the methods.
//
// Types on the interface. Texts are QString; values are tagwell::Variant;
// dates are automation dates (double, days since 1899-12-30); qualities are
// the 32-bit OPC quality numbers. Arrays are tagwell::OleArray as the object
// layer builds them, with their bounds (1 to n from data changes and per-item
// batches; 0 to n with element 0 empty in the all-items batch) and, for
// texts, std::string elements: they are handed on without a copy, which
// keeps data events cheap for large groups.
//
// Failures are values: the methods return -1, an empty key, false or 0 and
// never throw; the object layer reports what failed through OPCError and the
// activity log. After TearDown (when the host window closes, or the control
// is destroyed) the control holds no configuration and no timer, and every
// method returns its failure value.
//
// Process-wide state: the collection mode (CollectMode), whether collection
// runs, the all-items buffer and the queue of pending error texts are shared
// by every control of the process. Creating a control stops collection for
// all of them and empties the buffer and the queue.
//
// Owner thread only; everything, timer ticks and data changes included,
// arrives on the thread that created the control.
class XOPC : public QWidget,
             public IServerCallback,
             public IGroupCallback,
             public IItemCallback {
    Q_OBJECT
    Q_CLASSINFO("ClassId", "4949ed94-6724-4395-847e-e90650947bfb")
    Q_CLASSINFO("InterfaceId", "e73f36db-cdad-4824-9dfd-48c8384a8928")
    Q_CLASSINFO("EventsId", "826c3678-1de5-4129-b221-7c0a35ef5515")
    // The property pages a host shows for the control, in order.
    Q_CLASSINFO("PropertyPages", "XOPCProperties;StandardFont;About")
    Q_CLASSINFO("Description", "A control that is used to configure, collect and display OPC data in multiple OPC Groups on multiple OPC Servers.")
    // Members: "DispId:<name>" and "Help:<name>" for every method, event and
    // property a host can bind to.
    Q_CLASSINFO("DispId:AddNewServer", "0x6003004c")
    Q_CLASSINFO("Help:AddNewServer", "Adds a new OPCServer to the current OPC configuration.")
    Q_CLASSINFO("DispId:AddNewGroup", "0x6003004e")
    Q_CLASSINFO("Help:AddNewGroup", "Adds a new OPC Group to the OPC Server specified by ServerID.")
    Q_CLASSINFO("DispId:AddNewItem", "0x60030050")
    Q_CLASSINFO("Help:AddNewItem", "Adds a new OPC Item to the OPC Group specified by GroupKey in the OPC Server specified by ServerID.")
    Q_CLASSINFO("DispId:StartDisplayUpdate", "0x60030056")
    Q_CLASSINFO("Help:StartDisplayUpdate", "Starts the updates on the OPC Item List, at a rate determined by the Interval parameter.")
    Q_CLASSINFO("DispId:StartCollectionUpdates", "0x60030057")
    Q_CLASSINFO("Help:StartCollectionUpdates", "Starts the collection update events to be fired to the client application, at a rate determined by the CollectInterval property.")
    Q_CLASSINFO("DispId:StopDisplayUpdate", "0x60030058")
    Q_CLASSINFO("Help:StopDisplayUpdate", "Stops the display updates on the OPC Item List.")
    Q_CLASSINFO("DispId:StopCollectionUpdates", "0x60030059")
    Q_CLASSINFO("Help:StopCollectionUpdates", "Stops the collection update events.")
    Q_CLASSINFO("DispId:DisconnectAll", "0x6003005a")
    Q_CLASSINFO("Help:DisconnectAll", "Disconnects all OPC Items, Groups and Servers in the current configuration.")
    Q_CLASSINFO("DispId:LoadConfig", "0x6003005b")
    Q_CLASSINFO("Help:LoadConfig", "Loads an existing OPC configuration from a file as specified by the Path parameter.")
    Q_CLASSINFO("DispId:WriteConfig", "0x60030062")
    Q_CLASSINFO("Help:WriteConfig", "Saves the current OPC configuration to a file as specified by the Path parameter.")
    Q_CLASSINFO("DispId:RefreshGroupAsync", "0x6003005e")
    Q_CLASSINFO("Help:RefreshGroupAsync", "Refreshes all OPC Item values in an OPC Group and forces a GroupDataUpdate event.")
    Q_CLASSINFO("DispId:WriteItem", "0x6003005f")
    Q_CLASSINFO("Help:WriteItem", "Writes the value specified by NewValue to the OPC Item specified by ItemKey.")
    Q_CLASSINFO("DispId:WriteGroupSynchronous", "0x60030060")
    Q_CLASSINFO("Help:WriteGroupSynchronous", "Synchronously writes the array of values specified by Values() to the array of OPC Items specified by ItemKey(). Returns immediately with True for successful or False for failure.")
    Q_CLASSINFO("DispId:WriteGroupAsynchronous", "0x60030061")
    Q_CLASSINFO("Help:WriteGroupAsynchronous", "Asynchronously writes the array of values specified by Values() to the array of OPC Items specified by ItemKey(). TransactionID is a user defined Long value that uniquely identifies the Write operation.")
    Q_CLASSINFO("DispId:About", "-552")
    Q_CLASSINFO("Help:About", "Shows the about box. ")
    Q_CLASSINFO("DispId:ServerAdded", "1")
    Q_CLASSINFO("Help:ServerAdded", "Occurs when an OPC Server has been connected successfully.")
    Q_CLASSINFO("DispId:ServerShutdown", "2")
    Q_CLASSINFO("Help:ServerShutdown", "Occurs when an OPC Server has been shutdown gracefully.")
    Q_CLASSINFO("DispId:GroupAdded", "3")
    Q_CLASSINFO("Help:GroupAdded", "Occurs when an OPC Group has been added successfully.")
    Q_CLASSINFO("DispId:ItemAdded", "4")
    Q_CLASSINFO("Help:ItemAdded", "Occurs when an OPC Item has been added successfully.")
    Q_CLASSINFO("DispId:BatchItemUpdate", "5")
    Q_CLASSINFO("Help:BatchItemUpdate", "Occurs when a series of OPC data updates have been accumulated for a single OPC Item over the duration of the CollectInterval.")
    Q_CLASSINFO("DispId:BatchAllUpdates", "6")
    Q_CLASSINFO("Help:BatchAllUpdates", "Occurs when a series of OPC data updates has been collected for all OPC Items over the duration of the CollectInterval.")
    Q_CLASSINFO("DispId:ItemTagsEdited", "7")
    Q_CLASSINFO("Help:ItemTagsEdited", "Occurs when the user edits the item tags of an OPC Item.  The item tags are user-specified descriptive strings that describe the unique purpose or function of individual OPC items.")
    Q_CLASSINFO("DispId:OPCError", "8")
    Q_CLASSINFO("Help:OPCError", "Occurs when an error has been raised in an OPC object.")
    Q_CLASSINFO("DispId:Information", "9")
    Q_CLASSINFO("Help:Information", "Occurs when information is passed from the XOPC control detailing some important event(s).")
    Q_CLASSINFO("DispId:GroupDataUpdate", "10")
    Q_CLASSINFO("Help:GroupDataUpdate", "Occurs when an OPC Group data update has been received. This event only occurs if ReceiveGroupUpdateEvents has been set to True during design time, i.e this property cannot be set programatically.")
    Q_CLASSINFO("DispId:ItemDataUpdate", "11")
    Q_CLASSINFO("Help:ItemDataUpdate", "Occurs when an OPC Item data update has been received.")
    Q_CLASSINFO("DispId:Font", "0x6803000c")
    Q_CLASSINFO("Help:Font", "Sets/Returns the font to be used for the OPC Server and Group Tree and OPC Item List.")
    Q_CLASSINFO("DispId:CollectInterval", "0x6803000b")
    Q_CLASSINFO("Help:CollectInterval", "Set in milliseconds to determine the frequencey of collection events.")
    Q_CLASSINFO("DispId:CollectMode", "0x6803000a")
    Q_CLASSINFO("Help:CollectMode", "Sets/Returns a value that determines whether there are to be no updates, or whether updates are to be grouped by OPC Item, or all together.")
    Q_CLASSINFO("DispId:AllowEdit", "0x68030009")
    Q_CLASSINFO("Help:AllowEdit", "Enable/disable GUI editing functions.")
    Q_CLASSINFO("DispId:CustomTag1Caption", "0x68030008")
    Q_CLASSINFO("Help:CustomTag1Caption", "Sets/Returns the text to be displayed for the first caption related to an OPC Item.")
    Q_CLASSINFO("DispId:CustomTag2Caption", "0x68030007")
    Q_CLASSINFO("Help:CustomTag2Caption", "Sets/Returns the text to be displayed for the first caption related to an OPC Item.")
    Q_CLASSINFO("DispId:ShowItemQualityAsText", "0x68030006")
    Q_CLASSINFO("Help:ShowItemQualityAsText", "Sets/Returns a value that determines whether the OPC Item Quality will be displayed in numeric code format or in meaningful text format.")
    Q_CLASSINFO("DispId:ShowLog", "0x68030005")
    Q_CLASSINFO("Help:ShowLog", "Sets/Returns a value that determines whether the the OPC information log will be displayed.")
    Q_CLASSINFO("DispId:ShowToolbar", "0x68030004")
    Q_CLASSINFO("Help:ShowToolbar", "Sets/Returns a value that determines whether the the OPC toolbar will be displayed.")
    Q_CLASSINFO("DispId:ShowTree", "0x68030003")
    Q_CLASSINFO("Help:ShowTree", "Sets/Returns a value that determines whether the the OPC tree will be displayed.")
    Q_CLASSINFO("DispId:Timeout", "0x68030002")
    Q_CLASSINFO("Help:Timeout", "Sets/Returns a value that determines the maximum duration of delay allowed in establishing an OPC connection.")
    Q_CLASSINFO("DispId:ReceiveItemUpdateEvents", "0x68030001")
    Q_CLASSINFO("Help:ReceiveItemUpdateEvents", "Sets/Returns a value that determines whether or not the client application is to receive Item Update events.")
    Q_CLASSINFO("DispId:ReceiveGroupUpdateEvents", "0x68030000")
    Q_CLASSINFO("Help:ReceiveGroupUpdateEvents", "Sets/Returns a value that determines whether or not the client application is to receive Group Update events.")

    // Whether items added from now on report their data changes
    // (ItemDataUpdate) and errors to the control. Items already added keep
    // what they had.
    Q_PROPERTY(bool ReceiveItemUpdateEvents READ ReceiveItemUpdateEvents WRITE setReceiveItemUpdateEvents)
    // The same for groups added from now on (GroupDataUpdate, write completions).
    Q_PROPERTY(bool ReceiveGroupUpdateEvents READ ReceiveGroupUpdateEvents WRITE setReceiveGroupUpdateEvents)
    // Milliseconds between collection events; brought into 10 .. 3600000
    // when collection starts.
    Q_PROPERTY(qint32 CollectInterval READ CollectInterval WRITE setCollectInterval)
    // cmNone 0, cmItem 1, cmAll 2; one value for the whole process.
    Q_PROPERTY(qint32 CollectMode READ CollectMode WRITE setCollectMode)
    Q_PROPERTY(bool ShowLog READ ShowLog WRITE setShowLog)
    Q_PROPERTY(bool ShowTree READ ShowTree WRITE setShowTree)
    Q_PROPERTY(bool ShowToolbar READ ShowToolbar WRITE setShowToolbar)
    // Display updates write the quality as its text (true) or its number.
    Q_PROPERTY(bool ShowItemQualityAsText READ ShowItemQualityAsText WRITE setShowItemQualityAsText)
    Q_PROPERTY(bool AllowEdit READ AllowEdit WRITE setAllowEdit)
    Q_PROPERTY(QString CustomTag1Caption READ CustomTag1Caption WRITE setCustomTag1Caption)
    Q_PROPERTY(QString CustomTag2Caption READ CustomTag2Caption WRITE setCustomTag2Caption)
    // Seconds; kept for the host, not used by the control.
    Q_PROPERTY(float Timeout READ Timeout WRITE setTimeout)
    // The font of the tree, the list, the log and the title.
    Q_PROPERTY(QFont Font READ Font WRITE setControlFont)

public:
    // Makes the control's timer object; nullptr means none can be made.
    using TimerFactory = std::function<std::shared_ptr<CPacetick>()>;

    // Interval limits, milliseconds.
    static constexpr int MinimumDisplayInterval = 10;
    static constexpr int MaximumDisplayInterval = 10000;
    static constexpr int32_t MinimumCollectInterval = 10;
    static constexpr int32_t MaximumCollectInterval = 3600000;
    static constexpr float StateWatchSeconds = 5.0f;

    explicit XOPC(QWidget* parent = nullptr);
    ~XOPC() override;

    // Replaces how controls created from now on make their timer (a test
    // gives one with a clock of its own). An empty factory restores
    // CPacetick::create().
    static void setTimerFactory(TimerFactory factory);

    // ---- Methods -------------------------------------------------------

    // Connects a server on a node ("" or omitted: this computer). Returns
    // its ServerID, -1 when it does not connect (the number is used anyway).
    // The overload with a variable node turns an empty node into "Local"
    // after ServerAdded has been raised with the empty text.
    Q_INVOKABLE qint16 AddNewServer(const QString& ProgID, const QString& Node = QString());
    qint16 AddNewServer(const QString& ProgID, QString& Node);
    // Adds a group to the server with that ServerID, which becomes the
    // selected server (none when there is no such server). Returns the
    // GroupKey, "" on failure.
    Q_INVOKABLE QString AddNewGroup(const QString& GroupName, qint32 UpdateRate, float DeadBand,
                                    bool ActiveState, bool Subscribed, qint16 ServerID);
    // Adds an item to a group of a server; DataTypeSelected is a variant
    // type code, 0 for the server's own type. The group becomes the shown
    // one. Returns the ItemKey, "" on failure.
    Q_INVOKABLE QString AddNewItem(qint16 ServerID, const QString& GroupKey, const QString& ItemID,
                                   qint16 DataTypeSelected, bool ActiveState,
                                   const QString& Alias = QString(),
                                   const QString& CustomTag1 = QString(),
                                   const QString& CustomTag2 = QString());
    // Refreshes the visible rows of the list every Interval ms (brought into
    // 10 .. 10000). False when the timer cannot run.
    Q_INVOKABLE bool StartDisplayUpdate(qint32 Interval);
    Q_INVOKABLE void StopDisplayUpdate();
    // Raises the collected updates every CollectInterval ms. False when the
    // timer cannot run.
    Q_INVOKABLE bool StartCollectionUpdates();
    Q_INVOKABLE void StopCollectionUpdates();
    // Drops every server, group and item and starts a new configuration
    // (ServerIDs from 0 again); stops display updates, keeps collection.
    Q_INVOKABLE void DisconnectAll();
    // Asks the server to send every value of the group shown in the list
    // again. The cancel id, 0 when it fails or no group is shown.
    Q_INVOKABLE qint32 RefreshGroupAsync(qint32 Source, qint32 TransactionID = 0);
    // Writes one item synchronously; the selection does not change.
    Q_INVOKABLE bool WriteItem(qint32 ServerIndex, const QString& GroupKey, const QString& ItemKey,
                               const tagwell::Variant& Value);
    // Writes Values(i) to the item keyed ItemIDsOrKeys(i), i from 1 (element
    // 0 is not used). Only ItemKeys are accepted. True when the write was
    // accepted by the server.
    bool WriteGroupSynchronous(qint32 ServerIndex, const QString& GroupKey,
                               const OleArray<std::string>& ItemIDsOrKeys,
                               const OleArray<Variant>& Values);
    // As WriteGroupSynchronous, but ItemIDs are accepted too: each entry that
    // does not start with "Item " is replaced, in the caller's array, by the
    // ItemKey of that ItemID. Completion arrives later as Information.
    bool WriteGroupAsynchronous(qint32 ServerIndex, const QString& GroupKey,
                                OleArray<std::string>& ItemIDsOrKeys,
                                const OleArray<Variant>& Values, qint32 TransactionID);
    Q_INVOKABLE void About();
    // Replaces the configuration by the one saved in the file at Path (see
    // ConfigFileKeys.h). The current configuration is dropped first and
    // display updates stop; servers, groups and items are then added in file
    // order, every group active and subscribed, every item with the server's
    // own data type. The last group loaded is selected and shown. True when
    // the whole file loaded; the state watch then runs every 5 seconds.
    // False when a server that has groups does not connect, a group cannot
    // be added, an update rate or dead band is missing or not a number, an
    // item's Active, Logged or Updated is not a flag, a count is outside
    // -32768 .. 32767, the file cannot be read or the timer cannot run: what
    // was loaded up to there stays. An item the server refuses is reported
    // ("Unable to add Item ...") and the load goes on. A missing file, like
    // a missing count, means no servers.
    Q_INVOKABLE bool LoadConfig(const QString& Path);
    // Saves the configuration to the file at Path under the name Name; an
    // earlier file stays whole unless the whole new one could be written.
    // False when it could not (see cCollector::WriteConfigFile).
    Q_INVOKABLE bool WriteConfig(const QString& Name, const QString& Path);

    // ---- Properties ----------------------------------------------------

    // Writing a property marks it changed (propertyChanged), except ShowLog,
    // ShowToolbar and ShowTree, which the toolbar buttons that toggle them
    // mark instead.
    bool ReceiveItemUpdateEvents() const { return m_receiveItemUpdateEvents; }
    void setReceiveItemUpdateEvents(bool value);
    bool ReceiveGroupUpdateEvents() const { return m_receiveGroupUpdateEvents; }
    void setReceiveGroupUpdateEvents(bool value);
    qint32 CollectInterval() const { return m_collectInterval; }
    void setCollectInterval(qint32 value);
    qint32 CollectMode() const;
    void setCollectMode(qint32 value);
    bool ShowLog() const { return m_showLog; }
    void setShowLog(bool value);
    bool ShowTree() const { return m_showTree; }
    void setShowTree(bool value);
    bool ShowToolbar() const { return m_showToolbar; }
    void setShowToolbar(bool value);
    bool ShowItemQualityAsText() const { return m_showItemQualityAsText; }
    void setShowItemQualityAsText(bool value);
    bool AllowEdit() const { return m_allowEdit; }
    void setAllowEdit(bool value);
    QString CustomTag1Caption() const { return m_customTag1Caption; }
    void setCustomTag1Caption(const QString& value);
    QString CustomTag2Caption() const { return m_customTag2Caption; }
    void setCustomTag2Caption(const QString& value);
    float Timeout() const { return m_timeout; }
    void setTimeout(float value);
    QFont Font() const;
    void setControlFont(const QFont& font);

    // ---- Saved properties ------------------------------------------------
    //
    // The host keeps the control's properties in a bag under these keys, in
    // this order, each left out when it equals its default:
    //
    //   Font                      font description (QFont::toString)   the host's font
    //   CollectInterval           ms                                   5000
    //   CollectMode               0, 1 or 2                            0
    //   CustomTag1Caption         text                                 "Custom Tag 1"
    //   CustomTag2Caption         text                                 "Custom Tag 2"
    //   AllowEdit                 boolean                              True
    //   ShowItemQualityAsText     boolean                              True
    //   Timeout                   seconds                              5
    //   ReceiveItemUpdateEvents   boolean                              False
    //   ReceiveGroupUpdateEvents  boolean                              False
    //   ShowLog, ShowToolbar, ShowTree   boolean                       True
    //
    // A new control does not start with these defaults (its interval is 0,
    // its captions are empty, its qualities show as numbers), so saving it
    // at once stores those values and reading them back gives the same
    // control.

    // The values of a control placed on a form for the first time: Timeout
    // 5, both receive flags False, the Show flags and AllowEdit True; then
    // the layout is arranged.
    void InitProperties();
    // Takes the window the control sits in as its host (see TearDown), then
    // reads every key on its own: a key that is missing reads as its default,
    // one that does not convert leaves its property as it was. CollectMode
    // goes into the mode shared by every control of the process. Marks
    // nothing changed.
    void ReadProperties(PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;
    // The font a host gives its controls: the parent widget's font, or the
    // application's when there is no parent.
    QFont AmbientFont() const;

    // ---- Operations behind the methods, the timer and the commands -------

    // Refills the list from the selected group (the title then says no group
    // is selected until the caller sets its own).
    void ShowGroupItems();
    // Places the panes for the current size and Show settings.
    void ArrangeLayout();
    // The display update (Time1): refreshes the cells of the rows on screen
    // from the stored item values, then feeds an open plot dialog.
    void RefreshItemList();
    // The collection update (Time2): raises BatchItemUpdate per logged item
    // (cmItem) or one BatchAllUpdates (cmAll) with what was collected.
    void RaiseBatchEvents();
    // The state watch (Time3): reports a change of the selected server's
    // state and moves the pending error texts into the log.
    void CheckServerState();
    // Starts the state watch every 5 seconds. False when the timer cannot run.
    bool StartStateWatch();
    // Opens the real-time plot of the selected item modally, with the tree
    // disabled until it closes; fed by every display update meanwhile. False
    // when there is no selected item or a plot is already open.
    bool OpenItemPlot();
    // Stops display updates, drops the configuration and the timer. Runs
    // once; later calls do nothing.
    void TearDown();

    // ---- Inspection ------------------------------------------------------

    // The configuration, or nullptr after TearDown.
    cCollector* Collector() const { return m_collector.get(); }
    // The timer object, or nullptr when none could be made or after TearDown.
    std::shared_ptr<CPacetick> Timer() const { return m_timer; }
    XOPCItemListModel* ItemListModel() const { return m_listModel; }
    // The open plot dialog, or nullptr.
    frmOPCItemPlot* ItemPlot() const;
    // The x value the plot got last; grows by one per display update while
    // a plot is open.
    int32_t PlotSampleCounter() const { return m_plotSampleCounter; }
    // Every line of the activity log, in order.
    QStringList LogLines() const;
    QString Title() const;
    // Where ArrangeLayout last put the panes, in twips.
    const XOPCLayout& CurrentLayout() const { return m_layout; }

signals:
    void ServerAdded(const QString& ServerKey, const QString& ProgID, const QString& Node);
    void ServerShutdown(const QString& ServerKey, const QString& ProgID, const QString& Node,
                        const QString& Reason);
    void GroupAdded(const QString& ServerKey, const QString& GroupKey, const QString& GroupName);
    void ItemAdded(const QString& ServerKey, const QString& GroupKey, const QString& ItemKey,
                   const QString& ItemName, qint32 TotalItemCount);
    void BatchItemUpdate(const QString& FullItemID, qint32 Count,
                         const tagwell::OleArray<tagwell::Variant>& Values,
                         const tagwell::OleArray<double>& DateTimes,
                         const tagwell::OleArray<qint32>& Qualities);
    void BatchAllUpdates(qint32 Count, const tagwell::OleArray<std::string>& Aliases,
                         const tagwell::OleArray<std::string>& ItemIDs,
                         const tagwell::OleArray<tagwell::Variant>& Values,
                         const tagwell::OleArray<double>& DateTimes,
                         const tagwell::OleArray<qint32>& Qualities);
    void ItemTagsEdited(const QString& Alias, const QString& CustomTag1, const QString& CustomTag2);
    void OPCError(const QString& Description);
    void Information(const QString& Report);
    void GroupDataUpdate(const QString& GroupKey, qint32 NumItems,
                         const tagwell::OleArray<std::string>& ItemID,
                         const tagwell::OleArray<tagwell::Variant>& Value,
                         const tagwell::OleArray<double>& TimeStamp,
                         const tagwell::OleArray<qint32>& Quality, qint32 TransactionID);
    void ItemDataUpdate(const QString& Alias, const QString& ItemID, const tagwell::Variant& Value,
                        double TimeDate, qint32 Quality);
    // A property was written and needs saving with the host form.
    void propertyChanged(const QString& name);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Owner callbacks of the object layer.
    void Shutdown(const std::string& ServerKey, const std::string& Reason) override;
    void OPCServerError(const std::string& ServerError) override;
    void Update(const std::string& GroupKey, int32_t TransactionID, int32_t NumItems,
                const OleArray<int32_t>& ClientHandles, const OleArray<Variant>& ItemValues,
                const OleArray<int32_t>& Qualities, const OleArray<double>& TimeStamps,
                const OleArray<std::string>& ItemIDs) override;
    void OPCGroupError(const std::string& GroupError) override;
    void AsyncWriteComplete(int32_t TransactionID) override;
    void OPCItemUpdate(const std::string& Alias, const std::string& ItemID, const Variant& Value,
                       double TimeDate, int32_t Quality) override;
    void OPCItemError(const std::string& ItemError) override;

    // Start-up.
    void StartUp();
    void BuildControls();
    QToolButton* AddToolButton(const char* name, int leftTwips, const QString& toolTip);
    void CreateTimer();
    void AddRootNode();

    // Building the configuration.
    qint16 AddServerCore(const QString& ProgID, QString& Node);
    QString AddGroupCore(const QString& GroupName, int32_t UpdateRate, float DeadBand,
                         bool ActiveState, bool Subscribed);
    QString AddItemCore(const QString& ItemID, int16_t DataType, bool ActiveState, bool Logged,
                        bool DisplayUpdates, const QString& Alias, const QString& CustomTag1,
                        const QString& CustomTag2);
    std::shared_ptr<cOPCGroup> GroupOf(const std::shared_ptr<cOPCServer>& server,
                                       const QString& groupKey) const;
    static std::shared_ptr<cOPCItem> ItemOfKey(const cOPCGroup& group, const std::string& itemKey);
    bool WriteGroup(qint32 ServerIndex, const QString& GroupKey,
                    OleArray<std::string>& ItemIDsOrKeys, const OleArray<Variant>& Values,
                    const qint32* asyncTransactionID);

    // Loading a configuration file.
    bool LoadServer(const cINI& ini, int serverNumber);
    bool LoadGroup(const cINI& ini, int serverNumber, int groupPosition, qint16 serverId);
    bool LoadItems(const cINI& ini, const std::string& section, int count);

    // Timer.
    bool RunTimerChannel(int channel, float seconds);
    void EnableTimerFromScratch();

    // Display update of one row.
    void RefreshRow(int row, cOPCGroup& group);
    void FeedPlot();
    void RemoveServerGroups(cOPCServer& server, const std::string& reason);

    // Tree and toolbar.
    void OnNodeMouseUp(const QString& key, Qt::MouseButton button);
    void OnNodeKeyUp(const QString& key);
    void OnNodeCollapsed();
    void ChooseNode(const QString& key, bool byRightClick);
    void ChooseGroupNode(const QString& key, bool byRightClick);
    void OnRowCheckChanged(int row, bool checked);
    void cmdTree_Click();
    void cmdShowLog_Click();
    void cmdDisplay_Click();
    void cmdPause_Click();
    void SetDisplayButtons(bool running);
    void OnPlotClosed(frmOPCItemPlot* plot);

    // Texts.
    void SetTitle(const QString& text);
    QString NoGroupTitle() const;
    QString NoServerTitle() const;
    QString MemberTitle(const QString& groupName, bool byRightClick) const;
    void AddLogLine(const QString& line);
    void Inform(const QString& report);

    // Host window.
    void WatchHostWindow();

    // Properties.
    void MarkChanged(const char* name);
    void ApplyFont(const QFont& font);

    XOPCTreeView* m_tree = nullptr;
    XOPCItemListView* m_list = nullptr;
    XOPCItemListModel* m_listModel = nullptr;
    QListWidget* m_log = nullptr;
    QWidget* m_toolbar = nullptr;
    QToolButton* m_cmdTree = nullptr;
    QToolButton* m_cmdShowLog = nullptr;
    QToolButton* m_cmdDisplay = nullptr;
    QToolButton* m_cmdPause = nullptr;
    QLabel* m_title = nullptr;

    std::shared_ptr<cCollector> m_collector;
    std::shared_ptr<CPacetick> m_timer;
    std::shared_ptr<XOPCTimerSink> m_timerSink;
    QPointer<frmOPCItemPlot> m_plot;
    QPointer<QWidget> m_hostWindow;

    bool m_receiveItemUpdateEvents = false;
    bool m_receiveGroupUpdateEvents = false;
    qint32 m_collectInterval = 0;
    bool m_showLog = true;
    bool m_showTree = true;
    bool m_showToolbar = true;
    bool m_showItemQualityAsText = false;
    bool m_allowEdit = true;
    QString m_customTag1Caption;
    QString m_customTag2Caption;
    float m_timeout = 5.0f;

    XOPCLayout m_layout;
    int m_lastFirstVisibleRow = -1;
    // While a configuration loads, the log selects its last line once at the
    // end instead of after every line, and the rows of added items wait here
    // (the list is filled from the group when its items are in; rows still
    // waiting when the load ends are appended then).
    int m_loadDepth = 0;
    bool m_logSelectionPending = false;
    bool m_deferItemRows = false;
    std::vector<XOPCItemListModel::Row> m_pendingItemRows;
    int32_t m_lastServerState = 0;
    int32_t m_plotSampleCounter = 0;
    bool m_tornDown = false;
};

}  // namespace tagwell

Q_DECLARE_METATYPE(tagwell::Variant)
Q_DECLARE_METATYPE(tagwell::OleArray<tagwell::Variant>)
Q_DECLARE_METATYPE(tagwell::OleArray<double>)
Q_DECLARE_METATYPE(tagwell::OleArray<qint32>)
Q_DECLARE_METATYPE(tagwell::OleArray<std::string>)

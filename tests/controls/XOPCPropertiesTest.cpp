// Properties of the data control as a host sees them: dispatch ids and help
// strings, what a write marks changed, saving to and reading from a property
// bag, the values of a new control, the shared collection mode; the property
// page and the About page.

#include "XOPCFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPushButton>
#include <QToolButton>
#include <QTemporaryDir>

#include "controls/xopc/About.h"
#include "controls/xopc/XOPCProperties.h"
#include "core/MCollector.h"
#include "graph/Twips.h"
#include "platform/RecordingCursorService.h"
#include "platform/RecordingShellService.h"
#include "platform/Services.h"
#include "platform/qt/FilePropertyBag.h"
#include "platform/qt/MemoryPropertyBag.h"
#include "platform/qt/QtWindowHandle.h"

namespace tagwell::test {
namespace {

using XOPCProperty = XOPCFixture;

// A bag that remembers the order of the writes.
class RecordingBag : public MemoryPropertyBag {
public:
    void write(const QString& key, const QVariant& value, const QVariant& defaultValue) override
    {
        order << key;
        MemoryPropertyBag::write(key, value, defaultValue);
    }
    QStringList order;
};

QString classInfo(const QObject& object, const QString& name)
{
    const QMetaObject* meta = object.metaObject();
    const int index = meta->indexOfClassInfo(name.toLatin1().constData());
    return index < 0 ? QStringLiteral("<none>") : QString::fromLatin1(meta->classInfo(index).value());
}

// ---- Type information -----------------------------------------------------------

struct MemberInfo {
    const char* name;
    const char* dispId;
    const char* help;
};

const MemberInfo PropertyTable[] = {
    {"Font", "0x6803000c", "Sets/Returns the font to be used for the OPC Server and Group Tree and OPC Item List."},
    {"CollectInterval", "0x6803000b", "Set in milliseconds to determine the frequencey of collection events."},
    {"CollectMode", "0x6803000a", "Sets/Returns a value that determines whether there are to be no updates, or whether updates are to be grouped by OPC Item, or all together."},
    {"AllowEdit", "0x68030009", "Enable/disable GUI editing functions."},
    {"CustomTag1Caption", "0x68030008", "Sets/Returns the text to be displayed for the first caption related to an OPC Item."},
    {"CustomTag2Caption", "0x68030007", "Sets/Returns the text to be displayed for the first caption related to an OPC Item."},
    {"ShowItemQualityAsText", "0x68030006", "Sets/Returns a value that determines whether the OPC Item Quality will be displayed in numeric code format or in meaningful text format."},
    {"ShowLog", "0x68030005", "Sets/Returns a value that determines whether the the OPC information log will be displayed."},
    {"ShowToolbar", "0x68030004", "Sets/Returns a value that determines whether the the OPC toolbar will be displayed."},
    {"ShowTree", "0x68030003", "Sets/Returns a value that determines whether the the OPC tree will be displayed."},
    {"Timeout", "0x68030002", "Sets/Returns a value that determines the maximum duration of delay allowed in establishing an OPC connection."},
    {"ReceiveItemUpdateEvents", "0x68030001", "Sets/Returns a value that determines whether or not the client application is to receive Item Update events."},
    {"ReceiveGroupUpdateEvents", "0x68030000", "Sets/Returns a value that determines whether or not the client application is to receive Group Update events."},
    {"LoadConfig", "0x6003005b", "Loads an existing OPC configuration from a file as specified by the Path parameter."},
    {"WriteConfig", "0x60030062", "Saves the current OPC configuration to a file as specified by the Path parameter."},
};

TEST_F(XOPCProperty, EveryPropertyAndConfigurationMethodCarriesItsDispatchIdAndHelpString)
{
    for (const MemberInfo& member : PropertyTable) {
        EXPECT_EQ(classInfo(*control, QString("DispId:") + member.name), member.dispId) << member.name;
        EXPECT_EQ(classInfo(*control, QString("Help:") + member.name), member.help) << member.name;
    }
}

TEST_F(XOPCProperty, EveryPropertyCanBeReadAndWrittenThroughTheMetaObject)
{
    const QMetaObject* meta = control->metaObject();
    for (int i = 0; i < 13; ++i) {
        const char* name = PropertyTable[i].name;
        const QMetaProperty property = meta->property(meta->indexOfProperty(name));
        EXPECT_TRUE(property.isReadable() && property.isWritable()) << name;
    }
    EXPECT_EQ(classInfo(*control, "PropertyPages"), "XOPCProperties;StandardFont;About");
}

// ---- Marking changes ---------------------------------------------------------------

struct Write {
    const char* property;
    QVariant value;
    bool marks;
};

TEST_F(XOPCProperty, WritesMarkThePropertyChangedExceptTheShowFlags)
{
    const Write writes[] = {
        {"Font", QFont("Serif", 14), true},       {"CollectInterval", 1000, true},
        {"CollectMode", 1, true},                 {"AllowEdit", false, true},
        {"CustomTag1Caption", "Plant", true},     {"CustomTag2Caption", "Unit", true},
        {"ShowItemQualityAsText", true, true},    {"Timeout", 2.5f, true},
        {"ReceiveItemUpdateEvents", true, true},  {"ReceiveGroupUpdateEvents", true, true},
        {"ShowLog", false, false},                {"ShowToolbar", false, false},
        {"ShowTree", false, false},
    };
    for (const Write& w : writes) {
        QSignalSpy changed(control, &XOPC::propertyChanged);
        ASSERT_TRUE(control->setProperty(w.property, w.value)) << w.property;
        EXPECT_EQ(firstArguments(changed), w.marks ? QStringList{w.property} : QStringList{})
            << w.property;
    }
}

TEST_F(XOPCProperty, ToolbarButtonsThatToggleTreeAndLogMarkThem)
{
    QSignalSpy changed(control, &XOPC::propertyChanged);

    control->findChild<QToolButton*>("cmdTree")->click();
    control->findChild<QToolButton*>("cmdShowLog")->click();

    EXPECT_EQ(firstArguments(changed), QStringList({"ShowTree", "ShowLog"}));
    EXPECT_FALSE(control->ShowTree());
    EXPECT_FALSE(control->ShowLog());
}

// ---- Saving and reading --------------------------------------------------------------

TEST_F(XOPCProperty, PropertiesAreSavedInTheOrderOfTheTable)
{
    RecordingBag bag;
    control->WriteProperties(bag);

    EXPECT_EQ(bag.order, QStringList({"Font", "CollectInterval", "CollectMode", "CustomTag1Caption",
                                      "CustomTag2Caption", "AllowEdit", "ShowItemQualityAsText",
                                      "Timeout", "ReceiveItemUpdateEvents",
                                      "ReceiveGroupUpdateEvents", "ShowLog", "ShowToolbar",
                                      "ShowTree"}));
}

TEST_F(XOPCProperty, NewControlSavedAtOnceStoresItsStartValuesAndReadsThemBack)
{
    control->InitProperties();
    MemoryPropertyBag bag;
    control->WriteProperties(bag);

    // Only what differs from the saving defaults is stored.
    EXPECT_EQ(bag.values(), (QVariantMap{{"CollectInterval", 0},
                                         {"CustomTag1Caption", QString()},
                                         {"CustomTag2Caption", QString()},
                                         {"ShowItemQualityAsText", false}}));

    auto* second = new XOPC(host.get());
    second->ReadProperties(bag);
    EXPECT_EQ(second->CollectInterval(), 0);
    EXPECT_EQ(second->CustomTag1Caption(), "");
    EXPECT_EQ(second->CustomTag2Caption(), "");
    EXPECT_FALSE(second->ShowItemQualityAsText());
    EXPECT_EQ(second->Timeout(), 5.0f);
    EXPECT_TRUE(second->AllowEdit() && second->ShowLog() && second->ShowToolbar() && second->ShowTree());
}

TEST_F(XOPCProperty, EmptyBagReadsAsTheSavingDefaults)
{
    MemoryPropertyBag empty;
    control->setCollectMode(cmItem);
    control->setShowLog(false);

    control->ReadProperties(empty);

    EXPECT_EQ(control->CollectInterval(), 5000);
    EXPECT_EQ(control->CollectMode(), cmNone);
    EXPECT_EQ(control->CustomTag1Caption(), "Custom Tag 1");
    EXPECT_EQ(control->CustomTag2Caption(), "Custom Tag 2");
    EXPECT_TRUE(control->AllowEdit());
    EXPECT_TRUE(control->ShowItemQualityAsText());
    EXPECT_TRUE(control->ShowLog() && control->ShowToolbar() && control->ShowTree());
    EXPECT_TRUE(control->CurrentLayout().logVisible) << "the layout is arranged after reading";
    EXPECT_EQ(control->Timeout(), 5.0f);
    EXPECT_FALSE(control->ReceiveItemUpdateEvents());
    EXPECT_FALSE(control->ReceiveGroupUpdateEvents());
    EXPECT_EQ(control->Font().toString(), host->font().toString());
}

TEST_F(XOPCProperty, ChangedValuesSurviveAFileBagAndReadingMarksNothing)
{
    QFont font("Serif", 14);
    font.setBold(true);
    control->setControlFont(font);
    control->setCollectInterval(750);
    control->setCustomTag1Caption("Plant");
    control->setTimeout(2.5f);
    control->setReceiveGroupUpdateEvents(true);
    control->setShowToolbar(false);
    QTemporaryDir folder;
    FilePropertyBag saved;
    control->WriteProperties(saved);
    ASSERT_TRUE(saved.save(folder.filePath("form.ini")));

    FilePropertyBag loaded;
    ASSERT_TRUE(loaded.load(folder.filePath("form.ini")));
    auto* second = new XOPC(host.get());
    QSignalSpy changed(second, &XOPC::propertyChanged);
    second->ReadProperties(loaded);

    EXPECT_EQ(second->Font().toString(), font.toString());
    EXPECT_EQ(second->findChild<QWidget*>("lvListView")->font().toString(), font.toString());
    EXPECT_EQ(second->CollectInterval(), 750);
    EXPECT_EQ(second->CustomTag1Caption(), "Plant");
    EXPECT_EQ(second->Timeout(), 2.5f);
    EXPECT_TRUE(second->ReceiveGroupUpdateEvents());
    EXPECT_FALSE(second->ShowToolbar());
    EXPECT_FALSE(second->CurrentLayout().toolbarVisible);
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(XOPCProperty, ValueThatDoesNotConvertLeavesItsPropertyAndReadingGoesOn)
{
    control->setCollectInterval(1234);
    control->setTimeout(7);
    control->setAllowEdit(false);
    control->setReceiveItemUpdateEvents(true);
    MemoryPropertyBag bag;
    bag.write("CollectInterval", "often", 5000);
    bag.write("Timeout", "soon", 5.0f);
    bag.write("AllowEdit", "maybe", true);
    bag.write("ReceiveItemUpdateEvents", "nope", false);
    bag.write("ShowItemQualityAsText", "0", true);
    bag.write("Font", "not a font description", "");
    bag.write("CollectMode", 9, 0);
    bag.write("CustomTag2Caption", "Unit", "Custom Tag 2");

    control->ReadProperties(bag);

    EXPECT_EQ(control->CollectInterval(), 1234);
    EXPECT_EQ(control->Timeout(), 7.0f);
    EXPECT_EQ(control->CollectMode(), cmNone);
    EXPECT_FALSE(control->AllowEdit());
    EXPECT_TRUE(control->ReceiveItemUpdateEvents());
    EXPECT_FALSE(control->ShowItemQualityAsText());  // a number is a flag: 0 is False
    EXPECT_EQ(control->CustomTag2Caption(), "Unit");
}

TEST_F(XOPCProperty, CollectModeReadIntoOneControlHoldsForEveryControl)
{
    auto* other = new XOPC(host.get());
    MemoryPropertyBag bag;
    bag.write("CollectMode", 2, 0);

    control->ReadProperties(bag);

    EXPECT_EQ(other->CollectMode(), cmAll);
    EXPECT_EQ(MCollector::GetCollectionMode(), cmAll);
}

TEST_F(XOPCProperty, ReceiveGroupUpdateEventsReachesOnlyGroupsAddedAfterwards)
{
    const qint16 server = addServer();
    const QString before = addGroup(server, "Before");
    addItem(server, before, Ramp1);
    control->setReceiveGroupUpdateEvents(true);
    const QString after = addGroup(server, "After");
    addItem(server, after, Ramp2);
    QSignalSpy updates(control, &XOPC::GroupDataUpdate);

    advance(1000);

    ASSERT_GT(updates.count(), 0);
    QStringList groups = firstArguments(updates);
    groups.removeDuplicates();
    EXPECT_EQ(groups, QStringList({after}));
}

TEST_F(XOPCProperty, ReadingTakesTheWindowItSitsInAsItsHost)
{
    auto window = std::make_unique<QWidget>();
    auto* hidden = new XOPC(window.get());  // never shown: no other way to find its window
    MemoryPropertyBag bag;

    hidden->ReadProperties(bag);
    window->close();

    EXPECT_EQ(hidden->Collector(), nullptr) << "closing the host tears the control down";
}

// ---- Property page -----------------------------------------------------------------

class XOPCPropertyPage : public XOPCFixture {
protected:
    template <class W>
    W* child(const char* name)
    {
        W* widget = page.findChild<W*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* box(const char* name) { return child<QLineEdit>(name); }
    QCheckBox* check(const char* name) { return child<QCheckBox>(name); }

    XOPCProperties page;
};

TEST_F(XOPCPropertyPage, PageHasItsCaptionSizeAndControls)
{
    EXPECT_EQ(page.windowTitle(), "XOPC Properties");
    EXPECT_EQ(page.size(), QSize(twips::toPixels(5715), twips::toPixels(3510)));
    for (const char* name : {"ShowLog", "ShowToolbar", "ShowTree", "ReceiveItemUpdateEvents",
                             "ReceiveGroupUpdateEvents", "AllowEdit", "ShowItemQualityAsText",
                             "AutoStartCollection"}) {
        QCheckBox* box = check(QByteArray("chk").append(name).constData());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), name);
    }
    QCheckBox* autoStart = check("chkAutoStartCollection");
    EXPECT_FALSE(autoStart->isEnabled());
    EXPECT_TRUE(autoStart->isHidden());

    const std::pair<const char*, const char*> labelled[] = {
        {"txtCollectInterval", "CollectionInterval:"}, {"cboCollectionMode", "CollectionMode:"},
        {"txtTimeout", "Timeout (seconds):"},          {"txtCustomTag1Caption", "CustomTag1Caption:"},
        {"txtCustomTag2Caption", "CustomTag2Caption:"}};
    QStringList labels;
    for (QLabel* label : page.findChildren<QLabel*>())
        labels << label->text();
    for (const auto& [name, label] : labelled) {
        EXPECT_NE(page.findChild<QWidget*>(name), nullptr) << name;
        EXPECT_TRUE(labels.contains(label)) << label;
    }
    QComboBox* modes = child<QComboBox>("cboCollectionMode");
    EXPECT_EQ(QStringList({modes->itemText(0), modes->itemText(1), modes->itemText(2)}),
              QStringList({"0 - cmNone", "1 - cmItem", "2 - cmAll"}));
    EXPECT_EQ(modes->count(), 3);
}

TEST_F(XOPCPropertyPage, PageShowsAndChangesOnlyTheFirstSelectedControl)
{
    auto* second = new XOPC(host.get());
    control->setCustomTag1Caption("First");
    control->setCollectInterval(300);
    control->setCollectMode(cmItem);
    control->setTimeout(2.5f);
    control->setShowTree(false);
    second->setCustomTag1Caption("Second");

    page.SetSelectedControls({control, second});
    EXPECT_EQ(box("txtCustomTag1Caption")->text(), "First");
    EXPECT_EQ(box("txtCollectInterval")->text(), "300");
    EXPECT_EQ(box("txtTimeout")->text(), "2.5");
    EXPECT_EQ(child<QComboBox>("cboCollectionMode")->currentIndex(), 1);
    EXPECT_FALSE(check("chkShowTree")->isChecked());
    EXPECT_TRUE(check("chkShowLog")->isChecked());
    EXPECT_FALSE(page.Changed());

    box("txtCustomTag1Caption")->setText("Edited");
    check("chkAllowEdit")->click();
    ASSERT_TRUE(page.ApplyChanges());

    EXPECT_EQ(control->CustomTag1Caption(), "Edited");
    EXPECT_FALSE(control->AllowEdit());
    EXPECT_EQ(second->CustomTag1Caption(), "Second");
    EXPECT_TRUE(second->AllowEdit());
}

TEST_F(XOPCPropertyPage, ApplyWritesInItsOrder)
{
    page.SetSelectedControls({control});
    QSignalSpy changed(control, &XOPC::propertyChanged);

    ASSERT_TRUE(page.ApplyChanges());

    // The Show flags are written between ShowItemQualityAsText and
    // CollectMode but mark nothing.
    EXPECT_EQ(firstArguments(changed),
              QStringList({"CustomTag2Caption", "CustomTag1Caption", "CollectInterval", "AllowEdit",
                           "ShowItemQualityAsText", "CollectMode", "Timeout",
                           "ReceiveGroupUpdateEvents", "ReceiveItemUpdateEvents"}));
}

struct StopCase {
    const char* box;
    const char* text;
    const char* firstNotApplied;
};

class XOPCPropertyPageStop : public XOPCPropertyPage, public ::testing::WithParamInterface<StopCase> {};

TEST_P(XOPCPropertyPageStop, TextThatIsNotANumberStopsApplyingAtItsProperty)
{
    page.SetSelectedControls({control});
    box(GetParam().box)->setText(GetParam().text);
    QSignalSpy changed(control, &XOPC::propertyChanged);

    EXPECT_FALSE(page.ApplyChanges());

    const QStringList order = {"CustomTag2Caption", "CustomTag1Caption", "CollectInterval",
                               "AllowEdit", "ShowItemQualityAsText", "CollectMode", "Timeout",
                               "ReceiveGroupUpdateEvents", "ReceiveItemUpdateEvents"};
    EXPECT_EQ(firstArguments(changed), order.mid(0, order.indexOf(GetParam().firstNotApplied)));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].prompt.find(GetParam().text), std::string::npos) << boxes.shown[0].prompt;
    EXPECT_TRUE(page.Changed()) << "the page keeps its changes for another try";
}

INSTANTIATE_TEST_SUITE_P(Boxes, XOPCPropertyPageStop,
                         ::testing::Values(StopCase{"txtCollectInterval", "often", "CollectInterval"},
                                           StopCase{"txtCollectInterval", "99999999999", "CollectInterval"},
                                           StopCase{"txtTimeout", "", "Timeout"},
                                           StopCase{"txtTimeout", "5 s", "Timeout"}));

TEST_F(XOPCPropertyPage, AnyClickOrEditMarksThePageChanged)
{
    page.SetSelectedControls({control});
    ASSERT_FALSE(page.Changed());
    QPushButton* apply = child<QDialogButtonBox>("buttons")->button(QDialogButtonBox::Apply);
    ASSERT_NE(apply, nullptr);
    EXPECT_FALSE(apply->isEnabled());

    check("chkShowLog")->click();
    EXPECT_TRUE(page.Changed());
    EXPECT_TRUE(apply->isEnabled());
    apply->click();
    EXPECT_FALSE(page.Changed());
    EXPECT_FALSE(control->ShowLog());

    box("txtTimeout")->setText("3");
    EXPECT_TRUE(page.Changed());
    ASSERT_TRUE(page.ApplyChanges());

    child<QComboBox>("cboCollectionMode")->setCurrentIndex(2);
    EXPECT_TRUE(page.Changed());
}

TEST_F(XOPCPropertyPage, WithNoControlSelectedNothingIsApplied)
{
    page.SetSelectedControls({});
    EXPECT_FALSE(page.ApplyChanges());
    EXPECT_TRUE(boxes.shown.empty());
}

// ---- About page ------------------------------------------------------------------------

class XOPCAboutPage : public XOPCFixture {
protected:
    void SetUp() override
    {
        XOPCFixture::SetUp();
        Services::installShell(&shell);
        Services::installCursor(&cursor);
    }
    void TearDown() override
    {
        Services::installShell(nullptr);
        Services::installCursor(nullptr);
        XOPCFixture::TearDown();
    }

    RecordingShellService shell;
    RecordingCursorService cursor;
};

TEST_F(XOPCAboutPage, PageNamesProductMakerAndPurpose)
{
    About page;
    EXPECT_EQ(page.windowTitle(), "About Tagwell");
    QStringList texts;
    for (QLabel* label : page.findChildren<QLabel*>())
        texts << label->text();
    const QString all = texts.join('\n');
    EXPECT_TRUE(all.contains("Tagwell"));
    EXPECT_TRUE(all.contains("Amberlane"));
    EXPECT_TRUE(all.contains("OPC data"));
}

TEST_F(XOPCAboutPage, ButtonOpensTheWebPageThroughTheShell)
{
    About page;
    page.WebButton()->click();

    ASSERT_EQ(shell.requests.size(), 1u);
    EXPECT_EQ(shell.requests[0].target, About::WebAddress);
    EXPECT_EQ(shell.requests[0].owner, QtWindowHandle::of(&page));
}

TEST_F(XOPCAboutPage, FocusOnTheButtonCentresTheCursorOnIt)
{
    About page;
    QPushButton* button = page.WebButton();
    cursor.windows[QtWindowHandle::of(button)] = ScreenRect{100, 200, 301, 251};

    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(button, &focus);

    EXPECT_EQ(cursor.moves, (std::vector<ScreenPoint>{{200, 225}}));
}

}  // namespace
}  // namespace tagwell::test

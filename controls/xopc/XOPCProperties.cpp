#include "controls/xopc/XOPCProperties.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "controls/xopc/XOPC.h"
#include "graph/Twips.h"
#include "platform/Services.h"
#include "platform/Variant.h"

namespace tagwell {

namespace {

const char* const Caption = "XOPC Properties";

// Design positions, twips: check boxes down the left, labelled boxes down
// the right, the buttons under the check boxes.
constexpr int Margin = 120;
constexpr int CheckWidth = 2700;
constexpr int CheckHeight = 255;
constexpr int CheckPitch = 300;
constexpr int BoxLeft = 2940;
constexpr int BoxWidth = 2655;
constexpr int LabelHeight = 225;
constexpr int BoxHeight = 285;
constexpr int BoxPitch = 600;
constexpr int ButtonsTop = 2955;
constexpr int ButtonsHeight = 375;

enum BoxRow { IntervalRow, ModeRow, TimeoutRow, Tag1Row, Tag2Row };
constexpr int AutoStartRow = 7;

const char* const IntervalLabel = "CollectionInterval:";
const char* const TimeoutLabel = "Timeout (seconds):";

QRect twipRect(int left, int top, int width, int height)
{
    return QRect(twips::toPixels(left), twips::toPixels(top), twips::toPixels(width),
                 twips::toPixels(height));
}

}  // namespace

XOPCProperties::XOPCProperties(QWidget* parent) : QDialog(parent)
{
    setObjectName("XOPCProperties");
    setWindowTitle(Caption);
    setFixedSize(twips::toPixels(PageWidth), twips::toPixels(PageHeight));
    BuildControls();
    SetChanged(false);
}

void XOPCProperties::BuildControls()
{
    m_chkShowLog = AddCheckBox("ShowLog", 0);
    m_chkShowToolbar = AddCheckBox("ShowToolbar", 1);
    m_chkShowTree = AddCheckBox("ShowTree", 2);
    m_chkReceiveItemUpdateEvents = AddCheckBox("ReceiveItemUpdateEvents", 3);
    m_chkReceiveGroupUpdateEvents = AddCheckBox("ReceiveGroupUpdateEvents", 4);
    m_chkAllowEdit = AddCheckBox("AllowEdit", 5);
    m_chkShowItemQualityAsText = AddCheckBox("ShowItemQualityAsText", 6);
    // Kept for hosts that look for it; it edits nothing.
    m_chkAutoStartCollection = AddCheckBox("AutoStartCollection", AutoStartRow);
    m_chkAutoStartCollection->setEnabled(false);
    m_chkAutoStartCollection->setVisible(false);

    m_txtCollectInterval = AddTextBox("txtCollectInterval", IntervalLabel, IntervalRow);
    m_txtTimeout = AddTextBox("txtTimeout", TimeoutLabel, TimeoutRow);
    m_txtCustomTag1Caption = AddTextBox("txtCustomTag1Caption", "CustomTag1Caption:", Tag1Row);
    m_txtCustomTag2Caption = AddTextBox("txtCustomTag2Caption", "CustomTag2Caption:", Tag2Row);

    const int modeTop = Margin + ModeRow * BoxPitch;
    auto* modeLabel = new QLabel("CollectionMode:", this);
    modeLabel->setObjectName("lblCollectionMode");
    modeLabel->setGeometry(twipRect(BoxLeft, modeTop, BoxWidth, LabelHeight));
    m_cboCollectionMode = new QComboBox(this);
    m_cboCollectionMode->setObjectName("cboCollectionMode");
    m_cboCollectionMode->addItems({"0 - cmNone", "1 - cmItem", "2 - cmAll"});
    m_cboCollectionMode->setGeometry(twipRect(BoxLeft, modeTop + LabelHeight, BoxWidth, BoxHeight));
    connect(m_cboCollectionMode, &QComboBox::currentIndexChanged, this, [this] { SetChanged(true); });

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                         QDialogButtonBox::Apply,
                                     this);
    m_buttons->setObjectName("buttons");
    m_buttons->setGeometry(twipRect(Margin, ButtonsTop, PageWidth - 2 * Margin, ButtonsHeight));
    connect(m_buttons, &QDialogButtonBox::clicked, this,
            [this](QAbstractButton* button) { OnButton(static_cast<QPushButton*>(button)); });
}

QCheckBox* XOPCProperties::AddCheckBox(const char* caption, int row)
{
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(QStringLiteral("chk") + caption);
    box->setGeometry(twipRect(Margin, Margin + row * CheckPitch, CheckWidth, CheckHeight));
    connect(box, &QCheckBox::clicked, this, [this] { SetChanged(true); });
    connect(box, &QCheckBox::toggled, this, [this] { SetChanged(true); });
    return box;
}

QLineEdit* XOPCProperties::AddTextBox(const char* name, const char* label, int row)
{
    const int top = Margin + row * BoxPitch;
    auto* caption = new QLabel(label, this);
    caption->setObjectName(QString::fromLatin1(name).replace(0, 3, "lbl"));
    caption->setGeometry(twipRect(BoxLeft, top, BoxWidth, LabelHeight));
    auto* box = new QLineEdit(this);
    box->setObjectName(name);
    box->setGeometry(twipRect(BoxLeft, top + LabelHeight, BoxWidth, BoxHeight));
    caption->setBuddy(box);
    connect(box, &QLineEdit::textChanged, this, [this] { SetChanged(true); });
    return box;
}

void XOPCProperties::SetSelectedControls(const QList<XOPC*>& controls)
{
    m_controls.clear();
    for (XOPC* control : controls)
        m_controls << QPointer<XOPC>(control);
    if (!m_controls.isEmpty() && m_controls.first())
        ReadFromControl(*m_controls.first());
    SetChanged(false);
}

QList<XOPC*> XOPCProperties::SelectedControls() const
{
    QList<XOPC*> controls;
    for (const QPointer<XOPC>& control : m_controls)
        controls << control.data();
    return controls;
}

void XOPCProperties::ReadFromControl(const XOPC& control)
{
    m_showing = true;
    m_txtCustomTag2Caption->setText(control.CustomTag2Caption());
    m_txtCustomTag1Caption->setText(control.CustomTag1Caption());
    m_cboCollectionMode->setCurrentIndex(control.CollectMode());
    m_txtCollectInterval->setText(QString::number(control.CollectInterval()));
    m_chkShowItemQualityAsText->setChecked(control.ShowItemQualityAsText());
    m_chkShowLog->setChecked(control.ShowLog());
    m_chkShowToolbar->setChecked(control.ShowToolbar());
    m_chkShowTree->setChecked(control.ShowTree());
    m_chkAllowEdit->setChecked(control.AllowEdit());
    m_chkReceiveGroupUpdateEvents->setChecked(control.ReceiveGroupUpdateEvents());
    m_chkReceiveItemUpdateEvents->setChecked(control.ReceiveItemUpdateEvents());
    m_txtTimeout->setText(QString::fromStdString(Variant(control.Timeout()).toString()));
    m_showing = false;
}

bool XOPCProperties::ApplyChanges()
{
    try {
        XOPC* control = m_controls.isEmpty() ? nullptr : m_controls.first().data();
        if (!control || !WriteToControl(*control))
            return false;
        SetChanged(false);
        return true;
    } catch (...) {
        return false;
    }
}

bool XOPCProperties::WriteToControl(XOPC& control)
{
    control.setCustomTag2Caption(m_txtCustomTag2Caption->text());
    control.setCustomTag1Caption(m_txtCustomTag1Caption->text());
    if (!ConvertOrReport(m_txtCollectInterval, IntervalLabel, [&](const QString& text) {
            control.setCollectInterval(Variant(text.toStdString()).toI4());
        }))
        return false;
    control.setAllowEdit(m_chkAllowEdit->isChecked());
    control.setShowItemQualityAsText(m_chkShowItemQualityAsText->isChecked());
    control.setShowLog(m_chkShowLog->isChecked());
    control.setShowToolbar(m_chkShowToolbar->isChecked());
    control.setShowTree(m_chkShowTree->isChecked());
    control.setCollectMode(m_cboCollectionMode->currentIndex());
    if (!ConvertOrReport(m_txtTimeout, TimeoutLabel, [&](const QString& text) {
            control.setTimeout(Variant(text.toStdString()).toR4());
        }))
        return false;
    control.setReceiveGroupUpdateEvents(m_chkReceiveGroupUpdateEvents->isChecked());
    control.setReceiveItemUpdateEvents(m_chkReceiveItemUpdateEvents->isChecked());
    return true;
}

// Stores the box's text through store; a text that is not a number (or too
// large) is reported and nothing is stored.
bool XOPCProperties::ConvertOrReport(const QLineEdit* box, const char* label,
                                     const std::function<void(const QString&)>& store)
{
    try {
        store(box->text());
        return true;
    } catch (...) {
        const std::string prompt = std::string(label) + " \"" + box->text().toStdString() +
                                   "\" is not a valid number. It and the settings after it were "
                                   "not applied.";
        Services::messageBox().show(prompt, msgbox::OKOnly | msgbox::Exclamation, Caption);
        return false;
    }
}

void XOPCProperties::SetChanged(bool changed)
{
    if (m_showing)
        return;
    const bool was = m_changed;
    m_changed = changed;
    if (QPushButton* apply = m_buttons ? m_buttons->button(QDialogButtonBox::Apply) : nullptr)
        apply->setEnabled(changed);
    if (was != changed)
        emit ChangedStateChanged(changed);
}

void XOPCProperties::OnButton(QPushButton* button)
{
    switch (m_buttons->standardButton(button)) {
    case QDialogButtonBox::Apply: ApplyChanges(); break;
    case QDialogButtonBox::Ok:
        if (!m_changed || ApplyChanges())
            accept();
        break;
    default: reject(); break;
    }
}

}  // namespace tagwell

#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>
#include <functional>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tagwell {

class XOPC;

// The property page of the data control: its settings as check boxes, text
// boxes and a list, for a host that edits controls at design time.
//
// The host hands over the controls it has selected; the page shows the
// first one's settings and, on Apply (or OK), writes the page back to that
// first control only. Any click or edit on the page marks it changed, which
// enables Apply; a successful apply clears the mark.
//
// Applying writes, in this order: CustomTag2Caption, CustomTag1Caption,
// CollectInterval, AllowEdit, ShowItemQualityAsText, ShowLog, ShowToolbar,
// ShowTree, CollectMode, Timeout, ReceiveGroupUpdateEvents,
// ReceiveItemUpdateEvents. A text in the interval or timeout box that is not
// a number stops there: that property and those after it are not written,
// a message box says which box holds what, and the page stays changed.
//
//     XOPCProperties page;
//     page.SetSelectedControls({xopc1, xopc2});   // shows xopc1
//     ... user edits ...
//     page.ApplyChanges();                        // writes xopc1
class XOPCProperties : public QDialog {
    Q_OBJECT
    Q_CLASSINFO("ClassId", "ccdb63a5-58ce-4d38-9907-fbd5ff8fd7a1")
    Q_CLASSINFO("InterfaceId", "74a10ccc-09cc-47dc-b269-6294e0158468")

public:
    // Page size, twips.
    static constexpr int PageWidth = 5715;
    static constexpr int PageHeight = 3510;

    explicit XOPCProperties(QWidget* parent = nullptr);

    // The controls the host has selected; the first one's settings are shown.
    // An empty list shows nothing and applies nothing.
    void SetSelectedControls(const QList<XOPC*>& controls);
    QList<XOPC*> SelectedControls() const;

    // Writes the page to the first selected control. False when there is
    // none or a box does not convert (the message box has then been shown).
    bool ApplyChanges();

    // Whether anything on the page was clicked or edited since the last show
    // or apply.
    bool Changed() const { return m_changed; }

signals:
    void ChangedStateChanged(bool changed);

private:
    void BuildControls();
    QCheckBox* AddCheckBox(const char* name, int row);
    QLineEdit* AddTextBox(const char* name, const char* label, int row);
    void ReadFromControl(const XOPC& control);
    bool WriteToControl(XOPC& control);
    bool ConvertOrReport(const QLineEdit* box, const char* label, const std::function<void(const QString&)>& store);
    void SetChanged(bool changed);
    void OnButton(QPushButton* button);

    QCheckBox* m_chkShowLog = nullptr;
    QCheckBox* m_chkShowToolbar = nullptr;
    QCheckBox* m_chkShowTree = nullptr;
    QCheckBox* m_chkReceiveItemUpdateEvents = nullptr;
    QCheckBox* m_chkReceiveGroupUpdateEvents = nullptr;
    QCheckBox* m_chkAllowEdit = nullptr;
    QCheckBox* m_chkShowItemQualityAsText = nullptr;
    QCheckBox* m_chkAutoStartCollection = nullptr;
    QLineEdit* m_txtCollectInterval = nullptr;
    QComboBox* m_cboCollectionMode = nullptr;
    QLineEdit* m_txtTimeout = nullptr;
    QLineEdit* m_txtCustomTag1Caption = nullptr;
    QLineEdit* m_txtCustomTag2Caption = nullptr;
    QDialogButtonBox* m_buttons = nullptr;

    QList<QPointer<XOPC>> m_controls;
    bool m_changed = false;
    bool m_showing = false;  // filling the boxes from a control marks nothing
};

}  // namespace tagwell

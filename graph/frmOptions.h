#pragma once

#include <QDialog>
#include <QList>

class QPushButton;
class QTabBar;

namespace tagwell {

class MessageBoxService;

// The graph's options dialog: four tabbed pages with sample frames and
// OK / Cancel / Apply. It holds no settings of its own yet; OK and Apply show
// a placeholder message and raise OptionsChanged, which the graph answers.
//
// One instance is shared by every graph of the process (sharedInstance()); it
// is shown without being modal and deletes itself when closed, so the next
// request builds a fresh one.
//
// Keys are previewed by the dialog before its controls see them: Ctrl+Tab
// selects the next page (after the last, the first).
class frmOptions : public QDialog {
    Q_OBJECT

public:
    explicit frmOptions(QWidget* parent = nullptr);

    // The process-wide instance, created when first needed.
    static frmOptions* sharedInstance();

    // Where message boxes go; without a service a QMessageBox is shown.
    // The service must outlive the dialog or be replaced first.
    void setMessageBoxService(MessageBoxService* service) { m_messageBoxes = service; }
    MessageBoxService* messageBoxService() const { return m_messageBoxes; }

    // Sees every key pressed in the dialog before the control that has the
    // focus; returns whether the key was used (only Ctrl+Tab is).
    bool previewKey(int key, Qt::KeyboardModifiers modifiers);

    // OK: placeholder message, OptionsChanged, close.
    void accept() override;
    // Apply: OptionsChanged, placeholder message; the dialog stays open.
    void apply();

signals:
    void OptionsChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildTabs();
    void buildPages();
    void buildButtons();
    void watchKeysOf(QObject* object);
    void centreOnScreen();
    void showPage(int index);

    QTabBar* m_tabs = nullptr;
    QList<QWidget*> m_pages;
    MessageBoxService* m_messageBoxes = nullptr;
};

}  // namespace tagwell

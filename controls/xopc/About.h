#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tagwell {

// The About page of the data control: the product's name and purpose, its
// maker and a one-line slogan on a light blue page, with a large button that
// opens the project's web page in the desktop's browser. When the button
// gets the focus the mouse pointer jumps to its centre, so a keyboard user
// sees where a click would go.
//
// Both go through the services of MGlobal (ShellOpen, CentreCursor), which a
// test replaces with recording ones.
class About : public QDialog {
    Q_OBJECT
    Q_CLASSINFO("ClassId", "05fcaf8f-1be5-462e-8336-c247388bdcf3")
    Q_CLASSINFO("InterfaceId", "285b1adc-53b9-4d32-af01-dde9ec57f27e")

public:
    static constexpr const char* ProductName = "Tagwell";
    static constexpr const char* MakerName = "Amberlane";
    // The project's web page: a placeholder address until the project has
    // a public home.
    static constexpr const char* WebAddress = "https://tagwell.example.org/";

    explicit About(QWidget* parent = nullptr);

    QPushButton* WebButton() const { return m_cmdWeb; }

    // Opens the web page; the shell's result code (above 32 when it opened).
    int OpenWebPage();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* AddLabel(const char* name, const QString& text, int pointSize, bool bold);

    QPushButton* m_cmdWeb = nullptr;
};

}  // namespace tagwell

#include "graph/frmOptions.h"

#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>

#include "graph/MessageBoxPrompt.h"
#include "graph/Twips.h"

namespace tagwell {

namespace {

// Layout in twips.
constexpr int ClientWidth = 6150;
constexpr int ClientHeight = 4920;
constexpr QRect TabStrip{105, 120, 5895, 4245};
constexpr int PageCount = 4;
constexpr int PageLeft = 210;
constexpr int ParkedPageLeft = -20000;
constexpr int PageTop = 480;
constexpr QSize PageSize{5685, 3780};
constexpr QSize SampleFrameSize{2055, 1785};
constexpr int ButtonTop = 4455;
constexpr QSize ButtonSize{1095, 375};
constexpr int OkLeft = 2490;
constexpr int CancelLeft = 3720;
constexpr int ApplyLeft = 4920;

const char* const ApplyMessage = "Place code here to set options w/o closing dialog!";
const char* const OkMessage = "Place code here to set options and close dialog!";

QRect toPixels(QPoint topLeftTwips, QSize sizeTwips)
{
    return QRect(twips::toPixels(topLeftTwips.x()), twips::toPixels(topLeftTwips.y()),
                 twips::toPixels(sizeTwips.width()), twips::toPixels(sizeTwips.height()));
}

QPointer<frmOptions>& sharedDialog()
{
    static QPointer<frmOptions> dialog;
    return dialog;
}

}  // namespace

frmOptions::frmOptions(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setFixedSize(twips::toPixels(ClientWidth), twips::toPixels(ClientHeight));
    setSizeGripEnabled(false);

    buildTabs();
    buildPages();
    buildButtons();
    showPage(0);
    watchKeysOf(this);
    centreOnScreen();
}

frmOptions* frmOptions::sharedInstance()
{
    QPointer<frmOptions>& dialog = sharedDialog();
    if (!dialog) {
        dialog = new frmOptions;
        dialog->setAttribute(Qt::WA_DeleteOnClose);
    }
    return dialog;
}

void frmOptions::buildTabs()
{
    // The strip's body is a plain panel; the tab row sits on its top edge.
    const QRect strip = toPixels(TabStrip.topLeft(), TabStrip.size());
    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("tbsOptions"));
    m_tabs->setExpanding(false);
    for (int i = 1; i <= PageCount; ++i) {
        const int index = m_tabs->addTab(QStringLiteral("Group %1").arg(i));
        m_tabs->setTabData(index, QStringLiteral("Group%1").arg(i));
        m_tabs->setTabToolTip(index, QStringLiteral("Set Options for Group %1").arg(i));
    }
    const int tabHeight = m_tabs->sizeHint().height();
    m_tabs->setGeometry(strip.left(), strip.top(), strip.width(), tabHeight);

    auto* body = new QFrame(this);
    body->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    body->setGeometry(strip.left(), strip.top() + tabHeight - 1, strip.width(), strip.height() - tabHeight + 1);
    body->lower();

    connect(m_tabs, &QTabBar::currentChanged, this, &frmOptions::showPage);
}

void frmOptions::buildPages()
{
    for (int i = 0; i < PageCount; ++i) {
        auto* page = new QWidget(this);
        page->setObjectName(QStringLiteral("picOptions"));
        page->setProperty("Index", i);
        page->setGeometry(toPixels({PageLeft, PageTop}, PageSize));

        auto* frame = new QGroupBox(QStringLiteral("Sample %1").arg(i + 1), page);
        frame->setObjectName(QStringLiteral("fraSample%1").arg(i + 1));
        frame->setGeometry(toPixels({0, 0}, SampleFrameSize));
        m_pages.append(page);
    }
}

void frmOptions::buildButtons()
{
    struct Button {
        const char* name;
        const char* caption;
        int left;
    };
    const Button buttons[] = {{"cmdOK", "OK", OkLeft}, {"cmdCancel", "Cancel", CancelLeft}, {"cmdApply", "Apply", ApplyLeft}};
    for (const Button& layout : buttons) {
        auto* button = new QPushButton(QString::fromLatin1(layout.caption), this);
        button->setObjectName(QString::fromLatin1(layout.name));
        button->setAutoDefault(false);
        button->setGeometry(toPixels({layout.left, ButtonTop}, ButtonSize));
    }
    // Escape rejects the dialog, which is what Cancel does.
    connect(findChild<QPushButton*>(QStringLiteral("cmdOK")), &QPushButton::clicked, this, &frmOptions::accept);
    connect(findChild<QPushButton*>(QStringLiteral("cmdCancel")), &QPushButton::clicked, this, &frmOptions::reject);
    connect(findChild<QPushButton*>(QStringLiteral("cmdApply")), &QPushButton::clicked, this, &frmOptions::apply);
}

void frmOptions::watchKeysOf(QObject* object)
{
    object->installEventFilter(this);
    for (QObject* child : object->children()) {
        if (child->isWidgetType())
            watchKeysOf(child);
    }
}

void frmOptions::centreOnScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

void frmOptions::showPage(int index)
{
    for (int i = 0; i < m_pages.size(); ++i) {
        QWidget* page = m_pages[i];
        const bool selected = i == index;
        page->move(twips::toPixels(selected ? PageLeft : ParkedPageLeft), page->y());
        page->setEnabled(selected);
    }
}

bool frmOptions::previewKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (key != Qt::Key_Tab || modifiers != Qt::ControlModifier || m_tabs->count() == 0)
        return false;
    m_tabs->setCurrentIndex((m_tabs->currentIndex() + 1) % m_tabs->count());
    return true;
}

bool frmOptions::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (previewKey(key->key(), key->modifiers()))
            return true;
    } else if (event->type() == QEvent::ChildAdded) {
        auto* added = static_cast<QChildEvent*>(event)->child();
        if (added->isWidgetType())
            watchKeysOf(added);
    }
    return QDialog::eventFilter(watched, event);
}

void frmOptions::apply()
{
    emit OptionsChanged();
    showOkMessage(m_messageBoxes, this, QString::fromLatin1(ApplyMessage));
}

void frmOptions::accept()
{
    showOkMessage(m_messageBoxes, this, QString::fromLatin1(OkMessage));
    emit OptionsChanged();
    QDialog::accept();
}

}  // namespace tagwell

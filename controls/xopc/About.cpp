#include "controls/xopc/About.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "core/MGlobal.h"
#include "graph/Twips.h"
#include "platform/qt/QtWindowHandle.h"

namespace tagwell {

namespace {

const QColor LightBlue(0xD6, 0xEA, 0xFF);

constexpr int PageWidth = 5715;  // twips, the size of the control's other page
constexpr int PageHeight = 3510;
constexpr int ButtonHeight = 720;
constexpr int ButtonIconSize = 32;  // pixels
constexpr int TitlePoints = 16;
constexpr int TextPoints = 9;

const char* const Purpose =
    "Controls for configuring, collecting and displaying OPC data from many groups on many "
    "servers.";
const char* const Slogan = "Your plant's data, one tag at a time.";

}  // namespace

About::About(QWidget* parent) : QDialog(parent)
{
    setObjectName("About");
    setWindowTitle(QStringLiteral("About ") + ProductName);
    setMinimumSize(twips::toPixels(PageWidth), twips::toPixels(PageHeight));
    QPalette page = palette();
    page.setColor(QPalette::Window, LightBlue);
    setPalette(page);
    setAutoFillBackground(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(AddLabel("lblProduct", ProductName, TitlePoints, true));
    layout->addWidget(AddLabel("lblPurpose", Purpose, TextPoints, false));
    layout->addWidget(AddLabel("lblMaker", QStringLiteral("by ") + MakerName, TextPoints, true));
    layout->addWidget(AddLabel("lblSlogan", Slogan, TextPoints, false));

    m_cmdWeb = new QPushButton(QStringLiteral("Visit the ") + ProductName + " web page", this);
    m_cmdWeb->setObjectName("cmdWeb");
    m_cmdWeb->setIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
    m_cmdWeb->setIconSize(QSize(ButtonIconSize, ButtonIconSize));
    m_cmdWeb->setMinimumHeight(twips::toPixels(ButtonHeight));
    m_cmdWeb->setToolTip(WebAddress);
    m_cmdWeb->installEventFilter(this);
    connect(m_cmdWeb, &QPushButton::clicked, this, [this] { OpenWebPage(); });
    layout->addWidget(m_cmdWeb);
}

QLabel* About::AddLabel(const char* name, const QString& text, int pointSize, bool bold)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

int About::OpenWebPage()
{
    try {
        return MGlobal::ShellOpen(QtWindowHandle::of(this), WebAddress);
    } catch (...) {
        return 0;
    }
}

bool About::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_cmdWeb && event->type() == QEvent::FocusIn) {
        try {
            MGlobal::CentreCursor(QtWindowHandle::of(m_cmdWeb), true);
        } catch (...) {
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tagwell

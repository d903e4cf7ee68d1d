#include "dialogs/frmOPCItemPlot.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <cmath>
#include <optional>

#include "core/MGlobal.h"
#include "core/cOPCItem.h"
#include "core/cOPCServer.h"
#include "graph/Lumaplot.h"
#include "graph/Twips.h"
#include "platform/OleArray.h"
#include "platform/ValueText.h"
#include "platform/Variant.h"
#include "platform/qt/MemoryPropertyBag.h"

namespace tagwell {

namespace {

constexpr const char* InitialTitle = "Real Time Plot";
constexpr const char* TitlePrefix = "Real Time Plot of ";

// Layout in twips.
constexpr QSize FormSize{8550, 3975};
constexpr QRect PlotRect{120, 120, 8295, 2775};
constexpr QRect MaxLabelRect{120, 3045, 2700, 255};
constexpr QRect MaxBoxRect{2880, 3015, 1455, 285};
constexpr QRect MinLabelRect{120, 3525, 2700, 255};
constexpr QRect MinBoxRect{2880, 3495, 1455, 285};
constexpr QRect ApplyRect{5640, 3255, 1335, 375};
constexpr QRect CloseRect{7080, 3255, 1335, 375};

// Item properties that carry the engineering-unit limits.
constexpr int32_t HighEUProperty = 102;
constexpr int32_t LowEUProperty = 103;

// Default ranges by canonical type.
constexpr float NumericDefaultMax = 100.0f;
constexpr float NumericDefaultMin = 0.0f;
constexpr float BooleanDefaultMax = -1.0f;  // True is plotted as -1: at the top
constexpr float BooleanDefaultMin = 0.0f;

constexpr qint16 PlotChannel = 1;

QSize toPixels(QSize twips) { return {twips::toPixels(twips.width()), twips::toPixels(twips.height())}; }

QRect toPixels(const QRect& twips)
{
    return {twips::toPixels(twips.x()), twips::toPixels(twips.y()), twips::toPixels(twips.width()),
            twips::toPixels(twips.height())};
}

QLocale numberLocale()
{
    QLocale locale = QLocale::c();
    locale.setNumberOptions(QLocale::RejectGroupSeparator | QLocale::OmitGroupSeparator);
    return locale;
}

// The finite number a box's text reads as, or nothing.
std::optional<double> numberOf(const QString& text)
{
    bool ok = false;
    const double value = numberLocale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The text as a 32-bit float, or nothing when it is no number or out of range.
std::optional<float> floatOf(const QString& text)
{
    bool ok = false;
    const float value = numberLocale().toFloat(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Whether a typed character may go into a range box holding `text`: digits
// and the decimal point only while the text still reads as a number with the
// character after it; the minus sign always.
bool acceptsCharacter(const QString& text, QChar c)
{
    if (c == QLatin1Char('-'))
        return true;
    if (isDigit(c) || c == QLatin1Char('.'))
        return numberOf(text + c).has_value();
    return false;
}

// Keys that type nothing in the box's sense: moving the focus and deleting
// forwards pass through untouched and do not count as key presses.
bool isNavigationKey(const QKeyEvent& key)
{
    switch (key.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return true;
    default:
        return key.text().isEmpty();
    }
}

}  // namespace

frmOPCItemPlot::frmOPCItemPlot(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmOPCItemPlot"));
    setWindowTitle(QString::fromLatin1(InitialTitle));
    // A fixed tool window: no minimise or maximise box, no task bar entry.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    buildControls();
    layOut();
}

frmOPCItemPlot::~frmOPCItemPlot() = default;

void frmOPCItemPlot::buildControls()
{
    m_plot = new Lumaplot(this);
    m_plot->setObjectName(QStringLiteral("Lumaplot1"));
    m_plot->setGeometry(toPixels(PlotRect));
    MemoryPropertyBag settings;
    Lumaplot::writePlotDialogProperties(settings);
    m_plot->ReadProperties(settings);

    m_txtMax = addRangeBox("txtMax", "lblMax", "Set New Maximum For Plot:", "Max",
                           " Enter the desired maximum range of the plot ");
    m_lblMax = findChild<QLabel*>(QStringLiteral("lblMax"));
    m_txtMin = addRangeBox("txtMin", "lblMin", "Set New Minimum For Plot:", "Min",
                           " Enter the desired minimum range for the plot ");
    m_lblMin = findChild<QLabel*>(QStringLiteral("lblMin"));

    m_cmdApply = addButton("cmdApply", "Apply", " Apply changes ");
    m_cmdApply->setEnabled(false);
    connect(m_cmdApply, &QPushButton::clicked, this, &frmOPCItemPlot::cmdApply_Click);
    m_cmdClose = addButton("cmdClose", "Close", " Close Dialogue ");
    connect(m_cmdClose, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(m_txtMax, m_txtMin);
    setTabOrder(m_txtMin, m_cmdApply);
    setTabOrder(m_cmdApply, m_cmdClose);
}

QLineEdit* frmOPCItemPlot::addRangeBox(const char* boxName, const char* labelName,
                                       const char* caption, const char* text, const char* toolTip)
{
    auto* label = new QLabel(QString::fromLatin1(caption), this);
    label->setObjectName(QString::fromLatin1(labelName));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* box = new QLineEdit(QString::fromLatin1(text), this);
    box->setObjectName(QString::fromLatin1(boxName));
    box->setToolTip(QString::fromLatin1(toolTip));
    label->setBuddy(box);
    // The dialog sees the boxes' keys first.
    box->installEventFilter(this);
    return box;
}

QPushButton* frmOPCItemPlot::addButton(const char* name, const char* caption, const char* toolTip)
{
    auto* button = new QPushButton(QString::fromLatin1(caption), this);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QString::fromLatin1(toolTip));
    // Enter in a box is a refused key, not a click.
    button->setAutoDefault(false);
    return button;
}

void frmOPCItemPlot::layOut()
{
    setFixedSize(toPixels(FormSize));
    m_lblMax->setGeometry(toPixels(MaxLabelRect));
    m_txtMax->setGeometry(toPixels(MaxBoxRect));
    m_lblMin->setGeometry(toPixels(MinLabelRect));
    m_txtMin->setGeometry(toPixels(MinBoxRect));
    m_cmdApply->setGeometry(toPixels(ApplyRect));
    m_cmdClose->setGeometry(toPixels(CloseRect));
}

bool frmOPCItemPlot::Setup(std::shared_ptr<cOPCServer> PlotServer, std::shared_ptr<cOPCItem> PlotItem)
{
    m_server = std::move(PlotServer);
    m_item = std::move(PlotItem);
    if (!m_item)
        return refuse();
    try {
        setWindowTitle(QString::fromLatin1(TitlePrefix) + QString::fromStdString(m_item->GetItemID()));
        // On an older system the chart keeps its own range and every type goes.
        if (MGlobal::IsNT5OrLater() && !chooseRange())
            return refuse();
        showRangeInBoxes();
    } catch (...) {
        // The chart keeps whatever range it reached.
    }
    return true;
}

bool frmOPCItemPlot::chooseRange()
{
    if (rangeFromServer())
        return true;
    return rangeFromType(m_item->GetItemCanonicalType());
}

bool frmOPCItemPlot::rangeFromServer()
{
    if (!m_server)
        return false;
    int32_t count = 0;
    OleArray<int32_t> ids;
    OleArray<std::string> descriptions;
    OleArray<int16_t> types;
    OleArray<Variant> values;
    if (!m_server->GetAvailableProperties(m_item->GetItemID(), count, ids, descriptions, types, values))
        return false;
    bool found = false;
    for (int32_t i = ids.lbound(); i <= ids.ubound(); ++i) {
        if (!values.contains(i))
            continue;
        const int32_t id = ids[i];
        // A limit the server could not read arrives empty: no limit.
        if ((id != HighEUProperty && id != LowEUProperty) || values[i].isEmpty() || values[i].isNull())
            continue;
        try {
            const float limit = values[i].toR4();
            if (id == HighEUProperty)
                m_plot->setMax(limit);
            else
                m_plot->setMin(limit);
            found = true;
        } catch (...) {
            // A limit that is no number sets nothing.
        }
    }
    return found;
}

bool frmOPCItemPlot::rangeFromType(int16_t canonicalType)
{
    switch (canonicalType) {
    case vtI2:
    case vtI4:
    case vtR4:
    case vtR8:
        m_plot->setMax(NumericDefaultMax);
        m_plot->setMin(NumericDefaultMin);
        return true;
    case vtBool:
        m_plot->setMax(BooleanDefaultMax);
        m_plot->setMin(BooleanDefaultMin);
        return true;
    default:
        return false;
    }
}

void frmOPCItemPlot::showRangeInBoxes()
{
    m_txtMin->setText(QString::fromStdString(ValueText::ofFloat(m_plot->Min())));
    m_txtMax->setText(QString::fromStdString(ValueText::ofFloat(m_plot->Max())));
}

bool frmOPCItemPlot::refuse()
{
    unload();
    return false;
}

void frmOPCItemPlot::done(int result)
{
    QPointer<frmOPCItemPlot> self(this);
    unload();
    if (self)
        QDialog::done(result);
}

void frmOPCItemPlot::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_server.reset();
    m_item.reset();
    emit Closed();
}

bool frmOPCItemPlot::IsPlottableType(int16_t canonicalType)
{
    switch (canonicalType) {
    case vtI2:
    case vtI4:
    case vtR4:
    case vtR8:
    case vtBool:
        return true;
    default:
        return false;
    }
}

bool frmOPCItemPlot::FeedSample(const Variant& storedValue, int16_t canonicalType, int32_t sampleCounter)
{
    if (!IsPlottableType(canonicalType) || !storedValue.isNumeric())
        return false;
    try {
        return m_plot->UpdateGraph(PlotChannel, sampleCounter, storedValue.toR8()) == Lumaplot::NoError;
    } catch (...) {
        return false;
    }
}

bool frmOPCItemPlot::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || (watched != m_txtMax && watched != m_txtMin))
        return QDialog::eventFilter(watched, event);
    return filterRangeKey(*static_cast<QLineEdit*>(watched), *static_cast<QKeyEvent*>(event));
}

// True swallows the key.
bool frmOPCItemPlot::filterRangeKey(QLineEdit& box, const QKeyEvent& key)
{
    if (key.key() == Qt::Key_Escape) {
        reject();
        return true;
    }
    if (key.key() == Qt::Key_Backspace) {
        m_cmdApply->setEnabled(true);
        return false;
    }
    if (isNavigationKey(key))
        return false;
    m_cmdApply->setEnabled(true);
    return !acceptsCharacter(box.text(), key.text().front());
}

void frmOPCItemPlot::cmdApply_Click()
{
    const std::optional<float> newMax = floatOf(m_txtMax->text());
    const std::optional<float> newMin = floatOf(m_txtMin->text());
    const float max = newMax.value_or(m_plot->Max());
    const float min = newMin.value_or(m_plot->Min());
    if (max - min == 0.0f)
        return;
    if (newMax)
        m_plot->setMax(max);
    if (newMin)
        m_plot->setMin(min);
}

}  // namespace tagwell

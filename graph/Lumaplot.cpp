#include "graph/Lumaplot.h"

#include <QFrame>
#include <QLineEdit>
#include <QLocale>
#include <QResizeEvent>
#include <cmath>
#include <limits>
#include <optional>

#include "graph/MessageBoxPrompt.h"
#include "graph/PlotSurface.h"
#include "graph/Twips.h"
#include "graph/frmOptions.h"
#include "platform/MessageBoxService.h"
#include "platform/qt/PropertyBag.h"

namespace tagwell {

namespace {

// Layout in twips.
constexpr double LabelStripWidth = 900;
constexpr QSize ValueBoxSize{720, 285};
constexpr int MaxBoxLeft = 60;
constexpr int MaxBoxTop = 60;
constexpr int MidBoxLeft = 75;
constexpr int MidBoxTop = 1365;
constexpr int MinBoxLeft = 75;
constexpr int MinBoxTop = 2835;
constexpr double IndicatorWidth = 240;
constexpr double IndicatorHeight = 60;
constexpr double IndicatorRestLift = 30;   // resting marker's top above the area's bottom
constexpr double IndicatorPointLift = 15;  // marker centre above the plotted point
constexpr double MinimumSide = 120;
constexpr double SweepMargin = 120;        // the sweep restarts this far before the visible edge
constexpr QSize PreferredSize{8295, 2775};

// The value range fills the middle 80 % of the height: Min sits a tenth of
// the height above the bottom.
constexpr double BandShare = 0.8;
constexpr double BottomMarginDivisor = 10;
constexpr double MidLabelShare = 0.5;
constexpr double MinLabelShare = 0.9;

// Each point takes two columns; the erased column pair and the cursor pair.
constexpr int PenStep = 2;
constexpr int EraseWidth = 2;
constexpr int CursorOffset = 2;
constexpr int CursorWidth = 2;
constexpr int TouchedColumns = CursorOffset + CursorWidth;
constexpr int GridInterval = 20;

constexpr QRgb EraseColour = 0xFF000000u;
constexpr QRgb CursorColour = 0xFFFFFFFFu;
constexpr QRgb TraceColour = 0xFFFF0000u;
constexpr QRgb GridColour = 0xFF00FF00u;

constexpr int SingleDigits = 7;
constexpr int DoubleDigits = 15;

// Persisted keys and defaults.
const QString ScaleHeightKey = QStringLiteral("ScaleHeight");
const QString ScaleWidthKey = QStringLiteral("ScaleWidth");
const QString ToolTipKey = QStringLiteral("ShowValueInToolTip");
const QString LegendBackgroundKey = QStringLiteral("LegendBackgroundColour");
const QString LegendColourKey = QStringLiteral("LegendColour");
const QString MinKey = QStringLiteral("Min");
const QString MaxKey = QStringLiteral("Max");
constexpr float DefaultScaleSide = 555.0f;
constexpr float DefaultMin = 0.0f;
constexpr float DefaultMax = 100.0f;
constexpr float PlotDialogScaleHeight = 183.0f;
constexpr float PlotDialogScaleWidth = 551.0f;

// Rounds to the nearest integer, halves to the even neighbour.
double nearestEven(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5)
        return below + 1;
    if (fraction < 0.5)
        return below;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1;
}

// nearestEven() as a 32-bit number; nothing when it does not fit.
std::optional<qint32> toInt32(double value)
{
    const double rounded = nearestEven(value);
    if (!(rounded >= std::numeric_limits<qint32>::min() && rounded <= std::numeric_limits<qint32>::max()))
        return std::nullopt;
    return static_cast<qint32>(rounded);
}

// A drawing coordinate: rounded like toInt32 but saturated, since anything
// that far off is clipped anyway.
int pixelCoordinate(double value)
{
    constexpr double Far = 1 << 30;
    const double rounded = nearestEven(value);
    if (std::isnan(rounded))
        return 0;
    return static_cast<int>(std::clamp(rounded, -Far, Far));
}

// General number text: no trailing zeros, at most `digits` significant ones.
QString numberText(double value, int digits)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value == 0.0 ? 0.0 : value, 'g', digits);
}

float readFloat(PropertyBag& bag, const QString& key, float defaultValue)
{
    bool ok = false;
    const float value = bag.read(key, defaultValue).toFloat(&ok);
    return ok ? value : defaultValue;
}

OleColour readColour(PropertyBag& bag, const QString& key, OleColour defaultValue)
{
    bool ok = false;
    const uint value = bag.read(key, uint(defaultValue)).toUInt(&ok);
    return ok ? value : defaultValue;
}

QRect twipRect(double left, double top, double width, double height)
{
    return QRect(twips::toPixels(left), twips::toPixels(top), twips::toPixels(width), twips::toPixels(height));
}

}  // namespace

Lumaplot::Lumaplot(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(twips::toPixels(MinimumSide), twips::toPixels(MinimumSide));
    buildLabelStrip();
    m_display = new PlotSurface(this);
    m_display->setObjectName(QStringLiteral("picDisplay"));
    connect(m_display, &PlotSurface::clicked, this, &Lumaplot::openOptions);
    buildIndicator();

    resize(sizeHint());
    layOut();
    InitProperties();
}

Lumaplot::~Lumaplot()
{
    if (m_frmOpt && m_frmOpt->messageBoxService() == m_messageBoxes)
        m_frmOpt->setMessageBoxService(nullptr);
}

void Lumaplot::buildLabelStrip()
{
    m_labelStrip = new QFrame(this);
    m_labelStrip->setObjectName(QStringLiteral("picYAxisLabels"));
    m_labelStrip->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_labelStrip->setAutoFillBackground(true);

    struct Box {
        QLineEdit*& edit;
        const char* name;
        const char* text;
        int left;
        int top;
    };
    const Box boxes[] = {{m_txtMax, "txtMax", "Max", MaxBoxLeft, MaxBoxTop},
                         {m_txtMid, "txtMid", "Mid", MidBoxLeft, MidBoxTop},
                         {m_txtMin, "txtMin", "Min", MinBoxLeft, MinBoxTop}};
    for (const Box& box : boxes) {
        box.edit = new QLineEdit(QString::fromLatin1(box.text), m_labelStrip);
        box.edit->setObjectName(QString::fromLatin1(box.name));
        box.edit->setAlignment(Qt::AlignCenter);
        box.edit->setReadOnly(true);
        box.edit->setGeometry(twipRect(box.left, box.top, ValueBoxSize.width(), ValueBoxSize.height()));
    }
    applyLegendColours();
}

void Lumaplot::buildIndicator()
{
    m_indicator = new QWidget(this);
    m_indicator->setObjectName(QStringLiteral("picIndicator"));
    m_indicator->setAutoFillBackground(true);
    QPalette palette = m_indicator->palette();
    palette.setColor(QPalette::Window, olecolour::toQColor(olecolour::Blue, palette));
    m_indicator->setPalette(palette);
    m_indicator->resize(twips::toPixels(IndicatorWidth), twips::toPixels(IndicatorHeight));
    m_indicator->raise();
}

QSize Lumaplot::sizeHint() const
{
    return QSize(twips::toPixels(PreferredSize.width()), twips::toPixels(PreferredSize.height()));
}

QSize Lumaplot::minimumSizeHint() const { return minimumSize(); }

void Lumaplot::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layOut();
}

void Lumaplot::layOut()
{
    // The plotting area is as large as the whole control and starts right of
    // the label strip, so it reaches past the right edge by the strip's width;
    // its visible part is the control's width less the strip.
    m_display->setGeometry(twips::toPixels(LabelStripWidth), 0, width(), height());
    m_display->matchPictureToSize();
    m_display->update();

    const QSize inner = m_display->contentsRect().size();
    m_scaleHeight = static_cast<float>(inner.height());
    m_scaleWidth = static_cast<float>(inner.width());
    m_unitsY = inner.height() > 0 ? twips::fromPixels(m_display->height()) / inner.height() : twips::PerPixel;
    m_unitsX = inner.width() > 0 ? twips::fromPixels(m_display->width()) / inner.width() : twips::PerPixel;

    m_labelStrip->setGeometry(0, 0, twips::toPixels(LabelStripWidth), m_display->height());
    placeLabels();
    placeIndicatorAtRest();
    if (std::fabs(m_range) > 0)
        m_scale = m_scaleHeight / m_range;
}

void Lumaplot::placeLabels()
{
    const double stripHeight = twips::fromPixels(m_labelStrip->height());
    const double halfBox = ValueBoxSize.height() / 2.0;
    m_txtMax->move(m_txtMax->x(), twips::toPixels(stripHeight / BottomMarginDivisor - halfBox));
    m_txtMid->move(m_txtMid->x(), twips::toPixels(stripHeight * MidLabelShare - halfBox));
    m_txtMin->move(m_txtMin->x(), twips::toPixels(stripHeight * MinLabelShare - halfBox));
}

void Lumaplot::placeIndicatorAtRest()
{
    const double areaHeight = twips::fromPixels(m_display->height());
    m_indicator->move(twips::toPixels(LabelStripWidth - IndicatorWidth / 2),
                      twips::toPixels(areaHeight - IndicatorRestLift));
}

void Lumaplot::moveIndicator(int plottedHeight)
{
    // Centred on the newest point, which lies plottedHeight above the bottom
    // of the area and one pen step right of the erased columns.
    const double top = ((m_scaleHeight - IndicatorPointLift / m_unitsY) - plottedHeight -
                        IndicatorHeight / 2 / m_unitsY) * m_unitsY;
    const double left = (LabelStripWidth / m_unitsX + m_penPosition + 3 - IndicatorWidth / 2 / m_unitsX) * m_unitsX;
    m_indicator->move(twips::toPixels(left), twips::toPixels(top));
}

qint16 Lumaplot::ScaleHeight() const
{
    return static_cast<qint16>(std::clamp(pixelCoordinate(m_scaleHeight), int(std::numeric_limits<qint16>::min()),
                                          int(std::numeric_limits<qint16>::max())));
}

void Lumaplot::setScaleHeight(qint16 height)
{
    m_lastError = NoError;
    m_scaleHeight = height;
    markChanged("ScaleHeight");
}

qint16 Lumaplot::ScaleWidth() const
{
    return static_cast<qint16>(std::clamp(pixelCoordinate(m_scaleWidth), int(std::numeric_limits<qint16>::min()),
                                          int(std::numeric_limits<qint16>::max())));
}

void Lumaplot::setScaleWidth(qint16 width)
{
    m_lastError = NoError;
    m_scaleWidth = width;
    markChanged("ScaleWidth");
}

void Lumaplot::setShowValueInToolTip(bool show)
{
    m_lastError = NoError;
    m_showValueInToolTip = show;
    markChanged("ShowValueInToolTip");
}

void Lumaplot::setLegendBackgroundColour(uint colour)
{
    m_lastError = NoError;
    m_legendBackground = colour;
    applyLegendColours();
    markChanged("LegendBackgroundColour");
}

void Lumaplot::setLegendColour(uint colour)
{
    m_lastError = NoError;
    m_legendForeground = colour;
    applyLegendColours();
    markChanged("LegendColour");
}

void Lumaplot::applyLegendColours()
{
    // Only the strip's own roles: the value boxes paint with Base and Text and
    // keep their colours.
    QPalette palette = m_labelStrip->palette();
    palette.setColor(QPalette::Window, olecolour::toQColor(m_legendBackground, QWidget::palette()));
    palette.setColor(QPalette::WindowText, olecolour::toQColor(m_legendForeground, QWidget::palette()));
    m_labelStrip->setPalette(palette);
}

void Lumaplot::setMin(float value)
{
    m_min = value;
    showRange();
    if (recomputeScale())
        markChanged("Min");
}

void Lumaplot::setMax(float value)
{
    m_max = value;
    showRange();
    if (recomputeScale())
        markChanged("Max");
}

void Lumaplot::showRange()
{
    m_txtMin->setText(numberText(m_min, SingleDigits));
    m_txtMax->setText(numberText(m_max, SingleDigits));
    m_txtMid->setText(numberText(m_min + (m_max - m_min) / 2, SingleDigits));
}

bool Lumaplot::recomputeScale()
{
    m_range = m_max - m_min;
    if (m_range == 0.0f) {
        m_lastError = DivisionByZero;
        return false;
    }
    m_scale = m_scaleHeight / m_range;
    m_lastError = NoError;
    return true;
}

int Lumaplot::UpdateGraph(qint16 Channel, qint32 XValue, double iNewY)
{
    const double height = m_scaleHeight;
    const auto scaledValue = toInt32(iNewY * BandShare * m_scale);
    const auto plotted = scaledValue ? toInt32(*scaledValue - m_min * BandShare * m_scale + height / BottomMarginDivisor)
                                     : std::nullopt;
    if (!plotted) {
        m_lastError = Overflow;
        return m_lastError;
    }
    const qint32 y = *plotted;

    const double sweepEnd = m_scaleWidth - (LabelStripWidth + SweepMargin) / m_unitsX;
    if (!(sweepEnd >= m_penPosition))
        m_penPosition = 0;
    const int pen = m_penPosition;
    const int bottom = pixelCoordinate(height);

    m_display->fillColumns(pen, EraseWidth, bottom, EraseColour);
    m_display->fillColumns(pen + CursorOffset, CursorWidth, bottom, CursorColour);
    moveIndicator(y);
    m_display->refreshColumns(pen, TouchedColumns);

    if (Channel < 1 || Channel > ChannelCount) {
        m_lastError = SubscriptOutOfRange;
        return m_lastError;
    }
    qint32& last = m_lastValues[Channel - 1];
    m_display->drawLine({pen, pixelCoordinate(height - last)}, {pen + 1, pixelCoordinate(height - y)}, TraceColour);
    last = y;

    if (XValue % GridInterval == 0)
        m_display->drawLine({pen + 1, 0}, {pen + 1, bottom}, GridColour);
    const int centre = bottom / 2;
    m_display->drawLine({pen + 1, centre}, {pen, centre}, GridColour);

    m_penPosition += PenStep;
    if (m_showValueInToolTip)
        m_display->setToolTip(numberText(iNewY, DoubleDigits));
    m_lastError = NoError;
    return m_lastError;
}

void Lumaplot::InitProperties()
{
    m_lastError = NoError;
    m_showValueInToolTip = false;
    m_min = DefaultMin;
    m_max = DefaultMax;
    showRange();
    m_range = m_max - m_min;
    m_scale = m_scaleHeight / m_range;
}

void Lumaplot::ReadProperties(PropertyBag& bag)
{
    m_lastError = NoError;
    m_scaleHeight = readFloat(bag, ScaleHeightKey, DefaultScaleSide);
    m_scaleWidth = readFloat(bag, ScaleWidthKey, DefaultScaleSide);
    m_showValueInToolTip = bag.readFlag(ToolTipKey, false).value_or(false);
    m_legendBackground = readColour(bag, LegendBackgroundKey, olecolour::InfoBackground);
    m_legendForeground = readColour(bag, LegendColourKey, olecolour::WindowText);
    applyLegendColours();
    m_min = readFloat(bag, MinKey, DefaultMin);
    m_max = readFloat(bag, MaxKey, DefaultMax);
    showRange();
    // A stored empty range keeps the scale the chart had.
    recomputeScale();
}

void Lumaplot::WriteProperties(PropertyBag& bag) const
{
    bag.write(ScaleHeightKey, m_scaleHeight, DefaultScaleSide);
    bag.write(ScaleWidthKey, m_scaleWidth, DefaultScaleSide);
    bag.write(ToolTipKey, m_showValueInToolTip, false);
    bag.write(LegendBackgroundKey, uint(m_legendBackground), uint(olecolour::InfoBackground));
    bag.write(LegendColourKey, uint(m_legendForeground), uint(olecolour::WindowText));
    bag.write(MinKey, m_min, DefaultMin);
    bag.write(MaxKey, m_max, DefaultMax);
}

void Lumaplot::writePlotDialogProperties(PropertyBag& bag)
{
    bag.write(ScaleHeightKey, PlotDialogScaleHeight, DefaultScaleSide);
    bag.write(ScaleWidthKey, PlotDialogScaleWidth, DefaultScaleSide);
    bag.write(ToolTipKey, true, false);
}

void Lumaplot::openOptions()
{
    frmOptions* dialog = frmOptions::sharedInstance();
    if (m_frmOpt && m_frmOpt != dialog)
        disconnect(m_frmOpt, nullptr, this, nullptr);
    m_frmOpt = dialog;
    if (m_messageBoxes)
        dialog->setMessageBoxService(m_messageBoxes);
    connect(dialog, &frmOptions::OptionsChanged, this, &Lumaplot::onOptionsChanged, Qt::UniqueConnection);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void Lumaplot::onOptionsChanged()
{
    showOkMessage(m_messageBoxes, this, QStringLiteral("Changed Event Received"));
}

void Lumaplot::markChanged(const char* name)
{
    emit propertyChanged(QString::fromLatin1(name));
}

}  // namespace tagwell

#pragma once

#include <QPointer>
#include <QWidget>
#include <array>

#include "graph/OleColour.h"
#include "graph/frmOptions.h"

class QFrame;
class QLineEdit;

namespace tagwell {

class MessageBoxService;
class PlotSurface;
class PropertyBag;

// Lumaplot: a sweeping strip chart.
//
// Each UpdateGraph call draws one short segment at the pen position and moves
// the pen two pixels right; near the right edge the pen starts again at the
// left and erases the oldest picture column by column as it goes, like an
// oscilloscope. Ten channels share the picture, each remembering its previous
// point. A label strip on the left shows Max, the middle of the range and Min;
// the range maps onto 10 % .. 90 % of the plotting area's height. A blue
// marker follows the newest point. Clicking the plotting area opens the
// options dialog (one dialog shared by all charts).
//
// Units: the control, the label strip and the marker are laid out in twips;
// the plotting area works in pixels. unitsX and unitsY are twips per plotting
// pixel (outer size of the area over its inner size).
//
// Example: a fresh 8295 x 2775 twip chart has an inner area of 551 x 183
// pixels; with Min 0 and Max 100 the value 100 lands 19 pixels below the top
// (183 - round(round(100 * 0.8 * 1.83) + 18.3)), 0 lands 18 pixels above the
// bottom, and the sweep restarts once the pen passes 483 pixels.
//
// Failures never throw: UpdateGraph returns an error number, and every member
// leaves its error number in lastError() (0 on success).
//
// Single-threaded: call everything on the GUI thread; all drawing happens
// inside the call, the screen is updated at the next paint.
class Lumaplot : public QWidget {
    Q_OBJECT
    Q_CLASSINFO("ClassID", "{7b182d63-1e37-43db-9ca6-e8b5b73d2d71}")
    Q_CLASSINFO("InterfaceID", "{1654d465-30ad-40e0-83f8-03fea0588ad3}")
    Q_CLASSINFO("EventsID", "{f5495055-2003-40ac-8cd3-5c7bb8f194cb}")
    Q_CLASSINFO("TypeLibID", "{36791844-9419-404a-a756-faa305d4dbe9}")
    Q_CLASSINFO("Version", "5.0")
    Q_CLASSINFO("LegendBackgroundColour.HelpString",
                "Returns/sets the background color used to display text and graphics in an object.")
    Q_CLASSINFO("LegendColour.HelpString",
                "Returns/sets the foreground color used to display text and graphics in an object.")
    Q_PROPERTY(qint16 ScaleHeight READ ScaleHeight WRITE setScaleHeight)
    Q_PROPERTY(qint16 ScaleWidth READ ScaleWidth WRITE setScaleWidth)
    Q_PROPERTY(bool ShowValueInToolTip READ ShowValueInToolTip WRITE setShowValueInToolTip)
    Q_PROPERTY(uint LegendBackgroundColour READ LegendBackgroundColour WRITE setLegendBackgroundColour)
    Q_PROPERTY(uint LegendColour READ LegendColour WRITE setLegendColour)
    Q_PROPERTY(float Min READ Min WRITE setMin)
    Q_PROPERTY(float Max READ Max WRITE setMax)

public:
    // Error numbers of the classic run time.
    enum Error : int {
        NoError = 0,
        Overflow = 6,             // a plotted height does not fit a 32-bit number
        SubscriptOutOfRange = 9,  // channel outside 1 .. ChannelCount
        DivisionByZero = 11,      // Max equal to Min: no scale can be computed
    };

    static constexpr int ChannelCount = 10;

    explicit Lumaplot(QWidget* parent = nullptr);
    ~Lumaplot() override;

    // Inner height of the plotting area in its own units, rounded (pixels
    // after each resize). Writing sets the height UpdateGraph draws in until
    // the next resize; the scale follows at the next write of Min or Max or
    // the next resize.
    qint16 ScaleHeight() const;
    void setScaleHeight(qint16 height);
    qint16 ScaleWidth() const;
    void setScaleWidth(qint16 width);

    bool ShowValueInToolTip() const { return m_showValueInToolTip; }
    void setShowValueInToolTip(bool show);

    // Colours of the label strip. The foreground colour is the strip's own;
    // the three value boxes keep theirs.
    uint LegendBackgroundColour() const { return m_legendBackground; }
    void setLegendBackgroundColour(uint colour);
    uint LegendColour() const { return m_legendForeground; }
    void setLegendColour(uint colour);

    // The value range. Writing either one updates the labels and the scale.
    // A write that makes Max equal Min keeps the value and the labels but not
    // the scale, which stays as it was: lastError() is DivisionByZero and the
    // property is not reported changed.
    float Min() const { return m_min; }
    void setMin(float value);
    float Max() const { return m_max; }
    void setMax(float value);

    // Plots iNewY on Channel (1 .. 10) at the pen position; XValue puts a grid
    // line under the segment when it is a multiple of 20. Returns 0, or
    // SubscriptOutOfRange for a bad channel (the sweep has already erased its
    // columns and moved the marker, but draws no trace and keeps the pen), or
    // Overflow for a value too large to plot (nothing is drawn).
    Q_INVOKABLE int UpdateGraph(qint16 Channel, qint32 XValue, double iNewY);

    // Persistence: a new chart's values, load, and save (defaults not stored).
    void InitProperties();
    void ReadProperties(PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    // The saved properties of the chart on the real-time plot dialog: a
    // 551 x 183 pixel plotting area with the value shown as its tooltip.
    static void writePlotDialogProperties(PropertyBag& bag);

    int lastError() const { return m_lastError; }

    // Where message boxes go, for this chart and the options dialog it opens;
    // without a service a QMessageBox is shown. Must outlive the chart.
    void setMessageBoxService(MessageBoxService* service) { m_messageBoxes = service; }

    // The options dialog this chart opened last, while it is open.
    frmOptions* optionsDialog() const { return m_frmOpt; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A property was written through its setter; hosts save on it.
    void propertyChanged(const QString& name);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildLabelStrip();
    void buildIndicator();
    void layOut();
    void placeLabels();
    void placeIndicatorAtRest();
    void moveIndicator(int plottedHeight);
    void showRange();
    bool recomputeScale();
    void applyLegendColours();
    void openOptions();
    void onOptionsChanged();
    void markChanged(const char* name);

    QFrame* m_labelStrip = nullptr;
    QLineEdit* m_txtMax = nullptr;
    QLineEdit* m_txtMid = nullptr;
    QLineEdit* m_txtMin = nullptr;
    PlotSurface* m_display = nullptr;
    QWidget* m_indicator = nullptr;
    QPointer<frmOptions> m_frmOpt;
    MessageBoxService* m_messageBoxes = nullptr;

    float m_min = 0.0f;
    float m_max = 100.0f;
    float m_range = 100.0f;
    float m_scale = 0.0f;
    float m_scaleHeight = 0.0f;  // H: inner height in plotting units
    float m_scaleWidth = 0.0f;   // W: inner width in plotting units
    double m_unitsX = 1.0;       // twips per plotting unit across
    double m_unitsY = 1.0;       // twips per plotting unit down
    bool m_showValueInToolTip = false;
    OleColour m_legendBackground = olecolour::InfoBackground;
    OleColour m_legendForeground = olecolour::WindowText;
    qint32 m_penPosition = 0;
    std::array<qint32, ChannelCount> m_lastValues{};
    int m_lastError = NoError;
};

}  // namespace tagwell

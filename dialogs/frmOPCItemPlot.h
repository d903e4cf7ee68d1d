#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tagwell {

class Lumaplot;
class Variant;
class cOPCItem;
class cOPCServer;

// The real-time plot of one item: a strip chart (Lumaplot1) whose range comes
// from the item's engineering-unit limits at the server or, without them,
// from its data type, and two boxes to set a new maximum and minimum.
//
// The dialog reads no values. Its opener creates it, calls Setup and, when
// Setup accepted the item, shows it modally through DialogRunner::exec. While
// it is open the opener feeds it on every display update with FeedSample. On
// Closed the opener takes its own controls back and releases the dialog with
// deleteLater() (not delete: Closed may come from inside the dialog's own
// modal loop).
//
//   auto* plot = new frmOPCItemPlot(this);
//   connect(plot, &frmOPCItemPlot::Closed, this, [this, plot] {
//       tree->setEnabled(true);
//       m_plot = nullptr;
//       plot->deleteLater();
//   });
//   m_plot = plot;
//   tree->setEnabled(false);
//   if (plot->Setup(server, item))
//       DialogRunner::exec(*plot);
//   ...
//   // each display update while m_plot is set:
//   ++m_sampleCounter;
//   m_plot->FeedSample(item->GetItemValue(cOPCItem::ReadStored),
//                      item->GetItemCanonicalType(), m_sampleCounter);
//
// Closing: the Close button, Escape, the window's close button and done()
// all unload the dialog: it releases the server and the item and emits
// Closed, once for the life of the dialog. Nothing throws out of a member.
class frmOPCItemPlot : public QDialog {
    Q_OBJECT
public:
    explicit frmOPCItemPlot(QWidget* parent = nullptr);
    ~frmOPCItemPlot() override;

    // Takes the server and the item, puts the item's ID in the caption and
    // chooses the range: the item's engineering-unit limits (properties 102
    // high and 103 low) when the server reports either; otherwise by
    // canonical type: 16- and 32-bit integers and 32- and 64-bit floats
    // 0 .. 100, Booleans -1 .. 0 (Max -1, so True, plotted as -1, lies at the
    // top). The boxes then show the chart's range.
    //
    // An item of any other type, or no item, cannot be plotted: the dialog
    // releases both objects, emits Closed and returns false; the opener then
    // must not show it. Returns true otherwise.
    bool Setup(std::shared_ptr<cOPCServer> PlotServer, std::shared_ptr<cOPCItem> PlotItem);

    // Plots one stored value of the item on channel 1 of Lumaplot1, with the
    // opener's running sample counter as x value (a grid line falls on every
    // multiple of 20). Only values of canonical types 2, 3, 4, 5 (16- and
    // 32-bit integers, 32- and 64-bit floats) and 11 (Boolean, True plotted
    // as -1) are plotted; the counter still belongs to the opener, who
    // advances it on every display update whatever the type. Returns whether
    // a point was drawn: false for another type, a value that is no number
    // (empty, text, array) or one the chart cannot plot. Works whether the
    // dialog is shown or not.
    bool FeedSample(const Variant& storedValue, int16_t canonicalType, int32_t sampleCounter);

    // Whether values of that canonical type are plotted.
    static bool IsPlottableType(int16_t canonicalType);

    // The chart, for the opener and for hosts that want to style it.
    Lumaplot* Lumaplot1() const { return m_plot; }

    // Whether the dialog has unloaded (or refused its item in Setup).
    bool isUnloaded() const { return m_unloaded; }

    // Unloads the dialog (see Closing above) and ends its modal loop.
    void done(int result) override;

signals:
    // The dialog is unloading, or Setup found the item not plottable.
    void Closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void layOut();
    QLineEdit* addRangeBox(const char* boxName, const char* labelName, const char* caption,
                           const char* text, const char* toolTip);
    QPushButton* addButton(const char* name, const char* caption, const char* toolTip);
    bool chooseRange();
    bool rangeFromServer();
    bool rangeFromType(int16_t canonicalType);
    void showRangeInBoxes();
    bool refuse();
    void unload();
    bool filterRangeKey(QLineEdit& box, const QKeyEvent& key);
    void cmdApply_Click();

    Lumaplot* m_plot = nullptr;
    QLabel* m_lblMax = nullptr;
    QLineEdit* m_txtMax = nullptr;
    QLabel* m_lblMin = nullptr;
    QLineEdit* m_txtMin = nullptr;
    QPushButton* m_cmdApply = nullptr;
    QPushButton* m_cmdClose = nullptr;

    std::shared_ptr<cOPCServer> m_server;
    std::shared_ptr<cOPCItem> m_item;
    bool m_unloaded = false;
};

}  // namespace tagwell

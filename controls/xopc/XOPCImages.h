#pragma once

#include <QIcon>
#include <QString>

namespace tagwell {

// The two image lists of the data control, by key.
//
//   large (tree):  "Handshake", "Sad", "Computer", "NetHood", "Network", "Cardfile"
//   small (list):  "Sine", "Other", "Boolean"
//
// The tree's pictures come from the style's standard icons; the list's three
// small pictures are drawn here (a sine wave, a two-level step, a dot). An
// unknown key gives an empty icon. Built once per process, on first use, on
// the GUI thread.
class XOPCImages {
public:
    static QIcon large(const QString& key);
    static QIcon small(const QString& key);
};

}  // namespace tagwell

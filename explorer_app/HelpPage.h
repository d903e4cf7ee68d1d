#pragma once

#include <QString>

namespace tagwell {

// Finds the data control's help page: help/XOPC.html in the program's
// folder, where the build puts a copy, or else the page in the source tree
// the program was built from.
class HelpPage {
public:
    static constexpr const char* RelativePath = "help/XOPC.html";

    // The page for this program; empty when neither copy exists.
    static QString Path();
    // help/XOPC.html below programFolder when it exists, else XOPC.html in
    // sourceHelpFolder when that exists, else empty.
    static QString PathFrom(const QString& programFolder, const QString& sourceHelpFolder);
};

}  // namespace tagwell

// TagwellExplorer: the explorer and test client. One window hosts the data
// control; the program has no command line.
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "explorer_app/frmTest.h"
#include "platform/qt/QtServices.h"

namespace {

constexpr int NoDisplayExitCode = 2;

bool isSet(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

// A platform plugin chosen by hand (offscreen, vnc, ...) needs no display.
bool displayAvailable()
{
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
}

void explainMissingDisplay()
{
    std::fprintf(stderr,
                 "TagwellExplorer needs a graphical display, and none is available here\n"
                 "(neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                 "\n"
                 "Without a display, run the headless demonstration instead:\n"
                 "    build/demo/tagwell-demo\n"
                 "or start the explorer on a virtual display:\n"
                 "    xvfb-run build/explorer_app/TagwellExplorer\n");
}

}  // namespace

int main(int argc, char** argv)
{
    if (!displayAvailable()) {
        explainMissingDisplay();
        return NoDisplayExitCode;
    }
    QApplication app(argc, argv);
    tagwell::QtServices services;
    tagwell::frmTest window;
    window.show();
    return app.exec();
}

#include "explorer_app/HelpPage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tagwell {

namespace {

constexpr const char* PageName = "XOPC.html";

#ifdef TAGWELL_SOURCE_HELP_DIR
constexpr const char* SourceHelpFolder = TAGWELL_SOURCE_HELP_DIR;
#else
constexpr const char* SourceHelpFolder = "";
#endif

QString existing(const QString& path)
{
    return QFileInfo(path).isFile() ? QFileInfo(path).absoluteFilePath() : QString();
}

}  // namespace

QString HelpPage::Path()
{
    return PathFrom(QCoreApplication::applicationDirPath(), QString::fromUtf8(SourceHelpFolder));
}

QString HelpPage::PathFrom(const QString& programFolder, const QString& sourceHelpFolder)
{
    if (!programFolder.isEmpty()) {
        const QString beside = existing(QDir(programFolder).filePath(RelativePath));
        if (!beside.isEmpty())
            return beside;
    }
    if (sourceHelpFolder.isEmpty())
        return {};
    return existing(QDir(sourceHelpFolder).filePath(PageName));
}

}  // namespace tagwell

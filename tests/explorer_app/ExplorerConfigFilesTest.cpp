// Opening and saving configuration files through the explorer's File menu.
#include "ExplorerFixture.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QFileDialog>
#include <QTemporaryDir>
#include <functional>

namespace tagwell::test {
namespace {

class ExplorerConfigFiles : public ExplorerFixture {
protected:
    // A file dialog answer: the file typed or picked, then OK.
    std::function<int(QDialog&)> choose(const QString& path)
    {
        return [path](QDialog& dialog) {
            dynamic_cast<QFileDialog&>(dialog).selectFile(path);
            return int(QDialog::Accepted);
        };
    }

    QString fileIn(const QString& name) { return QDir(folder.path()).filePath(name); }

    QTemporaryDir folder;
};

TEST_F(ExplorerConfigFiles, SaveAndOpenBringBackTheConfiguration)
{
    trigger("mnuLoadDefault");
    const QStringList saved = configuration();
    const QString file = fileIn("plant.ini");
    dialogs.script = choose(file);
    trigger("mnuSave");
    ASSERT_EQ(form->UpdateLines().last(), "Configuration saved successfully to file " + file);

    trigger("mnuDisconnectAll");
    ASSERT_TRUE(configuration().isEmpty());
    control().StopDisplayUpdate();
    trigger("mnuOpen");

    EXPECT_EQ(form->UpdateLines().filter("Configuration loaded").value(0),
              "Configuration loaded successfully from file " + file);
    EXPECT_EQ(configuration(), saved);
    EXPECT_TRUE(displayUpdatesRun());
    EXPECT_EQ(displayInterval(), 250);
    EXPECT_EQ(pointer.shape, pointer::Default);
}

TEST_F(ExplorerConfigFiles, AFileThatDoesNotLoadIsListedAsAnError)
{
    // A saved configuration whose server no longer exists.
    trigger("mnuLoadDefault");
    const QString file = fileIn("moved.ini");
    dialogs.script = choose(file);
    trigger("mnuSave");
    QFile config(file);
    ASSERT_TRUE(config.open(QIODevice::ReadOnly));
    QByteArray text = config.readAll();
    config.close();
    ASSERT_TRUE(text.contains(frmTest::DemoProgId));
    text.replace(frmTest::DemoProgId, "Tagwell.Retired.1");
    ASSERT_TRUE(config.open(QIODevice::WriteOnly | QIODevice::Truncate));
    config.write(text);
    config.close();
    trigger("mnuDisconnectAll");
    form->updates()->clear();

    trigger("mnuOpen");

    EXPECT_EQ(form->UpdateLines().filter("configuration file"),
              QStringList({"Error loading from configuration file " + file}));
    EXPECT_TRUE(displayUpdatesRun());
    EXPECT_EQ(displayInterval(), 250);
    EXPECT_EQ(pointer.shape, pointer::Default);
}

TEST_F(ExplorerConfigFiles, AFileThatCannotBeWrittenIsListedAsAnError)
{
    trigger("mnuLoadDefault");
    const QString file = fileIn(QString(300, 'n') + ".ini");  // longer than a name can be
    dialogs.script = choose(file);

    trigger("mnuSave");

    EXPECT_EQ(form->UpdateLines().last(), "Error saving to configuration file " + file);
    EXPECT_FALSE(QFile::exists(file));
}

}  // namespace
}  // namespace tagwell::test

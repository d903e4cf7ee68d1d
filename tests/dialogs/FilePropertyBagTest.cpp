// The file-backed property bag hosts keep their controls' properties in.

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "graph/Lumaplot.h"
#include "platform/qt/FilePropertyBag.h"

namespace tagwell::test {
namespace {

class FileBag : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(name); }

    static QByteArray contents(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
};

TEST_F(FileBag, ControlPropertiesComeBackAfterASaveAndALoad)
{
    Lumaplot original;
    original.setMin(-12.5f);
    original.setMax(250.0f);
    original.setShowValueInToolTip(true);
    original.setLegendColour(0x0000FFu);
    original.setLegendBackgroundColour(0x80000005u);
    FilePropertyBag saved;
    original.WriteProperties(saved);
    ASSERT_TRUE(saved.save(path("form.ini"))) << saved.lastError().toStdString();

    FilePropertyBag loaded;
    ASSERT_TRUE(loaded.load(path("form.ini"))) << loaded.lastError().toStdString();
    EXPECT_EQ(loaded.keys(), saved.keys());
    Lumaplot restored;
    restored.ReadProperties(loaded);
    EXPECT_EQ(restored.Min(), original.Min());
    EXPECT_EQ(restored.Max(), original.Max());
    EXPECT_EQ(restored.ShowValueInToolTip(), original.ShowValueInToolTip());
    EXPECT_EQ(restored.LegendColour(), original.LegendColour());
    EXPECT_EQ(restored.LegendBackgroundColour(), original.LegendBackgroundColour());
    EXPECT_EQ(restored.ScaleHeight(), original.ScaleHeight());
    EXPECT_EQ(restored.ScaleWidth(), original.ScaleWidth());
}

TEST_F(FileBag, ReadsValuesInTheTypeOfTheirDefault)
{
    struct Case {
        const char* key;
        QVariant value;
        QVariant defaultValue;
    };
    const Case cases[] = {
        {"Float", 183.25, 555.0},
        {"Flag", true, false},
        {"Colour", 0x80000018u, 0u},
        {"Count", -7, 0},
        {"Text", QString("a=b; c"), QString()},
    };
    FilePropertyBag bag;
    for (const Case& c : cases)
        bag.write(c.key, c.value, c.defaultValue);
    ASSERT_TRUE(bag.save(path("typed.ini")));
    FilePropertyBag loaded;
    ASSERT_TRUE(loaded.load(path("typed.ini")));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const QVariant read = loaded.read(c.key, c.defaultValue);
        EXPECT_EQ(read.metaType(), c.defaultValue.metaType());
        EXPECT_EQ(read, c.value);
    }
}

TEST_F(FileBag, DoesNotStoreValuesEqualToTheirDefault)
{
    FilePropertyBag bag;
    bag.write("Max", 250.0, 100.0);
    bag.write("Min", 0.0, 0.0);
    bag.write("ShowValueInToolTip", false, false);
    EXPECT_EQ(bag.keys(), QStringList{"Max"});
    bag.write("Max", 100.0, 100.0);  // back to its default: dropped
    EXPECT_TRUE(bag.keys().isEmpty());
    EXPECT_EQ(bag.read("Max", 100.0), QVariant(100.0));

    bag.write("Min", -1.0, 0.0);
    ASSERT_TRUE(bag.save(path("defaults.ini")));
    const QByteArray written = contents(path("defaults.ini"));
    EXPECT_TRUE(written.contains("Min"));
    EXPECT_FALSE(written.contains("Max"));
    EXPECT_FALSE(written.contains("ShowValueInToolTip"));
}

TEST_F(FileBag, ASaveReplacesWhatTheFileHeld)
{
    FilePropertyBag first;
    first.write("Old", 1, 0);
    ASSERT_TRUE(first.save(path("replace.ini")));
    FilePropertyBag second;
    second.write("New", 2, 0);
    ASSERT_TRUE(second.save(path("replace.ini")));

    FilePropertyBag loaded;
    ASSERT_TRUE(loaded.load(path("replace.ini")));
    EXPECT_EQ(loaded.keys(), QStringList{"New"});
}

TEST_F(FileBag, AFailedSaveIsReported)
{
    QFile plainFile(path("not-a-folder"));
    ASSERT_TRUE(plainFile.open(QIODevice::WriteOnly));
    plainFile.close();
    ASSERT_TRUE(QDir(dir.path()).mkdir("a-folder"));

    FilePropertyBag bag;
    bag.write("Max", 250.0, 100.0);
    for (const QString& target : {path("not-a-folder/form.ini"), path("a-folder")}) {
        SCOPED_TRACE(target.toStdString());
        EXPECT_FALSE(bag.save(target));
        EXPECT_FALSE(bag.lastError().isEmpty());
    }
    EXPECT_TRUE(bag.save(path("form.ini")));
    EXPECT_TRUE(bag.lastError().isEmpty());
}

TEST_F(FileBag, AFailedLoadLeavesAnEmptyBagThatAnswersWithDefaults)
{
    FilePropertyBag bag;
    bag.write("Max", 250.0, 100.0);
    EXPECT_FALSE(bag.load(path("missing.ini")));
    EXPECT_FALSE(bag.lastError().isEmpty());
    EXPECT_TRUE(bag.keys().isEmpty());
    EXPECT_EQ(bag.read("Max", 100.0), QVariant(100.0));
}

TEST_F(FileBag, AStoredTextThatIsNoValueOfTheDefaultsTypeGivesTheDefault)
{
    QFile file(path("edited.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General]\nMax=plenty\nMin=-3\n");
    file.close();

    FilePropertyBag bag;
    ASSERT_TRUE(bag.load(path("edited.ini")));
    EXPECT_EQ(bag.read("Max", 100.0), QVariant(100.0));
    EXPECT_EQ(bag.read("Min", 0.0), QVariant(-3.0));
}

}  // namespace
}  // namespace tagwell::test

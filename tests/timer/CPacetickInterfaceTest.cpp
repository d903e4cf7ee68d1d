// What a host can read about the timer's members: a help text for every
// member, shared within each family, and the dispatch ids of the events.

#include <QMetaMethod>
#include <QMetaObject>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include "timer/CPacetick.h"

namespace tagwell::test {
namespace {

const QMetaObject& meta() { return CPacetick::staticMetaObject; }

QString classInfo(const QString& name)
{
    const int index = meta().indexOfClassInfo(name.toLatin1().constData());
    return index < 0 ? QString() : QString::fromUtf8(meta().classInfo(index).value());
}

QString help(const QString& member) { return classInfo(QStringLiteral("Help:") + member); }

// The members a client binds to, as the class declares them.
QStringList declaredMembers()
{
    QStringList names;
    for (int i = meta().propertyOffset(); i < meta().propertyCount(); ++i)
        names << QString::fromLatin1(meta().property(i).name());
    for (int i = meta().methodOffset(); i < meta().methodCount(); ++i) {
        const QMetaMethod method = meta().method(i);
        if (method.access() == QMetaMethod::Public)
            names << QString::fromLatin1(method.name());
    }
    // Write-only or taking a callback object, so not in the meta-object.
    names << QStringLiteral("BreakInDebugMode") << QStringLiteral("RequestNotify");
    return names;
}

QStringList declaredSignals()
{
    QStringList names;
    for (int i = meta().methodOffset(); i < meta().methodCount(); ++i) {
        if (meta().method(i).methodType() == QMetaMethod::Signal)
            names << QString::fromLatin1(meta().method(i).name());
    }
    return names;
}

TEST(InterfaceTest, EveryMemberHasAHelpTextExceptTheErrorEvent)
{
    for (const QString& name : declaredMembers()) {
        if (name == QStringLiteral("UserError"))
            EXPECT_TRUE(help(name).isEmpty());
        else
            EXPECT_FALSE(help(name).isEmpty()) << name.toStdString();
    }
}

TEST(InterfaceTest, EventsAreNumberedFromOneInTheirOrder)
{
    const QStringList events = declaredSignals();
    ASSERT_EQ(events.size(), 14);
    for (int i = 0; i < events.size(); ++i)
        EXPECT_EQ(classInfo(QStringLiteral("DispId:") + events[i]), QString::number(i + 1)) << events[i].toStdString();
}

struct Family {
    const char* pattern;  // %1 is the member's number
    int first;
    int last;
    bool numbered;        // the text names the member's own number
};

TEST(InterfaceTest, MembersOfOneFamilyShareOneText)
{
    const Family families[] = {
        {"Time%1Interval", 1, 5, false},     {"Countdown%1Interval", 1, 5, false},
        {"Countdown%1Remaining", 1, 5, false}, {"Countdown%1Enabled", 1, 5, false},
        {"Countdown%1Complete", 1, 5, false},  {"Countdown%1", 1, 5, false},
        {"Time%1", 1, 5, false},               {"Time%1Enabled", 1, 5, true},
    };
    for (const Family& family : families) {
        const QString pattern = QString::fromLatin1(family.pattern);
        const QString firstText = help(pattern.arg(family.first));
        ASSERT_FALSE(firstText.isEmpty()) << family.pattern;
        for (int n = family.first + 1; n <= family.last; ++n) {
            QString expected = firstText;
            if (family.numbered)
                expected.replace(QStringLiteral("Time%1").arg(family.first), QStringLiteral("Time%1").arg(n));
            EXPECT_EQ(help(pattern.arg(n)), expected) << pattern.arg(n).toStdString();
        }
    }
}

TEST(InterfaceTest, PeriodicAndOneShotEventsHaveTheirOwnTexts)
{
    const QStringList events = declaredSignals();
    const QRegularExpression oneShot(QStringLiteral("^Countdown\\d$"));
    QString periodicText;
    QString oneShotText;
    for (const QString& event : events) {
        if (event == QStringLiteral("UserError"))
            continue;
        QString& shared = oneShot.match(event).hasMatch() ? oneShotText : periodicText;
        if (shared.isEmpty())
            shared = help(event);
        EXPECT_EQ(help(event), shared) << event.toStdString();
    }
    EXPECT_FALSE(periodicText.isEmpty());
    EXPECT_FALSE(oneShotText.isEmpty());
    EXPECT_NE(periodicText, oneShotText);
}

}  // namespace
}  // namespace tagwell::test

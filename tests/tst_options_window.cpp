// The tool options window and its hold on the map script maker's controls.
#include "frmMapGsc.h"
#include "frmOptions.h"
#include "mymapgsc.h"
#include "registerwindows.h"
#include "windowregistry.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace tavrin;

namespace {
WindowRegistry &registry() { return WindowRegistry::instance(); }

QRadioButton *option(const QString &name)
{
    return registry().widget(WindowId::Options)->findChild<QRadioButton *>(name);
}

// The enabled flags of the maker's eleven controls, as "1" and "0".
QString enabledFlags()
{
    QString flags;
    for (const QString &name : frmOptions::mapGscControls()) {
        QWidget *control = registry().widget(WindowId::MapGsc)->findChild<QWidget *>(name);
        flags += control ? (control->isEnabled() ? u'1' : u'0') : u'?';
    }
    return flags;
}
const QString allEnabled(11, u'1'), allDisabled(11, u'0');

QStringList chosen()
{
    QStringList out;
    for (const char *name : {"Option1", "Option2", "Option3", "Option4"})
        if (option(name)->isChecked())
            out << name;
    return out;
}

void closeWindow(WindowId id)
{
    registry().widget(id)->close();
    QTRY_VERIFY(!registry().isLoaded(id));
}

void showMakerFromLauncher()
{
    registry().show(WindowId::MenuOptions)->findChild<QPushButton *>("cmdMapCFG")->click();
}
} // namespace

class TestOptionsWindow : public QObject
{
    Q_OBJECT
private slots:
    void init() { registerWindows(); }
    void cleanup() { registry().reset(); }

    void opensInFrontOfTheMaker()
    {
        QWidget *options = registry().show(WindowId::Options);
        QCOMPARE(options->windowTitle(), QStringLiteral("CoD Options"));
        // The maker comes up, and the options window ends in front of it.
        QVERIFY(QTest::qWaitForWindowActive(options));
        QTest::qWait(20);
        QVERIFY(registry().widget(WindowId::MapGsc)->isVisible());
        QCOMPARE(QApplication::activeWindow(), options);
        QCOMPARE(enabledFlags(), allEnabled);
        QCOMPARE(chosen(), QStringList());

        // The radio buttons in focus order, as "frame: name caption".
        QStringList order;
        QWidget *w = option("Option2");
        do {
            if (auto *radio = qobject_cast<QRadioButton *>(w))
                order << qobject_cast<QGroupBox *>(radio->parentWidget())->title() + ": " + radio->objectName() + ' ' + radio->text();
            w = w->nextInFocusChain();
        } while (w != option("Option2") && options->isAncestorOf(w));
        QCOMPARE(order, (QStringList{"Cod MAP Options: Option2 Enabled MapGsc", "CoD FX Options: Option3 Enabled FX",
                                     "Cod MAP Options: Option1 Disabled MapGsc", "CoD FX Options: Option4 Disabled FX"}));
    }

    void framesAreSeparateGroups()
    {
        registry().show(WindowId::Options);
        for (const char *name : {"Option2", "Option4", "Option1"})
            option(name)->click();
        QCOMPARE(chosen(), (QStringList{"Option1", "Option4"}));
        // Reopened, the window starts with nothing chosen.
        closeWindow(WindowId::Options);
        registry().show(WindowId::Options);
        QCOMPARE(chosen(), QStringList());
    }

    void optionsSetTheMakerControls_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("flags");
        QTest::newRow("disabled") << QStringList{"Option1"} << allDisabled;
        QTest::newRow("disabled then enabled") << QStringList{"Option1", "Option2"} << allEnabled;
        QTest::newRow("FX options change nothing") << QStringList{"Option3", "Option4"} << allEnabled;
        QTest::newRow("disabled, then FX") << QStringList{"Option1", "Option4", "Option3"} << allDisabled;
    }
    void optionsSetTheMakerControls()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QString, flags);
        registry().show(WindowId::Options);
        QWidget *maker = registry().widget(WindowId::MapGsc);
        maker->findChild<QComboBox *>("CboAllies")->setEditText("british");
        for (const QString &name : clicks)
            option(name)->click();
        QCOMPARE(enabledFlags(), flags);
        QCOMPARE(registry().widget(WindowId::MapGsc), maker);
        QVERIFY(maker->findChild<QWidget *>("txtMain")->isEnabled());
        // Disabled controls keep their text and are read by Check Work all the same.
        maker->findChild<QPushButton *>("Command1")->click();
        QVERIFY(frmMapGsc::model().sHead().contains(" game[\"allies\"] = \"british\";"));
    }

    void makerClosed()
    {
        registry().show(WindowId::Options);
        closeWindow(WindowId::MapGsc);
        option("Option4")->click(); // the FX options leave it closed
        QVERIFY(!registry().isLoaded(WindowId::MapGsc));
        // Disabling loads it hidden, and it shows with the controls disabled.
        option("Option1")->click();
        QVERIFY(registry().isLoaded(WindowId::MapGsc) && !registry().widget(WindowId::MapGsc)->isVisible());
        showMakerFromLauncher();
        QVERIFY(registry().widget(WindowId::MapGsc)->isVisible());
        QCOMPARE(enabledFlags(), allDisabled);
        // Closed and reloaded, it comes back enabled while the options window still says otherwise.
        closeWindow(WindowId::MapGsc);
        showMakerFromLauncher();
        QCOMPARE(enabledFlags(), allEnabled);
        QCOMPARE(chosen(), (QStringList{"Option1", "Option4"}));
    }
};

QTEST_MAIN(TestOptionsWindow)
#include "tst_options_window.moc"

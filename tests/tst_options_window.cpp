// The tool options window and its hold on the map script maker's controls.
#include "frmMapGsc.h"
#include "frmOptions.h"
#include "mymapgsc.h"
#include "registerwindows.h"
#include "windowregistry.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace tavrin;

namespace {
WindowRegistry &registry()
{
    return WindowRegistry::instance();
}

QRadioButton *option(const QString &name)
{
    return registry().widget(WindowId::Options)->findChild<QRadioButton *>(name);
}

// The enabled flags of the maker's eleven controls, as "1" and "0".
QString enabledFlags()
{
    QString flags;
    for (const char *name : {"cboAmbient", "cboSoldier", "cboSoldierV", "cboWeather", "cboDivision", "cboG_Weather",
                             "cboG_Sold_Var", "cboG_Division", "cboGerman", "CboAllies", "txtLayoutImage"}) {
        QWidget *control = registry().widget(WindowId::MapGsc)->findChild<QWidget *>(name);
        flags += control ? (control->isEnabled() ? u'1' : u'0') : u'?';
    }
    return flags;
}
const QString allEnabled(11, u'1'), allDisabled(11, u'0');

QString chosen()
{
    QString out;
    for (const char *name : {"Option1", "Option2", "Option3", "Option4"})
        out += option(name)->isChecked() ? name[6] : ' ';
    return out.simplified();
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
        QVERIFY(QTest::qWaitForWindowActive(options));
        QVERIFY(registry().widget(WindowId::MapGsc)->isVisible());
        // The maker shown first never takes the front afterwards.
        QVERIFY(!QTest::qWaitFor([options] { return QApplication::activeWindow() != options; }, 100));
        QCOMPARE(enabledFlags(), allEnabled);
        QCOMPARE(chosen(), QString());
    }

    // Option1/2 disable/enable the maker's controls, Option3/4 are the FX
    // frame's own pair and change nothing.
    void optionsSetTheMakerControls_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("flags");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("disabled") << QStringList{"Option1"} << allDisabled << "1";
        QTest::newRow("disabled then enabled") << QStringList{"Option1", "Option2"} << allEnabled << "2";
        QTest::newRow("FX options change nothing") << QStringList{"Option3", "Option4"} << allEnabled << "4";
        QTest::newRow("disabled, then FX") << QStringList{"Option2", "Option4", "Option1"} << allDisabled << "1 4";
    }
    void optionsSetTheMakerControls()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QString, flags);
        QFETCH(QString, chosen);
        registry().show(WindowId::Options);
        QWidget *maker = registry().widget(WindowId::MapGsc);
        maker->findChild<QComboBox *>("CboAllies")->setEditText("british");
        for (const QString &name : clicks)
            option(name)->click();
        QCOMPARE(enabledFlags(), flags);
        QCOMPARE(::chosen(), chosen);
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
        QCOMPARE(chosen(), QStringLiteral("1 4"));
    }
};

QTEST_MAIN(TestOptionsWindow)
#include "tst_options_window.moc"

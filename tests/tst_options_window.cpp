// The tool options window and its hold on the map script maker's controls.
#include "frmMapGsc.h"
#include "frmOptions.h"
#include "mymapgsc.h"
#include "registerwindows.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace tavrin;

namespace {
WindowRegistry &registry() { return WindowRegistry::instance(); }

QRadioButton *option(const char *name)
{
    return registry().widget(WindowId::Options)->findChild<QRadioButton *>(QLatin1String(name));
}

// The enabled flags of the maker's eleven controls, as "1" and "0".
QString enabledFlags()
{
    QWidget *maker = registry().widget(WindowId::MapGsc);
    QString flags;
    for (const QString &name : frmOptions::mapGscControls()) {
        QWidget *control = maker->findChild<QWidget *>(name);
        flags += control ? (control->isEnabled() ? u'1' : u'0') : u'?';
    }
    return flags;
}

const QString allEnabled(11, u'1');
const QString allDisabled(11, u'0');

void closeMaker()
{
    registry().widget(WindowId::MapGsc)->close();
    QTRY_VERIFY(!registry().isLoaded(WindowId::MapGsc));
}

// Which options are chosen, as names.
QStringList chosen()
{
    QStringList out;
    for (const char *name : {"Option1", "Option2", "Option3", "Option4"})
        if (option(name)->isChecked())
            out << QLatin1String(name);
    return out;
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
        QVERIFY(options);
        QCOMPARE(options->windowTitle(), QStringLiteral("CoD Options"));
        // The maker comes up, and the options window ends in front of it.
        QVERIFY(QTest::qWaitForWindowActive(options));
        QTest::qWait(20);
        QVERIFY(registry().isLoaded(WindowId::MapGsc));
        QVERIFY(registry().widget(WindowId::MapGsc)->isVisible());
        QCOMPARE(QApplication::activeWindow(), options);
        QCOMPARE(enabledFlags(), allEnabled);

        const auto *Frame1 = options->findChild<QGroupBox *>(QStringLiteral("Frame1"));
        const auto *Frame2 = options->findChild<QGroupBox *>(QStringLiteral("Frame2"));
        QCOMPARE(Frame1->title(), QStringLiteral("Cod MAP Options"));
        QCOMPARE(Frame2->title(), QStringLiteral("CoD FX Options"));
        QCOMPARE(option("Option2")->text(), QStringLiteral("Enabled MapGsc"));
        QCOMPARE(option("Option1")->text(), QStringLiteral("Disabled MapGsc"));
        QCOMPARE(option("Option3")->text(), QStringLiteral("Enabled FX"));
        QCOMPARE(option("Option4")->text(), QStringLiteral("Disabled FX"));
        QVERIFY(Frame1->isAncestorOf(option("Option2")) && Frame1->isAncestorOf(option("Option1")));
        QVERIFY(Frame2->isAncestorOf(option("Option3")) && Frame2->isAncestorOf(option("Option4")));
        QVERIFY(Frame1->geometry().bottom() < Frame2->geometry().top());
        QCOMPARE(chosen(), QStringList());
    }

    void openedFromTheMakerMenu()
    {
        QWidget *maker = registry().show(WindowId::MapGsc);
        maker->findChild<QAction *>(QStringLiteral("mnuCod_Options"))->trigger();
        QWidget *options = registry().widget(WindowId::Options);
        QVERIFY(options && options->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(options));
        QCOMPARE(registry().widget(WindowId::MapGsc), maker); // the same maker, not a new one
    }

    void tabOrder()
    {
        QWidget *options = registry().show(WindowId::Options);
        QStringList order;
        QWidget *w = option("Option2");
        do {
            if (w->focusPolicy() & Qt::TabFocus)
                order << w->objectName();
            w = w->nextInFocusChain();
        } while (w != option("Option2") && options->isAncestorOf(w));
        QCOMPARE(order, (QStringList{"Option2", "Option3", "Option1", "Option4"}));
    }

    void framesAreSeparateGroups()
    {
        registry().show(WindowId::Options);
        option("Option2")->click();
        option("Option4")->click();
        QCOMPARE(chosen(), (QStringList{"Option2", "Option4"}));
        option("Option1")->click();
        option("Option3")->click();
        QCOMPARE(chosen(), (QStringList{"Option1", "Option3"}));

        // Closed and reopened, the window starts with nothing chosen.
        registry().widget(WindowId::Options)->close();
        QTRY_VERIFY(!registry().isLoaded(WindowId::Options));
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
        QTest::newRow("disabled, FX after") << QStringList{"Option1", "Option3", "Option4"} << allDisabled;
        QTest::newRow("disabled twice") << QStringList{"Option1", "Option1"} << allDisabled;
    }
    void optionsSetTheMakerControls()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QString, flags);
        registry().show(WindowId::Options);
        QWidget *maker = registry().widget(WindowId::MapGsc);
        for (const QString &name : clicks)
            option(name.toLatin1().constData())->click();
        QCOMPARE(enabledFlags(), flags);
        QCOMPARE(registry().widget(WindowId::MapGsc), maker);
        // Nothing else of the maker moves with them.
        QVERIFY(maker->findChild<QWidget *>(QStringLiteral("txtMain"))->isEnabled());
        QVERIFY(maker->findChild<QWidget *>(QStringLiteral("Command1"))->isEnabled());
    }

    void disablingWhileTheMakerIsClosedLoadsItHidden()
    {
        registry().show(WindowId::Options);
        closeMaker();
        option("Option1")->click();
        QVERIFY(registry().isLoaded(WindowId::MapGsc));
        QVERIFY(!registry().widget(WindowId::MapGsc)->isVisible());
        QCOMPARE(enabledFlags(), allDisabled);

        // The launcher shows that loaded maker, still disabled.
        QWidget *launcher = registry().show(WindowId::MenuOptions);
        launcher->findChild<QPushButton *>(QStringLiteral("cmdMapCFG"))->click();
        QVERIFY(registry().widget(WindowId::MapGsc)->isVisible());
        QCOMPARE(enabledFlags(), allDisabled);

        // The FX options leave a closed maker closed.
        closeMaker();
        option("Option4")->click();
        option("Option3")->click();
        QVERIFY(!registry().isLoaded(WindowId::MapGsc));
    }

    void reloadedMakerComesBackEnabled()
    {
        registry().show(WindowId::Options);
        option("Option1")->click();
        QCOMPARE(enabledFlags(), allDisabled);
        closeMaker();
        registry().show(WindowId::MenuOptions)->findChild<QPushButton *>(QStringLiteral("cmdMapCFG"))->click();
        QCOMPARE(enabledFlags(), allEnabled);
        QCOMPARE(chosen(), QStringList{"Option1"}); // the options window still says otherwise
    }

    void disabledControlsAreStillRead()
    {
        registry().show(WindowId::Options);
        QWidget *maker = registry().widget(WindowId::MapGsc);
        maker->findChild<QComboBox *>(QStringLiteral("CboAllies"))->setEditText(QStringLiteral("british"));
        maker->findChild<QLineEdit *>(QStringLiteral("txtLayoutImage"))->setText(QStringLiteral("mp_brecourt"));
        option("Option1")->click();
        maker->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
        const QString script = frmMapGsc::model().sHead();
        QVERIFY(script.contains(QStringLiteral(" game[\"allies\"] = \"british\";")));
        QVERIFY(script.contains(QStringLiteral(" game[\"layoutimage\"] = \"mp_brecourt\";")));
        // A disabled box keeps its text.
        QCOMPARE(maker->findChild<QComboBox *>(QStringLiteral("CboAllies"))->currentText(), QStringLiteral("british"));
    }
};

QTEST_MAIN(TestOptionsWindow)
#include "tst_options_window.moc"

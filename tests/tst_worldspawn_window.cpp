// The worldspawn viewer window, driven as the user drives it.
#include "registerwindows.h"
#include "testsupport.h"
#include "windowregistry.h"
#include "worldspawn.h"

#include <QClipboard>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace tavrin;

namespace {
struct Viewer {
    QWidget *window;
    QComboBox *combo;
    QPushButton *show;
    QPlainTextEdit *text;
    QLabel *label;

    static Viewer open()
    {
        QWidget *w = WindowRegistry::instance().show(WindowId::Tavrin);
        return {w, w->findChild<QComboBox *>("Combo1"), w->findChild<QPushButton *>("Command1"),
                w->findChild<QPlainTextEdit *>("Text1"), w->findChild<QLabel *>("Label1")};
    }
    // Opens the list (which rebuilds it), picks an item and closes the list.
    void choose(const QString &item)
    {
        combo->showPopup();
        test::pick(combo, item);
        combo->hidePopup();
    }
};

QString settings(const char *map)
{
    return RenderSettings(*FindMap(QLatin1String(map)));
}
} // namespace

class TestWorldspawnWindow : public QObject
{
    Q_OBJECT
private slots:
    void init() { registerWindows(); }
    void cleanup() { WindowRegistry::instance().reset(); }

    void opensEmpty()
    {
        Viewer v = Viewer::open();
        QCOMPARE(v.window->windowTitle(), QStringLiteral("Tavrin CoD2 WorldSpawn Settings"));
        QCOMPARE(v.combo->currentText(), QStringLiteral("MP/SP_LEVELS"));
        QCOMPARE(v.combo->count(), 0);
        QCOMPARE(v.show->text() + ' ' + v.window->findChild<QAction *>("mnuEffects")->text(),
                 QStringLiteral("MP/SPSettings &Effects List"));
        // Pressing the button before any choice shows nothing.
        v.show->click();
        QVERIFY(v.text->toPlainText().isEmpty() && v.label->text().isEmpty());
    }

    void showsTheChosenMap()
    {
        const QString breakout = settings("mp_breakout");
        Viewer v = Viewer::open();
        v.choose("mp_breakout");
        QVERIFY(v.text->toPlainText().isEmpty()); // nothing until the button
        v.show->click();
        QCOMPARE(v.text->toPlainText(), QString(breakout).replace("\r\n", "\n"));
        QCOMPARE(v.label->text(), breakout);
        // What the user copies from the box is the text byte for byte, CR LF included.
        v.text->selectAll();
        v.text->copy();
        QCOMPARE(QGuiApplication::clipboard()->text(), breakout);

        // A separator, the initial text or a wrong case leaves the previous text.
        for (const QString &miss : {QStringLiteral("--SP_LEVELS--"), QString(), QStringLiteral("MP_BREAKOUT")}) {
            v.combo->setEditText(miss);
            v.show->click();
            QCOMPARE(v.label->text(), breakout);
        }
        // Another map, chosen or typed (even one the list lacks), replaces it entirely.
        v.choose("sp_bergstein");
        v.show->click();
        QCOMPARE(v.label->text(), settings("sp_bergstein"));
        v.combo->setEditText("sp_hill400_assault");
        v.show->click();
        QCOMPARE(v.label->text(), settings("sp_hill400_assault"));
    }

    // Typing is the box's text as typed, even with the list filled: the
    // start of a name is not completed, a name in capitals is no map.
    void typedNameIsKept_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::newRow("start of a name") << "mp_tou";
        QTest::newRow("name in capitals") << "MP_TOUJANE";
    }
    void typedNameIsKept()
    {
        QFETCH(QString, keys);
        Viewer v = Viewer::open();
        v.choose("mp_breakout");
        v.show->click();
        v.combo->clearEditText();
        test::typeInto(v.combo, keys);
        QCOMPARE(v.combo->currentText(), keys);
        v.show->click();
        QCOMPARE(v.label->text(), settings("mp_breakout"));
    }

    // The shown map, not the map box's text, is copied as entity text, from
    // the button or the menu; the colour keys show beside the text.
    void copiesTheEntityAndShowsTheColors()
    {
        Viewer v = Viewer::open();
        auto *copy = v.window->findChild<QPushButton *>("cmdCopyEntity");
        auto *item = v.window->findChild<QAction *>("mnuCopyEntity");
        const QList<QFrame *> swatches{v.window->findChild<QFrame *>("swColor"),
                                       v.window->findChild<QFrame *>("swSunDiffuseColor"),
                                       v.window->findChild<QFrame *>("swSunColor")};
        QVERIFY(copy && item && !swatches.contains(nullptr));
        QCOMPARE(copy->text() + ' ' + item->text(), QStringLiteral("Copy as E&ntity Copy as E&ntity"));
        // Nothing shown, nothing to copy, no colour.
        QVERIFY(!copy->isEnabled() && !item->isEnabled());
        for (QFrame *swatch : swatches)
            QVERIFY(swatch->isHidden());

        v.choose("mp_matmata");
        v.show->click();
        QCOMPARE(v.label->text(), settings("mp_matmata")); // the settings text is as ever
        v.combo->setEditText("mp_breakout");               // typed, not shown
        QGuiApplication::clipboard()->clear();
        copy->click();
        const QString matmata = RenderEntity(*FindMap("mp_matmata"));
        QCOMPARE(QGuiApplication::clipboard()->text(), matmata);
        QVERIFY(matmata.startsWith("{\r\n\"classname\" \"worldspawn\"\r\n"));
        QStringList shown;
        for (QFrame *swatch : swatches)
            shown << (swatch->isHidden() ? "-"
                                         : swatch->palette().color(QPalette::Window).name() + ' ' + swatch->toolTip());
        QCOMPARE(shown, QStringList({"#ffc746 _color 1.00 0.781 0.275", "#ffdbe3 sundiffusecolor 1.00 0.86 .89",
                                     "#ffe0d9 suncolor 1.00 0.88 0.85"}));

        // mp_dawnville's suncolor is one number: no swatch for it.
        v.choose("mp_dawnville");
        v.show->click();
        QVERIFY(!swatches[0]->isHidden() && !swatches[1]->isHidden() && swatches[2]->isHidden());
        QGuiApplication::clipboard()->clear();
        item->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), RenderEntity(*FindMap("mp_dawnville")));
    }

    // Alt+E still opens the effects list; Alt+N copies.
    void accessKeys()
    {
        Viewer v = Viewer::open();
        QVERIFY(QTest::qWaitForWindowActive(v.window));
        v.combo->setEditText("mp_toujane");
        v.show->click();
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(v.window, Qt::Key_N, Qt::AltModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), RenderEntity(*FindMap("mp_toujane")));
        QTest::keyClick(v.window, Qt::Key_E, Qt::AltModifier);
        QTRY_VERIFY(!v.window->isVisible());
        QVERIFY(WindowRegistry::instance().widget(WindowId::Cod2Efx)->isVisible());
    }

    void listIsRebuiltOnEveryOpening()
    {
        Viewer v = Viewer::open();
        v.combo->setEditText("typed");
        for (int i = 0; i < 3; ++i) {
            v.combo->showPopup();
            QCOMPARE(test::comboItems(v.combo), mapList());
            QCOMPARE(v.combo->currentText(), QString()); // opening empties the field
            v.combo->hidePopup();
        }
    }
};

QTEST_MAIN(TestWorldspawnWindow)
#include "tst_worldspawn_window.moc"

// The worldspawn viewer window, driven as the user drives it.
#include "registerwindows.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace tavrin;

namespace {
const QString breakout = QStringLiteral(
    "{\r\nNorthyaw -> 90\r\n_color -> 1 .95 .95\r\nambient -> 0.05\r\nsundiffusecolor -> 0.80 0.82 0.85\r\n"
    "diffusefraction -> 0.31\r\nclassname -> worldspawn\r\nsundirection -> -137.8 305 0\r\n"
    "suncolor -> 0.9 0.95 1\r\nsunlight -> 1.5\r\n}");

struct Viewer {
    QWidget *window;
    QComboBox *combo;
    QPushButton *show;
    QPlainTextEdit *text;
    QLabel *label;

    static Viewer open()
    {
        QWidget *w = WindowRegistry::instance().show(WindowId::Tavrin);
        return {w, w->findChild<QComboBox *>(QStringLiteral("Combo1")),
                w->findChild<QPushButton *>(QStringLiteral("Command1")),
                w->findChild<QPlainTextEdit *>(QStringLiteral("Text1")),
                w->findChild<QLabel *>(QStringLiteral("Label1"))};
    }
    // Opens the list (which rebuilds it), picks an item and closes the list.
    void choose(const QString &item)
    {
        combo->showPopup();
        combo->setCurrentIndex(combo->findText(item));
        combo->hidePopup();
    }
};
} // namespace

class TestWorldspawnWindow : public QObject
{
    Q_OBJECT
private slots:
    void init() { registerWindows(); }
    void cleanup() { WindowRegistry::instance().reset(); }

    void opensWithItsControls()
    {
        Viewer v = Viewer::open();
        QCOMPARE(v.window->windowTitle(), QStringLiteral("Tavrin CoD2 WorldSpawn Settings"));
        QCOMPARE(v.combo->currentText(), QStringLiteral("MP/SP_LEVELS"));
        QVERIFY(v.combo->isEditable());
        QCOMPARE(v.combo->count(), 0);
        QCOMPARE(v.show->text(), QStringLiteral("MP/SPSettings"));
        QCOMPARE(v.window->findChild<QLabel *>(QStringLiteral("Label3"))->text(), QStringLiteral("Display Settings:"));
        QVERIFY(v.text->toPlainText().isEmpty());
        QVERIFY(v.label->text().isEmpty());
        auto *menu = qobject_cast<QMainWindow *>(v.window)->menuBar()->findChild<QAction *>(QStringLiteral("mnuEffects"));
        QVERIFY(menu);
        QCOMPARE(menu->text(), QStringLiteral("&Effects List"));
        // The label lies inside the copy box's area, covered by it.
        QVERIFY(v.text->geometry().contains(v.label->geometry()));

        // Pressing the button before any choice changes nothing.
        v.show->click();
        QVERIFY(v.text->toPlainText().isEmpty());
    }

    void showsTheChosenMap()
    {
        Viewer v = Viewer::open();
        v.choose(QStringLiteral("mp_breakout"));
        QCOMPARE(v.combo->currentText(), QStringLiteral("mp_breakout"));
        QVERIFY(v.text->toPlainText().isEmpty()); // nothing until the button
        v.show->click();
        QCOMPARE(v.text->toPlainText(), QString(breakout).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
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

        // A second map replaces the first entirely.
        v.choose(QStringLiteral("sp_bergstein"));
        v.show->click();
        QVERIFY(v.label->text().endsWith(QStringLiteral("origin ->0 0 0\r\n}")));
        QVERIFY(!v.text->toPlainText().contains(QStringLiteral("Northyaw -> 90")));
    }

    void typedNameIsShown()
    {
        Viewer v = Viewer::open();
        v.combo->setEditText(QStringLiteral("sp_hill400_assault"));
        v.show->click();
        QVERIFY(v.label->text().startsWith(QStringLiteral("{\r\nscript_delay ->2\r\n")));
    }

    void listIsRebuiltOnEveryOpening()
    {
        Viewer v = Viewer::open();
        v.combo->setEditText(QStringLiteral("typed"));
        for (int i = 0; i < 3; ++i) {
            v.combo->showPopup();
            QCOMPARE(v.combo->count(), 42);
            QCOMPARE(v.combo->currentText(), QString()); // opening empties the field
            v.combo->hidePopup();
        }
        QCOMPARE(v.combo->itemText(0), QStringLiteral("mp_breakout"));
        QCOMPARE(v.combo->itemText(14), QStringLiteral("--SP_LEVELS--"));
        QCOMPARE(v.combo->itemText(41), QStringLiteral("sp_trainyard"));
    }

    void hideThenShowKeepsTheText()
    {
        Viewer v = Viewer::open();
        v.choose(QStringLiteral("mp_breakout"));
        v.show->click();
        WindowRegistry::instance().hide(WindowId::Tavrin);
        QVERIFY(!v.window->isVisible());
        Viewer again = Viewer::open();
        QCOMPARE(again.window, v.window);
        QCOMPARE(again.label->text(), breakout);
        QCOMPARE(again.combo->currentText(), QStringLiteral("mp_breakout"));
    }

    void closeThenShowStartsAfresh()
    {
        Viewer v = Viewer::open();
        v.choose(QStringLiteral("mp_breakout"));
        v.show->click();
        v.window->close();
        QTRY_VERIFY(!WindowRegistry::instance().isLoaded(WindowId::Tavrin));
        Viewer again = Viewer::open();
        QVERIFY(again.text->toPlainText().isEmpty());
        QCOMPARE(again.combo->currentText(), QStringLiteral("MP/SP_LEVELS"));
        QCOMPARE(again.combo->count(), 0);
    }
};

QTEST_MAIN(TestWorldspawnWindow)
#include "tst_worldspawn_window.moc"

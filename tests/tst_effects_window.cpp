// The effects browser window, driven as the user drives it.
#include "effectscatalogue.h"
#include "registerwindows.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

using namespace tavrin;

namespace {
struct Browser {
    QMainWindow *window;
    QListWidget *list;
    QPlainTextEdit *text;

    static Browser open()
    {
        auto *w = qobject_cast<QMainWindow *>(WindowRegistry::instance().show(WindowId::Cod2Efx));
        return {w, w->findChild<QListWidget *>("List1"), w->findChild<QPlainTextEdit *>("Text1")};
    }
    QAction *item(const char *name) const { return window->findChild<QAction *>(QLatin1String(name)); }
    void choose(const QString &category) const
    {
        const QList<QListWidgetItem *> found = list->findItems(category, Qt::MatchExactly);
        QVERIFY(found.size() == 1);
        list->setCurrentItem(found.first());
    }
    QStringList shown() const
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
    QString selected() const
    {
        const auto items = list->selectedItems();
        return items.isEmpty() ? QString() : items.first()->text();
    }
};

const QString milListing = QStringLiteral("20mil_concrete.efx\r\n20mil_dirthit_libya.efx");
// The text as the box shows it, lines apart by LF.
QString shownText(QString crlfText) { return crlfText.replace("\r\n", "\n"); }
} // namespace

class TestEffectsWindow : public QObject
{
    Q_OBJECT
private slots:
    void init() { registerWindows(); }
    void cleanup() { WindowRegistry::instance().reset(); }

    void opensEmpty()
    {
        Browser b = Browser::open();
        QCOMPARE(b.window->windowTitle(), QStringLiteral("Tavrin CoD 2 Effects List"));
        QCOMPARE(test::labelTexts(b.window), QStringList({"Label1=Effects Category:", "Label2=Effects Listing:"}));
        QVERIFY(b.list->selectedItems().isEmpty() && b.text->toPlainText().isEmpty());
        QCOMPARE(test::menuEntries(b.window->findChild<QMenu *>("mnuSettings")),
                 QStringList({"mnuWs|Worldspawn Settings|Ctrl+W", "mnuExit|&Exit|Ctrl+X"}));
        // The list has the focus first; Tab goes on to the listing box.
        QVERIFY(QTest::qWaitForWindowActive(b.window));
        QCOMPARE(QApplication::focusWidget(), b.list);
        QTest::keyClick(b.list, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), b.text);
    }

    void showsTheTableOrder()
    {
        Browser b = Browser::open();
        QCOMPARE(b.shown().size(), 68);
        QCOMPARE(b.shown(), effectCategoryNames());
        // Sorting afresh keeps that order: the list's own order is the table's.
        b.list->sortItems(Qt::AscendingOrder);
        QCOMPARE(b.shown(), effectCategoryNames());
    }

    void choosingReplacesTheListing()
    {
        Browser b = Browser::open();
        QVERIFY(QTest::qWaitForWindowActive(b.window));
        QListWidgetItem *misc = b.list->findItems("Misc_Effects", Qt::MatchExactly).first();
        b.list->scrollToItem(misc);
        QTest::mouseClick(b.list->viewport(), Qt::LeftButton, {}, b.list->visualItemRect(misc).center());
        QCOMPARE(b.selected(), QStringLiteral("Misc_Effects"));
        QCOMPARE(b.text->document()->blockCount(), 30);
        QCOMPARE(b.text->document()->firstBlock().text(), QStringLiteral("cliff_dust_rocks_duhoc.efx"));
        QTest::keyClick(b.list, Qt::Key_Down);
        QCOMPARE(b.selected(), QStringLiteral("Mm_Effects"));
        QCOMPARE(b.text->toPlainText(), QStringLiteral("20mm_metalhit.efx\n20 mm_wallexplode.efx"));

        // The user's edits are not kept: the next choice replaces them.
        b.text->appendPlainText("typed");
        b.choose("Mil_Effects");
        QCOMPARE(b.text->toPlainText(), shownText(milListing));
        // What the user copies is the listing byte for byte.
        b.text->selectAll();
        b.text->copy();
        QCOMPARE(QGuiApplication::clipboard()->text(), milListing);
        // No selection leaves the listing as it was.
        b.list->clearSelection();
        QCOMPARE(b.text->toPlainText(), shownText(milListing));
    }

    void viewerAndBrowserOpenEachOther()
    {
        auto &registry = WindowRegistry::instance();
        QWidget *viewer = registry.show(WindowId::Tavrin);
        auto *combo = viewer->findChild<QComboBox *>("Combo1");
        combo->showPopup();
        test::pick(combo, "mp_toujane");
        combo->hidePopup();
        viewer->findChild<QPushButton *>("Command1")->click();
        auto *settings = viewer->findChild<QPlainTextEdit *>("Text1");
        const QString shownSettings = settings->toPlainText();
        QVERIFY(!shownSettings.isEmpty());

        // The viewer's "&Effects List" brings up the browser and steps aside.
        viewer->findChild<QAction *>("mnuEffects")->trigger();
        Browser b = Browser::open();
        QVERIFY(!viewer->isVisible());
        b.choose("Tank_Effects");
        const QString listing = b.text->toPlainText();

        // Ctrl+W, even from the listing box, brings back the same viewer as it
        // was; the browser stays. Once more: still one viewer.
        QVERIFY(QTest::qWaitForWindowActive(b.window));
        b.text->setFocus();
        QTest::keyClick(b.text, Qt::Key_W, Qt::ControlModifier);
        QVERIFY(viewer->isVisible() && b.window->isVisible());
        QCOMPARE(combo->currentText(), QStringLiteral("mp_toujane"));
        QCOMPARE(settings->toPlainText(), shownSettings);
        b.item("mnuWs")->trigger();
        QCOMPARE(registry.widget(WindowId::Tavrin), viewer);
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.begin(), windows.end(), [](QWidget *w) { return w->objectName() == "frmTavrin"; }), 1);

        // And back to the same browser with its choice.
        viewer->findChild<QAction *>("mnuEffects")->trigger();
        QCOMPARE(registry.widget(WindowId::Cod2Efx), b.window);
        QCOMPARE(b.selected(), QStringLiteral("Tank_Effects"));
        QCOMPARE(b.text->toPlainText(), listing);
    }

    void launcherShowsOneBrowser()
    {
        auto &registry = WindowRegistry::instance();
        auto *button = registry.show(WindowId::MenuOptions)->findChild<QPushButton *>("Command3");
        button->click();
        Browser b = Browser::open();
        b.choose("Vomit_Effects");
        button->click(); // the same browser, as it was
        QCOMPARE(registry.widget(WindowId::Cod2Efx), b.window);
        QCOMPARE(b.text->toPlainText(), QStringLiteral("vomit.efx"));
    }

    // Ctrl+X in the listing box is Exit, not Cut: the program ends at once,
    // nothing is cut, no window is closed and the main window stores nothing.
    void ctrlXEndsTheProgram_data()
    {
        QTest::addColumn<bool>("fromListingBox");
        QTest::newRow("listing box focused") << true;
        QTest::newRow("category list focused") << false;
    }
    void ctrlXEndsTheProgram()
    {
        QFETCH(bool, fromListingBox);
        test::TemporarySettings settings;
        settings.store("MainLeft", "1500");
        QWidget *main = WindowRegistry::instance().show(WindowId::Main);
        main->move(300, 300);
        Browser b = Browser::open();
        QVERIFY(QTest::qWaitForWindowActive(b.window));
        b.choose("Mil_Effects");
        QWidget *target = fromListingBox ? static_cast<QWidget *>(b.text) : b.list;
        target->setFocus();
        b.text->selectAll();
        QTimer::singleShot(0, target, [target] { QTest::keyClick(target, Qt::Key_X, Qt::ControlModifier); });
        QCOMPARE(test::runEventLoop(), 0);

        QCOMPARE(b.text->toPlainText(), shownText(milListing));
        QVERIFY(b.window->isVisible() && main->isVisible());
        QCOMPARE(settings.stored("MainLeft"), QStringLiteral("1500"));
    }
};

QTEST_MAIN(TestEffectsWindow)
#include "tst_effects_window.moc"

// The effects browser window, driven as the user drives it.
#include "effectscatalogue.h"
#include "registerwindows.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

using namespace tavrin;

namespace {
struct Browser {
    QMainWindow *window;
    QListWidget *list;
    QPlainTextEdit *text;
    QLineEdit *search;

    static Browser open()
    {
        auto *w = qobject_cast<QMainWindow *>(WindowRegistry::instance().show(WindowId::Cod2Efx));
        return {w, w->findChild<QListWidget *>("List1"), w->findChild<QPlainTextEdit *>("Text1"),
                w->findChild<QLineEdit *>("txtSearch")};
    }
    void choose(const QString &category) const
    {
        list->setCurrentItem(list->findItems(category, Qt::MatchExactly).value(0));
    }
    QStringList shown() const
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
};

const QString milListing = QStringLiteral("20mil_concrete.efx\r\n20mil_dirthit_libya.efx");
const QString milShown = QStringLiteral("20mil_concrete.efx\n20mil_dirthit_libya.efx");
} // namespace

class TestEffectsWindow : public QObject
{
    Q_OBJECT
private slots:
    void init() { registerWindows(); }
    void cleanup() { WindowRegistry::instance().reset(); }

    void opensWithTheTableOrder()
    {
        Browser b = Browser::open();
        QCOMPARE(b.window->windowTitle(), QStringLiteral("Tavrin CoD 2 Effects List"));
        QCOMPARE(test::labelTexts(b.window), QStringList({"Label1=Effects Category:", "Label2=Effects Listing:"}));
        QCOMPARE(test::menuEntries(b.window->findChild<QMenu *>("mnuSettings")),
                 QStringList({"mnuWs|Worldspawn Settings|Ctrl+W", "mnuExit|&Exit|Ctrl+X"}));
        QVERIFY(b.list->selectedItems().isEmpty() && b.text->toPlainText().isEmpty());
        QCOMPARE(b.shown().size(), 68);
        // The table's order, kept even when the list is sorted afresh.
        b.list->sortItems(Qt::AscendingOrder);
        QCOMPARE(b.shown(), effectCategoryNames());
    }

    void choosingReplacesTheListing()
    {
        Browser b = Browser::open();
        b.choose("Misc_Effects");
        QCOMPARE(b.text->document()->blockCount(), 30);
        QCOMPARE(b.text->document()->firstBlock().text(), QStringLiteral("cliff_dust_rocks_duhoc.efx"));
        // The user's edits are not kept: the next choice replaces them.
        b.text->appendPlainText("typed");
        b.choose("Mil_Effects");
        QCOMPARE(b.text->toPlainText(), milShown);
        // What the user copies is the listing byte for byte.
        b.text->selectAll();
        b.text->copy();
        QCOMPARE(QGuiApplication::clipboard()->text(), milListing);
        // No selection leaves the listing as it was.
        b.list->clearSelection();
        QCOMPARE(b.text->toPlainText(), milShown);
    }

    void viewerAndBrowserOpenEachOther()
    {
        auto &registry = WindowRegistry::instance();
        QWidget *viewer = registry.show(WindowId::Tavrin);
        auto *combo = viewer->findChild<QComboBox *>("Combo1");
        combo->setEditText("mp_toujane");
        // The viewer's "&Effects List" brings up the browser and steps aside.
        viewer->findChild<QAction *>("mnuEffects")->trigger();
        Browser b = Browser::open();
        QVERIFY(!viewer->isVisible());
        b.choose("Tank_Effects");
        const QString listing = b.text->toPlainText();
        // Ctrl+W, even from the listing box, brings back the same viewer as it
        // was; the browser stays.
        QVERIFY(QTest::qWaitForWindowActive(b.window));
        b.text->setFocus();
        QTest::keyClick(b.text, Qt::Key_W, Qt::ControlModifier);
        QVERIFY(viewer->isVisible() && b.window->isVisible());
        QCOMPARE(registry.widget(WindowId::Tavrin), viewer);
        QCOMPARE(combo->currentText(), QStringLiteral("mp_toujane"));
        // And back to the same browser with its choice.
        viewer->findChild<QAction *>("mnuEffects")->trigger();
        QCOMPARE(registry.widget(WindowId::Cod2Efx), b.window);
        QCOMPARE(b.text->toPlainText(), listing);
    }

    // Typing filters over the whole catalogue; emptying the box brings back
    // the category and listing shown before; choosing a category ends a search.
    void search()
    {
        Browser b = Browser::open();
        QVERIFY(QTest::qWaitForWindowActive(b.window));
        QCOMPARE(b.search->placeholderText(), QStringLiteral("Search all effects"));
        // The list has the focus at first, and Tab still goes on to the listing.
        QCOMPARE(QApplication::focusWidget(), b.list);
        QTest::keyClick(b.list, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), b.text);

        b.choose("Mil_Effects");
        b.list->setFocus();
        QTest::keyClick(b.list, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), b.search);
        QTest::keyClicks(b.search, "WINE");
        QCOMPARE(b.text->toPlainText(), QStringLiteral("wine_bottle.efx  (Wine_Effects)"));
        QCOMPARE(b.list->currentItem()->text(), QStringLiteral("Mil_Effects"));
        QTest::keyClicks(b.search, "x");
        QVERIFY(b.text->toPlainText().isEmpty());
        QVERIFY(b.text->placeholderText().contains("WINEx"));
        // Emptied, the box gives back the listing it covered.
        b.search->clear();
        QCOMPARE(b.text->toPlainText(), milShown);
        QVERIFY(b.text->placeholderText().isEmpty());

        // Choosing a category while searching: the search ends, the category shows.
        b.search->setText("tunnel");
        QCOMPARE(b.text->document()->blockCount(), 5);
        b.choose("Wine_Effects");
        QCOMPARE(b.search->text(), QString());
        QCOMPARE(b.text->toPlainText(), QStringLiteral("wine_bottle.efx"));
        // So does a click on the category already chosen.
        b.search->setText("tunnel");
        const QListWidgetItem *wine = b.list->currentItem();
        QTest::mouseClick(b.list->viewport(), Qt::LeftButton, {}, b.list->visualItemRect(wine).center());
        QCOMPARE(b.search->text(), QString());
        QCOMPARE(b.text->toPlainText(), QStringLiteral("wine_bottle.efx"));
    }

    // Ctrl+X in the search box is Exit too, not Cut.
    void ctrlXInTheSearchBoxEndsTheProgram()
    {
        Browser b = Browser::open();
        QVERIFY(QTest::qWaitForWindowActive(b.window));
        b.search->setText("smoke");
        b.search->setFocus();
        b.search->selectAll();
        QTimer::singleShot(0, b.search, [&b] { QTest::keyClick(b.search, Qt::Key_X, Qt::ControlModifier); });
        QCOMPARE(test::runEventLoop(), 0);
        QCOMPARE(b.search->text(), QStringLiteral("smoke"));
    }

    // Ctrl+X in the listing box is Exit, not Cut: the program ends at once,
    // nothing is cut, no window is closed and the main window stores nothing.
    void ctrlXInTheListingEndsTheProgram()
    {
        test::TemporarySettings settings;
        settings.store("MainLeft", "1500");
        QWidget *main = WindowRegistry::instance().show(WindowId::Main);
        main->move(300, 300);
        Browser b = Browser::open();
        QVERIFY(QTest::qWaitForWindowActive(b.window));
        b.choose("Mil_Effects");
        b.text->setFocus();
        b.text->selectAll();
        QTimer::singleShot(0, b.text, [&b] { QTest::keyClick(b.text, Qt::Key_X, Qt::ControlModifier); });
        QCOMPARE(test::runEventLoop(), 0);
        QCOMPARE(b.text->toPlainText(), milShown);
        QVERIFY(b.window->isVisible() && main->isVisible());
        QCOMPARE(settings.stored("MainLeft"), QStringLiteral("1500"));
    }
};

QTEST_MAIN(TestEffectsWindow)
#include "tst_effects_window.moc"

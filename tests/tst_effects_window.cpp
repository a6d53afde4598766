// The effects browser window, driven as the user drives it.
#include "registerwindows.h"
#include "settingsstore.h"
#include "testsupport.h"
#include "twips.h"
#include "windowregistry.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
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
        return {w, w->findChild<QListWidget *>(QStringLiteral("List1")),
                w->findChild<QPlainTextEdit *>(QStringLiteral("Text1"))};
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

// The category names as the published table gives them, in its order.
QStringList tableOrder()
{
    QFile file(QStringLiteral(TAVRIN_TEST_DATA "/effects_catalogue.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression first(QStringLiteral("^\\| \"([^\"]+)\""));
    QStringList names;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const auto m = first.match(QString::fromUtf8(line));
        if (m.hasMatch())
            names << m.captured(1);
    }
    return names;
}

// The text as the box shows it, lines apart by LF.
QString shownText(const char *crlfText)
{
    return QString::fromLatin1(crlfText).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
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
        QVERIFY(!b.window->parentWidget());
        auto *Label1 = b.window->findChild<QLabel *>(QStringLiteral("Label1"));
        auto *Label2 = b.window->findChild<QLabel *>(QStringLiteral("Label2"));
        QCOMPARE(Label1->text(), QStringLiteral("Effects Category:"));
        QCOMPARE(Label2->text(), QStringLiteral("Effects Listing:"));
        for (QLabel *heading : {Label1, Label2}) {
            QCOMPARE(heading->palette().color(QPalette::WindowText), QColor(Qt::red));
            QCOMPARE(heading->parentWidget()->palette().color(QPalette::Window), QColor(Qt::black));
            QVERIFY(heading->parentWidget()->autoFillBackground());
        }
        QCOMPARE(b.list->count(), 68);
        QVERIFY(b.list->selectedItems().isEmpty());
        QVERIFY(b.text->toPlainText().isEmpty());
        QVERIFY(!b.text->isReadOnly());
        QCOMPARE(b.text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

        // The list is 2655 twips square, the listing box as tall, both tops on one line.
        const int side = twipsToPixels(2655, b.list->logicalDpiX());
        QCOMPARE(b.list->size(), QSize(side, twipsToPixels(2655, b.list->logicalDpiY())));
        QCOMPARE(b.text->height(), b.list->height());
        QCOMPARE(b.text->y(), b.list->y());
        QVERIFY(b.text->x() > b.list->x() + b.list->width() - 1);
        QVERIFY(Label1->y() + Label1->height() <= b.list->y());
        QVERIFY(Label2->x() >= b.text->x() - 1 && Label2->y() + Label2->height() <= b.text->y());

        // The list has the focus first; Tab goes on to the listing box.
        QVERIFY(QTest::qWaitForWindowActive(b.window));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(b.list));
        QTest::keyClick(b.list, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(b.text));

        auto *menu = b.window->menuBar()->findChild<QMenu *>(QStringLiteral("mnuSettings"));
        QCOMPARE(menu->title(), QStringLiteral("&Settings"));
        QCOMPARE(menu->actions().size(), 2);
        QCOMPARE(menu->actions().at(0), b.item("mnuWs"));
        QCOMPARE(b.item("mnuWs")->text(), QStringLiteral("Worldspawn Settings"));
        QCOMPARE(b.item("mnuWs")->shortcut(), QKeySequence(QStringLiteral("Ctrl+W")));
        QCOMPARE(b.item("mnuExit")->text(), QStringLiteral("&Exit"));
        QCOMPARE(b.item("mnuExit")->shortcut(), QKeySequence(QStringLiteral("Ctrl+X")));
    }

    void showsTheTableOrder()
    {
        Browser b = Browser::open();
        const QStringList table = tableOrder();
        QCOMPARE(table.size(), 68);
        QCOMPARE(b.shown(), table);
        QCOMPARE(b.shown().first(), QStringLiteral("American_Effects"));
        QVERIFY(b.shown().indexOf(QStringLiteral("Weapon_Fire_Effects"))
                < b.shown().indexOf(QStringLiteral("Weapons_Effects")));
        // Sorting afresh keeps that order: the list's own order is the table's.
        b.list->sortItems(Qt::AscendingOrder);
        QCOMPARE(b.shown(), table);
    }

    void choosingReplacesTheListing()
    {
        Browser b = Browser::open();
        b.choose(QStringLiteral("Ammo_Effects"));
        QCOMPARE(b.text->toPlainText(), QStringLiteral("ammo_supply_exp.efx"));
        b.choose(QStringLiteral("Fire_Effects"));
        QCOMPARE(b.text->document()->blockCount(), 8);
        b.choose(QStringLiteral("Wine_Effects"));
        QCOMPARE(b.text->toPlainText(), QStringLiteral("wine_bottle.efx"));

        // The user's edits are not kept: the next choice replaces them.
        b.text->appendPlainText(QStringLiteral("typed"));
        b.choose(QStringLiteral("Mil_Effects"));
        QCOMPARE(b.text->toPlainText(), shownText("20mil_concrete.efx\r\n20mil_dirthit_libya.efx"));

        // What the user copies is the listing byte for byte.
        b.text->selectAll();
        b.text->copy();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("20mil_concrete.efx\r\n20mil_dirthit_libya.efx"));

        // No selection leaves the listing as it was.
        b.list->clearSelection();
        QCOMPARE(b.text->toPlainText(), shownText("20mil_concrete.efx\r\n20mil_dirthit_libya.efx"));
    }

    void mouseAndKeyboardChoose()
    {
        Browser b = Browser::open();
        QVERIFY(QTest::qWaitForWindowActive(b.window));
        QListWidgetItem *misc = b.list->findItems(QStringLiteral("Misc_Effects"), Qt::MatchExactly).first();
        b.list->scrollToItem(misc);
        QTest::mouseClick(b.list->viewport(), Qt::LeftButton, {}, b.list->visualItemRect(misc).center());
        QCOMPARE(b.selected(), QStringLiteral("Misc_Effects"));
        QCOMPARE(b.text->document()->blockCount(), 30);
        QCOMPARE(b.text->document()->firstBlock().text(), QStringLiteral("cliff_dust_rocks_duhoc.efx"));

        QTest::keyClick(b.list, Qt::Key_Down);
        QCOMPARE(b.selected(), QStringLiteral("Mm_Effects"));
        QCOMPARE(b.text->toPlainText(), QStringLiteral("20mm_metalhit.efx\n20 mm_wallexplode.efx"));
    }

    void viewerAndBrowserOpenEachOther()
    {
        auto &registry = WindowRegistry::instance();
        QWidget *viewer = registry.show(WindowId::Tavrin);
        auto *combo = viewer->findChild<QComboBox *>(QStringLiteral("Combo1"));
        combo->showPopup();
        combo->setCurrentIndex(combo->findText(QStringLiteral("mp_toujane")));
        combo->hidePopup();
        viewer->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
        const QString settings = viewer->findChild<QPlainTextEdit *>(QStringLiteral("Text1"))->toPlainText();
        QVERIFY(!settings.isEmpty());

        // The viewer's "&Effects List" brings up the browser and steps aside.
        viewer->findChild<QAction *>(QStringLiteral("mnuEffects"))->trigger();
        Browser b{registry.window<QMainWindow>(WindowId::Cod2Efx), nullptr, nullptr};
        QVERIFY(b.window && b.window->isVisible());
        b = Browser::open();
        QVERIFY(!viewer->isVisible());
        b.choose(QStringLiteral("Tank_Effects"));
        const QString listing = b.text->toPlainText();

        // "Worldspawn Settings" brings back the same viewer as it was; the browser stays.
        b.item("mnuWs")->trigger();
        QCOMPARE(registry.widget(WindowId::Tavrin), viewer);
        QVERIFY(viewer->isVisible());
        QCOMPARE(combo->currentText(), QStringLiteral("mp_toujane"));
        QCOMPARE(viewer->findChild<QPlainTextEdit *>(QStringLiteral("Text1"))->toPlainText(), settings);
        QVERIFY(b.window->isVisible());
        QCOMPARE(b.selected(), QStringLiteral("Tank_Effects"));
        QCOMPARE(b.text->toPlainText(), listing);

        // Once more while the viewer is open: still one viewer.
        b.item("mnuWs")->trigger();
        QCOMPARE(registry.widget(WindowId::Tavrin), viewer);
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.begin(), windows.end(),
                               [](QWidget *w) { return w->objectName() == QLatin1String("frmTavrin"); }),
                 1);

        // And back to the same browser with its choice.
        viewer->findChild<QAction *>(QStringLiteral("mnuEffects"))->trigger();
        QCOMPARE(registry.widget(WindowId::Cod2Efx), b.window);
        QCOMPARE(b.selected(), QStringLiteral("Tank_Effects"));
        QCOMPARE(b.text->toPlainText(), listing);
    }

    void launcherOpensTheBrowser()
    {
        QWidget *launcher = WindowRegistry::instance().show(WindowId::MenuOptions);
        auto *button = launcher->findChild<QPushButton *>(QStringLiteral("Command3"));
        QCOMPARE(button->text(), QStringLiteral("Effect &List"));
        button->click();
        Browser b = Browser::open();
        b.choose(QStringLiteral("Vomit_Effects"));
        button->click(); // the same browser, as it was
        QCOMPARE(WindowRegistry::instance().widget(WindowId::Cod2Efx), static_cast<QWidget *>(b.window));
        QCOMPARE(b.text->toPlainText(), QStringLiteral("vomit.efx"));
    }

    void ctrlWFromTheListingBox()
    {
        Browser b = Browser::open();
        QVERIFY(QTest::qWaitForWindowActive(b.window));
        b.text->setFocus();
        QTest::keyClick(b.text, Qt::Key_W, Qt::ControlModifier);
        QVERIFY(WindowRegistry::instance().isLoaded(WindowId::Tavrin));
        QVERIFY(WindowRegistry::instance().widget(WindowId::Tavrin)->isVisible());
    }

    void closeThenOpenStartsAfresh()
    {
        Browser b = Browser::open();
        b.choose(QStringLiteral("Rain_Effects"));
        b.window->close();
        QTRY_VERIFY(!WindowRegistry::instance().isLoaded(WindowId::Cod2Efx));
        Browser again = Browser::open();
        QVERIFY(again.list->selectedItems().isEmpty());
        QVERIFY(again.text->toPlainText().isEmpty());
        QCOMPARE(again.list->count(), 68);
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
        SaveSetting(QStringLiteral("Tavrin"), QStringLiteral("Settings"), QStringLiteral("MainLeft"), QStringLiteral("1500"));
        QWidget *main = WindowRegistry::instance().show(WindowId::Main);
        main->move(300, 300);
        Browser b = Browser::open();
        QVERIFY(QTest::qWaitForWindowActive(b.window));
        b.choose(QStringLiteral("Mil_Effects"));
        QWidget *target = fromListingBox ? static_cast<QWidget *>(b.text) : b.list;
        target->setFocus();
        b.text->selectAll();

        QTimer::singleShot(0, target, [target] { QTest::keyClick(target, Qt::Key_X, Qt::ControlModifier); });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        watchdog.start(5000);
        QCOMPARE(QCoreApplication::exec(), 0);

        QCOMPARE(b.text->toPlainText(), shownText("20mil_concrete.efx\r\n20mil_dirthit_libya.efx"));
        QVERIFY(b.window->isVisible() && main->isVisible());
        QSettings stored(settings.file(), QSettings::IniFormat);
        QCOMPARE(stored.value(QStringLiteral("Settings/MainLeft")).toString(), QStringLiteral("1500"));
    }
};

QTEST_MAIN(TestEffectsWindow)
#include "tst_effects_window.moc"

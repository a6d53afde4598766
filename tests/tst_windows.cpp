// Rules every window of the program keeps, checked on all of them at once.
#include "registerwindows.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QTest>

using namespace tavrin;

class TestWindows : public QObject
{
    Q_OBJECT
private slots:
    // Whatever the user types into an editable combo box is its text: no box
    // completes typing from its list (which also folds the case), and none
    // adds typing to its list. Every window is loaded, and a document opened,
    // so a box added anywhere later is checked too.
    void editableComboBoxesKeepTypedText()
    {
        test::TemporarySettings settings;
        test::ScriptedMessages messages;
        registerWindows();
        auto &registry = WindowRegistry::instance();
        for (WindowId id : registry.registeredWindows())
            QVERIFY(registry.load(id));
        registry.show(WindowId::Main);
        registry.widget(WindowId::Main)->findChild<QAction *>("mnuFileNew")->trigger();

        int editable = 0;
        for (QWidget *w : QApplication::allWidgets()) {
            auto *combo = qobject_cast<QComboBox *>(w);
            if (!combo || !combo->isEditable())
                continue;
            ++editable;
            const QString name = combo->window()->objectName() + '/' + combo->objectName();
            QVERIFY2(!combo->completer(), qPrintable(name + " completes typing"));
            QVERIFY2(combo->insertPolicy() == QComboBox::NoInsert, qPrintable(name + " adds typing to its list"));
        }
        QVERIFY(editable >= 13); // the viewer's, the map script maker's ten, the arena makers'
        registry.reset();
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"

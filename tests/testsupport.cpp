#include "testsupport.h"

#include "settingsstore.h"
#include "twips.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPrinter>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QTimer>

namespace tavrin::test {

ScriptedMessages::ScriptedMessages()
{
    setMessageBackend([this](const MessageRequest &request) {
        shown.append(request);
        if (answers.empty())
            return QMessageBox::Ok;
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    });
}
ScriptedMessages::~ScriptedMessages() { setMessageBackend({}); }

ScriptedDialogs::ScriptedDialogs()
{
    CommonDialog::setBackend([this](const DialogRequest &request, QPrinter *printer) {
        shown.append(request);
        if (printer && !printerOutput.isEmpty()) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(printerOutput);
        }
        if (answers.empty())
            return DialogAnswer{};
        const DialogAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    });
}
ScriptedDialogs::~ScriptedDialogs() { CommonDialog::setBackend({}); }

TemporarySettings::TemporarySettings() { setSettingsFolder(m_dir.path()); }
TemporarySettings::~TemporarySettings() { setSettingsFolder(QString()); }

QString TemporarySettings::stored(const char *key) const
{
    return QSettings(file(), QSettings::IniFormat).value(QStringLiteral("Settings/") + QLatin1String(key)).toString();
}

void TemporarySettings::store(const char *key, const QString &value)
{
    SaveSetting(QStringLiteral("Tavrin"), QStringLiteral("Settings"), QLatin1String(key), value);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString describe(const DialogRequest &request)
{
    static const char *const kinds[] = {"Open", "Save", "Printer", "PageSetup"};
    return QStringList{QLatin1String(kinds[request.kind]), request.title, request.filter,
                       QString::number(request.flags), request.fileName}.join(QLatin1Char('|'));
}

QStringList labelTexts(const QWidget *window)
{
    QStringList out;
    for (const QLabel *label : window->findChildren<QLabel *>())
        out << label->objectName() + QLatin1Char('=') + label->text();
    return out;
}

QStringList menuEntries(const QMenu *menu)
{
    QStringList out;
    for (QAction *a : menu->actions()) {
        if (a->isSeparator())
            out << QStringLiteral("-");
        else if (!a->objectName().isEmpty())
            out << a->objectName() + QLatin1Char('|') + a->text() + QLatin1Char('|') + a->shortcut().toString();
    }
    return out;
}

QStringList comboItems(const QComboBox *combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

void pick(QComboBox *combo, const QString &text) { combo->setCurrentIndex(combo->findText(text)); }

void typeInto(QComboBox *combo, const QString &keys)
{
    QWidget *window = combo->window();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    combo->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(combo->hasFocus());
    QWidget *focused = QApplication::focusWidget();
    QTest::keyClicks(focused, keys);
    QTest::keyClick(focused, Qt::Key_Return);
    QTest::keyClick(focused, Qt::Key_Tab);
}

FileDialogListing readFileDialog(const QString &folder, const std::function<void()> &open)
{
    QTemporaryDir qtSettings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, qtSettings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, qtSettings.path());
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);

    FileDialogListing listing;
    QStringList before;
    QElapsedTimer clock;
    clock.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        before = listing.names;
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            if (QDir(dialog->directory()) != QDir(folder))
                dialog->setDirectory(folder);
            const auto *view = dialog->findChild<QListView *>(QStringLiteral("listView"));
            listing.names.clear();
            for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
                listing.names << view->model()->index(row, 0, view->rootIndex()).data().toString();
            listing.names.sort();
            listing.caption = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"))->currentText();
        }
        if (modal && ((!listing.names.isEmpty() && listing.names == before) || clock.elapsed() > 5000))
            modal->close();
    });
    poll.start(25);
    open();
    return listing;
}

int pxX(double twips) { return twipsToPixels(twips, QGuiApplication::primaryScreen()->logicalDotsPerInchX()); }
int pxY(double twips) { return twipsToPixels(twips, QGuiApplication::primaryScreen()->logicalDotsPerInchY()); }

void switchAwayAndBack(QWidget *window, QWidget *other)
{
    other->show();
    other->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(other));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

int runEventLoop(int timeoutMs)
{
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    watchdog.start(timeoutMs);
    return QCoreApplication::exec();
}

} // namespace tavrin::test

#pragma once

#include "commondialog.h"

#include <QMainWindow>

class QComboBox;
class QLabel;
class QLineEdit;

namespace tavrin {

class ArenaRecord;

// What the two arena makers share: the three labelled boxes (map, long name,
// gametypes) in focus order, the save dialog, and Save As.
class ArenaMaker : public QMainWindow
{
    Q_OBJECT
protected:
    // The object names and captions that set the two makers apart, top to bottom.
    struct Rows {
        const char *mapLabel;
        const char *longnameLabel;
        const char *longnameBox;
        const char *gametypeCaption;
        const char *gametypeBox;
    };
    ArenaMaker(const Rows &rows, QWidget *parent);

    // The gametype list, in this order, with nothing picked.
    void fillGametypes(const QStringList &items);
    // Empties the three boxes; the list stays.
    void clearBoxes();
    // Copies the boxes into the record. An empty box (blanks count as filled)
    // gets the incomplete-entry message, titled as given (the application's
    // title when empty), and nothing is written; otherwise the record's text
    // is saved through the dialog.
    template <class Record> void saveAs(Record &record, QString (Record::*text)() const, const QString &incompleteTitle)
    {
        if (copyAndCheck(record, incompleteTitle))
            save((record.*text)());
    }

    QLineEdit *m_map = nullptr;
    QLineEdit *m_longname = nullptr;
    QComboBox *m_gametype = nullptr;
    QLabel *lblCheck = nullptr; // what the game would not take, kept up to date as the user types
    CommonDialog cd1;           // the save dialog

private:
    void updateCheck();
    QString gametypeCaption; // how the check names the gametype box
    bool copyAndCheck(ArenaRecord &record, const QString &incompleteTitle);
    void save(const QString &arenaText);
};

} // namespace tavrin

#include "arenamaker.h"

#include "arena.h"
#include "arenacheck.h"
#include "arenafile.h"
#include "editablecombobox.h"
#include "messagebox.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace tavrin {

ArenaMaker::ArenaMaker(const Rows &rows, QWidget *parent)
    : QMainWindow(parent)
    , cd1(this)
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto label = [central](const char *name, const char *caption) {
        auto *l = new QLabel(QString::fromLatin1(caption), central);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    auto box = [central](const char *name) {
        auto *b = new QLineEdit(central);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    QLabel *mapLabel = label(rows.mapLabel, "Map:");
    m_map = box("txtMap");
    QLabel *longnameLabel = label(rows.longnameLabel, "Longname:");
    m_longname = box(rows.longnameBox);
    QLabel *gametypeLabel = label("Label3", rows.gametypeCaption);
    gametypeCaption = gametypeLabel->text();
    m_gametype = new EditableComboBox(central); // what the box shows is saved
    m_gametype->setObjectName(QString::fromLatin1(rows.gametypeBox));

    lblCheck = new QLabel(central);
    lblCheck->setObjectName(QStringLiteral("lblCheck"));
    lblCheck->setTextFormat(Qt::PlainText);
    lblCheck->setWordWrap(true);

    auto *grid = new QGridLayout(central);
    grid->addWidget(mapLabel, 0, 0);
    grid->addWidget(m_map, 0, 1);
    grid->addWidget(longnameLabel, 1, 0);
    grid->addWidget(m_longname, 1, 1);
    grid->addWidget(gametypeLabel, 2, 0);
    grid->addWidget(m_gametype, 2, 1);
    grid->addWidget(lblCheck, 3, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);
    m_map->setMinimumWidth(220);

    setTabOrder(m_map, m_longname);
    setTabOrder(m_longname, m_gametype);
    m_map->setFocus();

    // The check follows every change of the three boxes; Save As goes ahead whatever it says.
    connect(m_map, &QLineEdit::textChanged, this, &ArenaMaker::updateCheck);
    connect(m_longname, &QLineEdit::textChanged, this, &ArenaMaker::updateCheck);
    connect(m_gametype, &QComboBox::currentTextChanged, this, &ArenaMaker::updateCheck);
}

void ArenaMaker::updateCheck()
{
    QStringList list;
    for (int i = 0; i < m_gametype->count(); ++i)
        list << m_gametype->itemText(i);
    lblCheck->setText(CheckArena(m_map->text(), m_longname->text(), m_gametype->currentText(), gametypeCaption, list)
                          .join(QLatin1Char('\n')));
}

void ArenaMaker::fillGametypes(const QStringList &items)
{
    m_gametype->clear();
    m_gametype->addItems(items);
    // Nothing picked: the box starts empty.
    m_gametype->setCurrentIndex(-1);
    m_gametype->clearEditText();
}

void ArenaMaker::clearBoxes()
{
    m_map->clear();
    m_longname->clear();
    m_gametype->setCurrentIndex(-1);
    m_gametype->clearEditText();
}

bool ArenaMaker::copyAndCheck(ArenaRecord &record, const QString &incompleteTitle)
{
    record.map = m_map->text();
    record.longname = m_longname->text();
    record.gametype = m_gametype->currentText();
    if (anyEmpty(record.map, record.longname, record.gametype)) {
        messageBox(this, IncompleteEntryText, QMessageBox::Ok, QMessageBox::Critical, incompleteTitle);
        return false;
    }
    return true;
}

void ArenaMaker::save(const QString &arenaText)
{
    saveArenaFile(this, cd1, arenaText);
}

} // namespace tavrin

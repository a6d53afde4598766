#include "frmCod2Efx.h"

#include "copybox.h"
#include "effectscatalogue.h"
#include "menus.h"
#include "processend.h"
#include "twips.h"
#include "windowregistry.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>

namespace tavrin {

namespace {
// A category entry. The list keeps its entries in alphabetical order without
// regard to case, the underscore before letters ("Weapon_Fire_Effects" above
// "Weapons_Effects"), whatever order they are added in.
class CategoryItem : public QListWidgetItem
{
public:
    using QListWidgetItem::QListWidgetItem;
    bool operator<(const QListWidgetItem &other) const override
    {
        const int order = QString::compare(text(), other.text(), Qt::CaseInsensitive);
        return order != 0 ? order < 0 : text() < other.text();
    }
};

void paintText(QWidget *widget, QPalette::ColorRole role, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}
} // namespace

frmCod2Efx::frmCod2Efx(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmCod2Efx"));
    setWindowTitle(QStringLiteral("Tavrin CoD 2 Effects List"));

    auto *central = new QWidget(this);
    setCentralWidget(central);
    central->setAutoFillBackground(true);
    paintText(central, QPalette::Window, Qt::black);

    Label1 = new QLabel(QStringLiteral("Effects Category:"), central);
    Label1->setObjectName(QStringLiteral("Label1"));
    List1 = new QListWidget(central);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setSortingEnabled(true);
    Label2 = new QLabel(QStringLiteral("Effects Listing:"), central);
    Label2->setObjectName(QStringLiteral("Label2"));
    Text1 = new CopyBox(central);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setMinimumWidth(twipsX(Text1, 4200));
    for (QLabel *heading : {Label1, Label2})
        paintText(heading, QPalette::WindowText, Qt::red);

    // Both headings on one line, both boxes with their tops on the next.
    auto *grid = new QGridLayout(central);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Label2, 0, 1);
    grid->addWidget(List1, 1, 0, Qt::AlignTop);
    grid->addWidget(Text1, 1, 1, Qt::AlignTop);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);

    setTabOrder(List1, Text1);

    mnuSettings = addMenu(menuBar(), "mnuSettings", QStringLiteral("&Settings"));
    mnuWs = addShowItem(mnuSettings, "mnuWs", QStringLiteral("Worldspawn Settings"), WindowId::Tavrin,
                        QKeySequence(Qt::CTRL | Qt::Key_W));
    mnuExit = addItem(mnuSettings, "mnuExit", QStringLiteral("&Exit"), this, &frmCod2Efx::mnuExit_Click,
                      QKeySequence(Qt::CTRL | Qt::Key_X));

    // The listing box would take Ctrl+X as Cut; in this window it is Exit.
    Text1->installEventFilter(this);

    connect(List1, &QListWidget::itemSelectionChanged, this, &frmCod2Efx::List1_Click);

    Form_Load();
    List1->setFocus();
}

void frmCod2Efx::Form_Load()
{
    List1->clearSelection();
    List1->setCurrentItem(nullptr);
    Text1->clear();
    for (const QString &name : effectCategoryNames())
        List1->addItem(new CategoryItem(name));
    // 2655 twips square; the listing box is as tall.
    List1->setFixedSize(twipsX(List1, 2655), twipsY(List1, 2655));
    Text1->setFixedHeight(List1->height());
}

void frmCod2Efx::List1_Click()
{
    const QList<QListWidgetItem *> selected = List1->selectedItems();
    if (selected.isEmpty())
        return;
    // A name the catalogue does not know leaves the listing as it was.
    if (const std::optional<QString> listing = EffectListing(selected.first()->text()))
        Text1->setPlainText(*listing);
}

void frmCod2Efx::mnuExit_Click()
{
    endProcess();
}

bool frmCod2Efx::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Text1 && event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (QKeySequence(key->keyCombination()) == mnuExit->shortcut()) {
            // Left unaccepted, the key goes to the Exit shortcut instead of Cut.
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace tavrin

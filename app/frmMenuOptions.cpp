#include "frmMenuOptions.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

frmMenuOptions::frmMenuOptions(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmMenuOptions"));
    setWindowTitle(QStringLiteral("Tavrin Revevi Tools Options"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint
                   | Qt::CustomizeWindowHint);

    auto *Frame1 = new QGroupBox(QStringLiteral("COD 2 Selection"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto *Frame2 = new QGroupBox(QStringLiteral("COD Selection"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    for (QGroupBox *frame : {Frame1, Frame2}) {
        auto *column = new QVBoxLayout(frame);
        column->setSpacing(8);
    }

    QPushButton *cmdEfx = addButton(Frame1, "cmdEfx", "&Worldspawn Settings", WindowId::Tavrin);
    QPushButton *Command2 = addButton(Frame1, "Command2", "Arena &Maker", WindowId::Arena);
    QPushButton *Command3 = addButton(Frame1, "Command3", "Effect &List", WindowId::Cod2Efx);
    QPushButton *cmdMapCFG = addButton(Frame2, "cmdMapCFG", "Map &Script Maker", WindowId::MapGsc);
    QPushButton *Command4 = addButton(Frame2, "Command4", "&Arena Maker", WindowId::ArenaCOD);
    // The bottom place of the COD frame stays empty, keeping the two columns level.
    auto *empty = new QWidget(Frame2);
    empty->setFixedHeight(cmdMapCFG->sizeHint().height());
    Frame2->layout()->addWidget(empty);

    auto *row = new QHBoxLayout(this);
    row->addWidget(Frame1);
    row->addWidget(Frame2);
    row->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(cmdEfx, Command2);
    setTabOrder(Command2, Command3);
    setTabOrder(Command3, Command4);
    setTabOrder(Command4, cmdMapCFG);
}

QPushButton *frmMenuOptions::addButton(QWidget *frame, const char *name, const char *caption, WindowId tool)
{
    auto *button = new QPushButton(QString::fromLatin1(caption), frame);
    button->setObjectName(QString::fromLatin1(name));
    button->setMinimumWidth(150);
    frame->layout()->addWidget(button);
    // The launcher stays open and unchanged; a tool already open comes to the front as it was.
    connect(button, &QPushButton::clicked, this, [tool] { WindowRegistry::instance().show(tool); });
    return button;
}

} // namespace tavrin

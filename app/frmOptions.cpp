#include "frmOptions.h"

#include "mapscriptchoices.h"
#include "windowregistry.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tavrin {

namespace {
QRadioButton *makeOption(QGroupBox *frame, const char *name, const char *caption)
{
    auto *option = new QRadioButton(QString::fromLatin1(caption), frame);
    option->setObjectName(QLatin1String(name));
    frame->layout()->addWidget(option);
    return option;
}
} // namespace

frmOptions::frmOptions(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("CoD Options"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint
                   | Qt::CustomizeWindowHint);

    Frame1 = new QGroupBox(QStringLiteral("Cod MAP Options"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame2 = new QGroupBox(QStringLiteral("CoD FX Options"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    for (QGroupBox *frame : {Frame1, Frame2})
        new QVBoxLayout(frame);

    // Each frame is a group of its own: a choice clears only its neighbour in
    // the same frame. Nothing is chosen when the window opens.
    Option2 = makeOption(Frame1, "Option2", "Enabled MapGsc");
    Option1 = makeOption(Frame1, "Option1", "Disabled MapGsc");
    Option3 = makeOption(Frame2, "Option3", "Enabled FX");
    Option4 = makeOption(Frame2, "Option4", "Disabled FX");

    auto *column = new QVBoxLayout(this);
    column->addWidget(Frame1);
    column->addWidget(Frame2);
    column->setSizeConstraint(QLayout::SetFixedSize);
    Frame1->setMinimumWidth(220);

    setTabOrder(Option2, Option3);
    setTabOrder(Option3, Option1);
    setTabOrder(Option1, Option4);

    // The FX options only move the choice within their frame.
    connect(Option2, &QRadioButton::clicked, this, &frmOptions::Option2_Click);
    connect(Option1, &QRadioButton::clicked, this, &frmOptions::Option1_Click);

    Form_Load();
}

void frmOptions::Form_Load()
{
    // The maker comes up first; the registry, which is building this window
    // for its own show, brings this window in front of it afterwards.
    WindowRegistry::instance().show(WindowId::MapGsc);
}

void frmOptions::Option2_Click()
{
    setMapGscEnabled(true);
}

void frmOptions::Option1_Click()
{
    setMapGscEnabled(false);
}

void frmOptions::setMapGscEnabled(bool enabled)
{
    for (MapScriptChoice choice : allMapScriptChoices) {
        // Each choice is reached afresh: a maker that is not loaded is loaded
        // (hidden) to take the setting, and keeps it when it is shown later.
        auto *maker = dynamic_cast<MapScriptChoices *>(WindowRegistry::instance().load(WindowId::MapGsc));
        if (!maker)
            return;
        maker->setChoiceEnabled(choice, enabled);
    }
}

} // namespace tavrin

#include "frmAbout.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace tavrin {

QString frmAbout::helpText()
{
    return QStringLiteral("To Open the Tools,  you have to goto View menu and select Options, also "
                          "you can check on the upcoming updates by clicking on the Check Updates. "
                          "if you have any Question you can send Email to ")
           + QLatin1String(AboutContactAddress);
}

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Tavrin CoD2 Worldspawn Utility"));

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFixedSize(128, 128);
    Picture1->setPixmap(QPixmap(QStringLiteral(":/icons/tavrin-128.png")));

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setFixedWidth(240);

    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken); // a grey line over a white one

    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdOK->setMinimumWidth(90);

    auto *grid = new QGridLayout(this);
    grid->addWidget(Picture1, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(Label1, 0, 1, Qt::AlignTop);
    grid->addWidget(Line1, 1, 0, 1, 2);
    grid->addWidget(lblVersion, 2, 0, Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(cmdOK, 2, 1, Qt::AlignRight);
    grid->setHorizontalSpacing(16);
    // A fixed dialog: its size follows its contents and the user cannot change it.
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    Form_Load();
}

void frmAbout::Form_Load()
{
    Label1->setText(helpText());
    lblVersion->setText(QStringLiteral("Beta Release 2.0"));
}

void frmAbout::cmdOK_Click()
{
    close(); // unloads: the registry deletes a window when it closes
}

void frmAbout::reject()
{
    cmdOK->click();
}

void frmAbout::closeEvent(QCloseEvent *event)
{
    // A plain close: QDialog would route the close box through reject(),
    // which presses OK, which closes again.
    event->accept();
}

} // namespace tavrin

#include "frmMapGsc.h"

#include "copybox.h"
#include "editablecombobox.h"
#include "mapscriptcheck.h"
#include "menus.h"
#include "messagebox.h"
#include "mymapgsc.h"
#include "textfile.h"
#include "windowregistry.h"

#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHash>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace tavrin {

namespace {
QLabel *makeLabel(QWidget *parent, const char *name, const QString &caption)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    // Captions are script pieces, shown as they stand.
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLineEdit *makeBox(QWidget *parent, const char *name, const QString &text, int minChars = 0)
{
    auto *box = new QLineEdit(text, parent);
    box->setObjectName(QLatin1String(name));
    if (minChars > 0) {
        const int width = box->fontMetrics().horizontalAdvance(QLatin1Char('0')) * minChars + 12;
        // Short boxes (numbers, tails) keep their size; the others may grow.
        if (minChars <= 6)
            box->setFixedWidth(width);
        else
            box->setMinimumWidth(width);
    }
    return box;
}

QComboBox *makeCombo(QWidget *parent, const char *name)
{
    auto *combo = new EditableComboBox(parent); // what the user types is used as typed
    combo->setObjectName(QLatin1String(name));
    combo->setMinimumContentsLength(22);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return combo;
}

// A row of controls, packed to the left.
QHBoxLayout *row(std::initializer_list<QWidget *> widgets)
{
    auto *layout = new QHBoxLayout;
    for (QWidget *w : widgets)
        layout->addWidget(w);
    layout->addStretch(1);
    return layout;
}

// How a coordinate box is named in a message.
QString describeBox(const QLineEdit *box)
{
    static const QHash<QString, QString> names{
        {QStringLiteral("txtX"), QStringLiteral("X box of the first effect")},
        {QStringLiteral("txtY"), QStringLiteral("Y box of the first effect")},
        {QStringLiteral("txtZ"), QStringLiteral("Z box of the first effect")},
        {QStringLiteral("txtXone"), QStringLiteral("X box of the second effect")},
        {QStringLiteral("txtYtwo"), QStringLiteral("Y box of the second effect")},
        {QStringLiteral("txtZthree"), QStringLiteral("Z box of the second effect")},
    };
    return names.value(box->objectName()) + QLatin1String(" (") + box->objectName() + QLatin1Char(')');
}
} // namespace

frmMapGsc::frmMapGsc(QWidget *parent)
    : QMainWindow(parent)
    , cd1(this)
{
    setObjectName(QStringLiteral("frmMapGsc"));
    setWindowTitle(QStringLiteral("Tavrin COD & COD2 Revevi Tools (Alpha 1.5)"));

    auto *central = new QWidget(this);
    setCentralWidget(central);

    Frame1 = new QGroupBox(QStringLiteral("CoD GSC and FX_GSC Settings"), central);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    QWidget *f = Frame1;

    txtMain = makeBox(f, "txtMain", QStringLiteral("main()"), 12);

    lblEffect = makeLabel(f, "lblEffect", QStringLiteral("level._effect"));
    txtAlias = makeBox(f, "txtAlias", QStringLiteral("[\"fire\"]"), 10);
    lblLoadfx = makeLabel(f, "lblLoadfx", QStringLiteral("= loadfx"));
    txtPath = makeBox(f, "txtPath", QStringLiteral("(\"fx/fire/tinybon.efx\");"), 28);
    lblMaps = makeLabel(f, "lblMaps", QStringLiteral("maps\\mp\\_fx::loopfx"));
    txtAliasOne = makeBox(f, "txtAliasOne", QStringLiteral("\"fire\","), 10);
    Label16 = makeLabel(f, "Label16", QStringLiteral("X:"));
    txtX = makeBox(f, "txtX", QStringLiteral("16,"), 5);
    Label17 = makeLabel(f, "Label17", QStringLiteral("Y:"));
    txtY = makeBox(f, "txtY", QStringLiteral("24,"), 5);
    Label18 = makeLabel(f, "Label18", QStringLiteral("Z:"));
    txtZ = makeBox(f, "txtZ", QStringLiteral("0"), 5);
    txtWait = makeBox(f, "txtWait", QStringLiteral(",0.6"), 5);

    lblEffect1 = makeLabel(f, "lblEffect1", QStringLiteral("level._effect"));
    txtAliasTwo = makeBox(f, "txtAliasTwo", QStringLiteral("[\"smoke\"]"), 10);
    lblLoadfx1 = makeLabel(f, "lblLoadfx1", QStringLiteral("= loadfx"));
    txtPathFx = makeBox(f, "txtPathFx", QStringLiteral("(\"fx/smoke/ash_smoke.efx\");"), 28);
    lblMaps1 = makeLabel(f, "lblMaps1", QStringLiteral("maps\\mp\\_fx::loopfx"));
    txtAliasThree = makeBox(f, "txtAliasThree", QStringLiteral("\"smoke\","), 10);
    Label22 = makeLabel(f, "Label22", QStringLiteral("X:"));
    txtXone = makeBox(f, "txtXone", QStringLiteral("16,"), 5);
    Label23 = makeLabel(f, "Label23", QStringLiteral("Y:"));
    txtYtwo = makeBox(f, "txtYtwo", QStringLiteral("24,"), 5);
    Label24 = makeLabel(f, "Label24", QStringLiteral("Z:"));
    txtZthree = makeBox(f, "txtZthree", QStringLiteral("32"), 5);
    txtWaitFx = makeBox(f, "txtWaitFx", QStringLiteral(",0.7"), 5);

    lblScf = makeLabel(f, "lblScf", QStringLiteral("setCullFog"));
    Text5 = makeBox(f, "Text5", QStringLiteral("0,"), 5);
    Text7 = makeBox(f, "Text7", QStringLiteral("6000,"), 5);
    Text8 = makeBox(f, "Text8", QStringLiteral(".32,"), 5);
    Text9 = makeBox(f, "Text9", QStringLiteral(".33,"), 5);
    Text10 = makeBox(f, "Text10", QStringLiteral(".40,"), 5);
    Text11 = makeBox(f, "Text11", QStringLiteral("0"), 5);

    Label3 = makeLabel(f, "Label3", QStringLiteral("ambientPlay"));
    cboAmbient = makeCombo(f, "cboAmbient");
    Label15 = makeLabel(f, "Label15", QStringLiteral("maps\\mp\\_load::main();"));

    Label1 = makeLabel(f, "Label1", QStringLiteral("Allies"));
    Label19 = makeLabel(f, "Label19", QStringLiteral("Axis"));
    for (QLabel *heading : {Label1, Label19}) {
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
    }
    Label9 = makeLabel(f, "Label9", QStringLiteral("Allies"));
    CboAllies = makeCombo(f, "CboAllies");
    Label5 = makeLabel(f, "Label5", QStringLiteral("Soldier types"));
    cboSoldier = makeCombo(f, "cboSoldier");
    Label6 = makeLabel(f, "Label6", QStringLiteral("Soldier Variation"));
    cboSoldierV = makeCombo(f, "cboSoldierV");
    Label7 = makeLabel(f, "Label7", QStringLiteral("Soldier Division"));
    cboDivision = makeCombo(f, "cboDivision");
    Label8 = makeLabel(f, "Label8", QStringLiteral("Weather"));
    cboWeather = makeCombo(f, "cboWeather");
    Label10 = makeLabel(f, "Label10", QStringLiteral("German Soldier"));
    cboGerman = makeCombo(f, "cboGerman");
    Label11 = makeLabel(f, "Label11", QStringLiteral("German Variation"));
    cboG_Sold_Var = makeCombo(f, "cboG_Sold_Var");
    Label12 = makeLabel(f, "Label12", QStringLiteral("German Division"));
    cboG_Division = makeCombo(f, "cboG_Division");
    Label13 = makeLabel(f, "Label13", QStringLiteral("German Weather"));
    cboG_Weather = makeCombo(f, "cboG_Weather");
    Label14 = makeLabel(f, "Label14", QStringLiteral("LayoutImage"));
    txtLayoutImage = makeBox(f, "txtLayoutImage", QString());

    Line1 = new QFrame(f);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::VLine);
    Line1->setFrameShadow(QFrame::Sunken);

    // The side words of the four side key lines. They are never shown, so the
    // user can neither see nor change them.
    Text2 = makeBox(f, "Text2", QStringLiteral("allies"));
    Text3 = makeBox(f, "Text3", QStringLiteral("defenders"));
    Text1 = makeBox(f, "Text1", QStringLiteral("attackers"));
    Text4 = makeBox(f, "Text4", QStringLiteral("axis"));
    Text6 = makeBox(f, "Text6", QStringLiteral("german"));
    for (QLineEdit *hidden : {Text2, Text3, Text1, Text4, Text6})
        hidden->hide();

    // Inside the frame, top to bottom.
    auto *frameLayout = new QVBoxLayout(Frame1);
    frameLayout->addLayout(row({txtMain}));
    frameLayout->addLayout(row({lblEffect, txtAlias, lblLoadfx, txtPath}));
    frameLayout->addLayout(row({lblMaps, txtAliasOne, Label16, txtX, Label17, txtY, Label18, txtZ, txtWait}));
    frameLayout->addLayout(row({lblEffect1, txtAliasTwo, lblLoadfx1, txtPathFx}));
    frameLayout->addLayout(
        row({lblMaps1, txtAliasThree, Label22, txtXone, Label23, txtYtwo, Label24, txtZthree, txtWaitFx}));
    frameLayout->addLayout(row({lblScf, Text5, Text7, Text8, Text9, Text10, Text11}));
    frameLayout->addLayout(row({Label3, cboAmbient}));
    frameLayout->addLayout(row({Label15}));
    frameLayout->addSpacing(6);

    auto *teams = new QGridLayout;
    teams->addWidget(Label1, 0, 0, 1, 2);
    teams->addWidget(Label19, 0, 3, 1, 2);
    const std::pair<QLabel *, QWidget *> left[] = {
        {Label9, CboAllies}, {Label5, cboSoldier}, {Label6, cboSoldierV}, {Label7, cboDivision}, {Label8, cboWeather}};
    const std::pair<QLabel *, QWidget *> right[] = {{Label10, cboGerman},
                                                    {Label11, cboG_Sold_Var},
                                                    {Label12, cboG_Division},
                                                    {Label13, cboG_Weather},
                                                    {Label14, txtLayoutImage}};
    for (int i = 0; i < 5; ++i) {
        teams->addWidget(left[i].first, i + 1, 0);
        teams->addWidget(left[i].second, i + 1, 1);
        teams->addWidget(right[i].first, i + 1, 3);
        teams->addWidget(right[i].second, i + 1, 4);
    }
    teams->addWidget(Line1, 0, 2, 6, 1);
    teams->setColumnStretch(1, 1);
    teams->setColumnStretch(4, 1);
    frameLayout->addLayout(teams);
    frameLayout->addStretch(1);

    // Right of the frame: the script, with the button below it.
    Text12 = new CopyBox(central);
    Text12->setObjectName(QStringLiteral("Text12"));
    Text12->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text12->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text12->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Text12->setMinimumWidth(440);
    Label2 = makeLabel(central, "Label2", QString());
    Label2->setAlignment(Qt::AlignTop | Qt::AlignRight);
    // The label takes the whole script as its caption; it must not stretch the window.
    Label2->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    Command1 = new QPushButton(QStringLiteral("<< Check Work >>"), central);
    Command1->setObjectName(QStringLiteral("Command1"));

    lblCheck = makeLabel(central, "lblCheck", QString());
    lblCheck->setWordWrap(true);
    lblCheck->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    auto *grid = new QGridLayout(central);
    grid->addWidget(Frame1, 0, 0, 3, 1);
    grid->addWidget(Label2, 0, 1);
    grid->addWidget(Text12, 0, 1);
    grid->addWidget(Command1, 1, 1, Qt::AlignHCenter);
    grid->addWidget(lblCheck, 2, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(0, 1);
    Text12->raise(); // covers the label

    createMenus();
    connect(Command1, &QPushButton::clicked, this, &frmMapGsc::Command1_Click);

    resize(1140, 520);
    Form_Load();
}

void frmMapGsc::createMenus()
{
    QMenu *mnuFile = addMenu(menuBar(), "mnuFile", QStringLiteral("&File"));
    addItem(mnuFile, "mnuSave", QStringLiteral("&Save"), this, &frmMapGsc::mnuSave_Click,
            QKeySequence(Qt::CTRL | Qt::Key_S));
    addItem(mnuFile, "mnuExit", QStringLiteral("&Exit"), this, &frmMapGsc::mnuExit_Click,
            QKeySequence(Qt::CTRL | Qt::Key_E));
    QMenu *mnuConfig = addMenu(menuBar(), "mnuConfig", QStringLiteral("Config"));
    addShowItem(mnuConfig, "mnuArena", QStringLiteral("Cod &Arena Cfg"), WindowId::Arena);
    addShowItem(mnuConfig, "mnuCod2", QStringLiteral("CoD 2 Config"), WindowId::Cod2Efx,
                QKeySequence(Qt::CTRL | Qt::Key_F2));
    QMenu *mnuOptions = addMenu(menuBar(), "mnuOptions", QStringLiteral("Options"));
    addShowItem(mnuOptions, "mnuCod_Options", QStringLiteral("CodOptions"), WindowId::Options,
                QKeySequence(Qt::CTRL | Qt::Key_O));
    QMenu *mnuInternet = addMenu(menuBar(), "mnuInternet", QStringLiteral("Internet"));
    addShowItem(mnuInternet, "mnuWebUpdates", QStringLiteral("WebUpdates"), WindowId::WebBrowser);
    addMenu(menuBar(), "mnuHelp", QStringLiteral("&Help"));
}

void frmMapGsc::setChoiceEnabled(MapScriptChoice choice, bool enabled)
{
    QWidget *control = nullptr;
    switch (choice) {
    case MapScriptChoice::Ambient: control = cboAmbient; break;
    case MapScriptChoice::Soldier: control = cboSoldier; break;
    case MapScriptChoice::SoldierVariation: control = cboSoldierV; break;
    case MapScriptChoice::Weather: control = cboWeather; break;
    case MapScriptChoice::Division: control = cboDivision; break;
    case MapScriptChoice::GermanWeather: control = cboG_Weather; break;
    case MapScriptChoice::GermanSoldierVariation: control = cboG_Sold_Var; break;
    case MapScriptChoice::GermanDivision: control = cboG_Division; break;
    case MapScriptChoice::German: control = cboGerman; break;
    case MapScriptChoice::Allies: control = CboAllies; break;
    case MapScriptChoice::LayoutImage: control = txtLayoutImage; break;
    }
    if (control)
        control->setEnabled(enabled);
}

void frmMapGsc::Form_Load()
{
    struct List {
        QComboBox *combo;
        QStringList items;
    };
    const QStringList weathers{QStringLiteral("normal"), QStringLiteral("winter")};
    const List lists[] = {
        {cboAmbient,
         {QStringLiteral("ambient_mp_berlin"), QStringLiteral("ambient_mp_brecourt"),
          QStringLiteral("ambient_mp_burnville"), QStringLiteral("ambient_mp_chateau"),
          QStringLiteral("ambient_mp_dam"), QStringLiteral("ambient_mp_factory"), QStringLiteral("ambient_mp_harbor"),
          QStringLiteral("ambient_mp_night"), QStringLiteral("ambient_mp_ocean"),
          QStringLiteral("ambient_mp_pegasusnight"), QStringLiteral("ambient_mp_powcamp"),
          QStringLiteral("ambient_mp_sewer"), QStringLiteral("ambient_mp_ship"), QStringLiteral("ambient_mp_snowy"),
          QStringLiteral("ambient_mp_staligrad"), QStringLiteral("ambient_mp_training")}},
        // The game reads american_soldiertype and russian_soldiervariation; other
        // spellings would be silently ignored by it.
        {cboSoldier,
         {QStringLiteral("american_soldiertype"), QStringLiteral("british_soldiertype"),
          QStringLiteral("russian_soldiertype")}},
        {cboSoldierV,
         {QStringLiteral("american_soldiervariation"), QStringLiteral("british_soldiervariation"),
          QStringLiteral("russian_soldiervariation")}},
        {cboDivision,
         {QStringLiteral("commando"), QStringLiteral("veteran"), QStringLiteral("airborne"),
          QStringLiteral("conscript")}},
        {cboWeather, weathers},
        {cboGerman, {QStringLiteral("german_soldiertype")}},
        {cboG_Sold_Var, {QStringLiteral("german_soldiervariation")}},
        {cboG_Division,
         {QStringLiteral("waffen"), QStringLiteral("fallschirmjagercamo"), QStringLiteral("wehrmacht"),
          QStringLiteral("kriegsmarine")}},
        {CboAllies, {QStringLiteral("american"), QStringLiteral("british"), QStringLiteral("russian")}},
        {cboG_Weather, weathers},
    };
    for (const List &list : lists) {
        list.combo->clear();
        list.combo->addItems(list.items);
        // Nothing is chosen until the user picks or types.
        list.combo->setCurrentIndex(-1);
        list.combo->clearEditText();
    }
    txtLayoutImage->clear();
}

mymapgsc &frmMapGsc::model()
{
    return WindowRegistry::instance().state<mymapgsc>(WindowId::MapGsc);
}

bool frmMapGsc::readCoordinate(const QString &text, const QLocale &locale, float *value)
{
    QString digits = text;
    digits.remove(locale.groupSeparator());
    bool ok = false;
    const float number = locale.toFloat(digits, &ok);
    if (!ok || !std::isfinite(number))
        return false;
    *value = number;
    return true;
}

void frmMapGsc::Command1_Click()
{
    // The coordinates are read first: a box that holds no number stops the
    // command before the model or the shown script changes.
    const QLocale locale;
    QLineEdit *const boxes[] = {txtX, txtY, txtZ, txtXone, txtYtwo, txtZthree};
    float numbers[6] = {};
    for (int i = 0; i < 6; ++i) {
        if (!readCoordinate(boxes[i]->text(), locale, &numbers[i])) {
            messageBox(this,
                       QLatin1String("The ") + describeBox(boxes[i]) + QLatin1String(" holds \"") + boxes[i]->text()
                           + QLatin1String("\", which is not a number."),
                       QMessageBox::Ok, QMessageBox::Warning);
            boxes[i]->setFocus();
            return;
        }
    }

    mymapgsc &m = model();
    m.game.clear();
    m.sMain = txtMain->text();
    m.soldierT = cboSoldier->currentText();
    m.soldierV = cboSoldierV->currentText();
    m.weather = cboWeather->currentText();
    m.division = cboDivision->currentText();
    m.allies = CboAllies->currentText();
    m.axis = Text6->text();
    m.attackers = Text2->text();
    m.defenders = Text4->text();
    m.attackers1 = Text1->text();
    m.defender1 = Text3->text();
    m.axis1 = Text4->text();
    m.allies1 = Text2->text();
    m.Ambient = cboAmbient->currentText();
    m.germanT = cboGerman->currentText();
    m.germanV = cboG_Sold_Var->currentText();
    m.germanW = cboG_Weather->currentText();
    m.germanD = cboG_Division->currentText();
    m.layoutimage = QStringLiteral("layoutimage");
    m.layout1 = txtLayoutImage->text();
    m.pathfx = txtPath->text();
    m.pathfx1 = txtPathFx->text();
    m.alias = txtAlias->text();
    m.alias1 = txtAliasOne->text();
    m.alias2 = txtAliasTwo->text();
    m.alias3 = txtAliasThree->text();
    m.effect = lblEffect->text();
    m.effect1 = lblEffect1->text();
    m.loadfx = lblLoadfx->text();
    m.loadfx1 = lblLoadfx1->text();
    m.maps = lblMaps->text();
    m.maps1 = lblMaps1->text();
    m.waitT = txtWait->text();
    m.waitV = txtWaitFx->text();
    m.x = numbers[0];
    m.y = numbers[1];
    m.z = numbers[2];
    m.x1 = numbers[3];
    m.y2 = numbers[4];
    m.z3 = numbers[5];
    m.sCF = lblScf->text();
    m.mp = Label3->text();
    m.mMP = Label15->text();
    m.a = Text5->text();
    m.b = Text7->text();
    m.c = Text8->text();
    m.d = Text9->text();
    m.e = Text10->text();
    m.f = Text11->text();

    Label2->setText(m.sHead());
    Text12->setPlainText(m.sHead());
    // The check only tells: Save writes the script whatever it finds.
    const QStringList problems = CheckMapScript(m);
    lblCheck->setText(problems.isEmpty() ? QStringLiteral("No problems found.") : problems.join(QLatin1Char('\n')));
}

void frmMapGsc::mnuSave_Click()
{
    cd1.CancelError = true;
    cd1.DialogTitle = QStringLiteral("Tavrin COD, COD2 Revevi Tools");
    cd1.Flags = CommonDialog::ReadOnly | CommonDialog::OverwritePrompt;
    cd1.Filter = QStringLiteral("GSC Files (*.gsc)");
    cd1.FileName.clear();
    if (!cd1.ShowSave())
        return; // cancelled

    // The name is used as given: no extension is added. Save writes the script
    // of the last Check Work, not what the boxes hold now.
    const QString path = cd1.FileName;
    const WriteResult result = writeAnsiText(path, model().sHead());
    if (!result.ok) {
        messageBox(this,
                   QLatin1String("The map script could not be saved to \"") + QDir::toNativeSeparators(path)
                       + QLatin1String("\": ") + result.error,
                   QMessageBox::Ok, QMessageBox::Critical);
    }
}

void frmMapGsc::mnuExit_Click()
{
    // Closing unloads the window; the model stays with the registry.
    close();
}

} // namespace tavrin

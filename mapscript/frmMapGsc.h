#pragma once

#include "commondialog.h"
#include "mapscriptchoices.h"

#include <QMainWindow>

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QLocale;
class QPushButton;

namespace tavrin {

class CopyBox;
class mymapgsc;

// The COD map script maker: the user fills in the pieces of a map's main
// script, Check Work copies them into the model and shows the script, and
// Save writes it to a .gsc file. The model belongs to the window's registry
// slot, so it outlives a close of the window.
class frmMapGsc : public QMainWindow, public MapScriptChoices
{
    Q_OBJECT
public:
    explicit frmMapGsc(QWidget *parent = nullptr);

    // The model this window fills; created empty on first use.
    static mymapgsc &model();

    // A coordinate as the user's regional settings write it, digit-group
    // separators ignored ("16," is 16 in English). False for anything that is
    // not a finite number.
    static bool readCoordinate(const QString &text, const QLocale &locale, float *value);

    // Switches one of the choices the tool options window acts on.
    void setChoiceEnabled(MapScriptChoice choice, bool enabled) override;

public slots:
    void Command1_Click();
    void mnuSave_Click();
    void mnuExit_Click();

private:
    void Form_Load();
    void createMenus();

    QGroupBox *Frame1;   // holds every choice
    QLineEdit *txtMain;  // function head
    QLabel *lblEffect;   // first effect line: start
    QLineEdit *txtAlias; // first effect alias
    QLabel *lblLoadfx;
    QLineEdit *txtPath; // first effect file
    QLabel *lblMaps;    // first loop call
    QLineEdit *txtAliasOne;
    QLabel *Label16, *Label17, *Label18;
    QLineEdit *txtX, *txtY, *txtZ;
    QLineEdit *txtWait;
    QLabel *lblEffect1; // second effect line: start
    QLineEdit *txtAliasTwo;
    QLabel *lblLoadfx1;
    QLineEdit *txtPathFx;
    QLabel *lblMaps1; // second loop call
    QLineEdit *txtAliasThree;
    QLabel *Label22, *Label23, *Label24;
    QLineEdit *txtXone, *txtYtwo, *txtZthree;
    QLineEdit *txtWaitFx;
    QLabel *lblScf;                                             // fog call
    QLineEdit *Text5, *Text7, *Text8, *Text9, *Text10, *Text11; // fog arguments
    QLabel *Label3;                                             // ambient sound call
    QComboBox *cboAmbient;
    QLabel *Label15;          // the load line
    QLabel *Label1, *Label19; // column headings "Allies" and "Axis"
    QLabel *Label9;
    QComboBox *CboAllies;
    QLabel *Label5;
    QComboBox *cboSoldier;
    QLabel *Label6;
    QComboBox *cboSoldierV;
    QLabel *Label7;
    QComboBox *cboDivision;
    QLabel *Label8;
    QComboBox *cboWeather;
    QLabel *Label10;
    QComboBox *cboGerman;
    QLabel *Label11;
    QComboBox *cboG_Sold_Var;
    QLabel *Label12;
    QComboBox *cboG_Division;
    QLabel *Label13;
    QComboBox *cboG_Weather;
    QLabel *Label14;
    QLineEdit *txtLayoutImage;
    QFrame *Line1;                                    // divides the two team columns
    QLineEdit *Text2, *Text3, *Text1, *Text4, *Text6; // side words, never shown
    CopyBox *Text12;                                  // the script, for reading and copying
    QLabel *Label2;                                   // the script again, covered by Text12
    QPushButton *Command1;                            // Check Work
    QLabel *lblCheck;                                 // what in the last checked script would not work in the game
    CommonDialog cd1;                                 // the save dialog
};

} // namespace tavrin

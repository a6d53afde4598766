#pragma once

#include "arenamaker.h"

class QAction;
class QComboBox;
class QLineEdit;
class QMenu;

namespace tavrin {

class Arena;

// The COD2 arena maker: map name, long name and gametypes, saved as an arena file.
class frmArena : public ArenaMaker
{
    Q_OBJECT
public:
    explicit frmArena(QWidget *parent = nullptr);

    // The window's record; it outlives the window's closes and is rewritten at every save.
    static Arena &arena();

public slots:
    void mnuNew_Click();
    void mnuSaveAs_Click();
    void mnuExit_Click();

private:
    void Form_Load();

    QLineEdit *txtMap;      // copied to map
    QLineEdit *txtLongName; // copied to longname
    QComboBox *cboGameType; // picked or typed, copied to gametype
    QMenu *mnuFile;
    QAction *mnuNew;
    QAction *mnuSaveAs;
    QAction *mnuExit;
    QAction *mnuAbout;
};

} // namespace tavrin

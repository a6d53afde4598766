#pragma once

#include "arenamaker.h"

class QAction;
class QComboBox;
class QLineEdit;
class QMenu;

namespace tavrin {

class ArenaCOD;

// The COD arena maker: map name, long name and gametypes, saved as an arena file.
class frmArenaCOD : public ArenaMaker
{
    Q_OBJECT
public:
    explicit frmArenaCOD(QWidget *parent = nullptr);

    // The window's record; it outlives the window's closes and is rewritten at every save.
    static ArenaCOD &arena();

public slots:
    void mnuSaveAs_Click();

private:
    void Form_Load();

    QLineEdit *txtMap;  // copied to map
    QLineEdit *txtGame; // the long name, copied to longname
    QComboBox *cboGt;   // picked or typed, copied to gametype
    QMenu *mnuFile;
    QAction *mnuSaveAs;
};

} // namespace tavrin

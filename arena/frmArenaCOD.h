#pragma once

#include "commondialog.h"

#include <QMainWindow>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;

namespace tavrin {

class ArenaCOD;

// The COD arena maker: map name, long name and gametypes, saved as an arena file.
class frmArenaCOD : public QMainWindow
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

    QLabel *M;
    QLineEdit *txtMap;  // copied to map
    QLabel *Label2;
    QLineEdit *txtGame; // the long name, copied to longname
    QLabel *Label3;
    QComboBox *cboGt;   // picked or typed, copied to gametype
    CommonDialog cd1;   // the save dialog
    QMenu *mnuFile;
    QAction *mnuSaveAs;
};

} // namespace tavrin

#pragma once

#include "editablecombobox.h"

#include <QMainWindow>

class QAction;
class QFrame;
class QLabel;
namespace tavrin {
class CopyBox;
}
class QPushButton;

namespace tavrin {

struct MapRow;

// A combo box that announces each opening of its list before the list shows.
class DropDownComboBox : public EditableComboBox
{
    Q_OBJECT
public:
    using EditableComboBox::EditableComboBox;
    void showPopup() override;
signals:
    void dropDown();
};

// The worldspawn viewer: pick a stock COD2 map, show its settings text, copy it.
class frmTavrin : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmTavrin(QWidget *parent = nullptr);

public slots:
    void Combo1_DropDown();
    void Command1_Click();
    void mnuEffects_Click();
    void cmdCopyEntity_Click();

private:
    void Form_Load();
    void showSwatches(const MapRow *row);

    CopyBox *Text1;                  // the copy box
    QPushButton *Command1;           // the show button
    DropDownComboBox *Combo1;        // the map box
    QLabel *Label3;                  // heading above the copy box
    QLabel *Label1;                  // holds the text too, covered by the copy box
    QPushButton *cmdCopyEntity;      // copies the shown map's worldspawn as map entity text
    QAction *mnuCopyEntity;          // the same, from the menu bar
    QFrame *swatches[3];             // the shown map's _color, sundiffusecolor, suncolor
    const MapRow *m_shown = nullptr; // the map whose text the copy box shows
};

} // namespace tavrin

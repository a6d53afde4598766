#pragma once

#include <QMainWindow>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;

namespace tavrin {

class CopyBox;

// The effects browser: the effect categories on the left, the file names of
// the chosen one on the right, for reading and copying.
class frmCod2Efx : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmCod2Efx(QWidget *parent = nullptr);

public slots:
    void List1_Click();
    void txtSearch_Change();
    void mnuExit_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();

    QLineEdit *txtSearch; // searches every file and category name
    QLabel *Label1;       // heading above the category list
    QListWidget *List1;   // the categories, kept sorted
    QLabel *Label2;       // heading above the listing box
    CopyBox *Text1;       // the listing box
    QMenu *mnuSettings;
    QAction *mnuWs;           // shows the worldspawn viewer
    QAction *mnuExit;         // ends the program at once
    bool m_searching = false; // the listing box shows search results
    QString m_listing;        // what it showed before the search began
};

} // namespace tavrin

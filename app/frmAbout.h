#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace tavrin {

// The contact address that ends the About text.
inline constexpr char AboutContactAddress[] = "tavrin.tools@revevi.net";

// The About box: how to reach the tools, the release label and one OK button
// that Enter and Esc press too. Shown modeless; OK (or the close box) unloads it.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

    // The help text of Label1, contact address included.
    static QString helpText();

public slots:
    void cmdOK_Click();
    // Esc presses OK, as the cancel button.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();

    QLabel *Picture1;   // the program's picture, top left
    QLabel *Label1;     // the help text, wrapped
    QFrame *Line1;      // the etched rule below picture and text
    QLabel *lblVersion; // the release label
    QPushButton *cmdOK; // default and cancel button
};

} // namespace tavrin

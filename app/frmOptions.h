#pragma once

#include <QWidget>

class QGroupBox;
class QRadioButton;

namespace tavrin {

// The tool options window: switches the map script maker's choice controls
// on and off. It stores nothing; the effect lasts while the maker stays loaded.
class frmOptions : public QWidget
{
    Q_OBJECT
public:
    explicit frmOptions(QWidget *parent = nullptr);

public slots:
    void Option1_Click(); // "Disabled MapGsc"
    void Option2_Click(); // "Enabled MapGsc"

private:
    void Form_Load();
    static void setMapGscEnabled(bool enabled);

    QGroupBox *Frame1;     // map script maker options
    QRadioButton *Option2; // "Enabled MapGsc"
    QRadioButton *Option1; // "Disabled MapGsc"
    QGroupBox *Frame2;     // effects options
    QRadioButton *Option3; // "Enabled FX"
    QRadioButton *Option4; // "Disabled FX"
};

} // namespace tavrin

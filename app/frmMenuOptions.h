#pragma once

#include "windowregistry.h"

#include <QWidget>

class QPushButton;

namespace tavrin {

// The tool launcher: one button per tool, grouped by game.
class frmMenuOptions : public QWidget
{
    Q_OBJECT
public:
    explicit frmMenuOptions(QWidget *parent = nullptr);

private:
    QPushButton *addButton(QWidget *frame, const char *name, const char *caption, WindowId tool);
};

} // namespace tavrin

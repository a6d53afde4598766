#pragma once

#include <QComboBox>

namespace tavrin {

// An editable drop-down combo box whose text is exactly what the user typed
// or picked. Qt's editable combo box completes typing inline from its list and
// folds the case to a list item's; this one does neither, and typing never
// adds an item to the list. Every editable combo box of the program is one.
class EditableComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit EditableComboBox(QWidget *parent = nullptr);
};

} // namespace tavrin

#include "editablecombobox.h"

namespace tavrin {

EditableComboBox::EditableComboBox(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(true);
    // Making the box editable gives it a case-insensitive inline completer;
    // without one, a typed text that matches an item only in case also stays
    // as typed when editing ends.
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
}

} // namespace tavrin

#include "components/SaveEdit.h"

TSaveEdit::TSaveEdit(QWidget *parent) : QLineEdit(parent), TSaveComponent(this) {}

void TSaveEdit::SaveTo(SettingsStore &store) {
    store.WriteString(objectName(), text());
}

void TSaveEdit::RestoreFrom(const SettingsStore &store) {
    if (store.Restorable(objectName()))
        setText(store.ReadString(objectName(), QString()));
}

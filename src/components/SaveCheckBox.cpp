#include "components/SaveCheckBox.h"

TSaveCheckBox::TSaveCheckBox(QWidget *parent) : QCheckBox(parent), TSaveComponent(this) {}

void TSaveCheckBox::SaveTo(SettingsStore &store) {
    // A grayed box is partly "checked" to Qt, but it was never switched on.
    store.WriteBool(objectName(), checkState() == Qt::Checked);
}

void TSaveCheckBox::RestoreFrom(const SettingsStore &store) {
    if (store.Restorable(objectName()))
        applyChecked(store.ReadBool(objectName(), false));
}

void TSaveCheckBox::applyChecked(bool checked) {
    // Qt counts a grayed box as checked, so going from grayed to checked would pass unnoticed;
    // for the host it is a change like any other and gets its one notification.
    if (checked && checkState() == Qt::PartiallyChecked) {
        setCheckState(Qt::Checked);
        emit toggled(true);
        return;
    }
    setChecked(checked);
}

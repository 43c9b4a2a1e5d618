#include "components/SaveCheckBox.h"

TSaveCheckBox::TSaveCheckBox(QWidget *parent)
    : QCheckBox(parent), options_(new TSimpleOptions(this)) {}

void TSaveCheckBox::Save() {
    if (OnSave)
        OnSave(this);
    // A grayed box is partly "checked" to Qt, but it was never switched on.
    const bool checked = checkState() == Qt::Checked;
    if (options_->UseRegistry) {
        SettingsKey key(options_->OpenSettingsKey(objectName()));
        RegistryValues::WriteBool(*key, objectName(), checked);
    } else {
        IniValues::WriteBool(*options_, objectName(), checked);
    }
}

void TSaveCheckBox::Restore() {
    if (OnRestore)
        OnRestore(this);
    if (options_->UseRegistry) {
        SettingsKey key(options_->OpenSettingsKey(objectName()));
        if (RegistryValues::Exists(*key, objectName()))
            applyChecked(RegistryValues::ReadBool(*key, objectName()));
    } else {
        applyChecked(IniValues::ReadBool(*options_, objectName(), false));
    }
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

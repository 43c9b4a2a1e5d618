#include "components/SaveEdit.h"

TSaveEdit::TSaveEdit(QWidget *parent) : QLineEdit(parent), options_(new TSimpleOptions(this)) {}

void TSaveEdit::Save() {
    if (OnSave)
        OnSave(this);
    if (options_->UseRegistry) {
        SettingsKey key(options_->OpenSettingsKey(objectName()));
        RegistryValues::WriteString(*key, objectName(), text());
    } else {
        IniValues::WriteString(*options_, objectName(), text());
    }
}

void TSaveEdit::Restore() {
    if (OnRestore)
        OnRestore(this);
    if (options_->UseRegistry) {
        SettingsKey key(options_->OpenSettingsKey(objectName()));
        if (RegistryValues::Exists(*key, objectName()))
            setText(RegistryValues::ReadString(*key, objectName()));
    } else {
        setText(IniValues::ReadString(*options_, objectName(), QString()));
    }
}

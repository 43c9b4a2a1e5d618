#include "components/SaveComponent.h"

TSaveComponent::TSaveComponent(QObject *self) : self_(self), options_(new TSimpleOptions(self)) {}

void TSaveComponent::Save() {
    if (OnSave)
        OnSave(self_);
    SettingsStore store = options_->OpenStore(self_->objectName());
    SaveTo(store);
}

void TSaveComponent::Restore() {
    if (OnRestore)
        OnRestore(self_);
    const SettingsStore store = options_->OpenStore(self_->objectName());
    RestoreFrom(store);
}

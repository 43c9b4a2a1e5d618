#pragma once

#include "components/Options.h"

#include <QObject>

#include <functional>

// What the persistent controls share: their storage options, their two events, and the order
// of a save or restore. The event comes first, so a value an OnSave handler sets is the one
// saved and a stored value overrides what an OnRestore handler sets; then the store that the
// options name at that moment is opened for the one operation. A control says only what it
// keeps.
class TSaveComponent {
public:
    virtual ~TSaveComponent() = default;
    TSaveComponent(const TSaveComponent &) = delete;
    TSaveComponent &operator=(const TSaveComponent &) = delete;

    TSimpleOptions *Options() const { return options_; }
    std::function<void(QObject *sender)> OnSave;
    std::function<void(QObject *sender)> OnRestore;

    virtual void Save();
    virtual void Restore();

protected:
    // `self` is the control: the sender of its events, the owner of its options, and the name
    // its settings key takes when the options leave RegSubKey empty.
    explicit TSaveComponent(QObject *self);

    virtual void SaveTo(SettingsStore &store) = 0;
    virtual void RestoreFrom(const SettingsStore &store) = 0;

private:
    QObject *self_;
    TSimpleOptions *options_;
};

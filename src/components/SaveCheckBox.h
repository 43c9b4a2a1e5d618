#pragma once

#include "components/SaveComponent.h"

#include <QCheckBox>

// A check box that keeps its state between runs, under its own name. A restore that changes
// the state changes it as a click would: the box's toggled signal, where the host connects its
// click handler, fires once; a restore that changes nothing fires nothing. Restore, registry: a
// missing value leaves the box as it is; profile: a missing entry unchecks it.
class TSaveCheckBox : public QCheckBox, public TSaveComponent {
    Q_OBJECT

public:
    explicit TSaveCheckBox(QWidget *parent = nullptr);

private:
    void SaveTo(SettingsStore &store) override;
    void RestoreFrom(const SettingsStore &store) override;
    void applyChecked(bool checked);
};

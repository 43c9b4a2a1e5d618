#pragma once

#include "components/Options.h"

#include <QCheckBox>

#include <functional>

// A check box that keeps its state between runs, under its own name. A restore that changes
// the state changes it as a click would: the box's toggled signal, where the host connects its
// click handler, fires once; a restore that changes nothing fires nothing.
class TSaveCheckBox : public QCheckBox {
    Q_OBJECT

public:
    explicit TSaveCheckBox(QWidget *parent = nullptr);

    TSimpleOptions *Options() const { return options_; }
    std::function<void(QObject *sender)> OnSave;
    std::function<void(QObject *sender)> OnRestore;

    void Save();
    // Registry: a missing value leaves the box as it is. Profile: a missing entry unchecks it.
    void Restore();

private:
    void applyChecked(bool checked);

    TSimpleOptions *options_;
};

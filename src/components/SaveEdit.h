#pragma once

#include "components/SaveComponent.h"

#include <QLineEdit>

// An edit box that keeps its text between runs, under its own name, where its Options say.
// Save and Restore run only when the host calls them. Restore, registry: a missing value leaves
// the text as it is; profile: a missing entry empties it.
class TSaveEdit : public QLineEdit, public TSaveComponent {
    Q_OBJECT

public:
    explicit TSaveEdit(QWidget *parent = nullptr);

private:
    void SaveTo(SettingsStore &store) override;
    void RestoreFrom(const SettingsStore &store) override;
};

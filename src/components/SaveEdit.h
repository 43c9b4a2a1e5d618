#pragma once

#include "components/Options.h"

#include <QLineEdit>

#include <functional>

// An edit box that keeps its text between runs, under its own name, where its Options say.
// Save and Restore run only when the host calls them.
class TSaveEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit TSaveEdit(QWidget *parent = nullptr);

    TSimpleOptions *Options() const { return options_; }
    std::function<void(QObject *sender)> OnSave;
    std::function<void(QObject *sender)> OnRestore;

    void Save();
    // Registry: a missing value leaves the text as it is. Profile: a missing entry empties it.
    void Restore();

private:
    TSimpleOptions *options_;
};

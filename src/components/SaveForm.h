#pragma once

#include "components/SaveComponent.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <functional>
#include <optional>
#include <stdexcept>

// The owner given to a TSaveForm is a widget but not a window: "Invalid class typecast".
class EInvalidCast : public std::runtime_error {
public:
    EInvalidCast() : std::runtime_error("Invalid class typecast") {}
};

// Keeps the placement of the window that owns it: its state (1 normal, 0 minimized,
// 2 maximized) and, unless maximized, its outer height, width, left and top; and, in a value of
// its own, whether it fills the screen over that state (then the bounds are those it had
// before, and leaving full screen brings them back). Without an owner
// window, Save and Restore do nothing at all. Where the window system does not tell where the
// window is, the stored left and top are kept as they were.
class TSaveForm : public QObject, public TSaveComponent {
    Q_OBJECT

public:
    // `owner` is the window whose placement is kept; null for none. An owner that is not a
    // window throws EInvalidCast.
    explicit TSaveForm(QWidget *owner);

    void Save() override;
    void Restore() override;

    // Asks whether the window system tells the window's position; the window system's own
    // answer (toolkit::windowSystemTellsPosition) unless a test sets another.
    void SetPositionKnown(std::function<bool()> known) { positionKnown_ = std::move(known); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void SaveTo(SettingsStore &store) override;
    void RestoreFrom(const SettingsStore &store) override;
    void applyHeight(int height);
    void applyWidth(int width);
    void applyLeft(int left);
    void applyTop(int top);
    QSize frameSize() const;
    void fitOuterSize();

    QPointer<QWidget> form_;
    std::function<bool()> positionKnown_;
    // Outer sizes applied before the window system could tell the frame around them.
    std::optional<int> outerHeight_;
    std::optional<int> outerWidth_;
    bool fitQueued_ = false;
    // The outer bounds the window had when last in its normal state, kept for a save while it
    // fills the screen.
    std::optional<QRect> normalFrame_;
};

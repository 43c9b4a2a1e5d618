#pragma once

// The program's display platform with a script on top: it refuses the operations a test
// names with the result the test gives, loses surfaces on request, answers as a desktop of
// another colour depth would, and notes what the desktop around it was asked.

#include "gk/DisplayPlatform.h"

#include <QString>

#include <map>
#include <set>
#include <vector>

class ScriptedDisplay : public gk::QtDisplayPlatform {
public:
    enum Op {
        Create,
        Cooperate,
        DisplayMode,
        GetMode,
        Primary,
        OffScreen,
        Attached,
        Restore,
        Flip,
        Blt,
        Fill,
        Lock,
        ColorKey,
        VBlank,
        CreatePalette,
        AttachPalette,
        SetEntries,
    };
    using Result = gk::DisplayResult;

    std::map<Op, Result> refused;
    // How many off-screen surfaces are made before a refusal of OffScreen applies.
    int offScreenBeforeRefusal = 0;
    std::set<const gk::PixelSurface *> lost;
    int64_t colors = 256;
    bool answer = true;

    int creates = 0;
    QStringList questions;
    int ends = 0;
    int beeps = 0;
    std::vector<bool> screenSaver; // each hold (true) and release (false), in order
    struct Mode {
        int width, height, bits;
    };
    std::vector<Mode> modes;

    void lose(const gk::PixelSurface &surface) { lost.insert(&surface); }

    bool create() override {
        ++creates;
        return !refused.count(Create) && QtDisplayPlatform::create();
    }
    Result setCooperativeLevel(QWidget *window, uint32_t flags) override {
        return refusal(Cooperate,
                       [&] { return QtDisplayPlatform::setCooperativeLevel(window, flags); });
    }
    Result setDisplayMode(int width, int height, int bits) override {
        modes.push_back({width, height, bits});
        return refusal(DisplayMode,
                       [&] { return QtDisplayPlatform::setDisplayMode(width, height, bits); });
    }
    bool getDisplayMode(gk::DisplayModeInfo &mode) override {
        return !refused.count(GetMode) && QtDisplayPlatform::getDisplayMode(mode);
    }
    int64_t desktopColors() override { return colors; }
    gk::PixelSurface *createPrimary(QSize size, int backBuffers) override {
        return refused.count(Primary) ? nullptr
                                      : QtDisplayPlatform::createPrimary(size, backBuffers);
    }
    gk::PixelSurface *createOffScreen(QSize size) override {
        if (refused.count(OffScreen) && offScreenBeforeRefusal-- <= 0)
            return nullptr;
        return QtDisplayPlatform::createOffScreen(size);
    }
    gk::PixelSurface *attachedBackBuffer(gk::PixelSurface &front) override {
        return refused.count(Attached) ? nullptr : QtDisplayPlatform::attachedBackBuffer(front);
    }
    Result restore(gk::PixelSurface &surface) override {
        if (refused.count(Restore))
            return refused.at(Restore);
        lost.erase(&surface);
        return Result::Ok;
    }
    Result flip(gk::PixelSurface &front) override {
        return drawing(Flip, {&front}, [&] { return QtDisplayPlatform::flip(front); });
    }
    Result bltToScreen(gk::PixelSurface &front, const QRect &target,
                       gk::PixelSurface &back) override {
        return drawing(Flip, {&front, &back},
                       [&] { return QtDisplayPlatform::bltToScreen(front, target, back); });
    }
    Result blt(gk::PixelSurface &dest, QPoint at, gk::PixelSurface &source, const QRect &sourceRect,
               const QRect &clip, bool keyed) override {
        return drawing(Blt, {&dest, &source}, [&] {
            return QtDisplayPlatform::blt(dest, at, source, sourceRect, clip, keyed);
        });
    }
    Result fill(gk::PixelSurface &dest, const QRect &rect, uint8_t index) override {
        return drawing(Fill, {&dest}, [&] { return QtDisplayPlatform::fill(dest, rect, index); });
    }
    uint8_t *lock(gk::PixelSurface &surface) override {
        return refused.count(Lock) ? nullptr : QtDisplayPlatform::lock(surface);
    }
    Result setColorKey(gk::PixelSurface &surface, uint8_t index) override {
        return refusal(ColorKey, [&] { return QtDisplayPlatform::setColorKey(surface, index); });
    }
    Result waitForVerticalBlank() override {
        return refusal(VBlank, [&] { return QtDisplayPlatform::waitForVerticalBlank(); });
    }
    Result createPalette(const gk::PaletteEntries &entries) override {
        return refusal(CreatePalette, [&] { return QtDisplayPlatform::createPalette(entries); });
    }
    Result attachPalette(gk::PixelSurface &front) override {
        return refusal(AttachPalette, [&] { return QtDisplayPlatform::attachPalette(front); });
    }
    Result setPaletteEntries(int first, const gk::PaletteEntry *entries, int count) override {
        return refusal(SetEntries,
                       [&] { return QtDisplayPlatform::setPaletteEntries(first, entries, count); });
    }
    void beep() override { ++beeps; }
    bool confirm(QWidget *, const QString &question) override {
        questions << question;
        return answer;
    }
    void endApplication() override { ++ends; }
    void holdScreenSaver(bool hold) override { screenSaver.push_back(hold); }

private:
    template <typename Call> Result refusal(Op op, Call call) {
        return refused.count(op) ? refused.at(op) : call();
    }
    template <typename Call>
    Result drawing(Op op, std::initializer_list<const gk::PixelSurface *> surfaces, Call call) {
        for (const gk::PixelSurface *surface : surfaces)
            if (lost.count(surface))
                return Result::SurfaceLost;
        return refusal(op, call);
    }
};

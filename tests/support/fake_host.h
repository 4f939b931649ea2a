#pragma once

#include "tray_host.h"

#include <QStringList>
#include <chrono>
#include <functional>

namespace rp::test {

// Records what a tray asks of its application and view.
class FakeHost : public ITrayHost {
public:
    void PlayRollSound(int diceCount) override { sounds.append(diceCount); }
    QString GetDieColor() const override { return dieColor; }
    int GetRollDelay() const override { return delay; }
    void RepaintActiveView() override {
        ++repaints;
        if (onRepaint)
            onRepaint();
    }
    int GetViewClientWidth(const CTableDoc&) const override { return viewWidth; }
    // A clock that moves on by `tick` every time it is read.
    std::chrono::steady_clock::time_point Now() const override { return now += tick; }

    QList<int> sounds;
    QString dieColor;
    int delay = 0;
    int repaints = 0;
    int viewWidth = 1000;
    std::function<void()> onRepaint;
    mutable std::chrono::steady_clock::time_point now;
    std::chrono::milliseconds tick{0};
};

} // namespace rp::test

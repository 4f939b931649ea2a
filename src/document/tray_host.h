#pragma once

#include <QString>
#include <chrono>

namespace rp {

class CTableDoc;

// What a tray needs from the application and its view while it is edited:
// sounds, the die colour and roll delay, repainting, the view's width.
class ITrayHost {
public:
    virtual ~ITrayHost() = default;
    virtual void PlayRollSound(int diceCount) = 0;
    // The colour name new dice get; empty for the default.
    virtual QString GetDieColor() const = 0;
    // How long a roll animates, in milliseconds; read on every pass.
    virtual int GetRollDelay() const = 0;
    // Paints the active tray view at once.
    virtual void RepaintActiveView() = 0;
    // The client width of the first view showing `document`, for arranging it.
    virtual int GetViewClientWidth(const CTableDoc& document) const = 0;
    // The clock a roll's delay is measured on.
    virtual std::chrono::steady_clock::time_point Now() const {
        return std::chrono::steady_clock::now();
    }
};

} // namespace rp

#pragma once

#include <QString>
#include <memory>

class QSoundEffect;

namespace rp {

// Where roll sounds go; tests put a recorder here.
class IRollSoundPlayer {
public:
    virtual ~IRollSoundPlayer() = default;
    // Plays the named sound resource asynchronously, cutting off one still playing.
    virtual void Play(const QString& name) = 0;
};

// Plays the sounds from the program's resources. Without an audio output it
// says so once and stays silent; it never blocks.
class CRollSoundPlayer : public IRollSoundPlayer {
public:
    CRollSoundPlayer();
    ~CRollSoundPlayer() override;
    void Play(const QString& name) override;

private:
    QSoundEffect* EffectFor(const QString& name);

    std::unique_ptr<QSoundEffect> one;
    std::unique_ptr<QSoundEffect> many;
    bool checkedOutput = false;
    bool hasOutput = false;
};

} // namespace rp

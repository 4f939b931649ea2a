#include "roll_sound_player.h"

#include "dice_app.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <QtDebug>

namespace rp {

CRollSoundPlayer::CRollSoundPlayer() = default;
CRollSoundPlayer::~CRollSoundPlayer() = default;

QSoundEffect* CRollSoundPlayer::EffectFor(const QString& name) {
    std::unique_ptr<QSoundEffect>& effect = name == CDiceApp::kRollOneSound ? one : many;
    if (!effect) {
        // Loaded once and kept: the sounds are short and played often.
        effect = std::make_unique<QSoundEffect>();
        effect->setSource(QUrl(QStringLiteral("qrc:/") + name));
    }
    return effect.get();
}

void CRollSoundPlayer::Play(const QString& name) {
    if (!checkedOutput) {
        checkedOutput = true;
        hasOutput = !QMediaDevices::defaultAudioOutput().isNull();
        if (!hasOutput)
            qInfo("No audio output: roll sounds are off.");
    }
    if (!hasOutput)
        return;
    for (QSoundEffect* effect : {one.get(), many.get()})
        if (effect)
            effect->stop();
    QSoundEffect* effect = EffectFor(name);
    effect->play();
}

} // namespace rp

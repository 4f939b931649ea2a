#pragma once

#include <QApplication>
#include <memory>

namespace rp {

class CRollLog;
class IRollSoundPlayer;

// The application base both programs share: it plays the roll sounds.
class CDiceApp : public QApplication {
    Q_OBJECT
public:
    static constexpr const char* kOrganization = "Brackenfold Software";
    static inline const QString kRollOneSound = QStringLiteral("IDR_WAVE_ROLL_1");
    static inline const QString kRollManySound = QStringLiteral("IDR_WAVE_ROLL_MANY");

    // `applicationName` names the program's settings (organisation "Brackenfold Software").
    CDiceApp(int& argc, char** argv, const QString& applicationName);
    ~CDiceApp() override;

    // The running application, or null when it is not a CDiceApp.
    static CDiceApp* Instance();

    // One die plays the short sound, more the long one, none nothing.
    virtual void PlayRollSound(int count);

    // Replaces where sounds go (tests record them instead of playing).
    void SetSoundPlayer(std::unique_ptr<IRollSoundPlayer> player);

    // The session's log of rolls, which every roll of the program adds to.
    CRollLog& RollLog() { return *rollLog; }

private:
    std::unique_ptr<CRollLog> rollLog;
    std::unique_ptr<IRollSoundPlayer> soundPlayer;
};

} // namespace rp

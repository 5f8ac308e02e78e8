// What the splash screen says that changes while the game runs, written
// over the splash picture: each player's keys as the controls have them
// now, every mode's key, and whether the sound is on. The default splash
// picture leaves these places free.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "input/controls.h"

namespace ib {

struct Screen;

struct SplashText {
    int x = 0, y = 0;   // the top of the line; x its left end, or its right end when rightAligned
    bool rightAligned = false;
    bool centred = false;
    int height = 0;     // of the lettering's line
    std::uint16_t colour = 0;
    std::string text;
};

std::vector<SplashText> splashLettering(const Controls& controls, bool soundOn);

// The lettering, made again only when the controls or the sound changed.
class SplashLetteringCache {
public:
    const std::vector<SplashText>& of(const Controls& controls, bool soundOn)
    {
        if (!made_ || controls != controls_ || soundOn != soundOn_) {
            lettering_ = splashLettering(controls, soundOn);
            controls_ = controls;
            soundOn_ = soundOn;
            made_ = true;
        }
        return lettering_;
    }

private:
    bool made_ = false;
    Controls controls_;
    bool soundOn_ = false;
    std::vector<SplashText> lettering_;
};
void drawSplashLettering(Screen& screen, const std::vector<SplashText>& lettering);

}  // namespace ib

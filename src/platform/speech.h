#pragma once
// The speech service: says short texts aloud for a player who plays by ear.
#include <string>

namespace mem {

class Speech {
public:
    virtual ~Speech() = default;
    // Says `text` (a definition's own encoding, as captions), cutting off whatever is still being said. Returns
    // at once: speech never holds up the game.
    virtual void say(const std::string& text) = 0;
};

}  // namespace mem

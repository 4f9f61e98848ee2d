#pragma once
// Speech through the desktop's speech service, speech-dispatcher, as screen
// readers use it, so the user's voice, rate and language apply.
#include <memory>
#include <string>

#include "platform/speech.h"

namespace mem {

class SpeechDispatcher : public Speech {
public:
    // Connects on a thread of its own (SPEECHD_ADDRESS names the service's
    // address); when it cannot, one line goes to standard error and every
    // text is dropped.
    SpeechDispatcher();
    ~SpeechDispatcher() override;

    void say(const std::string& text) override;

    struct Channel;

private:
    std::shared_ptr<Channel> channel_;
};

}  // namespace mem

#include "platform/sdl/speech_dispatcher.h"

#include <libspeechd.h>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/sdl/text_encoding.h"
#include "platform/translation.h"

namespace mem {

// What the game thread hands to the speaking thread: the newest text only,
// since new speech cuts off what has not been said yet.
struct SpeechDispatcher::Channel {
    std::mutex mutex;
    std::condition_variable wake;
    std::optional<std::string> pending;
    bool closing = false;
};

namespace {

void report(const char* what, const char* reason) {
    if (reason)
        std::fprintf(stderr, tr("memory: speech is off: %s: %s\n"), what, reason);
    else
        std::fprintf(stderr, tr("memory: speech is off: %s\n"), what);
}

SPDConnection* connect() {
    char* error = nullptr;
    SPDConnectionAddress* address = spd_get_default_address(&error);
    if (!address) {
        report(tr("no address for the speech service"), error);
        std::free(error);
        return nullptr;
    }
    SPDConnection* connection = spd_open2("memory", "game", nullptr, SPD_MODE_SINGLE, address, 1, &error);
    SPDConnectionAddress__free(address);
    if (!connection) report(tr("cannot reach the speech service"), error);
    std::free(error);
    return connection;
}

// The speaking thread: it waits for texts, and each new one cancels what
// is still being said. Only this thread talks to the service, so a slow
// or stuck service never holds up the game.
void speak(std::shared_ptr<SpeechDispatcher::Channel> channel) {
    SPDConnection* connection = connect();
    for (;;) {
        std::string text;
        {
            std::unique_lock lock(channel->mutex);
            channel->wake.wait(lock, [&] { return channel->pending || channel->closing; });
            if (channel->closing) break;
            text = std::move(*channel->pending);
            channel->pending.reset();
        }
        if (!connection) continue;
        spd_cancel(connection);
        if (spd_say(connection, SPD_TEXT, text.c_str()) < 0) {
            report(tr("the speech service stopped answering"), nullptr);
            spd_close(connection);
            connection = nullptr;
        }
    }
    if (connection) spd_close(connection);
}

}  // namespace

SpeechDispatcher::SpeechDispatcher() : channel_(std::make_shared<Channel>()) {
    // Detached: ending the game never waits for the service.
    std::thread(speak, channel_).detach();
}

SpeechDispatcher::~SpeechDispatcher() {
    std::lock_guard lock(channel_->mutex);
    channel_->closing = true;
    channel_->wake.notify_one();
}

void SpeechDispatcher::say(const std::string& text) {
    std::lock_guard lock(channel_->mutex);
    channel_->pending = to_utf8(text);
    channel_->wake.notify_one();
}

}  // namespace mem

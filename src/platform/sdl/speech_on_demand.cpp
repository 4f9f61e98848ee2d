// The speech-dispatcher calls of the speaking thread. libspeechd is opened
// when speech is first switched on, so a game played without speech never
// loads it; without it speech stays off with one line on standard error.
#include <libspeechd.h>

#include <cstdlib>
#include <cstring>

#include "platform/on_demand.h"

namespace {

constexpr const char* kLibrary = "libspeechd.so.2";

template <typename Function>
Function* find(const char* name, const char** error) {
    return reinterpret_cast<Function*>(mem::on_demand_symbol(kLibrary, name, error));
}

}  // namespace

extern "C" {

// The first call: a missing library is reported as the service's error.
SPDConnectionAddress* spd_get_default_address(char** error) {
    const char* missing = nullptr;
    auto* real = find<decltype(spd_get_default_address)>("spd_get_default_address", &missing);
    if (real) return real(error);
    if (error) *error = strdup(missing ? missing : kLibrary);
    return nullptr;
}

// Called only after an address was found, so the library is there.
#define REAL(name) ([] { const char* e = nullptr; static auto* const f = find<decltype(name)>(#name, &e); return f; }())

SPDConnection* spd_open2(const char* client_name, const char* connection_name, const char* user_name,
                         SPDConnectionMode mode, const SPDConnectionAddress* address, int autospawn,
                         char** error_result) {
    return REAL(spd_open2)(client_name, connection_name, user_name, mode, address, autospawn, error_result);
}
void SPDConnectionAddress__free(SPDConnectionAddress* address) { REAL(SPDConnectionAddress__free)(address); }
int spd_say(SPDConnection* connection, SPDPriority priority, const char* text) {
    return REAL(spd_say)(connection, priority, text);
}
int spd_cancel(SPDConnection* connection) { return REAL(spd_cancel)(connection); }
void spd_close(SPDConnection* connection) { REAL(spd_close)(connection); }

}  // extern "C"

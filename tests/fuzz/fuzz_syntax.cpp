// Arbitrary bytes through the item reader and every value reader: the whole input is read as a definition file and
// every item's value goes through the number, colour, flag, tab-field and path readers.
#include "definition/syntax.h"
#include "platform/headless/headless_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static mem::HeadlessPlatform platform;
    mem::ItemReader items(std::string(reinterpret_cast<const char*>(data), size));
    for (size_t count = 1; !items.at_end(); ++count) {
        const std::string item = items.next();
        // The reader always moves on: never more items than bytes.
        if (count > size + 1) __builtin_trap();
        if (mem::memIsSection(item)) {
            (void)mem::memGetSection(item);
            continue;
        }
        const std::string value = mem::memGetValue(item);
        (void)mem::memToWhole(mem::memReadNumber(value));
        (void)mem::memToColour(mem::memReadNumber(value));
        (void)mem::memReadStrictNumber(value);
        (void)mem::memValToBool(value);
        for (int16_t n = 0; n <= 5; ++n) (void)mem::strGetTab(platform, value, n);
        (void)mem::memStripExtension(value);
        (void)mem::memResolvePath(platform, value, "/nonexistent/game/");
        (void)mem::memContains(value, mem::memLower(mem::memGetKey(item)));
    }
    return 0;
}

// libFuzzer entry for the replay reader: any bytes must be read without a
// crash, and a replay it accepts must write out as text that reads back to
// the same replay.
#include "app/replay.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const ReplayParse parse = parseReplay(std::string(reinterpret_cast<const char*>(bytes), size));
    if (!parse.replay) {
        if (parse.error.empty())
            __builtin_trap();  // a refusal always says why
        return 0;
    }
    const std::string written = formatReplay(*parse.replay);
    const ReplayParse again = parseReplay(written);
    if (!again.replay || formatReplay(*again.replay) != written ||
        again.replay->frames.size() != parse.replay->frames.size())
        __builtin_trap();
    return 0;
}

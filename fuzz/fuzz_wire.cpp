// Frames of the window-message wire and class-entry targets, as a window or a client reads
// them from a peer: a frame that decodes encodes back to the same bytes.
#include <cstring>

#include "fuzz/FuzzInput.h"
#include "platform/WindowWire.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (std::size_t at = 0; at + platform::wire::FrameSize <= size;
         at += platform::wire::FrameSize) {
        if (const auto frame = platform::wire::Decode(data + at)) {
            unsigned char again[platform::wire::FrameSize];
            platform::wire::Encode(*frame, again);
            if (std::memcmp(again, data + at, sizeof again) != 0) {
                __builtin_trap();
            }
        }
    }
    const platform::HWND window = platform::wire::HandleFromEntryTarget(fuzz::Bytes(data, size));
    if (window != 0 &&
        platform::wire::HandleFromEntryTarget(platform::wire::EntryTarget(window)) != window) {
        __builtin_trap();
    }
    return 0;
}

// cantorix.ini, whole and as the encoder reads its colour line.
#include "fuzz/FuzzInput.h"
#include "lyrics/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = fuzz::WriteInput(data, size);
    (void)lyrics::ReadSettingsFile(path);
    (void)lyrics::ReadColourLine(path);
    return 0;
}

// The delimited-field reader on any bytes: strings and numbers in turn until the end.
#include "fuzz/FuzzInput.h"
#include "lyrics/DelimitedFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lyrics::FieldReader reader(fuzz::Bytes(data, size));
    bool number = !size || data[0] % 2;
    while (!reader.AtEnd()) {
        if (number) {
            bool empty = false;
            if (const auto value = reader.ReadNumber(&empty)) {
                (void)lyrics::FormatNumber(*value);
            }
        } else if (!reader.ReadString()) {
            __builtin_trap();  // AtEnd() said a field was left
        }
        number = !number;
    }
    return 0;
}

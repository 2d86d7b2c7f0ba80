// A source text as the encoder takes it up: rich or plain text from a file, then its lines.
#include "encoder/RichText.h"
#include "encoder/SourceText.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)encoder::ReadRichText(fuzz::Bytes(data, size));
    if (const auto text = encoder::ReadSourceText(fuzz::WriteInput(data, size))) {
        (void)encoder::SplitSourceText(*text);
    }
    return 0;
}

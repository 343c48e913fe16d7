// Fuzz target: a clipboard block from another program read by a script of typed reads. The first
// byte counts the script's steps, each step is one byte (a read kind and, for byte reads and skips, a
// length in its upper bits); the rest is the block. Every failure must be a CQuorError that leaves
// the read position where it was; a crash, a read outside the block or a sanitizer report is a bug.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "storage/memory_clipboard_codec.h"
#include "storage/quor_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    size_t steps = data[0];
    if (steps > size - 1)
        steps = size - 1;
    const uint8_t* script = data + 1;
    std::string block(reinterpret_cast<const char*>(script + steps), size - 1 - steps);
    CMemoryClipboardCodec codec(block);
    std::vector<char> bytes(64);
    for (size_t i = 0; i < steps; ++i) {
        size_t before = codec.GetReadPosition();
        size_t length = script[i] >> 2;
        try {
            switch (script[i] & 3) {
            case 0:
                codec.ReadInt();
                break;
            case 1:
                codec.ReadString();
                break;
            case 2:
                codec.ReadBytes(bytes.data(), length);
                break;
            default:
                codec.Skip(length);
                break;
            }
        } catch (const CQuorError&) {
            if (codec.GetReadPosition() != before)
                std::abort();
        }
        if (codec.GetReadPosition() > codec.GetSize())
            std::abort();
    }
    return 0;
}

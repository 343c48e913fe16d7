#include "framework/ansi_case.h"

namespace {

struct FoldTable {
    unsigned char lower[256];
    FoldTable()
    {
        char bytes[256];
        for (int i = 0; i < 256; ++i)
            bytes[i] = static_cast<char>(i);
        AnsiLowerBuffer(bytes + 1, 255);  // byte 0 ends a text and stays
        lower[0] = 0;
        for (int i = 1; i < 256; ++i)
            lower[i] = static_cast<unsigned char>(bytes[i]);
    }
};

}  // namespace

const unsigned char* AnsiLowerTable()
{
    static const FoldTable table;
    return table.lower;
}

#include "storage/record_key_guard.h"

#include "storage/data_file.h"
#include "storage/quor_error.h"

int EffectivePackedMode(const CDataFile& file, int mode)
{
    return file.IsProtectAll() ? (mode | 3) : mode;
}

bool HasRecordKey(const CDataFile& file)
{
    const uint8_t* key = file.GetRecordKey();
    for (int i = 0; i < 16; ++i)
        if (key[i] != 0) return true;
    return false;
}

void RequireRecordKeyFor(const CDataFile& file, int mode)
{
    if ((EffectivePackedMode(file, mode) & 2) != 0 && !HasRecordKey(file))
        throw CQuorError(kWrongPassword, file.GetFilePath());
}

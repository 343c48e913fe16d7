#include "document/keyed_record_copy.h"

#include <cstdint>
#include <vector>

#include "storage/keyed_record_stream.h"

bool CopyKeyedRecordBytes(CDataFile& source, CDataFile& target, int key)
{
    if (CKeyedRecordStream::FindKey(&source, key) == kNoneId)
        return false;
    std::vector<uint8_t> bytes;
    {
        CKeyedRecordStream in;
        in.Open(&source, key, CRecordStream::kRead);
        bytes = in.ReadByteBlock();
        in.Close();
    }
    CKeyedRecordStream out;
    out.Open(&target, key, CRecordStream::kRewrite);
    out.WriteByteBlock(bytes.data(), static_cast<int32_t>(bytes.size()));
    out.Close();
    return true;
}

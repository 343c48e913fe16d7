#include "storage/article_info.h"

#include "storage/quor_error.h"
#include "storage/record_stream.h"

namespace {

constexpr int16_t kNewMarker = static_cast<int16_t>(0xF33F);
constexpr int16_t kOldMarker = static_cast<int16_t>(0xF22F);

// Reads the fields of one stored part within its stored length.
class CPartReader {
public:
    explicit CPartReader(CRecordStream& stream) : m_stream(stream)
    {
        int32_t length = stream.ReadInt();
        m_remaining = length > 0 ? length : 0;
    }

    // False when the part ends before the field; otherwise the field, or as many of its low bytes as
    // the part still holds.
    template <typename T>
    bool Field(T& value)
    {
        if (m_remaining <= 0) return false;
        int32_t n = m_remaining < static_cast<int32_t>(sizeof(T)) ? m_remaining : static_cast<int32_t>(sizeof(T));
        uint8_t bytes[sizeof(T)] = {};
        int code = m_stream.ReadRaw(bytes, n);
        if (code != 0) throw CQuorError(code, m_stream.GetFilePath());
        uint32_t raw = 0;
        for (int i = static_cast<int>(sizeof(T)) - 1; i >= 0; --i) raw = (raw << 8) | bytes[i];
        value = static_cast<T>(raw);
        m_remaining -= n;
        return true;
    }

    void SkipRest()
    {
        if (m_remaining > 0) m_stream.Skip(m_remaining);
        m_remaining = 0;
    }

private:
    CRecordStream& m_stream;
    int32_t m_remaining;
};

}  // namespace

void CArticleInfo::Reset(bool saveFullPaths, int32_t wordWrap)
{
    m_flags = saveFullPaths ? kSaveFullPaths : 0;
    m_keepTitle = 0;
    m_editorState = 0;
    m_attachmentOpening = 0;
    m_wordWrap = wordWrap;
}

bool CArticleInfo::operator==(const CArticleInfo& other) const
{
    return m_flags == other.m_flags && m_keepTitle == other.m_keepTitle &&
           m_editorState == other.m_editorState && m_attachmentOpening == other.m_attachmentOpening &&
           m_wordWrap == other.m_wordWrap;
}

void CArticleInfo::ReadNewForm(CRecordStream& stream)
{
    Reset(true);
    CPartReader part(stream);
    int16_t marker = 0;  // a wrong marker is ignored
    part.Field(marker) && part.Field(m_wordWrap) && part.Field(m_editorState) &&
        part.Field(m_attachmentOpening) && part.Field(m_keepTitle) && part.Field(m_flags);
    part.SkipRest();
}

void CArticleInfo::WriteNewForm(CRecordStream& stream) const
{
    stream.WriteInt(20);
    stream.WriteShort(kNewMarker);
    stream.WriteInt(m_wordWrap);
    stream.WriteInt(m_editorState);
    stream.WriteInt(m_attachmentOpening);
    stream.WriteInt(m_keepTitle);
    stream.WriteShort(m_flags);
}

void CArticleInfo::ReadOldPart1(CRecordStream& stream)
{
    CPartReader part(stream);
    if (!part.Field(m_wordWrap)) Reset();
    part.SkipRest();
}

void CArticleInfo::WriteOldPart1(CRecordStream& stream) const
{
    stream.WriteInt(4);
    stream.WriteInt(m_wordWrap);
}

void CArticleInfo::ReadOldPart2(CRecordStream& stream)
{
    CPartReader part(stream);
    int16_t marker = 0;
    if (!part.Field(marker) || marker != kOldMarker || !part.Field(m_editorState) ||
        !part.Field(m_attachmentOpening))
        Reset();
    part.SkipRest();
}

void CArticleInfo::WriteOldPart2(CRecordStream& stream) const
{
    stream.WriteInt(10);
    stream.WriteShort(kOldMarker);
    stream.WriteInt(m_editorState);
    stream.WriteInt(m_attachmentOpening);
}

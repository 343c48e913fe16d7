#include "shell/file_settings.h"

#include <cstring>

#include "shell/app_settings.h"
#include "storage/byte_buffer.h"
#include "storage/keyed_record_stream.h"
#include "storage/quor_error.h"
#include "storage/record_stream.h"

namespace {

// Payload bytes before the first string: six shorts, the compact font and two colours.
constexpr int32_t kFixedPayload = 74 - 4;
constexpr int32_t kCompactFontSize = 50;
constexpr size_t kFaceSize = 32;
// A record 4 larger than this is damaged: no setting comes near it.
constexpr int32_t kMaxPayload = 1 << 20;

int32_t StringFieldSize(const std::string& text)
{
    return text.empty() ? 4 : static_cast<int32_t>(text.size()) + 5;
}

// A string of the record is a byte block of its characters and NUL, or an empty block when empty.
void AppendStringField(CByteBuffer& out, const std::string& text)
{
    if (text.empty()) {
        out.AppendInt(0);
    } else {
        out.AppendInt(static_cast<int32_t>(text.size()) + 1);
        out.AppendString(text);
    }
}

// Reading takes fields while the payload still holds them. The first field that does not fit ends
// the record: the bytes that remain belong to that field, never to the ones after it. A damaged field
// ends the reading too, and is told apart so that the defaults stand rather than inferred values.
struct PayloadReading {
    CByteBuffer in;
    bool ended = false;
    bool damaged = false;

    template <typename T>
    void Short(T& field)
    {
        int16_t value = 0;
        if (!ended && !(ended = !in.ReadShort(value)))
            field = static_cast<T>(value);
    }
    void Int(int32_t& field)
    {
        int32_t value = 0;
        if (!ended && !(ended = !in.ReadInt(value)))
            field = value;
    }
    bool Bytes(void* bytes, int32_t n) { return !ended && !(ended = !in.ReadBytes(bytes, n)); }
    void Damaged() { ended = damaged = true; }
    // A string field: empty first; read when the length fits. A length that is negative or runs past
    // the record leaves it empty and ends the reading.
    void String(std::string& field)
    {
        field.clear();
        int32_t n = 0;
        if (ended || (ended = !in.ReadInt(n)))
            return;
        if (n < 0 || n > in.GetRemaining()) {
            Damaged();
            return;
        }
        std::string bytes(static_cast<size_t>(n), '\0');
        in.ReadBytes(&bytes[0], n);
        field.assign(bytes.c_str());
    }
};

}  // namespace

void CFileSettings::AppendPayload(CByteBuffer& out) const
{
    const CAppSettings& s = m_settings;
    out.AppendShort(s.m_autoUpdateDates);
    out.AppendShort(s.m_displayDate);
    out.AppendShort(s.m_initList);
    out.AppendShort(s.m_artSize);
    out.AppendShort(s.m_wordWrap);
    out.AppendShort(s.m_autoSave);
    const LogFont& f = s.m_fileFont;
    out.AppendShort(static_cast<int16_t>(f.lfHeight));
    out.AppendShort(static_cast<int16_t>(f.lfWidth));
    out.AppendShort(static_cast<int16_t>(f.lfEscapement));
    out.AppendShort(static_cast<int16_t>(f.lfOrientation));
    out.AppendShort(static_cast<int16_t>(f.lfWeight));
    // The eight 1-byte members, then the face name in 32 bytes with at least one NUL.
    uint8_t tail[8 + kFaceSize] = {f.lfItalic,       f.lfUnderline,     f.lfStrikeOut, f.lfCharSet,
                                   f.lfOutPrecision, f.lfClipPrecision, f.lfQuality,   f.lfPitchAndFamily};
    std::string name = GetFaceName(f);
    std::memcpy(tail + 8, name.data(), name.size() < kFaceSize ? name.size() : kFaceSize - 1);
    out.Append(tail, sizeof tail);
    out.AppendInt(s.m_fileTextColor);
    out.AppendInt(s.m_fileAutoColor);
    AppendStringField(out, s.m_fontDescription);
    out.AppendShort(s.m_linkLocationMode);
    AppendStringField(out, s.m_linkLocationPath);
    out.AppendShort(s.m_saveFullPathnames);
    if (!s.m_comments.empty())
        AppendStringField(out, s.m_comments);
}

std::vector<uint8_t> CFileSettings::Encode() const
{
    CByteBuffer out;
    out.AppendInt(kFixedPayload + 4 + StringFieldSize(m_settings.m_fontDescription) +
                  StringFieldSize(m_settings.m_linkLocationPath) +
                  (m_settings.m_comments.empty() ? 0 : StringFieldSize(m_settings.m_comments)));
    AppendPayload(out);
    return std::vector<uint8_t>(out.GetData(), out.GetData() + out.GetLength());
}

void CFileSettings::Decode(const uint8_t* payload, size_t size)
{
    CAppSettings& s = m_settings;
    PayloadReading in;
    if (!in.in.SetData(payload, static_cast<int32_t>(size < size_t(kMaxPayload) ? size : size_t(kMaxPayload))))
        throw CQuorError(kOutOfMemory);
    int16_t ignored = 0;
    in.Short(s.m_autoUpdateDates);
    in.Short(ignored);  // DisplayDate, InitList and ArtSize belong to the user, not the file
    in.Short(ignored);
    in.Short(ignored);
    in.Short(s.m_wordWrap);
    in.Short(ignored);  // AutoSave
    uint8_t p[kCompactFontSize];
    if (in.Bytes(p, kCompactFontSize)) {
        auto shortAt = [&p](int i) { return static_cast<int16_t>(p[2 * i] | (p[2 * i + 1] << 8)); };
        const uint8_t* face = p + 18;
        if (!std::memchr(face, '\0', kFaceSize)) {
            in.Damaged();  // a face name without its NUL: the font and everything after it keep their defaults
        } else {
            LogFont f;
            f.lfHeight = shortAt(0);
            f.lfWidth = shortAt(1);
            f.lfEscapement = shortAt(2);
            f.lfOrientation = shortAt(3);
            f.lfWeight = shortAt(4);
            f.lfItalic = p[10];
            f.lfUnderline = p[11];
            f.lfStrikeOut = p[12];
            f.lfCharSet = p[13];
            f.lfOutPrecision = p[14];
            f.lfClipPrecision = p[15];
            f.lfQuality = p[16];
            f.lfPitchAndFamily = p[17];
            SetFaceName(f, reinterpret_cast<const char*>(face));
            s.m_fileFont = f;
        }
    }
    in.Int(s.m_fileTextColor);
    bool hadAutoColor = !in.ended && in.in.GetRemaining() >= 4;
    in.Int(s.m_fileAutoColor);
    if (!hadAutoColor && !in.damaged)
        s.m_fileAutoColor = 0;  // a record that ends before the flag predates it
    in.String(s.m_fontDescription);
    int16_t mode = s.m_linkLocationMode;
    in.Short(mode);
    if (mode >= 0 && mode <= 2)
        s.m_linkLocationMode = mode;
    in.String(s.m_linkLocationPath);
    in.Short(s.m_saveFullPathnames);
    in.String(s.m_comments);
    s.m_fileDirty = 0;
}

void CFileSettings::ReadFrom(CRecordStream& stream)
{
    int32_t length = stream.ReadInt();
    // A length the record cannot hold is a damaged record: its blocks end in zero padding that would
    // read as settings, so nothing of it is taken.
    if (length <= 0 || length > kMaxPayload)
        return;
    std::vector<uint8_t> payload(static_cast<size_t>(length));
    if (stream.ReadRaw(payload.data(), length) != 0)
        return;
    Decode(payload.data(), payload.size());
}

void CFileSettings::WriteTo(CRecordStream& stream) const
{
    // The length field and the payload after it form one byte block.
    CByteBuffer payload;
    AppendPayload(payload);
    stream.WriteByteBlock(payload.GetData(), payload.GetLength());
}

void CFileSettings::Load(CDataFile& file)
{
    m_settings.ResetSettings();
    try {
        CKeyedRecordStream stream;
        stream.Open(&file, kKey, CRecordStream::kRead);
        ReadFrom(stream);
        stream.Close();
    } catch (const CQuorError& e) {
        // The record is missing or its chain is damaged; the defaults stand.
        if (e.Code() != kCorruptedRecord)
            throw;
    }
    m_settings.m_fileDirty = 0;
}

void CFileSettings::Save(CDataFile& file)
{
    if (!m_settings.m_fileDirty)
        return;
    CKeyedRecordStream stream;
    stream.Open(&file, kKey, CRecordStream::kRewrite);
    WriteTo(stream);
    stream.Close();
    m_settings.m_fileDirty = 0;
}

#include "import/article_clipboard.h"

#include <algorithm>
#include <limits>

#include "storage/memory_clipboard_codec.h"
#include "storage/article_record.h"
#include "storage/id_set.h"
#include "storage/quor_error.h"

const char* const kArticleClipboardFormatV4 = "Personal Quorvane 4 Articles";
const char* const kArticleClipboardFormatV3 = "Personal Quorvane 3 Articles";
const char* const kArticleClipboardFormatV2 = "Personal Quorvane 2 Articles";
const char* const kArticleClipboardFormatV1 = "Personal Quorvane Articles";

namespace {

constexpr int32_t kPlainTextSections = 5;
constexpr int32_t kAllSections = 9;
constexpr int32_t kLinkFields = 7;

// A count read from the block may not promise more items than the bytes left could hold (each item
// takes at least `minimumBytes`): a bad count is an error, not a long loop or a huge allocation.
void CheckCount(int32_t count, std::size_t bytesLeft, std::size_t minimumBytes)
{
    if (count < 0 || static_cast<std::size_t>(count) > bytesLeft / minimumBytes)
        throw CQuorError(kBadClipboardData);
}

void ReadKeywordNames(CClipboardCodec& codec, int32_t count, CArticleRecord& record, IArticlePasteTarget& target)
{
    CKeywordIdSet ids;
    for (int32_t i = 0; i < count; ++i) {
        int32_t id = target.KeywordIdForName(codec.ReadString());
        if (id != kNoneId)
            ids.Add(id);
    }
    record.SetKeywordIds(ids);
}

// An attachment of a kind this program knows (file or folder, address, article); others are left out.
void AddAttachment(CAttachmentArray& attachments, int32_t kind, const std::string& path, int32_t flags, int32_t article)
{
    if (kind < CLinkTarget::kFile || kind > CLinkTarget::kArticle)
        return;
    CLinkTarget attachment;
    attachment.Set(kind, path, flags, article);
    if (attachments.Add(attachment) < 0)
        throw CQuorError(kOutOfMemory);
}

}  // namespace

// ---- The oldest format and version 2 ----

void CArticleClipboard::ReadCommonFields(CArticleRecord& record, bool& bookmarked, IArticlePasteTarget& target)
{
    record.SetTitle(m_codec.ReadString());
    record.SetText(m_codec.ReadString());
    record.SetDate(m_codec.ReadInt());
    bookmarked = m_codec.ReadInt() != 0;
    int32_t count = m_codec.ReadInt();
    CheckCount(count, m_codec.GetSize() - m_codec.GetReadPosition(), 1);
    ReadKeywordNames(m_codec, count, record, target);
}

void CArticleClipboard::ReadArticle(CArticleRecord& record, bool& bookmarked, IArticlePasteTarget& target)
{
    record.Reset();
    record.SetPlainTextVersion();
    ReadCommonFields(record, bookmarked, target);
}

void CArticleClipboardV2::ReadArticle(CArticleRecord& record, bool& bookmarked, IArticlePasteTarget& target)
{
    record.Reset();
    record.SetPlainTextVersion();
    int32_t fields = m_codec.ReadInt();
    ReadCommonFields(record, bookmarked, target);
    if (fields < 5)
        return;
    record.SetRichTextVersion();
    record.SetText("");
    CArticleInfo info;
    info.SetWordWrap(m_codec.ReadInt());
    record.SetInfo(info);
    if (m_codec.ReadInt() > 0) {
        int32_t kind = m_codec.ReadInt();
        std::string path = m_codec.ReadString();
        CAttachmentArray attachments;
        AddAttachment(attachments, kind, path, 0, -1);
        record.SetAttachments(attachments);
    }
    record.SetLegacyText(m_codec.ReadString());
    record.SetRtfText(m_codec.ReadString());
}

// ---- Versions 3 and 4 ----

// One section's body, built apart so that its length can go before it.
class CArticleClipboardV3::CSection {
public:
    explicit CSection(CClipboardCodec& out) : m_out(out) {}
    CClipboardCodec& Body() { return m_body; }
    void Write()
    {
        std::string bytes = m_body.Written();
        if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max()))
            throw CQuorError(kOutOfMemory);
        m_out.AppendInt(static_cast<int32_t>(bytes.size()));
        if (!bytes.empty())
            m_out.AppendBytes(bytes.data(), bytes.size());
    }

private:
    CClipboardCodec& m_out;
    CMemoryClipboardCodec m_body;
};

bool CArticleClipboardV3::Remains(std::size_t end, std::size_t bytes) const
{
    std::size_t position = m_codec.GetReadPosition();
    return position <= end && end - position >= bytes;
}

int32_t CArticleClipboardV3::ReadIntIn(std::size_t end)
{
    if (!Remains(end, 4))
        throw CQuorError(kBadClipboardData);
    return m_codec.ReadInt();
}

std::string CArticleClipboardV3::ReadStringIn(std::size_t end)
{
    std::string text = m_codec.ReadString();
    if (m_codec.GetReadPosition() > end)
        throw CQuorError(kBadClipboardData);
    return text;
}

void CArticleClipboardV3::WriteArticle(const CArticleRecord& record, bool bookmarked, IArticleCopySource& source)
{
    bool rich = record.GetVersion() > CArticleRecord::kPlainTextVersion;
    m_codec.AppendInt(rich ? kAllSections : kPlainTextSections);
    {
        CSection title(m_codec);
        title.Body().AppendString(record.GetTitle());
        title.Write();
    }
    {
        CSection text(m_codec);
        text.Body().AppendString(rich ? std::string() : record.GetText());
        text.Write();
    }
    {
        CSection date(m_codec);
        date.Body().AppendInt(record.GetDateOf(CArticleRecord::kOwnDate));
        date.Body().AppendInt(record.GetTimeOf(CArticleRecord::kOwnDate));
        date.Write();
    }
    {
        CSection mark(m_codec);
        mark.Body().AppendInt(bookmarked ? 1 : 0);
        mark.Write();
    }
    {
        CSection keywords(m_codec);
        CKeywordIdSet ids;
        record.GetKeywordIds(ids);
        keywords.Body().AppendInt(ids.GetSize());
        for (int32_t id : ids.Values())
            keywords.Body().AppendString(source.KeywordName(id));
        keywords.Write();
    }
    if (!rich)
        return;
    WriteInfo(record);
    WriteAttachments(record);
    {
        CSection content(m_codec);
        content.Body().AppendString(record.GetRtfText());
        content.Write();
    }
    CSection links(m_codec);
    const CLinkRangeList& ranges = record.GetLinks();
    links.Body().AppendInt(kLinkFields);
    links.Body().AppendInt(ranges.GetCount());
    for (int i = 0; i < ranges.GetCount(); ++i) {
        const LinkRange& range = *ranges.Item(i);
        links.Body().AppendInt(range.start);
        links.Body().AppendInt(range.end);
        links.Body().AppendInt(range.type);
        links.Body().AppendInt(range.targetArticle);
        links.Body().AppendInt(range.valueB);
        links.Body().AppendInt(range.valueC);
        links.Body().AppendString(range.target);
    }
    links.Write();
}

void CArticleClipboardV3::WriteInfoValues(const CArticleRecord& record, bool withFlags)
{
    const CArticleInfo& info = record.GetInfo();
    CSection section(m_codec);
    section.Body().AppendInt(withFlags ? 5 : 4);
    section.Body().AppendInt(info.GetEditorState());
    section.Body().AppendInt(info.GetAttachmentOpening());
    section.Body().AppendInt(info.GetKeepTitle());
    section.Body().AppendInt(info.GetWordWrap());
    if (withFlags) {
        int16_t flags = info.GetFlags();
        unsigned char bytes[2] = {static_cast<unsigned char>(flags & 0xFF), static_cast<unsigned char>((flags >> 8) & 0xFF)};
        section.Body().AppendBytes(bytes, 2);
    }
    section.Write();
}

void CArticleClipboardV3::WriteInfo(const CArticleRecord& record)
{
    WriteInfoValues(record, false);
}

void CArticleClipboardV3::WriteAttachments(const CArticleRecord& record)
{
    CSection section(m_codec);
    const CLinkTarget* first = record.GetAttachments().Item(0);
    section.Body().AppendInt(first ? 1 : 0);
    if (first) {
        section.Body().AppendInt(first->GetKind());
        section.Body().AppendString(first->GetStoredTarget());
    }
    section.Write();
}

void CArticleClipboardV4::WriteInfo(const CArticleRecord& record)
{
    WriteInfoValues(record, true);
}

// The two values that travel with each attachment are its flags (open list, image gallery) and its
// target article: the ones a pasted copy needs to behave as the original.
void CArticleClipboardV4::WriteAttachments(const CArticleRecord& record)
{
    CSection section(m_codec);
    const CAttachmentArray& attachments = record.GetAttachments();
    section.Body().AppendInt(attachments.GetSize());
    for (int i = 0; i < attachments.GetSize(); ++i) {
        const CLinkTarget& target = *attachments.Item(i);
        section.Body().AppendInt(target.GetKind());
        section.Body().AppendString(target.GetStoredTarget());
        section.Body().AppendInt(target.GetFlags());
        section.Body().AppendInt(target.GetArticleId());
    }
    section.Write();
}

void CArticleClipboardV3::ReadArticle(CArticleRecord& record, bool& bookmarked, IArticlePasteTarget& target)
{
    record.Reset();
    record.SetPlainTextVersion();
    bookmarked = false;
    int32_t sections = m_codec.ReadInt();
    if (sections < 0)
        throw CQuorError(kBadClipboardData);
    if (sections >= 6)
        record.SetRichTextVersion();
    for (int32_t number = 1; number <= sections; ++number) {
        int32_t length = m_codec.ReadInt();
        std::size_t position = m_codec.GetReadPosition();
        if (length < 0 || static_cast<std::size_t>(length) > m_codec.GetSize() - position)
            throw CQuorError(kBadClipboardData);
        std::size_t end = position + static_cast<std::size_t>(length);
        if (length > 0) {
            switch (number) {
            case 1: record.SetTitle(ReadStringIn(end)); break;
            case 2: record.SetText(ReadStringIn(end)); break;
            case 3:
                if (Remains(end, 4))
                    record.SetDate(m_codec.ReadInt());
                if (Remains(end, 4))
                    record.SetTime(m_codec.ReadInt());
                break;
            case 4:
                if (Remains(end, 4))
                    bookmarked = m_codec.ReadInt() != 0;
                break;
            case 5: {
                int32_t count = ReadIntIn(end);
                CheckCount(count, end - m_codec.GetReadPosition(), 1);
                ReadKeywordNames(m_codec, count, record, target);
                if (m_codec.GetReadPosition() > end)
                    throw CQuorError(kBadClipboardData);
                break;
            }
            case 6: ReadInfo(record, end); break;
            case 7: ReadAttachments(record, end); break;
            case 8:
                record.SetText("");
                record.SetRtfText(ReadStringIn(end));
                break;
            case 9: ReadLinks(record, end, target); break;
            default: break;
            }
        }
        // Whatever the section holds beyond what was read is skipped.
        m_codec.Skip(end - m_codec.GetReadPosition());
    }
}

void CArticleClipboardV3::ReadInfoValues(CArticleRecord& record, std::size_t end, bool withFlags)
{
    int32_t fields = ReadIntIn(end);
    CArticleInfo info = record.GetInfo();
    if (fields >= 1 && Remains(end, 4))
        info.SetEditorState(m_codec.ReadInt());
    if (fields >= 2 && Remains(end, 4))
        info.SetAttachmentOpening(m_codec.ReadInt());
    if (fields >= 3 && Remains(end, 4))
        info.SetKeepTitle(m_codec.ReadInt());
    if (fields >= 4 && Remains(end, 4))
        info.SetWordWrap(m_codec.ReadInt());
    if (withFlags && fields >= 5 && Remains(end, 2)) {
        unsigned char bytes[2];
        m_codec.ReadBytes(bytes, 2);
        info.SetFlags(static_cast<int16_t>(bytes[0] | (bytes[1] << 8)));
    }
    record.SetInfo(info);
}

void CArticleClipboardV3::ReadInfo(CArticleRecord& record, std::size_t end)
{
    ReadInfoValues(record, end, false);
}

void CArticleClipboardV4::ReadInfo(CArticleRecord& record, std::size_t end)
{
    ReadInfoValues(record, end, true);
}

void CArticleClipboardV3::ReadAttachments(CArticleRecord& record, std::size_t end)
{
    int32_t count = ReadIntIn(end);
    CheckCount(count, end - m_codec.GetReadPosition(), 5);
    CAttachmentArray attachments;
    // Version 3 carries one attachment at most; more announced are not read.
    if (count > 0) {
        int32_t kind = ReadIntIn(end);
        std::string path = ReadStringIn(end);
        AddAttachment(attachments, kind, path, 0, -1);
    }
    record.SetAttachments(attachments);
}

void CArticleClipboardV4::ReadAttachments(CArticleRecord& record, std::size_t end)
{
    int32_t count = ReadIntIn(end);
    CheckCount(count, end - m_codec.GetReadPosition(), 13);
    CAttachmentArray attachments;
    for (int32_t i = 0; i < count; ++i) {
        int32_t kind = ReadIntIn(end);
        std::string path = ReadStringIn(end);
        int32_t flags = ReadIntIn(end);
        int32_t article = ReadIntIn(end);
        AddAttachment(attachments, kind, path, flags, article);
    }
    record.SetAttachments(attachments);
}

// A link to another article stays only when that article is here with the same creation stamp;
// otherwise it becomes a link to an unknown article.
void CArticleClipboardV3::ReadLinks(CArticleRecord& record, std::size_t end, IArticlePasteTarget& target)
{
    int32_t fields = ReadIntIn(end);
    int32_t count = ReadIntIn(end);
    if (fields < 0)
        throw CQuorError(kBadClipboardData);
    // A range takes 4 bytes per int field and at least 1 for its target.
    std::size_t perRange = fields == 0 ? 1 : static_cast<std::size_t>(std::min(fields, 1 << 20)) * 4 - (fields >= 7 ? 3 : 0);
    CheckCount(count, end - m_codec.GetReadPosition(), perRange);
    CLinkRangeList links;
    for (int32_t i = 0; i < count; ++i) {
        LinkRange range;
        if (fields >= 1) range.start = ReadIntIn(end);
        if (fields >= 2) range.end = ReadIntIn(end);
        if (fields >= 3) range.type = static_cast<int16_t>(ReadIntIn(end));
        if (fields >= 4) range.targetArticle = ReadIntIn(end);
        if (fields >= 5) range.valueB = ReadIntIn(end);
        if (fields >= 6) range.valueC = ReadIntIn(end);
        if (fields >= 7) range.target = ReadStringIn(end);
        // Fields past the seventh are ints of unknown meaning: skipped.
        for (int32_t extra = 8; extra <= fields; ++extra)
            ReadIntIn(end);
        if (range.type == 3 && !target.MatchesCreatedStamp(range.targetArticle, range.valueB, range.valueC))
            range.targetArticle = -1;
        links.Add(range);
    }
    record.SetLinks(links);
}

// ---- Reading a whole block ----

CArticleClipboardReader::CArticleClipboardReader(CClipboardCodec& codec, int version)
    : m_codec(codec), m_version(version)
{
    m_remaining = m_codec.HasMoreData() ? m_codec.ReadInt() : 0;
}

CArticleClipboardReader::~CArticleClipboardReader() = default;

void CArticleClipboardReader::Next(CArticleRecord& record, bool& bookmarked, IArticlePasteTarget& target)
{
    switch (m_version) {
    case 4: CArticleClipboardV4(m_codec).ReadArticle(record, bookmarked, target); break;
    case 3: CArticleClipboardV3(m_codec).ReadArticle(record, bookmarked, target); break;
    case 2: CArticleClipboardV2(m_codec).ReadArticle(record, bookmarked, target); break;
    default: CArticleClipboard(m_codec).ReadArticle(record, bookmarked, target); break;
    }
    --m_remaining;
}

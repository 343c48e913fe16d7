#include "storage/link_target.h"

#include <new>

#include "framework/ansi_case.h"
#include "storage/data_file.h"
#include "storage/quor_error.h"
#include "storage/record_stream.h"

namespace {

const ILinkPathConverter* g_converter = nullptr;

std::string MakeDriveRelative(const std::string& path)
{
    return g_converter ? g_converter->MakeDriveRelative(path) : path;
}

std::string ExpandDriveRelative(const std::string& path)
{
    return g_converter ? g_converter->ExpandDriveRelative(path) : path;
}

bool HasDrive(const std::string& path) { return path.size() >= 3 && path[1] == ':' && path[2] == '\\'; }

bool HasNetworkPrefix(const std::string& path) { return path.compare(0, 2, "\\\\") == 0; }

}  // namespace

const ILinkPathConverter* SetLinkPathConverter(const ILinkPathConverter* converter)
{
    const ILinkPathConverter* previous = g_converter;
    g_converter = converter;
    return previous;
}

// ---- CLinkTarget --------------------------------------------------------------------------------

void CLinkTarget::Set(int kind, const std::string& target, int32_t flags, int32_t articleId)
{
    try {
        m_target = kind == kFile ? MakeDriveRelative(target) : target;
        m_kind = static_cast<int16_t>(kind);
        m_flags = flags;
        m_articleId = articleId;
    } catch (const std::bad_alloc&) {
        Reset();
        throw CQuorError(kOutOfMemory);
    }
}

int CLinkTarget::GetTarget(std::string& out) const
{
    try {
        out = m_kind == kFile ? ExpandDriveRelative(m_target) : m_target;
    } catch (const std::bad_alloc&) {
        out.clear();
        throw CQuorError(kOutOfMemory);
    }
    return m_kind;
}

void CLinkTarget::Copy(const CLinkTarget& other)
{
    if (&other == this) return;
    try {
        m_target = other.m_target;
    } catch (const std::bad_alloc&) {
        Reset();
        throw CQuorError(kOutOfMemory);
    }
    m_kind = other.m_kind;
    m_flags = other.m_flags;
    m_articleId = other.m_articleId;
}

void CLinkTarget::Reset()
{
    m_kind = kNone;
    m_target.clear();
    m_articleId = -1;
    m_flags = 0;
    m_callerValue = 0;
}

std::string CLinkTarget::GetFullPath(const std::string& baseFolder) const
{
    std::string path;
    GetTarget(path);
    if (m_kind != kFile || HasDrive(path) || HasNetworkPrefix(path)) return path;
    std::string rest = path.compare(0, 2, ".\\") == 0 ? path.substr(2) : path;
    std::string folder = ExpandDriveRelative(baseFolder);
    if (folder.empty()) return rest;
    if (folder.back() != '\\' && (rest.empty() || rest.front() != '\\')) folder += '\\';
    return folder + rest;
}

void CLinkTarget::MakeRelativePath(const std::string& baseFolder)
{
    if (m_kind != kFile || baseFolder.empty()) return;
    std::string folder = MakeDriveRelative(baseFolder);
    if (m_target.size() <= folder.size() || m_target[folder.size()] != '\\') return;
    if (AnsiCompareNoCase(m_target.substr(0, folder.size()).c_str(), folder.c_str()) != 0) return;
    m_target.erase(0, folder.size() + 1);
}

std::string CLinkTarget::GetFileName() const
{
    if (m_kind != kFile) return std::string();
    std::string::size_type slash = m_target.rfind('\\');
    return slash == std::string::npos ? m_target : m_target.substr(slash + 1);
}

void CLinkTarget::SetInOpenList(bool on)
{
    m_flags = on ? (m_flags & ~kNotInOpenList) : (m_flags | kNotInOpenList);
}

void CLinkTarget::SetInImageGallery(bool on)
{
    m_flags = on ? (m_flags & ~kNotInImageGallery) : (m_flags | kNotInImageGallery);
}

int32_t CLinkTarget::GetStoredSize(int fileVersion) const
{
    int32_t size = 6 + static_cast<int32_t>(m_target.size()) + 5;
    return fileVersion >= 400 ? size + 16 : size;
}

// ---- CAttachmentArray ---------------------------------------------------------------------------

int CAttachmentArray::Add(const CLinkTarget& target)
{
    try {
        m_items.push_back(std::make_unique<CLinkTarget>(target));
    } catch (const std::bad_alloc&) {
        return -1;
    }
    return GetSize() - 1;
}

int CAttachmentArray::GetAt(int i, CLinkTarget& target) const
{
    const CLinkTarget* item = Item(i);
    if (!item) {
        target.Reset();
        return -1;
    }
    target = *item;
    return i;
}

const CLinkTarget* CAttachmentArray::Item(int i) const
{
    return i >= 0 && i < GetSize() ? m_items[static_cast<size_t>(i)].get() : nullptr;
}

void CAttachmentArray::SetAt(int i, const CLinkTarget& target)
{
    if (i < 0 || i >= GetSize()) return;
    try {
        *m_items[static_cast<size_t>(i)] = target;
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
}

void CAttachmentArray::RemoveAt(int i)
{
    if (i >= 0 && i < GetSize()) m_items.erase(m_items.begin() + i);
}

void CAttachmentArray::Copy(const CAttachmentArray& other)
{
    if (&other == this) return;
    m_items.clear();
    for (const auto& item : other.m_items) {
        if (Add(*item) < 0) throw CQuorError(kOutOfMemory);
    }
}

int32_t CAttachmentArray::GetCombinedFlags() const
{
    int32_t flags = 0;
    for (const auto& item : m_items) flags |= item->GetFlags();
    return flags;
}

// ---- stored form --------------------------------------------------------------------------------

namespace {
constexpr int16_t kTargetPacked = static_cast<int16_t>(0x8000);
constexpr int16_t kIdAndFlagsFollow = 0x4000;
}  // namespace

void CLinkTarget::ReadFrom(CRecordStream& stream)
{
    Reset();
    int16_t word = stream.ReadSizedShort();
    bool packed = (word & kTargetPacked) != 0;
    int kind = packed ? (word & 0x3FFF) : word;
    std::string target = packed ? stream.ReadPackedString() : stream.ReadString();
    int32_t articleId = -1, flags = 0;
    if (packed && (word & kIdAndFlagsFollow) != 0) {
        articleId = stream.ReadInt();
        flags = stream.ReadInt();
    }
    m_target = std::move(target);
    m_kind = static_cast<int16_t>(kind);
    m_articleId = articleId;
    m_flags = flags;
}

void CLinkTarget::WriteTo(CRecordStream& stream, int mode) const
{
    int version = stream.GetFile()->GetVersion();
    if (version < 300) {
        stream.WriteSizedShort(m_kind);
        stream.WriteString(m_target);
        return;
    }
    int16_t word = static_cast<int16_t>(m_kind | kTargetPacked | (version >= 400 ? kIdAndFlagsFollow : 0));
    stream.WriteSizedShort(word);
    stream.WritePackedString(m_target, mode);
    if (version >= 400) {
        stream.WriteInt(m_articleId);
        stream.WriteInt(m_flags);
    }
}

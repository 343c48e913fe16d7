// What a hypertext link or an attachment points to: a file or folder, an Internet address or another
// article of the same knowledge base.
//
// Stored form, by the data file's version (integers little-endian; "packed" in the article's mode):
//   below 300    sized int16 kind;           string target
//   300 to 399   sized int16 kind | 0x8000;  packed target
//   400 and up   sized int16 kind | 0xC000;  packed target; int32 article id; int32 flags
// A reader takes bit 15 as "target packed" (the kind is then the low 14 bits) and bits 15 and 14
// together as "article id and flags follow"; otherwise the article id is -1 and the flags 0.
//
// Paths of files and folders are kept in drive-independent form: in portable use a path on the
// program's own drive has a dot in place of its drive letter (".:\Notes\a.txt"). A path may also be
// relative to the document's base folder: ".\rest", or any path with neither a drive (":\" at
// position 1) nor a network prefix ("\\").
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>


class CRecordStream;

// What link targets need of the application's folder service: the drive-relative form of paths.
class ILinkPathConverter {
public:
    virtual ~ILinkPathConverter() = default;
    // "E:\x" -> ".:\x" when the program runs portable from drive E; other paths unchanged.
    virtual std::string MakeDriveRelative(const std::string& path) const = 0;
    // ".:\x" -> "E:\x" for the program's drive E; other paths unchanged.
    virtual std::string ExpandDriveRelative(const std::string& path) const = 0;
};

// Installs the converter all link targets use (nullptr: paths are kept as given). The caller keeps
// ownership. Returns the previous one.
const ILinkPathConverter* SetLinkPathConverter(const ILinkPathConverter* converter);

class CLinkTarget {
public:
    enum Kind : int16_t { kNone = 0, kFile = 1, kInternet = 2, kArticle = 3 };
    enum Flags : int32_t { kNotInOpenList = 0x01, kNotInImageGallery = 0x02 };

    CLinkTarget() = default;
    CLinkTarget(const CLinkTarget&) = default;
    CLinkTarget& operator=(const CLinkTarget&) = default;
    virtual ~CLinkTarget() = default;

    // A file or folder target is converted to the drive-independent form before it is stored. A memory
    // failure resets the target and raises code 1.
    void Set(int kind, const std::string& target, int32_t flags = 0, int32_t articleId = -1);
    // The target, expanded from the drive-independent form for a file or folder; returns the kind.
    int GetTarget(std::string& out) const;
    // The target as stored (drive-independent form for files and folders).
    const std::string& GetStoredTarget() const { return m_target; }
    int GetKind() const { return m_kind; }
    int32_t GetArticleId() const { return m_articleId; }
    int32_t GetFlags() const { return m_flags; }
    int32_t GetCallerValue() const { return m_callerValue; }
    void SetCallerValue(int32_t value) { m_callerValue = value; }
    bool IsPathCorrected() const { return m_pathCorrected; }
    void SetPathCorrected(bool corrected) { m_pathCorrected = corrected; }
    // Every field but the caller value and the corrected flag.
    void Copy(const CLinkTarget& other);
    void Reset();

    // File or folder: the absolute path, a relative one resolved against `baseFolder`; other kinds:
    // the target.
    std::string GetFullPath(const std::string& baseFolder) const;
    // File or folder under `baseFolder` (compared without regard to case): the target becomes the
    // part after the folder and its backslash.
    void MakeRelativePath(const std::string& baseFolder);
    // File or folder: the part after the last backslash; empty for other kinds.
    std::string GetFileName() const;

    // Opens the target through the installed link shell (document/link_shell.h): a file or folder
    // (a missing one searched for; a chosen replacement becomes the target and sets the corrected
    // flag), or an Internet address; failures are shown to the user. An article target is the
    // caller's to open: its id is returned. Returns -1 otherwise. `cutQuery` shortens an address in
    // the failure message before its first "?".
    int32_t Open(bool cutQuery, int32_t callerValue);

    bool IsInOpenList() const { return (m_flags & kNotInOpenList) == 0; }
    void SetInOpenList(bool on);
    bool IsInImageGallery() const { return (m_flags & kNotInImageGallery) == 0; }
    void SetInImageGallery(bool on);

    // Bytes the stored form takes, for reserving a record's blocks.
    int32_t GetStoredSize(int fileVersion) const;
    // The stored form; the layout follows the version of the stream's data file, packed fields use
    // `mode`.
    void ReadFrom(CRecordStream& stream);
    void WriteTo(CRecordStream& stream, int mode) const;

private:
    int32_t m_callerValue = 0;  // handed to the opener and its not-found dialog
    int32_t m_flags = 0;
    int32_t m_articleId = -1;
    bool m_pathCorrected = false;  // the user chose a new path when the old one was not found
    std::string m_target;
    int16_t m_kind = kNone;
};

// An article's attachments; owns heap copies of its targets.
class CAttachmentArray {
public:
    CAttachmentArray() = default;
    CAttachmentArray(const CAttachmentArray& other) { Copy(other); }
    CAttachmentArray& operator=(const CAttachmentArray& other)
    {
        Copy(other);
        return *this;
    }
    virtual ~CAttachmentArray() = default;

    // Appends a copy; returns its index, -1 when memory ran out.
    int Add(const CLinkTarget& target);
    // Copies item i into `target` and returns i; out of range: resets `target` and returns -1.
    int GetAt(int i, CLinkTarget& target) const;
    // Item i, or nullptr out of range.
    const CLinkTarget* Item(int i) const;
    void SetAt(int i, const CLinkTarget& target);
    void RemoveAt(int i);
    int GetSize() const { return static_cast<int>(m_items.size()); }
    void RemoveAll() { m_items.clear(); }
    void Copy(const CAttachmentArray& other);
    int32_t GetCombinedFlags() const;

private:
    std::vector<std::unique_ptr<CLinkTarget>> m_items;
};

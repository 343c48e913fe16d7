// Per-article information stored beside the article's content.
//
// New form (int32 length first, little-endian):
//   int32 20; int16 marker 0xF33F; int32 word wrap; int32 editor state; int32 attachment opening;
//   int32 keep title; int16 flags
// Old form, in two parts:
//   part 1: int32 4; int32 word wrap
//   part 2: int32 10; int16 marker 0xF22F; int32 editor state; int32 attachment opening
// Each reader reads the stored length, then the fields in order as far as the length reaches (a field
// the length covers only in part takes the bytes that remain, as the low bytes of the value) and skips
// any rest. The new-form reader starts from reset values with flag bit 0 set; a part that ends before
// a field ends the reading quietly and a wrong marker is ignored. The old-form readers reset every
// value when their part ends before a field or part 2's marker is wrong. A bad marker or a short part
// never fails a read.
#pragma once
#include <cstdint>

class CRecordStream;

class CArticleInfo {
public:
    enum Flags : int16_t { kSaveFullPaths = 0x01 };
    enum AttachmentOpening { kOpenByPreferences = 0, kOpenNone = 1, kOpenAll = 2 };

    virtual ~CArticleInfo() = default;

    // Flag bit 0 from the file's setting to save full path names for new file or folder targets; word
    // wrap from the file's word-wrap setting.
    void Reset(bool saveFullPaths = false, int32_t wordWrap = 1);

    int16_t GetFlags() const { return m_flags; }
    void SetFlags(int16_t flags) { m_flags = flags; }
    // Non-zero: the title is kept the same as the first line of the content.
    int32_t GetKeepTitle() const { return m_keepTitle; }
    void SetKeepTitle(int32_t keep) { m_keepTitle = keep; }
    // A value of the article window's rich-text editor, stored and handed back unchanged.
    int32_t GetEditorState() const { return m_editorState; }
    void SetEditorState(int32_t state) { m_editorState = state; }
    int32_t GetAttachmentOpening() const { return m_attachmentOpening; }
    void SetAttachmentOpening(int32_t opening) { m_attachmentOpening = opening; }
    int32_t GetWordWrap() const { return m_wordWrap; }
    void SetWordWrap(int32_t wrap) { m_wordWrap = wrap; }

    void ReadNewForm(CRecordStream& stream);
    void WriteNewForm(CRecordStream& stream) const;
    void ReadOldPart1(CRecordStream& stream);
    void WriteOldPart1(CRecordStream& stream) const;
    void ReadOldPart2(CRecordStream& stream);
    void WriteOldPart2(CRecordStream& stream) const;

    bool operator==(const CArticleInfo& other) const;

private:
    int16_t m_flags = 0;
    int32_t m_keepTitle = 0;
    int32_t m_editorState = 0;
    int32_t m_attachmentOpening = 0;
    int32_t m_wordWrap = 1;
};

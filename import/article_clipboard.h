// Whole articles on the clipboard, between knowledge bases and running copies of the program. Copying
// writes the two newest formats; pasting reads the newest one offered.
//
//   "Personal Quorvane 4 Articles"  CArticleClipboardV4  written, read first
//   "Personal Quorvane 3 Articles"  CArticleClipboardV3  written, read second
//   "Personal Quorvane 2 Articles"  CArticleClipboardV2  read only, third
//   "Personal Quorvane Articles"    CArticleClipboard    read only, last (the oldest)
//
// Encodings: int = 4 bytes little-endian signed, short = 2 bytes, string = bytes then one NUL; no
// padding. Every format starts with one int, the number of articles; the articles follow.
//
// Oldest, one article: string title; string plain text; int date; int bookmarked; int k, k keyword
//   names. A plain-text article.
// Version 2: int n (5 plain text, 9 rich text); the oldest article's fields; when n >= 5 the article
//   becomes rich text: int word wrap; int a, and when a > 0 int kind and string target of one
//   attachment; string extra text; string RTF content.
// Versions 3 and 4: int s sections (5 for a plain-text article, 9 otherwise); each section is an int
//   length L and L bytes of body (L = 0: empty):
//     1 title              string
//     2 plain text         string (empty for a rich-text article)
//     3 date and time      int date, int time (L = 8)
//     4 bookmarked         int (L = 4)
//     5 keywords           int k, k names, in the order of the article's keyword ids
//     6 information        V3: int 4, then editor state, attachment opening, keep title, word wrap
//                          V4: int 5, the same four, then a short: the flags word
//     7 attachments        V3: int c (at most 1); per attachment int kind, string target
//                          V4: int c (all); per attachment int kind, string target, int flags,
//                              int article id
//     8 RTF content        string
//     9 hyperlink ranges   int f = 7 fields per range, int r; per range int start, int end, int type,
//                          int target article, int value B, int value C, string target
//   A reader takes any s: sections past the ninth are skipped by their length, s >= 6 makes a
//   rich-text article.
//
// Untrusted input: a block comes from another program. Every read stays inside the block (the codec
// throws CQuorError(kBadClipboardData) past its end), and every section is read only within its own
// length: a section that announces more than it holds, or a count larger than its bytes could carry,
// is an error, never a read into the next section or a huge allocation.
#pragma once
#include <cstdint>
#include <string>

#include "storage/clipboard_codec.h"

class CArticleRecord;

// What a pasted article needs of the knowledge base it goes into.
class IArticlePasteTarget {
public:
    virtual ~IArticlePasteTarget() = default;
    // The id of the keyword named `name`, a pending one made for it when the knowledge base has none
    // (it is created when the article is stored).
    virtual int32_t KeywordIdForName(const std::string& name) = 0;
    // True when article `id` exists here with this creation date and time (a pasted link to another
    // article stays only then).
    virtual bool MatchesCreatedStamp(int32_t id, int32_t date, int32_t time) = 0;
};

// What a copied article needs of the knowledge base it comes from.
class IArticleCopySource {
public:
    virtual ~IArticleCopySource() = default;
    virtual std::string KeywordName(int32_t id) = 0;
};

extern const char* const kArticleClipboardFormatV4;
extern const char* const kArticleClipboardFormatV3;
extern const char* const kArticleClipboardFormatV2;
extern const char* const kArticleClipboardFormatV1;

// The oldest format (read only).
class CArticleClipboard {
public:
    explicit CArticleClipboard(CClipboardCodec& codec) : m_codec(codec) {}
    virtual ~CArticleClipboard() = default;
    // Resets `record` and reads one article.
    virtual void ReadArticle(CArticleRecord& record, bool& bookmarked, IArticlePasteTarget& target);

protected:
    void ReadCommonFields(CArticleRecord& record, bool& bookmarked, IArticlePasteTarget& target);
    CClipboardCodec& m_codec;
};

// Version 2 (read only).
class CArticleClipboardV2 : public CArticleClipboard {
public:
    using CArticleClipboard::CArticleClipboard;
    void ReadArticle(CArticleRecord& record, bool& bookmarked, IArticlePasteTarget& target) override;
};

// Version 3, written and read.
class CArticleClipboardV3 {
public:
    explicit CArticleClipboardV3(CClipboardCodec& codec) : m_codec(codec) {}
    virtual ~CArticleClipboardV3() = default;

    void WriteCount(int32_t count) { m_codec.AppendInt(count); }
    // Appends one article; its bookmark flag is the source file's.
    void WriteArticle(const CArticleRecord& record, bool bookmarked, IArticleCopySource& source);
    // Resets `record` and reads one article.
    void ReadArticle(CArticleRecord& record, bool& bookmarked, IArticlePasteTarget& target);

protected:
    // The sections that differ between versions 3 and 4, writing and reading within `end` (the read
    // position after the section).
    virtual void WriteInfo(const CArticleRecord& record);
    virtual void WriteAttachments(const CArticleRecord& record);
    virtual void ReadInfo(CArticleRecord& record, std::size_t end);
    virtual void ReadAttachments(CArticleRecord& record, std::size_t end);

    // The information section: the four values, and with `withFlags` the flags word.
    void WriteInfoValues(const CArticleRecord& record, bool withFlags);
    // The information values (and with `withFlags` the flags word) as far as the section announces.
    void ReadInfoValues(CArticleRecord& record, std::size_t end, bool withFlags);
    // Section helpers: a section body is built apart and written with its length.
    class CSection;
    int32_t ReadIntIn(std::size_t end);
    std::string ReadStringIn(std::size_t end);
    bool Remains(std::size_t end, std::size_t bytes) const;
    CClipboardCodec& m_codec;

private:
    void ReadLinks(CArticleRecord& record, std::size_t end, IArticlePasteTarget& target);
};

// Version 4: all attachments with their values, and the information flags.
class CArticleClipboardV4 : public CArticleClipboardV3 {
public:
    using CArticleClipboardV3::CArticleClipboardV3;

protected:
    void WriteInfo(const CArticleRecord& record) override;
    void WriteAttachments(const CArticleRecord& record) override;
    void ReadInfo(CArticleRecord& record, std::size_t end) override;
    void ReadAttachments(CArticleRecord& record, std::size_t end) override;
};

// Reads the articles of a block in format `version` (4, 3, 2 or 1 for the oldest) one at a time.
class CArticleClipboardReader {
public:
    CArticleClipboardReader(CClipboardCodec& codec, int version);
    ~CArticleClipboardReader();
    CArticleClipboardReader(const CArticleClipboardReader&) = delete;
    CArticleClipboardReader& operator=(const CArticleClipboardReader&) = delete;

    // False when the count is used up or the block ends.
    bool HasMore() const { return m_remaining > 0 && m_codec.HasMoreData(); }
    void Next(CArticleRecord& record, bool& bookmarked, IArticlePasteTarget& target);

private:
    CClipboardCodec& m_codec;
    int m_version;
    int32_t m_remaining = 0;
};

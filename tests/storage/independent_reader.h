// An independent reader of stored articles, written from the byte layout of the data file alone: it
// reads the file's bytes, follows the allocation and index tables and the key directory itself, and
// decodes the article record, packed fields, masking and the password record without any of the
// program's storage classes. Round trips through it check the writers against the layout, not against
// their own readers.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace independent {

struct Attachment {
    int kind = 0;
    std::string target;
    int32_t articleId = -1;
    int32_t flags = 0;
};

struct Link {
    int32_t start = 0, end = 0;
    int16_t type = 0;
    int32_t targetArticle = -1, valueB = -1, valueC = -1;
    std::string target;
};

struct Article {
    int16_t type = 0;  // the record's first word: 0x812C, or the old layout's version
    int16_t version = 0;
    int32_t headerValue = 0;
    int16_t flags = 0;
    int32_t createdDate = 0, createdTime = 0, modifiedDate = 0, modifiedTime = 0, date = 0, time = 0;
    std::string title, plainText, legacyText, content;
    std::vector<int32_t> keywordIds;
    std::vector<Attachment> attachments;
    int16_t infoFlags = 0;
    int32_t keepTitle = 0, editorState = 0, attachmentOpening = 0, wordWrap = 0;
    std::vector<Link> links;
    std::vector<int> packedModes;  // the mode word of every packed field, in order
};

struct Keyword {
    int16_t type = 0;
    std::string name;
    std::vector<int32_t> articleIds, groupIds;
};

class DataFileBytes {
public:
    explicit DataFileBytes(const std::string& path);
    int Version() const { return m_version; }
    // The whole chain of the record in entry i of table t (every block, trailing padding included).
    std::vector<uint8_t> TableRecord(int table, int32_t entry) const;
    // The chain of keyed record `key`; empty when the directory has no such key.
    std::vector<uint8_t> KeyedRecord(int16_t key) const;
    // MD5(file key) from the password record, checked against `password`; throws when it is wrong.
    std::vector<uint8_t> RecordKey(const std::string& password) const;

private:
    std::vector<uint8_t> Chain(int32_t first) const;
    int32_t Next(int32_t block) const;
    const uint8_t* Block(int32_t n) const;
    std::vector<uint8_t> m_bytes;
    int m_version = 0;
    int32_t m_headerSize = 0;
};

// `recordKey` is 16 bytes (zeros when the file has no password given).
Article ReadArticle(const DataFileBytes& file, int32_t id, const std::vector<uint8_t>& recordKey);
Keyword ReadKeyword(const DataFileBytes& file, int32_t id, const std::vector<uint8_t>& recordKey);

std::vector<uint8_t> Md5(const std::vector<uint8_t>& bytes);

}  // namespace independent

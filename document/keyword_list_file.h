// Import Keyword List: a text file with one keyword per line becomes keywords of the open file. A
// line is trimmed, cut at its first tab and trimmed again; blank lines and names the file already
// has (in any case) make nothing. The keywords made are highlighted in the index list, which loses
// its other highlights.
#pragma once
#include <string>

class CKeywordIdSet;
class CQuorvaneDoc;

class CKeywordListFile {
public:
    explicit CKeywordListFile(CQuorvaneDoc& document) : m_document(document) {}

    // Imports the list at `path`; the ids made go to `made`. A file that cannot be opened throws the
    // CQuorError of its cause with the path, and nothing is made; a read error throws CQuorError 11
    // after the names read before it were made; any other CQuorError passes on.
    void Import(const std::string& path, CKeywordIdSet& made);

private:
    CQuorvaneDoc& m_document;
};

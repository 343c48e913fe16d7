#include "document/keyword_list_file.h"

#include <new>
#include <vector>

#include "document/quorvane_doc.h"
#include "framework/file.h"
#include "index/keyword_rules.h"
#include "storage/quor_error.h"

void CKeywordListFile::Import(const std::string& path, CKeywordIdSet& made)
{
    CFile file;
    CFileException failure(CFileException::none, 0);
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite, &failure))
        throw CQuorError(FileExceptionToErrorCode(failure), path);

    // What Undo Import takes back is exactly this import.
    m_document.ClearImportBatch();
    std::vector<std::string> names;
    CKeywordListParser parser;
    bool readFailed = false;
    try {
        char buffer[4096];
        for (;;) {
            uint32_t got = file.Read(buffer, sizeof buffer);
            if (got == 0)
                break;
            parser.Feed(buffer, got, names);
        }
        parser.Finish(names);
    } catch (const CFileException&) {
        readFailed = true;
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
    file.Close();
    // The names read before a read error are made all the same, as a line-by-line import would have.
    m_document.AddKeywordBatch(names, made);
    if (readFailed)
        throw CQuorError(kFileRead, path);
}

// Fuzz target for the query engine. The first byte chooses what the rest is:
//   even: a query text, compiled against a small knowledge base with awkward names and run; when it
//         compiles, every keyword and group rename must rewrite it into a text that compiles to
//         the same code (a mismatch aborts).
//   odd:  the body of keyed record 8 in a data file of version 220 or 400, read as a saved-query
//         list whose invariants are then checked (a breach aborts).
// Any other failure must be a CQuorError: a crash, a hang, a leak or a sanitizer report is a bug.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "framework/error_sink.h"
#include "index/current_query.h"
#include "index/query_list.h"
#include "storage/data_file.h"
#include "storage/quor_error.h"
#include "storage/record_stream.h"
#include "tests/index/memory_query_source.h"

namespace {

const char* const kNames[] = {"alpha", "two words", "it's", "and", "x(y", "GROUP:", "caf\xE9"};
const char* const kNewNames[] = {"beta", "new name", "or", "o'k", "\"q\"", "a)b"};

std::vector<QueryToken> CodeOf(const CCurrentQuery& query)
{
    std::vector<QueryToken> code;
    for (int i = 0; i < query.GetCompiler().GetCount(); ++i) {
        QueryToken t;
        query.GetCompiler().GetInstruction(i, t);
        code.push_back(t);
    }
    return code;
}

void Base(CMemoryQuerySource& base)
{
    for (const char* name : kNames)
        base.AddKeyword(name);
    for (const char* name : kNames)
        base.AddGroup(name, {0, 1});
    for (int a = 0; a < 8; ++a) {
        CMemoryQuerySource::Article article;
        article.keywords = {a % 7};
        article.isPrivate = a == 3;
        article.bookmarked = a % 2 == 0;
        base.AddArticle(article);
    }
}

void FuzzText(const std::string& text)
{
    CMemoryQuerySource base;
    Base(base);
    CCurrentQuery query(&base);
    if (!query.Compile(text))
        return;
    CArticleIdSet result;
    query.Run(result);
    query.TestArticle(3);
    const std::vector<QueryToken> code = CodeOf(query);
    for (int32_t id = 0; id < 7; ++id) {
        for (bool group : {false, true}) {
            const std::string newName = kNewNames[id % 6];
            CMemoryQuerySource renamed;
            Base(renamed);
            CCurrentQuery rewrite(&renamed);
            rewrite.SetText(text);
            if (group) {
                renamed.RenameGroup(id, newName);
                rewrite.RewriteGroup(kNames[id], newName);
            } else {
                renamed.RenameKeyword(id, newName);
                rewrite.RewriteKeyword(kNames[id], newName);
            }
            if (!rewrite.Compile(rewrite.GetText()) || CodeOf(rewrite) != code)
                std::abort();
        }
    }
}

std::string ScratchPath()
{
    static std::string path = [] {
        const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        return std::string(folder) + "/quor_query_fuzz_" + std::to_string(getpid()) + ".xrd";
    }();
    return path;
}

void FuzzRecord(const uint8_t* data, size_t size, int version)
{
    CDataFile file;
    file.Create(ScratchPath(), version);
    int32_t first = file.AllocateBlock();
    {
        CRecordStream stream;
        stream.Open(&file, first, CRecordStream::kNew);
        stream.WriteByteBlock(data, static_cast<int32_t>(size));
        stream.Close();
    }
    CQueryList list;
    try {
        CRecordStream stream;
        stream.Open(&file, first, CRecordStream::kRead);
        stream.Skip(4);  // the byte block's own length
        list.ReadFrom(stream);
    } catch (const CQuorError&) {
        if (list.GetCount() != 0 || list.GetRecentCount() != 0)
            std::abort();
        return;
    }
    std::vector<int> seen;
    if (list.GetRecentCount() != std::min(list.GetCount(), CQueryList::kMaxRecent))
        std::abort();
    for (int i = 0; i < list.GetRecentCount(); ++i) {
        int index = list.GetRecentIndex(i);
        if (index < 0 || index >= list.GetCount() || std::count(seen.begin(), seen.end(), index) != 0)
            std::abort();
        seen.push_back(index);
    }
}

void Silent(const std::string&) {}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0 || size > 65536)
        return 0;
    SetErrorSink(Silent);
    try {
        if (data[0] % 2 == 0)
            FuzzText(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
        else
            FuzzRecord(data + 1, size - 1, data[0] % 4 == 1 ? 400 : 220);
    } catch (const CQuorError&) {
    }
    return 0;
}

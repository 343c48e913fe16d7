// The query that the index window shows under "Query Titles": its text, an optional date range, its
// compiled code and the evaluation that turns the code into the set of matching article ids. The
// application holds one for the whole program; short-lived ones serve single commands and the
// rewriting of saved queries.
//
// Lifecycle: empty (no text, no code, not valid) -> Compile succeeds -> valid -> a later Compile, a
// deleted keyword or group in the code, or a failed rewrite -> not valid.
#pragma once
#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "index/query_compiler.h"

class CArticleIdSet;
class CIdSet;
class CQuerySource;

class CCurrentQuery {
public:
    static constexpr int32_t kOpenFrom = INT32_MIN;  // 0x80000000: no first day
    static constexpr int32_t kOpenTo = INT32_MAX;    // no last day

    // `source` is the open knowledge base (may be null while none is open).
    explicit CCurrentQuery(CQuerySource* source = nullptr);
    virtual ~CCurrentQuery();
    CCurrentQuery(const CCurrentQuery&) = delete;
    CCurrentQuery& operator=(const CCurrentQuery&) = delete;

    void SetSource(CQuerySource* source) { m_source = source; }

    void SetText(const std::string& text);
    const std::string& GetText() const { return m_text; }
    void SetDateRange(int32_t from, int32_t to) { m_from = from; m_to = to; }
    void GetDateRange(int32_t& from, int32_t& to) const { from = m_from; to = m_to; }

    // Compiles `text` (not the stored text; callers set both). Returns true on success; otherwise the
    // error has been reported and the query is not valid.
    bool Compile(const std::string& text);
    // The same for a saved query: every query error is reported as message 14101.
    bool CompileSaved(const std::string& text);
    bool IsValid() const { return m_valid; }
    void GetErrorSpan(int& start, int& end) const { m_compiler.GetErrorSpan(start, end); }
    const CQueryCompiler& GetCompiler() const { return m_compiler; }

    // Evaluates the code over the whole knowledge base into `result`, limited to the date range.
    // Returns false (result empty) when there is no code or an error was reported.
    bool Run(CArticleIdSet& result);
    // True when article `id` matches the query and lies in the date range.
    bool TestArticle(int32_t id);

    // Maintenance after keywords and groups change (the ids in the code stay right, so nothing is
    // recompiled). A rename rewrites the text only when the code uses the renamed item.
    void OnKeywordRenamed(int32_t id, const std::string& oldName, const std::string& newName);
    void OnGroupRenamed(int32_t id, const std::string& oldName, const std::string& newName);
    // Any deleted keyword in the code makes the query invalid.
    void OnKeywordsDeleted(const CIdSet& keywords);
    void OnGroupDeleted(int32_t id);
    // Rewrite every reference to a keyword (group) named `oldName` in the text to `newName`. Group
    // references are the names right after "GROUP:"; every other name is a keyword reference. On a
    // memory failure the text stays and the query becomes invalid.
    void RewriteKeyword(const std::string& oldName, const std::string& newName);
    void RewriteGroup(const std::string& oldName, const std::string& newName);

    // `name` as query text: in double quotes when it holds a space, a quote or a parenthesis or is a
    // reserved word (in single quotes when it holds a double quote), else unchanged.
    static std::string QuoteName(const std::string& name);
    static bool IsReservedWord(const std::string& name);

private:
    bool CompileReporting(const std::string& text, bool saved);
    bool Evaluate(CArticleIdSet& result);
    void Rewrite(int32_t kind, const std::string& oldName, const std::string& newName);

    int32_t m_to = kOpenTo;
    int32_t m_from = kOpenFrom;
    int32_t m_testArticle = kNoneId;
    bool m_valid = false;
    std::string m_text;
    // Evaluation stack; each evaluation pops back to the depth it found.
    std::vector<std::unique_ptr<CArticleIdSet>> m_stack;
    CQueryCompiler m_compiler;
    CQuerySource* m_source = nullptr;
};

// Evaluation of compiled query code over the knowledge base, and the maintenance that needs id sets.
//
// Each instruction pushes or combines article-id sets on the evaluation stack:
//   {4,k} push the articles of keyword k          {3,3} AND: intersection of the top two
//   {5,g} push the articles of every keyword of g {3,4} OR: union of the top two
//   {3,6} push the bookmarked articles            {3,5} NOT: the shown articles minus the top
//   {3,7} push the articles without keywords      {3,8} push the articles with attachments
// Operands never hold a hidden private article, and NOT takes its complement within the shown
// articles, so no result can yield one. During a single-article test, NOT, NOKEYS and ATTACHMENTS
// look at the tested article alone.
#include "index/current_query.h"

#include <algorithm>
#include <new>

#include "index/query_names.h"
#include "storage/id_set.h"
#include "storage/quor_error.h"

namespace {

using SetPtr = std::unique_ptr<CArticleIdSet>;

class CQueryWaitCursor {
public:
    explicit CQueryWaitCursor(CQuerySource* source) : m_source(source)
    {
        if (m_source)
            m_source->BeginWaitCursor();
    }
    ~CQueryWaitCursor()
    {
        if (m_source)
            m_source->EndWaitCursor();
    }
    CQueryWaitCursor(const CQueryWaitCursor&) = delete;
    CQueryWaitCursor& operator=(const CQueryWaitCursor&) = delete;

private:
    CQuerySource* m_source;
};

// What one evaluation reads of the knowledge base more than once, fetched when first needed.
class CEvaluation {
public:
    CEvaluation(CQuerySource& source, int32_t testArticle) : m_source(source), m_testArticle(testArticle) {}

    bool IsSingleArticleTest() const { return m_testArticle != kNoneId; }

    bool HasPrivateArticles()
    {
        if (m_privateCount < 0)
            m_privateCount = m_source.GetPrivateCount();
        return m_privateCount > 0;
    }

    const CArticleIdSet& Shown()
    {
        if (!m_haveShown) {
            m_source.GetAllArticleIds(m_shown);
            m_haveShown = true;
        }
        return m_shown;
    }

    // Keeps only the shown articles, when the knowledge base holds private ones at all.
    void LimitToShown(CArticleIdSet& set)
    {
        if (HasPrivateArticles())
            set.Intersect(Shown());
    }

    // The articles that NOT, NOKEYS and ATTACHMENTS consider: every shown one, or the tested one
    // alone when it is shown.
    void GetCandidates(CArticleIdSet& out)
    {
        if (!IsSingleArticleTest()) {
            out.Copy(Shown());
        } else if (!HasPrivateArticles() || Shown().Contains(m_testArticle)) {
            out.Values().assign(1, m_testArticle);
            out.Sort();
        }
    }

    SetPtr Keyword(int32_t keyword)
    {
        SetPtr set(new CArticleIdSet);
        // The empty quoted name compiles to the none id and selects nothing.
        if (keyword >= 0)
            m_source.GetKeywordArticleIds(keyword, *set);
        LimitToShown(*set);
        return set;
    }

    // The union of the article sets of all keywords of the group. The sorted sets are laid end to
    // end and merged pairwise, level by level, so k sets of n ids in all cost n log k rather than a
    // union per keyword (n k) or a full sort (n log n).
    SetPtr Group(int32_t group)
    {
        SetPtr set(new CArticleIdSet);
        CKeywordIdSet keywords;
        m_source.GetGroupKeywordIds(group, keywords);
        std::vector<int32_t>& ids = set->Values();
        std::vector<size_t> runs{0};
        CArticleIdSet articles;
        for (int i = 0; i < keywords.GetSize(); ++i) {
            articles.Values().clear();
            m_source.GetKeywordArticleIds(keywords.GetAt(i), articles);
            ids.insert(ids.end(), articles.Values().begin(), articles.Values().end());
            runs.push_back(ids.size());
        }
        while (runs.size() > 2) {
            std::vector<size_t> merged{0};
            for (size_t r = 0; r + 1 < runs.size(); r += 2) {
                size_t end = r + 2 < runs.size() ? runs[r + 2] : runs[r + 1];
                if (r + 2 < runs.size())
                    std::inplace_merge(ids.begin() + static_cast<std::ptrdiff_t>(runs[r]),
                                       ids.begin() + static_cast<std::ptrdiff_t>(runs[r + 1]),
                                       ids.begin() + static_cast<std::ptrdiff_t>(end));
                merged.push_back(end);
            }
            runs.swap(merged);
        }
        ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
        LimitToShown(*set);
        return set;
    }

    SetPtr Complement(const CArticleIdSet& operand)
    {
        SetPtr set(new CArticleIdSet);
        CArticleIdSet candidates;
        GetCandidates(candidates);
        set->Copy(candidates);
        set->Subtract(operand);
        return set;
    }

    SetPtr Bookmarked()
    {
        SetPtr set(new CArticleIdSet);
        m_source.GetBookmarkedIds(*set);
        return set;
    }

    SetPtr WithoutKeywords()
    {
        SetPtr set(new CArticleIdSet);
        CArticleIdSet candidates;
        GetCandidates(candidates);
        CKeywordIdSet keywords;
        for (int32_t id : candidates.Values()) {
            keywords.Values().clear();
            m_source.GetArticleKeywordIds(id, keywords);
            if (keywords.GetSize() == 0)
                set->Values().push_back(id);
        }
        return set;
    }

    SetPtr WithAttachments()
    {
        SetPtr set(new CArticleIdSet);
        CArticleIdSet candidates;
        GetCandidates(candidates);
        for (int32_t id : candidates.Values()) {
            if (m_source.GetArticleAttachmentCount(id) > 0)
                set->Values().push_back(id);
        }
        return set;
    }

private:
    CQuerySource& m_source;
    int32_t m_testArticle;
    int m_privateCount = -1;
    bool m_haveShown = false;
    CArticleIdSet m_shown;
};

bool InRange(int32_t date, int32_t from, int32_t to)
{
    return from <= date && date <= to;
}

}  // namespace

CCurrentQuery::~CCurrentQuery() = default;

bool CCurrentQuery::Run(CArticleIdSet& result)
{
    m_testArticle = kNoneId;
    return Evaluate(result);
}

bool CCurrentQuery::TestArticle(int32_t id)
{
    if (!m_source)
        return false;
    try {
        if (!InRange(m_source->GetArticleDate(id), m_from, m_to))
            return false;
        m_testArticle = id;
        CArticleIdSet matches;
        return Evaluate(matches) && matches.Contains(id);
    } catch (const CQuorError& error) {
        error.Report();
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
    }
    return false;
}

bool CCurrentQuery::Evaluate(CArticleIdSet& result)
{
    CQueryWaitCursor wait(m_source);
    const size_t depth = m_stack.size();
    try {
        result.RemoveAll();
        const int count = m_compiler.GetCount();
        if (count == 0 || !m_source)
            return false;

        CEvaluation evaluation(*m_source, m_testArticle);
        // Takes the top set; a set is never taken from below the depth this evaluation began at.
        auto pop = [this, depth]() {
            SetPtr top;
            if (m_stack.size() > depth) {
                top = std::move(m_stack.back());
                m_stack.pop_back();
            } else {
                top.reset(new CArticleIdSet);
            }
            return top;
        };
        for (int i = 0; i < count; ++i) {
            QueryToken instruction;
            m_compiler.GetInstruction(i, instruction);
            SetPtr pushed;
            if (instruction.kind == kTokenKeyword) {
                pushed = evaluation.Keyword(instruction.value);
            } else if (instruction.kind == kTokenGroup) {
                pushed = evaluation.Group(instruction.value);
            } else if (instruction.kind == kTokenWord) {
                switch (instruction.value) {
                case kWordAnd:
                case kWordOr: {
                    SetPtr right = pop();
                    SetPtr left = pop();
                    if (instruction.value == kWordAnd)
                        right->Intersect(*left);
                    else
                        right->Union(*left);
                    pushed = std::move(right);
                    break;
                }
                case kWordNot:
                    pushed = evaluation.Complement(*pop());
                    break;
                case kWordBookmarked:
                    pushed = evaluation.Bookmarked();
                    break;
                case kWordNoKeys:
                    pushed = evaluation.WithoutKeywords();
                    break;
                case kWordAttachments:
                    pushed = evaluation.WithAttachments();
                    break;
                default:
                    break;
                }
            }
            if (pushed)
                m_stack.push_back(std::move(pushed));
        }

        SetPtr top = pop();
        for (int32_t id : top->Values()) {
            if (InRange(m_source->GetArticleDate(id), m_from, m_to))
                result.Values().push_back(id);
        }
        // Code left by a failed compile may leave operands behind; they take no part in later runs.
        m_stack.resize(depth);
        return true;
    } catch (const CQuorError& error) {
        m_stack.resize(depth);
        result.Values().clear();
        error.Report();
    } catch (const std::bad_alloc&) {
        m_stack.resize(depth);
        result.Values().clear();
        ReportOutOfMemory();
    }
    return false;
}

void CCurrentQuery::OnKeywordsDeleted(const CIdSet& keywords)
{
    for (int i = 0; i < m_compiler.GetCount(); ++i) {
        QueryToken instruction;
        m_compiler.GetInstruction(i, instruction);
        if (instruction.kind == kTokenKeyword && keywords.Contains(instruction.value)) {
            m_valid = false;
            return;
        }
    }
}

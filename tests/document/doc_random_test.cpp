// Long random sequences of document operations; after every step the links between articles,
// keywords and groups must hold both ways, by the independent reader and by the document's own check,
// and the closed file must pass the independent reader.
#include <functional>
#include <random>

#include "tests/document/doc_fixture.h"

namespace {
class RandomDriver {
public:
    RandomDriver(std::unique_ptr<CQuorvaneDoc>& doc, unsigned seed) : m_docHolder(doc), m_random(seed) {}
    // The fixture replaces the document when it reopens the file.
    CQuorvaneDoc& Doc() { return *m_docHolder; }

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    template <class Set>
    Set Some(const Set& from, int most)
    {
        Set out;
        for (int32_t id : from.Values())
            if (Pick(from.GetSize() + 1) < most)
                out.Add(id);
        return out;
    }

    CKeywordIdSet SomeKeywords(int most)
    {
        CKeywordIdSet all;
        Doc().GetAllKeywordIds(all);
        CKeywordIdSet out = Some(all, most);
        if (Pick(4) == 0)
            out.Add(Doc().GetKeywordIdByName("pending" + std::to_string(Pick(5))));
        return out;
    }

    CArticleIdSet SomeArticles(int most)
    {
        CArticleIdSet all;
        Doc().GetAllArticleIds(all);
        return Some(all, most);
    }

    CGroupIdSet SomeGroups(int most)
    {
        CGroupIdSet all;
        Doc().GetAllKeywordGroupIds(all);
        return Some(all, most);
    }

    template <class Set>
    int32_t One(const Set& set)
    {
        return set.GetSize() ? set.GetAt(Pick(set.GetSize())) : kNoneId;
    }

    // Runs one operation; returns its name for the failure message.
    std::string Step()
    {
        CKeywordIdSet allKeywords;
        Doc().GetAllKeywordIds(allKeywords);
        CArticleIdSet allArticles;
        Doc().GetAllArticleIds(allArticles);
        CGroupIdSet allGroups;
        Doc().GetAllKeywordGroupIds(allGroups);
        switch (Pick(14)) {
        case 0:
            Doc().AddKeyword("kw" + std::to_string(m_counter++), Pick(2) == 0);
            return "AddKeyword";
        case 1:
        case 2: {
            CArticleRecord record;
            record.SetTitle("article " + std::to_string(m_counter++));
            record.SetKeywordIds(SomeKeywords(4));
            record.SetPrivate(Pick(5) == 0);
            if (Pick(4) == 0)
                record.SetFlags(static_cast<int16_t>(record.GetFlags() | 0x04));
            Doc().AddArticle(record, Pick(3) == 0, false);
            return "AddArticle";
        }
        case 3: {
            int32_t id = One(allArticles);
            if (id == kNoneId)
                return "UpdateArticle (none)";
            CArticleRecord record;
            Doc().LoadArticle(id, record);
            record.SetKeywordIds(SomeKeywords(4));
            if (Pick(2))
                record.SetTitle("renamed " + std::to_string(m_counter++));
            Doc().UpdateArticle(id, record, true);
            return "UpdateArticle";
        }
        case 4:
            Doc().DeleteArticles(SomeArticles(2));
            return "DeleteArticles";
        case 5:
            Doc().DeleteKeywords(Some(allKeywords, 1));
            return "DeleteKeywords";
        case 6: {
            int32_t from = One(allKeywords);
            int32_t into = One(allKeywords);
            if (from == kNoneId || from == into)
                return "MergeKeyword (none)";
            Doc().MergeKeyword(from, into);
            Doc().DeleteKeywords(Keywords({from}));
            return "MergeKeyword";
        }
        case 7:
            Doc().AssignKeywords(SomeArticles(3), Some(allKeywords, 2));
            return "AssignKeywords";
        case 8: {
            int32_t id = One(allKeywords);
            if (id == kNoneId)
                return "UpdateKeyword (none)";
            Doc().UpdateKeyword(id, "renamed kw" + std::to_string(m_counter++), SomeGroups(2));
            return "UpdateKeyword";
        }
        case 9: {
            CKeywordGroupRecord group;
            group.SetName("group" + std::to_string(m_counter++));
            group.SetKeywordIds(SomeKeywords(3));
            Doc().AddKeywordGroup(group);
            return "AddKeywordGroup";
        }
        case 10: {
            int32_t id = One(allGroups);
            if (id == kNoneId)
                return "UpdateKeywordGroup (none)";
            CKeywordGroupRecord group;
            Doc().LoadKeywordGroup(id, group);
            group.SetKeywordIds(SomeKeywords(3));
            Doc().UpdateKeywordGroup(id, group);
            return "UpdateKeywordGroup";
        }
        case 11: {
            int32_t from = One(allGroups);
            int32_t into = One(allGroups);
            if (from == kNoneId || from == into) {
                Doc().DeleteKeywordGroups(Some(allGroups, 1));
                return "DeleteKeywordGroups";
            }
            Doc().MergeKeywordGroup(from, into);
            return "MergeKeywordGroup";
        }
        case 12:
            Doc().AddKeywordsToGroups(Some(allKeywords, 2), SomeGroups(2));
            return "AddKeywordsToGroups";
        default: {
            int32_t id = One(allArticles);
            if (id != kNoneId)
                Doc().SetBookmark(id, Pick(2) == 0);
            Doc().OnFileSave();
            return "SetBookmark and Save File";
        }
        }
    }

private:
    std::unique_ptr<CQuorvaneDoc>& m_docHolder;
    std::mt19937 m_random;
    int m_counter = 0;
};

class DocRandom : public DocFixture, public ::testing::WithParamInterface<unsigned> {};
}  // namespace

TEST_P(DocRandom, LinksHoldAfterEveryStep)
{
    Create();
    m_doc->SetPassword("pw");  // private articles are stored masked under the password's key
    m_host.m_password = "pw";
    m_unlockAfterOpen = true;
    RandomDriver driver(m_doc, GetParam());
    for (int step = 0; step < 300; ++step) {
        std::string operation = driver.Step();
        ASSERT_EQ(CheckOpenFile(), "") << "after step " << step << ": " << operation;
        std::string broken;
        ASSERT_TRUE(m_doc->CheckInvariants(&broken)) << "after step " << step << ": " << operation << ": " << broken;
        ASSERT_TRUE(m_errors.Messages().empty()) << "after step " << step << ": " << operation << ": "
                                                 << m_errors.Messages()[0];
        if (step % 100 == 99) {
            Reopen();
            ASSERT_EQ(CheckOpenFile(), "") << "after reopening at step " << step;
        }
    }
    Close();

    CDataFile file;
    file.Open(m_path, true);
    CFilePassword password;
    password.Load(file);
    ASSERT_TRUE(password.Verify("pw"));
    FileTables tables = ReadFileTables(file);
    EXPECT_EQ(CheckTableLinks(tables, true), "");
    file.Close();
}

INSTANTIATE_TEST_SUITE_P(Seeds, DocRandom, ::testing::Values(1u, 2u, 3u, 4u));

namespace {
class DocInvariants : public DocFixture {};
}  // namespace

// Each side of each link broken behind the document's back: its own check names the break, and a
// record put back makes it whole again.
TEST_F(DocInvariants, TheDocumentsOwnCheckNamesEachBrokenLink)
{
    Create();
    int32_t k = m_doc->AddKeyword("k", false);
    int32_t a = AddArticle("a", Keywords({k}));
    int32_t g = AddGroup("g", Keywords({k}));
    ASSERT_TRUE(m_doc->CheckInvariants());
    CDataFile& file = m_doc->GetDataFile();

    struct Break {
        const char* expected;
        std::function<void()> breakIt;
        std::function<void()> mend;
    };
    CArticleRecord article;
    article.Read(file, a);
    CKeywordRecord keyword;
    keyword.Read(file, k);
    CKeywordGroupRecord group;
    group.Read(file, g);
    const Break breaks[] = {
        {"keyword 0 lists article 0, which does not name it",
         [&] {
             CArticleRecord bare;
             bare.Read(file, a);
             bare.SetKeywordIds(Keywords({}));
             bare.Write(file, a);
         },
         [&] { article.Write(file, a); }},
        {"article 0 names keyword 0, which does not list it",
         [&] {
             CKeywordRecord bare;
             bare.Read(file, k);
             bare.SetArticleIds(Articles({}));
             bare.Write(file, k);
         },
         [&] { keyword.Write(file, k); }},
        {"keyword 0 names group 0, which does not list it",
         [&] {
             CKeywordGroupRecord bare;
             bare.Read(file, g);
             bare.SetKeywordIds(Keywords({}));
             bare.Write(file, g);
         },
         [&] { group.Write(file, g); }},
    };
    for (const Break& b : breaks) {
        b.breakIt();
        std::string broken;
        EXPECT_FALSE(m_doc->CheckInvariants(&broken)) << b.expected;
        EXPECT_EQ(broken, b.expected);
        b.mend();
        EXPECT_TRUE(m_doc->CheckInvariants(&broken)) << broken;
    }
}

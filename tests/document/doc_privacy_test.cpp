// Private articles, the password and the rewrites a change of protection needs.
#include "document/password_checks.h"
#include "framework/string_table.h"
#include "resources/resource.h"
#include "tests/document/doc_fixture.h"

using DocPrivacy = DocFixture;

TEST_F(DocPrivacy, RemovingThePasswordOfAProtectedFileLeavesEverythingReadable)
{
    Create();
    m_doc->SetPassword("pw");
    int32_t k = m_doc->AddKeyword("Secret keyword", false);
    int32_t hidden = AddArticle("private one", Keywords({k}), true);
    AddArticle("open one", Keywords({k}));
    m_doc->SetProtectAll(true);
    m_doc->RewriteAfterProtectionChange();
    CKeywordGroupRecord group;
    group.SetName("Masked group");
    group.SetKeywordIds(Keywords({k}));
    int32_t g = m_doc->AddKeywordGroup(group);

    m_host.m_password = "pw";
    Reopen();
    EXPECT_EQ(m_host.m_passwordPrompts.size(), 1u);
    EXPECT_EQ(CheckOpenFile(), "");
    m_doc->RemovePassword();
    EXPECT_FALSE(m_doc->HasPassword());
    EXPECT_EQ(m_doc->GetPrivateArticleCount(), 0);

    m_host.m_password.clear();
    Reopen();
    EXPECT_EQ(m_host.m_passwordPrompts.size(), 1u);
    EXPECT_EQ(m_doc->GetKeywordGroupName(g), "Masked group");
    EXPECT_EQ(m_doc->GetKeywordName(k), "Secret keyword");
    EXPECT_STREQ(m_doc->GetArticleTitle(hidden), "private one");
    EXPECT_EQ(CheckOpenFile(), "");
    EXPECT_TRUE(m_errors.Messages().empty());
}

TEST_F(DocPrivacy, HiddenPrivateArticlesLeaveTheCountsAndLists)
{
    Create();
    m_doc->SetPassword("pw");
    int32_t shown = AddArticle("shown", Keywords({}));
    int32_t hidden = AddArticle("hidden", Keywords({}), true);
    m_doc->SetBookmark(shown, true);
    m_doc->SetBookmark(hidden, true);
    m_trace.clear();
    m_doc->HidePrivateArticles();
    EXPECT_TRUE(m_doc->ArePrivateArticlesHidden());
    EXPECT_EQ(m_trace, (Trace{{IndexCode::kRerunTitles, 0, 0}, {IndexCode::kRemindersChanged, 0, 0}}));
    EXPECT_EQ(m_doc->GetArticleCount(), 1);
    EXPECT_EQ(m_doc->GetBookmarkedCount(), 1);
    CArticleIdSet all;
    m_doc->GetAllArticleIds(all);
    EXPECT_EQ(all.Values(), (std::vector<int32_t>{shown}));

    m_host.m_password = "wrong";
    EXPECT_FALSE(m_doc->UnlockPrivateArticles());
    m_host.m_password = "pw";
    EXPECT_TRUE(m_doc->UnlockPrivateArticles());
    EXPECT_EQ(m_doc->GetArticleCount(), 2);
}

TEST_F(DocPrivacy, HidingIsRefusedWhileAPrivateArticleCannotBeSaved)
{
    Create();
    m_doc->SetPassword("pw");
    int32_t hidden = AddArticle("hidden", Keywords({}), true);
    CRecordingArticleView window(m_trace, hidden);
    window.m_modified = true;
    window.m_canSave = false;
    m_doc->AddView(&window);
    m_doc->HidePrivateArticles();
    EXPECT_FALSE(m_doc->ArePrivateArticlesHidden());
    ASSERT_EQ(m_host.m_informed.size(), 1u);
    EXPECT_EQ(m_host.m_informed[0],
              QuorLoadString(IDS_CANNOT_HIDE_PRIVATE));
    m_doc->RemoveView(&window);
}

TEST_F(DocPrivacy, RewritingManyArticlesStopsBeforeChangingAnythingWhenOneIsUnreadable)
{
    Create();
    m_doc->SetPassword("pw");
    int32_t k = m_doc->AddKeyword("k", false);
    int32_t a = AddArticle("open", Keywords({k}));
    int32_t b = AddArticle("private", Keywords({k}), true);
    Reopen();  // private articles are now hidden and cannot be read
    EXPECT_THROW(m_doc->DeleteKeywords(Keywords({k})), CQuorError);
    m_host.m_password = "pw";
    ASSERT_TRUE(m_doc->UnlockPrivateArticles());
    EXPECT_EQ(m_doc->GetKeywordName(k), "k");
    CArticleIdSet ids;
    m_doc->GetKeywordArticleIds(k, ids);
    EXPECT_EQ(ids.Values(), (std::vector<int32_t>{a, b}));
    EXPECT_EQ(CheckOpenFile(), "");
}

struct PasswordCase {
    const char* name;
    std::string old, entered, verify;
    bool confirm;
    PasswordDlgOutcome outcome;
    std::vector<std::string> messages;  // string-table texts shown, in order
    bool hasPasswordAfter;
};

class ChangePassword : public DocFixture, public ::testing::WithParamInterface<PasswordCase> {};

TEST_P(ChangePassword, FollowsTheDialogRules)
{
    Create();
    m_doc->SetPassword("old");
    m_host.m_answers.push_back(GetParam().confirm);
    PasswordDlgOutcome outcome =
        ChangePasswordOk(*m_doc, m_host, GetParam().old, GetParam().entered, GetParam().verify);
    EXPECT_EQ(outcome, GetParam().outcome);
    std::vector<std::string> shown = m_host.m_informed;
    shown.insert(shown.end(), m_host.m_asked.begin(), m_host.m_asked.end());
    std::vector<std::string> expected;
    for (const std::string& id : GetParam().messages)
        expected.push_back(QuorLoadString(std::stoi(id)));
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(m_doc->HasPassword(), GetParam().hasPasswordAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChangePassword,
    ::testing::Values(PasswordCase{"WrongOld", "bad", "new", "new", false, PasswordDlgOutcome::kCloseCancel, {"1304"}, true},
                      PasswordCase{"Mismatch", "old", "new", "other", false, PasswordDlgOutcome::kStayOpen, {"1305"}, true},
                      PasswordCase{"Changed", " old ", " new", "new ", false, PasswordDlgOutcome::kCloseOk, {}, true},
                      PasswordCase{"RemoveDeclined", "old", "", "  ", false, PasswordDlgOutcome::kStayOpen, {"1312"}, true},
                      PasswordCase{"Removed", "old", "", "", true, PasswordDlgOutcome::kCloseOk, {"1312"}, false}),
    [](const ::testing::TestParamInfo<PasswordCase>& info) { return info.param.name; });

TEST_F(DocPrivacy, CreateAndEnterPasswordDialogRules)
{
    Create();
    EXPECT_EQ(CreatePasswordOk(*m_doc, m_host, "   ", "   "), PasswordDlgOutcome::kStayOpen);
    EXPECT_EQ(m_host.m_informed, (std::vector<std::string>{QuorLoadString(1311)}));
    EXPECT_EQ(CreatePasswordOk(*m_doc, m_host, "a", "b"), PasswordDlgOutcome::kStayOpen);
    EXPECT_EQ(CreatePasswordOk(*m_doc, m_host, " pw ", "pw"), PasswordDlgOutcome::kCloseOk);
    EXPECT_TRUE(m_doc->HasPassword());

    m_host.m_informed.clear();
    EXPECT_EQ(EnterPasswordOk(m_doc->GetPassword(), m_host, "nope", false), PasswordDlgOutcome::kCloseCancel);
    EXPECT_TRUE(m_host.m_informed.empty());
    EXPECT_EQ(EnterPasswordOk(m_doc->GetPassword(), m_host, "nope", true), PasswordDlgOutcome::kCloseCancel);
    EXPECT_EQ(m_host.m_informed, (std::vector<std::string>{QuorLoadString(1304)}));
    EXPECT_EQ(EnterPasswordOk(m_doc->GetPassword(), m_host, "pw", true), PasswordDlgOutcome::kCloseOk);
}

TEST_F(DocPrivacy, AnEmptyNewPasswordIsRefusedWhileTheFileHasPrivateArticles)
{
    Create();
    m_doc->SetPassword("old");
    AddArticle("private", Keywords({}), true);
    EXPECT_EQ(ChangePasswordOk(*m_doc, m_host, "old", "", ""), PasswordDlgOutcome::kStayOpen);
    EXPECT_EQ(m_host.m_informed, (std::vector<std::string>{QuorLoadString(1311)}));
    EXPECT_TRUE(m_host.m_asked.empty());
}

// A wrong old password used to lock the file, hiding the private articles without any of the steps
// that hiding takes; the articles must stay shown and the password must stay changeable.
TEST_F(DocPrivacy, AWrongOldPasswordLeavesThePrivateArticlesShown)
{
    Create();
    m_doc->SetPassword("old");
    int32_t hidden = AddArticle("private", Keywords({}), true);
    AddArticle("open", Keywords({}));
    ASSERT_FALSE(m_doc->ArePrivateArticlesHidden());

    EXPECT_EQ(ChangePasswordOk(*m_doc, m_host, "olde", "new", "new"), PasswordDlgOutcome::kCloseCancel);
    EXPECT_FALSE(m_doc->VerifyPassword("wrong"));
    EXPECT_FALSE(m_doc->ArePrivateArticlesHidden());
    EXPECT_EQ(m_doc->GetArticleCount(), 2);
    EXPECT_STREQ(m_doc->GetArticleTitle(hidden), "private");

    EXPECT_EQ(ChangePasswordOk(*m_doc, m_host, "old", "new", "new"), PasswordDlgOutcome::kCloseOk);
    m_host.m_password = "new";
    Reopen();
    ASSERT_TRUE(m_doc->UnlockPrivateArticles());
    EXPECT_STREQ(m_doc->GetArticleTitle(hidden), "private");
    EXPECT_EQ(CheckOpenFile(), "");
}

// The old password of Change Password typed right while the private articles are hidden shows them;
// the views must hear it as they do after unlocking, or the lists and the document disagree.
TEST_F(DocPrivacy, ARightOldPasswordWhileHiddenShowsThePrivateArticlesToTheViewsToo)
{
    Create();
    m_doc->SetPassword("old");
    int32_t hidden = AddArticle("private", Keywords({}), true);
    AddArticle("open", Keywords({}));
    Reopen();
    ASSERT_TRUE(m_doc->ArePrivateArticlesHidden());
    CRecordingReportView reports[] = {{m_trace, ReportKind::kIndexReport}, {m_trace, ReportKind::kKeywordUsage},
                                      {m_trace, ReportKind::kKeywordCloud}, {m_trace, ReportKind::kKeywordGroups}};
    for (auto& report : reports)
        m_doc->AddView(&report);
    const Trace shown{{IndexCode::kRerunTitles, 0, 0}, {IndexCode::kRemindersChanged, 0, 0}, {ReportRequest::kPrivateChanged, ReportKind::kIndexReport, 0, 0}, {ReportRequest::kPrivateChanged, ReportKind::kKeywordUsage, 0, 0}, {ReportRequest::kPrivateChanged, ReportKind::kKeywordCloud, 0, 0}};

    // A wrong one changes nothing and tells nobody.
    EXPECT_EQ(ChangePasswordOk(*m_doc, m_host, "wrong", "new", "new"), PasswordDlgOutcome::kCloseCancel);
    EXPECT_TRUE(m_doc->ArePrivateArticlesHidden());
    EXPECT_EQ(m_trace, Trace{});

    EXPECT_EQ(ChangePasswordOk(*m_doc, m_host, "old", "new", "new"), PasswordDlgOutcome::kCloseOk);
    EXPECT_FALSE(m_doc->ArePrivateArticlesHidden());
    EXPECT_EQ(m_trace, shown);
    EXPECT_EQ(m_doc->GetArticleCount(), 2);
    EXPECT_STREQ(m_doc->GetArticleTitle(hidden), "private");

    // Already shown: verifying again sends nothing more.
    m_trace.clear();
    EXPECT_EQ(ChangePasswordOk(*m_doc, m_host, "new", "newer", "newer"), PasswordDlgOutcome::kCloseOk);
    EXPECT_EQ(m_trace, Trace{});
    for (auto& report : reports)
        m_doc->RemoveView(&report);
}

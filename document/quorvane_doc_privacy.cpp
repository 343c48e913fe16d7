// Private articles, the file password and the rewrites a change of protection needs.
#include <new>

#include "document/doc_errors.h"
#include "document/doc_host.h"
#include "document/doc_views.h"
#include "document/quorvane_doc.h"
#include "framework/string_table.h"
#include "resources/resource.h"
#include "storage/article_record.h"
#include "storage/keyword_record.h"
#include "storage/quor_error.h"


bool CQuorvaneDoc::ArePrivateArticlesHidden() const
{
    return !m_password->IsUnlocked();
}

bool CQuorvaneDoc::HasPassword() const
{
    return m_password->HasPassword();
}

bool CQuorvaneDoc::SetPassword(const std::string& text)
{
    COperationCheck check(*this, "SetPassword");
    m_password->SetPassword(text);
    UpdateHiddenReminderArticles();
    if (CanModify())
        m_password->Save(m_dataFile);
    return true;
}

// A wrong entry must not lock the file: that would hide the private articles without saving their
// windows, freeing their cached entries or telling the views. A right entry while they are hidden
// shows them, and the views learn it as they do after unlocking.
bool CQuorvaneDoc::VerifyPassword(const std::string& text)
{
    if (!m_password->Matches(text))
        return false;
    bool wasHidden = ArePrivateArticlesHidden();
    if (!m_password->Verify(text))
        return false;
    if (wasHidden && !ArePrivateArticlesHidden())
        NotifyPrivacyChanged();
    return true;
}

bool CQuorvaneDoc::IsPasswordAskedAtOpen() const
{
    return m_dataFile.IsPasswordAtOpen();
}

void CQuorvaneDoc::SetPasswordAskedAtOpen(bool on)
{
    m_dataFile.SetPasswordAtOpen(on);
}

bool CQuorvaneDoc::IsProtectAll() const
{
    return m_dataFile.IsProtectAll();
}

void CQuorvaneDoc::SetProtectAll(bool on)
{
    COperationCheck check(*this, "SetProtectAll");
    m_dataFile.SetProtectAll(on);
}

void CQuorvaneDoc::NotifyPrivacyChanged()
{
    UpdateHiddenReminderArticles();
    NotifyIndexView(IndexCode::kRerunTitles);
    NotifyIndexView(IndexCode::kRemindersChanged);
    for (ReportKind kind : kKeywordReports)
        QueryReportView(kind, ReportRequest::kPrivateChanged);
}

bool CQuorvaneDoc::UnlockPrivateArticles()
{
    COperationCheck check(*this, "UnlockPrivateArticles");
    if (!m_host.PromptPassword(FileName(), *m_password))
        return false;
    NotifyPrivacyChanged();
    return true;
}

void CQuorvaneDoc::HidePrivateArticles()
{
    COperationCheck check(*this, "HidePrivateArticles");
    bool saved = true;
    std::vector<CDocumentView*> views = Views();
    for (CDocumentView* view : views) {
        auto* article = dynamic_cast<CArticleNotifyTarget*>(view);
        if (!article)
            continue;
        article->SaveIfModified();
        if (article->IsModified())
            saved = false;
    }
    for (CDocumentView* view : views) {
        auto* article = dynamic_cast<CArticleNotifyTarget*>(view);
        if (saved && article && IsArticlePrivate(article->GetArticleId()) && !article->PromptSaveAndClose())
            saved = false;
    }
    if (!saved) {
        m_host.Inform(QuorLoadString(IDS_CANNOT_HIDE_PRIVATE),
                      CDocHost::kExclamation);
        return;
    }
    for (int32_t id : m_privateIds.Values())
        FreeIndexEntry(id);
    m_password->Lock();
    NotifyPrivacyChanged();
}

// Every keyword and keyword-group record is read and written back, so that its packed name takes the
// form the file's current flags and record key select.
void CQuorvaneDoc::RewriteAllKeywords()
{
    for (int32_t keyword = 0; keyword < static_cast<int32_t>(m_keywordNames.size()); ++keyword) {
        if (m_keywordNames[static_cast<size_t>(keyword)].empty())
            continue;
        CKeywordRecord record;
        record.Read(m_dataFile, keyword);
        record.Write(m_dataFile, keyword);
    }
    for (int32_t group = 0; group < static_cast<int32_t>(m_groupNames.size()); ++group) {
        if (m_groupNames[static_cast<size_t>(group)].empty())
            continue;
        CKeywordGroupRecord record;
        record.Read(m_dataFile, group);
        record.Write(m_dataFile, group);
    }
}

void CQuorvaneDoc::RewriteArticles(const CArticleIdSet& ids)
{
    for (int32_t id : ids.Values()) {
        CArticleRecord record;
        LoadArticle(id, record);
        record.Write(m_dataFile, id);
    }
}

void CQuorvaneDoc::RewriteAfterProtectionChange()
{
    COperationCheck check(*this, "RewriteAfterProtectionChange");
    ReportErrors([&] {
        OnFileSave();
        if (!IsOpen())
            return;
        CDocWaitCursor wait(m_host);
        m_queries.Save(m_dataFile);
        RewriteAllKeywords();
        CArticleIdSet all;
        GetAllArticleIds(all);
        RewriteArticles(all);
        // Placeholders are stored articles too; they must follow the file's protection.
        RewriteArticles(m_placeholderIds);
        m_dataFile.Flush();
    });
}

void CQuorvaneDoc::RemovePassword()
{
    COperationCheck check(*this, "RemovePassword");
    ReportErrors([&] {
        bool protectedAll = IsProtectAll();
        OnFileSave();
        if (!IsOpen())
            return;
        CDocWaitCursor wait(m_host);
        SetPasswordAskedAtOpen(false);
        SetProtectAll(false);
        m_queries.Save(m_dataFile);
        RewriteAllKeywords();
        CArticleIdSet targets;
        if (protectedAll)
            targets.Copy(m_allIds);
        else
            targets.Copy(m_privateIds);
        for (int32_t id : targets.Values()) {
            CArticleRecord record;
            LoadArticle(id, record);
            record.SetPrivate(false);
            UpdateArticle(id, record, false);
        }
        RewriteArticles(m_placeholderIds);
        m_password->RemovePassword();
        UpdateHiddenReminderArticles();
        WriteKeyedRecords(false);
        m_dataFile.Flush();
    });
}

void CQuorvaneDoc::CopyRecordKey(CDataFile& other) const
{
    other.SetRecordKey(m_dataFile.GetRecordKey());
}

// The document's side of the reminders: the Set Reminder edit and what the reminder list needs to
// know of the open file (which articles are hidden, the preset reminder time).
#include "document/doc_host.h"
#include "document/quorvane_doc.h"
#include "shell/app_settings.h"

void CQuorvaneDoc::EditArticleReminder(int32_t article)
{
    int32_t reminderId = m_reminders.FindByArticle(article);
    // The dialog starts from the stored values (the defaults for a new reminder), so that a record
    // handed back unchanged keeps its due moment.
    ReminderRecord record;
    if (!m_reminders.GetReminder(reminderId, record))
        record.articleId = article;
    bool deleteChosen = false;
    if (!m_host.EditReminder(article, reminderId, record, deleteChosen))
        return;
    if (deleteChosen)
        m_reminders.DeleteReminder(reminderId);
    else
        m_reminders.SetReminder(reminderId, record);
    NotifyReminderChanged(article);
}

int32_t CQuorvaneDoc::GetPresetReminderTime() const
{
    if (!m_settings)
        return -1;
    int type = 0;
    int time = 0;
    m_settings->GetDefaultReminder(type, time);
    return type == 1 ? time : -1;
}

void CQuorvaneDoc::UpdateHiddenReminderArticles()
{
    m_reminders.SetHiddenArticles(ArePrivateArticlesHidden() ? m_privateIds : CArticleIdSet());
}

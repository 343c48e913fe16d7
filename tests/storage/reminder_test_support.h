// Reminder records for tests.
#pragma once
#include "storage/reminder_list.h"

inline ReminderRecord Reminder(int32_t article, int32_t date, int32_t time)
{
    ReminderRecord record;
    record.date = date;
    record.time = time;
    record.articleId = article;
    return record;
}

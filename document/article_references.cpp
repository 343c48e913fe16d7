#include "document/article_references.h"

#include "storage/article_record.h"

namespace {
constexpr int16_t kArticleLink = 3;
}

bool TranslateArticleReferences(CArticleRecord& record, const std::function<int32_t(int32_t)>& translate)
{
    bool refers = false;
    CLinkRangeList links;
    for (int i = 0; i < record.GetLinks().GetCount(); ++i) {
        LinkRange range;
        record.GetLinks().GetAt(i, range);
        if (range.type == kArticleLink) {
            refers = true;
            if (range.targetArticle >= 0) {
                range.targetArticle = translate(range.targetArticle);
                if (range.targetArticle == kNoneId)
                    continue;
            }
        }
        links.Add(range);
    }
    CAttachmentArray attachments;
    for (int i = 0; i < record.GetAttachmentCount(); ++i) {
        CLinkTarget target = *record.GetAttachments().Item(i);
        if (target.GetKind() == CLinkTarget::kArticle && target.GetArticleId() >= 0) {
            refers = true;
            int32_t article = translate(target.GetArticleId());
            if (article == kNoneId)
                continue;
            target.Set(CLinkTarget::kArticle, target.GetStoredTarget(), target.GetFlags(), article);
        }
        attachments.Add(target);
    }
    if (refers) {
        record.SetLinks(links);
        record.SetAttachments(attachments);
    }
    return refers;
}

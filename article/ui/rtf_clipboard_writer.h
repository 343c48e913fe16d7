// The rich-text rendering of articles copied to the clipboard: one RTF document that holds every
// article in order, built in hidden rich-text controls of the program's own class so that the
// header lines take the article font and each article's own RTF keeps its fonts and colours.
#pragma once
#include <string>

#include "article/ui/rich_edit_ctrl1.h"
#include "document/doc_host.h"

class CRtfClipboardWriter : public IArticleRtfWriter {
public:
    CRtfClipboardWriter() = default;
    CRtfClipboardWriter(const CRtfClipboardWriter&) = delete;
    CRtfClipboardWriter& operator=(const CRtfClipboardWriter&) = delete;

    // Raises CQuorError 1 when a control cannot be made or a stream stops early.
    void AddArticle(const Article& article) override;
    std::string GetRtf() override;

private:
    // A small batch of articles is built in its own control and then appended to the whole as one
    // piece: every append to a control costs in proportion to the text it already holds, so building
    // thousands of articles straight into one control would take minutes.
    static constexpr int kBatchSize = 32;

    // Makes `edit` on first use: a message-only window, never shown, in the default formats.
    static void Prepare(CRichEditCtrl1& edit);
    // Moves the batch to the end of the whole and empties it.
    void FlushBatch();

    CRichEditCtrl1 m_batch;
    int m_inBatch = 0;
    CRichEditCtrl1 m_whole;
    bool m_wholeUsed = false;
};

// The Article Properties sheet: General (title, date and time, counts, word wrap, title kept as the
// first line, private) and Attachments (the attachment list with add, edit, detach, reorder, open and
// a preview). The caller fills Data() before DoModal and reads it back after IDOK; the pages move the
// values between their controls and the data and set its changed flags. A read-only file shows every
// changing control disabled; opening an attachment and its preview still work.
#pragma once
#include <string>

#include "article/article_properties_model.h"
#include "article/ui/attachment_list_box.h"
#include "controls/ui/date_edit.h"
#include "controls/ui/date_time_picker.h"
#include "controls/ui/masked_bitmap.h"
#include "framework/ui/property_sheet.h"

class CArticleProperties;
class CQuorvaneDoc;

class CArtPropGeneral : public CPropertyPage {
public:
    explicit CArtPropGeneral(CArticleProperties& sheet);

    bool IsTimeChanged() const;

protected:
    bool OnInitDialog() override;
    bool OnKillActive() override;
    void OnOK() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // The user's password before the article may become private: false keeps the page.
    bool CheckPrivacy();
    void PaintMarks(HDC dc);

    CArticleProperties& m_owner;
    CDateEdit m_date;
    CDateTimePicker m_time;
    CMaskedBitmap m_bookmark;
    CMaskedBitmap m_attachment;
    CMaskedBitmap m_reminder;
    bool m_wasPrivate = false;
};

class CArtPropAttachment : public CPropertyPage {
public:
    explicit CArtPropAttachment(CArticleProperties& sheet);
    ~CArtPropAttachment() override;

    void UpdateButtons();
    void DrawPreview();
    CAttachmentListBox& List() { return m_list; }

protected:
    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    bool OnDestroy(LRESULT& result) override;

private:
    void OnAdd();
    void OnEdit();
    void OnDetach();
    void OnMove(bool up);
    void OnOpen();
    bool SaveFullPaths() const;
    // Puts `target` in place of item `index` (or adds it for -1), selects it alone and shows it.
    void PlaceItem(int index, const CLinkTarget& target);
    void FreePreview();

    CArticleProperties& m_owner;
    CAttachmentListBox m_list;
    RECT m_previewArea = {0, 0, 0, 0};
    int m_previewEdge = 0;
    HICON m_upIcon = nullptr;
    HICON m_downIcon = nullptr;
};

// What the sheet needs of the program beyond the document.
struct ArticlePropertiesServices {
    // The folder relative file and folder targets are kept against.
    std::string baseFolder;
};

class CArticleProperties : public CPropertySheet {
public:
    CArticleProperties(CQuorvaneDoc& document, HWND parent = nullptr);

    // The values both pages show and give back.
    ArticlePropertiesData& Data() { return m_data; }
    CQuorvaneDoc& Document() { return m_document; }
    ArticlePropertiesServices& Services() { return m_services; }
    // The page the sheet opens on: 0 General, 1 Attachments.
    void SetStartPage(int index) { SetActivePage(index); }
    bool IsChanged() const { return m_data.IsChanged(); }

private:
    CQuorvaneDoc& m_document;
    ArticlePropertiesData m_data;
    ArticlePropertiesServices m_services;
    CArtPropGeneral m_general;
    CArtPropAttachment m_attachmentsPage;
};

// Article Properties of a stored article that no window shows: the article is loaded, shown on the
// General (0) or the Attachments (1) page, and written back only when something changed; with the
// file's "update article dates" option the untouched date and time become now. True when it was
// written.
bool RunStoredArticleProperties(CQuorvaneDoc& document, int32_t id, int page, HWND owner);

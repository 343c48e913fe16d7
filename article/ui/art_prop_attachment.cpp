// The Attachments page of Article Properties.
#include <new>
#include <string>
#include <vector>

#include "article/ui/article_properties.h"
#include "article/ui/attachment_dlgs.h"
#include "article/ui/attachment_thumbnail.h"
#include "document/quorvane_doc.h"
#include "resources/article_properties_res.h"
#include "shell/app_settings.h"
#include "storage/quor_error.h"

CArtPropAttachment::CArtPropAttachment(CArticleProperties& sheet)
    : CPropertyPage(IDD_ART_PROP_ATTACHMENTS), m_owner(sheet)
{
}

CArtPropAttachment::~CArtPropAttachment()
{
    if (m_upIcon)
        ::DestroyIcon(m_upIcon);
    if (m_downIcon)
        ::DestroyIcon(m_downIcon);
}

bool CArtPropAttachment::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    const bool m = m_owner.Document().CanModify();
    m_previewArea = ChildRectInParent(m_hWnd, ::GetDlgItem(m_hWnd, IDC_ATT_PREVIEW_FRAME));
    const int width = m_previewArea.right - m_previewArea.left;
    const int height = m_previewArea.bottom - m_previewArea.top;
    m_previewEdge = width < height ? width : height;
    ::MoveWindow(::GetDlgItem(m_hWnd, IDC_ATT_PREVIEW), m_previewArea.left, m_previewArea.top, width, height, FALSE);

    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    m_upIcon = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_MOVE_UP), IMAGE_ICON, 16, 16, 0));
    m_downIcon = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_MOVE_DOWN), IMAGE_ICON, 16, 16, 0));
    ::SendDlgItemMessageA(m_hWnd, IDC_ATT_MOVE_UP, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(m_upIcon));
    ::SendDlgItemMessageA(m_hWnd, IDC_ATT_MOVE_DOWN, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(m_downIcon));

    m_list.SubclassDlgItem(IDC_ATT_LIST, m_hWnd);
    m_list.SetTabStop(40);
    m_list.LoadImages();
    m_list.SetCheckMode(true, !m);
    ::CheckDlgButton(m_hWnd, IDC_ATT_FULL_PATHS, m_owner.Data().saveFullPaths ? BST_CHECKED : BST_UNCHECKED);
    UpdateButtons();
    return true;
}

bool CArtPropAttachment::OnSetActive()
{
    ArticlePropertiesData& data = m_owner.Data();
    m_list.SetItemHeight();
    m_list.SetAll(data.attachments);
    m_list.SelectOnly(m_list.GetCount() > 0 ? 0 : -1);
    UpdateButtons();
    bool autoOpen = data.autoOpen == 2;
    if (data.autoOpen == 0) {
        const CAppSettings* settings = m_owner.Document().GetSettings();
        autoOpen = settings && ((data.defaultKind == 1 && settings->GetAutoOpenFile()) ||
                                (data.defaultKind == 2 && settings->GetAutoOpenInternet()));
    }
    ::CheckDlgButton(m_hWnd, IDC_ATT_AUTO_OPEN, autoOpen ? BST_CHECKED : BST_UNCHECKED);
    DrawPreview();
    return CPropertyPage::OnSetActive();
}

void CArtPropAttachment::UpdateButtons()
{
    const std::vector<int> selected = m_list.GetSelectedIndices();
    const AttachmentButtonState state =
        AttachmentButtons(m_owner.Document().CanModify(), static_cast<int>(selected.size()), m_list.GetCount(),
                          selected.empty() ? -1 : selected[0]);
    const struct {
        int id;
        bool on;
    } buttons[] = {
        {IDC_ATT_ADD, state.add},           {IDC_ATT_EDIT, state.edit},         {IDC_ATT_DETACH, state.detach},
        {IDC_ATT_OPEN, state.open},         {IDC_ATT_AUTO_OPEN, state.checks},  {IDC_ATT_FULL_PATHS, state.checks},
        {IDC_ATT_MOVE_UP, state.moveUp},    {IDC_ATT_MOVE_DOWN, state.moveDown},
    };
    HWND focus = ::GetFocus();
    for (const auto& button : buttons) {
        HWND control = ::GetDlgItem(m_hWnd, button.id);
        if (!button.on && control == focus) {
            // The arrow that had the focus hands it to the other one.
            const int other = button.id == IDC_ATT_MOVE_UP ? IDC_ATT_MOVE_DOWN
                            : button.id == IDC_ATT_MOVE_DOWN ? IDC_ATT_MOVE_UP
                                                             : 0;
            if (other && (other == IDC_ATT_MOVE_UP ? state.moveUp : state.moveDown))
                ::SetFocus(::GetDlgItem(m_hWnd, other));
        }
        ::EnableWindow(control, button.on ? TRUE : FALSE);
    }
}

void CArtPropAttachment::FreePreview()
{
    HWND picture = ::GetDlgItem(m_hWnd, IDC_ATT_PREVIEW);
    // STM_SETIMAGE answers the picture it held; the page made it and deletes it.
    HBITMAP old = reinterpret_cast<HBITMAP>(::SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, 0));
    if (old)
        ::DeleteObject(old);
}

void CArtPropAttachment::DrawPreview()
{
    FreePreview();
    const std::vector<int> selected = m_list.GetSelectedIndices();
    if (selected.size() != 1)
        return;
    const int width = m_previewArea.right - m_previewArea.left;
    const int height = m_previewArea.bottom - m_previewArea.top;
    if (width <= 0 || height <= 0)
        return;
    HDC screen = ::GetDC(m_hWnd);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    ::ReleaseDC(m_hWnd, screen);
    if (!dc || !bitmap) {
        if (dc)
            ::DeleteDC(dc);
        if (bitmap)
            ::DeleteObject(bitmap);
        return;
    }
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    const RECT all = {0, 0, width, height};
    ::FillRect(dc, &all, ::GetSysColorBrush(COLOR_WINDOW));
    const CLinkTarget target = m_list.GetItem(selected[0]);
    DrawAttachmentThumbnail(dc, (width - m_previewEdge) / 2, height,
                            target.GetFullPath(m_owner.Services().baseFolder), target.GetKind(), m_previewEdge);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    HWND picture = ::GetDlgItem(m_hWnd, IDC_ATT_PREVIEW);
    HBITMAP previous =
        reinterpret_cast<HBITMAP>(::SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    if (previous && previous != bitmap)
        ::DeleteObject(previous);
}

bool CArtPropAttachment::SaveFullPaths() const
{
    return IsDlgButtonOn(m_hWnd, IDC_ATT_FULL_PATHS);
}

void CArtPropAttachment::PlaceItem(int index, const CLinkTarget& target)
{
    int at = index;
    if (index < 0)
        at = m_list.AddItem(target, true);
    else
        m_list.ReplaceItem(index, target);
    if (at < 0)
        return;
    m_list.SelectOnly(at);
    DrawPreview();
    m_list.ScrollSelectionIntoView();
}

void CArtPropAttachment::OnAdd()
{
    CAttachmentPropertiesDlg dialog(m_hWnd);
    dialog.m_directories = m_owner.Document().GetDirectories();
    if (dialog.DoModal() == IDOK) {
        CLinkTarget target = dialog.m_target;
        ApplyRelativePathRule(target, SaveFullPaths(), m_owner.Services().baseFolder);
        PlaceItem(-1, target);
        m_owner.Data().attachmentsModified = true;
        m_owner.Data().attachmentListChanged = true;
    }
    UpdateButtons();
}

void CArtPropAttachment::OnEdit()
{
    const std::vector<int> selected = m_list.GetSelectedIndices();
    if (selected.size() != 1)
        return;
    CAttachmentPropertiesDlg dialog(m_hWnd);
    dialog.m_directories = m_owner.Document().GetDirectories();
    dialog.m_target = m_list.GetItem(selected[0]);
    if (dialog.DoModal() != IDOK)
        return;
    CLinkTarget target = dialog.m_target;
    ApplyRelativePathRule(target, SaveFullPaths(), m_owner.Services().baseFolder);
    PlaceItem(selected[0], target);
    m_owner.Data().attachmentsModified = true;
    if (dialog.m_targetChanged)
        m_owner.Data().attachmentListChanged = true;
    UpdateButtons();
}

void CArtPropAttachment::OnDetach()
{
    if (m_list.GetSelCount() <= 0)
        return;
    CDetachAttachmentsDlg dialog(m_hWnd);
    m_list.GetSelected(dialog.m_attachments);
    if (dialog.DoModal() != IDYES)
        return;
    m_list.DeleteSelected();
    DrawPreview();
    m_owner.Data().attachmentsModified = true;
    m_owner.Data().attachmentListChanged = true;
    UpdateButtons();
    m_list.SetFocus();
}

void CArtPropAttachment::OnMove(bool up)
{
    if (up)
        m_list.MoveUp();
    else
        m_list.MoveDown();
    m_owner.Data().attachmentsModified = true;
    m_owner.Data().attachmentListChanged = true;
    UpdateButtons();
}

void CArtPropAttachment::OnOpen()
{
    const std::vector<int> selected = m_list.GetSelectedIndices();
    if (selected.size() != 1)
        return;
    CLinkTarget copy = m_list.GetItem(selected[0]);
    copy.Open(false, 0);
    if (!copy.IsPathCorrected())
        return;
    // A missing file or folder was found elsewhere: the attachment keeps its new place.
    copy.SetPathCorrected(false);
    ApplyRelativePathRule(copy, SaveFullPaths(), m_owner.Services().baseFolder);
    PlaceItem(selected[0], copy);
    m_owner.Data().attachmentsModified = true;
    m_owner.Data().attachmentListChanged = true;
}

bool CArtPropAttachment::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    try {
        switch (id) {
        case IDC_ATT_LIST:
            if (code == LBN_SELCHANGE) {
                DrawPreview();
                UpdateButtons();
            } else if (code == LBN_DBLCLK && m_list.GetSelCount() == 1) {
                OnOpen();
            }
            return true;
        case IDC_ATT_ADD:
            OnAdd();
            return true;
        case IDC_ATT_EDIT:
            OnEdit();
            return true;
        case IDC_ATT_DETACH:
            OnDetach();
            return true;
        case IDC_ATT_MOVE_UP:
        case IDC_ATT_MOVE_DOWN:
            OnMove(id == IDC_ATT_MOVE_UP);
            return true;
        case IDC_ATT_OPEN:
            OnOpen();
            return true;
        case IDC_ATT_AUTO_OPEN:
        case IDC_ATT_FULL_PATHS:
            if (code == BN_CLICKED)
                m_owner.Data().attachmentsModified = true;
            return true;
        default:
            return CPropertyPage::OnCommand(id, code, control, result);
        }
    } catch (const CQuorError& error) {
        error.Report();
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
    }
    return true;
}

bool CArtPropAttachment::OnKillActive()
{
    if (!CPropertyPage::OnKillActive())
        return false;
    ArticlePropertiesData& data = m_owner.Data();
    try {
        m_list.GetAll(data.attachments);
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        return false;
    }
    if (m_list.IsCheckToggled())
        data.attachmentsModified = true;
    data.autoOpen = IsDlgButtonOn(m_hWnd, IDC_ATT_AUTO_OPEN) ? 2 : 0;
    data.saveFullPaths = SaveFullPaths() ? 1 : 0;
    return true;
}

bool CArtPropAttachment::OnDestroy(LRESULT& result)
{
    FreePreview();
    return CPropertyPage::OnDestroy(result);
}

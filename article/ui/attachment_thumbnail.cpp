#include "article/ui/attachment_thumbnail.h"

#include <shellapi.h>

#include "storage/link_target.h"

bool DrawAttachmentThumbnail(HDC dc, int left, int bottom, const std::string& fullPath, int kind, int edge)
{
    if (edge <= 0 || kind == CLinkTarget::kNone || kind == CLinkTarget::kArticle)
        return false;
    SHFILEINFOA info = {};
    // SHGFI_USEFILEATTRIBUTES answers by the name alone: an address, or a file that is missing.
    DWORD_PTR found = 0;
    if (kind == CLinkTarget::kFile)
        found = ::SHGetFileInfoA(fullPath.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_LARGEICON);
    if (!found || !info.hIcon) {
        const char* name = kind == CLinkTarget::kInternet ? "address.url" : fullPath.c_str();
        found = ::SHGetFileInfoA(name, FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                                 SHGFI_ICON | SHGFI_LARGEICON | SHGFI_USEFILEATTRIBUTES);
    }
    HICON icon = found ? info.hIcon : nullptr;
    const bool own = icon != nullptr;  // SHGetFileInfo's icon is the caller's to destroy
    if (!icon)
        icon = ::LoadIconA(nullptr, IDI_APPLICATION);
    if (!icon)
        return false;
    const BOOL drawn = ::DrawIconEx(dc, left, bottom - edge, icon, edge, edge, 0, nullptr, DI_NORMAL);
    if (own)
        ::DestroyIcon(icon);
    return drawn != FALSE;
}

#include "framework/ui/ole_drop_target.h"

#include <cstring>

#include "framework/callback_exceptions.h"
#include "framework/ui/wnd.h"

namespace {

FORMATETC GlobalFormat(CLIPFORMAT format)
{
    FORMATETC request = {};
    request.cfFormat = format;
    request.dwAspect = DVASPECT_CONTENT;
    request.lindex = -1;
    request.tymed = TYMED_HGLOBAL;
    return request;
}

}  // namespace

bool COleDataObject::IsDataAvailable(CLIPFORMAT format) const
{
    FORMATETC request = GlobalFormat(format);
    // QueryGetData answers S_OK only; S_FALSE and the DV_E_ codes all mean no.
    return m_data && m_data->QueryGetData(&request) == S_OK;
}

bool COleDataObject::GetGlobalBytes(CLIPFORMAT format, std::string& bytes) const
{
    if (!m_data)
        return false;
    FORMATETC request = GlobalFormat(format);
    STGMEDIUM medium = {};
    if (m_data->GetData(&request, &medium) != S_OK)
        return false;
    bool ok = false;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        if (const void* memory = GlobalLock(medium.hGlobal)) {
            bytes.assign(static_cast<const char*>(memory), GlobalSize(medium.hGlobal));
            GlobalUnlock(medium.hGlobal);
            ok = true;
        }
    }
    // The medium is ours now: ReleaseStgMedium frees it, or lets its owner do so (pUnkForRelease).
    ReleaseStgMedium(&medium);
    return ok;
}

COleDropTarget::~COleDropTarget()
{
    Revoke();
    ForgetData();
}

bool COleDropTarget::Register(HWND hwnd)
{
    if (m_hWnd || !hwnd)
        return false;
    if (FAILED(RegisterDragDrop(hwnd, this)))
        return false;
    m_hWnd = hwnd;
    return true;
}

void COleDropTarget::Revoke()
{
    if (m_hWnd) {
        RevokeDragDrop(m_hWnd);
        m_hWnd = nullptr;
    }
}

HRESULT COleDropTarget::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG COleDropTarget::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

ULONG COleDropTarget::Release()
{
    return static_cast<ULONG>(InterlockedDecrement(&m_references));
}

POINT COleDropTarget::ToClient(POINTL point) const
{
    POINT client = {point.x, point.y};
    if (m_hWnd)
        ScreenToClient(m_hWnd, &client);
    return client;
}

void COleDropTarget::ForgetData()
{
    if (m_data) {
        m_data->Release();
        m_data = nullptr;
    }
}

HRESULT COleDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect)
{
    if (!effect)
        return E_INVALIDARG;
    DWORD allowed = *effect;
    *effect = DROPEFFECT_NONE;
    try {
        ForgetData();
        if (data) {
            data->AddRef();
            m_data = data;
        }
        COleDataObject object(m_data);
        *effect = OnDragEnter(m_hWnd, object, keyState, ToClient(point)) & allowed;
    } catch (...) {
        ReportCallbackException("drag enter");
    }
    return S_OK;
}

HRESULT COleDropTarget::DragOver(DWORD keyState, POINTL point, DWORD* effect)
{
    if (!effect)
        return E_INVALIDARG;
    DWORD allowed = *effect;
    *effect = DROPEFFECT_NONE;
    try {
        COleDataObject object(m_data);
        *effect = OnDragOver(m_hWnd, object, keyState, ToClient(point)) & allowed;
    } catch (...) {
        ReportCallbackException("drag over");
    }
    return S_OK;
}

HRESULT COleDropTarget::DragLeave()
{
    try {
        OnDragLeave(m_hWnd);
    } catch (...) {
        ReportCallbackException("drag leave");
    }
    ForgetData();
    return S_OK;
}

HRESULT COleDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect)
{
    if (!effect)
        return E_INVALIDARG;
    DWORD allowed = *effect;
    *effect = DROPEFFECT_NONE;
    try {
        COleDataObject object(data);
        *effect = OnDrop(m_hWnd, object, keyState, ToClient(point)) & allowed;
    } catch (...) {
        ReportCallbackException("drop");
    }
    ForgetData();
    return S_OK;
}

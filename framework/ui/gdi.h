// GDI objects, menus and image lists as borrowed views (names ending in Handle: copyable, never
// free) and owners (free in the destructor, move-only, Release() hands the handle over). Device
// contexts are owners of their acquisition: CPaintDC (BeginPaint/EndPaint), CClientDC
// (GetDC/ReleaseDC), CMemoryDC (CreateCompatibleDC/DeleteDC). CSelectObject selects an object into
// a DC and puts the previous one back when it goes out of scope.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <utility>

// How each kind of handle is freed.
inline void FreeHandle(HPEN h) { DeleteObject(h); }
inline void FreeHandle(HBRUSH h) { DeleteObject(h); }
inline void FreeHandle(HFONT h) { DeleteObject(h); }
inline void FreeHandle(HBITMAP h) { DeleteObject(h); }
inline void FreeHandle(HRGN h) { DeleteObject(h); }
inline void FreeHandle(HMENU h) { DestroyMenu(h); }
inline void FreeHandle(HIMAGELIST h) { ImageList_Destroy(h); }

template <class H>
class CHandleView {
public:
    CHandleView(H handle = nullptr) : m_handle(handle) {}
    operator H() const { return m_handle; }
    H Get() const { return m_handle; }

private:
    H m_handle;
};

template <class H>
class COwnedHandle {
public:
    COwnedHandle() = default;
    explicit COwnedHandle(H handle) : m_handle(handle) {}
    ~COwnedHandle() { Reset(); }
    COwnedHandle(const COwnedHandle&) = delete;
    COwnedHandle& operator=(const COwnedHandle&) = delete;
    COwnedHandle(COwnedHandle&& other) noexcept : m_handle(other.Release()) {}
    COwnedHandle& operator=(COwnedHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    operator H() const { return m_handle; }
    H Get() const { return m_handle; }
    // Frees the current handle (if any) and takes `handle`.
    void Reset(H handle = nullptr)
    {
        if (m_handle)
            FreeHandle(m_handle);
        m_handle = handle;
    }
    // Gives the handle up without freeing it.
    H Release() { return std::exchange(m_handle, nullptr); }

private:
    H m_handle = nullptr;
};

using CPenHandle = CHandleView<HPEN>;
using CPen = COwnedHandle<HPEN>;
using CBrushHandle = CHandleView<HBRUSH>;
using CBrush = COwnedHandle<HBRUSH>;
using CFontHandle = CHandleView<HFONT>;
using CFont = COwnedHandle<HFONT>;
using CBitmapHandle = CHandleView<HBITMAP>;
using CBitmap = COwnedHandle<HBITMAP>;
using CRgn = COwnedHandle<HRGN>;
using CMenuHandle = CHandleView<HMENU>;
using CMenu = COwnedHandle<HMENU>;
using CImageListHandle = CHandleView<HIMAGELIST>;
using CImageList = COwnedHandle<HIMAGELIST>;

// Painting in WM_PAINT: BeginPaint in the constructor, EndPaint in the destructor.
class CPaintDC {
public:
    explicit CPaintDC(HWND hwnd) : m_hwnd(hwnd) { m_dc = BeginPaint(hwnd, &m_paint); }
    ~CPaintDC() { EndPaint(m_hwnd, &m_paint); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    operator HDC() const { return m_dc; }
    const PAINTSTRUCT& Paint() const { return m_paint; }

private:
    HWND m_hwnd;
    HDC m_dc;
    PAINTSTRUCT m_paint;
};

// A window's client-area DC outside WM_PAINT (null window: the screen).
class CClientDC {
public:
    explicit CClientDC(HWND hwnd) : m_hwnd(hwnd), m_dc(GetDC(hwnd)) {}
    ~CClientDC()
    {
        if (m_dc)
            ReleaseDC(m_hwnd, m_dc);
    }
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;
    operator HDC() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

// A memory DC compatible with `dc` (null: the screen).
class CMemoryDC {
public:
    explicit CMemoryDC(HDC dc = nullptr) : m_dc(CreateCompatibleDC(dc)) {}
    ~CMemoryDC()
    {
        if (m_dc)
            DeleteDC(m_dc);
    }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;
    operator HDC() const { return m_dc; }

private:
    HDC m_dc;
};

// Selects `object` into `dc` for the life of the guard, then selects back what was there before.
class CSelectObject {
public:
    CSelectObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~CSelectObject()
    {
        if (m_previous && m_previous != HGDI_ERROR)
            SelectObject(m_dc, m_previous);
    }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

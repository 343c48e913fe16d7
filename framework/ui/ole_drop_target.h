// OLE drag and drop, the receiving side. COleDropTarget is the IDropTarget of one window: its owner
// derives from it, registers the window and answers the four drag events through virtual handlers;
// COleDataObject borrows the IDataObject being dragged so that a handler can ask for formats and copy
// their bytes. OLE must be initialised on the thread first (COleInit); the program's run holds one.
#pragma once
#include <windows.h>
#include <ole2.h>

#include <string>

// OleInitialize for the life of the object, on the thread that creates it (an STA, which drag and
// drop and the OLE clipboard need).
class COleInit {
public:
    COleInit() : m_ok(SUCCEEDED(OleInitialize(nullptr))) {}
    ~COleInit()
    {
        if (m_ok)
            OleUninitialize();
    }
    COleInit(const COleInit&) = delete;
    COleInit& operator=(const COleInit&) = delete;
    bool IsOk() const { return m_ok; }

private:
    bool m_ok;
};

// A dragged data object, borrowed for one call of a handler.
class COleDataObject {
public:
    explicit COleDataObject(IDataObject* data) : m_data(data) {}

    // True when the data can be had as `format` in global memory (TYMED_HGLOBAL, DVASPECT_CONTENT).
    bool IsDataAvailable(CLIPFORMAT format) const;
    // The bytes of `format` (GlobalSize of them; the sender may round the block up); false when the
    // data object cannot give them as global memory or the block cannot be locked.
    bool GetGlobalBytes(CLIPFORMAT format, std::string& bytes) const;
    IDataObject* Get() const { return m_data; }

private:
    IDataObject* m_data;
};

class COleDropTarget : public IDropTarget {
public:
    COleDropTarget() = default;
    // Revokes a registration that is still there.
    virtual ~COleDropTarget();
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;

    // Makes this object the drop target of `hwnd` (RegisterDragDrop); false when OLE is not
    // initialised on this thread, the window already has a target or is not a window.
    bool Register(HWND hwnd);
    // Ends the registration (RevokeDragDrop); also done by the destructor. Must run before the
    // window is destroyed.
    void Revoke();
    HWND GetWindow() const { return m_hWnd; }

    // The handlers get the registered window and the cursor in its client coordinates. Enter and
    // Over answer the effect the drop would have (DROPEFFECT_NONE refuses); Drop answers the effect
    // it performed (DROPEFFECT_NONE when nothing was dropped). Defaults refuse.
    virtual DWORD OnDragEnter(HWND wnd, COleDataObject& data, DWORD keyState, POINT point) { return DROPEFFECT_NONE; }
    virtual DWORD OnDragOver(HWND wnd, COleDataObject& data, DWORD keyState, POINT point) { return DROPEFFECT_NONE; }
    virtual void OnDragLeave(HWND wnd) {}
    virtual DWORD OnDrop(HWND wnd, COleDataObject& data, DWORD keyState, POINT point) { return DROPEFFECT_NONE; }

    // IUnknown. The object belongs to its C++ owner: the count only tells OLE when it may stop
    // calling; it never deletes the object.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDropTarget: turns the calls into the handlers above, with the point in client coordinates
    // and the answer limited to the effects the source allows. Catches every exception.
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;

private:
    POINT ToClient(POINTL point) const;
    void ForgetData();

    HWND m_hWnd = nullptr;
    LONG m_references = 0;
    // The object of the drag in progress, held from DragEnter to DragLeave or Drop: DragOver gets none.
    IDataObject* m_data = nullptr;
};

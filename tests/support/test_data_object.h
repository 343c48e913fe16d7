// A data object made by a test, for calling drop targets through IDropTarget the way OLE does during
// a drag (posted mouse messages cannot drive a real drag: it follows the physical buttons). It offers
// one format as global memory.
#pragma once
#include <windows.h>
#include <ole2.h>

#include <cstring>
#include <string>

class CTestDataObject : public IDataObject {
public:
    CTestDataObject(CLIPFORMAT format, const std::string& bytes) : m_format(format), m_bytes(bytes) {}
    // Offers `format` besides the first one.
    void AddFormat(CLIPFORMAT format, const std::string& bytes)
    {
        m_otherFormat = format;
        m_otherBytes = bytes;
    }
    virtual ~CTestDataObject() = default;

    // Text as CF_TEXT with its NUL, as programs put it there.
    static CTestDataObject Text(const std::string& text) { return CTestDataObject(CF_TEXT, text + '\0'); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
            *object = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the test's stack: counted, never deleted.
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_references; }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* request, STGMEDIUM* medium) override
    {
        HRESULT answer = QueryGetData(request);
        if (answer != S_OK)
            return answer;
        const std::string& bytes = request->cfFormat == m_format ? m_bytes : m_otherBytes;
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size() ? bytes.size() : 1);
        if (!memory)
            return E_OUTOFMEMORY;
        std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
        GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        ++m_reads;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* request) override
    {
        if (request->cfFormat != m_format && (m_otherFormat == 0 || request->cfFormat != m_otherFormat))
            return DV_E_FORMATETC;
        if (!(request->tymed & TYMED_HGLOBAL))
            return DV_E_TYMED;
        return request->dwAspect == DVASPECT_CONTENT ? S_OK : DV_E_DVASPECT;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

    int Reads() const { return m_reads; }
    ULONG References() const { return m_references; }

private:
    CLIPFORMAT m_format;
    std::string m_bytes;
    CLIPFORMAT m_otherFormat = 0;
    std::string m_otherBytes;
    ULONG m_references = 1;
    int m_reads = 0;
};

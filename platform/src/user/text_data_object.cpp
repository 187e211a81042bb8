#include "user/text_data_object.h"

#include <atomic>
#include <cstring>

namespace plat::user {
namespace {

class TextDataObject final : public IDataObject {
public:
    explicit TextDataObject(std::wstring text) : m_text(std::move(text)) {}

    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (!object) {
            return E_POINTER;
        }
        if (iid == IID_IUnknown || iid == IID_IDataObject) {
            *object = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

    ULONG AddRef() override { return ++m_references; }

    ULONG Release() override {
        ULONG left = --m_references;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    HRESULT GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (!medium) {
            return E_POINTER;
        }
        *medium = {TYMED_NULL, nullptr, nullptr};
        HRESULT offered = QueryGetData(format);
        if (offered != S_OK) {
            return offered;
        }
        std::size_t bytes = (m_text.size() + 1) * sizeof(wchar_t);
        HGLOBAL block = GlobalAlloc(GHND, bytes);
        if (!block) {
            return E_OUTOFMEMORY;
        }
        std::memcpy(GlobalLock(block), m_text.c_str(), bytes);
        GlobalUnlock(block);
        *medium = {TYMED_HGLOBAL, block, nullptr};
        return S_OK;
    }

    HRESULT GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }

    HRESULT QueryGetData(FORMATETC* format) override {
        if (!format) {
            return E_INVALIDARG;
        }
        if (format->cfFormat != CF_UNICODETEXT) {
            return DV_E_FORMATETC;
        }
        if (format->dwAspect != DVASPECT_CONTENT) {
            return DV_E_DVASPECT;
        }
        if (format->lindex != -1) {
            return DV_E_LINDEX;
        }
        return format->tymed & TYMED_HGLOBAL ? S_OK : DV_E_TYMED;
    }

private:
    ~TextDataObject() = default;

    std::wstring m_text;
    std::atomic<ULONG> m_references{1};
};

}  // namespace

IDataObject* NewTextDataObject(std::wstring text) {
    return new TextDataObject(std::move(text));
}

}  // namespace plat::user

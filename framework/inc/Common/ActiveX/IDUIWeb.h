// The web widget's two interfaces: IDUIWeb drives it, IDMWebEvent hears from it. The first
// argument of every event is the widget's handle; addresses and other texts arrive as text.
#pragma once

#include <vector>

#include "DMDef.h"
#include "plat/dispatch.h"
#include "plat/window.h"

namespace DM {

using plat::HRESULT;

class IDMWebEvent {
public:
    virtual ~IDMWebEvent() = default;

    virtual HRESULT BeforeNavigate2(DUIWND, plat::IDispatch*, const wchar_t* /*url*/, int /*flags*/,
                                    const wchar_t* /*targetFrame*/, plat::VARIANT* /*postData*/,
                                    const wchar_t* /*headers*/, plat::VARIANT_BOOL* /*cancel*/) {
        return plat::S_OK;
    }
    virtual HRESULT ClientToHostWindow(DUIWND, long* /*width*/, long* /*height*/) {
        return plat::S_OK;
    }
    virtual HRESULT CommandStateChange(DUIWND, long /*command*/, bool /*enabled*/) {
        return plat::S_OK;
    }
    virtual HRESULT DocumentComplete(DUIWND, plat::IDispatch*, const wchar_t* /*url*/) {
        return plat::S_OK;
    }
    virtual HRESULT DownloadBegin(DUIWND) { return plat::S_OK; }
    virtual HRESULT DownloadComplete(DUIWND) { return plat::S_OK; }
    virtual HRESULT FileDownload(DUIWND, bool /*activeDocument*/, plat::VARIANT_BOOL* /*cancel*/) {
        return plat::S_OK;
    }
    virtual HRESULT NavigateComplete2(DUIWND, plat::IDispatch*, const wchar_t* /*url*/) {
        return plat::S_OK;
    }
    virtual HRESULT NavigateError(DUIWND, plat::IDispatch*, const wchar_t* /*url*/,
                                  const wchar_t* /*frame*/, int /*statusCode*/,
                                  plat::VARIANT_BOOL* /*cancel*/) {
        return plat::S_OK;
    }
    virtual HRESULT NewWindow2(DUIWND, plat::IDispatch** /*browser*/,
                               plat::VARIANT_BOOL* /*cancel*/) {
        return plat::S_OK;
    }
    virtual HRESULT NewWindow3(DUIWND, plat::IDispatch** /*browser*/,
                               plat::VARIANT_BOOL* /*cancel*/, DWORD /*flags*/,
                               const wchar_t* /*contextUrl*/, const wchar_t* /*url*/) {
        return plat::S_OK;
    }
    virtual HRESULT OnFullScreen(DUIWND, bool) { return plat::S_OK; }
    virtual HRESULT OnMenuBar(DUIWND, bool) { return plat::S_OK; }
    virtual HRESULT OnQuit(DUIWND) { return plat::S_OK; }
    virtual HRESULT OnStatusBar(DUIWND, bool) { return plat::S_OK; }
    virtual HRESULT OnTheaterMode(DUIWND, bool) { return plat::S_OK; }
    virtual HRESULT OnToolBar(DUIWND, bool) { return plat::S_OK; }
    virtual HRESULT OnVisible(DUIWND, bool) { return plat::S_OK; }
    virtual HRESULT PrintTemplateInstantiation(DUIWND, plat::IDispatch*) { return plat::S_OK; }
    virtual HRESULT PrintTemplateTeardown(DUIWND, plat::IDispatch*) { return plat::S_OK; }
    virtual HRESULT PrivacyImpactedStateChange(DUIWND, bool) { return plat::S_OK; }
    virtual HRESULT ProgressChange(DUIWND, long /*progress*/, long /*maximum*/) {
        return plat::S_OK;
    }
    virtual HRESULT PropertyChange(DUIWND, const wchar_t* /*property*/) { return plat::S_OK; }
    virtual HRESULT SetPhishingFilterStatus(DUIWND, long /*status*/) { return plat::S_OK; }
    virtual HRESULT SetSecureLockIcon(DUIWND, long /*icon*/) { return plat::S_OK; }
    virtual HRESULT StatusTextChange(DUIWND, const wchar_t* /*text*/) { return plat::S_OK; }
    virtual HRESULT TitleChange(DUIWND, const wchar_t* /*text*/) { return plat::S_OK; }
    virtual HRESULT WindowClosing(DUIWND, bool /*childWindow*/, plat::VARIANT_BOOL* /*cancel*/) {
        return plat::S_OK;
    }
    virtual HRESULT WindowSetHeight(DUIWND, long) { return plat::S_OK; }
    virtual HRESULT WindowSetLeft(DUIWND, long) { return plat::S_OK; }
    virtual HRESULT WindowSetResizable(DUIWND, bool) { return plat::S_OK; }
    virtual HRESULT WindowSetTop(DUIWND, long) { return plat::S_OK; }
    virtual HRESULT WindowSetWidth(DUIWND, long) { return plat::S_OK; }
    virtual HRESULT WindowStateChanged(DUIWND, DWORD /*flags*/, DWORD /*validMask*/) {
        return plat::S_OK;
    }
    // Calls of page script on window.external.
    virtual HRESULT ExternalGetIDsOfNames(DUIWND, plat::REFIID, const wchar_t** /*names*/,
                                          UINT /*count*/, plat::LCID, plat::DISPID* /*ids*/) {
        return plat::S_OK;
    }
    virtual HRESULT ExternalInvoke(DUIWND, plat::DISPID, plat::REFIID, plat::LCID,
                                   plat::WORD /*flags*/, plat::DISPPARAMS*,
                                   plat::VARIANT* /*result*/, plat::EXCEPINFO*,
                                   UINT* /*argumentError*/) {
        return plat::S_OK;
    }
    virtual HRESULT DMReserved() { return plat::E_NOTIMPL; }
};

// Every operation that needs the browser answers E_FAIL while there is none.
class IDUIWeb {
public:
    virtual ~IDUIWeb() = default;

    virtual HRESULT DMReserved() { return plat::S_OK; }
    virtual HRESULT SetEvtHandler(IDMWebEvent*) { return plat::E_NOTIMPL; }
    // `flags` -1 means navNoReadFromCache; `postData` is sent when `postLength` is positive.
    virtual HRESULT OpenUrl(const wchar_t* /*url*/, int /*flags*/ = -1,
                            const wchar_t* /*targetFrame*/ = nullptr,
                            const wchar_t* /*headers*/ = nullptr,
                            const char* /*postData*/ = nullptr, int /*postLength*/ = 0) {
        return plat::E_NOTIMPL;
    }
    virtual HRESULT GetUrl(wchar_t* /*buffer*/, int /*size*/) { return plat::E_NOTIMPL; }
    virtual HRESULT SetPageFocus() { return plat::E_NOTIMPL; }
    virtual HWND GetWebHwnd() { return nullptr; }
    virtual HRESULT SetWebRect(const RECT*) { return plat::E_NOTIMPL; }
    virtual bool IsBusy() { return false; }
    virtual HRESULT StopIfBusy() { return plat::E_NOTIMPL; }
    virtual HRESULT Quit() { return plat::E_NOTIMPL; }
    virtual HRESULT Refresh() { return plat::E_NOTIMPL; }
    virtual HRESULT RefreshLevel(int /*level*/) { return plat::E_NOTIMPL; }
    virtual HRESULT GoBack() { return plat::E_NOTIMPL; }
    virtual HRESULT GoForward() { return plat::E_NOTIMPL; }
    virtual HRESULT ExecScript(const wchar_t* /*code*/) { return plat::E_NOTIMPL; }
    virtual HRESULT CallScript(const wchar_t* /*function*/,
                               const std::vector<DMStringT>& /*arguments*/, wchar_t* /*result*/,
                               int /*size*/) {
        return plat::E_NOTIMPL;
    }
    virtual HRESULT SetSilent(bool) { return plat::E_NOTIMPL; }
    virtual HRESULT SetShowScroll(bool) { return plat::E_NOTIMPL; }
    virtual HRESULT SetShowContext(bool) { return plat::E_NOTIMPL; }
    // True when the attribute was refused.
    virtual bool SetWebAttribute(const DMStringT& /*name*/, const DMStringT& /*value*/,
                                 bool /*loading*/) {
        return true;
    }
    virtual bool CanGoBack() { return false; }
    virtual bool CanGoForward() { return false; }
};

}  // namespace DM

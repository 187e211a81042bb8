#include "MainWnd.h"

#include <wchar.h>

#include "CIEWnd.h"
#include "Common/ActiveX/DUIIE.h"
#include "DUIButton.h"
#include "DUIProcessCtrl.h"
#include "DUIRichEdit.h"
#include "FolderMemo.h"
#include "IERealWnd.h"
#include "InstallFinishing.h"
#include "InstallFolder.h"
#include "ProgressText.h"
#include "plat/folder_picker.h"
#include "plat/message_box.h"
#include "plat/shell.h"
#include "plat/text.h"

using namespace DM;

namespace {

constexpr UINT kPollTimer = 2;
constexpr UINT kPollPeriodMs = 10;

// The name of the last notification taken from the engine; it selects the progress shown.
std::string s_lastNotifyName;

// The descendant `name` of `root` when it is of the class `className`, else null.
template <typename Widget>
Widget* BindWidget(DUIWindow& root, const wchar_t* name, const wchar_t* className) {
    DUIWindow* found = root.FindChildByName(name);
    return found && found->IsClass(className) ? static_cast<Widget*>(found) : nullptr;
}

// Widget names compare without regard to case.
bool NamedAs(const wchar_t* sender, const wchar_t* name) {
    return sender && ::wcscasecmp(sender, name) == 0;
}

}  // namespace

LRESULT CMainWnd::OnInitDialog(UINT, WPARAM, LPARAM) {
    m_pSavePathEdit = BindWidget<DUIRichEdit>(*this, L"savePath", L"RichEdit");
    m_pDownloadBtn = BindWidget<DUIButton>(*this, L"download", L"Button");
    m_pOpenFolderBtn = BindWidget<DUIButton>(*this, L"openFolder", L"Button");
    m_pProcess = BindWidget<DUIProcessCtrl>(*this, L"process", L"ProcessCtrl");
    if (m_pDownloadBtn) {
        m_pDownloadBtn->EnableWindow(true, true);
    }
    std::string remembered = ReadFolderMemo();
    if (!remembered.empty() && m_pSavePathEdit) {
        m_pSavePathEdit->SetWindowText(plat::AnsiToWide(remembered).c_str());
    }
    OpenNewsPage();
    m_bInited = true;
    if (TimelineCount() == 0) {
        StartPolling();
    }
    return 1;
}

// The news page lives in the popup of the widget "ieobj": this window handles its events, its
// script errors stay silent, and it shows the configured address (an empty one keeps the
// layout's blank page).
void CMainWnd::OpenNewsPage() {
    m_pIERealWnd = BindWidget<IERealWnd>(*this, L"ieobj", L"ierealwnd");
    CIEWnd* popup = m_pIERealWnd ? m_pIERealWnd->GetIEWnd() : nullptr;
    DUIWindow* web = popup ? popup->FindChildByName(L"IeWnd") : nullptr;
    if (!web || !web->IsClass(L"IE")) {
        return;
    }
    m_pWeb = static_cast<DUIIE*>(web);
    m_pWeb->SetEvtHandler(this);
    m_pWeb->SetSilent(true);
    if (!m_strIEUrl.empty()) {
        m_pWeb->OpenUrl(plat::AnsiToWide(m_strIEUrl).c_str(), 0);
    }
}

plat::HRESULT CMainWnd::NewWindow3(DUIWND, plat::IDispatch**, plat::VARIANT_BOOL* cancel, DWORD,
                                   const wchar_t*, const wchar_t* url) {
    OpenUrlInBrowser(url ? url : L"");
    if (cancel) {
        *cancel = 1;
    }
    return plat::E_FAIL;
}

LRESULT CMainWnd::OnSize(UINT, WPARAM wParam, LPARAM lParam) {
    DUIWindow* maxButton = FindChildByName(L"maxbutton");
    DUIWindow* restoreButton = FindChildByName(L"restorebutton");
    if (maxButton && restoreButton && plat::LOWORD(lParam) != 0 && plat::HIWORD(lParam) != 0) {
        if (wParam == plat::SIZE_MAXIMIZED) {
            maxButton->SetVisible(false, true);
            restoreButton->SetVisible(true, true);
        } else if (wParam == plat::SIZE_RESTORED) {
            maxButton->SetVisible(true, true);
            restoreButton->SetVisible(false, true);
        }
    }
    SetMsgHandled(false);
    return 0;
}

DMCode CMainWnd::HandleEvent(DMEventArgs& event) {
    if (event.GetEventID() == DMEventCmdArgs::EventID) {
        const wchar_t* sender = event.m_szNameFrom;
        if (NamedAs(sender, L"close")) {
            DMCWndBase::DestroyWindow();
            return DM_ECODE_OK;
        }
        if (NamedAs(sender, L"min")) {
            plat::SendMessageW(m_hWnd, plat::WM_SYSCOMMAND, plat::SC_MINIMIZE, 0);
            return DM_ECODE_OK;
        }
        if (NamedAs(sender, L"openFolder")) {
            return OnOpenFolder();
        }
        if (NamedAs(sender, L"download")) {
            return OnDownload();
        }
    }
    return DMHWnd::HandleEvent(event);
}

DMCode CMainWnd::OnOpenFolder() {
    plat::BROWSEINFOW info{nullptr, nullptr, nullptr, nullptr, plat::BIF_NEWDIALOGSTYLE};
    plat::PIDLIST_ABSOLUTE chosen = plat::SHBrowseForFolderW(&info);
    if (!chosen) {
        return DM_ECODE_FAIL;
    }
    wchar_t path[plat::MAX_PATH] = {};
    plat::SHGetPathFromIDListW(chosen, path);
    plat::CoTaskMemFree(chosen);
    if (m_pSavePathEdit) {
        m_pSavePathEdit->SetWindowText(path);
    }
    return DM_ECODE_OK;
}

// The checks of the folder in their order; each failure tells the user and leaves the window
// as it was. The completed folder goes to the engine and the memo, not back into the field.
DMCode CMainWnd::OnDownload() {
    if (m_strDownloadUrl.empty()) {
        ShowMessage(L"读取配置错误!");
        DMCWndBase::DestroyWindow();
        return DM_ECODE_FAIL;
    }
    std::wstring folder = FolderFieldText();
    if (folder.empty()) {
        ShowMessage(L"请选择保存路径!");
        return DM_ECODE_FAIL;
    }
    if (!HasKnownDrive(plat::WideToAnsi(folder))) {
        ShowMessage(L"输入的盘符不存在，请重新输入！");
        return DM_ECODE_FAIL;
    }
    folder = CompleteGameFolder(folder);
    if (!FitsInstallRecords(folder)) {
        ShowMessage(L"安装路径太长，请选择较短的目录。");
        return DM_ECODE_FAIL;
    }
    std::string installDir = plat::WideToAnsi(folder);
    if (!CreateFolderLevels(installDir)) {
        ShowMessage(L"请使用合法的目录安装。");
        return DM_ECODE_FAIL;
    }
    m_launchClient.SetInstallDir(installDir);
    WriteFolderMemo(installDir);
    LockControls();
    m_launchClient.DownloadBigFile(m_strDownloadUrl);
    return DM_ECODE_OK;
}

std::wstring CMainWnd::FolderFieldText() {
    return m_pSavePathEdit ? m_pSavePathEdit->GetWindowText() : std::wstring();
}

void CMainWnd::LockControls() {
    if (m_pDownloadBtn) {
        m_pDownloadBtn->SetVisible(false, true);
        m_pDownloadBtn->EnableWindow(false, true);
    }
    if (m_pOpenFolderBtn) {
        m_pOpenFolderBtn->EnableWindow(false, true);
    }
    if (m_pSavePathEdit) {
        m_pSavePathEdit->EnableWindow(false, true);
    }
    if (m_pProcess) {
        m_pProcess->SetPos(0);
        m_pProcess->SetText(L"");
    }
}

void CMainWnd::StartPolling() {
    DUIWindow::SetTimer(kPollTimer, kPollPeriodMs);
}

// The poll shares its timer with the host's animations; when the last animation ends the host
// stops that timer, so the poll starts it again.
DMCode CMainWnd::OnRemoveTimeline(IDMTimeline* timeline) {
    DMCode code = DMHWnd::OnRemoveTimeline(timeline);
    if (m_bInited && TimelineCount() == 0 && plat::IsWindow(m_hWnd)) {
        StartPolling();
    }
    return code;
}

DMCode CMainWnd::OnTimeline() {
    if (m_bInited && PollNotification()) {
        return DM_ECODE_OK;
    }
    return DMHWnd::OnTimeline();
}

// Takes at most one notification; true when it ended the window.
bool CMainWnd::PollNotification() {
    LauncherLib::NotifyInfo info = m_launchClient.PopNotify();
    if (info.name.empty()) {
        ShowProgress();
        return false;
    }
    s_lastNotifyName = info.name;
    if (info.name == "DownloadBigFileOK") {
        FinishInstallation(m_hWnd, m_launchClient.GetInstallDir());
        DMCWndBase::DestroyWindow();
        return true;
    }
    if (info.name == "DownloadBigFileFail") {
        ShowMessage(plat::AnsiToWide(info.content));
        DMCWndBase::DestroyWindow();
        return true;
    }
    return false;
}

void CMainWnd::ShowProgress() {
    LauncherLib::ResultMapPtr values = m_launchClient.GetProgressResult();
    if (!values || !m_pProcess) {
        return;
    }
    std::optional<ProgressShown> shown;
    if (s_lastNotifyName == "DownloadBigFileBegin") {
        shown = DownloadProgress(*values);
    } else if (s_lastNotifyName == "UnzipPatchBegin") {
        shown = UnpackProgress(*values);
    }
    if (shown) {
        m_pProcess->SetPos(shown->position);
        m_pProcess->SetText(shown->text);
    }
}

void CMainWnd::ShowMessage(const std::wstring& text) {
    plat::MessageBoxW(m_hWnd, text.c_str(), L"", plat::MB_OK);
}

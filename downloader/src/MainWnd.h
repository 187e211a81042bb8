// The launcher's main window: the layout "main" with its folder field, progress bar and
// buttons, and the launcher client that downloads and unpacks the game behind them. A 10 ms
// poll on the UI thread takes the client's notifications one at a time and shows the running
// command's progress between them. It also receives the news page's web events: pages that ask
// for a new window open in the user's browser.
#pragma once

#include <string>

#include "Common/ActiveX/IDUIWeb.h"
#include "DMHWnd.h"
#include "IDMMsgMap.h"
#include "LauncherLib/LaunchClient.h"
#include "plat/messages.h"

namespace DM {
class DUIButton;
class DUIProcessCtrl;
class DUIRichEdit;
}  // namespace DM
class IERealWnd;

class CMainWnd : public DM::DMHWnd, public DM::IDMWebEvent {
public:
    using DWORD = DM::DWORD;
    using HWND = DM::HWND;
    using LPARAM = DM::LPARAM;
    using LRESULT = DM::LRESULT;
    using UINT = DM::UINT;
    using WPARAM = DM::WPARAM;

    CMainWnd() = default;

    DM_BEGIN_MSG_MAP(CMainWnd)
    DM_MESSAGE_HANDLER(plat::WM_INITDIALOG, OnInitDialog)
    DM_MESSAGE_HANDLER(plat::WM_SIZE, OnSize)
    DM_CHAIN_MSG_MAP(DM::DMHWnd)
    DM_END_MSG_MAP()

    DM::DMCode HandleEvent(DM::DMEventArgs& event) override;
    DM::DMCode OnTimeline() override;
    DM::DMCode OnRemoveTimeline(DM::IDMTimeline* timeline) override;
    plat::HRESULT NewWindow3(DM::DUIWND widget, plat::IDispatch** browser,
                             plat::VARIANT_BOOL* cancel, DWORD flags, const wchar_t* contextUrl,
                             const wchar_t* url) override;

    LauncherLib::LaunchClient& Client() { return m_launchClient; }

    std::string m_strDownloadUrl;
    std::string m_strIEUrl;

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM);
    LRESULT OnSize(UINT, WPARAM wParam, LPARAM lParam);

    DM::DMCode OnOpenFolder();
    DM::DMCode OnDownload();
    std::wstring FolderFieldText();
    void LockControls();
    void StartPolling();
    bool PollNotification();
    void ShowProgress();
    void ShowMessage(const std::wstring& text);
    void OpenNewsPage();

    DM::DUIButton* m_pDownloadBtn = nullptr;
    DM::DUIButton* m_pOpenFolderBtn = nullptr;
    DM::DUIRichEdit* m_pSavePathEdit = nullptr;
    DM::DUIProcessCtrl* m_pProcess = nullptr;
    LauncherLib::LaunchClient m_launchClient;
    bool m_bInited = false;
    DM::IDUIWeb* m_pWeb = nullptr;
    IERealWnd* m_pIERealWnd = nullptr;
};

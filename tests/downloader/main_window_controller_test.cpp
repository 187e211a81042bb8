// The main window's controller on the headless driver with a virtual clock: the checks of the
// download press in their order, the locked controls, the poll that takes one notification per
// 10 ms tick and shows the running command's progress, browsing and the folder memo.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "DMApp.h"
#include "DUIButton.h"
#include "DUIProcessCtrl.h"
#include "DUIRichEdit.h"
#include "FolderMemo.h"
#include "IERealWnd.h"
#include "LauncherLib/LaunchClient.h"
#include "LauncherWindow.h"
#include "MainWnd.h"
#include "MessagePump.h"
#include "ScriptedCommand.h"
#include "TempDir.h"
#include "WaitUntil.h"
#include "plat/com_classes.h"
#include "plat/drive_map.h"
#include "plat/folder_picker.h"
#include "plat/headless.h"
#include "plat/show_commands.h"
#include "plat/text.h"
#include "plat/window.h"

using namespace DM;
namespace fs = std::filesystem;

namespace {

constexpr const char* kUrl = "http://127.0.0.1:9/Vael_1.2.3.zip";

class MainWindowController : public ::testing::Test {
protected:
    void SetUp() override {
        plat::headless::Use();
        plat::headless::StartVirtualClock();
        plat::headless::ClearMessageBoxes();
        fs::remove(plat::HostPathFromWindowsW(FolderMemoPath()));
        fs::remove(DriveD());
        fs::create_directory_symlink(m_driveD.path(), DriveD());
        ASSERT_TRUE(LoadLauncherSkin(m_app));
    }
    void TearDown() override {
        if (plat::IsWindow(m_window->m_hWnd)) {
            m_window->DMCWndBase::DestroyWindow();
        }
        plat::headless::StopVirtualClock();
        plat::SetFolderPickerPresenter(nullptr);
        fs::remove(DriveD());
    }
    static fs::path DriveD() { return plat::PrefixFolder() / "dosdevices" / "d:"; }

    // The window as the launcher opens it; the download command records its start and runs
    // until the client goes, so that only the test decides which records arrive.
    void Open(const std::string& url = kUrl) {
        m_window->Client().Init("", "");
        vael::test::RegisterScripted("httpurlgetbigfilecmd", [this](LauncherLib::CCommandBase& self,
                                                                    LauncherLib::ResultMapPtr) {
            m_downloadStarted = true;
            while (!self.IsCancelled()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        ASSERT_NE(m_window->DM_CreateWindow(L"main"), nullptr);
        m_window->m_strDownloadUrl = url;
        plat::SendMessageW(m_window->m_hWnd, plat::WM_INITDIALOG, 0, 0);
        m_window->ShowWindow(plat::SW_SHOWNOACTIVATE);
        vael::test::PumpMessages();
    }
    template <typename Widget>
    Widget& Find(const wchar_t* name) {
        DUIWindow* widget = m_window->FindChildByName(name);
        EXPECT_NE(widget, nullptr) << plat::WideToUtf8(name);
        return *static_cast<Widget*>(widget);
    }
    DUIRichEdit& Field() { return Find<DUIRichEdit>(L"savePath"); }
    DUIProcessCtrl& Bar() { return Find<DUIProcessCtrl>(L"process"); }
    void Press(const wchar_t* name) {
        DMEventCmdArgs click(m_window->FindChildByName(name));
        click.m_szNameFrom = name;
        m_window->HandleEvent(click);
        vael::test::PumpMessages();
    }
    void Tick(int ticks = 1) {
        for (int i = 0; i < ticks; ++i) {
            plat::headless::AdvanceClock(10);
            vael::test::PumpMessages();
        }
    }
    std::vector<std::wstring> Messages() {
        std::vector<std::wstring> texts;
        for (const auto& box : plat::headless::MessageBoxes()) {
            texts.push_back(box.text);
        }
        return texts;
    }
    // Progress values of the running download, as the worker reports them once it runs.
    LauncherLib::ResultMapPtr ReportProgress() {
        EXPECT_TRUE(vael::test::WaitUntil([&] { return m_downloadStarted.load(); }));
        auto values = std::make_shared<LauncherLib::ResultMap>();
        auto command = std::make_shared<vael::test::ScriptedCommand>("1", "{}", nullptr);
        command->SetTag("DownloadBigFileBegin");
        m_window->Client().OnNotify(command, 0, values);
        return values;
    }

    vael::test::TempDir m_driveD;
    DMApp m_app;
    DMSmartPtrT<CMainWnd> m_window = DMSmartPtrT<CMainWnd>::Adopt(new CMainWnd);
    std::atomic<bool> m_downloadStarted{false};
};

TEST_F(MainWindowController, TheFolderIsCheckedInOrderAndEachFailureLeavesTheWindowReady) {
    Open();
    vael::test::WriteFile(m_driveD / "blocked", "a file where a folder should be");
    const struct {
        std::wstring field;
        std::wstring message;
    } cases[] = {
        {L"", L"请选择保存路径!"},
        {L"Q:\\Games", L"输入的盘符不存在，请重新输入！"},
        {L"games", L"输入的盘符不存在，请重新输入！"},
        {L"D:\\" + std::wstring(250, L'x'), L"安装路径太长，请选择较短的目录。"},
        {L"D:\\blocked\\Games", L"请使用合法的目录安装。"},
    };
    for (const auto& c : cases) {
        plat::headless::ClearMessageBoxes();
        Field().SetWindowText(c.field.c_str());
        Press(L"download");
        EXPECT_EQ(Messages(), std::vector<std::wstring>{c.message}) << plat::WideToUtf8(c.field);
        EXPECT_TRUE(Find<DUIButton>(L"download").IsVisible());
        EXPECT_FALSE(Field().IsDisabled());
    }
    EXPECT_FALSE(m_downloadStarted);
}

TEST_F(MainWindowController, AMissingConfigurationIsReportedAndEndsTheWindow) {
    Open("");
    Press(L"download");
    EXPECT_EQ(Messages(), std::vector<std::wstring>{L"读取配置错误!"});
    EXPECT_FALSE(plat::IsWindow(m_window->m_hWnd));
}

TEST_F(MainWindowController, AGoodFolderIsCompletedRememberedAndLocksTheControls) {
    Open();
    Field().SetWindowText(L"d:\\games");
    Press(L"download");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(m_window->Client().GetInstallDir(), "d:\\games\\Vael");
    EXPECT_TRUE(fs::is_directory(m_driveD / "games" / "Vael"));
    EXPECT_EQ(ReadFolderMemo(), "d:\\games\\Vael");
    EXPECT_EQ(Field().GetWindowText(), L"d:\\games") << "the field keeps the user's text";
    EXPECT_FALSE(Find<DUIButton>(L"download").IsVisible());
    EXPECT_TRUE(Find<DUIButton>(L"download").IsDisabled());
    EXPECT_TRUE(Find<DUIButton>(L"openFolder").IsDisabled());
    EXPECT_TRUE(Field().IsDisabled());
    EXPECT_EQ(Bar().GetPos(), 0);
    EXPECT_TRUE(vael::test::WaitUntil([&] { return m_downloadStarted.load(); }));
}

TEST_F(MainWindowController, ThePollTakesOneRecordPerTickAndShowsProgressBetween) {
    Open();
    Field().SetWindowText(L"D:\\Games");
    Press(L"download");
    LauncherLib::ResultMapPtr values = ReportProgress();
    values->Set("percentage", "42");
    values->Set("speedKB", "512.0");
    Tick();  // takes "DownloadBigFileBegin"
    EXPECT_EQ(Bar().GetText(), L"");
    Tick();
    EXPECT_EQ(Bar().GetPos(), 42);
    EXPECT_EQ(Bar().GetText(), L"下载中 进度:42% ,速度:512.0 kb/s");

    m_window->Client().PushNotify({"UnzipPatchBegin", ""});
    values->Clear();
    values->Set("unzipTotalCount", "");
    values->Set("unzipCount", "");
    Tick(2);
    EXPECT_EQ(Bar().GetPos(), 42) << "empty values leave the bar alone";
    values->Set("unzipTotalCount", "4");
    values->Set("unzipCount", "3");
    Tick();
    EXPECT_EQ(Bar().GetPos(), 75);
    EXPECT_EQ(Bar().GetText(), L"解压中:75%");

    m_window->Client().PushNotify({"UnzipPatchFail", ""});
    Tick(3);
    EXPECT_TRUE(plat::IsWindow(m_window->m_hWnd)) << "stays open, locked, silent";
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Bar().GetText(), L"解压中:75%");
}

TEST_F(MainWindowController, AFailedDownloadIsShownThenEndsTheWindow) {
    Open();
    m_window->Client().PushNotify(
        {"DownloadBigFileFail", plat::Utf8ToAnsi("Http error code: 404")});
    Tick();
    EXPECT_EQ(Messages(), std::vector<std::wstring>{L"Http error code: 404"});
    EXPECT_FALSE(plat::IsWindow(m_window->m_hWnd));
}

TEST_F(MainWindowController, BrowsingReplacesTheFieldUnlessCancelled) {
    Open();
    std::wstring layoutText = Field().GetWindowText();
    EXPECT_EQ(layoutText, L"C:\\Program Files (x86)\\Halvorn\\Vael");
    plat::headless::AnswerFolderPicker(std::nullopt);
    Press(L"openFolder");
    EXPECT_EQ(Field().GetWindowText(), layoutText);
    plat::headless::AnswerFolderPicker(m_driveD / "游戏");
    Press(L"openFolder");
    EXPECT_EQ(Field().GetWindowText(), L"D:\\游戏");
}

TEST_F(MainWindowController, TheRememberedFolderReplacesTheLayoutText) {
    WriteFolderMemo(plat::Utf8ToAnsi("D:\\游戏\\Vael"));
    Open();
    EXPECT_EQ(Field().GetWindowText(), L"D:\\游戏\\Vael");
}

TEST_F(MainWindowController, CloseEndsTheWindowAndMinimiseIconifiesIt) {
    Open();
    Press(L"min");
    EXPECT_TRUE(plat::IsIconic(m_window->m_hWnd));
    Press(L"close");
    EXPECT_FALSE(plat::IsWindow(m_window->m_hWnd));
}

// The news page: the popup's web view is silent and shows the configured address; a page that
// asks for a new window gets none, and the address opens in the user's browser instead.
TEST_F(MainWindowController, TheNewsPageShowsTheAddressAndNewWindowsOpenInTheBrowser) {
    vael::test::TempDir bin;
    vael::test::WriteFile(bin / "xdg-open",
                          "#!/bin/sh\necho \"$1\" >> " + (bin / "opened").string() + "\n");
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);
    setenv("PATH", (bin.path().string() + ":" + std::getenv("PATH")).c_str(), 1);
    plat::OleInitialize(nullptr);
    m_app.Register(DMRegHelperT<IERealWnd>(), true);
    m_window->m_strIEUrl = "http://127.0.0.1:9/news/index.html";
    Open();
    std::vector<plat::headless::WebViewState*> views = plat::headless::WebViews();
    ASSERT_EQ(views.size(), 1u);
    EXPECT_TRUE(views[0]->silent);
    ASSERT_FALSE(views[0]->navigations.empty());
    EXPECT_EQ(views[0]->navigations.back().url, L"http://127.0.0.1:9/news/index.html");

    views[0]->client->OnNewWindowRequested(L"https://example.com/forum", L"");
    EXPECT_TRUE(vael::test::WaitForFinishedLine(bin / "opened"));
    EXPECT_EQ(vael::test::ReadFile(bin / "opened"), "https://example.com/forum\n");
    EXPECT_EQ(plat::headless::WebViews().size(), 1u) << "no window of the view's own";
    m_window->DMCWndBase::DestroyWindow();
    plat::OleUninitialize();
}

}  // namespace

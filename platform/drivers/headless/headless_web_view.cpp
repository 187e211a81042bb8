// The headless driver's web view: it loads nothing, it records what it was asked.
#include <algorithm>

#include "drivers/headless/headless_driver.h"

namespace plat::headless {
namespace {

std::wstring CallText(const std::wstring& name, const std::vector<std::wstring>& arguments) {
    std::wstring text = name + L"(";
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        text += (i ? L"," : L"") + arguments[i];
    }
    return text + L")";
}

class HeadlessWebView final : public WebView {
public:
    HeadlessWebView(HeadlessDriver& driver, HWND host, WebViewClient& client) : m_driver(driver) {
        m_state.host = host;
        m_state.client = &client;
    }
    ~HeadlessWebView() override { m_driver.ForgetWebView(&m_state); }

    WebViewState* State() { return &m_state; }

    void Place(const RECT& rect) override { m_state.rect = rect; }
    void Show(bool visible) override { m_state.visible = visible; }
    void Navigate(const WebRequest& request) override {
        m_state.navigations.push_back(request);
        m_state.url = request.url;
    }
    void Reload(bool bypassCache) override { m_state.reloads.push_back(bypassCache); }
    void Stop() override { ++m_state.stops; }
    void GoBack() override { ++m_state.backs; }
    void GoForward() override { ++m_state.forwards; }
    bool Busy() override { return m_state.busy; }
    std::wstring Url() override { return m_state.url; }
    void RunScript(const std::wstring& code) override { m_state.scripts.push_back(code); }
    bool CallFunction(const std::wstring& name, const std::vector<std::wstring>& arguments,
                      std::wstring& result) override {
        m_state.calls.push_back(CallText(name, arguments));
        auto found = m_state.functions.find(name);
        if (found == m_state.functions.end()) {
            return false;
        }
        result = found->second;
        return true;
    }
    void SetSilent(bool silent) override { m_state.silent = silent; }
    void SetScrollBars(bool shown) override { m_state.scrollBars = shown; }
    void Focus() override { m_state.focused = true; }

private:
    HeadlessDriver& m_driver;
    WebViewState m_state;
};

}  // namespace

std::unique_ptr<WebView> HeadlessDriver::CreateWebView(HWND host, WebViewClient& client) {
    auto view = std::make_unique<HeadlessWebView>(*this, host, client);
    m_webViews.push_back(view->State());
    return view;
}

void HeadlessDriver::ForgetWebView(WebViewState* view) {
    std::erase(m_webViews, view);
}

}  // namespace plat::headless

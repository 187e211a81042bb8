#include "plat/message_box.h"

#include <cstdio>
#include <mutex>

#include "plat/text.h"

namespace plat {
namespace {

std::mutex presenterLock;
MessageBoxPresenter presenter;

int WriteToStandardError(HWND, const std::wstring& text, const std::wstring& caption, UINT) {
    std::fprintf(stderr, "[message box] %s%s%s\n", WideToUtf8(caption).c_str(),
                 caption.empty() ? "" : ": ", WideToUtf8(text).c_str());
    return IDOK;
}

}  // namespace

void SetMessageBoxPresenter(MessageBoxPresenter newPresenter) {
    std::lock_guard<std::mutex> guard(presenterLock);
    presenter = std::move(newPresenter);
}

int MessageBoxW(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
    MessageBoxPresenter current;
    {
        std::lock_guard<std::mutex> guard(presenterLock);
        current = presenter;
    }
    std::wstring textValue = text ? text : L"";
    std::wstring captionValue = caption ? caption : L"";
    if (!current) {
        return WriteToStandardError(owner, textValue, captionValue, type);
    }
    return current(owner, textValue, captionValue, type);
}

}  // namespace plat

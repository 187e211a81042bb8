#include "plat/clipboard.h"

#include "plat/driver.h"

namespace plat {

void SetClipboardText(const std::wstring& text) {
    CurrentDriver().SetClipboardText(text);
}

std::wstring GetClipboardText() {
    return CurrentDriver().ClipboardText();
}

}  // namespace plat

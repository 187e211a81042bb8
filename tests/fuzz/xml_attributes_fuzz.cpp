// The XML layer and the attribute parsers: the bytes as a layout document whose attribute
// values go through the parsers of colours, sizes, points, rectangles, fonts, accelerators and
// positions, and whose elements are built into widgets.
#include <cstddef>
#include <cstdint>

#include "DMApp.h"
#include "DMFontDesc.h"
#include "DMSmartPtrT.h"
#include "DMXml.h"
#include "DUIAccel.h"
#include "DUIWindow.h"
#include "FuzzHome.h"
#include "IDMAttribute.h"
#include "plat/headless.h"
#include "plat/messages.h"

namespace {

void ParseEveryWay(const DM::DMStringT& value) {
    DM::DMColor color;
    DM::ParseColor(value, color);
    DM::SIZE size{};
    DM::ParseSize(value, size);
    DM::POINT point{};
    DM::ParsePoint(value, point);
    DM::RECT rect{};
    DM::ParseRect(value, rect);
    int number = 0;
    DM::ParseInt(value, number);
    bool flag = false;
    DM::ParseBool(value, flag);
    DM::ParseFontDescription(value, DM::LOGFONTW{});
    DM::DUIAccel::ParseAccel(value);
}

void Walk(DM::DMXmlNode node, int depth) {
    for (; node.IsValid() && depth < 64; node = node.NextSibling()) {
        for (DM::DMXmlAttribute attribute = node.FirstAttribute(); attribute.IsValid();
             attribute = attribute.NextAttribute()) {
            ParseEveryWay(attribute.GetValue());
        }
        Walk(node.FirstChild(), depth + 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vael::fuzz::Home();
    static DM::DMApp* app = [] {
        plat::headless::Use();
        return new DM::DMApp;
    }();
    (void)app;
    DM::DMXmlDocument document;
    if (!document.LoadFromBuffer(reinterpret_cast<const char*>(data), size)) {
        return 0;
    }
    DM::DMXmlNode root = document.Root();
    Walk(root, 0);
    auto widget = DM::DMSmartPtrT<DM::DUIWindow>::Adopt(new DM::DUIWindow);
    widget->CreateChildren(root);
    widget->SetWndRect({0, 0, 675, 437});
    widget->UpdateChildLayout();
    widget->SendMessage(plat::WM_DESTROY);
    return 0;
}

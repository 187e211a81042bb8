#include "Core/DMSpyChannel.h"

#include <cstring>
#include <cwchar>

#include "DMApp.h"
#include "DMXml.h"
#include "DUIWindow.h"
#include "plat/shared_memory.h"
#include "plat/window.h"

namespace DM {
namespace {

constexpr wchar_t kNameTooLong[] = L"[名字过长,无法显示!]";
constexpr wchar_t kClassNameTooLong[] = L"[类名过长,无法显示!]";

// One named section mapped for the length of an exchange; no bytes when it cannot be opened or
// is smaller than asked.
class SectionView {
public:
    SectionView(const wchar_t* name, DWORD access, std::size_t bytes)
        : m_hSection(plat::OpenFileMappingW(access, plat::FALSE, name)),
          m_pBytes(m_hSection ? plat::MapViewOfFile(m_hSection, access, 0, 0, bytes) : nullptr) {}
    SectionView(const SectionView&) = delete;
    SectionView& operator=(const SectionView&) = delete;
    ~SectionView() {
        if (m_pBytes) {
            plat::UnmapViewOfFile(m_pBytes);
        }
        if (m_hSection) {
            plat::CloseHandle(m_hSection);
        }
    }

    void* Bytes() const { return m_pBytes; }

private:
    plat::HANDLE m_hSection;
    void* m_pBytes;
};

DMStringT Number(int value) {
    wchar_t text[16];
    std::swprintf(text, 16, L"%d", value);
    return text;
}

void CopyText(wchar_t (&target)[DMSPY_TEXT_LENGTH], const DMStringT& text, const wchar_t* tooLong) {
    const wchar_t* shown = text.size() < DMSPY_TEXT_LENGTH ? text.c_str() : tooLong;
    std::wcsncpy(target, shown, DMSPY_TEXT_LENGTH - 1);
    target[DMSPY_TEXT_LENGTH - 1] = L'\0';
}

// The widget's host window; null for a widget outside any host.
HWND HostOf(const DUIWindow* widget) {
    IDMContainer* container = widget->GetContainer();
    return container ? container->OnGetHWnd() : nullptr;
}

}  // namespace

LRESULT DMSpyChannel::OnSpyMessage(UINT message, WPARAM wParam, LPARAM, DUIWindow* subject) {
    switch (message) {
        case DMSPY_INIT:
            return Init(reinterpret_cast<HWND>(wParam));
        case DMSPY_ENUM:
            return WriteTree(subject);
        case DMSPY_INFO:
            return DescribeCarried();
        case DMSPY_POINT:
            return DescribeAtPoint(subject);
        default:
            return 0;
    }
}

LRESULT DMSpyChannel::Init(HWND tool) {
    if (!plat::IsWindow(tool)) {
        m_hToolWnd = nullptr;
        return 0;
    }
    m_hToolWnd = tool;
    if (!m_pRecord) {
        m_pRecord = std::make_unique<DMSpyRecord>();
    }
    *m_pRecord = DMSpyRecord{};
    m_visited.clear();
    return DMSPY_INIT;
}

LRESULT DMSpyChannel::WriteTree(DUIWindow* subject) {
    SectionView section(DMSPY_SHAREMEMORY, plat::FILE_MAP_READ,
                        DMSPY_TEXT_LENGTH * sizeof(wchar_t));
    if (!section.Bytes() || !subject) {
        return DMSPY_ENUM;
    }
    const auto* text = static_cast<const wchar_t*>(section.Bytes());
    DMStringT path(text, wcsnlen(text, DMSPY_TEXT_LENGTH));
    DMXmlDocument document;
    if (m_visited.insert(subject->GetDUIWnd()).second) {
        DMXmlNode element = document.AppendRoot(L"N");
        WriteWidget(element, subject, 0);
    }
    document.SaveFile(path.c_str());
    return DMSPY_ENUM;
}

// The widget's element, then its children's, each widget once.
void DMSpyChannel::WriteWidget(DMXmlNode& element, DUIWindow* widget, int level) {
    element.SetAttribute(L"duiwnd", Number(static_cast<int>(widget->GetDUIWnd())).c_str());
    element.SetAttribute(L"level", Number(level).c_str());
    element.SetAttribute(L"bpanel", L"0");
    element.SetAttribute(L"classname", widget->GetClassName());
    element.SetAttribute(L"bsee", Number(widget->IsVisible(true) ? 1 : 0).c_str());
    element.SetAttribute(L"id", Number(widget->GetID()).c_str());
    element.SetAttribute(L"name", widget->GetName().c_str());
    for (DUIWindow* child = widget->GetWindow(GDW_FIRSTCHILD); child;
         child = child->GetWindow(GDW_NEXTSIBLING)) {
        if (m_visited.insert(child->GetDUIWnd()).second) {
            DMXmlNode childElement = element.InsertChild(L"N");
            WriteWidget(childElement, child, level + 1);
        }
    }
}

LRESULT DMSpyChannel::DescribeCarried() {
    if (!ReadRecord()) {
        return 0;
    }
    DUIWindow* widget = DMApp::GetObjPtr()->FindDUIWnd(m_pRecord->info.hDUIWnd);
    if (!widget) {
        return 0;
    }
    Describe(widget);
    WriteRecordBack();
    return DMSPY_INFO;
}

// The tool points at any widget it sees, so widgets that take no mouse messages count too.
LRESULT DMSpyChannel::DescribeAtPoint(DUIWindow* subject) {
    if (!subject || !ReadRecord()) {
        return 0;
    }
    POINT point = m_pRecord->info.ptHitTest;
    plat::ScreenToClient(HostOf(subject), &point);
    DUIWindow* widget = DMApp::GetObjPtr()->FindDUIWnd(subject->HitTestPoint(point, true));
    if (!widget) {
        return 0;
    }
    Describe(widget);
    WriteRecordBack();
    return DMSPY_POINT;
}

void DMSpyChannel::Describe(DUIWindow* widget) {
    DMSpyWidgetInfo& info = m_pRecord->info;
    info.bVisible = widget->IsVisible(true) ? plat::TRUE : plat::FALSE;
    info.hDUIWnd = widget->GetDUIWnd();
    info.iId = widget->GetID();
    POINT origin{0, 0};
    plat::ClientToScreen(HostOf(widget), &origin);
    const RECT& rect = widget->m_rcWindow;
    info.rcWindow = {rect.left + origin.x, rect.top + origin.y, rect.right + origin.x,
                     rect.bottom + origin.y};
    widget->GetClientRect(info.rcClient);
    CopyText(info.szName, widget->GetName(), kNameTooLong);
    CopyText(info.szClassName, widget->GetClassName(), kClassNameTooLong);
}

// False before the tool introduced itself, or when its section holds no whole record.
bool DMSpyChannel::ReadRecord() {
    if (!m_pRecord) {
        return false;
    }
    SectionView section(DMSPY_SHAREMEMORY, plat::FILE_MAP_READ, DMSPY_RECORD_SIZE);
    if (!section.Bytes()) {
        return false;
    }
    std::memcpy(m_pRecord.get(), section.Bytes(), DMSPY_RECORD_SIZE);
    return true;
}

void DMSpyChannel::WriteRecordBack() const {
    SectionView size(DMSPY_SHAREMEMORYSIZE, plat::FILE_MAP_READ, sizeof(DWORD));
    DWORD announced = 0;
    if (size.Bytes()) {
        std::memcpy(&announced, size.Bytes(), sizeof announced);
    }
    if (announced < DMSPY_RECORD_SIZE) {
        return;
    }
    SectionView section(DMSPY_SHAREMEMORY, plat::FILE_MAP_WRITE, DMSPY_RECORD_SIZE);
    if (section.Bytes()) {
        std::memcpy(section.Bytes(), m_pRecord.get(), DMSPY_RECORD_SIZE);
    }
}

}  // namespace DM

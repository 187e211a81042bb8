// The inspection channel: an outside tool reads a host window's widget tree through two named
// shared sections and the messages the host forwards here, with the host's root widget as the
// subject.
#pragma once

#include <memory>
#include <set>

#include "Core/DMSpyRecord.h"
#include "DMDef.h"

namespace DM {

class DUIWindow;
class DMXmlNode;

class DMSpyChannel {
public:
    // The tool's window comes in wParam of DMSPY_INIT; lParam is unused.
    LRESULT OnSpyMessage(UINT message, WPARAM wParam, LPARAM lParam, DUIWindow* subject);
    // The tool that introduced itself last; null when none did or its window was gone.
    HWND GetToolWnd() const { return m_hToolWnd; }

private:
    LRESULT Init(HWND tool);
    LRESULT WriteTree(DUIWindow* subject);
    LRESULT DescribeCarried();
    LRESULT DescribeAtPoint(DUIWindow* subject);

    void WriteWidget(DMXmlNode& element, DUIWindow* widget, int level);
    void Describe(DUIWindow* widget);
    bool ReadRecord();
    void WriteRecordBack() const;

    HWND m_hToolWnd = nullptr;
    std::unique_ptr<DMSpyRecord> m_pRecord;
    std::set<DUIWND> m_visited;
};

}  // namespace DM

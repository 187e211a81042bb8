// What a host window and an outside inspection tool exchange: the messages the tool sends to
// the host, the names of the two shared sections, and the record that describes one widget.
// Texts in the sections are the framework's wide characters.
#pragma once

#include <cstddef>

#include "DMDef.h"

namespace DM {

// Each message answers its own number when it did its work, else 0 (DMSPY_ENUM always
// answers its number).
constexpr UINT DMSPY_INIT = 1314;
constexpr UINT DMSPY_ENUM = 1316;
constexpr UINT DMSPY_INFO = 1317;
constexpr UINT DMSPY_POINT = 1318;

// The tool's section: the path for DMSPY_ENUM, else a DMSpyRecord.
inline constexpr wchar_t DMSPY_SHAREMEMORY[] = L"DMSPY_SHAREMEMORY";
// A DWORD: how many bytes the tool made room for in DMSPY_SHAREMEMORY.
inline constexpr wchar_t DMSPY_SHAREMEMORYSIZE[] = L"DMSPY_SHAREMEMORYSIZE";

constexpr int DMSPY_TEXT_LENGTH = 260;
constexpr std::size_t DMSPY_RECORD_SIZE = 21112;

struct DMSpyWidgetInfo {
    plat::BOOL bVisible;
    DUIWND hDUIWnd;
    int iId;
    RECT rcWindow;  // screen coordinates
    RECT rcClient;  // host client coordinates
    wchar_t szName[DMSPY_TEXT_LENGTH];
    wchar_t szClassName[DMSPY_TEXT_LENGTH];
    POINT ptHitTest;  // screen coordinates, given by the tool for DMSPY_POINT
};

// The rest of the record is the tool's.
struct DMSpyRecord {
    DMSpyWidgetInfo info;
    BYTE reserved[DMSPY_RECORD_SIZE - sizeof(DMSpyWidgetInfo)];
};
static_assert(sizeof(DMSpyRecord) == DMSPY_RECORD_SIZE);

}  // namespace DM

// The rich edit's messages, styles, notifications and character and paragraph formats, with
// their documented Windows values and layouts.
#pragma once

#include "plat/logfont.h"
#include "plat/messages.h"
#include "plat/types.h"
#include "plat/window_styles.h"

namespace plat {

// Edit messages. EM_GETSEL: wparam and lparam point to DWORDs receiving the start and end.
// EM_SETSEL: wparam start, lparam end (-1 end: to the end; start -1: no selection).
constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_GETRECT = 0x00B2;
constexpr UINT EM_SETRECT = 0x00B3;
constexpr UINT EM_SCROLL = 0x00B5;
constexpr UINT EM_LINESCROLL = 0x00B6;
constexpr UINT EM_SCROLLCARET = 0x00B7;
constexpr UINT EM_GETMODIFY = 0x00B8;
constexpr UINT EM_SETMODIFY = 0x00B9;
constexpr UINT EM_GETLINECOUNT = 0x00BA;
constexpr UINT EM_LINEINDEX = 0x00BB;
constexpr UINT EM_LINELENGTH = 0x00C1;
constexpr UINT EM_REPLACESEL = 0x00C2;
constexpr UINT EM_GETLINE = 0x00C4;
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT EM_CANUNDO = 0x00C6;
constexpr UINT EM_UNDO = 0x00C7;
constexpr UINT EM_LINEFROMCHAR = 0x00C9;
constexpr UINT EM_SETPASSWORDCHAR = 0x00CC;
constexpr UINT EM_EMPTYUNDOBUFFER = 0x00CD;
constexpr UINT EM_GETFIRSTVISIBLELINE = 0x00CE;
constexpr UINT EM_SETREADONLY = 0x00CF;
constexpr UINT EM_GETPASSWORDCHAR = 0x00D2;
constexpr UINT EM_GETLIMITTEXT = 0x00D5;
constexpr UINT EM_POSFROMCHAR = 0x00D6;
constexpr UINT EM_CHARFROMPOS = 0x00D7;

// Rich edit messages.
constexpr UINT EM_CANPASTE = WM_USER + 50;
constexpr UINT EM_EXGETSEL = WM_USER + 52;  // lparam: CHARRANGE*
constexpr UINT EM_EXLIMITTEXT = WM_USER + 53;
constexpr UINT EM_EXLINEFROMCHAR = WM_USER + 54;
constexpr UINT EM_EXSETSEL = WM_USER + 55;  // lparam: const CHARRANGE*
constexpr UINT EM_GETCHARFORMAT = WM_USER + 58;
constexpr UINT EM_GETEVENTMASK = WM_USER + 59;
constexpr UINT EM_GETPARAFORMAT = WM_USER + 61;
constexpr UINT EM_GETSELTEXT = WM_USER + 62;
constexpr UINT EM_HIDESELECTION = WM_USER + 63;
constexpr UINT EM_REQUESTRESIZE = WM_USER + 65;
constexpr UINT EM_SETBKGNDCOLOR = WM_USER + 67;
constexpr UINT EM_SETCHARFORMAT = WM_USER + 68;  // wparam: SCF_*, lparam: CHARFORMAT2W*
constexpr UINT EM_SETEVENTMASK = WM_USER + 69;   // lparam: the ENM_* mask; answers the old
constexpr UINT EM_SETPARAFORMAT = WM_USER + 71;
constexpr UINT EM_SETTARGETDEVICE = WM_USER + 72;
constexpr UINT EM_SETOPTIONS = WM_USER + 77;  // wparam: ECOOP_*, lparam: ECO_*
constexpr UINT EM_GETOPTIONS = WM_USER + 78;
constexpr UINT EM_SETUNDOLIMIT = WM_USER + 82;
constexpr UINT EM_REDO = WM_USER + 84;
constexpr UINT EM_CANREDO = WM_USER + 85;
constexpr UINT EM_SETLANGOPTIONS = WM_USER + 120;
constexpr UINT EM_GETLANGOPTIONS = WM_USER + 121;

// Edit styles.
constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_PASSWORD = 0x0020;
constexpr DWORD ES_AUTOVSCROLL = 0x0040;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_NOHIDESEL = 0x0100;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_WANTRETURN = 0x1000;
constexpr DWORD ES_NUMBER = 0x2000;
// Rich edit: scroll bars stay shown, disabled, when there is nothing to scroll.
constexpr DWORD ES_DISABLENOSCROLL = 0x2000;
constexpr DWORD ES_SAVESEL = 0x8000;

// Edit notifications (the code of TxNotify).
constexpr DWORD EN_SETFOCUS = 0x0100;
constexpr DWORD EN_KILLFOCUS = 0x0200;
constexpr DWORD EN_CHANGE = 0x0300;  // data: CHANGENOTIFY*
constexpr DWORD EN_UPDATE = 0x0400;
constexpr DWORD EN_ERRSPACE = 0x0500;
constexpr DWORD EN_MAXTEXT = 0x0501;
constexpr DWORD EN_HSCROLL = 0x0601;
constexpr DWORD EN_VSCROLL = 0x0602;
constexpr DWORD EN_MSGFILTER = 0x0700;
constexpr DWORD EN_REQUESTRESIZE = 0x0701;  // data: REQRESIZE*
constexpr DWORD EN_SELCHANGE = 0x0702;      // data: SELCHANGE*
constexpr DWORD EN_DROPFILES = 0x0703;
constexpr DWORD EN_PROTECTED = 0x0704;
constexpr DWORD EN_SAVECLIPBOARD = 0x0708;
constexpr DWORD EN_LINK = 0x070B;

// Event mask bits (EM_SETEVENTMASK): which notifications the engine sends.
constexpr DWORD ENM_NONE = 0x00000000;
constexpr DWORD ENM_CHANGE = 0x00000001;
constexpr DWORD ENM_UPDATE = 0x00000002;
constexpr DWORD ENM_SCROLL = 0x00000004;
constexpr DWORD ENM_SCROLLEVENTS = 0x00000008;
constexpr DWORD ENM_KEYEVENTS = 0x00010000;
constexpr DWORD ENM_MOUSEEVENTS = 0x00020000;
constexpr DWORD ENM_REQUESTRESIZE = 0x00040000;
constexpr DWORD ENM_SELCHANGE = 0x00080000;
constexpr DWORD ENM_DROPFILES = 0x00100000;
constexpr DWORD ENM_PROTECTED = 0x00200000;
constexpr DWORD ENM_LINK = 0x04000000;

// EM_SETOPTIONS operations and options.
constexpr WPARAM ECOOP_SET = 1;
constexpr WPARAM ECOOP_OR = 2;
constexpr WPARAM ECOOP_AND = 3;
constexpr WPARAM ECOOP_XOR = 4;
constexpr DWORD ECO_AUTOWORDSELECTION = 0x00000001;
constexpr DWORD ECO_AUTOVSCROLL = 0x00000040;
constexpr DWORD ECO_AUTOHSCROLL = 0x00000080;
constexpr DWORD ECO_NOHIDESEL = 0x00000100;
constexpr DWORD ECO_READONLY = 0x00000800;
constexpr DWORD ECO_WANTRETURN = 0x00001000;
constexpr DWORD ECO_SAVESEL = 0x00008000;

// EM_SETLANGOPTIONS bits.
constexpr DWORD IMF_AUTOKEYBOARD = 0x0001;
constexpr DWORD IMF_AUTOFONT = 0x0002;
constexpr DWORD IMF_DUALFONT = 0x0080;

// EM_SETCHARFORMAT targets (wparam).
constexpr WPARAM SCF_DEFAULT = 0x0000;
constexpr WPARAM SCF_SELECTION = 0x0001;
constexpr WPARAM SCF_WORD = 0x0002;
constexpr WPARAM SCF_ALL = 0x0004;

// Character format mask bits and effects.
constexpr DWORD CFM_BOLD = 0x00000001;
constexpr DWORD CFM_ITALIC = 0x00000002;
constexpr DWORD CFM_UNDERLINE = 0x00000004;
constexpr DWORD CFM_STRIKEOUT = 0x00000008;
constexpr DWORD CFM_PROTECTED = 0x00000010;
constexpr DWORD CFM_LINK = 0x00000020;
constexpr DWORD CFM_WEIGHT = 0x00400000;
constexpr DWORD CFM_BACKCOLOR = 0x04000000;
constexpr DWORD CFM_CHARSET = 0x08000000;
constexpr DWORD CFM_OFFSET = 0x10000000;
constexpr DWORD CFM_FACE = 0x20000000;
constexpr DWORD CFM_COLOR = 0x40000000;
constexpr DWORD CFM_SIZE = 0x80000000;
constexpr DWORD CFE_BOLD = 0x00000001;
constexpr DWORD CFE_ITALIC = 0x00000002;
constexpr DWORD CFE_UNDERLINE = 0x00000004;
constexpr DWORD CFE_STRIKEOUT = 0x00000008;
constexpr DWORD CFE_PROTECTED = 0x00000010;
constexpr DWORD CFE_LINK = 0x00000020;
constexpr DWORD CFE_AUTOBACKCOLOR = CFM_BACKCOLOR;
constexpr DWORD CFE_AUTOCOLOR = CFM_COLOR;

// Paragraph format mask bits and alignments.
constexpr DWORD PFM_STARTINDENT = 0x00000001;
constexpr DWORD PFM_RIGHTINDENT = 0x00000002;
constexpr DWORD PFM_OFFSET = 0x00000004;
constexpr DWORD PFM_ALIGNMENT = 0x00000008;
constexpr DWORD PFM_TABSTOPS = 0x00000010;
constexpr DWORD PFM_NUMBERING = 0x00000020;
constexpr DWORD PFM_RTLPARA = 0x00010000;
constexpr DWORD PFM_OFFSETINDENT = 0x80000000;
constexpr WORD PFA_LEFT = 1;
constexpr WORD PFA_RIGHT = 2;
constexpr WORD PFA_CENTER = 3;
constexpr WORD PFA_JUSTIFY = 4;
constexpr int MAX_TAB_STOPS = 32;

// The character format. The face name is UTF-16, as in the documented record, so the records
// keep their documented sizes (92 and 116 bytes).
struct CHARFORMATW {
    UINT cbSize;
    DWORD dwMask;
    DWORD dwEffects;
    LONG yHeight;  // twips
    LONG yOffset;  // twips
    COLORREF crTextColor;
    BYTE bCharSet;
    BYTE bPitchAndFamily;
    char16_t szFaceName[LF_FACESIZE];
};

struct CHARFORMAT2W : CHARFORMATW {
    WORD wWeight;
    SHORT sSpacing;
    COLORREF crBackColor;
    DWORD lcid;
    DWORD dwReserved;
    SHORT sStyle;
    WORD wKerning;
    BYTE bUnderlineType;
    BYTE bAnimation;
    BYTE bRevAuthor;
    BYTE bUnderlineColor;
};
static_assert(sizeof(CHARFORMATW) == 92 && sizeof(CHARFORMAT2W) == 116);

struct PARAFORMAT {
    UINT cbSize;
    DWORD dwMask;
    WORD wNumbering;
    WORD wEffects;
    LONG dxStartIndent;
    LONG dxRightIndent;
    LONG dxOffset;
    WORD wAlignment;  // PFA_*
    SHORT cTabCount;
    LONG rgxTabs[MAX_TAB_STOPS];
};

struct PARAFORMAT2 : PARAFORMAT {
    LONG dySpaceBefore;
    LONG dySpaceAfter;
    LONG dyLineSpacing;
    SHORT sStyle;
    BYTE bLineSpacingRule;
    BYTE bOutlineLevel;
    WORD wShadingWeight;
    WORD wShadingStyle;
    WORD wNumberingStart;
    WORD wNumberingStyle;
    WORD wNumberingTab;
    WORD wBorderSpace;
    WORD wBorderWidth;
    WORD wBorders;
};
static_assert(sizeof(PARAFORMAT) == 156 && sizeof(PARAFORMAT2) == 188);

// A range of character positions; cpMax -1 means the end of the text.
struct CHARRANGE {
    LONG cpMin;
    LONG cpMax;
};

// The header of a notification's data.
struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};

// EN_SELCHANGE data.
constexpr WORD SEL_EMPTY = 0x0000;
constexpr WORD SEL_TEXT = 0x0001;
struct SELCHANGE {
    NMHDR nmhdr;
    CHARRANGE chrg;
    WORD seltyp;
};

// EN_CHANGE data.
constexpr DWORD CN_GENERIC = 0x0000;
constexpr DWORD CN_TEXTCHANGED = 0x0001;
constexpr DWORD CN_NEWUNDO = 0x0002;
constexpr DWORD CN_NEWREDO = 0x0004;
struct CHANGENOTIFY {
    DWORD dwChangeType;
    void* pvCookieData;
};

// EN_REQUESTRESIZE data: the rectangle the content needs.
struct REQRESIZE {
    NMHDR nmhdr;
    RECT rc;
};

}  // namespace plat

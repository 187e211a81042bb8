// The framework's application object: one per process, created first and destroyed last. It
// owns DMAppData, the state behind it, and forwards every operation to it.
#pragma once

#include "DMBase.h"
#include "DMSingletonT.h"
#include "IDMReg.h"
#include "plat/window.h"

namespace DM {

class DMAppData;
class DMXmlDocument;
class DMXmlNode;
class IDMFont;
class IDMSkin;
class IDMMessageFilter;
class DMMsgLoopTool;
class DMSpyChannel;
class DUIWindow;
class DUIWndPool;
class DUITimer;
class DMPluginsTool;

class DMApp : public DMSingletonT<DMApp> {
public:
    explicit DMApp(HINSTANCE instance = nullptr);
    ~DMApp();

    // 0; 400 when the type holds a class of that name and `replace` is false; 1 for a type
    // outside 1..16.
    DMCode Register(const IDMReg& helper, bool replace = false);
    DMCode UnRegister(const wchar_t* name, int type);
    // 0, 1 (no such class, or the default object could not be made) or 403 (already the
    // default, in the same letter case).
    DMCode SetDefRegObj(const wchar_t* name, int type);
    // A new object of the named class (the type's default class when `name` is null or empty):
    // 0; 1 not found; 401 no output or no name; 402 nothing registered for the type.
    DMCode CreateRegObj(DMBase** object, const wchar_t* name, int type);
    template <class T>
    DMCode CreateRegObj(T** object, const wchar_t* name, int type) {
        DMBase* created = nullptr;
        DMCode code = CreateRegObj(object ? &created : nullptr, name, type);
        if (object && code == DM_ECODE_OK) {
            *object = static_cast<T*>(created);
        }
        return code;
    }
    // The default object of types 3, 7, 8, 10, 15 and 16 with one reference for the caller.
    DMCode GetDefRegObj(DMBase** object, int type);
    template <class T>
    DMCode GetDefRegObj(T** object, int type) {
        DMBase* found = nullptr;
        DMCode code = GetDefRegObj(object ? &found : nullptr, type);
        if (object && code == DM_ECODE_OK) {
            *object = static_cast<T*>(found);
        }
        return code;
    }

    DMCode LoadResPack(WPARAM wParam, LPARAM lParam, const wchar_t* className);
    // 0 when the document was read from the current pack and parsed.
    DMCode LoadXmlRes(DMXmlDocument& document, const wchar_t* type, const wchar_t* name);
    // The documents of "sub" inclusions come from the custom loader while one is set (none:
    // from the pack); a loader answers 0 with the document filled.
    using CustomLayoutLoader = DMCode (*)(const wchar_t* type, const wchar_t* name,
                                          DMXmlDocument& document);
    void SetCustomLayoutLoader(CustomLayoutLoader loader);
    // The text to show for `source` from the default translation object; without one the text
    // as it is (result 1).
    DMCode GetTrans(DMStringT& out, const DMStringT& source, const DMStringT& set,
                    const DMStringT& node);
    DMCode LoadSubLayout(DMXmlDocument& document, const wchar_t* type, const wchar_t* name);
    // Fills the font, skin and style pools from the global skin file ("global", name).
    DMCode InitGlobal(const wchar_t* name);
    // A layout's own "skin" and "style" elements, added to the pools.
    void AddSkinPoolItem(const DMXmlNode& element);
    void AddStylePoolItem(const DMXmlNode& element);
    // The pool's font for a description (the default font for an empty one), owned by the pool.
    IDMFont* GetFont(const DMStringT& description);
    // "id" or "pool:id", owned by the pool; none when there is no such skin.
    IDMSkin* GetSkin(const DMStringT& reference);
    // The style definition "id" or "pool:id"; 1 when there is none.
    DMCode GetStyle(DMXmlNode& definition, const DMStringT& reference);
    // Re-binds the skins a theme switch changed: `list` holds "type:name;" entries, `length`
    // counts its characters and the terminator.
    DMCode UpdateSkins(const wchar_t* list, int length);
    // Whether the last theme switch re-bound the skin; only kind 1 is answered.
    bool IsSkinUpdated(IDMSkin* skin, int kind);

    // Runs the calling thread's message loop until its quit message; the window is made active
    // first and destroyed afterwards. 301 when the thread's loop cannot be registered.
    DMCode Run(HWND window, bool reenable = false);
    // 0 when the window is inside Run, else 1.
    DMCode IsRun(HWND window);
    // To and from the loop of the thread the filter belongs to.
    DMCode AddMessageFilter(IDMMessageFilter* filter);
    DMCode RemoveMessageFilter(IDMMessageFilter* filter);
    // The atom of the framework's normal window class, or of its shadow class.
    plat::ATOM GetClassAtom(bool shadow = false);
    DMMsgLoopTool& GetMsgLoopTool();
    // The widget of a handle, or none.
    DUIWindow* FindDUIWnd(DUIWND handle);
    DUIWndPool& GetWndPool();
    // Where host windows forward the inspection tool's messages.
    DMSpyChannel& GetSpyChannel();
    DUITimer& GetTimerTable();
    // Told when a host window exists, which starts the plug-ins.
    DMPluginsTool& GetPluginsTool();

private:
    DMAppData* m_pDMData;
};

}  // namespace DM

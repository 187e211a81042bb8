// The class registry through DMApp: registration, default objects and creation by name.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <cwctype>

#include "DMApp.h"
#include "DMRegType.h"
#include "DMSmartPtrT.h"
#include "DMXml.h"
#include "DUIWindow.h"
#include "IDMAttribute.h"
#include "IDMLog.h"
#include "IDMRes.h"
#include "IDMTrans.h"
#include "StandInContainer.h"
#include "TempDir.h"

using namespace DM;

namespace {

class TestStatic : public DMBase {
    DMDECLARE_CLASS_NAME(TestStatic, DMBase, L"Label", L"window", DMREG_Window)
};

// A second class under the same name in other letters, to tell the two apart.
class TestStaticReplacement : public DMBase {
    DMDECLARE_CLASS_NAME(TestStaticReplacement, DMBase, L"LABEL", L"window", DMREG_Window)
};

class TestLayoutStatic : public TestStatic {
    DMDECLARE_CLASS_NAME(TestLayoutStatic, TestStatic, L"TestLayout", L"window", DMREG_LayoutWindow)
};

class TestOutOfRange : public DMBase {
    DMDECLARE_CLASS_NAME(TestOutOfRange, DMBase, L"odd", nullptr, 17)
};

// A resource pack that serves one XML item from memory.
class TestPack : public IDMRes {
    DMDECLARE_CLASS_NAME(TestPack, IDMRes, L"TestPack", L"IDMRes", DMREG_Res)
public:
    static inline std::string item = "<dm><root/></dm>";
    static inline WPARAM loadedWith = 0;

    DMCode LoadResPack(WPARAM wParam, LPARAM) override {
        loadedWith = wParam;
        return DM_ECODE_OK;
    }
    DMCode IsItemExists(const wchar_t*, const wchar_t* name, const wchar_t*) override {
        return std::wstring(name) == L"main" ? DM_ECODE_OK : DM_ECODE_FAIL;
    }
    DMCode GetItemSize(const wchar_t* type, const wchar_t* name, std::size_t& size,
                       const wchar_t* theme) override {
        size = item.size();
        return IsItemExists(type, name, theme);
    }
    DMCode GetItemBuf(const wchar_t*, const wchar_t*, void* buffer, std::size_t size,
                      const wchar_t*) override {
        item.copy(static_cast<char*>(buffer), size);
        return DM_ECODE_OK;
    }
    DMCode LoadTheme(const wchar_t*, const wchar_t*) override { return DM_ECODE_NOTIMPL; }
    DMCode SetCurTheme(const wchar_t*, DMStringT*) override { return DM_ECODE_FAIL; }
};

template <class T = DMBase>
DMSmartPtrT<T> Create(DMApp& app, const wchar_t* name, int type, DMCode* code = nullptr) {
    T* object = nullptr;
    DMCode result = app.CreateRegObj(&object, name, type);
    if (code) {
        *code = result;
    }
    DMSmartPtrT<T> owned;
    owned.Attach(object);
    return owned;
}

TEST(Registry, SecondRegistrationNeedsReplace) {
    DMApp app;
    EXPECT_EQ(app.Register(DMRegHelperT<TestStatic>()), DM_ECODE_OK);
    EXPECT_EQ(app.Register(DMRegHelperT<TestStaticReplacement>(), false), DM_ECODE_REGISTERED);
    EXPECT_STREQ(Create(app, L"label", DMREG_Window)->GetClassName(), L"Label");

    EXPECT_EQ(app.Register(DMRegHelperT<TestStaticReplacement>(), true), DM_ECODE_OK);
    EXPECT_STREQ(Create(app, L"Label", DMREG_Window)->GetClassName(), L"LABEL");
    EXPECT_STREQ(Create(app, L"static", DMREG_Window)->GetClassName(), L"Static")
        << "the framework's own static";
}

TEST(Registry, CreationMatchesNamesInAnyCase) {
    DMApp app;
    app.Register(DMRegHelperT<TestStatic>());
    for (const wchar_t* name : {L"label", L"LABEL", L"lAbEl"}) {
        DMSmartPtrT<DMBase> object = Create(app, name, DMREG_Window);
        ASSERT_TRUE(object) << name;
        EXPECT_TRUE(object->IsClass(L"WINDOW"));
        EXPECT_EQ(object->GetRefCount(), 1);
    }
    DMCode code = 0;
    EXPECT_FALSE(Create(app, L"labels", DMREG_Window, &code));
    EXPECT_EQ(code, DM_ECODE_FAIL);
}

TEST(Registry, IsClassSeesTheAncestors) {
    DMApp app;
    app.Register(DMRegHelperT<TestLayoutStatic>());
    DMSmartPtrT<DMBase> layout = Create(app, L"testlayout", DMREG_LayoutWindow);
    EXPECT_TRUE(layout->IsClass(L"TestLayout"));
    EXPECT_TRUE(layout->IsClass(L"label"));
    EXPECT_TRUE(layout->IsClass(L"window"));
    EXPECT_FALSE(layout->IsClass(L"Button"));
    EXPECT_FALSE(layout->IsClass(nullptr));
}

TEST(Registry, DefaultNamesAndMissingNames) {
    DMApp app;
    DMCode code = 0;
    EXPECT_FALSE(Create(app, L"", DMREG_Window, &code));
    EXPECT_EQ(code, DM_ECODE_NONAME);
    EXPECT_FALSE(Create(app, L"anything", 13, &code)) << "a reserved type";
    EXPECT_EQ(code, DM_ECODE_NOREG);
    DMBase** none = nullptr;
    EXPECT_EQ(app.CreateRegObj(none, L"DMLogImpl", DMREG_Log), DM_ECODE_NONAME);

    EXPECT_STREQ(Create(app, nullptr, DMREG_Log)->GetClassName(), L"DMLogImpl");
    EXPECT_STREQ(Create(app, L"", DMREG_Attribute)->GetClassName(), L"DMAttributeImpl");
}

TEST(Registry, TypesOutside1To16AreRefused) {
    DMApp app;
    EXPECT_EQ(app.Register(DMRegHelperT<TestOutOfRange>()), DM_ECODE_FAIL);
    for (int type : {0, 17, -1}) {
        DMCode code = 0;
        EXPECT_FALSE(Create(app, L"odd", type, &code));
        EXPECT_EQ(code, DM_ECODE_FAIL) << type;
        EXPECT_EQ(app.UnRegister(L"odd", type), DM_ECODE_FAIL) << type;
        EXPECT_EQ(app.SetDefRegObj(L"odd", type), DM_ECODE_FAIL) << type;
    }
}

TEST(Registry, UnRegisterRemovesByNameInAnyCase) {
    DMApp app;
    app.Register(DMRegHelperT<TestStatic>());
    EXPECT_EQ(app.UnRegister(nullptr, DMREG_Window), DM_ECODE_FAIL);
    EXPECT_EQ(app.UnRegister(L"nosuchwidget", DMREG_Window), DM_ECODE_FAIL);
    EXPECT_EQ(app.UnRegister(L"LABEL", DMREG_Window), DM_ECODE_OK);
    DMCode code = 0;
    EXPECT_FALSE(Create(app, L"Label", DMREG_Window, &code));
    EXPECT_EQ(code, DM_ECODE_FAIL);
    EXPECT_TRUE(Create(app, L"window", DMREG_Window)) << "the other classes stay";
}

TEST(Registry, SameDefaultIs403AndOtherCaseRecreates) {
    DMApp app;
    DMSmartPtrT<DMBase> first;
    DMBase* raw = nullptr;
    ASSERT_EQ(app.GetDefRegObj(&raw, DMREG_Log), DM_ECODE_OK);
    first.Attach(raw);

    EXPECT_EQ(app.SetDefRegObj(L"DMLogImpl", DMREG_Log), DM_ECODE_ISDEFAULT);
    DMBase* same = nullptr;
    app.GetDefRegObj(&same, DMREG_Log);
    EXPECT_EQ(same, first.get());
    same->Release();

    EXPECT_EQ(app.SetDefRegObj(L"dmlogimpl", DMREG_Log), DM_ECODE_OK);
    DMBase* recreated = nullptr;
    app.GetDefRegObj(&recreated, DMREG_Log);
    EXPECT_NE(recreated, first.get());
    EXPECT_STREQ(recreated->GetClassName(), L"DMLogImpl");
    recreated->Release();
    EXPECT_EQ(first->GetRefCount(), 1) << "the registry let go of the replaced object";

    EXPECT_EQ(app.SetDefRegObj(L"NoSuchLog", DMREG_Log), DM_ECODE_FAIL);
}

TEST(Registry, DefaultObjectsExistOnlyForTheirTypes) {
    DMApp app;
    DMBase* object = nullptr;
    EXPECT_EQ(app.GetDefRegObj(static_cast<DMBase**>(nullptr), DMREG_Log), DM_ECODE_FAIL);
    EXPECT_EQ(app.GetDefRegObj(&object, DMREG_Window), DM_ECODE_FAIL);
    EXPECT_EQ(object, nullptr);

    app.Register(DMRegHelperT<TestStatic>());
    EXPECT_EQ(app.SetDefRegObj(L"Label", DMREG_Window), DM_ECODE_OK);
    EXPECT_EQ(app.GetDefRegObj(&object, DMREG_Window), DM_ECODE_FAIL);
    EXPECT_STREQ(Create(app, nullptr, DMREG_Window)->GetClassName(), L"Label");
}

// Answers every text in capitals, followed by the table it was asked for.
class ShoutingTrans : public IDMTrans {
    DMDECLARE_CLASS_NAME(ShoutingTrans, IDMTrans, L"ShoutingTrans", L"IDMTrans", DMREG_Trans)
public:
    DMCode GetTrans(DMStringT& out, const DMStringT& source, const DMStringT& set,
                    const DMStringT&) override {
        out.clear();
        for (wchar_t c : source) {
            out += static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
        }
        out += L"@" + set;
        return DM_ECODE_OK;
    }
};

// The built-in translation object shows texts as written; another default object translates
// what widgets show.
TEST(Registry, TextsGoThroughTheDefaultTranslationObject) {
    DMApp app;
    IDMTrans* trans = nullptr;
    ASSERT_EQ(app.GetDefRegObj(&trans, DMREG_Trans), DM_ECODE_OK);
    auto held = DMSmartPtrT<IDMTrans>::Adopt(trans);
    EXPECT_STREQ(held->GetClassName(), L"DMTransImpl");
    DMStringT out;
    EXPECT_EQ(app.GetTrans(out, L"保存路径：", L"main", L""), DM_ECODE_OK);
    EXPECT_EQ(out, L"保存路径：");

    app.Register(DMRegHelperT<ShoutingTrans>());
    ASSERT_EQ(app.SetDefRegObj(L"ShoutingTrans", DMREG_Trans), DM_ECODE_OK);
    EXPECT_EQ(app.GetTrans(out, L"close", L"main", L""), DM_ECODE_OK);
    EXPECT_EQ(out, L"CLOSE@main");
    vael::test::StandInContainer container;
    auto widget = DMSmartPtrT<DUIWindow>::Adopt(new DUIWindow);
    widget->GetTransText(out, L"alone");
    EXPECT_EQ(out, L"alone") << "without a container";
    widget->SetContainer(&container);
    widget->GetTransText(out, L"inside");
    EXPECT_EQ(out, L"INSIDE@") << "the stand-in host has no translation id";
}

TEST(Registry, TheDefaultParserAndLogArePublished) {
    DMApp app;
    int value = 0;
    EXPECT_EQ(ParseInt(L"0x1F", value), DM_ECODE_OK);
    EXPECT_EQ(value, 31);
    EXPECT_EQ(DMLog(DMLOG_INFO, L"f", L"file", 1, L"[mid]published\n"), DM_ECODE_OK);
}

TEST(Registry, ResourcePackIsSelectedLoadedAndRead) {
    DMApp app;
    app.Register(DMRegHelperT<TestPack>(), true);
    EXPECT_EQ(app.LoadResPack(0, 0, L"TestPack"), DM_ECODE_FAIL);
    EXPECT_EQ(app.LoadResPack(7, 0, L"NoSuchPack"), DM_ECODE_FAIL);
    EXPECT_EQ(app.LoadResPack(7, 0, L"TestPack"), DM_ECODE_OK);
    EXPECT_EQ(TestPack::loadedWith, 7u);

    DMXmlDocument document;
    EXPECT_EQ(app.LoadXmlRes(document, L"layout", L"main"), DM_ECODE_OK);
    EXPECT_EQ(document.Root().FirstChild().GetName(), L"root");
    EXPECT_EQ(app.LoadXmlRes(document, L"layout", L"other"), DM_ECODE_FAIL);
    EXPECT_EQ(app.LoadXmlRes(document, nullptr, L"main"), DM_ECODE_FAIL);

    TestPack::item = "<dm><big>" + std::string(300, 'x') + "</big></dm>";
    EXPECT_EQ(app.LoadXmlRes(document, L"layout", L"main"), DM_ECODE_OK);
    TestPack::item = "<dm><broken></dm>";
    vael::test::TempDir folder;
    setenv("DM_LOG_FILE", (folder / "debugger.txt").c_str(), 1);
    EXPECT_EQ(app.LoadXmlRes(document, L"layout", L"main"), DM_ECODE_FAIL);
    unsetenv("DM_LOG_FILE");
    EXPECT_NE(vael::test::ReadFile(folder / "debugger.txt")
                  .find("[mid]layout:main xml解码失败!请以utf-8格式保存,并保证xml格式完整\n"),
              std::string::npos);
}

TEST(Registry, TheFolderPackIsTheDefaultUntilLoaded) {
    DMApp app;
    DMBase* pack = nullptr;
    ASSERT_EQ(app.GetDefRegObj(&pack, DMREG_Res), DM_ECODE_OK);
    EXPECT_STREQ(pack->GetClassName(), L"DMResFolderImpl");
    pack->Release();
    DMXmlDocument document;
    EXPECT_EQ(app.LoadXmlRes(document, L"layout", L"main"), DM_ECODE_FAIL);
}

TEST(Registry, SingletonLivesWithTheApplication) {
    EXPECT_EQ(DMApp::GetObjPtr(), nullptr);
    {
        DMApp app;
        EXPECT_EQ(DMApp::GetObjPtr(), &app);
    }
    EXPECT_EQ(DMApp::GetObjPtr(), nullptr);
    int value = 5;
    EXPECT_EQ(ParseInt(L"7", value), DM_ECODE_FAIL) << "the parser went with the application";
    EXPECT_EQ(value, 5);
}

}  // namespace

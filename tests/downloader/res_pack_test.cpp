// The resource packs over one small skin tree: the archive pack (from a file and from the
// executable's own resources) and the folder pack.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>

#include "DMApp.h"
#include "DMResZipImpl.h"
#include "DMSmartPtrT.h"
#include "DMXml.h"
#include "DUIWindow.h"
#include "IDMSkin.h"
#include "Modules/DMResFolderImpl.h"
#include "PictureWriter.h"
#include "TempDir.h"
#include "ZipWriter.h"
#include "plat/drive_map.h"
#include "plat/resources.h"

using namespace DM;
namespace fs = std::filesystem;

namespace {

std::string Png(std::uint8_t red) {
    return vael::test::WritePng(2, 2, std::vector<vael::test::Rgba>(4, {red, 0, 0, 0xFF}));
}

// Two themes: theme1 has its own "bg", shares "guanbi" with theme0 and alone has "only1".
const std::map<std::string, std::string> kSkinTree = {
    {"layout/dmindex.xml",
     "<resource><layout><file name=\"main\" path=\"layout\\main.xml\"/></layout>"
     "<global><file name=\"global\" path=\"layout\\global.xml\"/>"
     "<file name=\"nopath\" path=\"\"/></global></resource>"},
    {"layout/main.xml", "<dm initsize=\"675,437\"><root/></dm>"},
    {"layout/global.xml",
     "<global><skin name=\"png\"><imglist id=\"bg\" src=\"png:bg\"/>"
     "<imglist id=\"guanbi\" src=\"png:guanbi\"/><imglist id=\"only1\" src=\"png:only1\"/>"
     "</skin></global>"},
    {"themes/dmindex.xml",
     "<resource><themes name=\"theme0\" bassert=\"0\">"
     "<file name=\"theme0\" path=\"themes\\theme0\\dmindex.xml\"/>"
     "<file name=\"theme1\" path=\"themes\\theme1\\dmindex.xml\"/>"
     "<file name=\"THEME0\" path=\"themes\\theme1\\dmindex.xml\"/>"
     "<file name=\"broken\" path=\"themes\\missing.xml\"/></themes></resource>"},
    {"themes/theme0/dmindex.xml",
     "<resource><png><file name=\"bg\" path=\"themes\\theme0\\bg.png\"/>"
     "<file name=\"guanbi\" path=\"themes\\shared\\guanbi.png\"/></png></resource>"},
    {"themes/theme1/dmindex.xml",
     "<resource><png><file name=\"bg\" path=\"themes\\theme1\\bg.png\"/>"
     "<file name=\"guanbi\" path=\"themes\\shared\\guanbi.png\"/>"
     "<file name=\"only1\" path=\"themes\\theme1\\only1.png\"/></png></resource>"},
    {"themes/theme0/bg.png", Png(10)},
    {"themes/theme1/bg.png", Png(11)},
    {"themes/shared/guanbi.png", Png(20)},
    {"themes/theme1/only1.png", Png(30)},
};

std::vector<vael::test::ZipEntry> TreeEntries() {
    std::vector<vael::test::ZipEntry> entries;
    for (const auto& [name, data] : kSkinTree) {
        entries.push_back({.name = name, .data = data, .deflate = true});
    }
    return entries;
}

std::wstring Windows(const fs::path& host) {
    return plat::WindowsPathFromHostW(host);
}

std::string ItemText(IDMRes& pack, const wchar_t* type, const wchar_t* name) {
    std::size_t size = 0;
    if (pack.GetItemSize(type, name, size, nullptr) != DM_ECODE_OK) {
        return "<missing>";
    }
    std::string bytes(size, '\0');
    if (pack.GetItemBuf(type, name, bytes.data(), size, nullptr) != DM_ECODE_OK) {
        return "<unreadable>";
    }
    return bytes;
}

class ResPack : public ::testing::Test {
protected:
    // An archive pack over the tree as a ZIP file, or nothing when it does not load.
    DMSmartPtrT<DMResZipImpl> LoadZip(const std::string& archive, const char* password = nullptr,
                                      DMCode* code = nullptr) {
        fs::path path = folder / "skin.zip";
        vael::test::WriteFile(path, archive);
        std::wstring windowsPath = Windows(path);
        DMResZipParam param{0, password, windowsPath.c_str(), nullptr, nullptr};
        auto pack = DMSmartPtrT<DMResZipImpl>::Adopt(new DMResZipImpl);
        DMCode result = pack->LoadResPack(reinterpret_cast<WPARAM>(&param), 0);
        if (code) {
            *code = result;
        }
        return pack;
    }

    DMApp app;
    vael::test::TempDir folder;
};

TEST_F(ResPack, LookupsAcrossLayoutsAndThemes) {
    DMCode code = 1;
    DMSmartPtrT<DMResZipImpl> pack = LoadZip(vael::test::BuildZip(TreeEntries()), nullptr, &code);
    EXPECT_EQ(code, DM_ECODE_OK);
    EXPECT_EQ(ItemText(*pack, L"layout", L"main"), kSkinTree.at("layout/main.xml"));
    EXPECT_EQ(ItemText(*pack, L"PNG", L"BG"), kSkinTree.at("themes/theme0/bg.png"));
    EXPECT_EQ(ItemText(*pack, L"global", L"nopath"), "<missing>");
    EXPECT_EQ(pack->IsItemExists(L"png", L"bg", L"theme1"), DM_ECODE_OK);
    EXPECT_EQ(pack->IsItemExists(L"png", L"bg", L"nosuchtheme"), DM_ECODE_FAIL);
    EXPECT_EQ(pack->IsItemExists(nullptr, L"bg", nullptr), DM_ECODE_FAIL);

    EXPECT_EQ(pack->IsItemExists(L"png", L"only1", nullptr), DM_ECODE_OK) << "bloop searches on";
    pack->SetAttribute(L"BLOOP", L"0", false);
    EXPECT_EQ(pack->IsItemExists(L"png", L"only1", nullptr), DM_ECODE_FAIL);

    wchar_t names[64] = {};
    int needed = 0;
    pack->QueryInfo(reinterpret_cast<WPARAM>(&needed), 0);
    EXPECT_EQ(needed, static_cast<int>(sizeof(L"theme0;theme1;")));
    pack->QueryInfo(reinterpret_cast<WPARAM>(names), sizeof names);
    EXPECT_STREQ(names, L"theme0;theme1;");
}

// Asked during a theme switch whether its skins changed: records which of the watched skins
// the switch has re-bound, and the kinds other than 1, which are never answered.
class SkinWatcher : public DUIWindow {
public:
    DMCode IsSkinAffected(int kind) override {
        for (IDMSkin* skin : watched) {
            seen.push_back(DMApp::GetObjPtr()->IsSkinUpdated(skin, 1));
            EXPECT_FALSE(DMApp::GetObjPtr()->IsSkinUpdated(skin, 2));
        }
        return DUIWindow::IsSkinAffected(kind);
    }
    std::vector<IDMSkin*> watched;
    std::vector<bool> seen;
};

// The skins of the global file are re-bound when a switch changes the item behind them.
TEST_F(ResPack, ThemeSwitchRebindsTheChangedSkins) {
    app.Register(DMRegHelperT<DMResZipImpl>(), true);
    app.SetDefRegObj(L"DMResZipImpl", DMREG_Res);
    std::string archive = vael::test::BuildZip(TreeEntries());
    std::wstring path = Windows(folder / "skin.zip");
    vael::test::WriteFile(folder / "skin.zip", archive);
    DMResZipParam param{0, nullptr, path.c_str(), nullptr, nullptr};
    ASSERT_EQ(app.LoadResPack(reinterpret_cast<WPARAM>(&param), 0, nullptr), DM_ECODE_OK);
    ASSERT_EQ(app.InitGlobal(L"global"), DM_ECODE_OK);
    DMBase* object = nullptr;
    app.GetDefRegObj(&object, DMREG_Res);
    auto pack = DMSmartPtrT<IDMRes>::Adopt(static_cast<IDMRes*>(object));
    IDMSkin* bg = app.GetSkin(L"bg");
    IDMSkin* guanbi = app.GetSkin(L"guanbi");
    IDMSkin* only1 = app.GetSkin(L"only1");
    ASSERT_TRUE(bg && guanbi && only1) << "only1 comes from theme1 through bloop";

    DMStringT previous;
    EXPECT_EQ(pack->SetCurTheme(L"theme0", &previous), DM_ECODE_FAIL);
    EXPECT_EQ(previous, L"theme0");
    EXPECT_EQ(pack->SetCurTheme(L"nosuchtheme", nullptr), DM_ECODE_FAIL);

    auto watcher = DMSmartPtrT<SkinWatcher>::Adopt(new SkinWatcher);
    watcher->watched = {bg, only1, guanbi};
    EXPECT_EQ(pack->SetCurTheme(L"theme1", nullptr), DM_ECODE_OK);
    EXPECT_EQ(watcher->seen, (std::vector<bool>{true, true, false}))
        << "the same picture in both themes for guanbi";
    EXPECT_FALSE(app.IsSkinUpdated(bg, 1)) << "only while the switch repaints";
    IDMBitmap* picture = nullptr;
    ASSERT_EQ(bg->GetBitmap(&picture), DM_ECODE_OK);
    EXPECT_EQ((picture->GetPixel(0, 0) >> 16) & 0xFF, 11u) << "theme1's background";
    picture->Release();

    pack->SetAttribute(L"boutstyle", L"1", false);
    watcher->seen.clear();
    EXPECT_EQ(pack->SetCurTheme(L"theme1", nullptr), DM_ECODE_OK);
    EXPECT_EQ(watcher->seen, (std::vector<bool>{true, true, true}));
    EXPECT_FALSE(app.IsSkinUpdated(guanbi, 1));
    EXPECT_EQ(pack->SetCurTheme(L"theme1", nullptr), DM_ECODE_FAIL) << "boutstyle is spent";
}

TEST_F(ResPack, ArchiveBufferMustHoldTheWholeItem) {
    DMSmartPtrT<DMResZipImpl> pack = LoadZip(vael::test::BuildZip(TreeEntries()));
    std::string bytes(kSkinTree.at("themes/shared/guanbi.png").size(), '\0');
    EXPECT_EQ(pack->GetItemBuf(L"png", L"guanbi", bytes.data(), bytes.size() - 1, nullptr),
              DM_ECODE_FAIL);
    EXPECT_EQ(pack->GetItemBuf(L"png", L"guanbi", bytes.data(), bytes.size(), nullptr),
              DM_ECODE_OK);
    EXPECT_EQ(bytes, kSkinTree.at("themes/shared/guanbi.png"));
}

TEST_F(ResPack, ArchivesThatCannotBeOpened) {
    std::string commented = vael::test::BuildZip(TreeEntries());
    commented[commented.size() - 2] = 7;  // the end record announces a comment
    commented += "comment";
    std::vector<vael::test::ZipEntry> many = TreeEntries();
    while (many.size() < 1000) {
        many.push_back({.name = "filler/" + std::to_string(many.size()), .data = "x"});
    }
    for (const std::string& archive :
         {commented, vael::test::BuildZip(many), std::string("PK"), std::string()}) {
        DMCode code = 0;
        DMSmartPtrT<DMResZipImpl> pack = LoadZip(archive, nullptr, &code);
        EXPECT_EQ(code, DM_ECODE_FAIL) << archive.size();
        EXPECT_EQ(pack->IsItemExists(L"layout", L"main", nullptr), DM_ECODE_FAIL);
    }
    many.pop_back();
    DMCode code = 1;
    LoadZip(vael::test::BuildZip(many), nullptr, &code);
    EXPECT_EQ(code, DM_ECODE_OK) << "999 entries are fine";
}

// An entry whose recorded size is more than its compressed bytes can give is refused before
// anything of that size is allocated.
TEST_F(ResPack, AForgedEntrySizeIsRefused) {
    std::vector<vael::test::ZipEntry> entries = TreeEntries();
    for (vael::test::ZipEntry& entry : entries) {
        if (entry.name == "layout/main.xml") {
            entry.sizeError = 3'000'000'000;
        }
    }
    entries.push_back({.name = "stored.txt", .data = "plain", .sizeError = 1'000'000'000});
    std::string bytes = vael::test::BuildZip(entries);
    DMZipArchive reader;
    ASSERT_TRUE(reader.OpenMemory(bytes.data(), bytes.size()));
    ASSERT_FALSE(reader.EntrySize(L"layout\\main.xml").has_value());
    ASSERT_FALSE(reader.EntrySize(L"stored.txt").has_value());
    EXPECT_FALSE(reader.ReadEntry(L"layout\\main.xml").has_value());
    EXPECT_FALSE(reader.ReadEntry(L"stored.txt").has_value());
    EXPECT_TRUE(reader.ReadEntry(L"layout\\global.xml").has_value());
    EXPECT_EQ(ItemText(*LoadZip(bytes), L"layout", L"main"), "<missing>");
}

// The zip tool encrypts one picture with the traditional scheme; the indexes stay plain.
TEST_F(ResPack, EncryptedEntryNeedsTheRightPassword) {
    fs::path tree = folder / "tree";
    for (const auto& [name, data] : kSkinTree) {
        vael::test::WriteFile(tree / name, data);
    }
    vael::test::WriteFile(tree / "themes/theme0/secret.png", std::string(3000, 's'));
    std::string archive = (folder / "encrypted.zip").string();
    std::string command = "cd '" + tree.string() + "' && zip -q -r '" + archive +
                          "' . -x themes/theme0/secret.png && zip -q -P s3cret '" + archive +
                          "' themes/theme0/secret.png";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::string bytes = vael::test::ReadFile(archive);
    auto read = [&](const char* password) {
        DMZipArchive reader;
        EXPECT_TRUE(reader.OpenMemory(bytes.data(), bytes.size()));
        if (password) {
            reader.SetPassword(password);
        }
        std::optional<std::vector<unsigned char>> entry =
            reader.ReadEntry(L"\\themes\\theme0\\SECRET.png");
        return entry ? std::string(entry->begin(), entry->end()) : std::string("<refused>");
    };
    EXPECT_EQ(read("s3cret"), std::string(3000, 's'));
    EXPECT_EQ(read("wrong"), "<refused>");
    EXPECT_EQ(read(nullptr), "<refused>");
    EXPECT_EQ(ItemText(*LoadZip(bytes, "s3cret"), L"layout", L"main"),
              kSkinTree.at("layout/main.xml"));

    DMZipArchive tooLong;
    EXPECT_FALSE(tooLong.SetPassword(std::string(63, 'p')));
    EXPECT_TRUE(tooLong.SetPassword(std::string(62, 'p')));
}

TEST_F(ResPack, FolderPackServesTheSameItems) {
    fs::path tree = folder / "tree";
    for (const auto& [name, data] : kSkinTree) {
        vael::test::WriteFile(tree / name, data);
    }
    DMSmartPtrT<DMResZipImpl> zip = LoadZip(vael::test::BuildZip(TreeEntries()));
    auto directory = DMSmartPtrT<DMResFolderImpl>::Adopt(new DMResFolderImpl);
    std::wstring root = Windows(tree);
    EXPECT_EQ(directory->LoadResPack(reinterpret_cast<WPARAM>(root.c_str()), 0), DM_ECODE_OK);
    struct {
        const wchar_t* type;
        const wchar_t* name;
    } items[] = {{L"layout", L"main"}, {L"global", L"global"}, {L"png", L"bg"},
                 {L"png", L"guanbi"},  {L"png", L"only1"},     {L"png", L"missing"}};
    for (const auto& item : items) {
        EXPECT_EQ(ItemText(*directory, item.type, item.name), ItemText(*zip, item.type, item.name))
            << item.name;
    }
    std::wstring empty = Windows(folder / "empty");
    fs::create_directories(folder / "empty");
    EXPECT_EQ(directory->LoadResPack(reinterpret_cast<WPARAM>(empty.c_str()), 0), DM_ECODE_FAIL);
}

TEST_F(ResPack, TheExecutablesOwnSkinArchive) {
    plat::HRSRC ini = plat::FindResourceW(nullptr, plat::MAKEINTRESOURCEW(105), L"INI");
    ASSERT_NE(ini, nullptr);
    std::string config(
        static_cast<const char*>(plat::LockResource(plat::LoadResource(nullptr, ini))),
        plat::SizeofResource(nullptr, ini));
    EXPECT_EQ(config.rfind("[Downloader]\r\nurlDownload=http://", 0), 0u) << config;
    EXPECT_NE(config.back(), '\n');
    EXPECT_EQ(plat::FindResourceW(nullptr, plat::MAKEINTRESOURCEW(107), L"ZIP"), nullptr);

    app.Register(DMRegHelperT<DMResZipImpl>(), true);
    ASSERT_EQ(app.SetDefRegObj(L"DMResZipImpl", DMREG_Res), DM_ECODE_OK);
    DMResZipParam param{1, nullptr, nullptr, plat::MAKEINTRESOURCEW(106), L"ZIP"};
    EXPECT_EQ(app.LoadResPack(reinterpret_cast<WPARAM>(&param), 0, nullptr), DM_ECODE_OK);
    DMXmlDocument main;
    ASSERT_EQ(app.LoadXmlRes(main, L"layout", L"main"), DM_ECODE_OK);
    EXPECT_EQ(main.Root().Attribute(L"initsize"), L"675,437");
    EXPECT_EQ(main.Root().Attribute(L"title"), L"《Vael》下载器");
    DMXmlDocument ie;
    ASSERT_EQ(app.LoadXmlRes(ie, L"layout", L"dui_ie"), DM_ECODE_OK);
    EXPECT_EQ(ie.Root().FirstChild(L"root").Attribute(L"name"), L"IeRoot");

    DMSmartPtrT<IDMRes> pack;
    DMBase* object = nullptr;
    app.GetDefRegObj(&object, DMREG_Res);
    pack.Attach(static_cast<IDMRes*>(object));
    for (const wchar_t* name : {L"bg", L"guanbi", L"suoxiao", L"download", L"processFG"}) {
        EXPECT_EQ(ItemText(*pack, L"png", name).substr(1, 3), "PNG") << name;
    }
    EXPECT_EQ(ItemText(*pack, L"splash", L"splash_4").substr(1, 3), "PNG");

    ASSERT_EQ(app.InitGlobal(L"global"), DM_ECODE_OK);
    struct {
        const wchar_t* skin;
        LONG width;
        LONG height;
    } skins[] = {{L"bg", 675, 437},
                 {L"guanbi", 24, 24},
                 {L"suoxiao", 24, 24},
                 {L"download", 116, 37},
                 {L"processFG", 404, 12},
                 {L"splash_0", 390, 223},
                 {L"splash:splash_4", 390, 223}};
    for (const auto& expected : skins) {
        IDMSkin* skin = app.GetSkin(expected.skin);
        ASSERT_NE(skin, nullptr) << expected.skin;
        SIZE size{};
        EXPECT_EQ(skin->GetStateSize(size, 0), DM_ECODE_OK);
        EXPECT_EQ(size.cx, expected.width) << expected.skin;
        EXPECT_EQ(size.cy, expected.height) << expected.skin;
    }
    IDMFont* font = app.GetFont(L"");
    EXPECT_EQ(font->GetLogFont()->lfHeight, -14);
    EXPECT_EQ(font->GetLogFont()->lfCharSet, 0);
}

}  // namespace

// The XML layer: wide text over pugixml's UTF-8, handles that can be empty, editing, writing.
#include <gtest/gtest.h>

#include <cstring>

#include "DMXml.h"
#include "TempDir.h"
#include "plat/drive_map.h"

using namespace DM;

namespace {

constexpr const char* kLayout =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<!-- a comment first -->\n"
    "<dm initsize=\"675,437\" title=\"维尔下载器\">\n"
    "  <root name=\"bg\"><button name=\"close\"/><static name=\"news\"/>"
    "<button name=\"min\"/></root>\n"
    "</dm>\n";

DMXmlDocument& Loaded(DMXmlDocument& document) {
    EXPECT_TRUE(document.LoadFromBuffer(kLayout, std::strlen(kLayout)));
    return document;
}

TEST(Xml, NavigationAndWideText) {
    DMXmlDocument document;
    DMXmlNode dm = Loaded(document).Root();
    EXPECT_EQ(dm.GetName(), L"dm");
    EXPECT_EQ(document.Root(L"dm").GetName(), L"dm");
    EXPECT_FALSE(document.Root(L"DM").IsValid()) << "names match with letter case";
    EXPECT_EQ(dm.Attribute(L"title"), L"维尔下载器");
    EXPECT_EQ(dm.Attribute(L"missing"), L"");

    DMXmlNode root = dm.FirstChild();
    EXPECT_EQ(root.FirstChild().Attribute(L"name"), L"close");
    EXPECT_EQ(root.FirstChild(L"static").Attribute(L"name"), L"news");
    EXPECT_EQ(root.FirstChild().NextSibling(L"button").Attribute(L"name"), L"min");
    EXPECT_EQ(root.FirstChild().NextSibling().Attribute(L"name"), L"news");

    DMXmlAttribute attribute = dm.FirstAttribute();
    EXPECT_EQ(attribute.GetName(), L"initsize");
    EXPECT_EQ(attribute.NextAttribute().GetValue(), L"维尔下载器");
    EXPECT_FALSE(attribute.NextAttribute().NextAttribute().IsValid());
}

TEST(Xml, EmptyHandlesAnswerEmpty) {
    DMXmlNode empty;
    EXPECT_FALSE(empty.IsValid());
    EXPECT_EQ(empty.GetName(), L"");
    EXPECT_EQ(empty.Attribute(L"name"), L"");
    EXPECT_FALSE(empty.FirstChild().IsValid());
    EXPECT_FALSE(empty.NextSibling().IsValid());
    EXPECT_FALSE(empty.SetAttribute(L"name", L"x"));
    EXPECT_EQ(DMXmlAttribute().GetValue(), L"");
}

TEST(Xml, BadInputFails) {
    DMXmlDocument document;
    EXPECT_FALSE(document.IsFailed());
    EXPECT_FALSE(document.LoadFromBuffer("<dm>", 4));
    EXPECT_TRUE(document.IsFailed());
    EXPECT_FALSE(document.LoadFromBuffer(nullptr, 4));
    EXPECT_FALSE(document.LoadFromBuffer("<dm/>", 0));
    EXPECT_TRUE(document.LoadFromBuffer("<dm/>", 5));
    EXPECT_FALSE(document.IsFailed());
}

TEST(Xml, EditingAttributesAndChildren) {
    DMXmlDocument document;
    DMXmlNode root = Loaded(document).Root().FirstChild();
    EXPECT_TRUE(root.SetAttribute(L"pos", L"0,0,-0,-0"));
    EXPECT_TRUE(root.SetAttribute(L"style", L"bgstyle", false));
    EXPECT_TRUE(root.SetAttribute(L"name", L"背景"));
    EXPECT_FALSE(root.SetAttribute(L"", L"x"));
    EXPECT_EQ(root.FirstAttribute().GetName(), L"style");
    EXPECT_EQ(root.Attribute(L"name"), L"背景");
    EXPECT_TRUE(root.RemoveAttribute(L"style"));
    EXPECT_FALSE(root.RemoveAttribute(L"style"));

    DMXmlNode close = root.FirstChild();
    root.InsertChild(L"first", &close, false);
    root.InsertChild(L"second", &close, true);
    root.InsertChild(L"last");
    root.InsertCopy(close, &close, false);
    std::vector<DMStringT> names;
    for (DMXmlNode child = root.FirstChild(); child.IsValid(); child = child.NextSibling()) {
        names.push_back(child.GetName());
    }
    EXPECT_EQ(names, (std::vector<DMStringT>{L"first", L"button", L"button", L"second", L"static",
                                             L"button", L"last"}));
}

TEST(Xml, TextAndFilesWithTabIndentation) {
    DMXmlDocument document;
    DMXmlNode dm = document.AppendRoot(L"dm");
    dm.InsertChild(L"root").SetAttribute(L"text", L"下载 & 安装");
    EXPECT_EQ(document.ToText(),
              L"<?xml version=\"1.0\"?>\n<dm>\n\t<root text=\"下载 &amp; 安装\" />\n</dm>\n");

    vael::test::TempDir folder;
    std::wstring path = plat::WindowsPathFromHostW(folder / "saved.xml");
    EXPECT_TRUE(document.SaveFile(path.c_str()));
    DMXmlDocument reread;
    EXPECT_TRUE(reread.LoadFromFile(path.c_str()));
    EXPECT_EQ(reread.Root().FirstChild().Attribute(L"text"), L"下载 & 安装");
    EXPECT_FALSE(reread.LoadFromFile(L"no-such-file-next-to-the-tests.xml"));
    EXPECT_TRUE(reread.IsFailed());
}

}  // namespace

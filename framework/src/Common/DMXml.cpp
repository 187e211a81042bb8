#include "DMXml.h"

#include <sstream>

#include "Common/DMExecutableFolder.h"
#include "plat/drive_map.h"

namespace DM {
namespace {

constexpr unsigned kParseOptions = pugi::parse_default;
constexpr const char* kIndent = "\t";

std::string Utf8(const wchar_t* text) {
    return text ? pugi::as_utf8(text) : std::string();
}

DMStringT Wide(const char* utf8) {
    return pugi::as_wide(utf8);
}

}  // namespace

bool DMXmlAttribute::IsValid() const {
    return !m_attribute.empty();
}

DMStringT DMXmlAttribute::GetName() const {
    return Wide(m_attribute.name());
}

DMStringT DMXmlAttribute::GetValue() const {
    return Wide(m_attribute.value());
}

DMXmlAttribute DMXmlAttribute::NextAttribute() const {
    return DMXmlAttribute(m_attribute.next_attribute());
}

bool DMXmlNode::IsValid() const {
    return !m_node.empty();
}

DMStringT DMXmlNode::GetName() const {
    return Wide(m_node.name());
}

DMStringT DMXmlNode::Attribute(const wchar_t* name) const {
    return Wide(m_node.attribute(Utf8(name).c_str()).value());
}

DMXmlNode DMXmlNode::FirstChild(const wchar_t* name) const {
    if (name) {
        return DMXmlNode(m_node.child(Utf8(name).c_str()));
    }
    pugi::xml_node child = m_node.first_child();
    while (child && child.type() != pugi::node_element) {
        child = child.next_sibling();
    }
    return DMXmlNode(child);
}

DMXmlNode DMXmlNode::NextSibling(const wchar_t* name) const {
    if (name) {
        return DMXmlNode(m_node.next_sibling(Utf8(name).c_str()));
    }
    pugi::xml_node sibling = m_node.next_sibling();
    while (sibling && sibling.type() != pugi::node_element) {
        sibling = sibling.next_sibling();
    }
    return DMXmlNode(sibling);
}

DMXmlAttribute DMXmlNode::FirstAttribute() const {
    return DMXmlAttribute(m_node.first_attribute());
}

bool DMXmlNode::SetAttribute(const wchar_t* name, const wchar_t* value, bool append) {
    if (!m_node || !name || !*name) {
        return false;
    }
    std::string key = Utf8(name);
    pugi::xml_attribute attribute = m_node.attribute(key.c_str());
    if (!attribute) {
        attribute =
            append ? m_node.append_attribute(key.c_str()) : m_node.prepend_attribute(key.c_str());
    }
    return attribute.set_value(Utf8(value).c_str());
}

bool DMXmlNode::RemoveAttribute(const wchar_t* name) {
    return m_node.remove_attribute(Utf8(name).c_str());
}

DMXmlNode DMXmlNode::InsertChild(const wchar_t* name, const DMXmlNode* reference, bool after) {
    std::string tag = Utf8(name);
    if (!reference) {
        return DMXmlNode(m_node.append_child(tag.c_str()));
    }
    return DMXmlNode(after ? m_node.insert_child_after(tag.c_str(), reference->m_node)
                           : m_node.insert_child_before(tag.c_str(), reference->m_node));
}

DMXmlNode DMXmlNode::InsertCopy(const DMXmlNode& element, const DMXmlNode* reference, bool after) {
    if (!reference) {
        return DMXmlNode(m_node.append_copy(element.m_node));
    }
    return DMXmlNode(after ? m_node.insert_copy_after(element.m_node, reference->m_node)
                           : m_node.insert_copy_before(element.m_node, reference->m_node));
}

DMXmlDocument::DMXmlDocument() : m_document(std::make_unique<pugi::xml_document>()) {}

DMXmlDocument::~DMXmlDocument() = default;

bool DMXmlDocument::LoadFromBuffer(const void* bytes, std::size_t length) {
    m_bFailed = !bytes || length == 0 ||
                !m_document->load_buffer(bytes, length, kParseOptions, pugi::encoding_utf8);
    return !m_bFailed;
}

bool DMXmlDocument::LoadFromFile(const wchar_t* path) {
    std::filesystem::path host = plat::HostPathFromWindowsW(PathFromExecutableFolder(path));
    m_bFailed = !m_document->load_file(host.c_str(), kParseOptions, pugi::encoding_utf8);
    return !m_bFailed;
}

DMXmlNode DMXmlDocument::Root(const wchar_t* name) const {
    return DMXmlNode(*m_document).FirstChild(name);
}

DMXmlNode DMXmlDocument::AppendRoot(const wchar_t* name) {
    return DMXmlNode(m_document->append_child(Utf8(name).c_str()));
}

bool DMXmlDocument::SaveFile(const wchar_t* path) const {
    std::filesystem::path host = plat::HostPathFromWindowsW(path);
    return m_document->save_file(host.c_str(), kIndent, pugi::format_indent, pugi::encoding_utf8);
}

DMStringT DMXmlDocument::ToText() const {
    std::ostringstream text;
    m_document->save(text, kIndent, pugi::format_indent, pugi::encoding_utf8);
    return Wide(text.str().c_str());
}

}  // namespace DM

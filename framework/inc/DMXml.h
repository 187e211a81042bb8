// The framework's XML layer over pugixml. pugixml works in UTF-8 here; these handles convert
// to and from wide text at their boundary. Names of elements and attributes match exactly
// (with letter case). A node or attribute handle can be empty: then every query answers empty.
#pragma once

#include <pugixml.hpp>

#include <memory>

#include "DMDef.h"

namespace DM {

class DMXmlAttribute {
public:
    DMXmlAttribute() = default;
    explicit DMXmlAttribute(const pugi::xml_attribute& attribute) : m_attribute(attribute) {}

    bool IsValid() const;
    DMStringT GetName() const;
    DMStringT GetValue() const;
    DMXmlAttribute NextAttribute() const;

private:
    pugi::xml_attribute m_attribute;
};

class DMXmlNode {
public:
    DMXmlNode() = default;
    explicit DMXmlNode(const pugi::xml_node& node) : m_node(node) {}

    bool IsValid() const;
    DMStringT GetName() const;
    // The attribute's value; "" when the element has none of that name.
    DMStringT Attribute(const wchar_t* name) const;
    // Child and sibling elements: the next of any name when `name` is null.
    DMXmlNode FirstChild(const wchar_t* name = nullptr) const;
    DMXmlNode NextSibling(const wchar_t* name = nullptr) const;
    DMXmlAttribute FirstAttribute() const;

    // Sets an existing attribute, or adds it at the end (`append`) or at the front.
    bool SetAttribute(const wchar_t* name, const wchar_t* value, bool append = true);
    bool RemoveAttribute(const wchar_t* name);
    // A new element at the end, or after or before `reference` when one is given.
    DMXmlNode InsertChild(const wchar_t* name, const DMXmlNode* reference = nullptr,
                          bool after = true);
    DMXmlNode InsertCopy(const DMXmlNode& element, const DMXmlNode* reference = nullptr,
                         bool after = true);

    const pugi::xml_node& Native() const { return m_node; }

private:
    pugi::xml_node m_node;
};

class DMXmlDocument {
public:
    DMXmlDocument();
    ~DMXmlDocument();
    DMXmlDocument(const DMXmlDocument&) = delete;
    DMXmlDocument& operator=(const DMXmlDocument&) = delete;

    // UTF-8 bytes; empty input fails.
    bool LoadFromBuffer(const void* bytes, std::size_t length);
    // A Windows path, relative to the executable's folder unless absolute.
    bool LoadFromFile(const wchar_t* path);
    // The first child element of that name, or the first child element when `name` is null.
    DMXmlNode Root(const wchar_t* name = nullptr) const;
    // A new document element of that name at the end of the document.
    DMXmlNode AppendRoot(const wchar_t* name);
    bool SaveFile(const wchar_t* path) const;
    DMStringT ToText() const;
    // Whether the last load failed.
    bool IsFailed() const { return m_bFailed; }

private:
    std::unique_ptr<pugi::xml_document> m_document;
    bool m_bFailed = false;
};

}  // namespace DM

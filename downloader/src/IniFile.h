// An INI document: sections of keys and values, read by a forgiving byte-wise line grammar.
// Names are byte strings compared exactly, up to their first zero byte.
#pragma once

#include <cstring>
#include <map>
#include <string>

class CIniFile {
public:
    // Discards the previous content, then reads `text`. False only when the text is empty.
    bool Parse(const char* text, size_t length);
    bool Parse(const std::string& text) { return Parse(text.data(), text.size()); }

    // The stored value, or `defaultValue` when the section or key is missing or the value empty.
    std::string GetValue(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;

private:
    struct CStringLess {
        bool operator()(const std::string& a, const std::string& b) const {
            return std::strcmp(a.c_str(), b.c_str()) < 0;
        }
    };
    using KeyMap = std::map<std::string, std::string, CStringLess>;

    void Store(const std::string& section, const std::string& key, const char* begin,
               const char* end);

    std::map<std::string, KeyMap, CStringLess> m_sections;
};

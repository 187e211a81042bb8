#include "IniFile.h"

#include <locale>

namespace {

enum class State { LineStart, SectionOpen, SectionName, SectionSpace, Key, KeySpace, Value };

// White space by the classic locale, whatever locale a toolkit sets later: space, \t, \v, \f
// and \r (line feeds never get here); bytes from 0x80 up are not white space.
bool IsSpace(char c) {
    static const std::ctype<char>& classic =
        std::use_facet<std::ctype<char>>(std::locale::classic());
    return classic.is(std::ctype_base::space, c);
}

}  // namespace

bool CIniFile::Parse(const char* text, size_t length) {
    m_sections.clear();
    if (length == 0) {
        return false;
    }
    std::string section;
    std::string key;
    State state = State::LineStart;
    const char* end = text + length;
    const char* tokenStart = text;
    const char* spaceStart = text;

    for (const char* p = text; p != end; ++p) {
        char c = *p;
        if (c == '\n') {
            if (state == State::Value) {
                const char* valueEnd = (p > tokenStart && p[-1] == '\r') ? p - 1 : p;
                Store(section, key, tokenStart, valueEnd);
            }
            state = State::LineStart;
            continue;
        }
        switch (state) {
            case State::LineStart:
                if (c == '[') {
                    state = State::SectionOpen;
                } else if (c == '=') {
                    key.clear();
                    tokenStart = p + 1;
                    state = State::Value;
                } else if (!IsSpace(c)) {
                    tokenStart = p;
                    state = State::Key;
                }
                break;
            case State::SectionOpen:
                if (c == ']') {
                    section.clear();
                    state = State::LineStart;
                } else if (!IsSpace(c)) {
                    tokenStart = p;
                    state = State::SectionName;
                }
                break;
            case State::SectionName:
                if (c == ']') {
                    section.assign(tokenStart, p);
                    state = State::LineStart;
                } else if (IsSpace(c)) {
                    spaceStart = p;
                    state = State::SectionSpace;
                }
                break;
            case State::SectionSpace:
                if (c == ']') {
                    section.assign(tokenStart, spaceStart);
                    state = State::LineStart;
                } else if (!IsSpace(c)) {
                    state = State::SectionName;
                }
                break;
            case State::Key:
                if (c == '=') {
                    key.assign(tokenStart, p);
                    tokenStart = p + 1;
                    state = State::Value;
                } else if (IsSpace(c)) {
                    spaceStart = p;
                    state = State::KeySpace;
                }
                break;
            case State::KeySpace:
                if (c == '=') {
                    key.assign(tokenStart, spaceStart);
                    tokenStart = p + 1;
                    state = State::Value;
                } else if (!IsSpace(c)) {
                    state = State::Key;
                }
                break;
            case State::Value:
                break;
        }
    }
    if (state == State::Value) {
        Store(section, key, tokenStart, end);
    }
    return true;
}

void CIniFile::Store(const std::string& section, const std::string& key, const char* begin,
                     const char* end) {
    m_sections[section][key].assign(begin, end);
}

std::string CIniFile::GetValue(const std::string& section, const std::string& key,
                               const std::string& defaultValue) const {
    auto sectionIt = m_sections.find(section);
    if (sectionIt == m_sections.end()) {
        return defaultValue;
    }
    auto keyIt = sectionIt->second.find(key);
    if (keyIt == sectionIt->second.end() || keyIt->second.empty()) {
        return defaultValue;
    }
    return keyIt->second;
}
